#include "common/progress.h"
#include "solver/linalg/complex_conjugate_gradient.h"
#include "solver/linalg/direct_solver.h"

#include "core/solver/linalg/dense_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

using namespace tarvex;
using namespace tarvex::linalg;
using namespace linalg_test;

namespace {

/// Says no at the given call of goOn() (0: never).
class StopAt final : public Progress {
public:
    explicit StopAt(int call)
        : m_call(call)
    {
    }
    void status(std::string_view) override { }
    void percent(int) override { }
    bool goOn() override { return ++calls != m_call; }
    int calls = 0;

private:
    int m_call;
};

/// The five-point Laplacian of an m x m grid, negated as the assembly gives it, in the slotted
/// layout with free slots left over.
SparseSymMatrix gridLaplacian(int m, double scale = 1.0)
{
    const int n = m * m;
    SparseSymMatrix k = SparseSymMatrix::withSlots(n, 6);
    for (int r = 0; r < m; ++r)
        for (int c = 0; c < m; ++c) {
            const int i = r * m + c + 1;
            sparseAdd(k, i, i, AddValue, -4.0 * scale);
            if (c > 0)
                sparseAdd(k, i, i - 1, AddValue, scale);
            if (r > 0)
                sparseAdd(k, i, i - m, AddValue, scale);
        }
    return k;
}

double largestDifference(const RealVector& a, const std::vector<double>& b)
{
    double worst = 0.0;
    for (std::size_t i = 0; i < b.size(); ++i)
        worst = std::max(worst, std::fabs(a[i + 1] - b[i]));
    return worst;
}

} // namespace

TEST(DirectSolver, SolvesNegativeDefiniteSystemsAndKeepsItsAnalysisForThePattern)
{
    const Dense a = randomDefinite(40, 0.15, 7, -1.0);
    std::vector<double> b(40);
    for (int i = 0; i < 40; ++i)
        b[static_cast<std::size_t>(i)] = std::sin(0.3 * i) + 0.1;
    const std::vector<double> exact = directSolve(a, b);

    DirectSolver solver;
    // Both layouts: the slotted one of the files (free slots skipped) and the indexed one.
    for (const SparseSymMatrix& m : { slottedFrom(a, 40), indexedFrom(a) }) {
        RealVector x(40);
        const SolveResult r = solver.solve(m, toVector(b), x, nullptr);
        ASSERT_EQ(r.end, SolveEnd::Converged);
        EXPECT_EQ(r.iterations, 1);
        EXPECT_LT(r.relativeResidual, 1e-9);
        double scale = 0.0;
        for (double v : exact)
            scale = std::max(scale, std::fabs(v));
        EXPECT_LT(largestDifference(x, exact), 1e-10 * scale);
    }
    // Both layouts hold the same entries in the same order (diagonal first): one analysis.
    EXPECT_EQ(solver.analyses(), 1);

    // New values in the same pattern (a non-linear step) reuse the analysis.
    SparseSymMatrix twice = indexedFrom(a);
    for (int s = 1; s <= twice.slotCount(); ++s)
        twice.value(s) *= 2.0;
    RealVector x(40);
    ASSERT_EQ(solver.solve(twice, toVector(b), x, nullptr).end, SolveEnd::Converged);
    EXPECT_EQ(solver.analyses(), 1);
    for (int i = 0; i < 40; ++i)
        EXPECT_NEAR(
            x[static_cast<std::size_t>(i) + 1], exact[static_cast<std::size_t>(i)] / 2.0, 1e-9);
}

TEST(DirectSolver, RefusesWhatItCannotFactorAndLeavesTheSolutionAlone)
{
    RealVector x(3);
    x.fill(7.0);
    DirectSolver solver;

    // Singular: two rows that cancel.
    const Dense singular = { { -1.0, 1.0, 0.0 }, { 1.0, -1.0, 0.0 }, { 0.0, 0.0, -3.0 } };
    const SolveResult r = solver.solve(slottedFrom(singular, 3), toVector({ 1, 2, 3 }), x, nullptr);
    EXPECT_EQ(r.end, SolveEnd::Breakdown);
    EXPECT_FALSE(r);
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(x[i], 7.0);

    // Counts that disagree.
    EXPECT_EQ(solver.solve(slottedFrom(singular, 3), toVector({ 1, 2 }), x, nullptr).end,
        SolveEnd::BadRequest);

    // After a failure the next sound system of the same pattern is solved.
    const Dense definite = { { -2.0, 0.5, 0.0 }, { 0.5, -1.0, 0.0 }, { 0.0, 0.0, -3.0 } };
    EXPECT_EQ(solver.solve(slottedFrom(definite, 3), toVector({ 1, 2, 3 }), x, nullptr).end,
        SolveEnd::Converged);
    EXPECT_NEAR(x[3], -1.0, 1e-14);

    // Empty system.
    RealVector none;
    EXPECT_EQ(solver.solve(SparseSymMatrix(), none, none, nullptr).end, SolveEnd::Converged);
}

