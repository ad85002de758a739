// One tick of MainWindow's timer against loopback pages, beside bare libcurl and iconv.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <iconv.h>

#include "bulletins/bulletins.h"
#include "platform/linux/linux_platform.h"
#include "support/fake_platform.h"
#include "support/page_server.h"
#include "support/utf8.h"

namespace {

using namespace zonvex;

// A UTF-8 page of about 1 MiB whose values stand at its end.
std::string Page(const std::string& values) {
    const std::string filler = testing::U8(u8"<p>体验服公告：今晚维护，版本更新说明。</p>\n");
    std::string page;
    while (page.size() < (1u << 20)) page += filler;
    return page + values;
}

struct Pages {
    Pages() {
        server.serve("/versions", Page(testing::U8(u8"体验服一：1.0.1版本体验服二：1.0.2版本体验服三：1.0.3版本正服：1.0.0版本")));
        server.serve("/bulletin", Page(testing::U8(u8"手动补丁：（http://dl.test/patch.exe）")));
    }
    testing::PageServer server;
};
Pages& Served() {
    static Pages pages;
    return pages;
}

void TickBench(benchmark::State& state) {
    linux_platform::CurlHttp curl;
    testing::TestProgram t;
    t.http.through = &curl;
    t.program.pages = {Served().server.url("/versions"), Served().server.url("/bulletin")};
    t.ui.open(Window::Main);
    for (auto _ : state) {
        OnRecommendationTick(t.program);
        t.http.requests.clear();
    }
    if (t.state().PatchLink != "http://dl.test/patch.exe") state.SkipWithError("the tick read nothing");
}
BENCHMARK(TickBench)->Unit(benchmark::kMillisecond);


size_t Append(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

// The floor: the same two pages fetched with bare libcurl and converted with iconv.
void BareCurlIconvBench(benchmark::State& state) {
    const std::string urls[] = {Served().server.url("/versions"), Served().server.url("/bulletin")};
    for (auto _ : state) {
        for (const std::string& url : urls) {
            std::string body;
            CURL* c = curl_easy_init();
            curl_easy_setopt(c, CURLOPT_URL, url.c_str());
            curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Append);
            curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
            curl_easy_perform(c);
            curl_easy_cleanup(c);
            iconv_t cd = iconv_open("GB18030", "UTF-8");
            std::string out(body.size(), '\0');  // GB18030 is never longer than the UTF-8 it comes from
            char* in = body.data();
            char* to = out.data();
            size_t inLeft = body.size(), outLeft = out.size();
            iconv(cd, &in, &inLeft, &to, &outLeft);
            iconv_close(cd);
            out.resize(out.size() - outLeft);
            benchmark::DoNotOptimize(out);
        }
    }
}
BENCHMARK(BareCurlIconvBench)->Unit(benchmark::kMillisecond);

}  // namespace
