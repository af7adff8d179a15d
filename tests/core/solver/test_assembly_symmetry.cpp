#include "test_assembly_models.h"

#include "solver/assembly.h"
#include "solver/linalg/conjugate_gradient.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace assembly_test;
using namespace tarvex;
using namespace tarvex::solver;
using linalg::sparseEntry;

namespace {

/**
 * A periodic strip [0, width] x [0, 4] (mm) of `columns` by 4 cells: potential 0 on the bottom and
 * top lines, the left line the master side and the right line the slave side of one symmetry pair.
 * Regions are vertical bands of width 1 with their own current density and permeability, given by
 * `band(k)` for band k = 0, 1, ... from the left.
 */
struct Strip {
    SolverModel model;
    Grid grid;

    Strip(int columns, double width, int kind,
        const std::function<std::pair<double, double>(int)>& band, bool magnetic = true)
    {
        model.magnetic = magnetic ? 1 : 0;
        model.symmetryKind = static_cast<problem::SymmetryKind>(kind);
        grid.nx = columns;
        grid.ny = 4;
        grid.hx = width / columns;
        grid.build(model, [&](int ix, int iy) {
            if (iy == 0 || iy == grid.ny)
                return NodeKind::Imposed;
            if (ix == 0)
                return NodeKind::Master;
            if (ix == grid.nx)
                return NodeKind::Slave;
            return NodeKind::Free;
        });
        std::vector<Regiao> regions { rectangleRegion(-1, -1, width + 1, 5) };
        for (int k = 0; k < static_cast<int>(std::lround(width)); ++k) {
            Regiao r = rectangleRegion(k, -0.5, k + 1, 4.5);
            const auto [j, mu] = band(k);
            r.densCorrente = j;
            r.densCargas = j;
            r.permRelativa = mu;
            r.permissividadeRelativa = mu;
            regions.push_back(r);
        }
        setRegions(model, std::move(regions));
    }

    /// Potential at grid point (ix, iy) of a solved node array.
    double at(const std::vector<double>& v, int ix, int iy) const
    {
        return v[static_cast<std::size_t>(grid.at(ix, iy))];
    }
};

/// Band data of a pattern of period 2 (bands 0, 1), repeated with `sign` over the next period.
std::function<std::pair<double, double>(int)> periodic(double sign)
{
    return [sign](int k) {
        const double s = k >= 2 ? sign : 1.0;
        return k % 2 == 0 ? std::pair { 2.0 * s, 1.0 } : std::pair { -0.5 * s, 3.0 };
    };
}

/// P^T K P and P^T f for x_slave = sigma x_master, from the unfolded system (dense, zero-based).
void foldDense(const SolverModel& model, const Dense& k, const std::vector<double>& f, Dense& kOut,
    std::vector<double>& fOut)
{
    const int nm = model.freeNodes;
    const int n = nm + model.slaveCount;
    const double sigma = model.symmetryKind == problem::SymmetryKind::AntiSymmetry ? -1.0 : 1.0;
    auto target = [&](int i, double& sign) { // zero-based in and out
        sign = 1.0;
        if (i < nm)
            return i;
        sign = sigma;
        return model.slaveMasters[static_cast<std::size_t>(i - nm + 1)] - 1;
    };
    kOut.assign(
        static_cast<std::size_t>(nm), std::vector<double>(static_cast<std::size_t>(nm), 0.0));
    fOut.assign(static_cast<std::size_t>(nm), 0.0);
    for (int i = 0; i < n; ++i) {
        double si = 0.0;
        const int a = target(i, si);
        fOut[static_cast<std::size_t>(a)] += si * f[static_cast<std::size_t>(i)];
        for (int j = 0; j < n; ++j) {
            double sj = 0.0;
            const int b = target(j, sj);
            kOut[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)]
                += si * sj * k[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
        }
    }
}

void expectFoldMatchesDense(Strip& strip)
{
    SolverModel& model = strip.model;
    const problem::SymmetryKind kind = model.symmetryKind;
    model.symmetryKind = problem::SymmetryKind::None;
    ASSERT_TRUE(assembleLinear(model));
    ASSERT_EQ(model.matrix.order(), model.freeNodes + model.slaveCount);
    const Dense k = dense(model.matrix);
    std::vector<double> f;
    for (std::size_t i = 1; i <= model.rhs.count(); ++i)
        f.push_back(model.rhs[i]);
    Dense expected;
    std::vector<double> expectedRhs;
    model.symmetryKind = kind;
    foldDense(model, k, f, expected, expectedRhs);

    ASSERT_TRUE(condenseSymmetry(model));
    ASSERT_EQ(model.matrix.order(), model.freeNodes);
    const Dense folded = dense(model.matrix);
    double scale = 0.0;
    for (const auto& row : expected)
        for (double v : row)
            scale = std::max(scale, std::fabs(v));
    for (int i = 0; i < model.freeNodes; ++i) {
        EXPECT_NEAR(model.rhs[static_cast<std::size_t>(i) + 1],
            expectedRhs[static_cast<std::size_t>(i)], 1e-12 * scale);
        for (int j = 0; j < model.freeNodes; ++j)
            EXPECT_NEAR(folded[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)],
                expected[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], 1e-12 * scale)
                << "entry " << i + 1 << ", " << j + 1;
    }
}

} // namespace

