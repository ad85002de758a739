#include "bulletins/extract.h"

#include <boost/regex.hpp>

#include <stdexcept>

namespace zonvex {

Text ExtractBetween(std::string_view source, std::string_view start, std::string_view end) {
    const long length = static_cast<long>(source.size());
    if (end.empty()) {
        long at = FindAtCharStart(source, start);
        return at < 0 ? Text() : Middle(source, at + static_cast<long>(start.size()), length);
    }
    if (start.empty()) {
        long at = FindAtCharStart(source, end);
        return at < 0 ? Text() : Left(source, at - 1);
    }
    long at = FindAtCharStart(source, start);
    if (at < 0) return {};
    Text rest = Middle(source, at + static_cast<long>(start.size()), length);
    long endAt = FindAtCharStart(rest, end);
    return endAt < 0 ? Text() : Middle(rest, 1, endAt - 1);
}

Text ExtractByPattern(std::string_view start, std::string_view end, std::string_view source) {
    try {
        std::string pattern;
        pattern.reserve(start.size() + end.size() + 5);
        pattern.append(start).append("(.*?)").append(end);
        const boost::regex expression(pattern, boost::regex::perl);
        boost::match_results<std::string_view::const_iterator> match;
        if (!boost::regex_search(source.begin(), source.end(), match, expression) || !match[1].matched) return {};
        return Text(match[1].first, match[1].second);
    } catch (const std::exception&) {
        // A pattern that does not compile, or a search the library gives up on (it throws
        // std::runtime_error when an expression grows too complex for the input).
        return {};
    }
}

}  // namespace zonvex
