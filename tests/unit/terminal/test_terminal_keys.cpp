// Terminal input bytes to keys.
#include "backends/terminal/KeyDecoder.h"

#include "KeyBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using backends::terminal::Key;
using backends::terminal::KeyCode;

std::vector<Key> Decode(backends::terminal::KeyDecoder& d)
{
    std::vector<Key> out;
    while (auto k = d.Next())
        out.push_back(*k);
    return out;
}

std::vector<Key> Decode(const std::string& bytes)
{
    backends::terminal::KeyDecoder d;
    d.Feed(bytes);
    return Decode(d);
}

TEST(TerminalKeys, DecodesWhatTerminalsSend)
{
    const struct {
        const char* bytes;
        Key key;
    } cases[] = {
        {"a", Ch(U'a')},
        {"\r", K(KeyCode::Enter)},
        {"\n", K(KeyCode::Enter)},
        {"\t", K(KeyCode::Tab)},
        {"\x1b[Z", K(KeyCode::Tab, true)},
        {"\x7f", K(KeyCode::Backspace)},
        {"\x08", K(KeyCode::Backspace)},
        {"\x11", Ch(U'q', false, true)},
        {"\x03", Ch(U'c', false, true)},
        {"\x1b[A", K(KeyCode::Up)},
        {"\x1bOA", K(KeyCode::Up)},
        {"\x1b[B", K(KeyCode::Down)},
        {"\x1b[1;3B", K(KeyCode::Down, false, true)},
        {"\x1b\x1b[B", K(KeyCode::Down, false, true)},
        {"\x1b[1;5C", K(KeyCode::Right, false, false, true)},
        {"\x1b[1;2D", K(KeyCode::Left, true)},
        {"\x1b[H", K(KeyCode::Home)},
        {"\x1bOH", K(KeyCode::Home)},
        {"\x1b[1~", K(KeyCode::Home)},
        {"\x1b[7~", K(KeyCode::Home)},
        {"\x1b[F", K(KeyCode::End)},
        {"\x1b[4~", K(KeyCode::End)},
        {"\x1b[8~", K(KeyCode::End)},
        {"\x1b[2~", K(KeyCode::Insert)},
        {"\x1b[3~", K(KeyCode::Delete)},
        {"\x1b[5~", K(KeyCode::PageUp)},
        {"\x1b[6~", K(KeyCode::PageDown)},
        {"\x1bOP", F(1)},
        {"\x1b[11~", F(1)},
        {"\x1b[[A", F(1)},
        {"\x1b[[E", F(5)},
        {"\x1b[15~", F(5)},
        {"\x1b[17~", F(6)},
        {"\x1b[21~", F(10)},
        {"\x1b[24~", F(12)},
        {"\x1b[1;3S", F(4, true)},
        {"\x1b\x1bOS", F(4, true)},
        {"\x1b[14;3~", F(4, true)},
        {"\x1b" "f", Ch(U'f', true)},
        {"\x1b" "F", Ch(U'F', true)},
        {"\x1b ", Ch(U' ', true)},
        {"\xC3\xA9", Ch(U'\u00E9')},
        {"\xE2\x82\xAC", Ch(0x20AC)},
        {"\x1b\xC3\xA4", Ch(U'\u00E4', true)},
    };
    for (const auto& c : cases) {
        const std::vector<Key> keys = Decode(c.bytes);
        ASSERT_EQ(keys.size(), 1u) << "bytes " << c.bytes + 1;
        EXPECT_EQ(keys[0], c.key) << "bytes " << c.bytes + 1;
    }
}

TEST(TerminalKeys, SplitsARunOfKeysAndSkipsWhatItDoesNotKnow)
{
    EXPECT_EQ(Decode("ab\x1b[A\r"), (std::vector<Key>{Ch(U'a'), Ch(U'b'), K(KeyCode::Up), K(KeyCode::Enter)}));
    // Unknown sequences and bytes vanish whole; the keys around them stay.
    EXPECT_EQ(Decode("\x1b[200~x"), (std::vector<Key>{Ch(U'x')}));
    EXPECT_EQ(Decode("\x1b[?1;2cx"), (std::vector<Key>{Ch(U'x')}));
    EXPECT_EQ(Decode("\xFFy"), (std::vector<Key>{Ch(U'y')}));
    EXPECT_EQ(Decode("\x1c" "z"), (std::vector<Key>{Ch(U'z')}));
}

TEST(TerminalKeys, WaitsForTheRestOfASequence)
{
    backends::terminal::KeyDecoder d;
    d.Feed("\x1b[");
    EXPECT_TRUE(Decode(d).empty());
    EXPECT_TRUE(d.HasPartial());
    d.Feed("1;3");
    EXPECT_TRUE(Decode(d).empty());
    d.Feed("A");
    EXPECT_EQ(Decode(d), (std::vector<Key>{K(KeyCode::Up, false, true)}));
    EXPECT_FALSE(d.HasPartial());

    d.Feed("\xC3");
    EXPECT_TRUE(Decode(d).empty());
    d.Feed("\xBC");
    EXPECT_EQ(Decode(d), (std::vector<Key>{Ch(U'\u00FC')}));
}

