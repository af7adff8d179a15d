#pragma once

// Small solver models made by hand, for the evaluation and colour-map tests.

#include "problem/records.h"
#include "solver/solver_model.h"

#include <functional>
#include <vector>

namespace tarvex::test {

/// A region whose contour is the closed polygon through `corners`.
inline problem::Regiao polygonRegion(const std::vector<geometry::Ponto>& corners)
{
    problem::Regiao r;
    for (std::size_t i = 0; i < corners.size(); ++i)
        r.segmentos.pushBack(
            problem::SegmentoContorno::reta(corners[i], corners[(i + 1) % corners.size()]));
    return r;
}

/**
 * A structured mesh of nx × ny squares over [x0, x1] × [y0, y1], each square cut along its
 * rising diagonal into two triangles listed clockwise (as the solver keeps them). Region 1 is the
 * outer contour and region 2 covers the whole rectangle. Node values come from `potential`.
 * Triangles are listed square by square, the lower-right triangle of each square first.
 */
inline solver::SolverModel gridModel(int nx, int ny, double x0, double y0, double x1, double y1,
    const std::function<double(double, double)>& potential, std::uint8_t magnetic = 1)
{
    solver::SolverModel m;
    m.magnetic = magnetic;
    m.scaleFactor = 1000.0;
    m.window = { x0, x1, y0, y1 };
    const auto id = [&](int i, int j) { return j * (nx + 1) + i + 1; };
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            const double x = x0 + (x1 - x0) * i / nx;
            const double y = y0 + (y1 - y0) * j / ny;
            m.nodes.push_back({ x, y, potential(x, y) });
        }
    std::vector<solver::MeshElement> listed;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const int a = id(i, j), b = id(i + 1, j), c = id(i + 1, j + 1), d = id(i, j + 1);
            listed.push_back({ a, c, b });
            listed.push_back({ a, d, c });
        }
    // Pushed at the front from the last one, so the list runs in the order built.
    for (auto e = listed.rbegin(); e != listed.rend(); ++e)
        m.elements.pushFront(*e);
    m.freeNodes = m.nodeCount();
    const std::vector<geometry::Ponto> box = { { x0, y0 }, { x1, y0 }, { x1, y1 }, { x0, y1 } };
    m.regions.pushBack(polygonRegion(box));
    m.regions.pushBack(polygonRegion(box));
    m.calculationKind = solver::CalculationKind::Linear;
    m.derivarRegioes();
    return m;
}

} // namespace tarvex::test
