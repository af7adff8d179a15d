#include "test_assembly_models.h"

#include "common/messages.h"
#include "solver/assembly.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace assembly_test;
using namespace tarvex;
using namespace tarvex::solver;
using linalg::sparseEntry;

namespace {

const double Mu0 = 4.0 * 4.0 * std::atan(1.0) * 1e-7;

/// Nodes (0,0), (0,1), (1,0) in mm: D = -1, beta = (1, 0, -1), gamma = (1, -1, 0).
SolverModel oneTriangle(bool magnetic, double scale = 1000.0)
{
    SolverModel model;
    model.magnetic = magnetic ? 1 : 0;
    model.scaleFactor = scale;
    model.nodes = { MeshNode {}, MeshNode { 0, 0, 0 }, MeshNode { 0, 1, 0 }, MeshNode { 1, 0, 0 } };
    model.freeNodes = 3;
    addElement(model, 1, 2, 3);
    Regiao material = rectangleRegion(-1, -1, 2, 2);
    setRegions(model, { rectangleRegion(-5, -5, 5, 5), material });
    return model;
}

Regiao& materialOf(SolverModel& model, int number)
{
    return model.regions.at(number - 1);
}

/**
 * The unit square split along its diagonal: P1 (0,0) = 1, P2 (1,0) = 2, P3 (0,1) = 3 free,
 * P4 (1,1) = 4 imposed at 5. Triangles (1, 3, 2) and (2, 3, 4).
 */
SolverModel twoTriangles()
{
    SolverModel model;
    model.nodes = { MeshNode {}, MeshNode { 0, 0, 0 }, MeshNode { 1, 0, 0 }, MeshNode { 0, 1, 0 },
        MeshNode { 1, 1, 5 } };
    model.freeNodes = 3;
    addElement(model, 1, 3, 2);
    addElement(model, 2, 3, 4);
    setRegions(model, { rectangleRegion(-5, -5, 5, 5), rectangleRegion(-1, -1, 2, 2) });
    return model;
}

} // namespace

TEST(ElementMatrix, MagneticTriangleByHandWithReluctivityOfTheRegion)
{
    SolverModel model = oneTriangle(true);
    materialOf(model, 2).permRelativa = 2.0;
    ASSERT_TRUE(assembleLinear(model));
    const double nu = 1.0 / (2.0 * Mu0);
    const auto& k = model.matrix;
    ASSERT_EQ(k.order(), 3);
    EXPECT_NEAR(sparseEntry(k, 1, 1), -1.0 * nu, 1e-9 * nu);
    EXPECT_NEAR(sparseEntry(k, 2, 2), -0.5 * nu, 1e-9 * nu);
    EXPECT_NEAR(sparseEntry(k, 3, 3), -0.5 * nu, 1e-9 * nu);
    EXPECT_NEAR(sparseEntry(k, 1, 2), 0.5 * nu, 1e-9 * nu);
    EXPECT_NEAR(sparseEntry(k, 3, 1), 0.5 * nu, 1e-9 * nu);
    // The two legs are perpendicular: no coupling, and no slot taken for it.
    EXPECT_EQ(k.findSlot(3, 2), 0);
    EXPECT_EQ(k.storageSlotCount(), 3 * AssemblySlotsPerRow);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(k.column(k.rowBegin(i)), i) << "row " << i << " starts with its diagonal";
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(model.rhs[i], 0.0);
}

TEST(ElementMatrix, ElectricTriangleUsesThePermittivity)
{
    SolverModel model = oneTriangle(false);
    materialOf(model, 2).permissividadeRelativa = 4.0;
    materialOf(model, 2).permRelativa = 1000.0; // ignored by an electric model
    ASSERT_TRUE(assembleLinear(model));
    const double eps = 4.0 * Eps0;
    EXPECT_NEAR(sparseEntry(model.matrix, 1, 1), -1.0 * eps, 1e-9 * eps);
    EXPECT_NEAR(sparseEntry(model.matrix, 2, 1), 0.5 * eps, 1e-9 * eps);
}

