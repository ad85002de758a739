#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/windows/windows_platform.h"

namespace zonvex::windows_platform {

namespace {

using Clock = std::chrono::steady_clock;

struct InternetHandle {
    HINTERNET h;
    explicit InternetHandle(HINTERNET handle) : h(handle) {}
    ~InternetHandle() {
        if (h) WinHttpCloseHandle(h);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
};

std::wstring FromUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::wstring wide(text.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), size);
    wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return wide;
}

// The parts of an http or https address; nothing for any other address.
struct Address {
    bool secure;
    std::wstring host;
    INTERNET_PORT port;
    std::wstring pathAndQuery;
};

std::optional<Address> Crack(const std::wstring& url) {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (url.empty() || !WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return std::nullopt;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
    if (parts.dwHostNameLength == 0) return std::nullopt;
    Address a{parts.nScheme == INTERNET_SCHEME_HTTPS, std::wstring(parts.lpszHostName, parts.dwHostNameLength),
              parts.nPort, std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                               std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength)};
    // The fragment is the browser's business, never sent.
    a.pathAndQuery = a.pathAndQuery.substr(0, a.pathAndQuery.find(L'#'));
    if (a.pathAndQuery.empty()) a.pathAndQuery = L"/";
    return a;
}

// A path with its "." and ".." segments worked out, as a browser sends it.
std::wstring RemoveDotSegments(const std::wstring& pathAndQuery) {
    const size_t end = std::min(pathAndQuery.find(L'?'), pathAndQuery.size());
    std::vector<std::wstring> segments;
    for (size_t at = 1; at <= end;) {  // after each "/"
        size_t next = std::min(pathAndQuery.find(L'/', at), end);
        const std::wstring segment = pathAndQuery.substr(at, next - at);
        const bool last = next == end;
        if (segment == L"..") {
            if (!segments.empty()) segments.pop_back();
            if (last) segments.emplace_back();
        } else if (segment == L".") {
            if (last) segments.emplace_back();
        } else {
            segments.push_back(segment);
        }
        at = next + 1;
    }
    std::wstring path;
    for (const std::wstring& segment : segments) path += L"/" + segment;
    return (path.empty() ? L"/" : path) + pathAndQuery.substr(end);
}

// A redirect's target, which may be given relative to the address it came from.
std::wstring Resolve(const std::wstring& base, const Address& from, const std::wstring& location) {
    const size_t colon = location.find(L':');
    if (colon != std::wstring::npos && location.find_first_of(L"/?#") > colon) return location;  // has a scheme
    const std::wstring scheme = from.secure ? L"https:" : L"http:";
    if (location.starts_with(L"//")) return scheme + location;
    const std::wstring origin = base.substr(0, base.find(L'/', base.find(L"//") + 2));
    if (location.starts_with(L"/")) return origin + RemoveDotSegments(location);
    const std::wstring path = from.pathAndQuery.substr(0, from.pathAndQuery.find(L'?'));
    return origin + RemoveDotSegments(path.substr(0, path.rfind(L'/') + 1) + location);
}

std::optional<std::wstring> Header(HINTERNET request, DWORD which) {
    DWORD bytes = 0;
    WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &bytes,
                             WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    value.resize(bytes / sizeof(wchar_t));
    return value;
}

bool IsRedirect(DWORD status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

}  // namespace

std::string WinHttpReader::get(const std::string& url) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(kTimeoutMs);
    // Each wait is given only what is left of the whole read's time, so a server that
    // trickles its page out is given up on as surely as one that never answers.
    auto left = [&]() -> int {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return ms > 0 ? static_cast<int>(ms) : 0;
    };
    InternetHandle session(WinHttpOpen(L"Zonvex", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session.h) return {};

    std::wstring current = FromUtf8(url);
    for (int redirects = 0;; ++redirects) {
        const std::optional<Address> address = Crack(current);
        if (!address) return {};
        InternetHandle connection(WinHttpConnect(session.h, address->host.c_str(), address->port, 0));
        if (!connection.h) return {};
        InternetHandle request(WinHttpOpenRequest(connection.h, L"GET", address->pathAndQuery.c_str(), nullptr,
                                                  WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                  WINHTTP_FLAG_REFRESH | (address->secure ? WINHTTP_FLAG_SECURE : 0)));
        if (!request.h) return {};
        // Redirects are followed here, one by one, so that each target's scheme is checked
        // and they are counted.
        DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
        WinHttpSetOption(request.h, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
        auto timeouts = [&] {
            DWORD ms = static_cast<DWORD>(left());
            // Waiting for the response's head has a time-out of its own.
            return ms > 0 && WinHttpSetTimeouts(request.h, ms, ms, ms, ms) &&
                   WinHttpSetOption(request.h, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &ms, sizeof ms);
        };
        static constexpr wchar_t kNoCache[] = L"Cache-Control: no-cache\r\nPragma: no-cache";
        if (!timeouts() ||
            !WinHttpSendRequest(request.h, kNoCache, static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
            !timeouts() || !WinHttpReceiveResponse(request.h, nullptr))
            return {};

        DWORD status = 0, size = sizeof status;
        WinHttpQueryHeaders(request.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                            &status, &size, WINHTTP_NO_HEADER_INDEX);
        if (IsRedirect(status)) {
            if (const auto location = Header(request.h, WINHTTP_QUERY_LOCATION)) {
                if (redirects == kMaxRedirects) return {};
                current = Resolve(current, *address, *location);
                continue;
            }
        }
        // The status is not looked at otherwise: an error page's body is read like any other.
        // A body announced beyond the cap is not waited for.
        DWORD length = 0;
        size = sizeof length;
        if (WinHttpQueryHeaders(request.h, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                                WINHTTP_HEADER_NAME_BY_INDEX, &length, &size, WINHTTP_NO_HEADER_INDEX) &&
            length > kMaxBody)
            return {};
        std::string body;
        for (;;) {
            DWORD available = 0;
            if (!timeouts() || !WinHttpQueryDataAvailable(request.h, &available)) return {};
            if (available == 0) return body;
            if (available > kMaxBody - body.size()) return {};
            const size_t at = body.size();
            body.resize(at + available);
            DWORD read = 0;
            if (!WinHttpReadData(request.h, body.data() + at, available, &read)) return {};
            body.resize(at + read);
        }
    }
}

}  // namespace zonvex::windows_platform
