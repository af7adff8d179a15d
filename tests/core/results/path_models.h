#pragma once

// Solved electric models of plane electrodes for the path tests: a 10 × 5 grid of 1 mm cells,
// the bottom row held at `high` volts and the top row at 0, horizontal layers of dielectric, and
// the two electrodes as segments with an imposed potential.

#include "../solver/run_test_support.h"

#include "problem/records.h"
#include "solver/runs.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvex::pathtest {

/// A horizontal layer from y0 to y1 with its relative permittivity.
struct Layer {
    double y0 = 0.0;
    double y1 = 5.0;
    double er = 2.2;
};

inline problem::SegmentoContorno electrode(double x1, double y1, double x2, double y2, double v)
{
    problem::SegmentoContorno s = problem::SegmentoContorno::reta({ x1, y1 }, { x2, y2 });
    s.potencial = v;
    return s;
}

/**
 * Solved by the linear run. Electrodes in list order: the bottom one (`high`), then the top one
 * (0), unless `electrodes` replaces them.
 */
inline solver::SolverModel platesModel(const std::vector<Layer>& layers, double high,
    std::vector<problem::SegmentoContorno> electrodes = {})
{
    using runtest::GridRegion;
    std::vector<GridRegion> regions;
    regions.push_back({ runtest::rectangle(0, 0, 10, 5) });
    for (const Layer& l : layers)
        regions.push_back({ runtest::rectangle(0, l.y0, 10, l.y1),
            [er = l.er](problem::Regiao& r) { r.permissividadeRelativa = er; } });
    runtest::GridModel g = runtest::buildGridModel(
        { 0.0, 0.0, 1.0, 1.0, 10, 5 }, regions,
        [high](int, int j) -> std::optional<double> {
            if (j == 0)
                return high;
            if (j == 5)
                return 0.0;
            return std::nullopt;
        },
        false);
    solver::SolverModel m = std::move(g.model);
    if (electrodes.empty())
        electrodes = { electrode(0, 0, 10, 0, high), electrode(0, 5, 10, 5, 0.0) };
    // Pushed at the front from the last one, so the list runs in the order given.
    for (auto e = electrodes.rbegin(); e != electrodes.rend(); ++e)
        m.potentialSegments.pushFront(*e);
    solver::RunSettings settings;
    settings.linearTolerance = 1e-13;
    runtest::RecordingReporter reporter;
    EXPECT_EQ(solver::runLinear(m, settings, reporter).end, solver::RunEnd::Finished);
    return m;
}

} // namespace tarvex::pathtest
