// Matrix inversion against Eigen's inverse and Cholesky (LLT) solve, and
// normal deviates against the standard library's normal distribution.
#include <Eigen/Cholesky>
#include <Eigen/Dense>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <quillon/numerics.h>

#include "bench_rows.h"

namespace {

constexpr int kSizes[] = {2, 3, 6, 12};

// A well-conditioned general matrix (diagonally dominant) and a symmetric
// positive-definite one (B'B + n I) of order n.
Eigen::MatrixXd generalMatrix(int n) {
    const auto values = bench::uniformValues(std::size_t(n) * n, -1.0, 1.0, 0x9a + n);
    Eigen::MatrixXd m(n, n);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k) m(i, k) = values[std::size_t(i) * n + k] + (i == k ? n : 0.0);
    return m;
}

Eigen::MatrixXd spdMatrix(int n) {
    const Eigen::MatrixXd b = generalMatrix(n);
    return b.transpose() * b + n * Eigen::MatrixXd::Identity(n, n);
}

// A row-pointer matrix of the library, rows and columns first..first+n-1
// filled from m, freed with the object.
class RowMatrix {
public:
    RowMatrix(int n, int first) : n_(n), first_(first), rows_(dMatrix(n + first, n + first)) {}
    ~RowMatrix() { freeDMatrix(rows_, n_ + first_); }
    RowMatrix(const RowMatrix&) = delete;
    RowMatrix& operator=(const RowMatrix&) = delete;

    void load(const Eigen::MatrixXd& m) {
        for (int i = 0; i < n_; ++i)
            for (int k = 0; k < n_; ++k) rows_[i + first_][k + first_] = m(i, k);
    }
    // Largest deviation of m times this from the identity.
    double identityError(const Eigen::MatrixXd& m) const {
        double worst = 0.0;
        for (int i = 0; i < n_; ++i)
            for (int k = 0; k < n_; ++k) {
                double sum = 0.0;
                for (int j = 0; j < n_; ++j) sum += m(i, j) * rows_[j + first_][k + first_];
                worst = std::fmax(worst, std::fabs(sum - (i == k ? 1.0 : 0.0)));
            }
        return worst;
    }
    double** rows() { return rows_; }

private:
    int n_;
    int first_;
    double** rows_;
};

// Each call inverts a fresh copy of the matrix: the copy is timed on both
// sides, as a caller that keeps its matrix must make it.
template <class Invert>
void registerInversion(const std::string& name, int n, int first, bool symmetric, Invert invert) {
    const std::string row = name + ", n = " + std::to_string(n);
    bench::addRow(row, bench::kQuillon, [n, first, symmetric, invert](benchmark::State& state) {
        const Eigen::MatrixXd source = symmetric ? spdMatrix(n) : generalMatrix(n);
        RowMatrix a(n, first);
        a.load(source);
        invert(a.rows(), n);
        if (a.identityError(source) > 1e-9) {
            state.SkipWithError("the inverse times the matrix is not the identity");
            return;
        }
        for (auto _ : state) {
            a.load(source);
            invert(a.rows(), n);
            benchmark::DoNotOptimize(a.rows()[first][first]);
            benchmark::ClobberMemory();
        }
    });
    if (symmetric) {
        bench::addRow(row, "Eigen LLT solve of the identity", [n](benchmark::State& state) {
            const Eigen::MatrixXd source = spdMatrix(n);
            const Eigen::MatrixXd identity = Eigen::MatrixXd::Identity(n, n);
            Eigen::MatrixXd m(n, n);
            for (auto _ : state) {
                m = source;
                Eigen::MatrixXd inverse = m.llt().solve(identity);
                benchmark::DoNotOptimize(inverse.data());
                benchmark::ClobberMemory();
            }
        });
    }
    bench::addRow(row, "Eigen MatrixXd::inverse", [n, symmetric](benchmark::State& state) {
        const Eigen::MatrixXd source = symmetric ? spdMatrix(n) : generalMatrix(n);
        Eigen::MatrixXd m(n, n);
        for (auto _ : state) {
            m = source;
            Eigen::MatrixXd inverse = m.inverse();
            benchmark::DoNotOptimize(inverse.data());
            benchmark::ClobberMemory();
        }
    });
}

void registerDeviates() {
    const std::string row = "gasdev, per deviate";
    bench::addRow(row, bench::kQuillon, [](benchmark::State& state) {
        int seed = -1;
        for (auto _ : state) benchmark::DoNotOptimize(gasdev(&seed));
    });
    bench::addRow(row, "std::normal_distribution (mt19937)", [](benchmark::State& state) {
        std::mt19937 generator(1);
        std::normal_distribution<double> normal;
        for (auto _ : state) benchmark::DoNotOptimize(normal(generator));
    });
}

const bool registered = [] {
    for (int n : kSizes) registerInversion("gaussj", n, 0, false, [](double** a, int order) { gaussj(a, order); });
    for (int n : kSizes) registerInversion("dInvert", n, 1, false, [](double** a, int order) { dInvert(a, order); });
    for (int n : kSizes) registerInversion("spdinv", n, 0, true, [](double** a, int order) { spdinv(a, order); });
    registerDeviates();
    return true;
}();

}  // namespace
