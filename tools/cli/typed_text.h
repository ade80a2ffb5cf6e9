// Checks on what a library parser consumed of a typed text, so that a
// command can reject "5 mi" or "abc" instead of silently reading a part.
#ifndef QUILLON_CLI_TYPED_TEXT_H
#define QUILLON_CLI_TYPED_TEXT_H

#include <string>

namespace cli {

// "" when the parser read a number and nothing but blanks is left after
// `stop`; otherwise the reason, e.g. "no number" or "cannot read 'mi'".
std::string unreadPart(const std::wstring& text, int stop);

}  // namespace cli

#endif
