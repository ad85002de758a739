#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "platform/linux/linux_platform.h"

namespace zonvex::linux_platform {

namespace {

struct Body {
    std::string bytes;
    bool tooLarge = false;
};

size_t Append(char* data, size_t size, size_t count, void* user) {
    auto& body = *static_cast<Body*>(user);
    size_t n = size * count;
    if (n > CurlHttp::kMaxBody - body.bytes.size()) {
        body.tooLarge = true;
        return 0;  // makes libcurl stop with a write error
    }
    body.bytes.append(data, n);
    return n;
}

using Easy = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using Headers = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

}  // namespace

CurlHttp::CurlHttp() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string CurlHttp::get(const std::string& url) {
    Easy easy(curl_easy_init(), curl_easy_cleanup);
    if (!easy) return {};
    // Appending to a list returns its unchanged head, or null (the list kept) on failure.
    Headers headers(curl_slist_append(nullptr, "Cache-Control: no-cache"), curl_slist_free_all);
    if (!headers || !curl_slist_append(headers.get(), "Pragma: no-cache")) return {};
    Body body;
    CURL* c = easy.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, kTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    //XX curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Zonvex");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    // The status is not looked at: an error page's body is read like any other.
    if (curl_easy_perform(c) != CURLE_OK || body.tooLarge) return {};
    return std::move(body.bytes);
}

}  // namespace zonvex::linux_platform
