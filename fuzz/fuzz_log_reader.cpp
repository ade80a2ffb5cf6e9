// The track command's log path on any bytes: the library's track decoder
// (sentences found and verified, fixes decoded, dated, measured and their
// heights screened), one line at a time as the tool's LogReader hands them
// over. Every other input also goes through
// the LogReader itself from a stream, which must return the same lines, with
// a buffer of 1 to 4096 bytes so that short logs reach the buffer's edges
// (refills, lines across them, lines too long for it).
// Properties: every fix lies on the globe with finite numbers, the counts
// add up, and the total distance is finite and not negative.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "log_reader.h"

#include <quillon/cpp/track.hpp>

namespace {

class CheckedOutput : public quillon::FixSink {
public:
    void on_fix(const quillon::Fix& fix) override {
        ++fixes;
        FUZZ_CHECK(std::isfinite(fix.latitude) && std::fabs(fix.latitude) <= 90.0, "fix at latitude %.17g",
                   fix.latitude);
        FUZZ_CHECK(std::isfinite(fix.longitude) && std::fabs(fix.longitude) <= 180.0, "fix at longitude %.17g",
                   fix.longitude);
        FUZZ_CHECK(std::isfinite(fix.step) && fix.step >= 0.0, "step of %.17g m", fix.step);
        FUZZ_CHECK(!fix.has_height || std::isfinite(fix.height), "height %.17g", fix.height);
        FUZZ_CHECK(!fix.has_date || std::isfinite(fix.unix_time), "date %.17g", fix.unix_time);
        FUZZ_CHECK(!fix.has_time || (fix.time_of_day >= 0.0 && fix.time_of_day < 86401.0), "time of day %.17g",
                   fix.time_of_day);
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

// What the reader must hand over: the lines, with those that do not fit the
// buffer together with their "\n" as empty, overlong lines.
struct ReadLine {
    std::string text;
    bool overlong;
    bool operator==(const ReadLine& other) const { return text == other.text && overlong == other.overlong; }
};

std::vector<ReadLine> expectedReadLines(const std::vector<std::string>& lines, std::size_t bufferSize) {
    std::vector<ReadLine> expected;
    for (const std::string& line : lines) {
        const bool overlong = line.size() + 1 > bufferSize;
        expected.push_back({overlong ? std::string() : line, overlong});
    }
    return expected;
}

std::vector<ReadLine> linesThroughLogReader(const std::string& bytes, std::size_t bufferSize) {
    // A stream in memory: a tiny buffer reads a byte at a time, which from a
    // file would be a system call each.
    std::string copy = bytes;
    FILE* f = fmemopen(copy.data(), copy.size(), "rb");
    if (f == nullptr) std::abort();
    std::vector<ReadLine> lines;
    cli::LogReader reader(bufferSize);
    reader.open(f);
    const char* line = nullptr;
    std::size_t length = 0;
    bool overlong = false;
    while (reader.next(&line, &length, &overlong)) lines.push_back({std::string(line, length), overlong});
    FUZZ_CHECK(!reader.failed(), "reading a %zu-byte log failed", bytes.size());
    FUZZ_CHECK(reader.bytesRead() == static_cast<long long>(bytes.size()), "read %lld of %zu bytes",
               reader.bytesRead(), bytes.size());
    std::fclose(f);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const unsigned first = in.byte();
    const bool throughReader = (first & 1) != 0;
    const unsigned step = first >> 1;  // 0..127: 1..64 bytes, then steps of 64 up to 4096
    const std::size_t bufferSize = step < 64 ? 1 + step : 64 * (step - 63);
    const std::string log = in.rest();

    std::vector<std::string> lines = splitLines(log);
    if (throughReader) {
        const std::vector<ReadLine> read = linesThroughLogReader(log, bufferSize);
        FUZZ_CHECK(read == expectedReadLines(lines, bufferSize),
                   "the log reader with a %zu-byte buffer gave %zu lines, the log has %zu", bufferSize, read.size(),
                   lines.size());
    }

    CheckedOutput output;
    quillon::TrackDecoder decoder(output, 5.0);
    long long number = 0;
    for (const std::string& line : lines) decoder.add_line(line, ++number);
    decoder.finish();

    const quillon::LogCounts& counts = decoder.counts();
    const quillon::TrackTotals& totals = decoder.totals();
    // A lone "\r" inside a line starts another line.
    FUZZ_CHECK(counts.lines >= number, "%lld lines counted of %lld", counts.lines, number);
    FUZZ_CHECK(counts.no_sentence <= counts.lines, "%lld lines without a sentence of %lld", counts.no_sentence,
               counts.lines);
    // Each sentence ends in exactly one outcome (lines are handed over whole,
    // so "overlong" counts sentences only).
    long long decoded = 0;
    for (long long d : counts.decoded) decoded += d;
    const long long outcomes = decoded + counts.overlong + counts.malformed + counts.bad_checksum + counts.proprietary +
                               counts.other_types + counts.truncated + counts.bad_field + counts.cut +
                              counts.bad_date;
    FUZZ_CHECK(outcomes == counts.sentences, "%lld outcomes for %lld sentences", outcomes, counts.sentences);
    FUZZ_CHECK(totals.fixes == output.fixes, "%lld fixes counted, %lld written", totals.fixes, output.fixes);
    FUZZ_CHECK(std::isfinite(totals.distance) && totals.distance >= 0.0, "total distance %.17g", totals.distance);
    return 0;
}
