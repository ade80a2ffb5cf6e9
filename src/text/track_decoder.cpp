// Position fixes from the lines of an NMEA 0183 log: the sentences of each
// line found and verified, the fix sentences decoded, and the sentences of
// one report cycle joined into one fix.
#include <quillon/cpp/sentences.hpp>
#include <quillon/cpp/time.hpp>
#include <quillon/cpp/track.hpp>

#include <cmath>
#include <cstring>

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

// GGA carries the height, so it is the best source of a cycle's position.
int rankOf(FixSentence type) {
    switch (type) {
    case FixSentence::gga: return 3;
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
    if (size_ > 0 && name == entries_[last_].name) {
        ++entries_[last_].count;
        return;
    }
    for (int i = 0; i < size_; ++i) {
        if (name == entries_[i].name) {
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
    e.count = 1;
    last_ = size_++;
}

TrackDecoder::TrackDecoder(FixSink& sink, double tolerance) noexcept
    : sink_(&sink), tolerance_(tolerance), filter_(kFilterSamples, kFilterGate) {}

void TrackDecoder::skip(long long* counter) noexcept {
    ++*counter;
    if (counts_.first_skipped_line == 0) counts_.first_skipped_line = line_number_;
}

void TrackDecoder::add_overlong_line(long long number) noexcept {
    ++counts_.lines;
    line_number_ = number;
    skip(&counts_.overlong);
}

void TrackDecoder::add_line(std::string_view line, long long number) noexcept {
    ++counts_.lines;
    line_number_ = number;
    // A lone "\r" ends a sentence too, so "\r\r\n" and "\r"-only logs both read.
    while (!line.empty()) {
        const std::size_t cr = line.find('\r');
        const std::string_view record = line.substr(0, cr);
        if (!record.empty()) scan_record(record);
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
        ++counts_.no_checksum;
    } else if (!checksum_ok(sentence)) {
        ++counts_.bad_checksum;
        return;
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
    }
}

void TrackDecoder::take(FixSentence type, const Report& report) noexcept {
    // A new time of day starts a new cycle. A sentence without a time joins
    // the current cycle unless its type already came in it (receivers
    // without a fix send time-less sentences every cycle).
    const unsigned bit = 1u << unsigned(type);
    if (report.hasTime ? (cycle_.has_time && std::fabs(report.timeOfDay - cycle_.time_of_day) > 1e-3)
                       : (cycle_.seen_types & bit) != 0)
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
    if (report.quality >= 0) cycle_.quality = report.quality;
    if (report.satellites >= 0) cycle_.satellites = report.satellites;
    if (report.hasPosition && rankOf(type) > cycle_.position_rank) {
        cycle_.position_rank = rankOf(type);
        cycle_.latitude = report.latitude;
        cycle_.longitude = report.longitude;
        cycle_.has_height = report.hasHeight;
        cycle_.height = report.height;
    }
}

void TrackDecoder::finish() noexcept { flush(); }

void TrackDecoder::flush() noexcept {
    if (cycle_.any) {
        if (cycle_.position_rank > 0)
            emit();
        else
            ++totals_.cycles_without_fix;
    }
    cycle_ = Cycle();
}

void TrackDecoder::emit() noexcept {
    Fix fix;
    fix.has_time = cycle_.has_time;
    fix.time_of_day = cycle_.time_of_day;
    fix.latitude = cycle_.latitude;
    fix.longitude = cycle_.longitude;
    fix.has_height = cycle_.has_height;
    fix.height = cycle_.height;
    fix.quality = cycle_.quality;
    fix.satellites = cycle_.satellites;

    if (fix.has_time) {
        if (has_date_) {
            // The date was learned earlier in the day; a time of day far
            // below it means the log has passed midnight since.
            if (fix.time_of_day < date_time_of_day_ - kSecondsPerDay / 2) {
                midnight_ += kSecondsPerDay;
                date_time_of_day_ = fix.time_of_day;
            }
            fix.has_date = true;
            fix.unix_time = midnight_ + fix.time_of_day;
        }
        if (has_clock_) {
            double delta = fix.time_of_day - clock_time_of_day_;
            if (delta < -kSecondsPerDay / 2) delta += kSecondsPerDay;
            if (delta > 0.0) clock_ += delta;
        }
        has_clock_ = true;
        clock_time_of_day_ = fix.time_of_day;
    }

    // The step is the chord between the two points on the ellipsoid: for
    // fixes metres or kilometres apart it equals the distance over the
    // ground to well below a millimetre.
    const Geocentric xyz = to_geocentric({fix.latitude * kDegreesToRadians, fix.longitude * kDegreesToRadians, 0.0});
    if (has_previous_) {
        const double dx = xyz.x - previous_.x;
        const double dy = xyz.y - previous_.y;
        const double dz = xyz.z - previous_.z;
        fix.step = std::sqrt(dx * dx + dy * dy + dz * dz);
        fix.first = false;
    }
    has_previous_ = true;
    previous_ = xyz;

    if (fix.has_height) {
        const SampleOutcome outcome = filter_.add(fix.height, clock_, tolerance_, kFilterSamples);
        fix.height_accepted = outcome.accepted;
        fix.filter_status = outcome.status;
        fix.filtered_height = outcome.output;
        ++totals_.heights;
        if (!fix.height_accepted) ++totals_.rejected_heights;
    }

    ++totals_.fixes;
    totals_.distance += fix.step;
    if (!totals_.has_first) {
        totals_.has_first = true;
        totals_.first_fix = fix;
    }
    totals_.last_fix = fix;
    sink_->on_fix(fix);
}

}  // namespace quillon
