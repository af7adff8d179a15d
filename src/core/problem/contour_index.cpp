#include "problem/contour_index.h"

#include "geometry/helpers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvex::problem {

namespace {

/// Below this many items a query simply scans them.
constexpr std::size_t MinItensGrade = 32;
constexpr int MaxCelulasLado = 1024;
/// An item over more cells than this is kept aside and tested on every query.
constexpr long long MaxCelulasItem = 256;

/// The point of a segment nearest to `p`, as a distance.
double distanciaReta(const Ponto& a, const Ponto& b, const Ponto& p)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double comprimento2 = dx * dx + dy * dy;
    if (!(comprimento2 > 0.0))
        return geometry::distancia(a, p);
    double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / comprimento2;
    t = std::clamp(t, 0.0, 1.0);
    return geometry::distancia({ a.x + t * dx, a.y + t * dy }, p);
}

GradeProximidade::Caixa caixaElemento(const SegmentoContorno& s)
{
    GradeProximidade::Caixa c { std::min(s.x1, s.x2), std::min(s.y1, s.y2), std::max(s.x1, s.x2),
        std::max(s.y1, s.y2) };
    if (s.ehArco != 0) {
        // The whole circle: loose, but it holds every point of the arc.
        const double r = geometry::distancia(s.centro(), s.p2());
        c.xMin = std::min(c.xMin, s.xc - r);
        c.yMin = std::min(c.yMin, s.yc - r);
        c.xMax = std::max(c.xMax, s.xc + r);
        c.yMax = std::max(c.yMax, s.yc + r);
    }
    return c;
}

bool finita(const GradeProximidade::Caixa& c)
{
    return std::isfinite(c.xMin) && std::isfinite(c.yMin) && std::isfinite(c.xMax)
        && std::isfinite(c.yMax);
}

/// Distance from `p` to a box (0 inside it): a lower bound for everything the box holds.
double distanciaCaixa(const GradeProximidade::Caixa& c, const Ponto& p)
{
    const double dx = std::max({ c.xMin - p.x, 0.0, p.x - c.xMax });
    const double dy = std::max({ c.yMin - p.y, 0.0, p.y - c.yMax });
    return std::hypot(dx, dy);
}

/// Keeps the first of equal distances: replaces the best only by a strictly smaller distance,
/// or by an equal one earlier in the list.
void considera(std::size_t i, double d, std::optional<std::size_t>& melhor, double& melhorD)
{
    if (std::isnan(d))
        return;
    if (!melhor || d < melhorD || (d == melhorD && i < *melhor)) {
        melhor = i;
        melhorD = d;
    }
}

} // namespace

double distanciaElemento(const SegmentoContorno& s, const Ponto& p)
{
    if (s.ehArco == 0)
        return distanciaReta(s.p1(), s.p2(), p);
    const bool direto = s.sentido != 0;
    const geometry::Arco arco = direto ? geometry::Arco { s.p1(), s.p2(), s.centro() }
                                       : geometry::Arco { s.p2(), s.p1(), s.centro() };
    const geometry::ExtensaoArco e = geometry::extensaoArco(arco);
    double angulo = geometry::anguloPolar(p.x - s.xc, p.y - s.yc);
    if (angulo < e.inicio)
        angulo += 2.0 * geometry::Pi;
    const double pontas = std::min(geometry::distancia(p, s.p1()), geometry::distancia(p, s.p2()));
    if (angulo <= e.fim)
        return std::min(std::abs(geometry::distancia(p, s.centro()) - e.raio), pontas);
    return pontas;
}

int GradeProximidade::celulaX(double x) const
{
    const double f = std::floor((x - m_x0) / m_larguraCelula);
    if (!(f >= 0.0))
        return 0;
    return f >= m_colunas - 1 ? m_colunas - 1 : static_cast<int>(f);
}

int GradeProximidade::celulaY(double y) const
{
    const double f = std::floor((y - m_y0) / m_alturaCelula);
    if (!(f >= 0.0))
        return 0;
    return f >= m_linhas - 1 ? m_linhas - 1 : static_cast<int>(f);
}

