// Shared by the fuzz harnesses: taking parameters from the input bytes,
// turning bytes into wide text that reaches every kind of wchar_t, and
// failing loudly when a property does not hold.
#ifndef QUILLON_FUZZ_SUPPORT_H
#define QUILLON_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace fuzz {

// A property failed: print what and stop, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition, ...)                                              \
    do {                                                                        \
        if (!(condition)) {                                                     \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n  ", #condition, \
                         __FILE__, __LINE__);                                   \
            std::fprintf(stderr, __VA_ARGS__);                                  \
            std::fprintf(stderr, "\n");                                         \
            std::abort();                                                       \
        }                                                                       \
    } while (0)

// The input bytes, consumed from the front.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return at_ >= size_; }
    std::size_t remaining() const { return size_ - at_; }
    std::uint8_t byte() { return empty() ? 0 : data_[at_++]; }
    // A small signed integer spread over [low, high].
    int inRange(int low, int high) { return low + int(byte() % unsigned(high - low + 1)); }
    std::int32_t int32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(byte()) << (8 * i);
        return std::int32_t(v);
    }
    std::string bytes(std::size_t n) {
        if (n > remaining()) n = remaining();
        std::string out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }
    std::string rest() { return bytes(remaining()); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Decodes bytes leniently as UTF-8: well-formed or not, every lead byte
// with its continuation bytes gives a code point (surrogates and values up
// to 0x1FFFFF included); a stray byte stands for itself.
inline std::vector<wchar_t> decodeUtf8(const std::string& bytes) {
    std::vector<wchar_t> out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 && lead < 0xF0 ? 2 : lead >= 0xC0 && lead < 0xE0 ? 1 : 0;
        std::uint32_t code = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : extra == 1 ? lead & 0x1Fu : lead;
        std::size_t j = i + 1;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= bytes.size() || (static_cast<unsigned char>(bytes[j]) & 0xC0u) != 0x80u) {
                extra = -1;
                break;
            }
            code = (code << 6) | (static_cast<unsigned char>(bytes[j]) & 0x3Fu);
        }
        if (extra < 0) {
            out.push_back(wchar_t(lead));
            ++i;
        } else {
            out.push_back(wchar_t(code));
            i = j;
        }
    }
    return out;
}

// The rest of the input as wide text. Its first byte chooses how the bytes
// become characters (modulo 4):
//   0: one byte, one character (U+0000..U+00FF, NULs and controls included);
//   1: lenient UTF-8 (most text seeds use this);
//   2: UTF-16LE code units (lone surrogates included);
//   3: raw 32-bit little-endian values (negative and beyond U+10FFFF included).
// The text may hold NULs of its own; a harness sees the text up to the first.
inline std::vector<wchar_t> wideText(Input& in) {
    const unsigned mode = in.byte() % 4u;
    const std::string raw = in.rest();
    std::vector<wchar_t> out;
    switch (mode) {
    case 0:
        for (unsigned char c : raw) out.push_back(wchar_t(c));
        break;
    case 1:
        out = decodeUtf8(raw);
        break;
    case 2:
        for (std::size_t i = 0; i + 1 < raw.size(); i += 2)
            out.push_back(wchar_t(static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8)));
        break;
    default:
        for (std::size_t i = 0; i + 3 < raw.size(); i += 4) {
            std::uint32_t v = 0;
            for (int k = 0; k < 4; ++k) v |= std::uint32_t(static_cast<unsigned char>(raw[i + k])) << (8 * k);
            out.push_back(static_cast<wchar_t>(static_cast<std::int32_t>(v)));
        }
        break;
    }
    return out;
}

// A zero-terminated copy in a heap block of exactly the characters given
// plus the terminator, so that AddressSanitizer stops any read past it.
// When the characters hold a NUL of their own, `length` is the text's
// length up to that NUL and `hasTail` says that characters follow it.
struct ExactText {
    std::unique_ptr<wchar_t[]> buffer;
    std::size_t length = 0;
    bool hasTail = false;
    const wchar_t* get() const { return buffer.get(); }
    wchar_t* get() { return buffer.get(); }
};

inline ExactText exactCopy(const std::vector<wchar_t>& chars) {
    ExactText t;
    t.buffer.reset(new wchar_t[chars.size() + 1]);
    for (std::size_t i = 0; i < chars.size(); ++i) t.buffer[i] = chars[i];
    t.buffer[chars.size()] = L'\0';
    t.length = std::wcslen(t.buffer.get());
    t.hasTail = t.length < chars.size();
    return t;
}

// The text up to its first NUL, again in an exact-size block.
inline ExactText truncatedCopy(const ExactText& text) {
    return exactCopy(std::vector<wchar_t>(text.get(), text.get() + text.length));
}

// For messages: at most `limit` code units of the text, every one outside
// printable ASCII as \x{..}.
template <class Ch>
std::string showCodeUnits(const Ch* text, std::size_t length, std::size_t limit) {
    std::string out = "\"";
    for (std::size_t i = 0; i < length && i < limit; ++i) {
        const auto c = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Ch>>(text[i]));
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += char(c);
        } else {
            char hex[16];
            std::snprintf(hex, sizeof hex, "\\x{%X}", c);
            out += hex;
        }
    }
    if (length > limit) out += "...";
    return out + "\"";
}

inline std::string show(const wchar_t* text, std::size_t length) { return showCodeUnits(text, length, 200); }


// The text of an ExactText for a message; FUZZ_CHECK evaluates its message
// arguments only when the check fails, so this costs nothing otherwise.
#define SHOWN(text) ::fuzz::show((text).get(), (text).length).c_str()

inline bool sameDouble(double a, double b) { return a == b || (a != a && b != b); }

}  // namespace fuzz

#endif
