#pragma once
// The client's version-data file as a document: loaded from bytes, read and written by
// element paths, and saved in the one layout the client gets from us.
//
// An element path is steps separated by "/": the first selects the root ("@1" or the
// root's name); each further step is "@n", the n-th child element (from 1), or a name, the
// first child element of that name. A path that runs out of elements selects nothing.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace pugi {
class xml_document;
}

namespace zonvex {

class VersionDataDocument {
public:
    VersionDataDocument();
    ~VersionDataDocument();
    VersionDataDocument(const VersionDataDocument&) = delete;
    VersionDataDocument& operator=(const VersionDataDocument&) = delete;

    // Discards what the document held and parses the bytes. The declaration and comments
    // are dropped; element texts are trimmed of blanks, tabs, CR and LF; GBK bytes pass
    // through. Bytes that are not a well-formed document leave it empty.
    bool load(std::string_view bytes);
    void clear();
    bool empty() const;

    // The text of the selected element; nothing when the path selects none.
    std::optional<Text> getText(std::string_view path) const;
    // Replaces the text of the selected element; does nothing when none is selected.
    void setText(std::string_view path, const Text& text);

    // The whole document in the saved layout: the declaration (always gb2312), then each
    // element on its own line (CR LF, one tab per depth), "/>" for an element with neither
    // text nor child elements, the five XML special characters escaped, and no line break
    // after the root's end tag. Nothing when the document is empty.
    std::optional<std::string> save() const;

private:
    std::unique_ptr<pugi::xml_document> doc_;
};

}  // namespace zonvex
