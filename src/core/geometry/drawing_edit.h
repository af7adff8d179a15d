#pragma once

#include "common/status.h"
#include "geometry/drawing_index.h"
#include "geometry/records.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::geometry {

class DrawingData;

/**
 * The entities selected in a drawing view. Entities have no identity, so a selection holds copies
 * and finds them again by coordinates. Each list is in list order: index 0 is the head, so the
 * last selected point is `pontos[0]` and the one selected before it `pontos[1]`.
 */
struct SelecaoDesenho {
    std::vector<Ponto> pontos;
    std::vector<Segmento> segmentos;
    std::vector<Arco> arcos;

    bool vazia() const { return pontos.empty() && segmentos.empty() && arcos.empty(); }
};

/**
 * What one command did to a drawing's lists, step by step, so that it can be undone and redone
 * exactly, list order included. The editing functions below record into it as they change the
 * drawing; undo and redo must be applied to the drawing in the state the command left it (or
 * found it), which an undo stack guarantees.
 */
class Alteracoes {
public:
    bool vazia() const { return m_passos.empty(); }
    void desfazer(DrawingData& drawing) const;
    void refazer(DrawingData& drawing) const;
    /// True when a record added has a coordinate that is not a finite number.
    bool temNaoFinito() const;
    /// Appends the steps of `depois`, recorded after these.
    void anexar(Alteracoes&& depois);

    /// "Insert": at the front of the list.
    void insere(DrawingData& drawing, const Ponto& p);
    void insere(DrawingData& drawing, const Segmento& s);
    void insere(DrawingData& drawing, const Arco& a);
    /// "Append": at the end of the list.
    void acrescenta(DrawingData& drawing, const Ponto& p);
    void acrescenta(DrawingData& drawing, const Segmento& s);
    /// Removes the records at these list positions (any order, no repeats) in one pass.
    void removePontos(DrawingData& drawing, std::vector<std::size_t> posicoes);
    void removeSegmentos(DrawingData& drawing, std::vector<std::size_t> posicoes);
    void removeArcos(DrawingData& drawing, std::vector<std::size_t> posicoes);

private:
    enum class Tipo { Frente, Fim, Remocao };
    enum class Lista { Pontos, Segmentos, Arcos };
    struct Passo {
        Tipo tipo;
        Lista lista;
        std::vector<std::size_t> armazenamento; ///< Remocao: ascending storage indices
        std::vector<Ponto> pontos; ///< the records, in the order added or removed
        std::vector<Segmento> segmentos;
        std::vector<Arco> arcos;
    };
    template <typename T> void registrar(DrawingData& drawing, Tipo tipo, const T& registro);
    template <typename T> void remover(DrawingData& drawing, std::vector<std::size_t> posicoes);
    template <typename T>
    static void aplicar(DrawingData& drawing, const Passo& passo, bool desfazendo);

    std::vector<Passo> m_passos;
};

/// Outcome of a drawing command: refused with its fixed message, or done; `textoEstado` is what
/// the first pane of the status bar then shows (empty: leave it as it is).
struct [[nodiscard]] ResultadoEdicao {
    Status status;
    std::string textoEstado;

    explicit operator bool() const { return status.ok; }
};

/// The mouse modes (`modoMouse`) of the drawing view.
namespace modo {
inline constexpr int SelecionaPonto = 1;
inline constexpr int InvertePonto = 2;
inline constexpr int SelecionaRegiao = 3;
inline constexpr int InverteRegiao = 4;
inline constexpr int InserePonto = 5;
inline constexpr int RetaCartesiana = 6;
inline constexpr int Retangulo = 7;
inline constexpr int Circunferencia = 8;
inline constexpr int Circunferencia3Pontos = 9;
inline constexpr int Arco = 10;
inline constexpr int ExcluiPontos = 11;
inline constexpr int SelecionaSegmento = 13;
inline constexpr int Zoom = 14;
inline constexpr int SelecionaRegiaoPolar = 15;
} // namespace modo

/// `naoColineares`: |areaOrientada(A, B, C)| ≥ 1e-8.
bool naoColineares(const Ponto& a, const Ponto& b, const Ponto& c);

