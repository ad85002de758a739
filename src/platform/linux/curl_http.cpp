#include <curl/curl.h>

#include <memory>
#include <optional>

#include "platform/linux/linux_platform.h"
#include "platform/linux/loaded_library.h"

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

// libcurl's functions, loaded at the first read: the program starts without mapping libcurl
// and the many libraries it brings (TLS, Kerberos, LDAP...), which it needs only once the
// main window reads its pages.
struct Curl {
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_perform) easy_perform;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;

    // Nothing when libcurl is missing or lacks a function.
    static const Curl* Get() {
        static const std::optional<Curl> curl = Load();
        return curl ? &*curl : nullptr;
    }

private:
    static std::optional<Curl> Load() {
        void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!library) return std::nullopt;
        Curl c;
        decltype(&curl_global_init) global_init;
        bool found = Bind(library, "curl_global_init", global_init) && Bind(library, "curl_easy_init", c.easy_init) &&
                     Bind(library, "curl_easy_setopt", c.easy_setopt) && Bind(library, "curl_easy_perform", c.easy_perform) &&
                     Bind(library, "curl_easy_cleanup", c.easy_cleanup) &&
                     Bind(library, "curl_slist_append", c.slist_append) &&
                     Bind(library, "curl_slist_free_all", c.slist_free_all);
        if (!found || global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return std::nullopt;
        return c;
    }
};

}  // namespace

std::string CurlHttp::get(const std::string& url) {
    const Curl* curl = Curl::Get();
    if (!curl) return {};
    std::unique_ptr<CURL, decltype(curl->easy_cleanup)> easy(curl->easy_init(), curl->easy_cleanup);
    if (!easy) return {};
    // Appending to a list returns its unchanged head, or null (the list kept) on failure.
    std::unique_ptr<curl_slist, decltype(curl->slist_free_all)> headers(
        curl->slist_append(nullptr, "Cache-Control: no-cache"), curl->slist_free_all);
    if (!headers || !curl->slist_append(headers.get(), "Pragma: no-cache")) return {};
    Body body;
    auto set = [&](CURLoption option, auto value) { curl->easy_setopt(easy.get(), option, value); };
    set(CURLOPT_URL, url.c_str());
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    set(CURLOPT_FOLLOWLOCATION, 1L);
    set(CURLOPT_MAXREDIRS, 5L);
    set(CURLOPT_CONNECTTIMEOUT, kTimeoutSeconds);
    set(CURLOPT_TIMEOUT, kTimeoutSeconds);
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_HTTPHEADER, headers.get());
    // No compressed body is asked for, so none is inflated: one sent unasked arrives as it
    // is, is no UTF-8 and reads as the empty page.
    set(CURLOPT_USERAGENT, "Zonvex");
    set(CURLOPT_WRITEFUNCTION, Append);
    set(CURLOPT_WRITEDATA, &body);
    // The status is not looked at: an error page's body is read like any other.
    if (curl->easy_perform(easy.get()) != CURLE_OK || body.tooLarge) return {};
    return std::move(body.bytes);
}

}  // namespace zonvex::linux_platform
