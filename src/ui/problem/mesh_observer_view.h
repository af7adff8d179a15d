#pragma once

#include "paint/view_mapping.h"
#include "problem/mesher/triangulation.h"

#include <QImage>
#include <QSize>

#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

/**
 * Draws a growing mesh while the generator runs: each removed triangle is erased and each new one
 * drawn on a transparent layer that the problem view shows over its structure, so the user
 * watches the mesh grow.
 *
 * Drawing must never dominate the run: the events are only collected as they come and drawn in
 * batches at most every IntervaloMs, when the view is also repainted and pending events are
 * handled. When the drawing takes more than a fifth of the run, or more than MaxEventos events
 * were drawn, the layer stops following each triangle and shows the whole working mesh at the end
 * of every stage instead (up to MaxTriangulosEtapa triangles).
 */
class CDesenhoGeracao : public tarvex::problem::MeshObserver {
public:
    static constexpr int IntervaloMs = 50;
    static constexpr std::size_t MaxEventos = 300000;
    static constexpr std::size_t MaxTriangulosEtapa = 200000;

    /// `mapeamento` maps the world onto the view's client area of `tamanho` pixels; `atualiza`
    /// repaints the view and handles pending events.
    CDesenhoGeracao(const tarvex::paint::ViewMapping& mapeamento, QSize tamanho,
        std::function<void()> atualiza);

    const QImage& camada() const { return m_camada; }
    /// Whether the layer still follows each triangle.
    bool porTriangulo() const { return m_porTriangulo; }
    std::size_t eventosDesenhados() const { return m_desenhados; }

    /// Draws what is pending and repaints at once.
    void descarrega();

    void nodesPlaced(const std::vector<tarvex::geometry::Ponto>& nos) override;
    void triangleAdded(const tarvex::problem::Triangulo& t) override;
    void triangleRemoved(const tarvex::problem::Triangulo& t) override;
    void edgeHighlighted(
        const tarvex::geometry::Ponto& a, const tarvex::geometry::Ponto& b, int cor) override;
    void triangleHighlighted(const tarvex::problem::Triangulo& t, int cor) override;
    void meshReset() override;
    void stageDone(tarvex::problem::EtapaMalha etapa,
        const tarvex::problem::mesher::Triangulacao& malha,
        const std::vector<tarvex::problem::mesher::ArestaVertices>& fronteira,
        std::size_t numNos) override;

private:
    enum class Tipo { Novo, Removido, Aresta, Destaque };
    struct Evento {
        Tipo tipo;
        tarvex::problem::Triangulo t; ///< an edge uses the first two points
        int cor;
    };
    using Relogio = std::chrono::steady_clock;

    void registra(const Evento& evento);
    void talvezDescarregue();
    void desenhaPendentes();
    /// Stops following each triangle when the drawing took too large a share of the run.
    void julgaDesenho();

    tarvex::paint::ViewMapping m_mapeamento;
    QImage m_camada;
    std::function<void()> m_atualiza;
    std::vector<Evento> m_pendentes;
    bool m_porTriangulo = true;
    std::size_t m_desenhados = 0;
    unsigned m_contador = 0;
    Relogio::time_point m_inicio;
    Relogio::time_point m_ultimaDescarga;
    Relogio::duration m_tempoDesenho {};
};
