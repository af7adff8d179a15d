#include "common/messages.h"
#include "core/evaluation/model_builders.h"
#include "results/colour_map.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

using namespace tarvex;
using namespace tarvex::results;

TEST(ColourMap, BandsAtExactLimits)
{
    const auto t = bandLimits(2.0, 17.0); // step 1: T_k = 2 + k
    EXPECT_EQ(t[0], 2.0);
    EXPECT_EQ(t[15], 17.0);
    EXPECT_EQ(bandOf(2.0, t), 0);
    EXPECT_EQ(bandOf(2.999, t), 0);
    EXPECT_EQ(bandOf(3.0, t), 1); // T1 takes colour 18
    EXPECT_EQ(bandOf(3.5, t), 1);
    EXPECT_EQ(bandOf(4.0, t), 1); // T2: the lower band
    for (int k = 2; k <= 14; ++k)
        EXPECT_EQ(bandOf(t[static_cast<std::size_t>(k)], t), k - 1) << k;
    EXPECT_EQ(bandOf(16.0001, t), 14);
    EXPECT_EQ(bandOf(17.0, t), 14);
    EXPECT_EQ(bandOf(1e300, t), 14);
    EXPECT_EQ(bandOf(-5.0, t), 0);
    EXPECT_EQ(bandOf(std::nan(""), t), -1);
    // Limits made by the same arithmetic as the map's, with a step that is not exact in binary.
    const auto u = bandLimits(0.1, 0.7);
    for (int k = 2; k <= 14; ++k)
        EXPECT_EQ(bandOf(u[static_cast<std::size_t>(k)], u), k - 1) << k;
    EXPECT_EQ(legendLabel(0.1), "1.00e-01");
}

TEST(ColourMap, UniformFieldIsOneColourWithEqualLabels)
{
    const solver::SolverModel m = test::gridModel(
        5, 3, 0, 0, 5, 3, [](double x, double y) { return 0.001 * x + 0.002 * y; });
    const ColourMap map = computeColourMap(m, MapaInducao);
    ASSERT_EQ(map.values.size(), 30u);
    for (std::size_t i = 0; i < map.bands.size(); ++i)
        EXPECT_EQ(map.bands[i], 0) << i;
    for (double limit : map.limits)
        EXPECT_EQ(legendLabel(limit), legendLabel(map.limits[0]));
    EXPECT_EQ(legendLabel(map.limits[0]), "2.24e+00"); // |B| = sqrt(1 + 4)
}

TEST(ColourMap, ValuesSpreadOverTheBandsInListOrder)
{
    // A = x² / 2 (drawing units): |B| = 1000 x at each column of triangles, growing to the right.
    const solver::SolverModel m
        = test::gridModel(15, 1, 0, 0, 15, 1, [](double x, double) { return x * x / 2; });
    const ColourMap map = computeColourMap(m, MapaInducao);
    EXPECT_NEAR(map.minimum, 500.0, 1e-6);
    EXPECT_NEAR(map.maximum, 14500.0, 1e-6);
    EXPECT_EQ(map.bands.front(), 0);
    EXPECT_EQ(map.bands.back(), 14);
    for (std::size_t i = 2; i < map.bands.size(); ++i)
        EXPECT_GE(map.bands[i], map.bands[i - 2]);
}

TEST(ColourMap, PreconditionsInOrderWithTheirMessages)
{
    solver::SolverModel m = test::gridModel(1, 1, 0, 0, 1, 1, [](double, double) { return 0.0; });
    EXPECT_TRUE(checkMapQuantity(m, MapaInducao));
    EXPECT_EQ(checkMapQuantity(m, MapaCampoE).message, msg::MapaSoEletrico);
    EXPECT_EQ(checkMapQuantity(m, MapaInducaoEletrica).message, msg::MapaSoEletrico);
    EXPECT_EQ(checkMapQuantity(m, MapaDensCorrente).message, msg::MapaSemCorrentesInduzidas);
    m.conductive = 1;
    EXPECT_EQ(checkMapQuantity(m, MapaDensPerdas).message, msg::MapaSemCorrentesInduzidas);
    m.calculationKind = solver::CalculationKind::InducedCurrents;
    EXPECT_TRUE(checkMapQuantity(m, MapaDensPerdas));
    EXPECT_TRUE(checkMapQuantity(m, MapaCampoH));
    m.calculationKind = solver::CalculationKind::NotCalculated;
    EXPECT_EQ(checkMapQuantity(m, MapaCampoH).message, msg::MapaSemResultado);
    EXPECT_EQ(checkMapQuantity(m, MapaDensCorrente).message, msg::MapaSemResultados);
    m.magnetic = 0;
    EXPECT_EQ(checkMapQuantity(m, MapaInducao).message, msg::MapaSoMagnetico);
    EXPECT_EQ(checkMapQuantity(m, MapaDensPerdas).message, msg::MapaSoMagnetico);
    EXPECT_EQ(checkMapQuantity(m, MapaCampoE).message, msg::MapaSemResultado);
    EXPECT_FALSE(checkMapQuantity(m, 6));
    EXPECT_EQ(mapCaption(MapaInducaoEletrica), "Indução Elet. [C/m² ]");
    EXPECT_TRUE(mapCaption(9).empty());
}

