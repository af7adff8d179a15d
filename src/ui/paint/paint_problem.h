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

namespace tarvex::problem {
enum class AnalysisType : std::uint8_t;
class ProblemData;
struct Regiao;
struct PoligonoRegiao;
} // namespace tarvex::problem

namespace tarvex::paint {

class Canvas;

/// Colours of the problem view's structure.
namespace corProblema {
inline constexpr ColorIndex Fonte = 4; ///< a current or charge source
inline constexpr ColorIndex Ima = 12; ///< a permanent magnet
inline constexpr ColorIndex Material = 11; ///< permeable, permittive or non-linear material
inline constexpr ColorIndex Contorno = 15;
} // namespace corProblema

/// The fill that shows a region's kind in the given analysis (AnalysisType::Magnetic or
/// Electric): a source first, then a magnet (magnetic analysis only), then a material
/// other than vacuum; none for anything else.
std::optional<ColorIndex> corDaRegiao(
    const problem::Regiao& regiao, problem::AnalysisType tipoAnalise);

/// Area enclosed by the polygon's widest ring: the size by which region fills are ordered, so a
/// region drawn inside another is not hidden by it.
double areaExterna(const problem::PoligonoRegiao& poligono);

/**
 * The order in which the region fills are painted: 0-based list positions, the largest outline
 * first, so a region drawn inside another without a cut line is painted over it rather than
 * hidden. Of two outlines of the same area the one earlier in the list ends on top, as the
 * region lookup (first match in list order) would pick it. The outer contour (position 0) is
 * never filled and is left out.
 */
std::vector<std::size_t> ordemDePreenchimento(const problem::ProblemData& data);

/// Draws the structure over whatever is painted: every region's fill by kind (a region without
/// a fill is painted in the background colour, so it shows empty even inside another region's
/// outline), then every region's contour in colour 15.
void drawProblemStructure(Canvas& canvas, const problem::ProblemData& data);

/// Clears the background and draws the structure. The canvas's mapping must already be fitted.
void paintProblem(Canvas& canvas, const problem::ProblemData& data);

/// The window a problem is shown in when its stored one cannot be shown: the extent of the
/// region outlines widened by 3 % on each side; `anterior` when there are no regions.
geometry::Caixa janelaNormalProblema(
    const problem::ProblemData& data, const geometry::Caixa& anterior);

/// Whether a stored window (x-min, x-max, y-min, y-max) can be shown: finite, with extent.
bool janelaValida(const geometry::Caixa& janela);

/// The stored window of a problem as a box, or janelaNormalProblema() when it cannot be shown.
geometry::Caixa janelaInicialProblema(const problem::ProblemData& data);

/// The picture a problem view of `size` first shows: the structure in the problem's window,
/// fitted, on a black background.
QImage renderProblem(const problem::ProblemData& data, QSize size);
/// The same picture painted onto `painter`, whose device is a target of `size` pixels.
void renderProblem(QPainter& painter, const problem::ProblemData& data, QSize size);

} // namespace tarvex::paint
