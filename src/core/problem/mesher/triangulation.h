#pragma once

#include "geometry/records.h"
#include "problem/records.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tarvex::problem {

namespace mesher {
class Triangulacao;
using VertexId = std::int32_t;
using TriId = std::int32_t;
inline constexpr TriId SemVizinho = -1;
/// A boundary edge by its end vertices.
struct ArestaVertices {
    VertexId a = -1;
    VertexId b = -1;
};
} // namespace mesher

/// The points of a run at which the working triangulation is complete enough to be checked.
enum class EtapaMalha {
    Fronteira, ///< boundary nodes inserted (count checked)
    PontosInternos, ///< interior refinement done
    RegiaoEspecial, ///< refinement of the special regions and areas done
    Angulo, ///< quality refinement done
    Fronteiras, ///< boundary edges recovered (count checked)
    Exterior, ///< triangles outside the domain removed
    Cantos, ///< corner triangles repaired
    Recentragem, ///< smoothing done
};

/**
 * Lets a view watch a run: the mesh grows triangle by triangle, so a view can erase what a cavity
 * removes and draw what it adds. Every call is cheap and synchronous on the run's thread; a view
 * should collect and repaint at its own pace. Colours are palette indices.
 */
class MeshObserver {
public:
    virtual ~MeshObserver() = default;
    /// Nodes drawn before they are triangulated: the boundary nodes, then grading midpoints.
    virtual void nodesPlaced(const std::vector<geometry::Ponto>&) { }
    virtual void triangleAdded(const Triangulo&) { }
    virtual void triangleRemoved(const Triangulo&) { }
    /// A boundary edge the run examines, or a triangle it works on (corner triangles: colour 5).
    virtual void edgeHighlighted(const geometry::Ponto&, const geometry::Ponto&, int /*cor*/) { }
    virtual void triangleHighlighted(const Triangulo&, int /*cor*/) { }
    /// The run is over (completed, failed or interrupted): redraw from the document's triangles.
    virtual void meshReset() { }
    /// The working state after a stage; for checks and diagnostics.
    virtual void stageDone(EtapaMalha, const mesher::Triangulacao&,
        const std::vector<mesher::ArestaVertices>& /*fronteira*/, std::size_t /*numNos*/)
    {
    }
};

namespace mesher {

using geometry::Ponto;

/// A triangle by vertex ids, counter-clockwise, with the neighbour across each side
/// (n[i] across v[i] → v[i+1]) and the key that places it in the document's list: a larger key
/// is nearer the front.
struct TriInterno {
    std::array<VertexId, 3> v {};
    std::array<TriId, 3> n { SemVizinho, SemVizinho, SemVizinho };
    std::uint64_t chave = 0;
    bool vivo = false;
};

/**
 * The working Delaunay triangulation of the mesh generator, index based: vertices and triangles
 * in flat arrays, neighbours by id, dead slots reused. A cavity insertion finds its cavity by a
 * walk and a search over neighbours, never by looking at every triangle.
 *
 * Triangles are stored counter-clockwise; the document's triangles are written clockwise, as the
 * generator has always produced them (the initial box triangles are clockwise and every cavity
 * keeps that turn), so triangulo() writes (v0, v2, v1).
 */
class Triangulacao {
public:
    explicit Triangulacao(double tolerancia = 0.0)
        : m_tolerancia(tolerancia)
    {
    }

    std::vector<Ponto> pontos;
    std::vector<TriInterno> tris;
    /// Some live triangle that has the vertex, or SemVizinho.
    std::vector<TriId> trianguloDoVertice;

    MeshObserver* observador = nullptr;

    VertexId novoVertice(const Ponto& p);
    /// The two clockwise box triangles of the first insertion: (xmin, ymin), (xmin, ymax),
    /// (xmax, ymax) and (xmin, ymin), (xmax, ymax), (xmax, ymin).
    void iniciaCaixa(double xMin, double yMin, double xMax, double yMax);

    std::size_t vivos() const { return m_vivos; }

    /// Result of a cavity insertion.
    struct Insercao {
        VertexId vertice = -1; ///< the new vertex, -1 when nothing was inserted
        VertexId coincidente = -1; ///< an existing vertex the point coincides with
        std::vector<TriId> novos; ///< the new triangles in creation order
    };
    /// Inserts `p` by the cavity method, starting the search from `inicio`. Does nothing when the
    /// point coincides with a vertex of its cavity, lies outside the triangulation, or no valid
    /// cavity remains.
    bool insere(const Ponto& p, TriId inicio, Insercao& out);

    /// The triangle that contains `p` (a walk from `inicio`), or SemVizinho when outside.
    TriId localiza(const Ponto& p, TriId inicio) const;

    /// Circumcentre and squared circumradius.
    void circuncirculo(TriId t, Ponto& k, double& r2) const;
    /// The cavity test: |P − K|² − tolerance < R² (points on the circle count as inside).
    bool noCircuncirculo(TriId t, const Ponto& p) const;

    /// Kills a triangle and cuts the links to it.
    void remove(TriId t);
    /// Creates a live triangle (counter-clockwise ids) with a new key; links are left to the
    /// caller.
    TriId cria(VertexId a, VertexId b, VertexId c);
    /// Gives a live triangle new vertices in place (it keeps its key).
    void redefine(TriId t, VertexId a, VertexId b, VertexId c);

    /// A triangle with the side a–b (either direction), or SemVizinho (a walk around a's fan).
    TriId comLado(VertexId a, VertexId b) const;
    /// The live triangles around vertex a.
    void leque(VertexId a, std::vector<TriId>& out) const;
    /// Points every vertex at one of its live triangles again (after many removals).
    void reindexaVertices();
    /// Index of side a → b in t, or -1.
    int ladoDe(TriId t, VertexId a, VertexId b) const;
    /// Sets the link across side a → b of t (if it has that side).
    void liga(TriId t, VertexId a, VertexId b, TriId outro);

    /// A document triangle: vertices written (v0, v2, v1), the clockwise turn.
    Triangulo triangulo(TriId t) const;

    /// Live triangle ids, front of the list first (descending key).
    std::vector<TriId> emOrdemDeLista() const;

private:
    TriId novaVaga();
    void notificaNovo(TriId t) const;
    void notificaRemovido(TriId t) const;
    // The steps of insere(), on the scratch cavity below.
    std::uint32_t marcaCavidade(const Ponto& p, TriId t0);
    VertexId verticeDaCavidadeEm(const Ponto& p) const;
    bool reduzAoVisivel(const Ponto& p, TriId t0, std::uint32_t& marca);
    void esvaziaCavidade(std::uint32_t marca);
    void preencheCavidade(VertexId pv, Insercao& out);

    double m_tolerancia = 0.0;
    std::size_t m_vivos = 0;
    std::uint64_t m_proximaChave = 1;
    std::vector<TriId> m_livres;
    mutable std::vector<std::uint32_t> m_marca;
    mutable std::uint32_t m_marcaAtual = 0;
    // Scratch space of insere(), kept to avoid allocations.
    std::vector<TriId> m_cavidade;
    struct LadoCavidade {
        VertexId a, b;
        TriId fora;
    };
    std::vector<LadoCavidade> m_lados;
};

} // namespace mesher
} // namespace tarvex::problem
