// The terminal's key decoder: how the bytes arrive does not change the keys.
// Decoding a burst all at once gives the keys that decoding it byte by byte
// gives, and those that any other cutting into reads gives; once the wait for
// more bytes is over nothing is left waiting.
#include "FuzzSupport.h"

#include "backends/terminal/KeyDecoder.h"

#include <string>
#include <vector>

namespace {

void Drain(backends::terminal::KeyDecoder& decoder, std::vector<backends::terminal::Key>& keys)
{
    while (const auto key = decoder.Next())
        keys.push_back(*key);
}

void Finish(backends::terminal::KeyDecoder& decoder, std::vector<backends::terminal::Key>& keys)
{
    Drain(decoder, keys);
    decoder.Flush();
    Drain(decoder, keys);
    FUZZ_CHECK(!decoder.HasPartial());
}

// The bytes in reads of the given sizes, the keys taken after each read.
std::vector<backends::terminal::Key> DecodeInReads(std::string_view bytes, const std::vector<std::size_t>& sizes)
{
    backends::terminal::KeyDecoder decoder;
    std::vector<backends::terminal::Key> keys;
    std::size_t at = 0;
    for (std::size_t i = 0; at < bytes.size(); ++i) {
        const std::size_t size = sizes.empty() ? bytes.size() : sizes[i % sizes.size()];
        decoder.Feed(bytes.substr(at, size));
        at += size;
        Drain(decoder, keys);
    }
    Finish(decoder, keys);
    return keys;
}

std::string Describe(const std::vector<backends::terminal::Key>& keys)
{
    std::string text;
    for (const backends::terminal::Key& k : keys)
        text += std::to_string(static_cast<int>(k.code)) + ":" + std::to_string(static_cast<unsigned long>(k.ch)) + " ";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::AsText(data, size);
    const std::vector<backends::terminal::Key> whole = DecodeInReads(bytes, {});
    const std::vector<backends::terminal::Key> byteByByte = DecodeInReads(bytes, {1});
    FUZZ_CHECK_SAID(whole == byteByByte, Describe(whole) + "| " + Describe(byteByByte));

    // Reads of 1 to 8 bytes, their sizes taken from the input itself.
    std::vector<std::size_t> sizes;
    for (std::size_t i = 0; i < bytes.size() && i < 16; ++i)
        sizes.push_back(1 + static_cast<unsigned char>(bytes[i]) % 8);
    FUZZ_CHECK(DecodeInReads(bytes, sizes) == whole);
    return 0;
}
