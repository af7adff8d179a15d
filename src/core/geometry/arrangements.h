#pragma once

#include "common/status.h"
#include "geometry/records.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace tarvex::geometry {

class DrawingData;

/// Number of typical arrangements (1 to 4) and the most dimensions any of them has.
inline constexpr int ArranjoCount = 4;
inline constexpr std::size_t MaxDimensoesArranjo = 12;

/**
 * The dimensions of a typical arrangement as its form holds them: 32-bit floats in millimetres,
 * in the form's order (arrangement 1: a, b, c, d, r; 2: a to f, r1, r2, h; 3: a to f, r1, r2;
 * 4: a to j, r1, r2).
 */
struct DimensoesArranjo {
    int tipo = 1; ///< 1 to 4
    std::array<float, MaxDimensoesArranjo> valores = {};

    /// The value of dimension `letra` ("a", "r1"...); 0 when the arrangement has no such letter.
    float valor(std::string_view letra) const;
    /// Sets dimension `letra`; false when the arrangement has no such letter.
    bool definir(std::string_view letra, float valor);
};

/// A typed value as a form's 32-bit field holds it: rounded to the nearest float, and infinite
/// beyond the float range (which the checks then refuse), where a plain cast is undefined.
float valorCampo(double valor);

/// The letters of arrangement `tipo` (1 to 4) in the form's order; empty for any other number.
std::vector<std::string_view> letrasArranjo(int tipo);

/// The dimensions each form starts with; the pictures are drawn from them.
DimensoesArranjo dimensoesPadrao(int tipo);

/// The checks of "Atualizar Vista": a negative value first, then the arrangement's own checks in
/// their order. A value that is not finite is refused too (msg::ArranjoValorInvalido).
Status validarArranjo(const DimensoesArranjo& dimensoes);

/**
 * Validates, then replaces the drawing's points, segments and arcs by the arrangement's
 * cross-section (outlines and the cut lines that join inner outlines to outer ones), each list in
 * the arrangement's order with every record inserted at the front. The scale factor and the
 * tolerance stay. On a refusal the drawing is unchanged.
 */
Status gerarArranjo(const DimensoesArranjo& dimensoes, DrawingData& drawing);

/// One dimension of an arrangement's picture, in drawing units.
struct CotaArranjo {
    enum class Tipo {
        Linear, ///< the distance from `de` to `ate`, drawn `deslocamento` away from them
        Raio ///< a leader from `ate`, out of the corner, to `de` in the middle of the arc
    };
    Tipo tipo = Tipo::Linear;
    std::string_view letra;
    Ponto de;
    Ponto ate;
    Ponto deslocamento; ///< Linear only: from the measured points to the dimension line
};

/// Where each dimension letter of the arrangement lies, computed from the same values as the
/// geometry (so a picture drawn from both can never disagree with the generator). Outer
/// dimensions stand outside the outline, at a distance proportional to its size.
std::vector<CotaArranjo> cotasArranjo(const DimensoesArranjo& dimensoes);

} // namespace tarvex::geometry