void GradeProximidade::construir(const std::vector<Caixa>& caixas)
{
    *this = GradeProximidade {};
    m_itens = caixas.size();
    if (m_itens < MinItensGrade)
        return;

    constexpr double Infinito = std::numeric_limits<double>::infinity();
    Caixa total { Infinito, Infinito, -Infinito, -Infinito };
    for (const Caixa& c : caixas) {
        if (!finita(c))
            continue;
        total.xMin = std::min(total.xMin, c.xMin);
        total.yMin = std::min(total.yMin, c.yMin);
        total.xMax = std::max(total.xMax, c.xMax);
        total.yMax = std::max(total.yMax, c.yMax);
    }
    if (!finita(total))
        return;
    m_caixas = caixas;

    // A few items per cell, cells as square as the extent allows: larger cells mean fewer empty
    // cells to walk past when the nearest item is far, and the box test keeps the items cheap.
    const double largura = total.xMax - total.xMin;
    const double altura = total.yMax - total.yMin;
    const double lado = std::max(largura, altura);
    if (!(lado > 0.0) || !std::isfinite(lado))
        return;
    const double alvo = std::sqrt(static_cast<double>(m_itens) / 4.0);
    const double celula = lado / std::max(1.0, alvo);
    m_colunas = std::clamp(static_cast<int>(std::ceil(largura / celula)), 1, MaxCelulasLado);
    m_linhas = std::clamp(static_cast<int>(std::ceil(altura / celula)), 1, MaxCelulasLado);
    m_x0 = total.xMin;
    m_y0 = total.yMin;
    m_larguraCelula = largura > 0.0 ? largura / m_colunas : celula;
    m_alturaCelula = altura > 0.0 ? altura / m_linhas : celula;
    if (!(m_larguraCelula > 0.0) || !(m_alturaCelula > 0.0))
        return;
    m_varredura = false;

    // Two passes over the items build the compressed rows.
    const std::size_t celulas = static_cast<std::size_t>(m_colunas) * m_linhas;
    std::vector<std::uint32_t> contagem(celulas + 1, 0);
    std::vector<bool> grande(m_itens, false);
    const auto porCelula = [&](std::size_t i, auto visita) {
        const Caixa& c = caixas[i];
        const int i0 = celulaX(c.xMin), i1 = celulaX(c.xMax);
        const int j0 = celulaY(c.yMin), j1 = celulaY(c.yMax);
        for (int j = j0; j <= j1; ++j)
            for (int k = i0; k <= i1; ++k)
                visita(static_cast<std::size_t>(j) * m_colunas + k);
    };
    for (std::size_t i = 0; i < m_itens; ++i) {
        const Caixa& c = caixas[i];
        const long long area = finita(c)
            ? static_cast<long long>(celulaX(c.xMax) - celulaX(c.xMin) + 1)
                * (celulaY(c.yMax) - celulaY(c.yMin) + 1)
            : MaxCelulasItem + 1;
        if (area > MaxCelulasItem) {
            grande[i] = true;
            m_grandes.push_back(static_cast<std::uint32_t>(i));
            continue;
        }
        porCelula(i, [&](std::size_t cel) { ++contagem[cel + 1]; });
    }
    for (std::size_t k = 0; k < celulas; ++k)
        contagem[k + 1] += contagem[k];
    m_inicioCelula = contagem;
    m_itensCelula.resize(contagem[celulas]);
    std::vector<std::uint32_t> livre(contagem.begin(), contagem.end() - 1);
    for (std::size_t i = 0; i < m_itens; ++i) {
        if (grande[i])
            continue;
        porCelula(i,
            [&](std::size_t cel) { m_itensCelula[livre[cel]++] = static_cast<std::uint32_t>(i); });
    }
}

