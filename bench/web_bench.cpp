// Throughput of the text primitives on page-sized and large texts, and of the
// cookie routines on long cookie texts. Run: build/bench/web_bench
#include "web/cookies.h"
#include "web/cutting.h"
#include "web/text.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace pagora;

namespace {

// An HTML-like text of `size` bytes mixing ASCII and two-byte characters.
GbkText page_text(std::size_t size)
{
    const std::string unit = "<div class=\"p\">\xD6\xD0\xCE\xC4 page text</div>\r\n";
    std::string text;
    text.reserve(size + unit.size());
    while (text.size() < size) text += unit;
    text.resize(size);
    return GbkText(std::move(text));
}

void find_absent_marker(benchmark::State& state)
{
    const GbkText text = page_text(static_cast<std::size_t>(state.range(0)));
    const GbkText marker("var bookConfig = {");
    for (auto _ : state) benchmark::DoNotOptimize(text_find(text, marker, std::nullopt, true));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(find_absent_marker)->Range(64 << 10, 16 << 20);

void find_in_repetitive_text(benchmark::State& state)
{
    const GbkText text(std::string(static_cast<std::size_t>(state.range(0)), 'a'));
    const GbkText needle(std::string(1000, 'a') + "b");
    for (auto _ : state) benchmark::DoNotOptimize(text_find_last(text, needle));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(find_in_repetitive_text)->Range(64 << 10, 16 << 20);

void split_and_replace(benchmark::State& state)
{
    const GbkText text = page_text(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(text_split(text, "\r\n"_gbk));
        benchmark::DoNotOptimize(text_replace(text, "PAGE"_gbk, "leaf"_gbk, false));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0) * 2);
}
BENCHMARK(split_and_replace)->Range(64 << 10, 16 << 20);

void merge_long_cookie_texts(benchmark::State& state)
{
    std::string old_text, new_text;
    for (int i = 0; i < state.range(0); ++i) {
        old_text += "old" + std::to_string(i) + "=v; ";
        new_text += "new" + std::to_string(i) + "=v; ";
    }
    for (auto _ : state) {
        GbkText old_cookies(old_text), new_cookies(new_text);
        benchmark::DoNotOptimize(merge_cookies(old_cookies, new_cookies));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0) * 2);
}
BENCHMARK(merge_long_cookie_texts)->Range(8, 8 << 10);

} // namespace
