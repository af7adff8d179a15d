#include "dense_reference.h"

#include "common/progress.h"
#include "solver/linalg/conjugate_gradient.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tarvex::linalg;
using linalg_test::Dense;

namespace {

/// Records the bar positions and answers "stop" from the given call of goOn() on.
class RecordingProgress : public tarvex::Progress {
public:
    explicit RecordingProgress(int stopAtCall = 0)
        : m_stopAt(stopAtCall)
    {
    }
    void status(std::string_view) override { }
    void percent(int value) override { positions.push_back(value); }
    bool goOn() override { return ++calls != m_stopAt; }

    std::vector<int> positions;
    int calls = 0;

private:
    int m_stopAt;
};

/// -u'' = 1 on n interior points with zero ends: exact discrete solution i (n + 1 - i) / 2.
Dense poisson1d(int n, double sign)
{
    Dense a(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i) {
        a[i][i] = 2.0 * sign;
        if (i > 0)
            a[i][i - 1] = a[i - 1][i] = -sign;
    }
    return a;
}

SolveResult solve(const SparseSymMatrix& k, const RealVector& f, RealVector& x, double tol,
    tarvex::Progress* progress = nullptr)
{
    return solveConjugateGradient({ k, f, &x, progress, tol });
}

} // namespace

TEST(ConjugateGradient, SolvesThe1dPoissonMatrixOfEitherSign)
{
    const int n = 60;
    for (double sign : { 1.0, -1.0 }) {
        const SparseSymMatrix k = linalg_test::slottedFrom(poisson1d(n, sign), 20);
        RealVector f(n);
        f.fill(sign);
        RealVector x(n);
        const SolveResult result = solve(k, f, x, 1e-12);
        ASSERT_TRUE(result) << sign;
        // Plain CG ends a tridiagonal system of order n within about n steps.
        EXPECT_LE(result.iterations, n + 2);
        for (int i = 1; i <= n; ++i)
            EXPECT_NEAR(x[i], i * (n + 1 - i) / 2.0, 1e-8) << i;
    }
}

TEST(ConjugateGradient, AgreesWithADirectSolveOnBadlyScaledSystems)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const int n = 5 + static_cast<int>(seed) * 3;
        const double sign = seed % 2 ? 1.0 : -1.0; // the assembly gives negative definite ones
        const Dense a = linalg_test::randomDefinite(n, 0.3, seed, sign);
        std::vector<double> b(n);
        for (int i = 0; i < n; ++i)
            b[i] = std::sin(1.0 + i) * 100.0;
        const std::vector<double> expected = linalg_test::directSolve(a, b);
        const RealVector f = linalg_test::toVector(b);
        for (const SparseSymMatrix& k :
            { linalg_test::slottedFrom(a, 40), linalg_test::indexedFrom(a) }) {
            RealVector x(n);
            ASSERT_TRUE(solve(k, f, x, 1e-13)) << seed;
            for (int i = 0; i < n; ++i)
                EXPECT_NEAR(x[i + 1], expected[i], 1e-8 * std::fabs(expected[i]) + 1e-10)
                    << "seed " << seed << " row " << i;
        }
    }
}

TEST(ConjugateGradient, RowsWithTheDiagonalLastAreScaledByTheirFirstEntryAndStillSolve)
{
    // Rows written in ascending column order, as the symmetry folding leaves them.
    const int n = 8;
    const Dense a = linalg_test::randomDefinite(n, 0.6, 42);
    SparseSymMatrix k = SparseSymMatrix::withSlots(n, 20);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j <= i; ++j)
            if (a[i][j] != 0.0) {
                ASSERT_TRUE(sparseAdd(k, i + 1, j + 1, AddValue, a[i][j]));
            }
    std::vector<double> b(n, 1.0);
    const std::vector<double> expected = linalg_test::directSolve(a, b);
    RealVector x(n);
    ASSERT_TRUE(solve(k, linalg_test::toVector(b), x, 1e-13));
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(x[i + 1], expected[i], 1e-8 * std::fabs(expected[i]));
}

TEST(ConjugateGradient, ARowWhoseFirstEntryCancelledToZeroDoesNotPoisonTheSolution)
{
    const Dense a = poisson1d(5, 1.0);
    SparseSymMatrix k = SparseSymMatrix::withSlots(5, 20);
    for (int i = 0; i < 5; ++i) {
        if (i > 0) {
            ASSERT_TRUE(sparseAdd(k, i + 1, i, AddValue, a[i][i - 1]));
            if (i == 3) { // an extra first entry that sums to exactly zero
                ASSERT_TRUE(sparseAdd(k, i + 1, 1, AddValue, 0.25));
                ASSERT_TRUE(sparseAdd(k, i + 1, 1, AddValue, -0.25));
            }
        }
        ASSERT_TRUE(sparseAdd(k, i + 1, i + 1, AddValue, a[i][i]));
    }
    RealVector f(5);
    f.fill(1.0);
    RealVector x(5);
    ASSERT_TRUE(solve(k, f, x, 1e-12));
    for (int i = 1; i <= 5; ++i)
        EXPECT_NEAR(x[i], i * (6 - i) / 2.0, 1e-9) << i;
}

