// Position fixes from the lines of an NMEA 0183 log: the sentences of each
// line found and verified, the fix sentences decoded, and the sentences of
// one report cycle joined into one fix.
#include <quillon/cpp/sentences.hpp>
#include <quillon/cpp/time.hpp>
#include <quillon/cpp/track.hpp>

#include <cmath>
#include <cstring>
#include <new>

#include "text/nmea_fields.h"

namespace quillon {

struct TrackDecoder::Report : nmea::FixReport {};

namespace {

constexpr double kDegreesToRadians = 3.141592653589793 / 180.0;
// The filter's sample window and the most samples in one median, 20 each,
// and the largest age of a sample in a median, 500 s: the hosts' defaults.
constexpr int kFilterSamples = 20;
constexpr double kFilterGate = 500.0;

bool isAddressChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\0' || c == '\v' || c == '\f'; }

// GGA and GNS carry the height, so they are the best source of a cycle's
// position.
int rankOf(FixSentence type) {
    switch (type) {
    case FixSentence::gga:
    case FixSentence::gns: return 3;
    case FixSentence::rmc: return 2;
    case FixSentence::gll: return 1;
    case FixSentence::zda: return 0;
    }
    return 0;
}

}  // namespace

FixSink::FixSink() noexcept = default;
FixSink::FixSink(const FixSink&) noexcept = default;
FixSink::~FixSink() = default;

void SentenceTypes::add(std::string_view name) noexcept {
    if (name.size() > std::size_t(kMaxName)) name = name.substr(0, kMaxName);
    // Every sentence comes here: names are compared by their stored lengths
    // first, never measured.
    auto same = [this, name](int i) {
        return lengths_[i] == name.size() && std::memcmp(entries_[i].name, name.data(), name.size()) == 0;
    };
    if (size_ > 0 && same(last_)) {
        ++entries_[last_].count;
        return;
    }
    for (int i = 0; i < size_; ++i) {
        if (same(i)) {
            ++entries_[i].count;
            last_ = i;
            return;
        }
    }
    if (size_ == kMaxTypes) {
        ++untallied_;
        return;
    }
    Entry& e = entries_[size_];
    std::memcpy(e.name, name.data(), name.size());
    e.name[name.size()] = '\0';
    lengths_[size_] = static_cast<unsigned char>(name.size());
    e.count = 1;
    last_ = size_++;
}

TrackDecoder::TrackDecoder(FixSink& sink, double tolerance) noexcept
    : TrackDecoder(sink, TrackOptions{tolerance}) {}

TrackDecoder::TrackDecoder(FixSink& sink, const TrackOptions& options) noexcept
    : sink_(&sink), options_(options), filter_(kFilterSamples, kFilterGate) {
    if (options_.hold_undated > 0) {
        held_ = new (std::nothrow) Fix[std::size_t(options_.hold_undated)];
        // Without room to hold them, fixes go out undated as they come.
        if (held_ == nullptr) options_.hold_undated = 0;
    }
}

TrackDecoder::~TrackDecoder() { delete[] held_; }

void TrackDecoder::skip(long long* counter) noexcept {
    ++*counter;
    if (counts_.first_skipped_line == 0) counts_.first_skipped_line = line_number_;
}

void TrackDecoder::add_overlong_line(long long number) noexcept {
    ++counts_.lines;
    line_number_ = number + extra_lines_;
    skip(&counts_.overlong);
}

void TrackDecoder::add_line(std::string_view line, long long number) noexcept {
    ++counts_.lines;
    line_number_ = number + extra_lines_;
    // A lone "\r" ends a line too, so "\r\r\n" and "\r"-only logs both
    // read, and every "\r" that has more text after it starts a line.
    bool started = false;
    while (!line.empty()) {
        const std::size_t cr = line.find('\r');
        const std::string_view record = line.substr(0, cr);
        if (!record.empty()) {
            if (started) {
                ++counts_.lines;
                ++extra_lines_;
                ++line_number_;
            }
            scan_record(record);
        }
        started = true;
        line.remove_prefix(cr == std::string_view::npos ? line.size() : cr + 1);
    }
}

void TrackDecoder::scan_record(std::string_view record) noexcept {
    std::size_t start = record.find('$');
    if (start == std::string_view::npos) {
        for (const char c : record)
            if (!isBlank(c)) {
                skip(&counts_.no_sentence);
                return;
            }
        return;
    }
    while (start < record.size()) {
        const std::size_t following = record.find('$', start + 1);
        const std::size_t stop = following == std::string_view::npos ? record.size() : following;
        std::size_t last = stop;
        while (last > start + 1 && isBlank(record[last - 1])) --last;
        // "$$GPGSV,...": the first "$" starts nothing.
        if (last - start > 1) scan_sentence(record.substr(start, last - start));
        start = stop;
    }
}

void TrackDecoder::scan_sentence(std::string_view s) noexcept {
    ++counts_.sentences;
    const std::size_t n = s.size();
    if (n > kMaxSentence) return skip(&counts_.overlong);

    std::size_t addressEnd = 1;
    while (addressEnd < n && isAddressChar(s[addressEnd])) ++addressEnd;
    const std::size_t addressLength = addressEnd - 1;
    // A proprietary address is "P" and a maker's code; a standard one a
    // two-letter talker and a type.
    const std::size_t shortest = s[1] == 'P' ? 2 : 3;
    if (addressLength < shortest || (addressEnd < n && s[addressEnd] != ',' && s[addressEnd] != '*'))
        return skip(&counts_.malformed);

    std::size_t star = n;
    for (std::size_t i = n; i-- > addressEnd;)
        if (s[i] == '*') {
            star = i;
            break;
        }
    // A zero byte is no sentence character, and an exclusive-or checksum
    // cannot see it: it ends the sentence.
    const std::string_view sentence = s.substr(0, s.find('\0'));
    if (star == n) {
        // Once a log has shown checksums, a sentence without one was most
        // likely cut short where its checksum would have been.
        if (seen_checksum_) return skip(&counts_.cut);
        ++counts_.no_checksum;
    } else {
        seen_checksum_ = true;
        if (!checksum_ok(sentence)) {
            ++counts_.bad_checksum;
            return;
        }
    }

    const std::string_view address = s.substr(1, addressLength);
    if (address[0] == 'P') {
        ++counts_.proprietary;
        types_.add(address);
        return;
    }
    const std::string_view type = address.substr(2);
    types_.add(type);
    FixSentence which;
    if (type == "GGA")
        which = FixSentence::gga;
    else if (type == "RMC")
        which = FixSentence::rmc;
    else if (type == "GLL")
        which = FixSentence::gll;
    else if (type == "ZDA")
        which = FixSentence::zda;
    else if (type == "GNS")
        which = FixSentence::gns;
    else {
        ++counts_.other_types;
        return;
    }

    // The fields end at the checksum.
    FieldReader reader(sentence.substr(0, star), FieldSyntax::comma_only);
    int count = 0;
    while (count < kMaxFields && reader.next(&fields_[count])) ++count;
    Report report;
    switch (nmea::decodeFixSentence(which, fields_, count, &report)) {
    case nmea::DecodeResult::kDecoded:
        ++counts_.decoded[int(which)];
        take(which, report);
        break;
    case nmea::DecodeResult::kTruncated: skip(&counts_.truncated); break;
    case nmea::DecodeResult::kBadField: skip(&counts_.bad_field); break;
    case nmea::DecodeResult::kBadDate: skip(&counts_.bad_date); break;
    }
}

void TrackDecoder::take(FixSentence type, const Report& report) noexcept {
    // A new time of day starts a new cycle, and so does a type that already
    // came in this one (receivers without a fix send time-less sentences
    // every cycle, and the first timed one after them is a new cycle).
    const unsigned bit = 1u << unsigned(type);
    if ((cycle_.seen_types & bit) != 0 ||
        (report.hasTime && cycle_.has_time && std::fabs(report.timeOfDay - cycle_.time_of_day) > 1e-3))
        flush();
    cycle_.any = true;
    cycle_.seen_types |= bit;
    if (report.hasTime && !cycle_.has_time) {
        cycle_.has_time = true;
        cycle_.time_of_day = report.timeOfDay;
    }
    if (report.hasDate) {
        has_date_ = true;
        midnight_ = unix_time({report.year, report.month, report.day, 0, 0, 0.0});
        date_time_of_day_ = report.hasTime ? report.timeOfDay : cycle_.time_of_day;
    }
    cycle_.flagged_invalid = cycle_.flagged_invalid || report.flaggedInvalid;
    cycle_.simulated = cycle_.simulated || report.simulated;
    const bool best = report.hasPosition && rankOf(type) > cycle_.position_rank;
    // Quality, satellites and HDOP from the sentence that gives the
    // position, else from the first that has them.
    if (report.quality >= 0 && (best || cycle_.quality < 0)) cycle_.quality = report.quality;
    if (report.satellites >= 0 && (best || cycle_.satellites < 0)) cycle_.satellites = report.satellites;
    if (report.hdop >= 0.0 && (best || cycle_.hdop < 0.0)) cycle_.hdop = report.hdop;
    if (best) {
        cycle_.position_rank = rankOf(type);
        cycle_.latitude = report.latitude;
        cycle_.longitude = report.longitude;
        cycle_.has_height = report.hasHeight;
        cycle_.height = report.height;
        cycle_.has_separation = report.hasSeparation;
        cycle_.separation = report.separation;
    }
}

void TrackDecoder::finish() noexcept {
    flush();
    // A log that never names its date leaves its fixes undated.
    release_held();
}

void TrackDecoder::flush() noexcept {
    if (cycle_.any) {
        if (cycle_.position_rank == 0) {
            // A ZDA alone is a clock, not a cycle without a fix.
            if (cycle_.seen_types != 1u << unsigned(FixSentence::zda)) ++totals_.cycles_without_fix;
        } else if (cycle_.simulated) {
            ++totals_.simulated;
        } else if (cycle_.flagged_invalid) {
            ++totals_.flagged_invalid;
        } else {
            emit();
        }
    }
    cycle_ = Cycle();
}

void TrackDecoder::date(Fix& fix) noexcept {
    // The date was learned at date_time_of_day_; a time of day far below it
    // is on a later day, far above it (a fix held from before the date
    // came) on the day before.
    double midnight = midnight_;
    if (fix.time_of_day < date_time_of_day_ - kSecondsPerDay / 2) {
        midnight += kSecondsPerDay;
        // The log has passed midnight: the day after is the date from now on.
        midnight_ = midnight;
        date_time_of_day_ = fix.time_of_day;
    } else if (fix.time_of_day > date_time_of_day_ + kSecondsPerDay / 2) {
        midnight -= kSecondsPerDay;
    }
    fix.has_date = true;
    fix.unix_time = midnight + fix.time_of_day;
    if (options_.rollover_after > 0.0 && fix.unix_time < options_.rollover_after) {
        constexpr double kPeriod = 1024.0 * 7.0 * kSecondsPerDay;
        fix.unix_time += std::ceil((options_.rollover_after - fix.unix_time) / kPeriod) * kPeriod;
        fix.rolled_over = true;
    }
}

void TrackDecoder::release_held() noexcept {
    for (int i = 0; i < held_count_; ++i) {
        if (has_date_ && held_[i].has_time) date(held_[i]);
        hand_over(held_[i]);
    }
    held_count_ = 0;
}

void TrackDecoder::hand_over(Fix& fix) noexcept {
    if (!fix.has_date) ++totals_.undated;
    if (fix.rolled_over) ++totals_.rolled_over;
    ++totals_.fixes;
    totals_.distance += fix.step;
    if (!totals_.has_first) {
        totals_.has_first = true;
        totals_.first_fix = fix;
    }
    totals_.last_fix = fix;
    sink_->on_fix(fix);
}

void TrackDecoder::emit() noexcept {
    Fix fix;
    fix.has_time = cycle_.has_time;
    fix.time_of_day = cycle_.time_of_day;
    fix.latitude = cycle_.latitude;
    fix.longitude = cycle_.longitude;
    fix.has_height = cycle_.has_height;
    fix.height = cycle_.height;
    fix.has_separation = cycle_.has_height && cycle_.has_separation;
    fix.separation = cycle_.separation;
    if (fix.has_separation) fix.ellipsoidal_height = fix.height + fix.separation;
    fix.quality = cycle_.quality;
    fix.satellites = cycle_.satellites;
    fix.hdop = cycle_.hdop;

    if (fix.has_time) {
        if (has_clock_) {
            double delta = fix.time_of_day - clock_time_of_day_;
            if (delta < -kSecondsPerDay / 2) delta += kSecondsPerDay;
            if (delta > 0.0) clock_ += delta;
            if (delta < 0.0) ++totals_.time_backwards;
        }
        has_clock_ = true;
        clock_time_of_day_ = fix.time_of_day;
    }

    // The step is the chord between the two points: for fixes metres or
    // kilometres apart it equals the distance over the ground to well below
    // a millimetre. At their ellipsoidal heights when both have one, on the
    // ellipsoid otherwise (an MSL height is no height above anything the
    // chord could use).
    fix.geocentric = to_geocentric({fix.latitude * kDegreesToRadians, fix.longitude * kDegreesToRadians,
                                    fix.has_separation ? fix.ellipsoidal_height : 0.0});
    if (has_previous_) {
        Geocentric a = fix.geocentric;
        Geocentric b = previous_.geocentric;
        if (fix.has_separation != previous_.has_separation) {
            if (fix.has_separation) a = to_geocentric({fix.latitude * kDegreesToRadians, fix.longitude * kDegreesToRadians, 0.0});
            else b = to_geocentric({previous_.latitude * kDegreesToRadians, previous_.longitude * kDegreesToRadians, 0.0});
        }
        const double dx = a.x - b.x;
        const double dy = a.y - b.y;
        const double dz = a.z - b.z;
        fix.step = std::sqrt(dx * dx + dy * dy + dz * dz);
        fix.first = false;
    }
    has_previous_ = true;
    previous_ = fix;

    if (fix.has_height) {
        const SampleOutcome outcome = filter_.add(fix.height, clock_, options_.tolerance, kFilterSamples);
        fix.height_accepted = outcome.accepted;
        fix.filter_status = outcome.status;
        fix.filtered_height = outcome.output;
        ++totals_.heights;
        if (!fix.height_accepted) ++totals_.rejected_heights;
    }

    if (has_date_) {
        release_held();
        if (fix.has_time) date(fix);
        hand_over(fix);
    } else if (options_.hold_undated > 0 && fix.has_time) {
        if (held_count_ == options_.hold_undated) {
            // No date for so long: the oldest goes out undated.
            hand_over(held_[0]);
            std::memmove(static_cast<void*>(held_), held_ + 1, sizeof(Fix) * std::size_t(held_count_ - 1));
            --held_count_;
        }
        held_[held_count_++] = fix;
    } else {
        release_held();
        hand_over(fix);
    }
}

}  // namespace quillon
