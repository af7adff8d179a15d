#include "problem/mesh_observer_view.h"

#include "paint/paint_mesh.h"
#include "paint/view_palette.h"

#include <QPainter>
#include <QPen>

#include <array>
#include <unordered_map>

using tarvex::geometry::Ponto;
using tarvex::problem::Triangulo;
namespace mesher = tarvex::problem::mesher;

namespace {

/// Events between two looks at the clock: reading it for each one would cost more than the event.
constexpr unsigned EventosPorConsulta = 64;
/// Before this much of the run has passed, the drawing share is not judged.
constexpr auto TempoMinimoJulgamento = std::chrono::milliseconds(100);
/// The drawing may take at most one part in this many of the run.
constexpr int PartesDoDesenho = 5;

/// A triangle as it was reported: the same triangle is reported with the same coordinates when
/// it is added and when it is removed.
using ChaveTriangulo = std::array<double, 6>;

ChaveTriangulo chave(const Triangulo& t)
{
    return { t.x1, t.y1, t.x2, t.y2, t.x3, t.y3 };
}

struct HashTriangulo {
    std::size_t operator()(const ChaveTriangulo& k) const
    {
        std::size_t h = 0;
        for (const double v : k)
            h = h * 1000003u ^ std::hash<double> {}(v);
        return h;
    }
};

QPen caneta(tarvex::paint::ColorIndex cor, int largura)
{
    return QPen(tarvex::paint::ViewPalette::entry(cor), largura);
}

} // namespace

CDesenhoGeracao::CDesenhoGeracao(
    const tarvex::paint::ViewMapping& mapeamento, QSize tamanho, std::function<void()> atualiza)
    : m_mapeamento(mapeamento)
    , m_camada(tamanho.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied)
    , m_atualiza(std::move(atualiza))
    , m_inicio(Relogio::now())
    , m_ultimaDescarga(m_inicio)
{
    m_camada.fill(Qt::transparent);
}

void CDesenhoGeracao::registra(const Evento& evento)
{
    if (m_porTriangulo)
        m_pendentes.push_back(evento);
    talvezDescarregue();
}

void CDesenhoGeracao::talvezDescarregue()
{
    if (++m_contador % EventosPorConsulta != 0)
        return;
    if (Relogio::now() - m_ultimaDescarga >= std::chrono::milliseconds(IntervaloMs))
        descarrega();
}

void CDesenhoGeracao::desenhaPendentes()
{
    if (m_pendentes.empty())
        return;
    const auto inicio = Relogio::now();

    // Most triangles of a batch are made and removed again within it, and the rest alternate
    // between removals and additions a few at a time. Only the net change is drawn: the removed
    // triangles that were on the layer, then the new ones that are still alive, each as one batch
    // of lines (one painter call per triangle or per short run costs several times more).
    std::unordered_map<ChaveTriangulo, std::size_t, HashTriangulo> novos;
    std::vector<char> desenhar(m_pendentes.size(), 1);
    for (std::size_t i = 0; i < m_pendentes.size(); ++i) {
        const Evento& e = m_pendentes[i];
        if (e.tipo == Tipo::Novo) {
            novos[chave(e.t)] = i;
        } else if (e.tipo == Tipo::Removido) {
            const auto it = novos.find(chave(e.t));
            if (it != novos.end()) {
                desenhar[it->second] = 0;
                desenhar[i] = 0;
                novos.erase(it);
            }
        }
    }
    std::vector<QLine> apagar;
    std::vector<QLine> tracar;
    const auto lados = [this](const Triangulo& t, std::vector<QLine>& linhas) {
        const QPoint a = m_mapeamento.paraPixel(t.x1, t.y1);
        const QPoint b = m_mapeamento.paraPixel(t.x2, t.y2);
        const QPoint c = m_mapeamento.paraPixel(t.x3, t.y3);
        linhas.emplace_back(a, b);
        linhas.emplace_back(b, c);
        linhas.emplace_back(c, a);
    };
    for (std::size_t i = 0; i < m_pendentes.size(); ++i) {
        if (desenhar[i] && m_pendentes[i].tipo == Tipo::Removido)
            lados(m_pendentes[i].t, apagar);
        else if (desenhar[i] && m_pendentes[i].tipo == Tipo::Novo)
            lados(m_pendentes[i].t, tracar);
    }
    {
        QPainter painter(&m_camada);
        // A removed triangle is cleared off the layer, so the structure shows through. A
        // transparent pen in Source mode clears as fast as drawing; the Clear mode takes a slow
        // path that costs a hundred times more on long lines.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setPen(QPen(Qt::transparent, 1));
        painter.drawLines(apagar.data(), static_cast<int>(apagar.size()));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setPen(caneta(tarvex::paint::corMalha::Triangulos, 1));
        painter.drawLines(tracar.data(), static_cast<int>(tracar.size()));
        for (const Evento& e : m_pendentes) {
            if (e.tipo == Tipo::Aresta) {
                painter.setPen(caneta(e.cor, 1));
                painter.drawLine(
                    m_mapeamento.paraPixel(e.t.x1, e.t.y1), m_mapeamento.paraPixel(e.t.x2, e.t.y2));
            } else if (e.tipo == Tipo::Destaque) {
                std::vector<QLine> linhas;
                lados(e.t, linhas);
                painter.setPen(caneta(e.cor, 2));
                painter.drawLines(linhas.data(), static_cast<int>(linhas.size()));
            }
        }
    }
    m_desenhados += m_pendentes.size();
    m_pendentes.clear();
    m_tempoDesenho += Relogio::now() - inicio;
    julgaDesenho();
}

