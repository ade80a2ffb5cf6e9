// Typed texts read through the library's parsers, with checks on what the
// parser consumed, so that a command can reject "5 mi" or "abc" instead of
// silently reading a part.
#ifndef QUILLON_CLI_TYPED_TEXT_H
#define QUILLON_CLI_TYPED_TEXT_H

#include <string>

namespace cli {

// "" when the parser read a number and nothing but blanks is left after
// `stop`; otherwise the reason, e.g. "no number" or "cannot read 'mi'".
std::string unreadPart(const std::wstring& text, int stop);

// A typed length ("12.5 ft", "2nm", "N 100 m", "-7 km") in meters, a bare
// number being in unit `defaultUnit` (an index of the library's unit
// table, 0..4). Every command that takes a length reads it here. "" when
// the whole text was read; otherwise the reason, as unreadPart() gives it.
std::string readLength(const std::string& typed, int defaultUnit, double* meters);

}  // namespace cli

#endif
