/// @file
/// Position fixes from an NMEA 0183 log: the sentences of each line found and
/// verified, the GGA, RMC, GLL, GNS and ZDA sentences of any talker decoded
/// (with the mode and status fields of NMEA 4.10 and 4.11), the sentences of
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
/// day) joined, the position from the best of them (GGA or GNS, which have
/// the height, before RMC, before GLL).
struct Fix {
    bool has_time = false;      ///< the cycle's sentences carried a time of day
    double time_of_day = 0.0;   ///< seconds after midnight UTC, 0 up to 86400 (a leap second: 86401)
    bool has_date = false;      ///< a date was known (from RMC or ZDA, carried over midnight, or a later one)
    double unix_time = 0.0;     ///< seconds since 1970 UTC, when has_date
    bool rolled_over = false;   ///< the date was moved on by whole 1024-week periods (TrackOptions::rollover_after)
    double latitude = 0.0;      ///< degrees, north positive
    double longitude = 0.0;     ///< degrees, east positive
    bool has_height = false;    ///< a GGA or GNS altitude came with the position
    double height = 0.0;        ///< metres above mean sea level (the geoid), when has_height
    bool has_separation = false;   ///< the geoid separation came with the height
    double separation = 0.0;       ///< metres of the geoid above the WGS 84 ellipsoid, when has_separation
    /// Metres above the WGS 84 ellipsoid (height + separation), when
    /// has_height and has_separation.
    double ellipsoidal_height = 0.0;
    int quality = -1;           ///< GGA fix quality (a GNS mode as the same number), -1 when not given
    int satellites = -1;        ///< satellites in use, -1 when not given
    double hdop = -1.0;         ///< horizontal dilution of precision, -1 when not given
    /// The position in earth-centred coordinates, metres: at the
    /// ellipsoidal height when has_separation, on the ellipsoid otherwise.
    Geocentric geocentric;
    bool first = true;          ///< the first fix of the log: no step
    /// Metres from the previous fix: the chord between the two points, at
    /// their ellipsoidal heights when both have one, else on the ellipsoid.
    double step = 0.0;
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
    gns = 4,  ///< position, time, mode per constellation, satellites, altitude
};

/// Sentence types decoded: FixSentence values are 0 .. kFixSentenceTypes - 1.
constexpr int kFixSentenceTypes = 5;

/// What a TrackDecoder met in the log.
struct LogCounts {
    long long lines = 0;        ///< lines given, overlong ones included
    long long sentences = 0;    ///< every "$" sentence met, skipped ones included
    long long bad_checksum = 0; ///< sentences whose checksum is wrong (never decoded)
    long long no_checksum = 0;  ///< sentences without "*hh" in a log that has none before them (decoded)
    long long proprietary = 0;  ///< "$P..." sentences, counted, not decoded
    long long decoded[kFixSentenceTypes] = {0, 0, 0, 0, 0};  ///< by FixSentence: GGA, RMC, GLL, ZDA, GNS
    long long other_types = 0;  ///< well-formed sentences of a type not decoded
    long long no_sentence = 0;  ///< skipped: a non-blank line without "$"
    long long malformed = 0;    ///< skipped: no valid address after "$"
    long long truncated = 0;    ///< skipped: too few fields for its type
    long long bad_field = 0;    ///< skipped: a field of a decoded type that does not parse
    long long overlong = 0;     ///< skipped: longer than kMaxSentence, or a line the reader could not hold
    /// skipped: no "*hh" after sentences that had one, so probably cut short
    long long cut = 0;
    long long bad_date = 0;     ///< skipped: a date no calendar has (February 30)
    long long first_skipped_line = 0;  ///< line number of the first skipped line or sentence; 0 for none

    /// Lines and sentences skipped, all causes.
    long long skipped() const noexcept { return no_sentence + malformed + truncated + bad_field + overlong + cut + bad_date; }
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
    unsigned char lengths_[kMaxTypes];  // of the names, to compare without measuring them
    int size_ = 0;
    int last_ = 0;
    long long untallied_ = 0;
};

/// What a TrackDecoder made of the log.
struct TrackTotals {
    long long fixes = 0;               ///< fixes handed to the sink
    long long cycles_without_fix = 0;  ///< cycles whose sentences carried no valid position
    long long simulated = 0;           ///< cycles whose position a simulator made (quality 8, mode "S"): no fix
    /// cycles with a position that one of their sentences says is not valid
    /// (status "V", mode "N"): no fix
    long long flagged_invalid = 0;
    long long undated = 0;             ///< fixes that never got a date
    long long rolled_over = 0;         ///< fixes whose date was moved on by 1024-week periods
    long long time_backwards = 0;      ///< fixes whose time is before the previous fix's
    long long heights = 0;             ///< fixes with a height
    long long rejected_heights = 0;    ///< heights the filter did not accept
    double distance = 0.0;             ///< metres, the sum of the steps
    bool has_first = false;            ///< at least one fix
    Fix first_fix;                     ///< the first fix, when has_first
    Fix last_fix;                      ///< the last fix, when has_first
};

