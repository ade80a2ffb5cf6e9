// Position fixes of NMEA 0183 logs: a TrackDecoder fed with the bytes of a
// log, its fixes handed to Python as named tuples or as numpy columns.
#include <quillon/cpp/track.hpp>

#include <cmath>
#include <new>
#include <vector>

#include "common.h"

namespace quillon_python {
namespace {

// The bytes of a log in, whole lines to the decoder, fixes kept until
// Python takes them. Lines are split at "\n" as the tool's reader splits
// them, and a line longer than its buffer (1 MiB with the "\n") is counted
// as overlong, not held.
class TrackFeed : public quillon::FixSink {
public:
    static constexpr std::size_t kLongestLine = (std::size_t(1) << 20) - 1;

    explicit TrackFeed(double tolerance) : decoder_(*this, tolerance) {
        if (!(tolerance > 0.0) || !std::isfinite(tolerance))
            raise_value_error("tolerance must be a positive number of metres, not " + number_text(tolerance));
    }

    void on_fix(const quillon::Fix& fix) override {
        try {
            fixes_.push_back(fix);
        } catch (const std::bad_alloc&) {
            out_of_memory_ = true;
        }
    }

    void feed(const py::handle& data) {
        // Only bytes, which nothing can change while the GIL is released.
        if (!PyBytes_Check(data.ptr()))
            throw py::type_error("a log is read as bytes (open it in binary mode, 'rb'), not " +
                                 std::string(py::str(py::type::handle_of(data).attr("__name__"))));
        Text bytes = text_arg(data, "data");
        Busy busy(this);
        py::gil_scoped_release unlocked;
        std::string_view rest = bytes.bytes;
        while (!rest.empty()) {
            std::size_t end = rest.find('\n');
            std::string_view piece = rest.substr(0, end);
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
            take(piece, end != std::string_view::npos);
        }
    }

    void finish() {
        Busy busy(this);
        if (finished_) return;
        if (!pending_.empty() || skipping_) take(std::string_view(), true);
        decoder_.finish();
        finished_ = true;
    }

    // The fixes decoded since the last call, as Fix tuples, texts written
    // in the style, decimals and distance unit given.
    py::list fixes(const std::string& style, int decimals, const quillon::Units& units) {
        Busy busy(this);
        check_memory();
        const quillon::AngleStyle angles = style_arg(style);
        require_range(decimals, 0, 6, "decimals");
        py::object to_datetime = py::module_::import("quillon._time").attr("_datetime");
        py::object fix_type = py::module_::import("quillon._types").attr("Fix");
        py::object none = py::none();
        py::list out;
        for (const quillon::Fix& f : fixes_) {
            auto number = [&none](bool has, double value) -> py::object { return has ? py::float_(value) : none; };
            auto whole = [&none](int value) -> py::object { return value >= 0 ? py::int_(value) : none; };
            auto distance = [&none, &units](bool has, double meters) -> py::object {
                return has ? py::str(quillon::format_distance(meters, units)) : none;
            };
            const char* filter = !f.has_height ? "-" : !f.height_accepted ? "raw" : f.filter_status == 2 ? "med5" : "med3";
            out.append(fix_type(f.has_date ? to_datetime(f.unix_time) : none, number(f.has_date, f.unix_time),
                                f.latitude, f.longitude, quillon::format_latitude(f.latitude, decimals, angles),
                                quillon::format_longitude(f.longitude, decimals, angles),
                                number(f.has_height, f.height), distance(f.has_height, f.height),
                                number(!f.first, f.step), distance(!f.first, f.step), whole(f.quality),
                                whole(f.satellites), filter, number(f.has_height, f.filtered_height),
                                number(f.has_time, f.time_of_day), number(f.has_separation, f.separation),
                                number(f.has_height && f.has_separation, f.ellipsoidal_height),
                                number(f.hdop >= 0.0, f.hdop)));
        }
        fixes_.clear();
        return out;
    }

    // The fixes decoded since the last call as numpy columns.
    py::dict columns() {
        Busy busy(this);
        check_memory();
        const auto n = static_cast<py::ssize_t>(fixes_.size());
        py::array_t<double> unix_time(n), time_of_day(n), lat(n), lon(n), height(n), step(n), filtered(n);
        py::array_t<double> separation(n), ellipsoidal(n), hdop(n);
        py::array_t<short> quality(n), satellites(n);
        py::array_t<signed char> filter(n);
        const double nan = std::nan("");
        for (py::ssize_t i = 0; i < n; ++i) {
            const quillon::Fix& f = fixes_[static_cast<std::size_t>(i)];
            unix_time.mutable_data()[i] = f.has_date ? f.unix_time : nan;
            time_of_day.mutable_data()[i] = f.has_time ? f.time_of_day : nan;
            lat.mutable_data()[i] = f.latitude;
            lon.mutable_data()[i] = f.longitude;
            height.mutable_data()[i] = f.has_height ? f.height : nan;
            step.mutable_data()[i] = f.first ? nan : f.step;
            filtered.mutable_data()[i] = f.has_height ? f.filtered_height : nan;
            separation.mutable_data()[i] = f.has_separation ? f.separation : nan;
            ellipsoidal.mutable_data()[i] = f.has_height && f.has_separation ? f.ellipsoidal_height : nan;
            hdop.mutable_data()[i] = f.hdop >= 0.0 ? f.hdop : nan;
            quality.mutable_data()[i] = static_cast<short>(f.quality);
            satellites.mutable_data()[i] = static_cast<short>(f.satellites);
            filter.mutable_data()[i] =
                static_cast<signed char>(!f.has_height ? -1 : f.height_accepted ? f.filter_status : 0);
        }
        fixes_.clear();
        py::dict out;
        out["unix_time"] = unix_time;
        out["time_of_day"] = time_of_day;
        out["lat"] = lat;
        out["lon"] = lon;
        out["height"] = height;
        out["step"] = step;
        out["quality"] = quality;
        out["satellites"] = satellites;
        out["filter"] = filter;
        out["filtered_height"] = filtered;
        out["separation"] = separation;
        out["ellipsoidal_height"] = ellipsoidal;
        out["hdop"] = hdop;
        return out;
    }

