#include "typed_text.h"

#include <quillon/cpp/units.hpp>

#include "output.h"

namespace cli {

std::string unreadPart(const std::wstring& text, int stop) {
    if (stop < 0) stop = 0;
    if (std::size_t(stop) > text.size()) stop = int(text.size());
    bool digit = false;
    for (int i = 0; i < stop; ++i) digit = digit || (text[std::size_t(i)] >= L'0' && text[std::size_t(i)] <= L'9');
    if (!digit) return "no number";
    std::size_t first = std::size_t(stop);
    while (first < text.size() && (text[first] == L' ' || text[first] == L'\t')) ++first;
    if (first == text.size()) return "";
    return "cannot read '" + toUtf8(text.c_str() + first) + "'";
}

std::string refusal(const quillon::Error& error, const std::string& typed) {
    if (typed.find_first_of("0123456789") == std::string::npos) return "no number";
    const std::string& message = error.message;
    for (const char* before : {" in '", ": '"}) {
        const std::string tail = before + typed + "'";
        if (message.size() > tail.size() && message.compare(message.size() - tail.size(), tail.size(), tail) == 0)
            return message.substr(0, message.size() - tail.size());
    }
    return message;
}

std::string readLength(const std::string& typed, int defaultUnit, double* meters) {
    const quillon::Result<double> length = quillon::read_length(typed, defaultUnit);
    if (!length) return refusal(length.error(), typed);
    *meters = *length;
    return "";
}

}  // namespace cli
