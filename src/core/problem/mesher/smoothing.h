#pragma once

#include "geometry/records.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tarvex::problem {
class ProblemData;
}

namespace tarvex::problem::mesher {

using geometry::Ponto;

/**
 * A finished mesh by vertex ids: the triangles in list order with their vertices as written, the
 * node order, which nodes may not move, and the triangles around every vertex. The smoothing, the
 * recentring of a loaded mesh and the mesh information work on it.
 */
struct MalhaIndices {
    std::vector<Ponto> pontos;
    std::vector<std::array<std::int32_t, 3>> tris;
    std::vector<char> fixo; ///< per vertex: lies on a contour, never moves
    std::vector<std::int32_t> ordemNos; ///< every vertex once, in node-list order
    std::vector<std::int32_t> inicioTri; ///< vertex -> its triangles, compressed rows
    std::vector<std::int32_t> listaTri;

    /// Builds the vertex -> triangles rows from `tris`.
    void indexa();
};

/// 8(s − l1)(s − l2)(s − l3)/(l1·l2·l3): 1 for an equilateral triangle, 0 for a flat one.
double qualidadeTriangulo(const Ponto& a, const Ponto& b, const Ponto& c);
/// Mean triangle quality; 0 for no triangles.
double qualidadeMedia(const MalhaIndices& malha);

/// One smoothing pass over `nos` in order: every free node goes to the mean of the other two
/// vertices of each of its triangles. A move that would turn over or flatten one of the node's
/// triangles is not made. True when a node moved.
bool passoSuavizacao(MalhaIndices& malha, const std::vector<std::int32_t>& nos);
/// All free nodes, in node-list order.
bool passoCompleto(MalhaIndices& malha);
/// The free vertices of the triangles whose quality is below `limite`, each once, in triangle
/// and vertex order.
bool passoSeletivo(MalhaIndices& malha, double limite);

/// The generator's smoothing schedule, chosen by the number of triangles. Returns the quality.
double suavizaPorTamanho(MalhaIndices& malha);

/**
 * The index form of a document's mesh: vertices are the distinct triangle vertices (coincidence
 * 1e-8), ordered as the document's node list when it has one, else by first appearance. A node
 * is fixed when it lies on a contour element, on the mesh border, or between triangles of
 * different regions (chord points of arcs included).
 */
MalhaIndices malhaDoDocumento(const ProblemData& data);

/// Writes the triangles back into the document (same order) and the node list in node order.
void escreveMalha(const MalhaIndices& malha, ProblemData& data);

} // namespace tarvex::problem::mesher
