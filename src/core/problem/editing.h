#pragma once

#include "common/messages.h"
#include "common/status.h"
#include "problem/records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::problem {

class ProblemData;

/**
 * The editing operations of the problem-data view, as functions on the problem. The view turns
 * clicks into these calls and the batch tool calls them from its options, so both follow the
 * same rules. A refused operation returns a failure with its fixed message and changes nothing.
 */

// ---- Picking -----------------------------------------------------------------------------------

/// 1-based position of the region under `p` (positions 2 upwards; the outer contour is never
/// picked); failure " Ponto fora do domínio " when none.
Status regiaoSobPonto(const ProblemData& data, const Ponto& p, int& posicao);

/// Index in `poolSegmentos` of the element nearest to `p`: the first in list order on ties.
/// None when the pool is empty. Answers from the problem's spatial index.
std::optional<std::size_t> segmentoMaisProximo(const ProblemData& data, const Ponto& p);
/// Index in `contornoExterno` of the outer-contour element nearest to `p`.
std::optional<std::size_t> segmentoExternoMaisProximo(const ProblemData& data, const Ponto& p);
/// Index in `pontosContorno` of the contour point nearest to `p`.
std::optional<std::size_t> pontoContornoMaisProximo(const ProblemData& data, const Ponto& p);

// ---- Regions -------------------------------------------------------------------------------

/// The values of the dialog "Características da Região", with the fields that the analysis
/// type decides read as: `densidade` = current density (magnetic) or charge density (electric),
/// `permeabilidade` = relative permeability or permittivity.
struct ValoresRegiao {
    double densidade = 0.0;
    double condutividade = 0.0;
    double brX = 0.0;
    double brY = 0.0;
    double brT = 0.0;
    double brR = 0.0;
    double permeabilidade = 1.0;
    bool linear = true;
    std::string arquivoMaterial;
};

inline constexpr double PermMinima = 1e-15;
inline constexpr double PermMaxima = 1e15;

/// What the dialog shows for one region: its values for the analysis type (an electric analysis
/// shows only the charge density and the permittivity of the sources and materials, the other
/// fields 0), the linear flag and the file name.
ValoresRegiao valoresDaRegiao(const Regiao& regiao, AnalysisType tipoAnalise);
/// What the dialog starts from when several regions are selected: the clicked region's
/// permeability (and charge density in an electric analysis), everything else 0, linear, no file.
ValoresRegiao valoresDaSelecao(const Regiao& clicada, AnalysisType tipoAnalise);

/// The OK checks: the permeability within its range, and a non-linear material needs a file
/// name ("Informe o nome do arquivo de materiais !").
Status validaValoresRegiao(const ValoresRegiao& valores);

/// Writes the dialog's values into a region: the file name, the linear flag; in a magnetic
/// analysis the current density, permeability, conductivity and remanence; in an electric one
/// the charge density and permittivity. The remanence is left alone in an electric analysis,
/// where its fields are disabled: writing their zeros back would wipe a magnet's data.
void aplicaValoresRegiao(Regiao& regiao, const ValoresRegiao& valores, AnalysisType tipoAnalise);

/// OK of the region dialog: checks the values, then writes them into every region at the given
/// 1-based positions (repeats are harmless). All or nothing.
Status editaRegioes(
    ProblemData& data, const std::vector<int>& posicoes, const ValoresRegiao& valores);

/// "Campo Magnético" / "Campo Elétrico": AnalysisType::Magnetic or Electric.
void defineAnalise(ProblemData& data, AnalysisType tipoAnalise);

// ---- Imposed potentials --------------------------------------------------------------------

/// "Nenhuma (default)": no imposed potential on segments or points.
void removePotenciais(ProblemData& data);

/// "Contorno Externo": every element of the outer contour (the first region's contour, and its
/// copies in `contornoExterno`) gets `valor`, and a copy of each goes to the front of
/// `segmentosPotencial`. Done twice, each element is listed twice.
void potencialContornoExterno(ProblemData& data, double valor);

/// The run of outer-contour elements (indices in `contornoExterno`) from `primeiro` to `ultimo`
/// in contour order; a second pick before the first wraps round the closed contour.
std::vector<SegmentoContorno> trechoContornoExterno(
    const ProblemData& data, std::size_t primeiro, std::size_t ultimo);
