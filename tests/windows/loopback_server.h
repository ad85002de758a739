#pragma once
// A small HTTP server on 127.0.0.1 for the WinHTTP tests, on Winsock: each connection is
// answered by the test's own handler, one at a time, and closed afterwards. A handler may
// misbehave as it likes (answer slowly, send without end, never answer).
#include <winsock2.h>
#include <ws2tcpip.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zonvex::testing {

struct Winsock {
    Winsock() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { WSACleanup(); }
};

// A socket listening on 127.0.0.1 at a port of the system's choice.
inline SOCKET Listen(int& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), length);
    listen(s, 8);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

// Sends all of `data`; false once the client has gone.
inline bool SendAll(SOCKET s, std::string_view data) {
    while (!data.empty()) {
        const int n = send(s, data.data(), static_cast<int>(data.size()), 0);
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

inline std::string Response(const std::string& status, const std::string& headers, const std::string& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + headers + "\r\n" + body;
}

class LoopbackServer {
public:
    // The request's head (request line and headers), and the connection to answer on.
    using Handler = std::function<void(const std::string& head, SOCKET client)>;

    explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
        listener_ = Listen(port_);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        closesocket(listener_);  // ends accept
        thread_.join();
    }

    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    int port() const { return port_; }
    std::vector<std::string> heads() const {
        std::lock_guard lock(mutex_);
        return heads_;
    }

    // The path of a request head: "GET /a HTTP/1.1" gives "/a".
    static std::string Path(const std::string& head) {
        const size_t start = head.find(' ') + 1;
        return head.substr(start, head.find(' ', start) - start);
    }

private:
    void serve() {
        for (;;) {
            SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            DWORD timeout = 5000;
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
            std::string head;
            char buffer[4096];
            while (head.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                head.append(buffer, static_cast<size_t>(n));
            }
            if (head.find("\r\n\r\n") != std::string::npos) {
                {
                    std::lock_guard lock(mutex_);
                    heads_.push_back(head);
                }
                handler_(head, client);
            }
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    Winsock winsock_;
    Handler handler_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<std::string> heads_;
};

// A listening socket that never accepts: connections complete and then hear nothing.
class SilentSocket {
public:
    SilentSocket() { socket_ = Listen(port_); }
    ~SilentSocket() { closesocket(socket_); }
    int port() const { return port_; }

private:
    Winsock winsock_;
    SOCKET socket_ = INVALID_SOCKET;
    int port_ = 0;
};

}  // namespace zonvex::testing
