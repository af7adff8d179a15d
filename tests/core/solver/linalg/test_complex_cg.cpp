#include "common/progress.h"
#include "solver/linalg/complex_conjugate_gradient.h"
#include "solver/linalg/conjugate_gradient.h"
#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace tarvex;
using namespace tarvex::linalg;

namespace {

/// Positions and interruption as a dialog would see them.
class Recorder : public Progress {
public:
    explicit Recorder(int stopAtCall = 0)
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

/// A 1D chain of order n: stiffness like the assembly's (negative definite) and a mass-like
/// matrix whose couplings skip a neighbour the stiffness does not hold.
struct Chain {
    SparseSymMatrix k;
    SparseSymMatrix q;
};

Chain chain(int n)
{
    Chain c { SparseSymMatrix::withSlots(n, 4), SparseSymMatrix::withSlots(n, 4) };
    for (int i = 1; i <= n; ++i) {
        sparseAdd(c.k, i, i, AddValue, -2.0 - 0.1 * i);
        sparseAdd(c.q, i, i, AddValue, 0.4 + 0.01 * i);
        if (i > 1) {
            sparseAdd(c.k, i, i - 1, AddValue, 1.0);
            sparseAdd(c.q, i, i - 1, AddValue, 0.1);
        }
        if (i > 2)
            sparseAdd(c.q, i, i - 2, AddValue, 0.05); // not in the stiffness pattern
    }
    return c;
}

/// Dense complex Gaussian elimination with partial pivoting, the reference.
std::vector<Complex> denseSolve(const ComplexSparseSymMatrix& a, const ComplexVector& b)
{
    const int n = a.order();
    std::vector<std::vector<Complex>> m(
        static_cast<std::size_t>(n), std::vector<Complex>(static_cast<std::size_t>(n) + 1));
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j)
            m[i - 1][j - 1] = a.entry(i, j);
        m[i - 1][n] = b[i];
    }
    for (int c = 0; c < n; ++c) {
        int pivot = c;
        for (int r = c + 1; r < n; ++r)
            if (std::abs(m[r][c]) > std::abs(m[pivot][c]))
                pivot = r;
        std::swap(m[c], m[pivot]);
        for (int r = c + 1; r < n; ++r) {
            const Complex f = m[r][c] / m[c][c];
            for (int j = c; j <= n; ++j)
                m[r][j] -= f * m[c][j];
        }
    }
    std::vector<Complex> x(static_cast<std::size_t>(n));
    for (int r = n - 1; r >= 0; --r) {
        Complex s = m[r][n];
        for (int j = r + 1; j < n; ++j)
            s -= m[r][j] * x[j];
        x[r] = s / m[r][r];
    }
    return x;
}

ComplexVector sampleRhs(int n)
{
    ComplexVector f(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        f[i] = { std::sin(0.7 * i), 0.3 * std::cos(1.3 * i) };
    return f;
}

} // namespace

TEST(ComplexSystem, MatrixCombinesStiffnessAndScaledConductivityOverBothPatterns)
{
    const Chain c = chain(5);
    const ComplexSparseSymMatrix a = buildComplexMatrix(c.k, c.q, 50.0);
    ASSERT_EQ(a.order(), 5);
    EXPECT_EQ(a.entry(3, 3), Complex(-2.0 - 0.1 * 3, 50.0 * (0.4 + 0.01 * 3)));
    EXPECT_EQ(a.entry(2, 3), Complex(1.0, 5.0));
    // Only the conductivity couples 1 and 3: the entry must not be lost.
    EXPECT_EQ(a.entry(3, 1), Complex(0.0, 2.5));
    EXPECT_EQ(a.entry(5, 1), Complex {});
    // The diagonal leads every row.
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(a.column(a.rowBegin(i)), i);

    EXPECT_EQ(buildComplexMatrix(c.k, chain(4).q, 1.0).order(), 0);
}

TEST(ComplexSystem, RightHandSideTakesTheSecondVectorScaledAsImaginaryPart)
{
    RealVector f(3), f2(3);
    f[1] = 1.0, f[2] = -2.0, f[3] = 3.0;
    f2[1] = 0.5, f2[3] = -1.0;
    const ComplexVector b = buildComplexRhs(f, f2, 60.0);
    ASSERT_EQ(b.count(), 3u);
    EXPECT_EQ(b[1], Complex(1.0, 30.0));
    EXPECT_EQ(b[2], Complex(-2.0, 0.0));
    EXPECT_EQ(b[3], Complex(3.0, -60.0));
    // A missing second vector counts as zero.
    EXPECT_EQ(buildComplexRhs(f, RealVector(), 60.0)[3], Complex(3.0, 0.0));
}

TEST(ComplexConjugateGradient, SolvesComplexSymmetricSystemsLikeDenseElimination)
{
    for (int n : { 1, 2, 7, 40 }) {
        const Chain c = chain(n);
        for (double factor : { 0.0, 1.0, 50.0, 5000.0 }) {
            const ComplexSparseSymMatrix a = buildComplexMatrix(c.k, c.q, factor);
            const ComplexVector f = sampleRhs(n);
            const std::vector<Complex> expected = denseSolve(a, f);
            ComplexVector x(static_cast<std::size_t>(n));
            ComplexSolverRequest request { a, f, &x, nullptr, 1e-12 };
            const SolveResult result = solveComplexConjugateGradient(request);
            EXPECT_EQ(result.end, SolveEnd::Converged) << n << " " << factor;
            EXPECT_LT(result.relativeResidual, 1e-12);
            for (int i = 1; i <= n; ++i)
                EXPECT_LT(
                    std::abs(x[i] - expected[i - 1]), 1e-9 * (1.0 + std::abs(expected[i - 1])))
                    << n << " " << factor << " " << i;
        }
    }
}

