// The program icon carries an image for each size Windows shows it at: 16,
// 32 and 48 pixels as 32-bit bitmaps, 256 pixels as a PNG.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::uint32_t Little(const std::string& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return value;
}

std::uint32_t Big(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

} // namespace

TEST(ProgramIcon, HasA16A32A48AndA256PixelImage)
{
    std::ifstream in(std::filesystem::path(TW_SOURCE_DIR) / "res" / "tunewright.ico", std::ios::binary);
    const std::string icon((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(icon.size(), 6u);
    EXPECT_EQ(Little(icon, 2, 2), 1u) << "an icon, not a cursor";
    std::vector<std::uint32_t> sizes;
    for (std::uint32_t i = 0; i < Little(icon, 4, 2); ++i) {
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t width = Little(icon, entry, 1) == 0 ? 256 : Little(icon, entry, 1);
        const std::size_t length = Little(icon, entry + 8, 4), offset = Little(icon, entry + 12, 4);
        ASSERT_LE(offset + length, icon.size()) << width;
        EXPECT_EQ(Little(icon, entry + 6, 2), 32u) << width << ": 32 bits a pixel, with alpha";
        if (width == 256) {
            EXPECT_EQ(icon.substr(offset, 8), "\x89PNG\r\n\x1a\n");
            EXPECT_EQ(Big(icon, offset + 16), 256u);
            EXPECT_EQ(Big(icon, offset + 20), 256u);
        } else {
            EXPECT_EQ(Little(icon, offset + 4, 4), width) << "the bitmap's own width";
            EXPECT_EQ(Little(icon, offset + 8, 4), 2 * width) << "colour and mask";
        }
        sizes.push_back(width);
    }
    EXPECT_EQ(sizes, (std::vector<std::uint32_t>{16, 32, 48, 256}));
}
