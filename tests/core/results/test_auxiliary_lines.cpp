#include "results/auxiliary_lines.h"
#include "solver/solver_model.h"

#include "core/evaluation/model_builders.h"

#include <gtest/gtest.h>

using namespace tarvex;
using problem::SegmentoContorno;

namespace {

/// The 10 × 10 grid split at x = 5 into two regions after the outer contour and the background.
solver::SolverModel halves()
{
    solver::SolverModel m = test::gridModel(2, 2, 0, 0, 10, 10, [](double, double) { return 0.0; });
    m.regions.pushBack(test::polygonRegion({ { 0, 0 }, { 5, 0 }, { 5, 10 }, { 0, 10 } }));
    m.regions.pushBack(test::polygonRegion({ { 5, 0 }, { 10, 0 }, { 10, 10 }, { 5, 10 } }));
    m.derivarRegioes();
    return m;
}

} // namespace

TEST(AuxiliaryLines, LinesBetweenRegionsOfTheSameMaterialGo)
{
    solver::SolverModel m = halves();
    results::LinhasAuxiliares found = results::linhasAuxiliaresAutomaticas(m);
    // The line x = 5 between the halves, and the background's sides shared with each half: the
    // background (region 2) is air like them. The outer contour (region 1) never counts.
    EXPECT_TRUE(results::contemLinha(found, SegmentoContorno::reta({ 5, 10 }, { 5, 0 })));
    EXPECT_EQ(found.size(), 3u);

    // Conductivity is not compared; a different permeability keeps the lines of that region.
    m.regions.at(3).condutividade = 5e7;
    EXPECT_EQ(results::linhasAuxiliaresAutomaticas(m).size(), 3u);
    m.regions.at(3).permRelativa = 1000.0;
    found = results::linhasAuxiliaresAutomaticas(m);
    EXPECT_FALSE(results::contemLinha(found, SegmentoContorno::reta({ 5, 0 }, { 5, 10 })));
    EXPECT_EQ(found.size(), 1u);
    // The region of higher permeability coming first in the list is no reason either.
    m.regions.at(2).permRelativa = 1000.0;
    m.regions.at(1).permRelativa = 1000.0;
    found = results::linhasAuxiliaresAutomaticas(m);
    EXPECT_EQ(found.size(), 0u);
}

TEST(AuxiliaryLines, NearestVisibleLine)
{
    const solver::SolverModel m = halves();
    const auto first = results::linhaMaisProxima(m, { 5.2, 3 }, {});
    ASSERT_TRUE(first);
    EXPECT_TRUE(problem::iguais(*first, SegmentoContorno::reta({ 5, 0 }, { 5, 10 })));
    const auto second = results::linhaMaisProxima(m, { 5.2, 3 }, { *first });
    ASSERT_TRUE(second);
    EXPECT_FALSE(problem::iguais(*second, *first));
}
