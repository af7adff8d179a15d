#pragma once

// Solver models built by hand for the assembly tests: nodes numbered as the export numbers them
// (free, masters, slaves, imposed), clockwise triangles, rectangular regions.

#include "problem/records.h"
#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

namespace assembly_test {

using tarvex::linalg::RealVector;
using tarvex::linalg::SparseSymMatrix;
using tarvex::problem::Regiao;
using tarvex::problem::SegmentoContorno;
using tarvex::solver::MeshElement;
using tarvex::solver::MeshNode;
using tarvex::solver::SolverModel;

using Dense = std::vector<std::vector<double>>; // zero-based

/// A region whose contour is the rectangle [x0, x1] x [y0, y1].
inline Regiao rectangleRegion(double x0, double y0, double x1, double y1)
{
    Regiao r;
    r.segmentos.pushBack(SegmentoContorno::reta({ x0, y0 }, { x1, y0 }));
    r.segmentos.pushBack(SegmentoContorno::reta({ x1, y0 }, { x1, y1 }));
    r.segmentos.pushBack(SegmentoContorno::reta({ x1, y1 }, { x0, y1 }));
    r.segmentos.pushBack(SegmentoContorno::reta({ x0, y1 }, { x0, y0 }));
    return r;
}

/// Regions in list order (the first one is the outer contour), polygons indexed.
inline void setRegions(SolverModel& model, std::vector<Regiao> regions)
{
    model.regions.clear();
    for (Regiao& r : regions)
        model.regions.pushBack(std::move(r));
    model.derivarRegioes();
}

inline void addElement(SolverModel& model, int a, int b, int c)
{
    model.elements.pushBack(MeshElement { a, b, c });
}

/// Dense copy of the full symmetric matrix (zero-based).
inline Dense dense(const SparseSymMatrix& m)
{
    const int n = m.order();
    Dense d(static_cast<std::size_t>(n), std::vector<double>(static_cast<std::size_t>(n), 0.0));
    for (int i = 1; i <= n; ++i)
        for (int s = m.rowBegin(i); s < m.rowEnd(i); ++s) {
            const int j = m.column(s);
            if (j == 0)
                continue;
            d[i - 1][j - 1] += m.value(s);
            if (j != i)
                d[j - 1][i - 1] += m.value(s);
        }
    return d;
}

inline int storedInRow(const SparseSymMatrix& m, int i)
{
    int count = 0;
    for (int s = m.rowBegin(i); s < m.rowEnd(i); ++s)
        count += m.column(s) != 0 ? 1 : 0;
    return count;
}

enum class NodeKind { Free, Master, Slave, Imposed };

/**
 * A structured grid of nx by ny cells over [x0, x0 + nx hx] x [y0, y0 + ny hy], two clockwise
 * triangles per cell, nodes classified by `kind(ix, iy)` and numbered free, masters, slaves,
 * imposed. Slaves are paired with the master at the same height. `value(ix, iy)` gives the
 * potential of imposed nodes.
 */
struct Grid {
    int nx = 1;
    int ny = 1;
    double x0 = 0.0;
    double y0 = 0.0;
    double hx = 1.0;
    double hy = 1.0;
    std::vector<int> number; ///< by ix + (nx + 1) iy

    int at(int ix, int iy) const { return number[static_cast<std::size_t>(ix + (nx + 1) * iy)]; }
    double xOf(int ix) const { return x0 + hx * ix; }
    double yOf(int iy) const { return y0 + hy * iy; }

    void build(SolverModel& model, const std::function<NodeKind(int, int)>& kind,
        const std::function<double(int, int)>& value = {})
    {
        number.assign(static_cast<std::size_t>((nx + 1) * (ny + 1)), 0);
        std::vector<std::pair<int, int>> byKind[4];
        for (int iy = 0; iy <= ny; ++iy)
            for (int ix = 0; ix <= nx; ++ix)
                byKind[static_cast<int>(kind(ix, iy))].emplace_back(ix, iy);
        // Masters and slaves by height so that slave k pairs with master k.
        for (int k : { 1, 2 })
            std::stable_sort(byKind[k].begin(), byKind[k].end(),
                [](const auto& a, const auto& b) { return a.second < b.second; });
        model.nodes.assign(1, MeshNode {});
        int next = 0;
        for (int k = 0; k < 4; ++k)
            for (const auto& [ix, iy] : byKind[k]) {
                number[static_cast<std::size_t>(ix + (nx + 1) * iy)] = ++next;
                double v = 0.0;
                if (k == 3 && value)
                    v = value(ix, iy);
                model.nodes.push_back(MeshNode { xOf(ix), yOf(iy), v });
            }
        const int free = static_cast<int>(byKind[0].size());
        const int masters = static_cast<int>(byKind[1].size());
        model.freeNodes = free + masters;
        model.slaveCount = static_cast<int>(byKind[2].size());
        model.slaveMasters.assign(1, 0);
        for (int k = 0; k < model.slaveCount; ++k) {
            const int master = free + 1 + k;
            model.slaveMasters.push_back(master);
            model.nodes[static_cast<std::size_t>(master)].value = master;
            model.nodes[static_cast<std::size_t>(model.freeNodes + 1 + k)].value = master;
        }
        model.elements.clear();
        for (int iy = 0; iy < ny; ++iy)
            for (int ix = 0; ix < nx; ++ix) {
                const int p00 = at(ix, iy), p10 = at(ix + 1, iy);
                const int p01 = at(ix, iy + 1), p11 = at(ix + 1, iy + 1);
                addElement(model, p00, p01, p10);
                addElement(model, p10, p01, p11);
            }
        model.elementRegion.clear();
    }
};

/// Gaussian elimination with partial pivoting (small systems only).
inline std::vector<double> solveDense(Dense a, std::vector<double> b)
{
    const std::size_t n = b.size();
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t best = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[best][c]))
                best = r;
        std::swap(a[c], a[best]);
        std::swap(b[c], b[best]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (std::size_t k = c; k < n; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    std::vector<double> x(n, 0.0);
    for (std::size_t r = n; r-- > 0;) {
        double s = b[r];
        for (std::size_t k = r + 1; k < n; ++k)
            s -= a[r][k] * x[k];
        x[r] = s / a[r][r];
    }
    return x;
}

/// Solves the model's assembled system directly; the potentials of all nodes (one-based), slaves
/// from their masters and imposed nodes from their records.
inline std::vector<double> solveModel(const SolverModel& model)
{
    const Dense k = dense(model.matrix);
    std::vector<double> f(model.rhs.count());
    for (std::size_t i = 1; i <= model.rhs.count(); ++i)
        f[i - 1] = model.rhs[i];
    const std::vector<double> x = solveDense(k, f);
    std::vector<double> all(model.nodes.size(), 0.0);
    const int nm = model.freeNodes;
    for (int i = 1; i <= model.nodeCount(); ++i) {
        if (i <= nm)
            all[static_cast<std::size_t>(i)] = x[static_cast<std::size_t>(i) - 1];
        else if (i <= nm + model.slaveCount) {
            const double sign
                = model.symmetryKind == tarvex::problem::SymmetryKind::AntiSymmetry ? -1.0 : 1.0;
            all[static_cast<std::size_t>(i)] = sign
                * x[static_cast<std::size_t>(model.slaveMasters[static_cast<std::size_t>(i - nm)])
                    - 1];
        } else
            all[static_cast<std::size_t>(i)] = model.nodes[static_cast<std::size_t>(i)].value;
    }
    return all;
}

} // namespace assembly_test