TEST(ColourMap, InducedCurrentAndLossDensity)
{
    solver::SolverModel m
        = test::gridModel(2, 1, 0, 0, 2, 1, [](double x, double) { return 1e-5 * x; });
    m.calculationKind = solver::CalculationKind::InducedCurrents;
    m.conductive = 1;
    m.frequency = 60.0;
    m.imaginaryNodes = m.nodes;
    for (solver::MeshNode& n : m.imaginaryNodes)
        n.value = 2e-5;
    const double sigma = 1e6;
    m.regions.at(1).condutividade = sigma;

    evaluation::ElementVertices v;
    ASSERT_TRUE(evaluation::elementVertices(m, 0, v));
    double a = 0.0;
    double sumSq = 0.0;
    double sumPairs = 0.0;
    for (std::size_t i = 0; i < 3; ++i) {
        const double ai = v.node[i]->value;
        const double aj = v.node[(i + 1) % 3]->value;
        a += ai / 3;
        sumSq += ai * ai + 2e-5 * 2e-5;
        sumPairs += ai * aj + 2e-5 * 2e-5;
    }
    const double omega = 2 * 3.14159265358979323846 * 60.0;
    EXPECT_NEAR(
        triangleMapValue(m, 0, MapaDensCorrente), omega * sigma * std::hypot(a, 2e-5) / 1e6, 1e-12);
    EXPECT_NEAR(triangleMapValue(m, 0, MapaDensPerdas),
        omega * omega * sigma / 12 * (sumSq + sumPairs), 1e-9);
    // A region that does not conduct: no loss, the lowest band.
    m.regions.at(1).condutividade = 1e-31;
    EXPECT_EQ(triangleMapValue(m, 0, MapaDensPerdas), 0.0);
    EXPECT_EQ(triangleMapValue(m, 0, MapaDensCorrente), omega * 1e-31 * std::hypot(a, 2e-5) / 1e6);
}

TEST(ColourMap, TriangleOutsideEveryRegionIsLeftUnpainted)
{
    solver::SolverModel m = test::gridModel(2, 1, 0, 0, 2, 1, [](double x, double) { return x; });
    // Region 2 now covers only the left square.
    m.regions.at(1) = test::polygonRegion({ { 0, 0 }, { 1, 0 }, { 1, 1 }, { 0, 1 } });
    m.derivarRegioes();
    const ColourMap map = computeColourMap(m, MapaCampoH);
    EXPECT_EQ(map.unpainted, 2u);
    EXPECT_EQ(map.bands[2], -1);
    EXPECT_EQ(map.bands[3], -1);
    EXPECT_GE(map.bands[0], 0);
    // |B| needs no region: every triangle has it.
    EXPECT_EQ(computeColourMap(m, MapaInducao).unpainted, 0u);
}

TEST(ColourMap, MillionTrianglesStayFast)
{
    // 708 × 708 squares: a million triangles. Generous bounds that still catch any per-triangle
    // search of the whole mesh.
    const solver::SolverModel m = test::gridModel(
        708, 708, 0, 0, 708, 708, [](double x, double y) { return 1e-3 * x * y; });
    ASSERT_GT(m.elements.size(), 1000000u);
    const auto start = std::chrono::steady_clock::now();
    const ColourMap map = computeColourMap(m, MapaCampoH);
    EXPECT_EQ(map.unpainted, 0u);
    const double mapSeconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("map_seconds", std::to_string(mapSeconds));
    int found = 0;
    for (int k = 0; k < 20000; ++k) {
        const double x = 0.5 + (k * 37 % 707);
        const double y = 0.25 + (k * 91 % 707);
        found += evaluation::locateElement(m, x, y) != evaluation::NoElement;
    }
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(found, 20000);
    EXPECT_LT(seconds, 20.0);
    RecordProperty("seconds", std::to_string(seconds));
}
