#pragma once

// Support for the calculation-run tests: solver models built by hand on a regular grid of right
// triangles (for cases that need a known mesh: a one-dimensional skin-effect strip, a grid shared
// with a finite-volume reference), numbered as the export numbers them (free nodes first, imposed
// ones last), and a reporter that records what a run reports and can stop it.

#include "common/messages.h"
#include "problem/records.h"
#include "solver/assembly.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvex::runtest {

struct GridSpec {
    double x0 = 0.0;
    double y0 = 0.0;
    double hx = 1.0; ///< cell width, drawing units
    double hy = 1.0;
    int nx = 1; ///< cells across
    int ny = 1; ///< cells up
};

/// A region as the polygon of its contour (straight sides), with its material.
struct GridRegion {
    std::vector<geometry::Ponto> polygon;
    std::function<void(problem::Regiao&)> material = [](problem::Regiao&) {};
};

inline problem::Regiao regionFromPolygon(const std::vector<geometry::Ponto>& polygon)
{
    problem::Regiao r;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const geometry::Ponto& a = polygon[i];
        const geometry::Ponto& b = polygon[(i + 1) % polygon.size()];
        r.segmentos.pushBack(problem::SegmentoContorno::reta(a, b));
    }
    return r;
}

/// Grid node (i, j), 0 <= i <= nx, 0 <= j <= ny, to its model node number.
struct GridModel {
    solver::SolverModel model;
    GridSpec grid;
    std::vector<int> number; ///< (nx + 1) (ny + 1) entries, row by row

    int node(int i, int j) const
    {
        return number[static_cast<std::size_t>(j) * static_cast<std::size_t>(grid.nx + 1)
            + static_cast<std::size_t>(i)];
    }
    double value(int i, int j) const
    {
        return model.nodes[static_cast<std::size_t>(node(i, j))].value;
    }
    double imaginary(int i, int j) const
    {
        return model.imaginaryNodes[static_cast<std::size_t>(node(i, j))].value;
    }
};

/**
 * The grid's model: regions in list order (region 1 is the outer contour and is never found by
 * the region search; a later region that covers the whole domain acts as the background), the
 * imposed potential of each node where `imposed` gives one, and the system assembled as the export
 * leaves it (conductivity block included when some region conducts).
 */
inline GridModel buildGridModel(const GridSpec& grid, const std::vector<GridRegion>& regions,
    const std::function<std::optional<double>(int, int)>& imposed, bool magnetic = true)
{
    GridModel out;
    out.grid = grid;
    solver::SolverModel& m = out.model;
    m.magnetic = magnetic ? 1 : 0;
    m.scaleFactor = 1000.0;
    for (const GridRegion& g : regions) {
        problem::Regiao r = regionFromPolygon(g.polygon);
        g.material(r);
        m.regions.pushBack(std::move(r));
    }
    const int columns = grid.nx + 1;
    const int rows = grid.ny + 1;
    out.number.assign(static_cast<std::size_t>(columns * rows), 0);
    std::vector<std::pair<int, double>> fixed; // grid index, potential
    int next = 0;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            const std::optional<double> a = imposed(i, j);
            if (a)
                fixed.push_back({ j * columns + i, *a });
            else
                out.number[static_cast<std::size_t>(j * columns + i)] = ++next;
        }
    m.freeNodes = next;
    m.nodes.assign(static_cast<std::size_t>(columns * rows) + 1, solver::MeshNode {});
    for (const auto& [index, potential] : fixed) {
        out.number[static_cast<std::size_t>(index)] = ++next;
        m.nodes[static_cast<std::size_t>(next)].value = potential;
    }
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < columns; ++i) {
            solver::MeshNode& node = m.nodes[static_cast<std::size_t>(out.node(i, j))];
            node.x = grid.x0 + i * grid.hx;
            node.y = grid.y0 + j * grid.hy;
        }
    // Two clockwise triangles per cell, so that every element has D < 0.
    for (int j = 0; j < grid.ny; ++j)
        for (int i = 0; i < grid.nx; ++i) {
            const int a = out.node(i, j), b = out.node(i + 1, j);
            const int c = out.node(i + 1, j + 1), d = out.node(i, j + 1);
            m.elements.pushBack({ a, d, c });
            m.elements.pushBack({ a, c, b });
        }
    m.imaginaryNodes = m.nodes;
    for (std::size_t i = 1; i < m.imaginaryNodes.size(); ++i)
        m.imaginaryNodes[i].value = 0.0;
    m.derivarRegioes();
    const solver::AssemblyResult assembled = solver::assembleLinear(m, solver::ExportSlotsPerRow);
    EXPECT_TRUE(assembled) << assembled.status.message;
    const solver::AssemblyResult conducting = solver::assembleConductivity(m);
    EXPECT_TRUE(conducting) << conducting.status.message;
    return out;
}

inline std::vector<geometry::Ponto> rectangle(double x1, double y1, double x2, double y2)
{
    return { { x1, y1 }, { x2, y1 }, { x2, y2 }, { x1, y2 } };
}

/// Records statuses, iteration lines and bar positions; answers "stop" at the given goOn() call.
class RecordingReporter : public solver::RunReporter {
public:
    explicit RecordingReporter(int stopAtCall = 0)
        : m_stopAt(stopAtCall)
    {
    }

    void status(std::string_view text) override { statuses.emplace_back(text); }
    void percent(int value) override { positions.push_back(value); }
    bool goOn() override { return ++calls != m_stopAt; }
    void iterationLine(std::string_view text) override { lines.emplace_back(text); }

    /// The statuses that name a solve: "N" for Newton, "L" for fixed point, in order.
    std::string solveKinds() const
    {
        std::string kinds;
        for (const std::string& s : statuses) {
            if (s == msg::StatusMetNewton)
                kinds += 'N';
            else if (s == msg::StatusMetLinear)
                kinds += 'L';
        }
        return kinds;
    }

    std::vector<std::string> statuses;
    std::vector<std::string> lines;
    std::vector<int> positions;
    int calls = 0;

private:
    int m_stopAt;
};

} // namespace tarvex::runtest
