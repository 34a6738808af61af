// Decoding a 1 MB burst of terminal input: Escapes only (a stuck key, line
// noise) and a mix of keys, sequences and UTF-8 text (a paste), given at once
// and in the 4 KB pieces the terminal's reads deliver.
#include "backends/terminal/KeyDecoder.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace {

constexpr std::size_t kBurst = 1 << 20;

std::string Repeat(std::string_view unit)
{
    std::string out;
    while (out.size() + unit.size() <= kBurst)
        out += unit;
    return out;
}

void Decode(benchmark::State& state, const std::string& bytes)
{
    const auto piece = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        backends::terminal::KeyDecoder decoder;
        std::size_t keys = 0;
        for (std::size_t at = 0; at < bytes.size(); at += piece) {
            decoder.Feed(std::string_view(bytes).substr(at, piece));
            while (decoder.Next())
                ++keys;
        }
        decoder.Flush();
        while (decoder.Next())
            ++keys;
        benchmark::DoNotOptimize(keys);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void EscapeBurst(benchmark::State& state)
{
    static const std::string bytes(kBurst, '\x1b');
    Decode(state, bytes);
}

void MixedBurst(benchmark::State& state)
{
    static const std::string bytes = Repeat("ab\x1b[A\x1b[1;5C\x1bOP\x1b\x1b[B\xC3\xA9\xE2\x82\xAC\r\x1bx");
    Decode(state, bytes);
}

} // namespace

BENCHMARK(EscapeBurst)->Arg(kBurst)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(MixedBurst)->Arg(kBurst)->Arg(4096)->Unit(benchmark::kMillisecond);
