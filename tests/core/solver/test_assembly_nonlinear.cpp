#include "test_assembly_models.h"

#include "solver/assembly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace assembly_test;
using namespace tarvex;
using namespace tarvex::solver;
using linalg::sparseEntry;

namespace {

const double Mu0 = 4.0 * 4.0 * std::atan(1.0) * 1e-7;

/// H(B) = a B + b B³ sampled finely on [0, 8] T: nu(B²) = a + b B² is linear in B². The range
/// covers every element's field, so that both curves are used inside their points.
materials::Curva cubicCurve(double a, double b)
{
    materials::Curva c;
    for (int i = 0; i <= 400; ++i) {
        const double bi = 0.02 * i;
        c.adicionaPonto(bi, a * bi + b * bi * bi * bi);
    }
    return c;
}

/**
 * A square of 3 by 3 cells of 2 mm, all of one non-linear region: the left column imposed at 0,
 * the right one at `right` (Wb/m), the others free; or, with `kind`, the left and right columns a
 * symmetry pair and the bottom and top rows imposed.
 */
struct Square {
    SolverModel model;
    Grid grid;

    explicit Square(int kind = 0, double right = 0.006)
    {
        model.symmetryKind = static_cast<problem::SymmetryKind>(kind);
        grid.nx = 3;
        grid.ny = 3;
        grid.hx = 2.0;
        grid.hy = 2.0;
        grid.build(
            model,
            [&](int ix, int iy) {
                if (kind == 0)
                    return ix == 0 || ix == grid.nx ? NodeKind::Imposed : NodeKind::Free;
                if (iy == 0 || iy == grid.ny)
                    return NodeKind::Imposed;
                return ix == 0      ? NodeKind::Master
                    : ix == grid.nx ? NodeKind::Slave
                                    : NodeKind::Free;
            },
            [&](int ix, int iy) {
                return kind == 0 ? (ix == 0 ? 0.0 : right) : 0.004 * iy / grid.ny;
            });
        Regiao iron = rectangleRegion(-1, -1, 7, 7);
        iron.linear = 0;
        iron.permRelativa = 1000.0;
        iron.curva1 = cubicCurve(100.0, 1000.0);
        setRegions(model, { rectangleRegion(-2, -2, 8, 8), iron });
        prepareNonlinearCurves(model);
    }

    /// A plausible iterate: the linear profile between the imposed sides, disturbed.
    RealVector iterate(unsigned seed) const
    {
        std::mt19937 rng(seed);
        std::uniform_real_distribution<double> jitter(-0.0008, 0.0008);
        RealVector v(static_cast<std::size_t>(model.freeNodes));
        for (int i = 1; i <= model.freeNodes; ++i) {
            const MeshNode& node = model.nodes[static_cast<std::size_t>(i)];
            v[static_cast<std::size_t>(i)] = 0.001 * node.x + 0.0005 * node.y + jitter(rng);
        }
        return v;
    }
};

/// Slave records from their masters, as the iteration keeps them.
void setSlaves(SolverModel& model, const RealVector& v)
{
    const double sigma = model.symmetryKind == problem::SymmetryKind::AntiSymmetry ? -1.0 : 1.0;
    for (int k = 1; k <= model.slaveCount; ++k)
        model.nodes[static_cast<std::size_t>(model.freeNodes + k)].value
            = sigma * v[static_cast<std::size_t>(model.slaveMasters[static_cast<std::size_t>(k)])];
}

/// F(v) = K(v) v - f(v), both re-assembled at v.
RealVector residual(SolverModel& model, const RealVector& v)
{
    setSlaves(model, v);
    EXPECT_TRUE(assembleNonlinear(model, v, v));
    return linalg::multiplySymmetric(model.matrix, v) - model.rhs;
}

void expectNewtonMatchesFiniteDifferences(Square& square)
{
    SolverModel& model = square.model;
    const RealVector v = square.iterate(7);
    const int n = model.freeNodes;
    setSlaves(model, v);
    ASSERT_TRUE(assembleNonlinear(model, v, v));
    const Dense secant = dense(model.matrix);
    addNewtonTerms(model, v);
    const Dense jacobian = dense(model.matrix);

    double largest = 0.0;
    double newtonPart = 0.0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            largest = std::max(largest,
                std::fabs(jacobian[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]));
            newtonPart = std::max(newtonPart,
                std::fabs(jacobian[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]
                    - secant[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]));
        }
    ASSERT_GT(newtonPart, 0.05 * largest) << "the test needs a noticeably non-linear material";

