#include "dense_reference.h"

#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/linalg/sparsity_pattern.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace tarvex::linalg;
using linalg_test::Dense;

TEST(RealVector, CombinesOnlyVectorsOfEqualCount)
{
    RealVector a(3), b(3), c(2);
    for (std::size_t i = 1; i <= 3; ++i) {
        a[i] = static_cast<double>(i);
        b[i] = 10.0 * static_cast<double>(i);
    }
    const RealVector sum = a + b;
    ASSERT_EQ(sum.count(), 3u);
    EXPECT_EQ(sum[3], 33.0);
    EXPECT_EQ((b - a)[2], 18.0);
    EXPECT_EQ((-a)[1], -1.0);
    EXPECT_EQ((2.0 * a)[3], 6.0);
    EXPECT_EQ(elementProduct(a, b)[2], 40.0);
    EXPECT_EQ(a.dot(b), 140.0);
    EXPECT_DOUBLE_EQ(a.norm(), std::sqrt(14.0));

    EXPECT_TRUE((a + c).empty());
    EXPECT_TRUE((a - c).empty());
    EXPECT_TRUE(elementProduct(a, c).empty());
    EXPECT_EQ(a.dot(c), 0.0);
}

TEST(RealVector, SlotZeroTakesNoPartInTheArithmetic)
{
    RealVector a(2);
    a[0] = 1e300;
    a[1] = 3.0;
    a[2] = 4.0;
    EXPECT_EQ(a.norm(), 5.0);
    EXPECT_EQ((a + a)[0], 0.0);
}

TEST(SparseAdd, SlottedRowsKeepFirstWrittenOrderAndCombineByMode)
{
    SparseSymMatrix m = SparseSymMatrix::withSlots(3, 4);
    ASSERT_EQ(m.slotCount(), 12);
    EXPECT_EQ(m.rowBegin(2), 5);
    EXPECT_TRUE(sparseAdd(m, 3, 3, AddValue, 4.0));
    EXPECT_TRUE(sparseAdd(m, 3, 1, AddValue, -1.0));
    EXPECT_TRUE(sparseAdd(m, 3, 3, AddValue, 2.0));
    EXPECT_EQ(m.column(m.rowBegin(3)), 3); // diagonal stays first
    EXPECT_EQ(m.column(m.rowBegin(3) + 1), 1);
    EXPECT_EQ(sparseEntry(m, 3, 3), 6.0);

    EXPECT_TRUE(sparseAdd(m, 3, 1, MultiplyValue, 3.0));
    EXPECT_EQ(sparseEntry(m, 1, 3), -3.0);
    EXPECT_TRUE(sparseAdd(m, 3, 1, StoreValue, 7.0));
    EXPECT_EQ(sparseEntry(m, 3, 1), 7.0);
    EXPECT_EQ(sparseEntry(m, 1, 3), 7.0);
    EXPECT_EQ(sparseEntry(m, 2, 1), 0.0);
}

TEST(SparseAdd, RefusesPositionsOutsideTheLowerTriangleAndIgnoresTinyValues)
{
    SparseSymMatrix m = SparseSymMatrix::withSlots(3, 3);
    EXPECT_FALSE(sparseAdd(m, 1, 2, AddValue, 1.0)); // upper triangle
    EXPECT_FALSE(sparseAdd(m, 4, 1, AddValue, 1.0));
    EXPECT_FALSE(sparseAdd(m, 0, 0, AddValue, 1.0));
    EXPECT_FALSE(sparseAdd(m, 2, 0, AddValue, 1.0));
    EXPECT_FALSE(sparseAdd(m, 2, -1, AddValue, 1.0));
    EXPECT_TRUE(sparseAdd(m, 2, 1, AddValue, 1e-151));
    for (int s = 1; s <= m.slotCount(); ++s) {
        EXPECT_EQ(m.column(s), 0) << s;
        EXPECT_EQ(m.value(s), 0.0) << s;
    }
}