// Every command that computes coordinates (circles, arcs, polar lines, copies, moves) is refused
// with msg::CoordenadaForaAlcance, leaving the drawing and the selection as they were, when a
// coordinate it would add overflows: such a drawing could be saved but never read back.

// --- Starting a mouse mode ---------------------------------------------------------------------

/// Whether the command that sets `modoMouse` may start: the refusal when the drawing (or the
/// selection) has nothing for it to act on. Mode 11 is checked here; its deletion of the selected
/// points is excluiPontosSelecionados.
Status verificaModo(const DrawingData& drawing, const SelecaoDesenho& selecao, int modoMouse);
/// The points a building mode (6 to 10) needs; 0 for the other modes.
int pontosNecessarios(int modoMouse);
/// The Yes/No question a building mode asks when it starts with points already selected; empty
/// when it asks nothing.
std::string_view perguntaInicial(int modoMouse, const SelecaoDesenho& selecao);
/// The answer to that question: Yes builds the entity from the last selected points when there
/// are enough (and otherwise keeps them as the first picks); No clears the point selection.
ResultadoEdicao respostaInicial(
    DrawingData& drawing, SelecaoDesenho& selecao, int modoMouse, bool sim, Alteracoes& alteracoes);
/// A left click of a building mode on the snapped point `escolhido` (`pontoMaisPerto`): it is
/// selected as by the point selection, and the click that completes the set builds the entity.
ResultadoEdicao cliqueConstrucao(DrawingData& drawing, SelecaoDesenho& selecao, int modoMouse,
    const Ponto& escolhido, Alteracoes& alteracoes);

// --- Building entities from points (the mouse modes; the selection is not touched) ----------

void constroiSegmento(DrawingData& drawing, const Ponto& p, const Ponto& q, Alteracoes& alt);
/// The four sides inserted as segments and the two missing corners as points.
void constroiRetangulo(DrawingData& drawing, const Ponto& a, const Ponto& b, Alteracoes& alt);
/// Centre C, B on the circle: arcs B → E and E → B about C, E = (C.x + r, C.y) inserted as a point.
void constroiCircunferencia(DrawingData& drawing, const Ponto& c, const Ponto& b, Alteracoes& alt);
/// Through A, B, C (selection order): three arcs about the circumcentre, or three segments when
/// the points are collinear.
void constroiCircunferencia3(
    DrawingData& drawing, Ponto a, const Ponto& b, Ponto c, Alteracoes& alt);
/// Start A, middle B, end C: two arcs about the circumcentre, or two segments when collinear.
void constroiArco3(DrawingData& drawing, Ponto a, const Ponto& b, Ponto c, Alteracoes& alt);

// --- Keyboard insertion ----------------------------------------------------------------------

/// "Ponto &Teclado" and the clicks of "Ponto &Mouse".
void inserePonto(DrawingData& drawing, const Ponto& p, Alteracoes& alt);
/// "&Reta Cartesiana Teclado"; `conectar` joins the new end point to the last selected point.
Status insereReta(DrawingData& drawing, const SelecaoDesenho& selecao, const Ponto& p1,
    const Ponto& p2, bool conectar, Alteracoes& alt);
/// "Reta &Polar Teclado": `anguloGraus` in degrees; `relativa` starts at the P2 of the first
/// selected segment and adds its direction; `selecionarNovo` appends the new segment to the
/// selected segments.
Status insereRetaPolar(DrawingData& drawing, SelecaoDesenho& selecao, const Ponto& inicio,
    double anguloGraus, double distancia, bool relativa, bool selecionarNovo, Alteracoes& alt);
/// "Retâ&ngulo Teclado": sides and corners appended; the point selection is cleared.
Status insereRetangulo(DrawingData& drawing, SelecaoDesenho& selecao, const Ponto& p1,
    const Ponto& p2, Alteracoes& alt);
/// "&Circunferência Teclado".
Status insereCircunferencia(
    DrawingData& drawing, const Ponto& centro, double raio, Alteracoes& alt);
/// "Arc&o : Ponto+Centro+Angulo": the arc from the point, counterclockwise by |θ| (or by 360° − |θ|
/// for a negative θ, since an arc always runs counterclockwise from its start).
Status insereArcoAngulo(DrawingData& drawing, const Ponto& centro, const Ponto& ponto,
    double anguloGraus, Alteracoes& alt);
