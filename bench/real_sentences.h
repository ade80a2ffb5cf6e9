// The sentences of the real receiver logs beside the project, one wide
// string per line without its line end, as a host holds them after reading
// a line.
#ifndef QUILLON_BENCH_REAL_SENTENCES_H
#define QUILLON_BENCH_REAL_SENTENCES_H

#include <string>
#include <vector>

namespace bench {

// The folder of the logs: $QUILLON_NMEA_DIR when set, else the folder found
// at configure time (../shared/data/nmea beside the checkout).
std::string nmeaDir();

// Every line of the ordinary logs (*.nmea directly in the folder, not the
// defective ones under edge/), loaded once. Empty when the folder is absent.
const std::vector<std::wstring>& realSentences();

}  // namespace bench

#endif
