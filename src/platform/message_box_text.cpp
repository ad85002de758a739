#include "platform/message_box_text.h"

namespace zonvex {

Text ShortenedForMessageBox(const Text& text) {
    size_t lines = 1;
    for (size_t at = 0; at < text.size();) {
        const size_t length = IsLeadByte(text[at]) ? 2 : 1;
        size_t cut = std::string::npos;
        if (text[at] == '\n' && ++lines > kMessageBoxMaxLines) {
            cut = at > 0 && text[at - 1] == '\r' ? at - 1 : at;  // the last line shown ends with the mark
        } else if (at + length > kMessageBoxMaxBytes) {
            cut = at;
        }
        if (cut != std::string::npos) return text.substr(0, cut) + "……";
        at += length;
    }
    return text;
}

}  // namespace zonvex