std::optional<std::size_t> GradeProximidade::maisProximo(
    const Ponto& p, const Distancia& distancia) const
{
    if (m_varredura || !std::isfinite(p.x) || !std::isfinite(p.y))
        return maisProximoPorVarredura(m_itens, distancia);

    std::optional<std::size_t> melhor;
    double melhorD = 0.0;
    for (const std::uint32_t i : m_grandes)
        considera(i, distancia(i), melhor, melhorD);

    const int ci = celulaX(p.x);
    const int cj = celulaY(p.y);
    const int maxAnel = std::max({ ci, m_colunas - 1 - ci, cj, m_linhas - 1 - cj });
    // Boxes are only lower bounds, so a box exactly as far as the best may still hold a tie:
    // only boxes strictly farther are passed over.
    const auto visitaCelula = [&](int k, int j) {
        const std::size_t cel = static_cast<std::size_t>(j) * m_colunas + k;
        if (m_inicioCelula[cel] == m_inicioCelula[cel + 1])
            return;
        if (melhor) {
            const Caixa celula { m_x0 + k * m_larguraCelula, m_y0 + j * m_alturaCelula,
                m_x0 + (k + 1) * m_larguraCelula, m_y0 + (j + 1) * m_alturaCelula };
            if (distanciaCaixa(celula, p) * (1.0 - 1e-9) - 1e-12 > melhorD)
                return;
        }
        for (std::uint32_t n = m_inicioCelula[cel]; n < m_inicioCelula[cel + 1]; ++n) {
            const std::uint32_t i = m_itensCelula[n];
            if (melhor && distanciaCaixa(m_caixas[i], p) * (1.0 - 1e-9) - 1e-12 > melhorD)
                continue;
            considera(i, distancia(i), melhor, melhorD);
        }
    };
    for (int anel = 0; anel <= maxAnel; ++anel) {
        const int k0 = ci - anel, k1 = ci + anel, j0 = cj - anel, j1 = cj + anel;
        for (int j = std::max(j0, 0); j <= std::min(j1, m_linhas - 1); ++j) {
            if (j == j0 || j == j1) {
                for (int k = std::max(k0, 0); k <= std::min(k1, m_colunas - 1); ++k)
                    visitaCelula(k, j);
                continue;
            }
            // Inside rows of the ring: only its two side cells.
            if (k0 >= 0)
                visitaCelula(k0, j);
            if (k1 < m_colunas && k1 != k0)
                visitaCelula(k1, j);
        }
        if (!melhor)
            continue;
        // Every item not seen lies in a cell beyond this block, so at least this far away.
        constexpr double Infinito = std::numeric_limits<double>::infinity();
        double limite = Infinito;
        if (k0 > 0)
            limite = std::min(limite, std::max(0.0, p.x - (m_x0 + k0 * m_larguraCelula)));
        if (k1 < m_colunas - 1)
            limite = std::min(limite, std::max(0.0, m_x0 + (k1 + 1) * m_larguraCelula - p.x));
        if (j0 > 0)
            limite = std::min(limite, std::max(0.0, p.y - (m_y0 + j0 * m_alturaCelula)));
        if (j1 < m_linhas - 1)
            limite = std::min(limite, std::max(0.0, m_y0 + (j1 + 1) * m_alturaCelula - p.y));
        // A margin for rounding at cell borders: stopping late is only slower, never wrong.
        if (melhorD < limite * (1.0 - 1e-9) - 1e-12)
            break;
    }
    return melhor;
}

std::optional<std::size_t> maisProximoPorVarredura(
    std::size_t quantidade, const GradeProximidade::Distancia& distancia)
{
    std::optional<std::size_t> melhor;
    double melhorD = 0.0;
    for (std::size_t i = 0; i < quantidade; ++i)
        considera(i, distancia(i), melhor, melhorD);
    return melhor;
}

IndiceContorno::Marca IndiceContorno::marcaDe(const std::vector<SegmentoContorno>& lista)
{
    Marca m;
    m.tamanho = lista.size();
    for (const SegmentoContorno* s :
        { lista.empty() ? nullptr : &lista.front(), lista.empty() ? nullptr : &lista.back() }) {
        if (s)
            m.pontas.insert(m.pontas.end(),
                { s->x1, s->y1, s->x2, s->y2, s->xc, s->yc, static_cast<double>(s->ehArco) });
    }
    return m;
}

IndiceContorno::Marca IndiceContorno::marcaDe(const std::vector<Ponto>& lista)
{
    Marca m;
    m.tamanho = lista.size();
    if (!lista.empty())
        m.pontas = { lista.front().x, lista.front().y, lista.back().x, lista.back().y };
    return m;
}

void IndiceContorno::construir(const std::vector<SegmentoContorno>& pool,
    const std::vector<SegmentoContorno>& externo, const std::vector<Ponto>& pontos)
{
    const auto caixas = [](const std::vector<SegmentoContorno>& lista) {
        std::vector<GradeProximidade::Caixa> c;
        c.reserve(lista.size());
        for (const SegmentoContorno& s : lista)
            c.push_back(caixaElemento(s));
        return c;
    };
    m_segmentos.construir(caixas(pool));
    m_externos.construir(caixas(externo));
    std::vector<GradeProximidade::Caixa> caixasPontos;
    caixasPontos.reserve(pontos.size());
    for (const Ponto& p : pontos)
        caixasPontos.push_back({ p.x, p.y, p.x, p.y });
    m_pontos.construir(caixasPontos);
    m_marcaPool = marcaDe(pool);
    m_marcaExterno = marcaDe(externo);
    m_marcaPontos = marcaDe(pontos);
    m_construido = true;
}

bool IndiceContorno::valePara(const std::vector<SegmentoContorno>& pool,
    const std::vector<SegmentoContorno>& externo, const std::vector<Ponto>& pontos) const
{
    return m_construido && m_marcaPool == marcaDe(pool) && m_marcaExterno == marcaDe(externo)
        && m_marcaPontos == marcaDe(pontos);
}

} // namespace tarvex::problem