TEST(ElementMatrix, NonlinearFlagDoesNotChangeTheLinearAssembly)
{
    SolverModel model = oneTriangle(true);
    materialOf(model, 2).permRelativa = 300.0;
    materialOf(model, 2).linear = 0;
    ASSERT_TRUE(assembleLinear(model));
    EXPECT_NEAR(sparseEntry(model.matrix, 1, 1), -1.0 / (300.0 * Mu0), 1e-12 / Mu0);
}

TEST(ElementMatrix, CurrentSourceIsAreaTimesDensityInSquareMetres)
{
    // 2 A/mm² over a triangle of 0.5 mm²: a third of 1 A per vertex, signed like the matrix.
    SolverModel model = oneTriangle(true);
    materialOf(model, 2).densCorrente = 2.0;
    ASSERT_TRUE(assembleLinear(model));
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_NEAR(model.rhs[i], 1.0 / 3.0, 1e-12);

    // The same drawing read in metres is a million times larger in area.
    SolverModel metres = oneTriangle(true, 1.0);
    materialOf(metres, 2).densCorrente = 2.0;
    ASSERT_TRUE(assembleLinear(metres));
    EXPECT_NEAR(metres.rhs[1], 1e6 / 3.0, 1e-6);
}

TEST(ElementMatrix, PositiveChargeEntersWithTheSignThatRaisesThePotential)
{
    SolverModel model = oneTriangle(false);
    materialOf(model, 2).densCargas = 3.0;
    materialOf(model, 2).densCorrente = 7.0; // ignored by an electric model
    ASSERT_TRUE(assembleLinear(model));
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_NEAR(model.rhs[i], -0.5, 1e-12);
    // The matrix is negative definite, so a negative right-hand side gives positive potentials.
    EXPECT_LT(sparseEntry(model.matrix, 1, 1), 0.0);
}

TEST(Assembly, TwoTrianglesWithSourceAndImposedNodeByHand)
{
    SolverModel model = twoTriangles();
    materialOf(model, 2).densCorrente = 6.0;
    ASSERT_TRUE(assembleLinear(model));
    const double nu = 1.0 / Mu0;
    const auto& k = model.matrix;
    ASSERT_EQ(k.order(), 3);
    EXPECT_NEAR(sparseEntry(k, 1, 1), -nu, 1e-9 * nu);
    EXPECT_NEAR(sparseEntry(k, 2, 2), -nu, 1e-9 * nu);
    EXPECT_NEAR(sparseEntry(k, 3, 3), -nu, 1e-9 * nu);
    EXPECT_NEAR(sparseEntry(k, 2, 1), 0.5 * nu, 1e-9 * nu);
    EXPECT_NEAR(sparseEntry(k, 3, 1), 0.5 * nu, 1e-9 * nu);
    EXPECT_EQ(k.findSlot(3, 2), 0);
    // Source: J |D| / 6 per triangle and vertex (1 here); nodes 2 and 3 lie in both triangles and
    // take -k(i,4) * 5 = -0.5 nu * 5 from the imposed corner.
    EXPECT_NEAR(model.rhs[1], 1.0, 1e-12);
    EXPECT_NEAR(model.rhs[2], 2.0 - 2.5 * nu, 1e-9 * nu);
    EXPECT_NEAR(model.rhs[3], 2.0 - 2.5 * nu, 1e-9 * nu);
}

TEST(Assembly, ElementWithAllVerticesImposedContributesNothing)
{
    // Only P1 free: triangle (2, 3, 4) has every vertex imposed.
    SolverModel model = twoTriangles();
    model.nodes[2].value = 1.0;
    model.nodes[3].value = 3.0;
    model.freeNodes = 1;
    ASSERT_TRUE(assembleLinear(model));
    SolverModel alone = model;
    alone.elements.clear();
    addElement(alone, 1, 3, 2);
    alone.elementRegion.clear();
    ASSERT_TRUE(assembleLinear(alone));
    EXPECT_EQ(model.matrix.values(), alone.matrix.values());
    ASSERT_EQ(model.rhs.count(), 1u);
    EXPECT_EQ(model.rhs[1], alone.rhs[1]);
    EXPECT_NEAR(model.rhs[1], -0.5 / Mu0 * (1.0 + 3.0), 1e-9 / Mu0);
}

