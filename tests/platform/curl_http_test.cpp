#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>

#include "platform/linux/linux_platform.h"
#include "support/page_server.h"

namespace zonvex::linux_platform {
namespace {

using testing::PageServer;
using testing::SilentSocket;
using Clock = std::chrono::steady_clock;

std::string Gzip(const std::string& data) {
    z_stream z{};
    deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Serves `length` bytes, `chunk` at a time with `pause` before each, as long as the client
// stays.
void Stream(httplib::Response& res, char byte, size_t chunk, std::chrono::milliseconds pause, size_t length) {
    res.set_content_provider(length, "text/html", [=](size_t, size_t left, httplib::DataSink& sink) {
        if (pause.count()) std::this_thread::sleep_for(pause);
        std::string data(std::min(chunk, left), byte);
        return sink.write(data.data(), data.size());
    });
}

TEST(CurlHttpTest, ReadsTheBodyWhateverTheStatusAndAsksForNoCachedCopy) {
    PageServer server;
    server.serve("/page", "hello\xE4\xBD\xA0");
    CurlHttp http;
    EXPECT_EQ(http.get(server.url("/page")), "hello\xE4\xBD\xA0");
    EXPECT_EQ(http.get(server.url("/nothing")), "missing") << "a 404 page's body is read like any other";
    auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].get_header_value("Cache-Control"), "no-cache");
    EXPECT_EQ(requests[0].get_header_value("Pragma"), "no-cache");
    EXPECT_FALSE(requests[0].has_header("Accept-Encoding"));
}

TEST(CurlHttpTest, FailedReadsGiveTheEmptyBody) {
    const int closedPort = SilentSocket().release();
    CurlHttp http;
    for (const std::string& url : {"http://127.0.0.1:" + std::to_string(closedPort) + "/",
                                  std::string("file:///etc/passwd"), std::string("ftp://127.0.0.1/"),
                                  std::string("not an address"), std::string()})
        EXPECT_EQ(http.get(url), "") << url;
}

TEST(CurlHttpTest, RedirectsAreFollowedUpToFiveAndOnlyToWebAddresses) {
    PageServer server([](httplib::Server& s) {
        s.Get(R"(/hops/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            int left = std::stoi(req.matches[1]);
            if (left == 0)
                res.set_content("arrived", "text/plain");
            else
                res.set_redirect("/hops/" + std::to_string(left - 1));
        });
        s.Get("/loop", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
        s.Get("/to-file", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("file:///etc/hostname"); });
    });
    CurlHttp http;
    EXPECT_EQ(http.get(server.url("/hops/5")), "arrived");
    EXPECT_EQ(http.get(server.url("/hops/6")), "");
    EXPECT_EQ(http.get(server.url("/loop")), "");
    EXPECT_EQ(http.get(server.url("/to-file")), "");
}

TEST(CurlHttpTest, BodiesBeyondTheCapFail) {
    PageServer server([&](httplib::Server& s) {
        s.Get("/huge", [](const httplib::Request&, httplib::Response& res) {
            Stream(res, 'x', 64 << 10, {}, 100u << 20);
        });
        s.Get("/at-cap", [](const httplib::Request&, httplib::Response& res) {
            Stream(res, 'x', 64 << 10, {}, CurlHttp::kMaxBody);
        });
    });
    CurlHttp http;
    EXPECT_EQ(http.get(server.url("/huge")), "");
    EXPECT_EQ(http.get(server.url("/at-cap")).size(), CurlHttp::kMaxBody);
}

// No compression is asked for, so none is undone: a compressed body sent unasked, a bomb
// that would inflate far beyond the cap included, arrives as the bytes that were sent.
TEST(CurlHttpTest, CompressedBodiesAreNeverInflated) {
    const std::string bomb = Gzip(std::string(CurlHttp::kMaxBody * 4, 'a'));
    PageServer server([&](httplib::Server& s) {
        s.Get("/bomb", [&](const httplib::Request&, httplib::Response& res) {
            res.set_header("Content-Encoding", "gzip");
            res.set_content(bomb, "application/octet-stream");
        });
    });
    CurlHttp http;
    ASSERT_LT(bomb.size(), 1u << 20);
    EXPECT_TRUE(http.get(server.url("/bomb")) == bomb);
}

// A server that never answers, or trickles its page out forever, costs one time-out per
// read and then gives the empty body. The bound checked is far above the time-out: it
// shows the read ends, it does not measure how fast.
TEST(CurlHttpTest, SilentAndTricklingServersAreGivenUpOn) {
    SilentSocket silent;
    PageServer trickle([](httplib::Server& s) {
        s.Get("/", [](const httplib::Request&, httplib::Response& res) {
            Stream(res, 'x', 1, std::chrono::milliseconds(200), 200);
        });
    });
    CurlHttp http;
    for (const std::string& url : {"http://127.0.0.1:" + std::to_string(silent.port()) + "/", trickle.url("/")}) {
        auto start = Clock::now();
        EXPECT_EQ(http.get(url), "") << url;
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(4 * CurlHttp::kTimeoutSeconds)) << url;
    }
}

}  // namespace
}  // namespace zonvex::linux_platform
