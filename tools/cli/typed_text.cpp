#include "typed_text.h"

#include <quillon/units.h>

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

std::string readLength(const std::string& typed, int defaultUnit, double* meters) {
    const std::wstring text = fromUtf8(typed);
    int stop = 0;
    *meters = parseStrToUnit(text.c_str(), &stop, defaultUnit);
    return unreadPart(text, stop);
}

}  // namespace cli
