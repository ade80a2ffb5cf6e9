// Rows of numbers read from a text file or standard input: fields split at
// blanks, tabs, commas or semicolons; blank lines and lines starting with
// '#' skipped. The first field that is not a number stops the reading with
// one error line naming the file and line.
#ifndef QUILLON_CLI_NUMBER_TABLE_H
#define QUILLON_CLI_NUMBER_TABLE_H

#include <string>
#include <vector>

namespace cli {

struct NumberRow {
    long line;  // 1-based line of the input
    std::vector<double> values;
};

// Reads every row; on failure writes "quillon COMMAND: FILE:LINE: reason"
// and returns false.
bool readNumberTable(const char* command, const std::string& path, std::vector<NumberRow>* rows,
                     std::string* sourceName);

}  // namespace cli

#endif