    // What the decoder met and made so far.
    py::dict summary() {
        Busy busy(this);
        const quillon::LogCounts& c = decoder_.counts();
        const quillon::TrackTotals& t = decoder_.totals();
        py::object to_datetime = py::module_::import("quillon._time").attr("_datetime");
        auto dated = [&to_datetime](const quillon::Fix& fix) -> py::object {
            return fix.has_date ? to_datetime(fix.unix_time) : py::none();
        };
        py::dict decoded, skipped, types;
        const char* names[quillon::kFixSentenceTypes] = {"GGA", "RMC", "GLL", "ZDA", "GNS"};
        for (int i = 0; i < quillon::kFixSentenceTypes; ++i) decoded[names[i]] = c.decoded[i];
        skipped["total"] = c.skipped();
        skipped["no_sentence"] = c.no_sentence;
        skipped["malformed"] = c.malformed;
        skipped["truncated"] = c.truncated;
        skipped["cut"] = c.cut;
        skipped["bad_field"] = c.bad_field;
        skipped["bad_date"] = c.bad_date;
        skipped["overlong"] = c.overlong;
        skipped["first_line"] = c.first_skipped_line;
        for (int i = 0; i < decoder_.types().size(); ++i)
            types[decoder_.types().entry(i).name] = decoder_.types().entry(i).count;
        py::dict out;
        out["lines"] = c.lines;
        out["sentences"] = c.sentences;
        out["decoded"] = decoded;
        out["other_types"] = c.other_types;
        out["proprietary"] = c.proprietary;
        out["bad_checksum"] = c.bad_checksum;
        out["no_checksum"] = c.no_checksum;
        out["skipped"] = skipped;
        out["fixes"] = t.fixes;
        out["cycles_without_fix"] = t.cycles_without_fix;
        out["heights"] = t.heights;
        out["rejected_heights"] = t.rejected_heights;
        out["distance"] = t.distance;
        out["first"] = t.has_first ? dated(t.first_fix) : py::none();
        out["last"] = t.has_first ? dated(t.last_fix) : py::none();
        out["span"] = t.has_first && t.first_fix.has_date && t.last_fix.has_date
                          ? py::object(py::float_(t.last_fix.unix_time - t.first_fix.unix_time))
                          : py::none();
        out["types"] = types;
        return out;
    }

private:
    // One decoder is fed by one thread at a time: the feed runs without the
    // GIL, so a second thread is turned away rather than let in.
    struct Busy {
        explicit Busy(TrackFeed* feed) : feed_(feed) {
            if (feed->busy_) throw py::value_error("this track is being read by another thread");
            feed->busy_ = true;
        }
        ~Busy() { feed_->busy_ = false; }
        TrackFeed* feed_;
    };

    // A piece of a line; `ends` when a "\n" followed it.
    void take(std::string_view piece, bool ends) {
        if (finished_) return;
        if (!skipping_ && pending_.size() + piece.size() > kLongestLine) {
            skipping_ = true;
            pending_.clear();
        }
        if (!skipping_) {
            if (ends && pending_.empty()) {
                decoder_.add_line(piece, ++line_);
                return;
            }
            try {
                pending_.append(piece);
            } catch (const std::bad_alloc&) {
                out_of_memory_ = true;
                return;
            }
        }
        if (!ends) return;
        if (skipping_)
            decoder_.add_overlong_line(++line_);
        else
            decoder_.add_line(pending_, ++line_);
        pending_.clear();
        skipping_ = false;
    }

    void check_memory() {
        if (out_of_memory_) {
            out_of_memory_ = false;
            throw std::bad_alloc();
        }
    }

    quillon::TrackDecoder decoder_;
    std::vector<quillon::Fix> fixes_;
    std::string pending_;  // the start of a line whose "\n" has not come yet
    bool skipping_ = false;  // inside an overlong line
    bool finished_ = false;
    bool busy_ = false;
    bool out_of_memory_ = false;
    long long line_ = 0;
};

}  // namespace

void bind_track(py::module_& m) {
    py::class_<TrackFeed>(m, "TrackFeed", "The decoder behind read_track(): bytes in, fixes out.")
        .def(py::init<double>(), py::arg("tolerance"))
        .def("feed", &TrackFeed::feed, py::arg("data"), "Decodes the complete lines of the bytes.")
        .def("finish", &TrackFeed::finish, "Decodes the last line and ends the last cycle.")
        .def("fixes", &TrackFeed::fixes, py::arg("style"), py::arg("decimals"), py::arg("units"),
             "The fixes decoded since the last call, as Fix tuples.")
        .def("columns", &TrackFeed::columns, "The fixes decoded since the last call, as numpy columns.")
        .def("summary", &TrackFeed::summary, "What the decoder met and made so far.");
}

}  // namespace quillon_python