TEST(ConjugateGradient, ScalingSolvesADiagonalSystemAtOnceAndFillsTheBar)
{
    SparseSymMatrix k = SparseSymMatrix::withSlots(3, 2);
    const double d[] = { 1e-6, 3.0, 5e6 };
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(sparseAdd(k, i, i, StoreValue, -d[i - 1]));
    RealVector f(3);
    f[1] = 2.0;
    f[2] = -6.0;
    f[3] = 1.0;
    RealVector x(3);
    RecordingProgress progress;
    const SolveResult result = solve(k, f, x, 1e-10, &progress);
    ASSERT_TRUE(result);
    // Solved by the first step; the convergence test is first made in iteration 2.
    EXPECT_EQ(result.iterations, 2);
    EXPECT_NEAR(x[1], -2e6, 1e-8);
    EXPECT_NEAR(x[2], 2.0, 1e-15);
    EXPECT_NEAR(x[3], -2e-7, 1e-21);
    // No iteration position was sent, so the bar is filled from 0 in steps of 10 up to 129.
    EXPECT_EQ(progress.positions.size(), 13u);
    EXPECT_EQ(progress.positions.front(), 0);
    EXPECT_EQ(progress.positions.back(), 100);
    EXPECT_EQ(progress.calls, 0);
}

TEST(ConjugateGradient, ZeroRightHandSideGivesTheZeroSolution)
{
    const SparseSymMatrix k = linalg_test::slottedFrom(poisson1d(4, -1.0), 20);
    RealVector x(4);
    x.fill(9.0);
    ASSERT_TRUE(solve(k, RealVector(4), x, 1e-6));
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(x[i], 0.0);
}

TEST(ConjugateGradient, InterruptionLeavesThePreviousSolutionUntouched)
{
    const int n = 200;
    const SparseSymMatrix k = linalg_test::slottedFrom(poisson1d(n, -1.0), 20);
    RealVector f(n);
    f.fill(-1.0);
    RealVector x(n);
    x.fill(123.0);
    RecordingProgress progress(3);
    const SolveResult result = solve(k, f, x, 1e-12, &progress);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.end, SolveEnd::Interrupted);
    EXPECT_EQ(result.iterations, 4); // goOn is asked from iteration 2 on
    EXPECT_EQ(progress.calls, 3);
    EXPECT_EQ(progress.positions.size(), 3u); // position sent before each question
    for (int i = 1; i <= n; ++i)
        ASSERT_EQ(x[i], 123.0) << i;
}

TEST(ConjugateGradient, StopsAtTenTimesTheOrderWithTheLastIterate)
{
    // A tolerance never met runs the iteration past convergence; a large load keeps the
    // recurrent residual from underflowing to exactly zero before the limit.
    const int n = 6;
    const Dense a = linalg_test::randomDefinite(n, 0.5, 9, -1.0);
    std::vector<double> b(n);
    for (int i = 0; i < n; ++i)
        b[i] = 1e150 * std::cos(0.3 + i);
    const std::vector<double> expected = linalg_test::directSolve(a, b);
    RealVector x(n);
    RecordingProgress progress;
    const SolveResult result
        = solve(linalg_test::slottedFrom(a, 20), linalg_test::toVector(b), x, -1.0, &progress);
    EXPECT_EQ(result.end, SolveEnd::IterationLimit);
    EXPECT_EQ(result.iterations, 10 * n);
    EXPECT_EQ(progress.calls, 10 * n - 1);
    for (int i = 0; i < n; ++i)
        EXPECT_NEAR(x[i + 1], expected[i], 1e-8 * std::fabs(expected[i])) << i;
    for (int position : progress.positions)
        EXPECT_TRUE(position >= 0 && position <= 100) << position;
}

TEST(ConjugateGradient, AnInconsistentSingularSystemEndsWithoutDividingByZero)
{
    // A chain with free ends is singular and a load with non-zero sum has no solution.
    const int n = 6;
    Dense a = poisson1d(n, 1.0);
    a[0][0] = a[n - 1][n - 1] = 1.0;
    RealVector f(n);
    f[1] = 1.0;
    RealVector x(n);
    const SolveResult result = solve(linalg_test::slottedFrom(a, 20), f, x, 1e-6);
    EXPECT_FALSE(result);
    EXPECT_GT(result.relativeResidual, 0.1);
    for (int i = 1; i <= n; ++i)
        EXPECT_TRUE(std::isfinite(x[i])) << i;
}

TEST(ConjugateGradient, RefusesEmptyAndMismatchedSystemsWithoutTouchingTheSolution)
{
    RealVector none;
    RecordingProgress progress;
    const SolveResult empty = solve(SparseSymMatrix(), RealVector(), none, 1e-6, &progress);
    EXPECT_EQ(empty.end, SolveEnd::IterationLimit);
    EXPECT_EQ(empty.iterations, 0);
    EXPECT_TRUE(progress.positions.empty());

    const SparseSymMatrix k = linalg_test::slottedFrom(poisson1d(3, 1.0), 20);
    RealVector x(2);
    x.fill(7.0);
    EXPECT_EQ(solve(k, RealVector(3), x, 1e-6).end, SolveEnd::BadRequest);
    EXPECT_EQ(x[1], 7.0);
    RealVector y(3);
    EXPECT_EQ(solve(k, RealVector(4), y, 1e-6).end, SolveEnd::BadRequest);
    EXPECT_EQ(solveConjugateGradient({ k, RealVector(3), nullptr, nullptr, 1e-6 }).end,
        SolveEnd::BadRequest);
}