TEST(SparseAdd, FullRowDropsTheValueAndAbsentEntriesStillReadZero)
{
    SparseSymMatrix m = SparseSymMatrix::withSlots(4, 2);
    EXPECT_TRUE(sparseAdd(m, 4, 4, AddValue, 1.0));
    EXPECT_TRUE(sparseAdd(m, 4, 1, AddValue, 2.0));
    EXPECT_FALSE(sparseAdd(m, 4, 2, AddValue, 5.0));
    EXPECT_EQ(sparseEntry(m, 4, 2), 0.0);
    EXPECT_EQ(sparseEntry(m, 3, 1), 0.0);
    EXPECT_EQ(m.value(0), 0.0);
    EXPECT_EQ(sparseEntry(m, 4, 1), 2.0);
}

TEST(SparseAdd, IndexedRowsHoldDiagonalFirstAndRefuseEntriesOutsideThePattern)
{
    SparsityPattern pattern(4);
    EXPECT_TRUE(pattern.add(1, 4));
    EXPECT_TRUE(pattern.add(4, 3));
    EXPECT_TRUE(pattern.add(3, 4)); // repeated in the other order
    EXPECT_TRUE(pattern.add(2, 1));
    EXPECT_FALSE(pattern.add(5, 1));
    SparseSymMatrix m = SparseSymMatrix::fromPattern(pattern);
    ASSERT_TRUE(m.indexed());
    EXPECT_EQ(m.slotCount(), 4 + 3);
    EXPECT_EQ(m.column(m.rowBegin(4)), 4);
    EXPECT_EQ(m.column(m.rowBegin(4) + 1), 1);
    EXPECT_EQ(m.column(m.rowBegin(4) + 2), 3);

    EXPECT_TRUE(sparseAdd(m, 4, 3, AddValue, 1.5));
    EXPECT_TRUE(sparseAdd(m, 4, 3, AddValue, 1.5));
    EXPECT_TRUE(sparseAdd(m, 3, 3, AddValue, 2.0));
    EXPECT_FALSE(sparseAdd(m, 4, 2, AddValue, 1.0));
    EXPECT_EQ(sparseEntry(m, 3, 4), 3.0);
    EXPECT_EQ(sparseEntry(m, 3, 3), 2.0);
    EXPECT_EQ(sparseEntry(m, 4, 2), 0.0);

    m.setZero();
    EXPECT_EQ(sparseEntry(m, 3, 4), 0.0);
    EXPECT_TRUE(sparseAdd(m, 4, 3, AddValue, 1.0)); // pattern kept
}

TEST(SparseMultiply, AgreesWithTheDenseProductInBothLayouts)
{
    const Dense a = linalg_test::randomDefinite(9, 0.4, 11);
    std::vector<double> x(9);
    for (int i = 0; i < 9; ++i)
        x[i] = 1.0 + 0.37 * i - 0.05 * i * i;
    const RealVector xv = linalg_test::toVector(x);
    for (const SparseSymMatrix& m :
        { linalg_test::slottedFrom(a, 20), linalg_test::indexedFrom(a) }) {
        const RealVector y = multiplySymmetric(m, xv);
        ASSERT_EQ(y.count(), 9u);
        for (int i = 0; i < 9; ++i) {
            double expected = 0.0;
            for (int j = 0; j < 9; ++j)
                expected += a[i][j] * x[j];
            EXPECT_NEAR(y[i + 1], expected, 1e-9 * std::fabs(expected) + 1e-12) << i;
        }
    }
    EXPECT_TRUE(multiplySymmetric(linalg_test::indexedFrom(a), RealVector(8)).empty());
}

