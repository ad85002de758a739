// WinHTTP against servers on 127.0.0.1, hostile ones included.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "loopback_server.h"
#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {
namespace {

using testing::LoopbackServer;
using testing::Response;
using testing::SendAll;
using Clock = std::chrono::steady_clock;

// Sends a body of `length` bytes, `chunk` at a time with `pause` before each, as long as
// the client stays.
void Stream(SOCKET client, size_t length, size_t chunk, DWORD pause) {
    if (!SendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n"))
        return;
    const std::string data(chunk, 'x');
    for (size_t sent = 0; sent < length; sent += chunk) {
        if (pause) Sleep(pause);
        if (!SendAll(client, std::string_view(data).substr(0, std::min(chunk, length - sent)))) return;
    }
}

// Every path the tests ask for.
void Serve(const std::string& head, SOCKET client) {
    const std::string path = LoopbackServer::Path(head);
    if (path == "/page") {
        SendAll(client, Response("200 OK", "Content-Type: text/html; charset=utf-8\r\n", "hello\xE4\xBD\xA0"));
    } else if (path.starts_with("/hops/")) {
        const int left = std::stoi(path.substr(6));
        SendAll(client, left == 0 ? Response("200 OK", "", "arrived")
                                  : Response("302 Found", "Location: /hops/" + std::to_string(left - 1) + "\r\n", "moved"));
    } else if (path == "/loop") {
        SendAll(client, Response("301 Moved Permanently", "Location: /loop\r\n", "moved"));
    } else if (path == "/relative/a/b") {
        SendAll(client, Response("307 Temporary Redirect", "Location: ../page-c\r\n", ""));
    } else if (path == "/relative/page-c") {
        SendAll(client, Response("200 OK", "", "relative arrived"));
    } else if (path == "/to-file") {
        SendAll(client, Response("302 Found", "Location: file:///C:/windows/win.ini\r\n", "moved"));
    } else if (path == "/to-page") {
        const std::string host = head.substr(head.find("Host: ") + 6, head.find("\r\n", head.find("Host: ")) - head.find("Host: ") - 6);
        SendAll(client, Response("302 Found", "Location: http://" + host + "/page\r\n", "moved"));
    } else if (path == "/no-location") {
        SendAll(client, Response("302 Found", "", "stays"));
    } else if (path == "/huge") {
        Stream(client, 100u << 20, 64 << 10, 0);
    } else if (path == "/at-cap") {
        Stream(client, WinHttpReader::kMaxBody, 64 << 10, 0);
    } else if (path == "/trickle") {
        Stream(client, 200, 1, 200);
    } else {
        SendAll(client, Response("404 Not Found", "", "missing"));
    }
}

TEST(WinHttpTest, ReadsTheBodyWhateverTheStatusAndAsksForNoCachedCopy) {
    LoopbackServer server(Serve);
    WinHttpReader http;
    EXPECT_EQ(http.get(server.url("/page")), "hello\xE4\xBD\xA0");
    EXPECT_EQ(http.get(server.url("/page")), "hello\xE4\xBD\xA0") << "read again, from the server";
    EXPECT_EQ(http.get(server.url("/nothing")), "missing") << "a 404 page's body is read like any other";
    EXPECT_EQ(http.get(server.url("/no-location")), "stays");
    const auto heads = server.heads();
    ASSERT_EQ(heads.size(), 4u);
    for (const std::string& head : heads) {
        EXPECT_NE(head.find("Cache-Control: no-cache\r\n"), std::string::npos) << head;
        EXPECT_NE(head.find("Pragma: no-cache\r\n"), std::string::npos) << head;
        EXPECT_EQ(head.find("Accept-Encoding"), std::string::npos) << head;
    }
}

TEST(WinHttpTest, FailedReadsGiveTheEmptyBody) {
    int closedPort;
    closesocket(testing::Listen(closedPort));
    WinHttpReader http;
    for (const std::string& url : {"http://127.0.0.1:" + std::to_string(closedPort) + "/", std::string("file:///C:/windows/win.ini"),
                                  std::string("ftp://127.0.0.1/"), std::string("not an address"), std::string()})
        EXPECT_EQ(http.get(url), "") << url;
}

TEST(WinHttpTest, RedirectsAreFollowedUpToFiveAndOnlyToWebAddresses) {
    LoopbackServer server(Serve);
    WinHttpReader http;
    EXPECT_EQ(http.get(server.url("/hops/5")), "arrived");
    EXPECT_EQ(http.get(server.url("/hops/6")), "");
    EXPECT_EQ(http.get(server.url("/loop")), "");
    EXPECT_EQ(http.get(server.url("/to-file")), "");
    EXPECT_EQ(http.get(server.url("/to-page")), "hello\xE4\xBD\xA0") << "an absolute target";
    EXPECT_EQ(http.get(server.url("/relative/a/b")), "relative arrived");
}

TEST(WinHttpTest, BodiesBeyondTheCapFail) {
    LoopbackServer server(Serve);
    WinHttpReader http;
    EXPECT_EQ(http.get(server.url("/huge")), "");
    EXPECT_EQ(http.get(server.url("/at-cap")).size(), WinHttpReader::kMaxBody);
}

// A server that never answers, or trickles its page out, costs one time-out per read and
// then gives the empty body. The bound checked is far above the time-out: it shows the
// read ends, it does not measure how fast. Both are read at once, to wait only once.
TEST(WinHttpTest, SilentAndTricklingServersAreGivenUpOn) {
    testing::SilentSocket silent;
    LoopbackServer trickle(Serve);
    auto read = [](std::string url) {
        return std::async(std::launch::async, [url] {
            const auto start = Clock::now();
            EXPECT_EQ(WinHttpReader().get(url), "") << url;
            EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(3 * WinHttpReader::kTimeoutMs)) << url;
        });
    };
    auto silentRead = read("http://127.0.0.1:" + std::to_string(silent.port()) + "/");
    auto trickleRead = read(trickle.url("/trickle"));
    silentRead.get();
    trickleRead.get();
}

}  // namespace
}  // namespace zonvex::windows_platform