TEST(Assembly, RefusesElementsThatAreNotClockwiseOrHaveNoArea)
{
    struct Case {
        MeshElement element;
        std::string_view message;
    };
    const Case cases[] = {
        { { 1, 3, 2 }, msg::MontagemAreaZero }, // counterclockwise: D > 0
        { { 1, 2, 4 }, msg::MontagemAreaZero }, // collinear
        { { 1, 2, 0 }, msg::MontagemIndiceZero },
        { { 1, 2, 9 }, msg::MontagemIndiceZero }, // beyond the node array
    };
    for (const Case& c : cases) {
        SolverModel model = oneTriangle(true);
        model.nodes.push_back(MeshNode { 0, 2, 0 }); // node 4, on the line of nodes 1 and 2
        model.freeNodes = 4;
        ASSERT_TRUE(assembleLinear(model));
        const auto before = model.matrix.values();
        model.elements.pushBack(c.element);
        const AssemblyResult r = assembleLinear(model);
        EXPECT_FALSE(r);
        EXPECT_EQ(r.status.message, c.message);
        EXPECT_EQ(r.elementOutsideRegions, -1);
        EXPECT_EQ(model.matrix.values(), before) << "a failed assembly leaves the system alone";
    }
}

TEST(Assembly, ElementOutsideEveryRegionIsReportedForMarkingThenRefusedFromTheCache)
{
    SolverModel model = twoTriangles();
    // The material region covers only the lower-left triangle's centroid (1/3, 1/3).
    setRegions(model, { rectangleRegion(-5, -5, 5, 5), rectangleRegion(0, 0, 0.5, 0.5) });
    const AssemblyResult first = assembleLinear(model);
    EXPECT_FALSE(first);
    EXPECT_TRUE(first.status.message.empty());
    EXPECT_EQ(first.elementOutsideRegions, 1);
    EXPECT_NEAR(first.markX, 2.0 / 3.0, 1e-12);
    EXPECT_NEAR(first.markY, 2.0 / 3.0, 1e-12);
    ASSERT_EQ(model.elementRegion.size(), 2u);
    EXPECT_EQ(model.elementRegion[0], 2);
    EXPECT_EQ(model.elementRegion[1], 0);

    const AssemblyResult second = assembleLinear(model);
    EXPECT_FALSE(second);
    EXPECT_EQ(second.status.message, msg::MontagemSemRegiao);
}

TEST(Assembly, RegionsAreSearchedOnceAndThenTakenFromTheCache)
{
    SolverModel model = twoTriangles();
    Regiao lower = rectangleRegion(0, 0, 0.5, 0.5);
    lower.permRelativa = 10.0;
    setRegions(model, { rectangleRegion(-5, -5, 5, 5), lower, rectangleRegion(-1, -1, 2, 2) });
    ASSERT_TRUE(assembleLinear(model));
    ASSERT_EQ(model.elementRegion, (std::vector<std::int32_t> { 2, 3 }));
    // Node 1 lies only in the first triangle, of region 2.
    EXPECT_NEAR(sparseEntry(model.matrix, 1, 1), -1.0 / (10.0 * Mu0), 1e-9 / Mu0);

    // Later linear assemblies do not search again: a changed cache is obeyed.
    model.elementRegion[0] = 3;
    ASSERT_TRUE(assembleLinear(model));
    EXPECT_NEAR(sparseEntry(model.matrix, 1, 1), -1.0 / Mu0, 1e-9 / Mu0);
    // The non-linear assemblies always search, and refresh the cache.
    ASSERT_TRUE(assembleNonlinearStart(model));
    EXPECT_EQ(model.elementRegion[0], 2);
}

