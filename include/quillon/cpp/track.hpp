/// @file
/// Position fixes from an NMEA 0183 log: the sentences of each line found and
/// verified, the GGA, RMC, GLL and ZDA sentences decoded, the sentences of
/// one report cycle joined into one fix, dated, measured from the previous
/// fix and its height screened by a median filter. Real logs are messy:
/// every defect is counted, none stops the decoding.
///
/// A program feeds the log line by line (TrackDecoder::add_line) and gets
/// each fix, as soon as its cycle is complete, through its FixSink; memory
/// stays flat whatever the log's size.
#ifndef QUILLON_CPP_TRACK_HPP
#define QUILLON_CPP_TRACK_HPP

#include <quillon/cpp/estimation.hpp>
#include <quillon/cpp/geodesy.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <string_view>

namespace quillon {

/// One position fix: the sentences of one report cycle (the same time of
/// day) joined, the position from the best of them (GGA, which has the
/// height, before RMC, before GLL).
struct Fix {
    bool has_time = false;      ///< the cycle's sentences carried a time of day
    double time_of_day = 0.0;   ///< seconds after midnight UTC, 0 up to 86400 (a leap second: 86401)
    bool has_date = false;      ///< a date was known (from RMC or ZDA, carried over midnight)
    double unix_time = 0.0;     ///< seconds since 1970 UTC, when has_date
    double latitude = 0.0;      ///< degrees, north positive
    double longitude = 0.0;     ///< degrees, east positive
    bool has_height = false;    ///< a GGA altitude came with the position
    double height = 0.0;        ///< metres above mean sea level (GGA), when has_height
    int quality = -1;           ///< GGA fix quality, -1 when not given
    int satellites = -1;        ///< GGA satellites in use, -1 when not given
    bool first = true;          ///< the first fix of the log: no step
    double step = 0.0;          ///< metres from the previous fix (the chord on the WGS 84 ellipsoid)
    bool height_accepted = false;  ///< the filter accepted the height (within the tolerance of the median)
    int filter_status = 0;      ///< 0 not accepted, 1 median of 3 or 4 heights, 2 median of 5 or more
    double filtered_height = 0.0;  ///< the median when accepted, otherwise the height itself
};

/// Where a TrackDecoder hands its fixes.
class QUILLON_API FixSink {
public:
    /// Releases nothing.
    virtual ~FixSink();
    /// One complete fix, in log order. Must not throw.
    virtual void on_fix(const Fix& fix) = 0;

protected:
    // Out of line, so that only the library refers to this class's vtable
    // (an inline one would copy it into every program that derives a sink).
    /// Makes a sink; for derived classes.
    FixSink() noexcept;
    /// Copies nothing; for derived classes.
    FixSink(const FixSink&) noexcept;
    /// Assigns nothing; for derived classes.
    FixSink& operator=(const FixSink&) noexcept = default;
};

/// Sentence types the decoder reads.
enum class FixSentence : int {
    gga = 0,  ///< position, time, quality, satellites, altitude
    rmc = 1,  ///< position, time, date
    gll = 2,  ///< position, time
    zda = 3,  ///< time and date
};

/// What a TrackDecoder met in the log.
struct LogCounts {
    long long lines = 0;        ///< lines given, overlong ones included
    long long sentences = 0;    ///< every "$" sentence met, skipped ones included
    long long bad_checksum = 0; ///< sentences whose checksum is wrong (never decoded)
    long long no_checksum = 0;  ///< sentences without "*hh" (decoded all the same)
    long long proprietary = 0;  ///< "$P..." sentences, counted, not decoded
    long long decoded[4] = {0, 0, 0, 0};  ///< by FixSentence: GGA, RMC, GLL, ZDA
    long long other_types = 0;  ///< well-formed sentences of a type not decoded
    long long no_sentence = 0;  ///< skipped: a non-blank line without "$"
    long long malformed = 0;    ///< skipped: no valid address after "$"
    long long truncated = 0;    ///< skipped: too few fields for its type
    long long bad_field = 0;    ///< skipped: a field of a decoded type that does not parse
    long long overlong = 0;     ///< skipped: longer than kMaxSentence, or a line the reader could not hold
    long long first_skipped_line = 0;  ///< line number of the first skipped line or sentence; 0 for none