/// How a TrackDecoder reads a log.
struct TrackOptions {
    double tolerance = 10.0;  ///< metres: the height filter's band around the median
    /// Unix time: dates before it are moved on by as many 1024-week periods
    /// as bring them to it or after (receivers hit by the GPS week rollover
    /// date their fixes 1024 weeks back); 0 for none.
    double rollover_after = 0.0;
    /// Fixes held back while no date is known, to date them when the first
    /// date comes; 0 hands every fix over at once (live input).
    int hold_undated = 256;
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
    /// A decoder with all its options.
    TrackDecoder(FixSink& sink, const TrackOptions& options) noexcept;
    /// Releases the fixes it holds.
    ~TrackDecoder();
    TrackDecoder(const TrackDecoder&) = delete;
    TrackDecoder& operator=(const TrackDecoder&) = delete;
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
        int position_rank = 0;  // 3 GGA or GNS, 2 RMC, 1 GLL
        double latitude = 0.0;
        double longitude = 0.0;
        bool has_height = false;
        double height = 0.0;
        bool has_separation = false;
        double separation = 0.0;
        int quality = -1;
        int satellites = -1;
        double hdop = -1.0;
        bool flagged_invalid = false;
        bool simulated = false;
        unsigned seen_types = 0;  // a bit per FixSentence
    };
    struct Report;
    void scan_record(std::string_view record) noexcept;
    void scan_sentence(std::string_view sentence) noexcept;
    void skip(long long* counter) noexcept;
    void take(FixSentence type, const Report& report) noexcept;
    void flush() noexcept;
    void emit() noexcept;
    void date(Fix& fix) noexcept;
    void hand_over(Fix& fix) noexcept;
    void release_held() noexcept;

    static constexpr int kMaxFields = 32;

    FixSink* sink_;
    TrackOptions options_;
    LogCounts counts_;
    SentenceTypes types_;
    TrackTotals totals_;
    long long line_number_ = 0;
    long long extra_lines_ = 0;  // lines ended by a lone "\r" inside the caller's lines
    bool seen_checksum_ = false;
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
    Fix previous_;
    // Fixes waiting for the first date: a ring of options_.hold_undated.
    Fix* held_ = nullptr;
    int held_count_ = 0;
    bool has_last_time_ = false;
    double last_time_ = 0.0;
};

/// The spread of a log's fixes about their mean, the figures a survey
/// engineer judges a static occupation by. They describe how the fixes
/// scatter about their own mean, not how far they are from the truth.
struct TrackFigures {
    long long positions = 0;        ///< fixes in the figures
    double mean_latitude = 0.0;     ///< degrees, of the mean of the geocentric positions
    double mean_longitude = 0.0;    ///< degrees
    double mean_height = 0.0;       ///< metres above the ellipsoid (0 where no fix had an ellipsoidal height)
    long long heights = 0;          ///< fixes with an ellipsoidal height, the only ones in sd_up
    /// Standard deviations about the mean in the local east, north, up frame
    /// (the sample deviation, over n - 1), metres; 0 below two fixes.
    double sd_east = 0.0;
    double sd_north = 0.0;          ///< metres
    double sd_up = 0.0;             ///< metres, of the fixes with an ellipsoidal height
    /// Radius of the circle about the mean holding half of the fixes, for
    /// the normal distribution of the east and north deviations' covariance
    /// (its axes need not be equal nor along east and north), metres.
    double cep50 = 0.0;
    double r95 = 0.0;               ///< the same for 95 %, metres
    double drms2 = 0.0;             ///< twice the root of sd_east^2 + sd_north^2, metres
    long long hdops = 0;            ///< fixes with an HDOP
    double hdop_min = 0.0;          ///< when hdops > 0
    double hdop_median = 0.0;       ///< to 0.01, the receivers' own resolution at best
    double hdop_max = 0.0;          ///< when hdops > 0
    long long by_quality[10] = {};  ///< fixes of quality 0..8, and [9] those without one
    long long gaps = 0;             ///< time steps between dated fixes longer than the gap threshold
    double longest_gap = 0.0;       ///< seconds, 0 without gaps
    double gap_time = 0.0;          ///< seconds in gaps, all together
};

/// Gathers TrackFigures fix by fix in constant memory.
class QUILLON_API TrackStatistics {
public:
    /// Time steps longer than gap_seconds count as gaps.
    explicit TrackStatistics(double gap_seconds = 10.0) noexcept;
    /// Counts one fix, as a TrackDecoder made it (its geocentric position
    /// is the one counted).
    void add(const Fix& fix) noexcept;
    /// The figures of the fixes added so far.
    TrackFigures figures() const noexcept;

    /// The radius of the circle about the centre of a two-dimensional
    /// normal distribution with the covariance [[see, sen], [sen, snn]]
    /// holding the fraction p (0 < p < 1) of it; 0 for a zero covariance.
    static double circle_radius(double see, double sen, double snn, double p) noexcept;

private:
    static constexpr int kHdopBins = 10000;  // 0.00 .. 99.99, the last bin taking everything above
    double gap_seconds_;
    long long n_ = 0;
    bool has_origin_ = false;
    Geocentric origin_;
    // Sums of the positions less the origin, and of their products: the
    // horizontal (on the ellipsoid) and, apart, the ellipsoidal heights.
    double s_[3] = {0, 0, 0};
    double ss_[6] = {0, 0, 0, 0, 0, 0};  // xx, xy, xz, yy, yz, zz
    long long h_n_ = 0;
    double h_s_ = 0.0;
    double h_ss_ = 0.0;
    double h_first_ = 0.0;
    long long by_quality_[10] = {};
    long long hdop_n_ = 0;
    double hdop_min_ = 0.0;
    double hdop_max_ = 0.0;
    int* hdop_bins_ = nullptr;
    bool has_time_ = false;
    double last_time_ = 0.0;
    long long gaps_ = 0;
    double longest_gap_ = 0.0;
    double gap_time_ = 0.0;

public:
    /// Releases the HDOP tally.
    ~TrackStatistics();
    TrackStatistics(const TrackStatistics&) = delete;
    TrackStatistics& operator=(const TrackStatistics&) = delete;
};

}  // namespace quillon

#endif