TEST(Assembly, MagnetTermFollowsTheRemanenceComponents)
{
    // Triangle centred on the positive x axis: polar angle 0 at the centroid.
    auto model = [](double brX, double brY, double brR, double brT) {
        SolverModel m;
        m.nodes
            = { MeshNode {}, MeshNode { 10, -1, 0 }, MeshNode { 10, 1, 0 }, MeshNode { 12, 0, 0 } };
        m.freeNodes = 3;
        addElement(m, 1, 2, 3);
        Regiao magnet = rectangleRegion(9, -2, 13, 2);
        magnet.brX = brX;
        magnet.brY = brY;
        magnet.brR = brR;
        magnet.brT = brT;
        magnet.permRelativa = 1.05;
        setRegions(m, { rectangleRegion(-20, -20, 20, 20), magnet });
        EXPECT_TRUE(assembleLinear(m));
        return m;
    };
    const SolverModel x = model(1.2, 0, 0, 0);
    // f_1 = ((x2 - x3) Mx + (y2 - y3) My) / 2 / mu / s with Mx = -1.2, My = 0.
    const double scale = 0.5 / (1.05 * Mu0) / 1000.0;
    EXPECT_NEAR(x.rhs[1], (-2.0) * (-1.2) * scale, 1e-9);
    EXPECT_NEAR(x.rhs[2], (2.0) * (-1.2) * scale, 1e-9);
    EXPECT_NEAR(x.rhs[3], 0.0, 1e-9);

    const SolverModel y = model(0, 0.7, 0, 0);
    EXPECT_NEAR(y.rhs[1], (1.0) * (-0.7) * scale, 1e-9); // y2 - y3 = 1
    EXPECT_NEAR(y.rhs[3], (-2.0) * (-0.7) * scale, 1e-9); // y1 - y2 = -2

    // At polar angle 0 the radial direction is x and the tangential one is y.
    const SolverModel radial = model(0, 0, 1.2, 0);
    const SolverModel tangential = model(0, 0, 0, 0.7);
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_NEAR(radial.rhs[i], x.rhs[i], 1e-9);
        EXPECT_NEAR(tangential.rhs[i], y.rhs[i], 1e-9);
    }

    const SolverModel none = model(0, 0, 0, 0);
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(none.rhs[i], 0.0);
}

TEST(Assembly, MagnetTermOnTheVerticalAxisUsesAQuarterTurn)
{
    // Centroid at x = 0, y > 0: the radial direction is +y.
    SolverModel m;
    m.nodes = { MeshNode {}, MeshNode { -1, 9, 0 }, MeshNode { 0, 11, 0 }, MeshNode { 1, 10, 0 } };
    m.freeNodes = 3;
    addElement(m, 1, 2, 3);
    Regiao magnet = rectangleRegion(-2, 8, 2, 12);
    magnet.brR = 1.0;
    setRegions(m, { rectangleRegion(-20, -20, 20, 20), magnet });
    ASSERT_TRUE(assembleLinear(m));
    SolverModel n = m;
    n.regions.at(1).brR = 0.0;
    n.regions.at(1).brY = 1.0;
    n.elementRegion.clear();
    ASSERT_TRUE(assembleLinear(n));
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_NEAR(m.rhs[i], n.rhs[i], 1e-9);
}

TEST(Assembly, MagnetIsIgnoredByAnElectricModel)
{
    SolverModel model = oneTriangle(false);
    materialOf(model, 2).brX = 1.0;
    ASSERT_TRUE(assembleLinear(model));
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(model.rhs[i], 0.0);
}

