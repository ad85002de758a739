// A page's bytes as read: UTF-8 to GB18030 (all or nothing), cut at the first zero byte;
// and the program's GBK texts to UTF-8 and back, as file names go.
#include <cstdlib>

#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zonvex::Text page = zonvex::UpToFirstZero(zonvex::Utf8ToGb18030(bytes));
    if (page.find('\0') != zonvex::Text::npos) abort();
    std::string utf8 = zonvex::GbkToUtf8(bytes);
    (void)zonvex::Utf8ToGbk(utf8);
    return 0;
}
