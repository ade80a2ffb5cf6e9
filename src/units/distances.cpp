// Distances in the units a user chose.
#include <quillon/cpp/units.hpp>

namespace quillon {

ParsedLength parse_distance(std::string_view text, const Units& settings) noexcept {
    return parse_length(text, settings.dist_units);
}

std::size_t write_distance(char* out, std::size_t size, double meters, const Units& settings) noexcept {
    return write_length(out, size, meters, settings.dist_units, unit_info(settings.dist_units).decimals);
}

std::size_t write_distance(wchar_t* out, std::size_t size, double meters, const Units& settings) noexcept {
    return write_length(out, size, meters, settings.dist_units, unit_info(settings.dist_units).decimals);
}

std::size_t write_waypoint_distance(char* out, std::size_t size, double meters, const Units& settings,
                                    int decimals) noexcept {
    return write_length(out, size, meters, settings.wp_units, decimals);
}

std::size_t write_waypoint_distance(wchar_t* out, std::size_t size, double meters, const Units& settings,
                                    int decimals) noexcept {
    return write_length(out, size, meters, settings.wp_units, decimals);
}

}  // namespace quillon
