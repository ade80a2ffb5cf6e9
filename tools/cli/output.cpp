#include "output.h"

#include <quillon/cpp/text.hpp>
#include <quillon/cpp/units.hpp>

#include <charconv>
#include <cmath>
#include <cstring>

namespace cli {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// Room for any fixed() text of a double with the decimals the tool uses.
constexpr std::size_t kFixedRoom = 400;

// "%.*f" into [first, last), without the sign of a value that rounds to
// zero; returns the end of the text.
char* writeFixed(char* first, char* last, double value, int decimals) {
    // The library's writer gives printf's digits several times faster than
    // to_chars, for the decimals it takes and finite values.
    const std::to_chars_result r =
        std::isfinite(value) && decimals >= 0 && decimals <= 9
            ? std::to_chars_result{first + quillon::write_length(first, std::size_t(last - first), value, 1.0, "",
                                                                 decimals),
                                   std::errc()}
            : std::to_chars(first, last, value, std::chars_format::fixed, decimals);
    // -0.00004 with 4 decimals is written "0.0000", not "-0.0000".
    bool zero = first[0] == '-';
    for (const char* c = first + 1; zero && c < r.ptr; ++c) zero = *c == '0' || *c == '.';
    if (!zero) return r.ptr;
    std::memmove(first, first + 1, std::size_t(r.ptr - first - 1));
    return r.ptr - 1;
}

}  // namespace

std::string fixedText(double value, int decimals) {
    char text[kFixedRoom];
    return std::string(text, writeFixed(text, text + sizeof text, value, decimals));
}

std::string shortestText(double value) {
    char text[40];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string generalText(double value, int precision) {
    char text[400];
    return std::string(text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision).ptr);
}

Output::Output(std::FILE* stream) : stream_(stream), buffer_(new char[kBufferSize]) {}

Output::~Output() {
    flush();
    delete[] buffer_;
}

void Output::reserve(std::size_t n) {
    if (used_ + n > kBufferSize) flush();
}

bool Output::flush() {
    if (used_ > 0 && !failed_) {
        if (std::fwrite(buffer_, 1, used_, stream_) != used_) failed_ = true;
    }
    handedOver_ += used_;
    used_ = 0;
    if (std::fflush(stream_) != 0) failed_ = true;
    return !failed_;
}

Output& Output::text(std::string_view s) {
    while (!s.empty()) {
        reserve(s.size() < 4096 ? s.size() : 4096);
        const std::size_t room = kBufferSize - used_;
        const std::size_t take = s.size() < room ? s.size() : room;
        std::memcpy(buffer_ + used_, s.data(), take);
        used_ += take;
        s.remove_prefix(take);
    }
    return *this;
}

Output& Output::ch(char c) {
    reserve(1);
    buffer_[used_++] = c;
    return *this;
}

Output& Output::column(std::string_view s, int width) { return startColumn().text(s).endColumn(width); }

Output& Output::startColumn() {
    columnStart_ = position();
    return *this;
}

Output& Output::endColumn(int width) {
    int n = int(position() - columnStart_);
    do ch(' ');
    while (++n < width);
    return *this;
}

Output& Output::fixed(double value, int decimals) {
    reserve(kFixedRoom);
    used_ = std::size_t(writeFixed(buffer_ + used_, buffer_ + kBufferSize, value, decimals) - buffer_);
    return *this;
}

Output& Output::integer(long long value) {
    reserve(24);
    const auto r = std::to_chars(buffer_ + used_, buffer_ + kBufferSize, value);
    used_ = std::size_t(r.ptr - buffer_);
    return *this;
}

Output& Output::zeroPadded(long long value, int width) {
    reserve(24 + std::size_t(width > 0 ? width : 0));
    const std::size_t start = used_;
    integer(value);
    widen(start, width, '0');
    return *this;
}

Output& Output::zeroPaddedFixed(double value, int decimals, int width) {
    reserve(kFixedRoom + std::size_t(width > 0 ? width : 0));
    const std::size_t start = used_;
    fixed(value, decimals);
    widen(start, width, std::isfinite(value) ? '0' : ' ');
    return *this;
}

// The number at buffer_[start, used_) widened to `width` characters with
// `fill`: zeros go after the sign, as printf's "0" flag puts them, blanks
// before the whole. The caller reserved the room.
void Output::widen(std::size_t start, int width, char fill) {
    const std::size_t length = used_ - start;
    if (width <= 0 || length >= std::size_t(width)) return;
    const std::size_t count = std::size_t(width) - length;
    char* number = buffer_ + start;
    const std::size_t at = fill == '0' && number[0] == '-' ? 1 : 0;
    std::memmove(number + at + count, number + at, length - at);
    std::memset(number + at, fill, count);
    used_ += count;
}

Output& Output::general(double value, int precision) {
    reserve(400);
    const auto r = std::to_chars(buffer_ + used_, buffer_ + kBufferSize, value, std::chars_format::general, precision);
    used_ = std::size_t(r.ptr - buffer_);
    return *this;
}

Output& Output::shortest(double value) {
    reserve(40);
    const auto r = std::to_chars(buffer_ + used_, buffer_ + kBufferSize, value);
    used_ = std::size_t(r.ptr - buffer_);
    return *this;
}

Output& Output::jsonFixed(double value, int decimals) {
    return std::isfinite(value) ? fixed(value, decimals) : text("null");
}

Output& Output::jsonShortest(double value) { return std::isfinite(value) ? shortest(value) : text("null"); }

Output& Output::csvString(std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) return text(s);
    ch('"');
    for (const char c : s) {
        if (c == '"') ch('"');
        ch(c);
    }
    return ch('"');
}

Output& Output::jsonString(std::string_view s) {
    bool ascii = true;
    for (const char c : s) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    // Malformed UTF-8 is repaired by a round trip through the library's
    // coders, which turn each byte that starts no character into U+FFFD.
    std::string repaired;
    if (!ascii) {
        repaired = quillon::to_utf8(quillon::to_wide(s));
        s = repaired;
    }
    ch('"');
    for (const char c : s) {
        const unsigned char code = static_cast<unsigned char>(c);
        reserve(6);
        if (c == '"' || c == '\\') {
            buffer_[used_++] = '\\';
            buffer_[used_++] = c;
        } else if (code < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            std::memcpy(buffer_ + used_, "\\u00", 4);
            buffer_[used_ + 4] = kHex[code >> 4];
            buffer_[used_ + 5] = kHex[code & 15];
            used_ += 6;
        } else {
            buffer_[used_++] = c;
        }
    }
    return ch('"');
}

}  // namespace cli
