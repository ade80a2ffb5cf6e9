#include "numbers.h"

#include <charconv>
#include <cmath>

namespace cli {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// [begin, end) of the text without surrounding blanks and one leading "+".
void trimmed(const std::string& text, const char** begin, const char** end) {
    const char* b = text.data();
    const char* e = b + text.size();
    while (b < e && isBlank(*b)) ++b;
    while (e > b && isBlank(e[-1])) --e;
    if (b < e && *b == '+' && (e - b) > 1 && b[1] != '-') ++b;
    *begin = b;
    *end = e;
}

}  // namespace

bool parseDouble(const std::string& text, double* value) {
    const char* b;
    const char* e;
    trimmed(text, &b, &e);
    if (b == e) return false;
    // from_chars reads no "inf"/"nan" here that we would accept: they are
    // rejected by the finiteness test below.
    double v = 0.0;
    const auto r = std::from_chars(b, e, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != e || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

bool parseInt(const std::string& text, int* value) {
    const char* b;
    const char* e;
    trimmed(text, &b, &e);
    if (b == e) return false;
    int v = 0;
    const auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e) return false;
    *value = v;
    return true;
}

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string current;
    for (char c : line) {
        if (isBlank(c) || c == ',' || c == ';') {
            if (!current.empty()) fields.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) fields.push_back(current);
    return fields;
}

}  // namespace cli
