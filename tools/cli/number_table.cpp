#include "number_table.h"

#include "command_line.h"
#include "numbers.h"
#include "text_input.h"

namespace cli {

bool readNumberTable(const char* command, const std::string& path, std::vector<NumberRow>* rows,
                     std::string* sourceName) {
    TextInput in;
    if (!in.open(path)) {
        inputError(command, openFailureReason(path));
        return false;
    }
    *sourceName = in.name();
    std::string line;
    bool tooLong = false;
    while (in.next(&line, &tooLong)) {
        if (tooLong) {
            inputError(command, in.where("line longer than " + std::to_string(TextInput::kMaxLine) + " bytes"));
            return false;
        }
        const auto fields = splitFields(line);
        if (fields.empty() || fields[0][0] == '#') continue;
        NumberRow row{in.lineNumber(), {}};
        for (const std::string& f : fields) {
            double v = 0.0;
            if (!parseDouble(f, &v)) {
                std::string shown = f.size() > 40 ? f.substr(0, 40) + "..." : f;
                for (char& c : shown)
                    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
                inputError(command, in.where("'" + shown + "' is not a number"));
                return false;
            }
            row.values.push_back(v);
        }
        rows->push_back(std::move(row));
    }
    if (in.failed()) {
        inputError(command, in.where("read error"));
        return false;
    }
    return true;
}

}  // namespace cli
