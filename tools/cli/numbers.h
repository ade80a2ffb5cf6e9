// Numbers typed on the command line or read from text files, in the
// classic "C" notation whatever the locale, and the splitting of a line of
// numbers into its fields.
#ifndef QUILLON_CLI_NUMBERS_H
#define QUILLON_CLI_NUMBERS_H

#include <string>
#include <vector>

namespace cli {

// The whole text (blanks around it allowed) as a finite double: "12.5",
// "-3e2", "+.5". false for "", "12a", "nan", "1e999".
bool parseDouble(const std::string& text, double* value);
// The whole text as an int: "42", "-7". false for "4.2", "x", overflow.
bool parseInt(const std::string& text, int* value);
// Fields of a line separated by blanks, tabs, commas or semicolons.
std::vector<std::string> splitFields(const std::string& line);

}  // namespace cli

#endif
