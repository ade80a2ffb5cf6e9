// Vectors, row-pointer matrices and the re-based views.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "quillon/numerics.h"

namespace {

// Sizes beyond the address width reach the allocator, which AddressSanitizer
// reports as a fault unless told to return null like the real allocators.
bool hugeRequestsReturnNull() {
#if defined(__SANITIZE_ADDRESS__)
    const char* options = std::getenv("ASAN_OPTIONS");
    return options != nullptr && std::strstr(options, "allocator_may_return_null=1") != nullptr;
#else
    return true;
#endif
}

#define REQUIRE_NULL_ON_HUGE_REQUESTS()                                                         \
    do {                                                                                        \
        if (!hugeRequestsReturnNull())                                                          \
            GTEST_SKIP() << "run with ASAN_OPTIONS=allocator_may_return_null=1 under AddressSanitizer"; \
    } while (0)

TEST(NumericsStorage, VectorsHoldNPlusOneElements) {
    float* f = fvector(0);
    ASSERT_NE(f, nullptr);
    f[0] = 1.5f;
    EXPECT_EQ(f[0], 1.5f);
    freeVector(f);

    double* d = dVector(5);
    ASSERT_NE(d, nullptr);
    for (int i = 0; i <= 5; ++i) d[i] = i;
    EXPECT_EQ(d[5], 5.0);
    freeDVector(d);

    int* v = iVector(3);
    ASSERT_NE(v, nullptr);
    v[3] = 7;
    EXPECT_EQ(v[3], 7);
    freeIVector(v);
}

TEST(NumericsStorage, ReleasingNullIsHarmless) {
    freeVector(nullptr);
    freeIVector(nullptr);
    freeDVector(nullptr);
    freeDMatrix(nullptr, 3);
    freeSubMatrix(nullptr, 1);
    freeConvertMatrix(nullptr, 1);
}

TEST(NumericsStorage, DMatrixZeroesOnlyTheZeroBasedBlock) {
    double** m = dMatrix(3, 2);
    ASSERT_NE(m, nullptr);
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 2; ++k) EXPECT_EQ(m[i][k], 0.0) << "row " << i << " column " << k;
    // Row 3 and column 2 exist (the sanitizers would object otherwise).
    m[3][2] = 9.0;
    m[0][2] = 8.0;
    EXPECT_EQ(m[3][2], 9.0);
    freeDMatrix(m, 3);

    for (auto [nr, nc] : {std::pair{0, 4}, std::pair{4, 0}}) {
        double** e = dMatrix(nr, nc);
        ASSERT_NE(e, nullptr) << nr << " by " << nc;
        e[nr][nc] = 1.0;
        freeDMatrix(e, nr);
    }
}

TEST(NumericsStorage, RowCountMinusOneGivesAnEmptyRowArray) {
    float** m = matrix(-1, 5);
    ASSERT_NE(m, nullptr);
    freeMatrix(m, -1);
    int** im = iMatrix(2, 3);
    ASSERT_NE(im, nullptr);
    im[2][3] = 4;
    EXPECT_EQ(im[2][3], 4);
    freeIMatrix(im, 2);
}

TEST(NumericsStorage, ImpossibleSizesGiveNullWithoutLeaks) {
    REQUIRE_NULL_ON_HUGE_REQUESTS();
    EXPECT_EQ(fvector(-2), nullptr);
    EXPECT_EQ(iVector(INT_MIN), nullptr);
    EXPECT_EQ(dVector(-1000), nullptr);
    EXPECT_EQ(matrix(-3, 2), nullptr);
    // The row array succeeds, the first row fails: the array is given back.
    EXPECT_EQ(dMatrix(4, -2), nullptr);
    EXPECT_EQ(iMatrix(0, INT_MIN), nullptr);
    float** source = matrix(2, 2);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(subMatrix(source, 5, 2, 0, 0, 0), nullptr);
    freeMatrix(source, 2);
    float block[4] = {};
    EXPECT_EQ(convertMatrix(block, 3, 0, 0, 1), nullptr);
}

TEST(NumericsStorage, SubMatrixViewSharesTheSourceElements) {
    float** source = matrix(5, 5);
    ASSERT_NE(source, nullptr);
    for (int i = 0; i <= 5; ++i)
        for (int k = 0; k <= 5; ++k) source[i][k] = static_cast<float>(10 * i + k);
    float** view = subMatrix(source, 2, 4, 3, 1, 1);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view[1][1], source[2][3]);
    EXPECT_EQ(view[3][2], source[4][4]);
    view[2][1] = -1.0f;
    EXPECT_EQ(source[3][3], -1.0f) << "a view writes through to its source";
    source[4][4] = -2.0f;
    EXPECT_EQ(view[3][2], -2.0f);
    freeSubMatrix(view, 1);
    EXPECT_EQ(source[5][5], 55.0f) << "releasing a view leaves the source intact";
    freeMatrix(source, 5);
}

TEST(NumericsStorage, ConvertedMatrixAddressesTheBlockRowByRow) {
    float block[6] = {0, 1, 2, 3, 4, 5};
    float** view = convertMatrix(block, 1, 2, 1, 3);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view[1][1], block[0]);
    EXPECT_EQ(view[1][3], block[2]);
    EXPECT_EQ(view[2][1], block[3]);
    EXPECT_EQ(view[2][3], block[5]);
    view[2][2] = 40.0f;
    EXPECT_EQ(block[4], 40.0f);
    freeConvertMatrix(view, 1);
    EXPECT_EQ(block[5], 5.0f);
}

}  // namespace