TEST(ComplexConjugateGradient, ScalesByTheModulusOfTheComplexDiagonal)
{
    // A diagonal system with a purely imaginary diagonal: its real part is zero, so a scaling by
    // the real part would divide by zero. Huge and tiny entries must come out exactly.
    SparseSymMatrix k = SparseSymMatrix::withSlots(3, 2), q = SparseSymMatrix::withSlots(3, 2);
    const double d[] = { 1e150, 1.0, 1e-150 };
    for (int i = 1; i <= 3; ++i)
        sparseAdd(q, i, i, AddValue, d[i - 1]);
    const ComplexSparseSymMatrix a = buildComplexMatrix(k, q, 1.0);
    ComplexVector f(3), x(3);
    for (int i = 1; i <= 3; ++i)
        f[i] = { d[i - 1], d[i - 1] };
    ComplexSolverRequest request { a, f, &x, nullptr, 1e-10 };
    EXPECT_TRUE(solveComplexConjugateGradient(request));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_NEAR(x[i].real(), 1.0, 1e-12);
        EXPECT_NEAR(x[i].imag(), -1.0, 1e-12);
    }
}

TEST(ComplexConjugateGradient, WithRealDataFollowsTheRealSolverStepForStep)
{
    const int n = 60;
    const Chain c = chain(n);
    RealVector f(n);
    for (int i = 1; i <= n; ++i)
        f[i] = std::sin(0.37 * i);
    RealVector xr(n);
    Recorder realBar;
    const SolveResult realResult
        = solveConjugateGradient({ c.k.compacted(), f, &xr, &realBar, 1e-10 });

    ComplexVector xc(n);
    Recorder complexBar;
    const SolveResult complexResult = solveComplexConjugateGradient(
        { buildComplexMatrix(c.k, SparseSymMatrix::withSlots(n, 1), 7.0),
            buildComplexRhs(f, RealVector(), 7.0), &xc, &complexBar, -1e-10 });

    EXPECT_EQ(complexResult.end, realResult.end);
    EXPECT_EQ(complexResult.iterations, realResult.iterations);
    EXPECT_EQ(complexBar.positions, realBar.positions);
    EXPECT_EQ(complexBar.calls, realBar.calls);
    for (int i = 1; i <= n; ++i) {
        EXPECT_NEAR(xc[i].real(), xr[i], 1e-12);
        EXPECT_EQ(xc[i].imag(), 0.0);
    }
}

TEST(ComplexConjugateGradient, InterruptionLeavesTheSolutionUntouched)
{
    const Chain c = chain(30);
    ComplexVector x(30);
    for (int i = 1; i <= 30; ++i)
        x[i] = { 42.0, -1.0 };
    Recorder stopAtSecond(2);
    const SolveResult result = solveComplexConjugateGradient(
        { buildComplexMatrix(c.k, c.q, 10.0), sampleRhs(30), &x, &stopAtSecond, 1e-14 });
    EXPECT_EQ(result.end, SolveEnd::Interrupted);
    EXPECT_EQ(stopAtSecond.calls, 2);
    for (int i = 1; i <= 30; ++i)
        EXPECT_EQ(x[i], Complex(42.0, -1.0));
}

TEST(ComplexConjugateGradient, IterationLimitAndMalformedRequests)
{
    // A tolerance of zero cannot be met: the run stops after 10 n iterations with its iterate.
    const Chain c = chain(4);
    ComplexVector x(4);
    const SolveResult limited = solveComplexConjugateGradient(
        { buildComplexMatrix(c.k, c.q, 3.0), sampleRhs(4), &x, nullptr, 0.0 });
    EXPECT_TRUE(limited.end == SolveEnd::IterationLimit || limited.end == SolveEnd::Converged
        || limited.end == SolveEnd::Breakdown);
    EXPECT_LE(limited.iterations, 40);
    EXPECT_LT(std::abs(x[1]), 1e10);

    ComplexVector empty;
    EXPECT_EQ(solveComplexConjugateGradient(
                  { ComplexSparseSymMatrix(), ComplexVector(), &empty, nullptr, 1e-3 })
                  .end,
        SolveEnd::IterationLimit);
    ComplexVector shortSolution(3);
    EXPECT_EQ(solveComplexConjugateGradient({ buildComplexMatrix(c.k, c.q, 1.0), sampleRhs(4),
                                                &shortSolution, nullptr, 1e-3 })
                  .end,
        SolveEnd::BadRequest);
    EXPECT_EQ(solveComplexConjugateGradient(
                  { buildComplexMatrix(c.k, c.q, 1.0), sampleRhs(4), nullptr, nullptr, 1e-3 })
                  .end,
        SolveEnd::BadRequest);
}
