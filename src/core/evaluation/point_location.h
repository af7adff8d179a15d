#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
struct MeshElement;
struct MeshNode;
} // namespace tarvex::solver

namespace tarvex::evaluation {

/// A triangle by its zero-based position in the model's element list (list order).
using ElementPosition = std::size_t;
inline constexpr ElementPosition NoElement = std::numeric_limits<ElementPosition>::max();

/// The three vertex records of a triangle, in the triangle's stored order.
struct ElementVertices {
    std::array<const solver::MeshNode*, 3> node {};
    std::array<std::int32_t, 3> number {};
};

/// The vertices of the triangle at `position`; false when a node number is out of range.
bool elementVertices(
    const solver::SolverModel& model, ElementPosition position, ElementVertices& out);

/**
 * Signs of the areas that the point makes with the three edges (1-2, 2-3, 3-1) of a triangle:
 * +1 above 2e-8, -1 below -2e-8, 0 in between.
 */
std::array<int, 3> edgeSigns(const ElementVertices& v, double x, double y);

/// The point is in the triangle, its outline included: no two edge signs are opposite.
bool containsPoint(const std::array<int, 3>& signs);
/// Strictly inside: all three signs equal and non-zero.
bool strictlyInside(const std::array<int, 3>& signs);

/**
 * Uniform grid over the triangles of a model: each cell lists, in ascending list position, every
 * triangle whose box (widened by the dead band of the edge test and by the vertex tolerance of
 * 1e-4) meets the cell. Any triangle whose containment, edge or vertex test can accept a point is
 * therefore listed in the cell of that point, so walking a cell in order finds the same triangle
 * as walking the whole list.
 */
class ElementIndex {
public:
    explicit ElementIndex(const solver::SolverModel& model);

    /// Triangles that may accept the point, ascending list position; empty outside the grid.
    std::pair<const std::uint32_t*, const std::uint32_t*> candidates(double x, double y) const;

    /**
     * Appends the triangles of every cell that the band of half-width `margin` about the segment
     * from (x1, y1) to (x2, y2) meets, repeats included: any triangle that holds a point within
     * `margin` of the segment is among them. Coordinates that are not finite take every cell.
     */
    void collectAlong(double x1, double y1, double x2, double y2, double margin,
        std::vector<std::uint32_t>& out) const;

    std::size_t elementCount() const { return m_elementCount; }
    std::size_t nodeCount() const { return m_nodeCount; }

private:
    int cellX(double x) const;
    int cellY(double y) const;

    std::size_t m_elementCount = 0;
    std::size_t m_nodeCount = 0;
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    double m_x1 = 0.0;
    double m_y1 = 0.0;
    double m_cellW = 1.0;
    double m_cellH = 1.0;
    int m_cellsX = 0;
    int m_cellsY = 0;
    std::vector<std::uint32_t> m_cellStart; ///< compressed rows, one per cell, plus the end
    std::vector<std::uint32_t> m_cellElements;
};

/**
 * The model's index, built on first use and kept in the model (its geometry never changes after
 * a load or an export; a model read again starts without one). Rebuilt when the counts of nodes
 * or triangles no longer match.
 */
const ElementIndex& elementIndex(const solver::SolverModel& model);

/**
 * `locateElement`: the first triangle in list order that contains the point (outline included,
 * by the signs of edgeSigns), or NoElement.
 */
ElementPosition locateElement(const solver::SolverModel& model, double x, double y);

/// The region of a triangle: the assembly's cached number when there is one, else the region
/// that contains the centroid (findRegionAt); 0 when none.
int elementRegionOf(
    const solver::SolverModel& model, ElementPosition position, const ElementVertices& v);

/// Twice the signed area of the triangle (negative for the solver's orientation).
double twiceSignedArea(const ElementVertices& v);

} // namespace tarvex::evaluation
