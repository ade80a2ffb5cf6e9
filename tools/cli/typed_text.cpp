#include "typed_text.h"

#include <quillon/cpp/units.hpp>

namespace cli {

std::string refusal(const quillon::Error& error, const std::string& typed) {
    if (typed.find_first_of("0123456789") == std::string::npos) return "no number";
    return withoutTyped(error, typed);
}

std::string withoutTyped(const quillon::Error& error, const std::string& typed) {
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
