// Encoding conversion through iconv, as the GNU C library provides it.
#include <cerrno>
#include <iconv.h>

#include "text/text.h"
#include "text/utf8_sequence.h"

namespace zonvex {

namespace {

// Runs iconv over the whole input. On a sequence it cannot convert, onError decides: it
// returns how many input bytes to skip after writing "?" or -1 to give up altogether.
template <typename OnError>
bool Convert(const char* to, const char* from, std::string_view in, std::string& out, OnError onError) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    // One call converts as much as the output has room for, and each call has a set-up cost:
    // start with room for the whole input and grow only when that is not enough.
    out.assign(in.size() + 16, '\0');
    size_t used = 0;
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        size_t outLeft = out.size() - used;
        size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        used = static_cast<size_t>(outPtr - out.data());
        if (r != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        long skip = onError(std::string_view(inPtr, inLeft));
        if (skip < 0) {
            ok = false;
            break;
        }
        if (used == out.size()) out.resize(out.size() * 2);
        out[used++] = '?';
        inPtr += skip;
        inLeft -= static_cast<size_t>(skip);
    }
    out.resize(used);
    iconv_close(cd);
    return ok;
}

}  // namespace

Text Utf8ToGb18030(std::string_view utf8) {
    std::string out;
    if (!Convert("GB18030", "UTF-8", utf8, out, [](std::string_view) { return -1L; })) return {};
    return out;
}

std::string GbkToUtf8(std::string_view text) {
    std::string out;
    Convert("UTF-8", "GBK", text, out, [](std::string_view) { return 1L; });
    return out;
}

Text Utf8ToGbk(std::string_view utf8) {
    std::string out;
    Convert("GBK", "UTF-8", utf8, out,
            [](std::string_view rest) { return static_cast<long>(text_detail::Utf8SequenceLength(rest)); });
    return out;
}

}  // namespace zonvex
