// Encoding conversion on Windows. The code-page functions alone would not do: GB18030
// (code page 54936) is missing from Wine, and code page 936 differs from GBK as the Linux
// build converts it (it maps the user-defined areas into the private use area, best-fits
// characters it lacks, and its UTF-8 decoder replaces bad sequences differently). So the
// double-byte table is read from code page 936 once, and UTF-8 and the four-byte GB18030
// codes are handled here, with the tables below, to give the same bytes as the Linux build
// for every input.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "text/text.h"
#include "text/utf8_sequence.h"

namespace zonvex {

namespace {

// Double-byte codes (lead << 8 | trail) to UTF-16 and back, from code page 936. 0x80 is the
// one single-byte code above ASCII (the euro sign).
struct CodePage936 {
    std::array<uint16_t, 65536> toUnicode{};
    std::array<uint16_t, 65536> fromUnicode{};

    static const CodePage936& Get() {
        static const CodePage936 table;
        return table;
    }

private:
    CodePage936() {
        add(0x80, "\x80", 1);
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                add(lead << 8 | trail, bytes, 2);
            }
        }
    }
    void add(unsigned code, const char* bytes, int size) {
        wchar_t unit = 0;
        if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, size, &unit, 1) != 1) return;
        toUnicode[code] = static_cast<uint16_t>(unit);
        if (!fromUnicode[unit]) fromUnicode[unit] = static_cast<uint16_t>(code);
    }
};

