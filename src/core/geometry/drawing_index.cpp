#include "geometry/drawing_index.h"

#include "geometry/drawing.h"
#include "geometry/helpers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvex::geometry {

namespace {

constexpr int Amostras = 200;
constexpr double Infinito = std::numeric_limits<double>::infinity();
/// An item overlapping more cells than this is kept aside and measured on every query, so one
/// long segment does not fill the whole grid.
constexpr double CelulasPorItemMaximo = 16.0;
constexpr double CelulasPorEixoMaximo = 2048.0;

/// Best candidate so far: the smallest distance, the first in list order (the highest storage
/// index) on ties, exactly as a scan in list order with a strict comparison keeps it.
struct Melhor {
    double distancia = Infinito;
    std::size_t armazenamento = 0;
    bool achou = false;

    void considerar(double d, std::size_t s)
    {
        if (d < distancia || (achou && d == distancia && s > armazenamento)) {
            distancia = d;
            armazenamento = s;
            achou = true;
        }
    }
};

} // namespace

double distanciaAmostrada(const Segmento& s, const Ponto& clique)
{
    double melhor = Infinito;
    for (int i = 1; i < Amostras; ++i) {
        const double f = static_cast<double>(i) / Amostras;
        const Ponto amostra { s.P1.x + f * (s.P2.x - s.P1.x), s.P1.y + f * (s.P2.y - s.P1.y) };
        melhor = std::min(melhor, distancia(amostra, clique));
    }
    return melhor;
}

double distanciaAmostrada(const Arco& a, const Ponto& clique)
{
    const ExtensaoArco e = extensaoArco(a);
    const double extensao = e.fim - e.inicio;
    double melhor = Infinito;
    for (int i = 1; i < Amostras; ++i) {
        const double angulo = e.inicio + (static_cast<double>(i) / Amostras) * extensao;
        const Ponto amostra { a.PC.x + e.raio * std::cos(angulo),
            a.PC.y + e.raio * std::sin(angulo) };
        melhor = std::min(melhor, distancia(amostra, clique));
    }
    return melhor;
}

namespace {

template <typename T, typename Medir>
Melhor melhorLinear(const std::vector<T>& armazenamento, Medir medir)
{
    // Storage order is the reverse of list order: walk it backwards so the strict comparison
    // keeps the first in list order.
    Melhor melhor;
    for (std::size_t s = armazenamento.size(); s-- > 0;) {
        const double d = medir(armazenamento[s]);
        if (d < melhor.distancia) {
            melhor.distancia = d;
            melhor.armazenamento = s;
            melhor.achou = true;
        }
    }
    return melhor;
}

std::size_t posicaoLista(std::size_t armazenamento, std::size_t tamanho)
{
    return tamanho - 1 - armazenamento;
}

std::optional<EntidadeEscolhida> escolherEntidade(
    const Melhor& segmento, std::size_t segmentos, const Melhor& arco, std::size_t arcos)
{
    if (segmento.achou && (!arco.achou || segmento.distancia < arco.distancia))
        return EntidadeEscolhida { EntidadeEscolhida::Tipo::Segmento,
            posicaoLista(segmento.armazenamento, segmentos) };
    if (arco.achou)
        return EntidadeEscolhida { EntidadeEscolhida::Tipo::Arco,
            posicaoLista(arco.armazenamento, arcos) };
    return std::nullopt;
}

} // namespace

std::optional<std::size_t> pontoMaisPertoLinear(const DrawingData& drawing, const Ponto& clique)
{
    const auto& pontos = drawing.pontos.inStorageOrder();
    const Melhor melhor
        = melhorLinear(pontos, [&](const Ponto& p) { return distancia(p, clique); });
    if (!melhor.achou)
        return std::nullopt;
    return posicaoLista(melhor.armazenamento, pontos.size());
}

std::optional<EntidadeEscolhida> entidadeMaisPertoLinear(
    const DrawingData& drawing, const Ponto& clique)
{
    const auto& segmentos = drawing.segmentos.inStorageOrder();
    const auto& arcos = drawing.arcos.inStorageOrder();
    const Melhor s
        = melhorLinear(segmentos, [&](const Segmento& x) { return distanciaAmostrada(x, clique); });
    const Melhor a
        = melhorLinear(arcos, [&](const Arco& x) { return distanciaAmostrada(x, clique); });
    return escolherEntidade(s, segmentos.size(), a, arcos.size());
}

// --- The grid ------------------------------------------------------------------------------

