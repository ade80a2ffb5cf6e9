// The track command's log path on any bytes: the tool's sentence scanner
// (which verifies checksums and splits fields with the library) feeding its
// track builder (dates, distances, the height filter), one line at a time as
// the tool's LogReader hands them over. Every other input also goes through
// the LogReader itself from a file, which must return the same lines.
// Properties: every fix lies on the globe with finite numbers, the counts
// add up, and the total distance is finite and not negative.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "log_reader.h"
#include "sentence_scanner.h"
#include "track_builder.h"

namespace {

class CheckedOutput : public cli::FixOutput {
public:
    void writeFix(const cli::Fix& fix) override {
        ++fixes;
        FUZZ_CHECK(std::isfinite(fix.latitude) && std::fabs(fix.latitude) <= 90.0, "fix at latitude %.17g",
                   fix.latitude);
        FUZZ_CHECK(std::isfinite(fix.longitude) && std::fabs(fix.longitude) <= 180.0, "fix at longitude %.17g",
                   fix.longitude);
        FUZZ_CHECK(std::isfinite(fix.step) && fix.step >= 0.0, "step of %.17g m", fix.step);
        FUZZ_CHECK(!fix.hasHeight || std::isfinite(fix.height), "height %.17g", fix.height);
        FUZZ_CHECK(!fix.hasDate || std::isfinite(fix.dos), "date %.17g", fix.dos);
        FUZZ_CHECK(!fix.hasTime || (fix.timeOfDay >= 0.0 && fix.timeOfDay < 86401.0), "time of day %.17g",
                   fix.timeOfDay);
    }
    long long fixes = 0;
};

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        std::size_t lf = bytes.find('\n', begin);
        if (lf == std::string::npos) lf = bytes.size();
        lines.push_back(bytes.substr(begin, lf - begin));
        begin = lf + 1;
    }
    return lines;
}

std::vector<std::string> linesThroughLogReader(const std::string& bytes) {
    static const std::string file = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(base) + "/quillon-fuzz-log-" + std::to_string(getpid());
    }();
    FILE* f = std::fopen(file.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    std::vector<std::string> lines;
    cli::LogReader reader;
    FUZZ_CHECK(reader.open(file), "the log reader could not open %s", file.c_str());
    const char* line = nullptr;
    std::size_t length = 0;
    bool overlong = false;
    while (reader.next(&line, &length, &overlong)) {
        FUZZ_CHECK(!overlong, "a line of a %zu-byte log reported overlong", bytes.size());
        lines.emplace_back(line, length);
    }
    FUZZ_CHECK(!reader.failed(), "reading a %zu-byte log failed", bytes.size());
    FUZZ_CHECK(reader.bytesRead() == static_cast<long long>(bytes.size()), "read %lld of %zu bytes",
               reader.bytesRead(), bytes.size());
    unlink(file.c_str());
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const bool throughReader = (in.byte() & 1) != 0;
    const std::string log = in.rest();

    std::vector<std::string> lines = splitLines(log);
    if (throughReader) {
        const std::vector<std::string> read = linesThroughLogReader(log);
        FUZZ_CHECK(read == lines, "the log reader gave %zu lines, the log has %zu", read.size(), lines.size());
    }

    CheckedOutput output;
    cli::TrackBuilder builder(&output, 5.0);
    cli::SentenceScanner scanner(&builder);
    long long number = 0;
    for (const std::string& line : lines) scanner.scanLine(line.data(), line.size(), ++number);
    builder.finish();

    const cli::ScanCounts& counts = scanner.counts();
    const cli::TrackTotals& totals = builder.totals();
    FUZZ_CHECK(counts.lines == number, "%lld lines counted of %lld", counts.lines, number);
    // Each sentence ends in exactly one outcome (lines are handed over whole,
    // so "overlong" counts sentences only).
    long long decoded = 0;
    for (long long d : counts.decoded) decoded += d;
    const long long outcomes = decoded + counts.overlong + counts.malformed + counts.badChecksum + counts.proprietary +
                               counts.otherTypes + counts.truncated + counts.badField;
    FUZZ_CHECK(outcomes == counts.sentences, "%lld outcomes for %lld sentences", outcomes, counts.sentences);
    FUZZ_CHECK(totals.fixes == output.fixes, "%lld fixes counted, %lld written", totals.fixes, output.fixes);
    FUZZ_CHECK(std::isfinite(totals.distance) && totals.distance >= 0.0, "total distance %.17g", totals.distance);
    return 0;
}
