// Cutting values out of a large page, beside the bare searches they are built on.
#include <benchmark/benchmark.h>
#include <boost/regex.hpp>

#include <cstring>

#include "bulletins/extract.h"

namespace {

using namespace zonvex;

// 16 MiB of GBK page text with the values near its end.
const std::string& Page() {
    static const std::string page = [] {
        const std::string filler = "<p>体验服公告：今晚维护，版本更新说明。手动下载请看下面。</p>\r\n";
        std::string p;
        p.reserve(16u << 20);
        while (p.size() + filler.size() < (16u << 20) - 100) p += filler;
        p += "体验服一：1.0.331.601版本手动补丁：（http://dl.test/patch.exe）";
        return p;
    }();
    return page;
}

void ExtractBetweenBench(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ExtractBetween(Page(), "体验服一：", "版本"));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Page().size()));
}
BENCHMARK(ExtractBetweenBench)->Unit(benchmark::kMillisecond);

// The floor: finding the same two markers with memmem.
void MemmemBench(benchmark::State& state) {
    const std::string& page = Page();
    const std::string start = "体验服一：", end = "版本";
    for (auto _ : state) {
        auto* at = static_cast<const char*>(memmem(page.data(), page.size(), start.data(), start.size()));
        const char* from = at + start.size();
        auto* to = static_cast<const char*>(memmem(from, page.data() + page.size() - from, end.data(), end.size()));
        benchmark::DoNotOptimize(std::string(from, to));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Page().size()));
}
BENCHMARK(MemmemBench)->Unit(benchmark::kMillisecond);

void ExtractByPatternBench(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ExtractByPattern("手动补丁：（", "）", Page()));
}
BENCHMARK(ExtractByPatternBench)->Unit(benchmark::kMillisecond);

// The floor: the same search with an expression compiled once.
void PrecompiledRegexBench(benchmark::State& state) {
    const boost::regex expression("手动补丁：（(.*?)）", boost::regex::perl);
    const std::string& page = Page();
    for (auto _ : state) {
        boost::smatch match;
        boost::regex_search(page, match, expression);
        benchmark::DoNotOptimize(match[1].str());
    }
}
BENCHMARK(PrecompiledRegexBench)->Unit(benchmark::kMillisecond);

}  // namespace