void IndiceDesenho::Grade::construir(const std::vector<Caixa>& caixas)
{
    m_total = caixas.size();
    m_inicio.clear();
    m_itens.clear();
    m_grandes.clear();
    m_visita.assign(m_total, 0);
    m_rodada = 0;
    if (m_total == 0)
        return;

    const auto finito = [](const Caixa& c) {
        return std::isfinite(c.xMin) && std::isfinite(c.yMin) && std::isfinite(c.xMax)
            && std::isfinite(c.yMax);
    };
    double x0 = Infinito, y0 = Infinito, x1 = -Infinito, y1 = -Infinito;
    for (const Caixa& c : caixas) {
        if (!finito(c))
            continue;
        x0 = std::min(x0, c.xMin);
        y0 = std::min(y0, c.yMin);
        x1 = std::max(x1, c.xMax);
        y1 = std::max(y1, c.yMax);
    }
    if (!(x0 <= x1)) { // nothing finite: every item is measured on every query
        x0 = y0 = 0.0;
        x1 = y1 = 1.0;
    }
    const double w = x1 - x0;
    const double h = y1 - y0;
    const double n = static_cast<double>(m_total);
    double nx = 1.0, ny = 1.0;
    if (w > 0.0 && h > 0.0) {
        nx = std::sqrt(n * w / h);
        ny = n / std::max(nx, 1.0);
    } else if (w > 0.0) {
        nx = n;
    } else if (h > 0.0) {
        ny = n;
    }
    // A width or height overflowing to infinity leaves a single cell on that axis.
    nx = std::isfinite(nx) ? std::clamp(std::round(nx), 1.0, CelulasPorEixoMaximo) : 1.0;
    ny = std::isfinite(ny) ? std::clamp(std::round(ny), 1.0, CelulasPorEixoMaximo) : 1.0;
    m_nx = static_cast<int>(nx);
    m_ny = static_cast<int>(ny);
    m_x0 = x0;
    m_y0 = y0;
    m_lx = (w > 0.0 && std::isfinite(w)) ? w / m_nx : 1.0;
    m_ly = (h > 0.0 && std::isfinite(h)) ? h / m_ny : 1.0;
    // Rounding may put a sample a hair outside its box or cell; the stopping test allows for it.
    m_margem = 1e-9 * (std::fabs(x0) + std::fabs(x1) + std::fabs(y0) + std::fabs(y1) + m_lx + m_ly);
    if (!std::isfinite(m_margem))
        m_margem = Infinito;

    const auto celula = [](double v, double origem, double lado, int n) {
        const double f = std::floor((v - origem) / lado);
        return static_cast<int>(std::clamp(f, 0.0, static_cast<double>(n - 1)));
    };
    struct Faixa {
        int cx0, cy0, cx1, cy1;
    };
    std::vector<Faixa> faixas(m_total);
    std::vector<std::uint32_t> contagem(static_cast<std::size_t>(m_nx) * m_ny + 1, 0);
    for (std::size_t i = 0; i < m_total; ++i) {
        const Caixa& c = caixas[i];
        Faixa& f = faixas[i];
        f = { 0, 0, -1, -1 };
        if (!finito(c)) {
            m_grandes.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        const Faixa g { celula(c.xMin, m_x0, m_lx, m_nx), celula(c.yMin, m_y0, m_ly, m_ny),
            celula(c.xMax, m_x0, m_lx, m_nx), celula(c.yMax, m_y0, m_ly, m_ny) };
        const double celulas = static_cast<double>(g.cx1 - g.cx0 + 1) * (g.cy1 - g.cy0 + 1);
        if (celulas > CelulasPorItemMaximo) {
            m_grandes.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        f = g;
        for (int cy = f.cy0; cy <= f.cy1; ++cy)
            for (int cx = f.cx0; cx <= f.cx1; ++cx)
                ++contagem[static_cast<std::size_t>(cy) * m_nx + cx];
    }
    m_inicio.assign(contagem.size(), 0);
    std::uint32_t soma = 0;
    for (std::size_t c = 0; c + 1 < contagem.size(); ++c) {
        m_inicio[c] = soma;
        soma += contagem[c];
    }
    m_inicio.back() = soma;
    m_itens.assign(soma, 0);
    std::vector<std::uint32_t> proximo(m_inicio.begin(), m_inicio.end() - 1);
    for (std::size_t i = 0; i < m_total; ++i) {
        const Faixa& f = faixas[i];
        for (int cy = f.cy0; cy <= f.cy1; ++cy)
            for (int cx = f.cx0; cx <= f.cx1; ++cx)
                m_itens[proximo[static_cast<std::size_t>(cy) * m_nx + cx]++]
                    = static_cast<std::uint32_t>(i);
    }
}

template <typename Medir, typename Melhor>
void IndiceDesenho::Grade::buscar(const Ponto& clique, Medir medir, Melhor melhor) const
{
    if (m_total == 0)
        return;
    if (++m_rodada == 0) {
        std::fill(m_visita.begin(), m_visita.end(), 0);
        m_rodada = 1;
    }
    const auto visitar = [&](std::uint32_t item) {
        if (m_visita[item] == m_rodada)
            return;
        m_visita[item] = m_rodada;
        medir(item);
    };
    for (const std::uint32_t item : m_grandes)
        visitar(item);

    const auto celula = [](double v, double origem, double lado, int n) {
        const double f = std::floor((v - origem) / lado);
        // A NaN click lands in cell 0; the search then simply covers the whole grid.
        if (!(f == f))
            return 0;
        return static_cast<int>(std::clamp(f, 0.0, static_cast<double>(n - 1)));
    };
    const int cx = celula(clique.x, m_x0, m_lx, m_nx);
    const int cy = celula(clique.y, m_y0, m_ly, m_ny);
    const auto visitarCelula = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= m_nx || y >= m_ny)
            return;
        const std::size_t c = static_cast<std::size_t>(y) * m_nx + x;
        for (std::uint32_t k = m_inicio[c]; k < m_inicio[c + 1]; ++k)
            visitar(m_itens[k]);
    };
    for (int k = 0;; ++k) {
        if (k == 0) {
            visitarCelula(cx, cy);
        } else {
            for (int x = cx - k; x <= cx + k; ++x) {
                visitarCelula(x, cy - k);
                visitarCelula(x, cy + k);
            }
            for (int y = cy - k + 1; y <= cy + k - 1; ++y) {
                visitarCelula(cx - k, y);
                visitarCelula(cx + k, y);
            }
        }
        const bool esquerda = cx - k <= 0;
        const bool direita = cx + k >= m_nx - 1;
        const bool baixo = cy - k <= 0;
        const bool cima = cy + k >= m_ny - 1;
        if (esquerda && direita && baixo && cima)
            return;
        // Everything not yet measured lies beyond the uncovered sides of the visited block.
        double limite = Infinito;
        if (!esquerda)
            limite = std::min(limite, clique.x - (m_x0 + (cx - k) * m_lx));
        if (!direita)
            limite = std::min(limite, (m_x0 + (cx + k + 1) * m_lx) - clique.x);
        if (!baixo)
            limite = std::min(limite, clique.y - (m_y0 + (cy - k) * m_ly));
        if (!cima)
            limite = std::min(limite, (m_y0 + (cy + k + 1) * m_ly) - clique.y);
        if (melhor() < limite - m_margem)
            return;
    }
}

