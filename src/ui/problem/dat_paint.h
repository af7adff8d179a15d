#pragma once

#include "paint/view_palette.h"

namespace tarvex::paint {
class Canvas;
}
namespace tarvex::problem {
class ProblemData;
struct Regiao;
struct SegmentoContorno;
} // namespace tarvex::problem

/// Colours of what the problem view draws over the structure (palette indices).
namespace corDat {
inline constexpr tarvex::paint::ColorIndex PotencialSegmento = 2; ///< green
inline constexpr tarvex::paint::ColorIndex PotencialPonto = 16; ///< cyan
inline constexpr tarvex::paint::ColorIndex Simetria = 28; ///< orange
inline constexpr tarvex::paint::ColorIndex AntiSimetria = 5; ///< magenta
inline constexpr tarvex::paint::ColorIndex Especial = 14; ///< yellow
inline constexpr tarvex::paint::ColorIndex Selecao = 9; ///< light blue
inline constexpr tarvex::paint::ColorIndex Malha = 15;
} // namespace corDat

/// The boundary conditions: segments with an imposed potential (thick green), points with one
/// (cyan markers), and the symmetry segments when a kind is set (thick dashed orange for
/// symmetry, magenta for anti-symmetry).
void desenhaCondicoesContorno(
    tarvex::paint::Canvas& canvas, const tarvex::problem::ProblemData& data);
/// Special regions (their contour) and special areas (their rectangle), in yellow.
void desenhaEspeciais(tarvex::paint::Canvas& canvas, const tarvex::problem::ProblemData& data);
/// Every mesh triangle in colour 15. False when there is no mesh (nothing drawn).
bool desenhaMalha(tarvex::paint::Canvas& canvas, const tarvex::problem::ProblemData& data);
/// A picked region or segment, drawn thick in the selection colour.
void destacaRegiao(tarvex::paint::Canvas& canvas, const tarvex::problem::Regiao& regiao);
void destacaSegmento(tarvex::paint::Canvas& canvas, const tarvex::problem::SegmentoContorno& s);
