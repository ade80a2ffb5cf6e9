// quillon invert: the inverse of a square matrix read from a file.
#include <quillon/numerics.h>

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
    "when A times it differs from the identity by more than 1e-9 the\n"
    "command says so and\n"
    "exits with 1.\n";

// How far A times the result may be from the identity. LU inversion does
// not report a singular matrix (its zero pivots become 1e-20 and the
// result huge); this check is what catches it.
constexpr double kIdentityTolerance = 1e-9;

// Largest |(A inverse - I)[i][j]|.
double identityError(const std::vector<std::vector<double>>& a, double** inv, int base, int n) {
    double worst = 0.0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k) sum += a[std::size_t(i)][std::size_t(k)] * inv[base + k][base + j];
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
    const int n = int(rows.size());
    if (n == 0) return inputError("invert", source + ": no matrix");
    if (n > 2000) return inputError("invert", source + ": more than 2000 rows");
    std::vector<std::vector<double>> a;
    for (const NumberRow& row : rows) {
        if (int(row.values.size()) != n)
            return inputError("invert", source + ":" + std::to_string(row.line) + ": " +
                                            std::to_string(row.values.size()) + " numbers in a row of a " +
                                            std::to_string(n) + " x " + std::to_string(n) + " matrix");
        a.push_back(row.values);
    }
    if (method == "spd") {
        for (int i = 0; i < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (a[std::size_t(i)][std::size_t(j)] != a[std::size_t(j)][std::size_t(i)])
                    return inputError("invert", source + ": not symmetric (row " + std::to_string(i + 1) +
                                                    ", column " + std::to_string(j + 1) + "); --method spd needs "
                                                    "a symmetric matrix");
    }

    // gaussj and spdinv use rows and columns 0..n-1, dInvert 1..n.
    const int base = method == "lu" ? 1 : 0;
    double** m = dMatrix(n + base, n + base);
    if (m == nullptr) return inputError("invert", "not enough memory for the matrix");
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) m[base + i][base + j] = a[std::size_t(i)][std::size_t(j)];
    int inverted = 1;
    if (method == "gaussj")
        inverted = gaussj(m, n);
    else if (method == "spd")
        inverted = spdinv(m, n);
    else
        dInvert(m, n);
    int status = kSuccess;
    if (inverted == 0) {
        status = inputError("invert", source + ": the matrix is singular" +
                                          std::string(method == "spd" ? " or not positive definite" : ""));
    } else if (const double e = identityError(a, m, base, n); !(e <= kIdentityTolerance)) {
        status = inputError("invert", source + ": the matrix is singular or too ill-conditioned (A times the "
                                               "result differs from the identity by " +
                                          fixedText(e, 6) + ")");
    } else {
        Output o(stdout);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) o.text(j > 0 ? " " : "").general(m[base + i][base + j], digits);
            o.newline();
        }
        if (!o.flush()) status = kBadInput;
    }
    freeDMatrix(m, n + base);
    return status;
}

}  // namespace cli
