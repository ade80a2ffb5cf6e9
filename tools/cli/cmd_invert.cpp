// quillon invert: the inverse of a square matrix read from a file.
#include <quillon/cpp/numerics.hpp>

#include <cmath>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "number_table.h"
#include "output.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon invert [OPTIONS] [FILE|-]\n"
    "\n"
    "Reads a square matrix, one row per line (numbers separated by blanks,\n"
    "tabs, commas or semicolons; lines starting with '#' skipped), from FILE\n"
    "or standard input, and writes its inverse in the same layout.\n";

const char kHelpEnd[] =
    "A singular matrix is an error (exit status 1). The inverse is checked:\n"
    "when A times it differs from the identity by more than 1e-9 in any\n"
    "element, the command says by how much and exits with 1.\n";

// How far A times the result may be from the identity. LU inversion does
// not report most singular matrices (its zero pivots become 1e-20 and the
// result huge); this check is what catches them.
constexpr double kIdentityTolerance = 1e-9;

// Largest |(A inverse - I)[i][j]| of two n x n matrices, row-major.
double identityError(const std::vector<double>& a, const std::vector<double>& inverse, std::size_t n) {
    double worst = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j) {
            double sum = 0.0;
            for (std::size_t k = 0; k < n; ++k) sum += a[i * n + k] * inverse[k * n + j];
            const double e = std::fabs(sum - (i == j ? 1.0 : 0.0));
            if (!(e <= worst)) worst = e;  // NaN counts as the worst
        }
    return worst;
}

}  // namespace

int runInvert(int argc, char** argv) {
    std::optional<int> methodIndex;
    std::optional<int> digitsGiven;
    CommandLine args("invert", kHelp,
                     {Option::choice("method",
                                     {{"gaussj", "Gauss-Jordan elimination with full pivoting (default)"},
                                      {"lu", "LU decomposition (Crout)"},
                                      {"spd", "symmetric positive-definite (U-D factors); the matrix must be symmetric"}},
                                     "", &methodIndex),
                      Option::whole("digits", "N", 1, 17, "significant digits written, 1..17 (default 12)", &digitsGiven)},
                     kHelpEnd);
    if (const auto status = args.parse(argc, argv)) return *status;
    if (args.positionals().size() > 1) return args.usageError("takes one file");
    const char* const kMethods[] = {"gaussj", "lu", "spd"};
    const std::string method = kMethods[methodIndex.value_or(0)];
    const int digits = digitsGiven.value_or(12);
    std::vector<NumberRow> rows;
    std::string source;
    if (!readNumberTable("invert", args.positionals().empty() ? "-" : args.positionals()[0], &rows, &source))
        return kBadInput;
    const std::size_t n = rows.size();
    if (n == 0) return inputError("invert", source + ": no matrix");
    if (n > 2000) return inputError("invert", source + ": more than 2000 rows");
    std::vector<double> a;
    a.reserve(n * n);
    for (const NumberRow& row : rows) {
        if (row.values.size() != n)
            return inputError("invert", source + ":" + std::to_string(row.line) + ": " +
                                            std::to_string(row.values.size()) + " numbers in a row of a " +
                                            std::to_string(n) + " x " + std::to_string(n) + " matrix");
        a.insert(a.end(), row.values.begin(), row.values.end());
    }
    if (method == "spd") {
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = i + 1; j < n; ++j)
                if (a[i * n + j] != a[j * n + i])
                    return inputError("invert", source + ": not symmetric (row " + std::to_string(i + 1) +
                                                    ", column " + std::to_string(j + 1) + "); --method spd needs "
                                                    "a symmetric matrix");
    }

    std::vector<double> inverse = a;
    quillon::Status inverted;
    if (method == "gaussj")
        inverted = quillon::invert_gauss_jordan(inverse.data(), n);
    else if (method == "spd")
        inverted = quillon::invert_symmetric(inverse.data(), n);
    else
        inverted = quillon::invert_lu(inverse.data(), n);
    if (!inverted) {
        switch (inverted.error().code) {
        case quillon::Errc::no_memory: return inputError("invert", "not enough memory for the matrix");
        case quillon::Errc::not_finite:
            return inputError("invert", source + ": the matrix is singular or too ill-conditioned (the inverse "
                                                 "is not finite)");
        default:
            return inputError("invert", source + ": the matrix is singular" +
                                            std::string(method == "spd" ? " or not positive definite" : ""));
        }
    }
    if (const double e = identityError(a, inverse, n); !(e <= kIdentityTolerance))
        return inputError("invert", source + ": the matrix is singular or too ill-conditioned (A times the "
                                             "result differs from the identity by " +
                                        generalText(e, 3) + ", more than 1e-9)");
    Output o(stdout);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) o.text(j > 0 ? " " : "").general(inverse[i * n + j], digits);
        o.newline();
    }
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