    /// Lines and sentences skipped, all causes.
    long long skipped() const noexcept { return no_sentence + malformed + truncated + bad_field + overlong; }
};

/// Sentences by type, in the order first met: the address without its
/// talker ("GGA" for "$GNGGA"), proprietary ones by their whole address
/// ("PSTMVER").
class QUILLON_API SentenceTypes {
public:
    static constexpr int kMaxTypes = 64;  ///< types tallied; further ones are counted in untallied()
    static constexpr int kMaxName = 23;   ///< longer names are cut to this many characters
    /// One type and how often it came.
    struct Entry {
        char name[kMaxName + 1];  ///< zero-terminated
        long long count;          ///< sentences of the type
    };

    /// Counts one sentence of the type name.
    void add(std::string_view name) noexcept;
    /// Types tallied.
    int size() const noexcept { return size_; }
    /// Type i, 0 .. size() - 1.
    const Entry& entry(int i) const noexcept { return entries_[i]; }
    /// Sentences of types beyond the first kMaxTypes.
    long long untallied() const noexcept { return untallied_; }

private:
    Entry entries_[kMaxTypes];
    int size_ = 0;
    int last_ = 0;
    long long untallied_ = 0;
};

/// What a TrackDecoder made of the log.
struct TrackTotals {
    long long fixes = 0;               ///< fixes handed to the sink
    long long cycles_without_fix = 0;  ///< cycles whose sentences carried no valid position
    long long heights = 0;             ///< fixes with a height
    long long rejected_heights = 0;    ///< heights the filter did not accept
    double distance = 0.0;             ///< metres, the sum of the steps
    bool has_first = false;            ///< at least one fix
    Fix first_fix;                     ///< the first fix, when has_first
    Fix last_fix;                      ///< the last fix, when has_first
};

/// Decodes an NMEA 0183 log fed line by line into position fixes.
///
/// Line ends: a line may end in "\n", "\r\n" or "\r\r\n", and a lone "\r"
/// ends a sentence too. Every "$" starts a sentence (bytes before the first
/// "$" are noise; "$$" leaves an empty sentence that is ignored; sentences
/// run together are both read). A zero byte ends a sentence for the checksum
/// and the fields. Heights are screened by a MedianFilter of 20 heights over
/// 500 s of the log's own clock.
class QUILLON_API TrackDecoder {
public:
    /// Longest sentence read; longer ones are counted as overlong.
    static constexpr std::size_t kMaxSentence = 1024;

    /// A decoder handing its fixes to sink (which must outlive it), screening
    /// heights with the acceptance band tolerance (metres) around the median.
    explicit TrackDecoder(FixSink& sink, double tolerance = 10.0) noexcept;
    /// One line of the log without its "\n"; number is its 1-based line
    /// number, for first_skipped_line.
    void add_line(std::string_view line, long long number) noexcept;
    /// A line the caller could not hold (too long): counted as overlong.
    void add_overlong_line(long long number) noexcept;
    /// Ends the last cycle (handing its fix to the sink); call once at the
    /// end of the log.
    void finish() noexcept;

    /// What was met so far.
    const LogCounts& counts() const noexcept { return counts_; }
    /// Sentence types met so far.
    const SentenceTypes& types() const noexcept { return types_; }
    /// What was made so far.
    const TrackTotals& totals() const noexcept { return totals_; }

private:
    struct Cycle {
        bool any = false;
        bool has_time = false;
        double time_of_day = 0.0;
        int position_rank = 0;  // 3 GGA, 2 RMC, 1 GLL
        double latitude = 0.0;
        double longitude = 0.0;
        bool has_height = false;
        double height = 0.0;
        int quality = -1;
        int satellites = -1;
        unsigned seen_types = 0;  // a bit per FixSentence
    };
    struct Report;
    void scan_record(std::string_view record) noexcept;
    void scan_sentence(std::string_view sentence) noexcept;
    void skip(long long* counter) noexcept;
    void take(FixSentence type, const Report& report) noexcept;
    void flush() noexcept;
    void emit() noexcept;

    static constexpr int kMaxFields = 32;

    FixSink* sink_;
    double tolerance_;
    LogCounts counts_;
    SentenceTypes types_;
    TrackTotals totals_;
    long long line_number_ = 0;
    std::string_view fields_[kMaxFields];
    Cycle cycle_;
    MedianFilter filter_;
    // The date: midnight of the current day, and the time of day when it was
    // learned (to notice the next midnight).
    bool has_date_ = false;
    double midnight_ = 0.0;
    double date_time_of_day_ = 0.0;
    // Seconds since the first fix, through midnights: the filter's clock.
    bool has_clock_ = false;
    double clock_ = 0.0;
    double clock_time_of_day_ = 0.0;
    bool has_previous_ = false;
    Geocentric previous_;
};

}  // namespace quillon

#endif
