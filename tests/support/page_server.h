#pragma once
// Servers on 127.0.0.1 for network tests: a page server that serves whatever the test puts
// in it, and a bare socket for servers that misbehave below HTTP.
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace zonvex::testing {

class PageServer {
public:
    // Pages may be changed while the server runs; unknown paths answer 404 "missing".
    PageServer() {
        server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            requests_.push_back(req);
            auto it = pages_.find(req.path);
            if (it == pages_.end()) {
                res.status = 404;
                res.set_content("missing", "text/plain");
            } else {
                res.set_content(it->second, "text/html; charset=utf-8");
            }
        });
        start();
    }
    // A server whose routes the test sets up itself, before it starts.
    explicit PageServer(const std::function<void(httplib::Server&)>& routes) {
        routes(server_);
        start();
    }
    ~PageServer() {
        server_.stop();
        thread_.join();
    }

    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    void serve(const std::string& path, std::string body) {
        std::lock_guard lock(mutex_);
        pages_[path] = std::move(body);
    }
    std::vector<httplib::Request> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void start() {
        server_.set_tcp_nodelay(true);  // or small writes wait for the client's delayed ACK
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() does nothing until the server listens: a server stopped before that would
        // listen for ever, and its destructor would wait for it.
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> pages_;
    std::vector<httplib::Request> requests_;
};

// A listening TCP socket on 127.0.0.1 that never accepts: connections complete in the
// kernel and then hear nothing, ever.
class SilentSocket {
public:
    SilentSocket() {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        bind(fd_, reinterpret_cast<sockaddr*>(&addr), len);
        listen(fd_, 8);
        getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
    }
    ~SilentSocket() { close(fd_); }
    int port() const { return port_; }
    // The port, released: nothing listens on it any more.
    int release() {
        close(fd_);
        fd_ = -1;
        return port_;
    }

private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace zonvex::testing
