#pragma once

#include "paint/view_palette.h"

#include <QImage>
#include <QSize>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace tarvex::problem {
class ProblemData;
struct Triangulo;
} // namespace tarvex::problem

namespace tarvex::paint {

class Canvas;

/// Colours of the mesh displays.
namespace corMalha {
inline constexpr ColorIndex Triangulos = 15;
inline constexpr ColorIndex Fronteira = 9; ///< contour edges after a run, width 2
inline constexpr ColorIndex MenorTriangulo = 14; ///< the smallest triangle, width 3
} // namespace corMalha

/// The three sides of a triangle.
void paintTriangle(Canvas& canvas, const problem::Triangulo& t, ColorIndex cor, int largura);

/// Every mesh triangle in colour 15. False when there is no mesh (nothing drawn).
bool paintMesh(Canvas& canvas, const problem::ProblemData& data);

/// The contour elements of the problem over a mesh, in colour 9 and width 2: the constrained
/// edges every mesh follows.
void paintMeshBoundary(Canvas& canvas, const problem::ProblemData& data);

/// The picture of the "Malha" display of a problem view of `size`: the structure in the problem's
/// window with the triangles over it, or the structure with "Não há malha para desenhar !" when
/// the problem has no mesh.
QImage renderProblemMesh(const problem::ProblemData& data, QSize size);
/// The same picture painted onto `painter`, whose device is a target of `size` pixels.
void renderProblemMesh(QPainter& painter, const problem::ProblemData& data, QSize size);

} // namespace tarvex::paint
