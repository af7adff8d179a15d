#pragma once

#include "common/front_list.h"
#include "common/status.h"
#include "problem/records.h"

#include <string>
#include <vector>

namespace tarvex::geometry {
class DrawingData;
}

namespace tarvex::problem {

/// Something the formation asks the view to draw for the user: elements it removed, the edge at
/// which the walk stopped, and the contours it traced.
struct MarcaDesenho {
    SegmentoContorno elemento;
    int cor = 15; ///< palette index
    int largura = 1; ///< pen width
};

struct ResultadoFormacao {
    /// The traced regions in list order: interior regions first, the outer contour last. On a
    /// failure the records made so far are kept here, as the user will see them.
    common::FrontList<Regiao> regioes;
    std::vector<MarcaDesenho> marcas;
    /// Elements left out for being shorter than the minimum distance or dangling; each is also
    /// among the marks, in colour 4.
    std::size_t removidos = 0;
    /// Where a crossing could not be resolved (a tangency, or a piece shorter than the minimum
    /// distance), when the formation stopped for that reason.
    bool temPontoProblema = false;
    Ponto pontoProblema;
};

/**
 * Turns the loose segments and arcs of a drawing into closed regions: cleans the geometry with
 * the drawing's minimum point distance, removes duplicates, splits crossing segments, splits arcs
 * where they cross segments or arcs and any element where another one ends on its interior,
 * removes dangling pieces, walks the outer contour and every interior region by the sharpest right
 * turn (arcs walked as four chords each), and puts the arcs back into the contours they bound.
 */
Status formarRegioes(const geometry::DrawingData& drawing, ResultadoFormacao& out);

/// The text to show for a failed formation: its message, with the coordinates of the crossing
/// when one could not be resolved.
std::string textoFalhaFormacao(const Status& status, const ResultadoFormacao& resultado);

/// The window written with an exported problem: x-min, x-max, y-min, y-max.
struct JanelaExportacao {
    double xMin = 0.0, xMax = 0.0, yMin = 0.0, yMax = 0.0;
};

/// The problem-data file of an export: version "versao 01.00.00", a magnetic analysis, the
/// drawing's scale factor, the window, the regions in list order, and no mesh (0.0).
std::string escreveDatExportado(
    double fatorEscala, const JanelaExportacao& janela, const common::FrontList<Regiao>& regioes);

/// The name proposed for the exported file: the drawing's path with ".dat" for its extension.
std::string nomeDatProposto(const std::string& caminhoDesenho);
/// The path actually written for the name the user chose: a ".des" extension becomes ".dat".
std::string caminhoDatEscolhido(const std::string& escolhido);

} // namespace tarvex::problem