TEST(Assembly, RowWithMoreNeighboursThanSlotsKeepsEveryContribution)
{
    // A fan of 30 triangles around a centre numbered last: its row couples with all 30 rim nodes.
    const int rim = 30;
    const double pi = 4.0 * std::atan(1.0);
    SolverModel model;
    model.nodes.assign(1, MeshNode {});
    for (int k = 0; k < rim; ++k)
        model.nodes.push_back(
            MeshNode { 10.0 * std::cos(2 * pi * k / rim), 10.0 * std::sin(2 * pi * k / rim), 0 });
    model.nodes.push_back(MeshNode { 0, 0, 0 });
    model.freeNodes = rim + 1;
    for (int k = 0; k < rim; ++k)
        addElement(model, rim + 1, 1 + (k + 1) % rim, 1 + k); // clockwise
    setRegions(model, { rectangleRegion(-20, -20, 20, 20), rectangleRegion(-15, -15, 15, 15) });

    ASSERT_TRUE(assembleLinear(model));
    const auto& k = model.matrix;
    EXPECT_EQ(storedInRow(k, rim + 1), rim + 1);
    EXPECT_EQ(k.column(k.rowBegin(rim + 1)), rim + 1);
    EXPECT_EQ(k.storageSlotCount(), rim * AssemblySlotsPerRow + rim + 1);
    // Without sources or imposed nodes a constant potential is in the null space: every row sums
    // to zero only when no coupling was lost.
    RealVector ones(static_cast<std::size_t>(rim + 1));
    ones.fill(1.0);
    const RealVector product = linalg::multiplySymmetric(k, ones);
    for (int i = 1; i <= rim + 1; ++i)
        EXPECT_NEAR(product[static_cast<std::size_t>(i)], 0.0, 1e-9 / Mu0) << "row " << i;
}

TEST(Assembly, NormalMeshKeepsTheRequestedSlotsPerRow)
{
    SolverModel model;
    Grid grid;
    grid.nx = 6;
    grid.ny = 5;
    grid.build(
        model,
        [&](int ix, int iy) { return ix == 0 || iy == 0 ? NodeKind::Imposed : NodeKind::Free; },
        [](int ix, int) { return ix * 1.0; });
    setRegions(model, { rectangleRegion(-1, -1, 7, 6), rectangleRegion(-0.5, -0.5, 6.5, 5.5) });
    ASSERT_TRUE(assembleLinear(model, ExportSlotsPerRow));
    EXPECT_EQ(model.matrix.storageSlotCount(), ExportSlotsPerRow * model.freeNodes);
    ASSERT_TRUE(assembleLinear(model));
    EXPECT_EQ(model.matrix.storageSlotCount(), AssemblySlotsPerRow * model.freeNodes);
    for (int i = 1; i <= model.freeNodes; ++i)
        EXPECT_EQ(model.matrix.column(model.matrix.rowBegin(i)), i);
}

TEST(Assembly, ImposedPotentialsGiveTheHarmonicSolution)
{
    // Potential 0 on the left, 4 on the right: the discrete solution is linear in x exactly.
    SolverModel model;
    model.magnetic = 0;
    Grid grid;
    grid.nx = 4;
    grid.ny = 3;
    grid.build(
        model,
        [&](int ix, int) { return ix == 0 || ix == grid.nx ? NodeKind::Imposed : NodeKind::Free; },
        [](int ix, int) { return ix == 0 ? 0.0 : 4.0; });
    setRegions(model, { rectangleRegion(-1, -1, 5, 4), rectangleRegion(-0.5, -0.5, 4.5, 3.5) });
    ASSERT_TRUE(assembleLinear(model));
    const std::vector<double> v = solveModel(model);
    for (int iy = 0; iy <= grid.ny; ++iy)
        for (int ix = 0; ix <= grid.nx; ++ix)
            EXPECT_NEAR(v[static_cast<std::size_t>(grid.at(ix, iy))], ix * 1.0, 1e-9);
}

