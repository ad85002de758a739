#include "platform/web_address.h"

#include "text/text.h"

namespace zonvex {

bool IsWebAddress(std::string_view target) {
    const size_t colon = target.find(':');
    if (colon == std::string_view::npos) return false;
    const std::string_view scheme = target.substr(0, colon);
    return EqualsIgnoringAsciiCase(scheme, "http") || EqualsIgnoringAsciiCase(scheme, "https");
}

}  // namespace zonvex