// --- The index -----------------------------------------------------------------------------

IndiceDesenho::IndiceDesenho(const DrawingData& drawing)
    : m_listaPontos(drawing.pontos.inStorageOrder())
    , m_listaSegmentos(drawing.segmentos.inStorageOrder())
    , m_listaArcos(drawing.arcos.inStorageOrder())
{
    std::vector<Grade::Caixa> caixas;
    caixas.reserve(m_listaPontos.size());
    for (const Ponto& p : m_listaPontos)
        caixas.push_back({ p.x, p.y, p.x, p.y });
    m_pontos.construir(caixas);

    caixas.clear();
    for (const Segmento& s : m_listaSegmentos)
        caixas.push_back({ std::min(s.P1.x, s.P2.x), std::min(s.P1.y, s.P2.y),
            std::max(s.P1.x, s.P2.x), std::max(s.P1.y, s.P2.y) });
    m_segmentos.construir(caixas);

    // Every sample of an arc lies on its circle (radius from PC to P2), whatever its extent.
    caixas.clear();
    for (const Arco& a : m_listaArcos) {
        const double r = distancia(a.PC, a.P2);
        caixas.push_back({ a.PC.x - r, a.PC.y - r, a.PC.x + r, a.PC.y + r });
    }
    m_arcos.construir(caixas);
}

std::optional<std::size_t> IndiceDesenho::pontoMaisPerto(const Ponto& clique) const
{
    Melhor melhor;
    m_pontos.buscar(
        clique, [&](std::uint32_t s) { melhor.considerar(distancia(m_listaPontos[s], clique), s); },
        [&] { return melhor.distancia; });
    if (!melhor.achou)
        return std::nullopt;
    return posicaoLista(melhor.armazenamento, m_listaPontos.size());
}

std::optional<EntidadeEscolhida> IndiceDesenho::entidadeMaisPerto(const Ponto& clique) const
{
    Melhor segmento;
    m_segmentos.buscar(
        clique,
        [&](std::uint32_t s) {
            segmento.considerar(distanciaAmostrada(m_listaSegmentos[s], clique), s);
        },
        [&] { return segmento.distancia; });
    Melhor arco;
    m_arcos.buscar(
        clique,
        [&](std::uint32_t s) { arco.considerar(distanciaAmostrada(m_listaArcos[s], clique), s); },
        [&] { return arco.distancia; });
    return escolherEntidade(segmento, m_listaSegmentos.size(), arco, m_listaArcos.size());
}

} // namespace tarvex::geometry