    const double h = 1e-8;
    for (int j = 1; j <= n; ++j) {
        RealVector plus = v;
        RealVector minus = v;
        plus[static_cast<std::size_t>(j)] += h;
        minus[static_cast<std::size_t>(j)] -= h;
        const RealVector column
            = (1.0 / (2.0 * h)) * (residual(model, plus) - residual(model, minus));
        for (int i = 1; i <= n; ++i)
            EXPECT_NEAR(column[static_cast<std::size_t>(i)],
                jacobian[static_cast<std::size_t>(i) - 1][static_cast<std::size_t>(j) - 1],
                1e-5 * largest)
                << "d F_" << i << " / d v_" << j;
    }
}

} // namespace

TEST(NonlinearCurves, ReluctivityCurveOverTheSquaredFluxDensity)
{
    SolverModel model;
    Regiao linear;
    Regiao iron;
    iron.linear = 0;
    iron.curva1.definePontos({ 0.0, 0.5, 1.0, 1.5 }, { 0.0, 100.0, 250.0, 900.0 });
    setRegions(model, { rectangleRegion(0, 0, 1, 1), linear, iron });
    prepareNonlinearCurves(model);
    const materials::Curva& nu = model.regions.at(2).curva2;
    ASSERT_EQ(nu.count(), 4u);
    EXPECT_EQ(nu.x(1), 0.0);
    EXPECT_EQ(nu.y(1), 200.0) << "a first point at the origin takes the second point's H / B";
    EXPECT_EQ(nu.x(3), 1.0);
    EXPECT_EQ(nu.y(3), 250.0);
    EXPECT_EQ(nu.x(4), 2.25);
    EXPECT_EQ(nu.y(4), 600.0);
    EXPECT_TRUE(nu.splineCalculado());
    EXPECT_TRUE(model.regions.at(2).curva1.splineCalculado());
    EXPECT_EQ(model.regions.at(1).curva2.count(), 0u) << "linear regions get no curve";
}

TEST(NonlinearCurves, CurveWithFewPointsOrZeroInductionGivesNoInfinity)
{
    SolverModel model;
    Regiao one;
    one.linear = 0;
    one.curva1.definePontos({ 0.0 }, { 0.0 });
    Regiao flat;
    flat.linear = 0;
    flat.curva1.definePontos({ 0.0, 1.0, 1.0 }, { 0.0, 50.0, 60.0 });
    flat.curva1.x(2) = 0.0; // a later point at B = 0
    setRegions(model, { rectangleRegion(0, 0, 1, 1), one, flat });
    prepareNonlinearCurves(model);
    for (std::size_t r = 1; r <= 2; ++r)
        for (std::size_t i = 1; i <= model.regions.at(r).curva2.count(); ++i)
            EXPECT_TRUE(std::isfinite(model.regions.at(r).curva2.y(i))) << r << ", " << i;
}