TEST(SymmetryFolding, EqualsTheConstrainedSystemForBothKinds)
{
    for (int kind : { 1, 2 })
        for (int columns : { 1, 2, 3 }) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", columns " << columns);
            // One column: every triangle touches both lines of the pair.
            Strip strip(columns, 2.0, kind, periodic(1.0));
            expectFoldMatchesDense(strip);
        }
}

TEST(SymmetryFolding, AntisymmetryAddsTheSlaveRightHandSideWithOppositeSign)
{
    Strip plain(2, 2.0, 1, periodic(1.0));
    Strip anti(2, 2.0, 2, periodic(1.0));
    plain.model.symmetryKind = problem::SymmetryKind::None;
    anti.model.symmetryKind = problem::SymmetryKind::None;
    ASSERT_TRUE(assembleLinear(plain.model));
    ASSERT_TRUE(assembleLinear(anti.model));
    plain.model.symmetryKind = problem::SymmetryKind::Symmetry;
    anti.model.symmetryKind = problem::SymmetryKind::AntiSymmetry;
    const RealVector unfolded = plain.model.rhs;
    ASSERT_TRUE(condenseSymmetry(plain.model));
    ASSERT_TRUE(condenseSymmetry(anti.model));
    const int nm = plain.model.freeNodes;
    for (int k = 1; k <= plain.model.slaveCount; ++k) {
        const auto master
            = static_cast<std::size_t>(plain.model.slaveMasters[static_cast<std::size_t>(k)]);
        const double slaveRhs = unfolded[static_cast<std::size_t>(nm + k)];
        EXPECT_NEAR(plain.model.rhs[master], unfolded[master] + slaveRhs, 1e-12);
        EXPECT_NEAR(anti.model.rhs[master], unfolded[master] - slaveRhs, 1e-12);
        // The slave's own diagonal enters with sigma² = +1 in both.
        EXPECT_NEAR(
            sparseEntry(plain.model.matrix, static_cast<int>(master), static_cast<int>(master)),
            sparseEntry(anti.model.matrix, static_cast<int>(master), static_cast<int>(master)),
            1e-6);
    }
}

TEST(SymmetryFolding, RebuiltRowsHoldCopiedColumnsAscendingThenFoldedOnes)
{
    // Three columns: the slave's interior neighbours are not the master's.
    Strip strip(3, 2.0, 1, periodic(1.0));
    ASSERT_TRUE(assembleLinear(strip.model));
    const auto& k = strip.model.matrix;
    EXPECT_EQ(k.storageSlotCount(), 20 * strip.model.freeNodes);
    const int nm = strip.model.freeNodes;
    const int interior = nm - strip.model.slaveCount;
    for (int i = 1; i <= nm; ++i) {
        int previous = 0;
        bool folded = false;
        for (int s = k.rowBegin(i); s < k.rowEnd(i) && k.column(s) != 0; ++s) {
            if (!folded && k.column(s) <= previous)
                folded = true; // the folded entries follow the copied ones
            if (!folded) {
                previous = k.column(s);
            }
        }
        // The copied part ends with the diagonal.
        EXPECT_EQ(previous, i) << "row " << i;
        if (i <= interior) {
            EXPECT_FALSE(folded) << "interior rows receive no folded entries";
        } else {
            EXPECT_TRUE(folded) << "a master row receives its slave's couplings";
        }
    }
}

