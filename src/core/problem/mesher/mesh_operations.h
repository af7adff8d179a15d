#pragma once

#include "common/status.h"
#include "geometry/records.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex::problem {

class ProblemData;

/// The refinement rectangle `cantosArea` is set by defineArea() (problem/editing.h).

/// "Refina Total": every triangle into four by its side midpoints; a midpoint of a side whose
/// ends lie on one contour arc goes onto the arc. msg::MalhaNaoGerada without a mesh.
Status refinaTotal(ProblemData& data);
/// Above this many triangles the program asks before a "Refina Total" makes them.
inline constexpr long LimiteRefinoTotalSemPergunta = 200000;
/// The triangles "Refina Total" would leave: four for each of the mesh's.
long triangulosAposRefinoTotal(const ProblemData& data);
/// The question asked before a refinement that would exceed LimiteRefinoTotalSemPergunta, or
/// empty when it would not.
std::string perguntaRefinoTotal(const ProblemData& data);

/// "Refina Área": the triangles with all vertices in `cantosArea` into four, and those sharing a
/// side with them into two. msg::AreaRefinoIncorreta for an undefined or degenerate rectangle,
/// msg::AreaSemTriangulos when no triangle has a vertex inside (nothing changes then).
Status refinaArea(ProblemData& data);

/// Quality before and after "Recentra Malha Atual", and the report to show.
struct ResultadoRecentragem {
    double antes = 0.0;
    double depois = 0.0;
    std::string texto; ///< " Recentragem efetuada : " and the two qualities
};
/// "Recentra Malha Atual": one full smoothing pass. msg::RecentragemSemMalha when the document
/// has no node count.
Status recentraMalha(ProblemData& data, ResultadoRecentragem& out);

/// The values of "Informações sobre a Malha Atual".
struct InformacoesMalha {
    long triangulos = 0;
    long nos = 0;
    double qualidadeMedia = 0.0;
    double qualidadeMinima = 2.0;
    double anguloMedio = 0.0; ///< asin(r/2) in degrees, r the mean circumradius / shortest side
    double anguloMinimo = 0.0; ///< the same for the smallest ratio
    double areaMedia = 0.0;
    double areaMinima = 0.0;
    std::size_t menorTriangulo = 0; ///< list position (0-based) of the smallest triangle
};
/// Computes the values; counts the nodes (filling `nos`) when `numNos` is 0 and stores the mean
/// quality into `qualidadeMalha`. msg::MalhaNaoGerada without a mesh.
Status informacoesMalha(ProblemData& data, InformacoesMalha& out);
/// The dialog's labels with their values formatted as the dialog shows them.
std::vector<std::pair<std::string_view, std::string>> textosInformacoes(
    const InformacoesMalha& info);

} // namespace tarvex::problem