TEST(NonlinearAssembly, StartTakesThePermeabilityAtTheFieldOfTheImposedPotentials)
{
    Square square;
    // The imposed sides alone: each element touching the right side sees part of its potential.
    ASSERT_TRUE(assembleNonlinearStart(square.model));
    const SparseSymMatrix start = square.model.matrix;

    // With every imposed potential 0, every element sees B = 1e-30: the initial reluctivity a.
    Square zero(0, 0.0);
    ASSERT_TRUE(assembleNonlinearStart(zero.model));
    zero.model.regions.at(1).linear = 1;
    zero.model.regions.at(1).permRelativa = 1.0 / (100.0 * Mu0);
    const SparseSymMatrix linearStart = zero.model.matrix;
    ASSERT_TRUE(assembleLinear(zero.model));
    const Dense a = dense(linearStart);
    const Dense b = dense(zero.model.matrix);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < a.size(); ++j)
            EXPECT_NEAR(a[i][j], b[i][j], 1e-9 * std::fabs(b[0][0]));

    // Where the right side's potential reaches an element, B > 0 raises the reluctivity.
    const int inner = square.grid.at(2, 1);
    EXPECT_LT(sparseEntry(start, inner, inner), sparseEntry(linearStart, inner, inner));
}

TEST(NonlinearAssembly, ElementMaterialIsFluxDensityOverFieldFromTheCurve)
{
    // One element, two of its vertices imposed, so that B is known in the start assembly.
    SolverModel model;
    model.nodes
        = { MeshNode {}, MeshNode { 0, 0, 0 }, MeshNode { 0, 1, 0.0005 }, MeshNode { 1, 0, 0 } };
    model.freeNodes = 1;
    addElement(model, 1, 2, 3);
    Regiao iron = rectangleRegion(-1, -1, 2, 2);
    iron.linear = 0;
    iron.curva1 = cubicCurve(100.0, 1000.0);
    setRegions(model, { rectangleRegion(-5, -5, 5, 5), iron });
    prepareNonlinearCurves(model);
    ASSERT_TRUE(assembleNonlinearStart(model));
    // dA/dy = 0.0005 Wb/m over 1 mm: B = 0.5 T, nu = 100 + 1000 * 0.25.
    const double nu = 100.0 + 1000.0 * 0.25;
    EXPECT_NEAR(sparseEntry(model.matrix, 1, 1), -1.0 * nu, 1e-6 * nu);
    EXPECT_NEAR(model.rhs[1], -0.5 * nu * 0.0005, 1e-6 * nu * 0.0005);

    // The iterate decides for free nodes: 0.001 at node 1 gives another field.
    RealVector current(1);
    current[1] = 0.001;
    RealVector previous(1);
    previous[1] = 0.0;
    double change = 0.0;
    ASSERT_TRUE(assembleNonlinear(model, current, previous, &change));
    // grad A = (dA/dx, dA/dy) = (-1, -0.5) T: B² = 1.25.
    const double nu2 = 100.0 + 1000.0 * 1.25;
    EXPECT_NEAR(sparseEntry(model.matrix, 1, 1), -1.0 * nu2, 1e-5 * nu2);
    EXPECT_NEAR(change, (std::sqrt(1.25) - 0.5) / 0.5, 1e-9);
}

TEST(NonlinearAssembly, RefusesAnIterateOfTheWrongCount)
{
    Square square;
    RealVector shortIterate(2);
    EXPECT_FALSE(assembleNonlinear(square.model, shortIterate, shortIterate));
}

TEST(NewtonTerms, MatchTheDerivativeOfTheResidual)
{
    Square square;
    expectNewtonMatchesFiniteDifferences(square);
}

TEST(NewtonTerms, FoldedWithTheSymmetryLikeTheStiffness)
{
    for (int kind : { 1, 2 }) {
        SCOPED_TRACE(kind);
        Square square(kind);
        expectNewtonMatchesFiniteDifferences(square);
    }
}

TEST(NewtonTerms, LinearRegionsGetNone)
{
    Square square;
    square.model.regions.at(1).linear = 1;
    const RealVector v = square.iterate(3);
    ASSERT_TRUE(assembleNonlinear(square.model, v, v));
    const auto before = square.model.matrix.values();
    addNewtonTerms(square.model, v);
    EXPECT_EQ(square.model.matrix.values(), before);
}