TEST(DirectSolver, InterruptionLeavesTheSolutionAloneAndTheSolverUsable)
{
    const SparseSymMatrix k = gridLaplacian(30);
    RealVector f(900);
    f.fill(1.0);
    RealVector x(900);
    x.fill(5.0);
    DirectSolver solver;

    // A stop asked for before the factorisation begins.
    StopAt first(1);
    EXPECT_EQ(solver.solve(k, f, x, &first).end, SolveEnd::Interrupted);
    EXPECT_EQ(x[1], 5.0);

    // Asked while it runs: a system large enough to take several polls, abandoned at the second.
    const SparseSymMatrix large = gridLaplacian(400);
    RealVector fl(large.order());
    fl.fill(1.0);
    RealVector xl(large.order());
    StopAt second(2);
    const SolveResult stopped = solver.solve(large, fl, xl, &second);
    if (second.calls >= 2) { // a machine fast enough to finish within one poll proves nothing
        EXPECT_EQ(stopped.end, SolveEnd::Interrupted);
        EXPECT_EQ(xl[1], 0.0);
    }

    // Then a run to the end, with a caller that keeps saying yes.
    StopAt never(0);
    const SolveResult r = solver.solve(k, f, x, &never);
    ASSERT_EQ(r.end, SolveEnd::Converged);
    EXPECT_GE(never.calls, 1);
    EXPECT_LT(r.relativeResidual, 1e-12);
}

TEST(DirectSolver, ComplexSystemIsSolvedWithoutConjugation)
{
    // A complex symmetric chain: stiffness on the real part, a wider conductivity pattern on the
    // imaginary one.
    const int n = 30;
    SparseSymMatrix k = SparseSymMatrix::withSlots(n, 4);
    SparseSymMatrix q = SparseSymMatrix::withSlots(n, 4);
    for (int i = 1; i <= n; ++i) {
        sparseAdd(k, i, i, AddValue, -2.0 - 0.1 * i);
        sparseAdd(q, i, i, AddValue, 0.4 + 0.01 * i);
        if (i > 1) {
            sparseAdd(k, i, i - 1, AddValue, 1.0);
            sparseAdd(q, i, i - 1, AddValue, 0.1);
        }
        if (i > 2)
            sparseAdd(q, i, i - 2, AddValue, 0.05);
    }
    const ComplexSparseSymMatrix a = buildComplexMatrix(k, q, 50.0);
    ComplexVector f(n);
    for (int i = 1; i <= n; ++i)
        f[static_cast<std::size_t>(i)] = { std::sin(0.7 * i), 0.3 * std::cos(1.3 * i) };

    ComplexVector x(n);
    const SolveResult r = solveComplexDirect(a, f, x, nullptr);
    ASSERT_EQ(r.end, SolveEnd::Converged);
    EXPECT_LT(r.relativeResidual, 1e-12);
    // The residual of the unconjugated product is what vanishes: A x = f itself.
    ComplexVector ax;
    ASSERT_TRUE(multiplySymmetric(a, x, ax));
    for (int i = 1; i <= n; ++i)
        EXPECT_LT(
            std::abs(ax[static_cast<std::size_t>(i)] - f[static_cast<std::size_t>(i)]), 1e-12);

    // A singular matrix is refused and the solution left alone.
    SparseSymMatrix zero = SparseSymMatrix::withSlots(2, 2);
    sparseAdd(zero, 1, 1, AddValue, 1.0);
    sparseAdd(zero, 2, 1, AddValue, 1.0);
    sparseAdd(zero, 2, 2, AddValue, 1.0);
    const ComplexSparseSymMatrix singular = buildComplexMatrix(zero, zero, 0.0);
    ComplexVector two(2);
    two[1] = 3.0;
    ComplexVector rhs(2);
    rhs[1] = 1.0;
    EXPECT_EQ(solveComplexDirect(singular, rhs, two, nullptr).end, SolveEnd::Breakdown);
    EXPECT_EQ(two[1], Complex(3.0));

    StopAt first(1);
    EXPECT_EQ(solveComplexDirect(a, f, x, &first).end, SolveEnd::Interrupted);
}