// GBK has no user-defined characters: the codes Windows maps into the private use area are
// GB18030's, not GBK's.
constexpr bool IsPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// GB18030's four-byte codes for the Basic Multilingual Plane are numbered in runs of
// consecutive characters: {first, last, number of first}.
struct FourByteRun {
    uint16_t first, last;
    uint32_t number;
};
constexpr FourByteRun kFourByteRuns[] = {
    {0x0080, 0x00A3, 0}, {0x00A5, 0x00A6, 36}, {0x00A9, 0x00AF, 38},
    {0x00B2, 0x00B6, 45}, {0x00B8, 0x00D6, 50}, {0x00D8, 0x00DF, 81},
    {0x00E2, 0x00E7, 89}, {0x00EB, 0x00EB, 95}, {0x00EE, 0x00F1, 96},
    {0x00F4, 0x00F6, 100}, {0x00F8, 0x00F8, 103}, {0x00FB, 0x00FB, 104},
    {0x00FD, 0x0100, 105}, {0x0102, 0x0112, 109}, {0x0114, 0x011A, 126},
    {0x011C, 0x012A, 133}, {0x012C, 0x0143, 148}, {0x0145, 0x0147, 172},
    {0x0149, 0x014C, 175}, {0x014E, 0x016A, 179}, {0x016C, 0x01CD, 208},
    {0x01CF, 0x01CF, 306}, {0x01D1, 0x01D1, 307}, {0x01D3, 0x01D3, 308},
    {0x01D5, 0x01D5, 309}, {0x01D7, 0x01D7, 310}, {0x01D9, 0x01D9, 311},
    {0x01DB, 0x01DB, 312}, {0x01DD, 0x01F8, 313}, {0x01FA, 0x0250, 341},
    {0x0252, 0x0260, 428}, {0x0262, 0x02C6, 443}, {0x02C8, 0x02C8, 544},
    {0x02CC, 0x02D8, 545}, {0x02DA, 0x0390, 558}, {0x03A2, 0x03A2, 741},
    {0x03AA, 0x03B0, 742}, {0x03C2, 0x03C2, 749}, {0x03CA, 0x0400, 750},
    {0x0402, 0x040F, 805}, {0x0450, 0x0450, 819}, {0x0452, 0x1E3E, 820},
    {0x1E40, 0x200F, 7458}, {0x2011, 0x2012, 7922}, {0x2017, 0x2017, 7924},
    {0x201A, 0x201B, 7925}, {0x201E, 0x2024, 7927}, {0x2027, 0x202F, 7934},
    {0x2031, 0x2031, 7943}, {0x2034, 0x2034, 7944}, {0x2036, 0x203A, 7945},
    {0x203C, 0x20AB, 7950}, {0x20AD, 0x2102, 8062}, {0x2104, 0x2104, 8148},
    {0x2106, 0x2108, 8149}, {0x210A, 0x2115, 8152}, {0x2117, 0x2120, 8164},
    {0x2122, 0x215F, 8174}, {0x216C, 0x216F, 8236}, {0x217A, 0x218F, 8240},
    {0x2194, 0x2195, 8262}, {0x219A, 0x2207, 8264}, {0x2209, 0x220E, 8374},
    {0x2210, 0x2210, 8380}, {0x2212, 0x2214, 8381}, {0x2216, 0x2219, 8384},
    {0x221B, 0x221C, 8388}, {0x2221, 0x2222, 8390}, {0x2224, 0x2224, 8392},
    {0x2226, 0x2226, 8393}, {0x222C, 0x222D, 8394}, {0x222F, 0x2233, 8396},
    {0x2238, 0x223C, 8401}, {0x223E, 0x2247, 8406}, {0x2249, 0x224B, 8416},
    {0x224D, 0x2251, 8419}, {0x2253, 0x225F, 8424}, {0x2262, 0x2263, 8437},
    {0x2268, 0x226D, 8439}, {0x2270, 0x2294, 8445}, {0x2296, 0x2298, 8482},
    {0x229A, 0x22A4, 8485}, {0x22A6, 0x22BE, 8496}, {0x22C0, 0x2311, 8521},
    {0x2313, 0x245F, 8603}, {0x246A, 0x2473, 8936}, {0x249C, 0x24FF, 8946},
    {0x254C, 0x254F, 9046}, {0x2574, 0x2580, 9050}, {0x2590, 0x2592, 9063},
    {0x2596, 0x259F, 9066}, {0x25A2, 0x25B1, 9076}, {0x25B4, 0x25BB, 9092},
    {0x25BE, 0x25C5, 9100}, {0x25C8, 0x25CA, 9108}, {0x25CC, 0x25CD, 9111},
    {0x25D0, 0x25E1, 9113}, {0x25E6, 0x2604, 9131}, {0x2607, 0x2608, 9162},
    {0x260A, 0x263F, 9164}, {0x2641, 0x2641, 9218}, {0x2643, 0x2E80, 9219},
    {0x2E82, 0x2E83, 11329}, {0x2E85, 0x2E87, 11331}, {0x2E89, 0x2E8A, 11334},
    {0x2E8D, 0x2E96, 11336}, {0x2E98, 0x2EA6, 11346}, {0x2EA8, 0x2EA9, 11361},
    {0x2EAB, 0x2EAD, 11363}, {0x2EAF, 0x2EB2, 11366}, {0x2EB4, 0x2EB5, 11370},
    {0x2EB8, 0x2EBA, 11372}, {0x2EBC, 0x2EC9, 11375}, {0x2ECB, 0x2FEF, 11389},
    {0x2FFC, 0x2FFF, 11682}, {0x3004, 0x3004, 11686}, {0x3018, 0x301C, 11687},
    {0x301F, 0x3020, 11692}, {0x302A, 0x303D, 11694}, {0x303F, 0x3040, 11714},
    {0x3094, 0x309A, 11716}, {0x309F, 0x30A0, 11723}, {0x30F7, 0x30FB, 11725},
    {0x30FF, 0x3104, 11730}, {0x312A, 0x321F, 11736}, {0x322A, 0x3230, 11982},
    {0x3232, 0x32A2, 11989}, {0x32A4, 0x338D, 12102}, {0x3390, 0x339B, 12336},
    {0x339F, 0x33A0, 12348}, {0x33A2, 0x33C3, 12350}, {0x33C5, 0x33CD, 12384},
    {0x33CF, 0x33D0, 12393}, {0x33D3, 0x33D4, 12395}, {0x33D6, 0x3446, 12397},
    {0x3448, 0x3472, 12510}, {0x3474, 0x359D, 12553}, {0x359F, 0x360D, 12851},
    {0x360F, 0x3619, 12962}, {0x361B, 0x3917, 12973}, {0x3919, 0x396D, 13738},
    {0x396F, 0x39CE, 13823}, {0x39D1, 0x39DE, 13919}, {0x39E0, 0x3A72, 13933},
    {0x3A74, 0x3B4D, 14080}, {0x3B4F, 0x3C6D, 14298}, {0x3C6F, 0x3CDF, 14585},
    {0x3CE1, 0x4055, 14698}, {0x4057, 0x415E, 15583}, {0x4160, 0x4336, 15847},
    {0x4338, 0x43AB, 16318}, {0x43AD, 0x43B0, 16434}, {0x43B2, 0x43DC, 16438},
    {0x43DE, 0x44D5, 16481}, {0x44D7, 0x464B, 16729}, {0x464D, 0x4660, 17102},
    {0x4662, 0x4722, 17122}, {0x4724, 0x4728, 17315}, {0x472A, 0x477B, 17320},
    {0x477D, 0x478C, 17402}, {0x478E, 0x4946, 17418}, {0x4948, 0x4979, 17859},
    {0x497B, 0x497C, 17909}, {0x497E, 0x4981, 17911}, {0x4984, 0x4984, 17915},
    {0x4987, 0x499A, 17916}, {0x499C, 0x499E, 17936}, {0x49A0, 0x49B5, 17939},
    {0x49B8, 0x4C76, 17961}, {0x4C78, 0x4C9E, 18664}, {0x4CA4, 0x4D12, 18703},
    {0x4D1A, 0x4DAD, 18814}, {0x4DAF, 0x4DFF, 18962}, {0x9FA6, 0x9FB3, 19043},
    {0x9FBC, 0xD7FF, 19065}, {0xE76C, 0xE76C, 33469}, {0xE7C7, 0xE7C7, 7457},
    {0xE7C8, 0xE7C8, 33470}, {0xE7E7, 0xE7F3, 33471}, {0xE815, 0xE815, 33484},
    {0xE819, 0xE81D, 33485}, {0xE81F, 0xE825, 33490}, {0xE827, 0xE82A, 33497},
    {0xE82D, 0xE830, 33501}, {0xE833, 0xE83A, 33505}, {0xE83C, 0xE842, 33513},
    {0xE844, 0xE853, 33520}, {0xE856, 0xE863, 33536}, {0xE865, 0xF92B, 33550},
    {0xF92D, 0xF978, 37845}, {0xF97A, 0xF994, 37921}, {0xF996, 0xF9E6, 37948},
    {0xF9E8, 0xF9F0, 38029}, {0xF9F2, 0xFA0B, 38038}, {0xFA10, 0xFA10, 38064},
    {0xFA12, 0xFA12, 38065}, {0xFA15, 0xFA17, 38066}, {0xFA19, 0xFA1E, 38069},
    {0xFA22, 0xFA22, 38075}, {0xFA25, 0xFA26, 38076}, {0xFA2A, 0xFE0F, 38078},
    {0xFE1A, 0xFE2F, 39086}, {0xFE32, 0xFE32, 39108}, {0xFE45, 0xFE48, 39109},
    {0xFE53, 0xFE53, 39113}, {0xFE58, 0xFE58, 39114}, {0xFE67, 0xFE67, 39115},
    {0xFE6C, 0xFF00, 39116}, {0xFF5F, 0xFFDF, 39265}, {0xFFE6, 0xFFFF, 39394},
};
// Characters GB18030 has no code for (private-use characters whose places went to
// standard characters).
constexpr uint16_t kNoGb18030Code[] = {
    0xE78D, 0xE78E, 0xE78F, 0xE790, 0xE791, 0xE792, 0xE793, 0xE794,
    0xE795, 0xE796, 0xE816, 0xE817, 0xE818, 0xE81E, 0xE826, 0xE82B,
    0xE82C, 0xE831, 0xE832, 0xE83B, 0xE843, 0xE854, 0xE855, 0xE864,
};
// Where GB18030 has a double-byte code that code page 936 lacks or uses for another
// character: {character, code}.
struct DoubleByte {
    uint32_t character;
    uint16_t code;
};
constexpr DoubleByte kGb18030DoubleBytes[] = {
    {0x01F9, 0xA8BF}, {0x1E3F, 0xA8BC}, {0x20AC, 0xA2E3}, {0x2E81, 0xFE50}, {0x2E84, 0xFE54},
    {0x2E88, 0xFE57}, {0x2E8B, 0xFE58}, {0x2E8C, 0xFE5D}, {0x2E97, 0xFE5E}, {0x2EA7, 0xFE6B},
    {0x2EAA, 0xFE6E}, {0x2EAE, 0xFE71}, {0x2EB3, 0xFE73}, {0x2EB6, 0xFE74}, {0x2EB7, 0xFE75},
    {0x2EBB, 0xFE79}, {0x2ECA, 0xFE84}, {0x2FF0, 0xA98A}, {0x2FF1, 0xA98B}, {0x2FF2, 0xA98C},
    {0x2FF3, 0xA98D}, {0x2FF4, 0xA98E}, {0x2FF5, 0xA98F}, {0x2FF6, 0xA990}, {0x2FF7, 0xA991},
    {0x2FF8, 0xA992}, {0x2FF9, 0xA993}, {0x2FFA, 0xA994}, {0x2FFB, 0xA995}, {0x303E, 0xA989},
    {0x3447, 0xFE56}, {0x3473, 0xFE55}, {0x359E, 0xFE5A}, {0x360E, 0xFE5C}, {0x361A, 0xFE5B},
    {0x3918, 0xFE60}, {0x396E, 0xFE5F}, {0x39CF, 0xFE62}, {0x39D0, 0xFE65}, {0x39DF, 0xFE63},
    {0x3A73, 0xFE64}, {0x3B4E, 0xFE68}, {0x3C6E, 0xFE69}, {0x3CE0, 0xFE6A}, {0x4056, 0xFE6F},
    {0x415F, 0xFE70}, {0x4337, 0xFE72}, {0x43AC, 0xFE78}, {0x43B1, 0xFE77}, {0x43DD, 0xFE7A},
    {0x44D6, 0xFE7B}, {0x464C, 0xFE7D}, {0x4661, 0xFE7C}, {0x4723, 0xFE80}, {0x4729, 0xFE81},
    {0x477C, 0xFE82}, {0x478D, 0xFE83}, {0x4947, 0xFE85}, {0x497A, 0xFE86}, {0x497D, 0xFE87},
    {0x4982, 0xFE88}, {0x4983, 0xFE89}, {0x4985, 0xFE8A}, {0x4986, 0xFE8B}, {0x499B, 0xFE8D},
    {0x499F, 0xFE8C}, {0x49B6, 0xFE8F}, {0x49B7, 0xFE8E}, {0x4C77, 0xFE96}, {0x4C9F, 0xFE93},
    {0x4CA0, 0xFE94}, {0x4CA1, 0xFE95}, {0x4CA2, 0xFE97}, {0x4CA3, 0xFE92}, {0x4D13, 0xFE98},
    {0x4D14, 0xFE99}, {0x4D15, 0xFE9A}, {0x4D16, 0xFE9B}, {0x4D17, 0xFE9C}, {0x4D18, 0xFE9D},
    {0x4D19, 0xFE9E}, {0x4DAE, 0xFE9F}, {0x9FB4, 0xFE59}, {0x9FB5, 0xFE61}, {0x9FB6, 0xFE66},
    {0x9FB7, 0xFE67}, {0x9FB8, 0xFE6D}, {0x9FB9, 0xFE7E}, {0x9FBA, 0xFE90}, {0x9FBB, 0xFEA0},
    {0xFE10, 0xA6D9}, {0xFE11, 0xA6DB}, {0xFE12, 0xA6DA}, {0xFE13, 0xA6DC}, {0xFE14, 0xA6DD},
    {0xFE15, 0xA6DE}, {0xFE16, 0xA6DF}, {0xFE17, 0xA6EC}, {0xFE18, 0xA6ED}, {0xFE19, 0xA6F3},
    {0x20087, 0xFE51}, {0x20089, 0xFE52}, {0x200CC, 0xFE53}, {0x215D7, 0xFE6C}, {0x2298F, 0xFE76},
    {0x241FE, 0xFE91},
};

