#include "program/version_data_document.h"

#include <pugixml.hpp>

#include <charconv>

namespace zonvex {

namespace {

pugi::xml_node Select(const pugi::xml_document& doc, std::string_view path) {
    pugi::xml_node node;
    bool first = true;
    while (true) {
        size_t slash = path.find('/');
        std::string_view step = path.substr(0, slash);
        if (step.empty()) return {};
        pugi::xml_node parent = first ? static_cast<pugi::xml_node>(doc) : node;
        node = {};
        if (step[0] == '@') {
            unsigned long n = 0;
            auto [end, ec] = std::from_chars(step.data() + 1, step.data() + step.size(), n);
            if (ec != std::errc() || end != step.data() + step.size() || n == 0) return {};
            for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
                if (child.type() == pugi::node_element && --n == 0) {
                    node = child;
                    break;
                }
        } else {
            for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
                if (child.type() == pugi::node_element && step == child.name()) {
                    node = child;
                    break;
                }
        }
        if (!node) return {};
        first = false;
        if (slash == std::string_view::npos) return node;
        path.remove_prefix(slash + 1);
    }
}

void AppendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '\'': out += "&apos;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
}

pugi::xml_node FirstElement(pugi::xml_node node) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) return child;
    return {};
}

pugi::xml_node NextElement(pugi::xml_node node) {
    for (pugi::xml_node sibling = node.next_sibling(); sibling; sibling = sibling.next_sibling())
        if (sibling.type() == pugi::node_element) return sibling;
    return {};
}

void AppendLineStart(std::string& out, int depth) {
    out += "\r\n";
    out.append(static_cast<size_t>(depth), '\t');
}

}  // namespace

VersionDataDocument::VersionDataDocument() : doc_(std::make_unique<pugi::xml_document>()) {}
VersionDataDocument::~VersionDataDocument() = default;

bool VersionDataDocument::load(std::string_view bytes) {
    doc_->reset();
    // The bytes are taken as they are: GBK passes through untouched.
    unsigned options = pugi::parse_default | pugi::parse_trim_pcdata;
    pugi::xml_parse_result result = doc_->load_buffer(bytes.data(), bytes.size(), options, pugi::encoding_utf8);
    if (!result || !doc_->document_element()) {
        doc_->reset();
        return false;
    }
    return true;
}

void VersionDataDocument::clear() { doc_->reset(); }

bool VersionDataDocument::empty() const { return !doc_->document_element(); }

std::optional<Text> VersionDataDocument::getText(std::string_view path) const {
    pugi::xml_node node = Select(*doc_, path);
    if (!node) return std::nullopt;
    return Text(node.text().get());
}

void VersionDataDocument::setText(std::string_view path, const Text& text) {
    pugi::xml_node node = Select(*doc_, path);
    if (node) node.text().set(text.c_str());
}

std::optional<std::string> VersionDataDocument::save() const {
    pugi::xml_node root = doc_->document_element();
    if (!root) return std::nullopt;
    std::string out = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
    // Walk the elements without recursion: the depth of a loaded file is not bounded.
    pugi::xml_node node = root;
    int depth = 0;
    while (node) {
        AppendLineStart(out, depth);
        out += '<';
        out += node.name();
        for (pugi::xml_attribute a : node.attributes()) {
            out += ' ';
            out += a.name();
            out += "=\"";
            AppendEscaped(out, a.value());
            out += '"';
        }
        std::string_view text = node.text().get();
        pugi::xml_node child = FirstElement(node);
        if (child) {
            out += '>';
            AppendEscaped(out, text);
            node = child;
            ++depth;
            continue;
        }
        if (text.empty()) {
            out += "/>";
        } else {
            out += '>';
            AppendEscaped(out, text);
            out += "</";
            out += node.name();
            out += '>';
        }
        // Close every element whose last child this was, then go on with the next sibling.
        while (node != root && !NextElement(node)) {
            node = node.parent();
            --depth;
            AppendLineStart(out, depth);
            out += "</";
            out += node.name();
            out += '>';
        }
        node = node == root ? pugi::xml_node() : NextElement(node);
    }
    return out;
}

}  // namespace zonvex
