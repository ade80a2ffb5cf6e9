// Finds the sentences in the lines of a log, verifies their checksums and
// splits their fields with the library, counts what it meets and hands the
// decoded GGA, RMC, GLL and ZDA content on. Real logs are messy; every defect is counted, none
// stops the scan:
//   - a line may end in "\n", "\r\n" or "\r\r\n", and a lone "\r" also
//     ends a sentence;
//   - every "$" starts a sentence (bytes before the first "$" are noise, a
//     doubled "$$" start leaves an empty sentence that is ignored, and two
//     sentences run together are both read);
//   - a sentence without "*hh" is decoded and counted apart from one whose
//     checksum is wrong (which is never decoded);
//   - a sentence longer than kMaxSentence characters is skipped;
//   - a zero byte ends a sentence for the checksum and the fields (it is no
//     sentence character, and an exclusive-or checksum cannot see it).
#ifndef QUILLON_CLI_SENTENCE_SCANNER_H
#define QUILLON_CLI_SENTENCE_SCANNER_H

#include <cstddef>

#include "nmea_fields.h"

namespace cli {

struct ScanCounts {
    long long lines = 0;
    long long sentences = 0;  // every "$" sentence met, skipped ones included
    long long badChecksum = 0;
    long long noChecksum = 0;   // decoded all the same
    long long proprietary = 0;  // "$P...", counted, not decoded
    long long decoded[4] = {0, 0, 0, 0};  // GGA, RMC, GLL, ZDA
    long long otherTypes = 0;             // well-formed, of a type not decoded
    // Skipped lines and sentences, by cause.
    long long noSentence = 0;  // a non-blank line without "$"
    long long malformed = 0;   // no valid address after "$"
    long long truncated = 0;   // too few fields for its type
    long long badField = 0;    // a field of a decoded type that does not parse
    long long overlong = 0;    // longer than kMaxSentence, or than the reader's buffer
    long long firstSkippedLine = 0;

    long long skipped() const { return noSentence + malformed + truncated + badField + overlong; }
};

// Counts by sentence type: the address without its talker ("GGA" for
// "$GNGGA"), proprietary ones by their whole address ("PSTMVER").
class TypeTally {
public:
    static constexpr int kMaxTypes = 64;
    static constexpr int kMaxName = 23;
    struct Entry {
        char name[kMaxName + 1];
        long long count;
    };

    void add(const char* name, std::size_t length);
    int size() const { return size_; }
    const Entry& entry(int i) const { return entries_[i]; }
    long long untallied() const { return untallied_; }  // beyond kMaxTypes types

private:
    Entry entries_[kMaxTypes];
    int size_ = 0;
    int last_ = 0;
    long long untallied_ = 0;
};

class FixSink {
public:
    virtual void onFix(FixSentence type, const FixReport& report) = 0;

protected:
    ~FixSink() = default;
};

class SentenceScanner {
public:
    static constexpr std::size_t kMaxSentence = 1024;

    explicit SentenceScanner(FixSink* sink) : sink_(sink) {}
    // One line of the log without its "\n".
    void scanLine(const char* line, std::size_t length, long long lineNumber);
    // A line the reader could not hold.
    void overlongLine(long long lineNumber);

    const ScanCounts& counts() const { return counts_; }
    const TypeTally& types() const { return types_; }

private:
    void scanRecord(const char* record, std::size_t length);
    void scanSentence(const char* sentence, std::size_t length);
    void skip(long long* counter);

    // Fields read of one sentence: more than any decoded type has.
    static constexpr int kMaxFields = 32;

    FixSink* sink_;
    ScanCounts counts_;
    TypeTally types_;
    long long lineNumber_ = 0;
    std::string_view fields_[kMaxFields];
};

}  // namespace cli

#endif