TEST(SparseStorage, RoundTripsTheStoredArraysAndRejectsInconsistentOnes)
{
    SparseSymMatrix m = SparseSymMatrix::withSlots(3, 3);
    ASSERT_TRUE(sparseAdd(m, 1, 1, AddValue, 2.0));
    ASSERT_TRUE(sparseAdd(m, 3, 3, AddValue, 5.0));
    ASSERT_TRUE(sparseAdd(m, 3, 2, AddValue, -1.0));
    const std::vector<std::int32_t> starts = m.rowStartsForStorage();
    ASSERT_EQ(starts.size(), 4u);
    EXPECT_EQ(starts[3], 7);

    SparseSymMatrix back;
    ASSERT_TRUE(SparseSymMatrix::fromStorage(3, starts, m.columns(), m.values(), back));
    EXPECT_EQ(sparseEntry(back, 2, 3), -1.0);
    EXPECT_EQ(sparseEntry(back, 1, 1), 2.0);
    EXPECT_TRUE(sparseAdd(back, 2, 1, AddValue, 4.0)); // free slots stay usable
    EXPECT_EQ(sparseEntry(back, 1, 2), 4.0);

    std::vector<std::int32_t> badColumns = m.columns();
    badColumns[static_cast<std::size_t>(m.rowBegin(1)) + 1] = 2; // above the diagonal of row 1
    SparseSymMatrix untouched = SparseSymMatrix::withSlots(1, 1);
    EXPECT_FALSE(SparseSymMatrix::fromStorage(3, starts, badColumns, m.values(), untouched));
    std::vector<std::int32_t> badStarts = starts;
    badStarts[3] = 2; // before row 2
    EXPECT_FALSE(SparseSymMatrix::fromStorage(3, badStarts, m.columns(), m.values(), untouched));
    badStarts = starts;
    badStarts[3] = 11; // past the last slot
    EXPECT_FALSE(SparseSymMatrix::fromStorage(3, badStarts, m.columns(), m.values(), untouched));
    EXPECT_FALSE(SparseSymMatrix::fromStorage(3, starts, m.columns(), { 0.0 }, untouched));
    EXPECT_EQ(untouched.order(), 1);
}

TEST(SparseSymMatrix, TrimmedMatrixKeepsItsEntriesAndGivesBackItsStoredLayout)
{
    SparseSymMatrix slotted = SparseSymMatrix::withSlots(3, 4);
    sparseAdd(slotted, 1, 1, AddValue, 2.0);
    sparseAdd(slotted, 2, 2, AddValue, 3.0);
    sparseAdd(slotted, 2, 1, AddValue, -1.0);
    sparseAdd(slotted, 3, 3, AddValue, 4.0);
    const SparseSymMatrix original = slotted;

    SparseSymMatrix trimmed = slotted;
    ASSERT_TRUE(trimmed.trimSlots());
    EXPECT_TRUE(trimmed.trimmed());
    EXPECT_EQ(trimmed.slotCount(), 4);
    EXPECT_EQ(trimmed.storageSlotCount(), 12);
    EXPECT_EQ(trimmed.rowStartsForStorage(), original.rowStartsForStorage());
    std::vector<std::pair<int, double>> stored;
    trimmed.forEachStorageSlot([&](int c, double v) { stored.emplace_back(c, v); });
    ASSERT_EQ(stored.size(), 12u);
    for (int s = 1; s <= 12; ++s)
        EXPECT_EQ(stored[static_cast<std::size_t>(s) - 1],
            (std::pair<int, double> { original.column(s), original.value(s) }));
    EXPECT_EQ(sparseEntry(trimmed, 1, 2), -1.0);
    RealVector x(3);
    x.fill(1.0);
    EXPECT_EQ(multiplySymmetric(trimmed, x)[1], multiplySymmetric(original, x)[1]);

    // An entry the trimmed row does not hold takes the slot it takes in the stored layout.
    ASSERT_TRUE(sparseAdd(trimmed, 3, 1, AddValue, 0.5));
    ASSERT_TRUE(sparseAdd(slotted, 3, 1, AddValue, 0.5));
    EXPECT_FALSE(trimmed.trimmed());
    EXPECT_EQ(trimmed.columns(), slotted.columns());
    EXPECT_EQ(trimmed.values(), slotted.values());

    // A row with a hole before an entry is not trimmed.
    SparseSymMatrix withHole;
    std::vector<std::int32_t> columns = original.columns();
    std::vector<double> values = original.values();
    const auto third = static_cast<std::size_t>(original.rowBegin(3));
    std::swap(columns[third], columns[third + 1]);
    std::swap(values[third], values[third + 1]);
    ASSERT_TRUE(
        SparseSymMatrix::fromStorage(3, original.rowStartsForStorage(), columns, values, withHole));
    EXPECT_FALSE(withHole.trimSlots());
    EXPECT_FALSE(withHole.trimmed());
}
