// Typed texts read through the library's checked readers, which take a text
// only when all of it is what was asked for, so that a command can reject
// "5 mi" or "abc" instead of silently reading a part.
#ifndef QUILLON_CLI_TYPED_TEXT_H
#define QUILLON_CLI_TYPED_TEXT_H

#include <quillon/cpp/result.hpp>

#include <string>

namespace cli {

// Why a checked reader refused `typed`, for the tool's "'TEXT': reason"
// lines: "no number" for a text without a digit, otherwise the reader's
// message without the quoted text it ends with ("cannot read 'mi' in
// '5 mi'" -> "cannot read 'mi'").
std::string refusal(const quillon::Error& error, const std::string& typed);
// The reader's message without the quoted text it ends with, and nothing
// else changed: "hour 25 is not 0..23", "cannot read 'PM'".
std::string withoutTyped(const quillon::Error& error, const std::string& typed);

// A typed length ("12.5 ft", "2nm", "N 100 m", "-7 km", "1e3", "10 usft")
// in meters, a bare number being in unit `defaultUnit` (an index of the
// library's unit table, 0..4). Every command that takes a length reads it
// here. "" when the whole text was read; otherwise the reason, as refusal()
// gives it.
std::string readLength(const std::string& typed, int defaultUnit, double* meters);

}  // namespace cli

#endif