/// "&Arco : 2 Pontos+Centro".
Status insereArco2Pontos(
    DrawingData& drawing, const Ponto& p1, const Ponto& p2, const Ponto& centro, Alteracoes& alt);
/// The arc through three typed points, as the mouse arc builds it from three picks.
Status insereArco3Pontos(
    DrawingData& drawing, const Ponto& a, const Ponto& b, const Ponto& c, Alteracoes& alt);

// --- Selection -------------------------------------------------------------------------------

/// A click of "&Ponto" (mode 1) on the snapped point.
ResultadoEdicao selecionaPonto(SelecaoDesenho& selecao, const Ponto& escolhido);
/// A click of "&Inverte Ponto" (mode 2) on the snapped point.
ResultadoEdicao invertePonto(SelecaoDesenho& selecao, const Ponto& escolhido);
/// A click of "&Segmento" (mode 13): toggles the picked segment or arc.
ResultadoEdicao selecionaEntidade(
    const DrawingData& drawing, SelecaoDesenho& selecao, const EntidadeEscolhida& escolhida);
/// "&Regiao" (mode 3): segments and arcs with both end points strictly inside the frame, and the
/// free points strictly inside it.
void selecionaRegiao(
    const DrawingData& drawing, SelecaoDesenho& selecao, const Ponto& canto1, const Ponto& canto2);
/// "Região P&olar" (mode 15): the same for the annular sector about the origin that the two
/// corners span.
void selecionaRegiaoPolar(
    const DrawingData& drawing, SelecaoDesenho& selecao, const Ponto& canto1, const Ponto& canto2);
/// "I&nverte Região" (mode 4): unselects the selected segments and arcs inside the frame.
void inverteRegiao(SelecaoDesenho& selecao, const Ponto& canto1, const Ponto& canto2);
/// Drops from the selection every copy that no longer names an entity of the drawing (after an
/// undo, say), so no command acts on a stale copy. True when something was dropped.
bool podaSelecao(const DrawingData& drawing, SelecaoDesenho& selecao);

// --- Deletion --------------------------------------------------------------------------------

/// Removes every point of the drawing that coincides with a selected point, without the
/// connection test; empties the point selection.
void excluiPontosSelecionados(DrawingData& drawing, SelecaoDesenho& selecao, Alteracoes& alt);
/// A click of mode 11: removes the point at list position `posicao` unless a segment or arc uses
/// it.
Status excluiPonto(
    DrawingData& drawing, SelecaoDesenho& selecao, std::size_t posicao, Alteracoes& alt);
/// "&Segmentos" of "E&xcluir": removes the first equal segment (arc) of each selected one; both
/// selections are emptied; their end points stay.
Status excluiSegmentosSelecionados(DrawingData& drawing, SelecaoDesenho& selecao, Alteracoes& alt);

// --- Reproduction and displacement -----------------------------------------------------------

/// Refusal of the reproduction commands when nothing is selected.
Status verificaReproducao(const SelecaoDesenho& selecao);
/// "Reprodução &Linear": n copies of each selected segment and arc, copy k moved by k·(dx, dy).
Status reproduzLinear(DrawingData& drawing, const SelecaoDesenho& selecao, double dx, double dy,
    int n, Alteracoes& alt);
/// "Reprodução &Polar" about `referencia`: copy k at radius r + k·dR, angle a + k·dθ (degrees).
Status reproduzPolar(DrawingData& drawing, const SelecaoDesenho& selecao, double dR,
    double dAnguloGraus, int n, const Ponto& referencia, Alteracoes& alt);
/// "&Linear" of "&Deslocar": moved copies of the selected segments and arcs with their points;
/// then the selected points are deleted.
Status deslocaLinear(
    DrawingData& drawing, SelecaoDesenho& selecao, double dx, double dy, Alteracoes& alt);
/// "&Polar" of "&Deslocar": the same with radius + R and angle + T (degrees) about the origin.
Status deslocaPolar(
    DrawingData& drawing, SelecaoDesenho& selecao, double r, double tGraus, Alteracoes& alt);

} // namespace tarvex::geometry