void CDesenhoGeracao::julgaDesenho()
{
    const auto decorrido = Relogio::now() - m_inicio;
    if (m_desenhados > MaxEventos
        || (decorrido > TempoMinimoJulgamento && m_tempoDesenho * PartesDoDesenho > decorrido))
        m_porTriangulo = false;
}

void CDesenhoGeracao::descarrega()
{
    desenhaPendentes();
    m_ultimaDescarga = Relogio::now();
    if (m_atualiza)
        m_atualiza();
}

void CDesenhoGeracao::nodesPlaced(const std::vector<Ponto>& nos)
{
    {
        QPainter painter(&m_camada);
        painter.setPen(Qt::NoPen);
        painter.setBrush(tarvex::paint::ViewPalette::entry(tarvex::paint::corMalha::Triangulos));
        for (const Ponto& p : nos) {
            const QPoint q = m_mapeamento.paraPixel(p);
            painter.drawRect(q.x() - 1, q.y() - 1, 2, 2);
        }
    }
    descarrega();
}

void CDesenhoGeracao::triangleAdded(const Triangulo& t)
{
    registra({ Tipo::Novo, t, 0 });
}

void CDesenhoGeracao::triangleRemoved(const Triangulo& t)
{
    registra({ Tipo::Removido, t, 0 });
}

void CDesenhoGeracao::edgeHighlighted(const Ponto& a, const Ponto& b, int cor)
{
    registra({ Tipo::Aresta, Triangulo { a.x, a.y, b.x, b.y, b.x, b.y }, cor });
}

void CDesenhoGeracao::triangleHighlighted(const Triangulo& t, int cor)
{
    registra({ Tipo::Destaque, t, cor });
}

void CDesenhoGeracao::meshReset()
{
    m_pendentes.clear();
    m_camada.fill(Qt::transparent);
    descarrega();
}

void CDesenhoGeracao::stageDone(tarvex::problem::EtapaMalha, const mesher::Triangulacao& malha,
    const std::vector<mesher::ArestaVertices>&, std::size_t)
{
    // Once the layer stopped following the triangles, it shows the whole working mesh at the end
    // of a stage, if the drawing, as long as the events drawn so far took, keeps its share.
    const auto decorrido = Relogio::now() - m_inicio;
    const auto previsto = m_desenhados == 0
        ? Relogio::duration::zero()
        : m_tempoDesenho / static_cast<long>(m_desenhados) * static_cast<long>(malha.vivos());
    if (!m_porTriangulo && malha.vivos() <= MaxTriangulosEtapa
        && (m_tempoDesenho + previsto) * PartesDoDesenho <= decorrido) {
        const auto inicio = Relogio::now();
        m_camada.fill(Qt::transparent);
        std::vector<QLine> linhas;
        linhas.reserve(3 * malha.vivos());
        for (std::size_t i = 0; i < malha.tris.size(); ++i) {
            if (!malha.tris[i].vivo)
                continue;
            const Triangulo t = malha.triangulo(static_cast<mesher::TriId>(i));
            const QPoint a = m_mapeamento.paraPixel(t.x1, t.y1);
            const QPoint b = m_mapeamento.paraPixel(t.x2, t.y2);
            const QPoint c = m_mapeamento.paraPixel(t.x3, t.y3);
            linhas.emplace_back(a, b);
            linhas.emplace_back(b, c);
            linhas.emplace_back(c, a);
        }
        QPainter painter(&m_camada);
        painter.setPen(caneta(tarvex::paint::corMalha::Triangulos, 1));
        painter.drawLines(linhas.data(), static_cast<int>(linhas.size()));
        painter.end();
        m_tempoDesenho += Relogio::now() - inicio;
        m_desenhados += malha.vivos();
    }
    descarrega();
}
