#include "platform/Texts.h"

#include <vector>

namespace platform {

namespace {

TextLookup& LookupSlot()
{
    static TextLookup lookup;
    return lookup;
}

} // namespace

ScopedTextLookup::ScopedTextLookup(TextLookup lookup) : previous_(std::move(LookupSlot()))
{
    LookupSlot() = std::move(lookup);
}

ScopedTextLookup::~ScopedTextLookup()
{
    LookupSlot() = std::move(previous_);
}

std::string Text(const TextId& id, std::initializer_list<std::string_view> args)
{
    std::optional<std::string> translated;
    if (const TextLookup& lookup = LookupSlot())
        translated = lookup(id.key);
    return FormatText(translated ? std::string_view(*translated) : id.english, args);
}

std::string FormatText(std::string_view text, std::initializer_list<std::string_view> args)
{
    const std::vector<std::string_view> values(args);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[i + 1];
        if (next == '%') {
            out += '%';
            ++i;
        } else if (next >= '1' && next <= '9' && static_cast<std::size_t>(next - '1') < values.size()) {
            out += values[static_cast<std::size_t>(next - '1')];
            ++i;
        } else {
            out += '%';
        }
    }
    return out;
}

} // namespace platform