TEST(SymmetryFolding, HalfMeshWithSymmetrySolvesLikeTheWholeMesh)
{
    // The whole strip is 4 mm wide and periodic; with a source pattern of period 2 mm (or of
    // period 2 mm with a sign change) its solution is repeated on each half, so the half strip
    // with symmetry (or anti-symmetry) must give the same nodal potentials, even with a single
    // column of cells whose triangles touch both lines of the pair.
    for (int kind : { 1, 2 })
        for (int columnsPerHalf : { 1, 2 }) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", columns " << columnsPerHalf);
            const double sign = kind == 1 ? 1.0 : -1.0;
            Strip whole(2 * columnsPerHalf, 4.0, 1, periodic(sign));
            Strip half(columnsPerHalf, 2.0, kind, periodic(sign));
            ASSERT_TRUE(assembleLinear(whole.model));
            ASSERT_TRUE(assembleLinear(half.model));
            const std::vector<double> w = solveModel(whole.model);
            const std::vector<double> h = solveModel(half.model);
            double largest = 0.0;
            for (double v : w)
                largest = std::max(largest, std::fabs(v));
            ASSERT_GT(largest, 0.0);
            for (int iy = 0; iy <= 4; ++iy)
                for (int ix = 0; ix <= columnsPerHalf; ++ix)
                    EXPECT_NEAR(half.at(h, ix, iy), whole.at(w, ix, iy), 1e-9 * largest)
                        << "at " << ix << ", " << iy;
            // The whole solution has the symmetry the half one assumes.
            for (int iy = 1; iy < 4; ++iy)
                EXPECT_NEAR(
                    whole.at(w, columnsPerHalf, iy), sign * whole.at(w, 0, iy), 1e-9 * largest);
        }
}

TEST(SymmetryFolding, ConjugateGradientsSolveTheFoldedSystem)
{
    Strip half(1, 2.0, 2, periodic(-1.0), false);
    ASSERT_TRUE(assembleLinear(half.model));
    const std::vector<double> direct = solveModel(half.model);
    RealVector x(static_cast<std::size_t>(half.model.freeNodes));
    linalg::SolverRequest request;
    request.matrix = half.model.matrix.compacted();
    request.rhs = half.model.rhs;
    request.solution = &x;
    request.tolerance = 1e-12;
    ASSERT_TRUE(linalg::solveConjugateGradient(std::move(request)));
    for (int i = 1; i <= half.model.freeNodes; ++i)
        EXPECT_NEAR(x[static_cast<std::size_t>(i)], direct[static_cast<std::size_t>(i)],
            1e-8 * std::fabs(direct[static_cast<std::size_t>(i)]));
}

TEST(SymmetryFolding, RefusesASystemAlreadyFoldedOrAMasterOutOfRange)
{
    Strip strip(2, 2.0, 1, periodic(1.0));
    ASSERT_TRUE(assembleLinear(strip.model));
    const auto values = strip.model.matrix.values();
    EXPECT_FALSE(condenseSymmetry(strip.model)) << "order is already n_m";
    EXPECT_EQ(strip.model.matrix.values(), values);

    strip.model.slaveMasters[1] = strip.model.freeNodes + 1;
    strip.model.elementRegion.clear();
    EXPECT_FALSE(assembleLinear(strip.model));

    Strip none(2, 2.0, 0, periodic(1.0));
    none.model.slaveCount = 0;
    none.model.slaveMasters.assign(1, 0);
    // Without symmetry nothing is folded.
    ASSERT_TRUE(assembleLinear(none.model));
    const auto before = none.model.matrix.values();
    EXPECT_TRUE(condenseSymmetry(none.model));
    EXPECT_EQ(none.model.matrix.values(), before);
}

TEST(SymmetryFolding, ConductivityBlockIsFoldedLikeTheStiffness)
{
    for (int kind : { 1, 2 }) {
        Strip strip(1, 2.0, kind, periodic(1.0));
        auto& regions = strip.model.regions;
        for (std::size_t r = 1; r < regions.size(); ++r)
            regions.at(r).condutividade = 1e6 * static_cast<double>(r);
        ASSERT_TRUE(assembleLinear(strip.model));
        ASSERT_TRUE(assembleConductivity(strip.model));
        ASSERT_EQ(strip.model.conductivityMatrix.order(), strip.model.freeNodes);
        ASSERT_EQ(
            strip.model.conductivityRhs.count(), static_cast<std::size_t>(strip.model.freeNodes));

        // Against the fold of the unfolded block.
        SolverModel plain = strip.model;
        plain.symmetryKind = problem::SymmetryKind::None;
        ASSERT_TRUE(assembleConductivity(plain));
        const Dense q = dense(plain.conductivityMatrix);
        std::vector<double> f(plain.conductivityRhs.count(), 0.0);
        Dense expected;
        std::vector<double> unused;
        foldDense(strip.model, q, f, expected, unused);
        const Dense folded = dense(strip.model.conductivityMatrix);
        for (std::size_t i = 0; i < expected.size(); ++i)
            for (std::size_t j = 0; j < expected.size(); ++j)
                EXPECT_NEAR(folded[i][j], expected[i][j], 1e-12 * std::fabs(expected[0][0]));
    }
}
