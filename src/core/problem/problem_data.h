#pragma once

#include "common/front_list.h"
#include "problem/contour_index.h"
#include "problem/records.h"
#include "problem/region_locator.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tarvex::problem {

/**
 * The data of a problem document: regions with their materials and sources, boundary conditions,
 * symmetry, mesh-control values, special regions and areas, and the mesh.
 *
 * The stored lists are in *list order*: a record read from a .dat file is inserted at the front.
 * The writer stores the regions and the special areas from the last record to the first, so their
 * order survives a save and load (the first region is the outer contour of the domain, and special
 * regions are referred to by their 1-based position); every other list comes back reversed.
 *
 * The working lists (pool, outer contour, contour points, polygons) and the region index are
 * derived from the regions by derivarListas(); they are not stored.
 */
class ProblemData {
public:
    static constexpr double DefaultScaleFactor = 1000.0;
    static constexpr double DefaultArestaEspecial = 1.0;
    static constexpr double DefaultToleranciaArcos = 1e-6;
    static constexpr double DefaultAnguloArco = 18.0;
    /// Below this a maximum edge means "not set": the file holds no mesh-control values.
    static constexpr double ArestaMinima = 1e-8;

    // Stored in the .dat file.
    AnalysisType tipoAnalise = AnalysisType::Magnetic;
    double fatorEscala = DefaultScaleFactor; ///< drawing units per metre
    std::array<double, 4> janela {}; ///< x-min, x-max, y-min, y-max
    common::FrontList<Regiao> regioes; ///< the first one is the outer contour
    double arestaMaxima = 0.0; ///< maximum edge outside special regions
    double arestaMalha = 0.0; ///< maximum edge the stored mesh was made with
    common::FrontList<std::int16_t> regioesEspeciais; ///< 1-based positions in `regioes`
    common::FrontList<Regiao> areasEspeciais;
    double arestaEspecial = DefaultArestaEspecial;
    double fatorQualidade = std::sqrt(2.0); ///< 1/(2 sin θmin); √2 is about 20.7°
    common::FrontList<SegmentoContorno> segmentosPotencial;
    common::FrontList<PotencialPonto> potenciaisPonto;
    SymmetryKind tipoSimetria = SymmetryKind::None;
    common::FrontList<SegmentoContorno> segmentosSimetria;
    common::FrontList<Triangulo> triangulos;

    // Kept in memory only.
    std::int32_t numTriangulos = 0; ///< 0: the problem has no mesh
    std::int32_t numNos = 0; ///< 0 until counted
    /// Distinct mesh node positions in list order; filled by the mesh generator and refinements,
    /// built on demand from the triangles otherwise.
    common::FrontList<Ponto> nos;
    double qualidadeMalha = 0.0; ///< mean triangle quality of the mesh
    /// Corners of the refinement rectangle ("Define Área"), ordered; all zero until defined.
    std::array<Ponto, 4> cantosArea {};
    /// Every contour element of every region, in region and contour order, repeats removed.
    std::vector<SegmentoContorno> poolSegmentos;
    std::vector<SegmentoContorno> contornoExterno; ///< copies of the first region's contour
    std::vector<Ponto> pontosContorno; ///< distinct end points of the pool
    std::vector<PoligonoRegiao> poligonosRegioes; ///< parallel to `regioes`, list order
    double tolerancia = 0.0; ///< arestaMaxima / 1e6
    double toleranciaArcos = DefaultToleranciaArcos;
    double anguloArco = DefaultAnguloArco; ///< degrees: largest angle one chord of an arc spans
    /// Nearest-segment and nearest-point picking over the pool, the outer contour and the contour
    /// points; (re)built on first use after those lists change (see problem/editing.h).
    mutable IndiceContorno indiceContorno;

    /// The region at a 1-based position: a position beyond the end gives the last region, one
    /// below 1 the first. Null only when there are no regions.
    const Regiao* regiaoNaPosicao(int posicao) const;
    Regiao* regiaoNaPosicao(int posicao);

    /// Builds the working lists and the region index from the regions (after loading, or after
    /// the regions' contours changed). Leaves the regions themselves untouched.
    void derivarListas();

    /// Rebuilds only the region index from `poligonosRegioes`.
    void indexarPoligonos();

    /// 1-based position of the region that contains `p`: the first region in list order, from
    /// position 2 on, whose polygon contains it; 0 when the point is outside every region.
    /// Answers from the index built by the last derivarListas() or indexarPoligonos().
    int regiaoQueContem(const Ponto& p) const { return m_localizador.find(p); }

private:
    RegionLocator m_localizador;
};

/// The closed outline of a contour: its elements chained end to end (an element reached at its
/// second end point is walked reversed), each arc cut into equal chords of at most 2π/250 rad.
/// Elements that do not chain on from the current end start a further ring.
PoligonoRegiao poligonoDoContorno(const common::FrontList<SegmentoContorno>& contorno);

} // namespace tarvex::problem
