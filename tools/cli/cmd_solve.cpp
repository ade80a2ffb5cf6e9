// quillon solve OBS: placeholder until the estimator lands.
#include "command_line.h"
#include "commands.h"

namespace cli {

int runSolve(int, char**) { return usageError("solve", "not available yet"); }

}  // namespace cli
