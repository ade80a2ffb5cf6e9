#include "text/utf.h"

#include <quillon/cpp/text.hpp>

#include <algorithm>

namespace quillon::utf {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Calls sink with each code point of the wide text. A 16-bit wchar_t holds
// UTF-16, so a surrogate pair is one code point there; a lone surrogate, or
// a value beyond U+10FFFF, is no character at all.
template <class Sink>
void forEachCodePoint(std::wstring_view text, Sink sink) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (sizeof(wchar_t) == 2) c &= 0xFFFF;
        if (sizeof(wchar_t) == 2 && isHighSurrogate(c) && i + 1 < text.size() &&
            isLowSurrogate(static_cast<char32_t>(text[i + 1]) & 0xFFFF)) {
            const char32_t low = static_cast<char32_t>(text[++i]) & 0xFFFF;
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        } else if (c > 0x10FFFF || isHighSurrogate(c) || isLowSurrogate(c)) {
            c = kReplacement;
        }
        sink(c);
    }
}

// The UTF-8 bytes of one code point, in bytes.
std::string_view encodeOne(char32_t c, char* bytes) {
    if (c < 0x80) {
        bytes[0] = static_cast<char>(c);
        return {bytes, 1};
    }
    if (c < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | (c >> 6));
        bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
        return {bytes, 2};
    }
    if (c < 0x10000) {
        bytes[0] = static_cast<char>(0xE0 | (c >> 12));
        bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
        return {bytes, 3};
    }
    bytes[0] = static_cast<char>(0xF0 | (c >> 18));
    bytes[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    bytes[3] = static_cast<char>(0x80 | (c & 0x3F));
    return {bytes, 4};
}

// The wide code units of one code point: a surrogate pair beyond U+FFFF
// where wchar_t has 16 bits.
std::size_t wideUnits(char32_t c, wchar_t* units) {
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
        c -= 0x10000;
        units[0] = static_cast<wchar_t>(0xD800 + (c >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
        return 2;
    }
    units[0] = static_cast<wchar_t>(c);
    return 1;
}

// The code point of the UTF-8 sequence at bytes[i], and its length; a
// malformed, overlong or surrogate sequence is U+FFFD of length 1.
char32_t decodeAt(std::string_view bytes, std::size_t i, std::size_t* length) {
    *length = 1;
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) return lead;
    const std::size_t extra = (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : 0;
    if (extra == 0 || i + extra >= bytes.size()) return kReplacement;
    char32_t c = lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + k]);
        if ((next >> 6) != 0x2) return kReplacement;
        c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
    *length = extra + 1;
    return c;
}

}  // namespace

}  // namespace quillon::utf

namespace quillon {

std::size_t encode_utf8(std::wstring_view text, char* out, std::size_t size) noexcept {
    char bytes[4];
    std::size_t length = 0;
    utf::forEachCodePoint(text, [&](char32_t c) {
        std::string_view encoded = utf::encodeOne(c, bytes);
        if (length + encoded.size() <= size) std::copy(encoded.begin(), encoded.end(), out + length);
        length += encoded.size();
    });
    return length;
}

std::size_t decode_utf8(std::string_view utf8, wchar_t* out, std::size_t size) noexcept {
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t consumed = 1;
        char32_t c = utf::decodeAt(utf8, i, &consumed);
        i += consumed;
        wchar_t units[2];
        const std::size_t n = utf::wideUnits(c, units);
        if (length + n <= size)
            for (std::size_t k = 0; k < n; ++k) out[length + k] = units[k];
        length += n;
    }
    return length;
}

}  // namespace quillon

namespace quillon::utf {

std::string toUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    char bytes[4];
    forEachCodePoint(text, [&](char32_t c) { out += encodeOne(c, bytes); });
    return out;
}

std::wstring fromUtf8(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t length = 1;
        wchar_t units[2];
        out.append(units, wideUnits(decodeAt(bytes, i, &length), units));
        i += length;
    }
    return out;
}

std::u16string toUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    forEachCodePoint(text, [&out](char32_t c) {
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
    });
    return out;
}

std::u16string bytesToUtf16le(const std::string& bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return units;
}

std::string utf16leToBytes(const std::u16string& units) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

}  // namespace quillon::utf
