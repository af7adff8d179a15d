#pragma once

// Shared by the critical and creepage paths: the mesh's node-to-triangle incidence, so that a
// path finds its next triangle or its next vertex among a handful of neighbours instead of
// scanning the triangle list, and the geometry of an electrode or contour element.

#include "geometry/records.h"
#include "problem/records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::results::detail {

/**
 * The triangles of a model by list position with their node numbers, and the triangles around a
 * node, found through the model's point-location index (built once per model and kept), so that
 * a path needs no pass over the whole mesh of its own.
 */
class MeshTopology {
public:
    explicit MeshTopology(const solver::SolverModel& model);

    std::size_t elementCount() const { return m_count; }
    /// Node numbers of a triangle in its stored order; all 0 for a triangle with a node out of
    /// range.
    std::array<std::int32_t, 3> nodesOf(std::size_t element) const;
    bool usable(std::size_t element) const { return nodesOf(element)[0] != 0; }
    /// The node at p among the vertices of the usable triangles near it, or 0.
    std::int32_t nodeAt(const geometry::Ponto& p) const;
    /// Triangles having the node, ascending list position.
    std::vector<std::uint32_t> around(std::int32_t node) const;

private:
    const solver::SolverModel& m_model;
    std::size_t m_count = 0;
};

/// A contour element (straight or arc) as plain geometry. Arcs run counterclockwise from `a` to
/// `b` about `c` (the stored orientation already applied).
struct Elemento {
    geometry::Ponto a;
    geometry::Ponto b;
    geometry::Ponto c;
    bool arco = false;
    double raio = 0.0;
    double anguloInicio = 0.0; ///< polar angle of a about c
    double extensao = 0.0; ///< angle swept from a to b, (0, 2π]
};
Elemento elemento(const problem::SegmentoContorno& s);

/// The point of the element nearest to p, with its distance.
struct Projecao {
    geometry::Ponto ponto;
    double distancia = 0.0;
};
Projecao projeta(const Elemento& e, const geometry::Ponto& p);

/// The point lies on the element: within a distance relative to its size (1e-7) and between its
/// ends, ends included.
bool sobreElemento(const Elemento& e, const geometry::Ponto& p);
/// Position of a point of the element along it from `a`: 0 … 1.
double parametro(const Elemento& e, const geometry::Ponto& p);

} // namespace tarvex::results::detail