TEST(TerminalKeys, ALoneEscapeIsTheEscapeKeyOnceTheWaitIsOver)
{
    backends::terminal::KeyDecoder d;
    d.Feed("\x1b");
    EXPECT_TRUE(Decode(d).empty());
    EXPECT_TRUE(d.HasPartial());
    d.Flush();
    EXPECT_EQ(Decode(d), (std::vector<Key>{K(KeyCode::Escape)}));
    EXPECT_FALSE(d.HasPartial());

    // Pressed twice: two Escapes, not Alt+Escape.
    d.Feed("\x1b\x1b");
    EXPECT_TRUE(Decode(d).empty());
    d.Flush();
    EXPECT_EQ(Decode(d), (std::vector<Key>{K(KeyCode::Escape), K(KeyCode::Escape)}));

    // A UTF-8 character that never completes is dropped.
    d.Feed("\xE2\x82");
    d.Flush();
    EXPECT_TRUE(Decode(d).empty());
    EXPECT_FALSE(d.HasPartial());
    d.Feed("k");
    EXPECT_EQ(Decode(d), (std::vector<Key>{Ch(U'k')}));
}

// Feeds `bytes` in pieces of `piece` bytes, taking the keys after each, and
// ends with the wait for a lone Escape running out.
std::vector<Key> DecodeInPieces(const std::string& bytes, std::size_t piece)
{
    backends::terminal::KeyDecoder d;
    std::vector<Key> out;
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        d.Feed(std::string_view(bytes).substr(at, piece));
        for (const Key& k : Decode(d))
            out.push_back(k);
    }
    d.Flush();
    for (const Key& k : Decode(d))
        out.push_back(k);
    EXPECT_FALSE(d.HasPartial());
    return out;
}

TEST(TerminalKeys, BytesGivenOneByOneDecodeAsWhenGivenAtOnce)
{
    const std::string longCsi = "\x1b[" + std::string(100, '1') + ";" + std::string(100, '2');
    const struct {
        std::string bytes;
        std::vector<Key> keys;
    } cases[] = {
        {"ab\x1b[1;5Cc", {Ch(U'a'), Ch(U'b'), K(KeyCode::Right, false, false, true), Ch(U'c')}},
        {"\x1b\x1b[B\x1bOS\x1b[[A", {K(KeyCode::Down, false, true), F(4), F(1)}},
        {"\xC3\xA9\xE2\x82\xAC\x1b\xC3\xA4", {Ch(U'\u00E9'), Ch(0x20AC), Ch(U'\u00E4', true)}},
        // An Escape before an Alt key or a sequence stays an Escape of its own.
        {"\x1b\x1b" "x\x1b\x1b\x1b[A", {K(KeyCode::Escape), Ch(U'x', true), K(KeyCode::Escape), K(KeyCode::Up, false, true)}},
        {"\x1b\x1b\x1b", {K(KeyCode::Escape), K(KeyCode::Escape), K(KeyCode::Escape)}},
        // Cut off by the wait: the piece is dropped, what follows is typed.
        {"\x1b[12", {}},
        {"x\xE2\x82", {Ch(U'x')}},
        // Longer than any key: swallowed to its end, however long.
        {longCsi + "~z", {Ch(U'z')}},
        {longCsi + std::string(5000, '3') + "Az", {Ch(U'z')}},
        {"\xFF\xC3(", {Ch(U'(')}},
    };
    for (const auto& c : cases) {
        const std::string shown = c.bytes.substr(0, 40);
        EXPECT_EQ(DecodeInPieces(c.bytes, c.bytes.size()), c.keys) << shown;
        for (std::size_t piece : {1u, 2u, 3u, 7u})
            EXPECT_EQ(DecodeInPieces(c.bytes, piece), c.keys) << shown << " in pieces of " << piece;
    }
}

TEST(TerminalKeys, ABurstOfEscapesIsThatManyEscapeKeys)
{
    constexpr std::size_t kBurst = 100000;
    const std::string burst(kBurst, '\x1b');
    for (std::size_t piece : {kBurst, std::size_t{4096}, std::size_t{1}}) {
        const std::vector<Key> keys = DecodeInPieces(burst + "q", piece);
        ASSERT_EQ(keys.size(), kBurst) << "in pieces of " << piece;
        EXPECT_EQ(std::count(keys.begin(), keys.end(), K(KeyCode::Escape)), static_cast<long>(kBurst - 1));
        EXPECT_EQ(keys.back(), Ch(U'q', true));
    }
}

TEST(TerminalKeys, NumbersTooLongForAnyKeyMakeTheKeyUnknown)
{
    // 4294967299 and 4294967301 are 3 and 5 beyond a multiple of 2^32: Delete
    // and Ctrl if the number wrapped around. Digits after ':' are a
    // sub-parameter and add nothing to the number before it.
    EXPECT_EQ(Decode("\x1b[4294967299~x"), (std::vector<Key>{Ch(U'x')}));
    EXPECT_EQ(Decode("\x1b[99999999999~x"), (std::vector<Key>{Ch(U'x')}));
    EXPECT_EQ(Decode("\x1b[1;4294967301Ax"), (std::vector<Key>{Ch(U'x')}));
    EXPECT_EQ(Decode("\x1b[1;5:1C"), (std::vector<Key>{K(KeyCode::Right, false, false, true)}));
}

} // namespace
