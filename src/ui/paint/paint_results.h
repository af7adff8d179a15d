#pragma once

#include "geometry/drawing.h"
#include "paint/view_palette.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <optional>
#include <vector>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace tarvex::common {
template <typename T> class FrontList;
}

namespace tarvex::problem {
struct Regiao;
struct SegmentoContorno;
}

namespace tarvex::solver {
struct SolverModel;
struct ContourSegment;
} // namespace tarvex::solver

namespace tarvex::paint {

class Canvas;

/// The results view's display modes that paintResults() draws.
namespace modoResultados {
inline constexpr int Malha = 1;
inline constexpr int Regioes = 2;
inline constexpr int Equipotenciais = 3;
inline constexpr int Contornos = 5;
inline constexpr int CorrentesInduzidas = 18;
} // namespace modoResultados

/// Colours of the results pictures.
namespace corResultados {
inline constexpr ColorIndex Malha = 15; ///< mesh triangles and their vertices
inline constexpr ColorIndex ContornoMalha = 9; ///< region contours over the mesh
inline constexpr ColorIndex Contorno = 15; ///< region outlines
inline constexpr ColorIndex Linhas = 15; ///< equipotential and induced-current segments
inline constexpr ColorIndex PontoPotencial = 4; ///< points with an imposed potential
} // namespace corResultados

/// The fill that shows a region's kind in a model of the given analysis (magnetic 1, electric 0):
/// a source, then a magnet (magnetic only), then a material other than vacuum; none otherwise.
std::optional<ColorIndex> corDaRegiaoResultados(
    const problem::Regiao& regiao, std::uint8_t magnetic);

/**
 * The region fills, then every region's outline in colour 15, then the outer contour again, and
 * (when `pontos`) a marker at every point with an imposed potential. Fills go largest outline
 * first, and a region without a fill is painted in the background colour, so a region drawn
 * inside another shows as the region lookup sees it. The region pictures of the path analyses
 * use it without the point markers.
 */
void drawResultRegions(Canvas& canvas, const solver::SolverModel& model, bool pontos = true,
    const std::vector<problem::SegmentoContorno>* ocultas = nullptr);

/// Every mesh triangle in colour 15 with a dot at each vertex, then the region contours in
/// colour 9.
void drawResultMesh(Canvas& canvas, const solver::SolverModel& model,
    const std::vector<problem::SegmentoContorno>* ocultas = nullptr);

/// Only the region contours, in colour 15.
void drawResultContours(Canvas& canvas, const solver::SolverModel& model,
    const std::vector<problem::SegmentoContorno>* ocultas = nullptr);

/// Every segment of a traced line list, colour 15, width 1, solid.
void drawContourSegments(Canvas& canvas, const common::FrontList<solver::ContourSegment>& lines);

/**
 * Clears the background and draws the picture of a display mode: 1 mesh, 2 regions,
 * 3 regions and equipotentials, 5 contours only, 18 regions and induced-current lines. The lines
 * are drawn as the model holds them (tracing is the caller's business). False for another mode
 * (only the background is drawn). Contour lines equal to one of `ocultas` (the auxiliary lines
 * taken away, results/auxiliary_lines.h) are left out of every outline.
 */
bool paintResults(Canvas& canvas, const solver::SolverModel& model, int displayMode,
    const std::vector<problem::SegmentoContorno>* ocultas = nullptr);

/// The window a results view starts from: the model's stored window, or the extent of its
/// region outlines and nodes widened by 3 % when the stored one cannot be shown.
geometry::Caixa janelaInicialResultados(const solver::SolverModel& model);

/// The picture of a display mode in a view of `size`, fitted to janelaInicialResultados(), without
/// the contour lines in `ocultas` (e.g. results::linhasAuxiliaresAutomaticas()).
QImage renderResults(const solver::SolverModel& model, int displayMode, QSize size,
    const std::vector<problem::SegmentoContorno>* ocultas = nullptr);
/// The same picture painted onto `painter`, whose device is a target of `size` pixels.
void renderResults(QPainter& painter, const solver::SolverModel& model, int displayMode, QSize size,
    const std::vector<problem::SegmentoContorno>* ocultas = nullptr);

} // namespace tarvex::paint
