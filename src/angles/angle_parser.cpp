// Typed angles: an optional sign or hemisphere letter, one to three numbers
// separated by white space (degrees, minutes, seconds, each may carry
// decimals), then, when no sign came first, an optional trailing sign or
// hemisphere letter. "45 30 00 N", "S45.5", "-45 30", "45 30 15.5 W rest".
#include <climits>
#include <cstddef>

#include "text/chars.h"
#include "platform/platform.h"
#include "quillon/angles.h"

namespace {

// Longest run of digits and points read as one number; what follows a full
// run begins the next one.
constexpr std::size_t kMaxRun = 12;

// +1 for "+NnEe", -1 for "-SsWw", 0 for anything else.
int signOf(wchar_t c) {
    switch (c) {
    case L'+': case L'N': case L'n': case L'E': case L'e': return 1;
    case L'-': case L'S': case L's': case L'W': case L'w': return -1;
    default: return 0;
    }
}

class AngleReader {
public:
    explicit AngleReader(const wchar_t* text) : text_(text) {}

    double read();
    int stop() const { return at_ > std::size_t(INT_MAX) ? INT_MAX : static_cast<int>(at_); }

private:
    bool atEnd() const { return text_[at_] == L'\0'; }
    void skipSpace() {
        while (!atEnd() && quillon::isSpace(text_[at_])) ++at_;
    }
    // Consumes the sign character at the position, if there is one.
    int takeSign() {
        const int sign = atEnd() ? 0 : signOf(text_[at_]);
        if (sign != 0) ++at_;
        return sign;
    }
    // Consumes a run of digits and points; false when it is empty. "12.5.3"
    // reads 12.5 and "." reads 0, as the wide-text conversion does.
    bool takeNumber(double* value);

    const wchar_t* text_;
    std::size_t at_ = 0;
};

bool AngleReader::takeNumber(double* value) {
    wchar_t run[kMaxRun + 1];
    std::size_t length = 0;
    while (length < kMaxRun && (quillon::isDigit(text_[at_]) || text_[at_] == L'.')) {
        run[length++] = text_[at_++];
    }
    run[length] = L'\0';
    if (length == 0) return false;
    *value = quillon::platform::wideToDouble(run);
    return true;
}

double AngleReader::read() {
    skipSpace();
    if (atEnd()) return 0.0;
    int sign = takeSign();
    if (sign != 0) skipSpace();
    if (!quillon::isDigit(text_[at_])) return 0.0;  // ".5" is not read

    double degrees = 0.0, minutes = 0.0, seconds = 0.0;
    takeNumber(&degrees);
    skipSpace();
    if (takeNumber(&minutes)) {
        skipSpace();
        takeNumber(&seconds);
    }
    if (sign == 0) {  // "45 30 00 N", "45-30": a trailing sign only without a leading one
        sign = 1;
        skipSpace();
        const int trailing = takeSign();
        if (trailing != 0) sign = trailing;
    }
    return sign * (((minutes / 60.0) + degrees) + seconds / 3600.0);
}

}  // namespace

double parseStrToAng(const wchar_t* text, int* stop) {
    AngleReader reader(text);
    const double angle = reader.read();
    *stop = reader.stop();
    return angle;
}

double strToAng(const wchar_t* text) {
    int stop = 0;
    return parseStrToAng(text, &stop);
}