TEST(Conductivity, ConsistentMassTermsAndImposedCouplingByHand)
{
    SolverModel model = twoTriangles();
    materialOf(model, 2).condutividade = 5e7;
    ASSERT_TRUE(assembleLinear(model, ExportSlotsPerRow));
    ASSERT_TRUE(assembleConductivity(model));
    EXPECT_EQ(model.conductive, 1);
    const double pi = 4.0 * std::atan(1.0);
    // Diagonal term of one triangle: 2 pi sigma area / 6, area 0.5e-6 m².
    const double diagonal = 2.0 * pi * 5e7 * 0.5e-6 / 6.0;
    const auto& q = model.conductivityMatrix;
    ASSERT_EQ(q.order(), 3);
    EXPECT_NEAR(sparseEntry(q, 1, 1), diagonal, 1e-9 * diagonal);
    EXPECT_NEAR(sparseEntry(q, 2, 2), 2.0 * diagonal, 1e-9 * diagonal);
    EXPECT_NEAR(sparseEntry(q, 2, 1), diagonal / 2.0, 1e-9 * diagonal);
    // Unlike the stiffness, the mass couples nodes 2 and 3 (both triangles).
    EXPECT_NEAR(sparseEntry(q, 3, 2), diagonal, 1e-9 * diagonal);
    EXPECT_EQ(q.storageSlotCount(), 3 * ExportSlotsPerRow);
    ASSERT_EQ(model.conductivityRhs.count(), 3u);
    EXPECT_EQ(model.conductivityRhs[1], 0.0);
    EXPECT_NEAR(model.conductivityRhs[2], -diagonal / 2.0 * 5.0, 1e-9 * diagonal);
    EXPECT_NEAR(model.conductivityRhs[3], -diagonal / 2.0 * 5.0, 1e-9 * diagonal);
}

TEST(Conductivity, RegionsAtOrBelowTheThresholdDoNotConduct)
{
    SolverModel model = twoTriangles();
    materialOf(model, 2).condutividade = 1e-31;
    ASSERT_TRUE(assembleConductivity(model));
    EXPECT_EQ(model.conductive, 0);
    EXPECT_EQ(model.conductivityMatrix.order(), 0);

    // Only the conducting region's elements contribute.
    Regiao copper = rectangleRegion(0, 0, 0.5, 0.5);
    copper.condutividade = 1e6;
    setRegions(model, { rectangleRegion(-5, -5, 5, 5), copper, rectangleRegion(-1, -1, 2, 2) });
    model.elementRegion.clear();
    ASSERT_TRUE(assembleConductivity(model));
    EXPECT_EQ(model.conductive, 1);
    const double diagonal = 2.0 * 4.0 * std::atan(1.0) * 1e6 * 0.5e-6 / 6.0;
    EXPECT_NEAR(sparseEntry(model.conductivityMatrix, 2, 2), diagonal, 1e-9 * diagonal);
    EXPECT_NEAR(sparseEntry(model.conductivityMatrix, 3, 2), diagonal / 2.0, 1e-9 * diagonal);
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(model.conductivityRhs[i], 0.0);
}

TEST(PackedRowAdd, AddsLikeSparseAddInOnePass)
{
    SparseSymMatrix m = SparseSymMatrix::withSlots(3, 2);
    EXPECT_TRUE(m.addToPackedRow(3, 3, 4.0));
    EXPECT_TRUE(m.addToPackedRow(3, 1, -1.0));
    EXPECT_TRUE(m.addToPackedRow(3, 3, 2.0));
    EXPECT_FALSE(m.addToPackedRow(3, 2, 5.0)) << "row full";
    EXPECT_FALSE(m.addToPackedRow(1, 2, 5.0)) << "upper triangle";
    EXPECT_FALSE(m.addToPackedRow(4, 1, 5.0));
    EXPECT_TRUE(m.addToPackedRow(2, 1, 1e-151));
    EXPECT_EQ(m.column(m.rowBegin(2)), 0) << "tiny values take no slot";
    EXPECT_EQ(sparseEntry(m, 3, 3), 6.0);
    EXPECT_EQ(sparseEntry(m, 1, 3), -1.0);
    EXPECT_EQ(sparseEntry(m, 3, 2), 0.0);
    EXPECT_EQ(m.value(0), 0.0);
}
