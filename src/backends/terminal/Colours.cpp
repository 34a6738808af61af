#include "backends/terminal/Colours.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace backends::terminal {

namespace {

int Distance(toolkit::Rgb a, toolkit::Rgb b)
{
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

// The 8 basic colours as most terminals show them.
constexpr std::array<toolkit::Rgb, 8> kBasic = {{{0, 0, 0},
                                                 {205, 0, 0},
                                                 {0, 205, 0},
                                                 {205, 205, 0},
                                                 {0, 0, 238},
                                                 {205, 0, 205},
                                                 {0, 205, 205},
                                                 {229, 229, 229}}};
constexpr int kBlack = 0;
constexpr int kWhite = 7;

int NearestBasic(toolkit::Rgb c)
{
    // A grey is nearer to yellow than to white by distance alone: greys go
    // to black or white by their lightness.
    const int high = std::max({c.r, c.g, c.b});
    const int low = std::min({c.r, c.g, c.b});
    if (high - low < 48)
        return (c.r + c.g + c.b) / 3 >= 128 ? kWhite : kBlack;
    int best = 0;
    for (int i = 1; i < 8; ++i)
        if (Distance(c, kBasic[static_cast<std::size_t>(i)]) < Distance(c, kBasic[static_cast<std::size_t>(best)]))
            best = i;
    return best;
}

// The nearest of the 6x6x6 cube (16-231) or of the grey ramp (232-255).
int Nearest256(toolkit::Rgb c)
{
    const auto level = [](int v) { return v < 48 ? 0 : v < 115 ? 1 : (v - 35) / 40; };
    const auto value = [](int l) { return l == 0 ? 0 : 55 + 40 * l; };
    const int r = level(c.r), g = level(c.g), b = level(c.b);
    const toolkit::Rgb cube{static_cast<unsigned char>(value(r)), static_cast<unsigned char>(value(g)),
                            static_cast<unsigned char>(value(b))};
    const int average = (c.r + c.g + c.b) / 3;
    const int grey = average > 238 ? 23 : average < 8 ? 0 : (average - 8) / 10;
    const auto shade = static_cast<unsigned char>(8 + 10 * grey);
    if (Distance(c, {shade, shade, shade}) < Distance(c, cube))
        return 232 + grey;
    return 16 + 36 * r + 6 * g + b;
}

void AppendRgb(std::string& out, std::string_view lead, toolkit::Rgb c)
{
    out += lead;
    out += std::to_string(c.r) + ';' + std::to_string(c.g) + ';' + std::to_string(c.b);
}

} // namespace

ColourDepth ColourDepthOf(const char* colorterm, const char* term)
{
    const std::string_view says = colorterm ? colorterm : "";
    if (says == "truecolor" || says == "24bit")
        return ColourDepth::Direct;
    if (term && std::string_view(term).find("256color") != std::string_view::npos)
        return ColourDepth::Palette256;
    return ColourDepth::Basic8;
}

std::string ColourParameters(ColourDepth depth, toolkit::Rgb fg, toolkit::Rgb bg)
{
    std::string out;
    switch (depth) {
    case ColourDepth::Direct:
        AppendRgb(out, "38;2;", fg);
        AppendRgb(out, ";48;2;", bg);
        return out;
    case ColourDepth::Palette256:
        return "38;5;" + std::to_string(Nearest256(fg)) + ";48;5;" + std::to_string(Nearest256(bg));
    case ColourDepth::Basic8:
        break;
    }
    const int back = NearestBasic(bg);
    int fore = NearestBasic(fg);
    if (fore == back && !(fg == bg)) {
        // Grey on a light face, say: the darker one black, the other white.
        const bool lighter = fg.r + fg.g + fg.b > bg.r + bg.g + bg.b;
        fore = lighter ? (back == kWhite ? kBlack : kWhite) : (back == kBlack ? kWhite : kBlack);
    }
    return "3" + std::to_string(fore) + ";4" + std::to_string(back);
}

} // namespace backends::terminal
