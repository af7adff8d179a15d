#pragma once

#include "geometry/records.h"
#include "problem/records.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tarvex::problem::mesher {

using geometry::Ponto;

/**
 * Points hashed on a grid whose cells are wider than the coincidence distance (1e-4), so every
 * point that coincides with a given one lies in the 3 × 3 cells around it. Finding repeated nodes
 * among a million points this way stays linear.
 */
class HashPontos {
public:
    void reserve(std::size_t n);
    void insert(const Ponto& p, std::int32_t id);
    /// Id of the first inserted point that coincides with `p` (coincidence 1e-8), or -1.
    std::int32_t find(const Ponto& p, const std::vector<Ponto>& points) const;

private:
    static std::uint64_t keyOf(std::int64_t cx, std::int64_t cy);
    static std::int64_t cellOf(double v);
    std::unordered_map<std::uint64_t, std::int32_t> m_head; ///< cell -> last id inserted there
    std::vector<std::int32_t> m_next; ///< id -> previous id in the same cell, by id
    std::vector<std::int32_t> m_ids; ///< slot -> id
};

/// Distinct positions of `points` in order (the first of coinciding points stays), and for every
/// input point the index of its distinct position.
struct PontosDistintos {
    std::vector<Ponto> pontos;
    std::vector<std::int32_t> indice;
};
PontosDistintos pontosDistintos(const std::vector<Ponto>& points);

/**
 * Inside test of a point against a closed outline given as a loose edge list: the parity of the
 * edges that cruzaRaio() counts, the far end of the ray taken at infinity. The edges are filed in
 * buckets across the ray's direction, so a query looks only at the edges the ray can cross.
 */
class TesteInterior {
public:
    void build(const std::vector<std::pair<Ponto, Ponto>>& edges);
    bool contains(const Ponto& p) const;
    bool empty() const { return m_edges.empty(); }

private:
    std::vector<std::pair<Ponto, Ponto>> m_edges;
    double m_xMin = 0.0, m_xMax = 0.0, m_yMin = 0.0, m_yMax = 0.0;
    double m_across0 = 0.0;
    double m_width = 1.0;
    std::vector<std::uint32_t> m_start;
    std::vector<std::uint32_t> m_list;
};

/**
 * Contour elements filed on a grid, to answer "which elements does this node lie on" without
 * looking at every element: used to keep contour nodes still while smoothing and to move midpoints
 * back onto arcs when refining.
 */
class ContornoNos {
public:
    /// `tol`: largest distance from an element at which a point still counts as on it.
    void build(const std::vector<SegmentoContorno>& pool, double tol);
    /// Indices (into the pool given to build) of the elements `p` lies on, ascending.
    void elementsAt(const Ponto& p, std::vector<std::int32_t>& out) const;
    bool onAny(const Ponto& p) const;
    const SegmentoContorno& element(std::int32_t i) const { return m_pool[i]; }

private:
    bool liesOn(std::int32_t i, const Ponto& p) const;
    struct ArcData {
        double inicio = 0.0, fim = 0.0, raio = 0.0;
    };
    std::vector<SegmentoContorno> m_pool;
    std::vector<ArcData> m_arcs;
    double m_tol = 0.0;
    double m_x0 = 0.0, m_y0 = 0.0, m_cell = 1.0;
    int m_nx = 0, m_ny = 0;
    std::vector<std::uint32_t> m_start;
    std::vector<std::int32_t> m_list;
    int cellX(double x) const;
    int cellY(double y) const;
};

/// Twice the signed area of a, b, c (positive counter-clockwise).
inline double orient2(const Ponto& a, const Ponto& b, const Ponto& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

} // namespace tarvex::problem::mesher
