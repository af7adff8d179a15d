#pragma once

#include "geometry/records.h"

#include <cstdint>
#include <vector>

namespace tarvex::problem {

using geometry::Ponto;

/// The outline of a region as straight chords. Normally one closed ring; a contour that does not
/// chain into one path gives one ring per piece, so that every edge still takes part in the
/// inside test. Each ring is closed implicitly (the last vertex joins the first).
struct PoligonoRegiao {
    std::vector<std::vector<Ponto>> aneis;

    bool vazio() const { return aneis.empty(); }
};

/// Far end of the ray of the inside test; the same point the mesh generator uses, so every part
/// of the program agrees on which side of an outline a point lies.
inline constexpr Ponto FimRaioInterior { 1122345000000000.0, 1987600000000000.0 };

/// Whether the edge AB properly crosses the ray from `p` towards FimRaioInterior, by the rule of
/// geometry::cruzamento (an edge that touches the ray, or has `p` as an end point or on its line,
/// does not count) but with the far point taken at infinity, so the result does not drown in the
/// rounding of coordinates of order 1e15.
bool cruzaRaio(const Ponto& p, const Ponto& a, const Ponto& b);

/// floor((value - origin) / width) clamped to [0, count - 1]; monotone in `value`, so a point
/// inside a box always falls in one of the box's buckets.
int bucketOf(double value, double origin, double width, std::size_t count);

/// Inside test: the point is inside when an odd number of edges cross its ray (cruzaRaio).
/// Looks at every edge; RegionLocator gives the same answers without doing so.
bool contemPonto(const PoligonoRegiao& poligono, const Ponto& p);

/**
 * Finds the region that contains a point among the polygons of a problem's regions, given in list
 * order: the first polygon from position 2 on (position 1, the outer contour, is never returned)
 * that contains the point. Called once per mesh triangle by later stages, so a query must not
 * look at every region and every edge: a coarse grid over the regions' bounding boxes gives the
 * candidate regions in list order, and each polygon keeps its edges in buckets across the ray's
 * direction so that only the edges the ray can cross are tested.
 *
 * A point outside a polygon's bounding box is outside that polygon.
 */
class RegionLocator {
public:
    /// Indexes `polygons` (list order). Keeps its own copy of the edges.
    void build(const std::vector<PoligonoRegiao>& polygons);
    void clear();

    /// 1-based position of the first polygon from position 2 on that contains `p`; 0 when none.
    int find(const Ponto& p) const;

private:
    struct Edge {
        Ponto a;
        Ponto b;
    };
    struct Box {
        double xMin = 0.0;
        double yMin = 0.0;
        double xMax = 0.0;
        double yMax = 0.0;
        bool contains(const Ponto& p) const
        {
            return p.x >= xMin && p.x <= xMax && p.y >= yMin && p.y <= yMax;
        }
    };
    /// One polygon: its edges in buckets of the coordinate across the ray, as compressed rows.
    struct IndexedPolygon {
        Box box;
        std::vector<Edge> edges;
        double across0 = 0.0; ///< lowest across-ray coordinate of the buckets
        double bucketWidth = 0.0;
        std::vector<std::uint32_t> bucketStart; ///< empty: test every edge
        std::vector<std::uint32_t> bucketEdges;
        bool contains(const Ponto& p) const;
    };

    std::vector<IndexedPolygon> m_polygons; ///< list order; [0] is the outer contour
    Box m_gridBox;
    int m_cellsX = 0;
    int m_cellsY = 0;
    double m_cellW = 1.0;
    double m_cellH = 1.0;
    std::vector<std::uint32_t> m_cellStart; ///< compressed rows of polygon indices, ascending
    std::vector<std::uint32_t> m_cellPolygons;

    int cellX(double x) const;
    int cellY(double y) const;
};

} // namespace tarvex::problem