/// "Seg. Contorno Ext.": the run, each element carrying `valor`, appended to `segmentosPotencial`.
void potencialTrechoExterno(
    ProblemData& data, std::size_t primeiro, std::size_t ultimo, double valor);

/// 0-based list position in `segmentosPotencial` of the first record equal to `s`.
std::optional<std::size_t> potencialDoSegmento(const ProblemData& data, const SegmentoContorno& s);
/// Adds `s` to a selection unless an equal element is already there.
void acrescentaSemRepetir(std::vector<SegmentoContorno>& selecao, const SegmentoContorno& s);
/// "Potencial Segmento" OK: every element of the selection replaces each equal record of
/// `segmentosPotencial` by a copy carrying `valor`; one without a record gets a new record at
/// the front.
void impoePotencialSegmentos(
    ProblemData& data, const std::vector<SegmentoContorno>& selecao, double valor);
/// "Elimina Pot. Segmento": every record equal to an element of the selection goes.
void eliminaPotencialSegmentos(ProblemData& data, const std::vector<SegmentoContorno>& selecao);

/// 0-based list position in `potenciaisPonto` of the record at `p` (squared distance ≤ 1e-8).
std::optional<std::size_t> potencialDoPonto(const ProblemData& data, const Ponto& p);
/// "Potencial  Ponto" OK: updates the record at `p`, or puts a new one at the front.
void impoePotencialPonto(ProblemData& data, const Ponto& p, double valor);
/// "Elimina Potencial Ponto": removes the record at `p`; false when there is none.
bool eliminaPotencialPonto(ProblemData& data, const Ponto& p);

// ---- Symmetry ------------------------------------------------------------------------------

/// Whether choosing `tipo` must first ask about the symmetry of the other kind already defined.
bool perguntaTrocaSimetria(const ProblemData& data, SymmetryKind tipo);
/// The text of that question: "Troca simetria para  XY" or "Troca simetria para ANTI-XY".
std::string_view textoTrocaSimetria(SymmetryKind tipo);
/// OK of the question: the segments stay and carry the new kind.
void trocaSimetria(ProblemData& data, SymmetryKind tipo);
/// "Deleta Simetria  Atual": the segments go; the kind is decided by the next segment picked.
void deletaSimetria(ProblemData& data);
/// A pick in mode 10 or 11: the element joins `segmentosSimetria` (once) and sets the kind.
void acrescentaSimetria(ProblemData& data, const SegmentoContorno& s, SymmetryKind tipo);
/// "Remove Simetria".
void removeSimetria(ProblemData& data);

// ---- Special regions and areas --------------------------------------------------------------

/// "Define Reg. Especial": the region under `p` becomes special (once).
Status defineRegiaoEspecial(ProblemData& data, const Ponto& p);
/// "Remove Reg. Especial": the special area under `p` goes; otherwise the special region under
/// it; otherwise " Ponto fora do domínio ".
Status removeEspecial(ProblemData& data, const Ponto& p);
/// 0-based list position of the first special area whose rectangle holds `p`.
std::optional<std::size_t> areaEspecialSobPonto(const ProblemData& data, const Ponto& p);

/// The corners of a dragged rectangle in their fixed order: (x-min, y-min), (x-max, y-min),
/// (x-max, y-max), (x-min, y-max), counterclockwise.
std::array<Ponto, 4> ordenaCantos(const Ponto& a, const Ponto& b);
/// "Define Área": stores the ordered corners in `cantosArea` and appends a new region (default
/// values) whose contour is the rectangle 1 → 2 → 3 → 4 → 1 to `areasEspeciais`. A rectangle
/// without extent is refused.
Status defineArea(ProblemData& data, const Ponto& a, const Ponto& b);

// ---- Settings ------------------------------------------------------------------------------

/// "Ajustes das Tolerâncias": `toleranciaArcos` within 1e-12..1e12, `anguloArco` within 0.5..60.
Status defineTolerancias(ProblemData& data, double toleranciaArcos, double anguloArco);
/// "Fator Escala": a positive finite number.
Status defineFatorEscala(ProblemData& data, double fator);

} // namespace tarvex::problem
