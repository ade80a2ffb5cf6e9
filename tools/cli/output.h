// Buffered output of the tool: UTF-8 text, numbers in the classic "C"
// notation whatever the locale, and the quoting that CSV and JSON need.
// Writes reach the stream in large blocks.
#ifndef QUILLON_CLI_OUTPUT_H
#define QUILLON_CLI_OUTPUT_H

#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

class Output {
public:
    explicit Output(std::FILE* stream);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    Output& text(std::string_view s);
    Output& ch(char c);
    Output& newline() { return ch('\n'); }
    // s, then blanks up to width characters (at least one blank after s).
    // Counts bytes: for ASCII texts, as every text the library writes is.
    Output& column(std::string_view s, int width);
    // A column built from several writes, such as a number:
    // o.startColumn().fixed(x, 4).endColumn(15) pads what was written since
    // startColumn() as column() does.
    Output& startColumn();
    Output& endColumn(int width);
    // "%.*f": fixed(2.5, 2) -> "2.50"; a value that rounds to zero has no
    // sign: fixed(-0.00004, 4) -> "0.0000"; non-finite values as "nan",
    // "inf", "-inf".
    Output& fixed(double value, int decimals);
    Output& integer(long long value);
    // "%0*lld": zeroPadded(7, 2) -> "07", zeroPadded(-7, 3) -> "-07";
    // the width counts the sign.
    Output& zeroPadded(long long value, int width);
    // fixed() widened to `width` characters with zeros after the sign, as
    // "%0*.*f" does: zeroPaddedFixed(5.25, 3, 6) -> "05.250"; non-finite
    // values are widened with blanks before them.
    Output& zeroPaddedFixed(double value, int decimals, int width);
    // "%.*g": general(1234.5678, 6) -> "1234.57", general(1e-20, 6) -> "1e-20".
    Output& general(double value, int precision);
    // The shortest text that reads back as the same double: 0.1 -> "0.1".
    Output& shortest(double value);
    // CSV: the text as it is, or quoted ("a ""b""") when it holds a comma,
    // a quote or a line end.
    Output& csvString(std::string_view s);
    // JSON: a quoted, escaped string (bytes that are not UTF-8 become
    // U+FFFD, so that the output always is), and numbers with null for
    // non-finite ones.
    Output& jsonString(std::string_view s);
    Output& jsonFixed(double value, int decimals);
    Output& jsonShortest(double value);

    // Hands everything buffered to the stream; false when a write failed.
    bool flush();

private:
    void reserve(std::size_t n);
    void widen(std::size_t start, int width, char fill);
    std::size_t position() const { return handedOver_ + used_; }
    std::FILE* stream_;
    char* buffer_;
    std::size_t used_ = 0;
    std::size_t handedOver_ = 0;  // bytes flushed so far, for columns
    std::size_t columnStart_ = 0;
    bool failed_ = false;
};

// Output::fixed() as a string, for numbers inside messages.
std::string fixedText(double value, int decimals);
// Output::shortest() and Output::general() as strings.
std::string shortestText(double value);
std::string generalText(double value, int precision);

}  // namespace cli

#endif