// One character of UTF-8, as strictly as the C library reads it: the shortest form only,
// no surrogates, nothing above U+10FFFF.
struct Decoded {
    char32_t character;
    size_t length;
};
std::optional<Decoded> DecodeUtf8(std::string_view rest) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(rest[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return Decoded{lead, 1};
    size_t length;
    char32_t c, min;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, c = lead & 0x1F, min = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, c = lead & 0x0F, min = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, c = lead & 0x07, min = 0x10000;
    else return std::nullopt;
    if (rest.size() < length) return std::nullopt;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (byte(i) & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return Decoded{c, length};
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendCode(Text& out, uint16_t code) {
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

void AppendFourBytes(Text& out, uint32_t number) {
    const char b4 = static_cast<char>(0x30 + number % 10);
    number /= 10;
    const char b3 = static_cast<char>(0x81 + number % 126);
    number /= 126;
    const char b2 = static_cast<char>(0x30 + number % 10);
    const char b1 = static_cast<char>(0x81 + number / 10);
    out += {b1, b2, b3, b4};
}

// GB18030's double-byte codes by character (Basic Multilingual Plane): code page 936's,
// with the places GB18030 gives otherwise.
struct Gb18030DoubleBytes {
    std::array<uint16_t, 65536> code{};

    static const Gb18030DoubleBytes& Get() {
        static const Gb18030DoubleBytes table;
        return table;
    }

private:
    Gb18030DoubleBytes() {
        code = CodePage936::Get().fromUnicode;
        for (const FourByteRun& run : kFourByteRuns) std::fill(&code[run.first], &code[run.last] + 1, 0);
        for (uint16_t c : kNoGb18030Code) code[c] = 0;
        for (const DoubleByte& d : kGb18030DoubleBytes)
            if (d.character < 0x10000) code[d.character] = d.code;
    }
};

// Appends the GB18030 code of one character; false when it has none.
bool AppendGb18030(Text& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return true;
    }
    if (c >= 0x10000) {
        const auto d = std::find_if(std::begin(kGb18030DoubleBytes), std::end(kGb18030DoubleBytes),
                                    [c](const DoubleByte& d) { return d.character == c; });
        if (d != std::end(kGb18030DoubleBytes)) AppendCode(out, d->code);
        else AppendFourBytes(out, 189000 + (c - 0x10000));  // 90 30 81 30 onwards, in order
        return true;
    }
    if (const uint16_t code = Gb18030DoubleBytes::Get().code[c]) {
        AppendCode(out, code);
        return true;
    }
    const auto run = std::upper_bound(std::begin(kFourByteRuns), std::end(kFourByteRuns), c,
                                      [](char32_t x, const FourByteRun& r) { return x < r.first; });
    if (run == std::begin(kFourByteRuns) || c > std::prev(run)->last) return false;
    AppendFourBytes(out, std::prev(run)->number + (c - std::prev(run)->first));
    return true;
}

}  // namespace

Text Utf8ToGb18030(std::string_view utf8) {
    Text out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        if (static_cast<unsigned char>(utf8[at]) < 0x80) {  // most of a page: markup
            out += utf8[at++];
            continue;
        }
        const auto d = DecodeUtf8(utf8.substr(at));
        if (!d || !AppendGb18030(out, d->character)) return {};
        at += d->length;
    }
    return out;
}

std::string GbkToUtf8(std::string_view text) {
    const CodePage936& table = CodePage936::Get();
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        uint16_t unit = byte < 0x80 ? byte : table.toUnicode[byte];
        size_t length = 1;
        if (byte >= 0x81 && byte <= 0xFE && at + 1 < text.size()) {
            unit = table.toUnicode[byte << 8 | static_cast<unsigned char>(text[at + 1])];
            length = 2;
        }
        if ((unit && !IsPrivateUse(unit)) || byte == 0) {
            AppendUtf8(out, unit);
            at += length;
        } else {
            out += '?';
            ++at;  // the next byte may start a character of its own
        }
    }
    return out;
}

Text Utf8ToGbk(std::string_view utf8) {
    const CodePage936& table = CodePage936::Get();
    Text out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const std::string_view rest = utf8.substr(at);
        const auto d = DecodeUtf8(rest);
        const bool inGbk = d && d->character < 0x10000 && !IsPrivateUse(d->character);
        const uint16_t code = inGbk ? table.fromUnicode[d->character] : 0;
        if (d && d->character < 0x80) {
            out += static_cast<char>(d->character);
        } else if (code) {
            AppendCode(out, code);
        } else if (!(d && d->character >= 0xE0000 && d->character <= 0xE007F)) {
            out += '?';  // tag characters are dropped without a trace, as the C library does
        }
        at += d ? d->length : text_detail::Utf8SequenceLength(rest);
    }
    return out;
}

}  // namespace zonvex
