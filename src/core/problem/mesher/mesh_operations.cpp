#include "problem/mesher/mesh_operations.h"

#include "common/messages.h"
#include "geometry/helpers.h"
#include "problem/mesher/smoothing.h"
#include "problem/mesher/spatial_index.h"
#include "problem/problem_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

namespace tarvex::problem {

using geometry::coincide;
using geometry::Ponto;
using namespace mesher;

namespace {

/// Moves side midpoints onto the contour arcs that both ends of the side lie on.
class MeioSobreArco {
public:
    explicit MeioSobreArco(const ProblemData& data, const std::vector<Ponto>& vertices)
    {
        double extent = 0.0;
        for (const Ponto& p : vertices)
            extent = std::max({ extent, std::fabs(p.x), std::fabs(p.y) });
        std::vector<SegmentoContorno> arcs;
        for (const SegmentoContorno& s : data.poolSegmentos)
            if (s.ehArco != 0)
                arcs.push_back(s);
        m_arcs = arcs;
        ContornoNos index;
        index.build(arcs, std::max(data.tolerancia, 1e-12 * extent));
        m_on.resize(vertices.size());
        std::vector<std::int32_t> found;
        if (!arcs.empty())
            for (std::size_t v = 0; v < vertices.size(); ++v) {
                index.elementsAt(vertices[v], found);
                m_on[v] = found;
            }
    }

    Ponto meio(std::int32_t va, Ponto a, std::int32_t vb, Ponto b) const
    {
        // Both triangles of a side must get the very same point, or the mesh cracks there.
        if (vb < va) {
            std::swap(va, vb);
            std::swap(a, b);
        }
        Ponto m { (a.x + b.x) / 2.0, (a.y + b.y) / 2.0 };
        for (const std::int32_t i : m_on[va]) {
            if (std::find(m_on[vb].begin(), m_on[vb].end(), i) == m_on[vb].end())
                continue;
            const Ponto c = m_arcs[i].centro();
            const double r = geometry::distancia(c, a);
            const double d = geometry::distancia(c, m);
            if (d > 0.0)
                m = { m.x + (m.x - c.x) * (r / d - 1.0), m.y + (m.y - c.y) * (r / d - 1.0) };
            break;
        }
        return m;
    }

private:
    std::vector<SegmentoContorno> m_arcs;
    std::vector<std::vector<std::int32_t>> m_on;
};

/// The triangles of the document in list order with vertex ids (coincidence 1e-8).
struct TriangulosIndexados {
    std::vector<Triangulo> tris;
    std::vector<Ponto> vertices;
    std::vector<std::array<std::int32_t, 3>> ids;
};

TriangulosIndexados indexa(const ProblemData& data)
{
    TriangulosIndexados out;
    out.tris.assign(data.triangulos.inListOrder().begin(), data.triangulos.inListOrder().end());
    std::vector<Ponto> corners;
    corners.reserve(out.tris.size() * 3);
    for (const Triangulo& t : out.tris) {
        corners.push_back({ t.x1, t.y1 });
        corners.push_back({ t.x2, t.y2 });
        corners.push_back({ t.x3, t.y3 });
    }
    PontosDistintos distinct = pontosDistintos(corners);
    out.vertices = std::move(distinct.pontos);
    out.ids.resize(out.tris.size());
    for (std::size_t k = 0; k < out.tris.size(); ++k)
        out.ids[k]
            = { distinct.indice[3 * k], distinct.indice[3 * k + 1], distinct.indice[3 * k + 2] };
    return out;
}

std::array<Ponto, 3> verticesOf(const Triangulo& t)
{
    return { Ponto { t.x1, t.y1 }, Ponto { t.x2, t.y2 }, Ponto { t.x3, t.y3 } };
}

Triangulo triOf(const Ponto& a, const Ponto& b, const Ponto& c)
{
    return { a.x, a.y, b.x, b.y, c.x, c.y };
}

std::uint64_t sideKey(std::int32_t a, std::int32_t b)
{
    const auto lo = static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::min(a, b)));
    const auto hi = static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::max(a, b)));
    return (hi << 32) | lo;
}

/// Distinct midpoints in the order given.
class ColetaMeios {
public:
    void add(const Ponto& p)
    {
        if (m_hash.find(p, m_points) >= 0)
            return;
        m_hash.insert(p, static_cast<std::int32_t>(m_points.size()));
        m_points.push_back(p);
    }
    const std::vector<Ponto>& points() const { return m_points; }

private:
    HashPontos m_hash;
    std::vector<Ponto> m_points;
};

/// The four triangles of a split, put at the front in the order of the refinement.
void divideEmQuatro(
    const std::array<Ponto, 3>& v, const std::array<Ponto, 3>& m, common::FrontList<Triangulo>& out)
{
    // m[0] = M12, m[1] = M23, m[2] = M31.
    out.pushFront(triOf(v[0], m[0], m[2]));
    out.pushFront(triOf(m[0], v[1], m[1]));
    out.pushFront(triOf(m[2], m[1], v[2]));
    out.pushFront(triOf(m[0], m[1], m[2]));
}

/// Triangle k cut into four at the midpoints of its sides (on the arc where a side is a chord
/// of one), the midpoints collected as new nodes.
void divideTriangulo(const TriangulosIndexados& in, std::size_t k, const MeioSobreArco& arco,
    common::FrontList<Triangulo>& out, ColetaMeios& meios)
{
    const auto v = verticesOf(in.tris[k]);
    const auto& id = in.ids[k];
    const std::array<Ponto, 3> m { arco.meio(id[0], v[0], id[1], v[1]),
        arco.meio(id[1], v[1], id[2], v[2]), arco.meio(id[2], v[2], id[0], v[0]) };
    divideEmQuatro(v, m, out);
    for (const Ponto& p : m)
        meios.add(p);
}

void atualizaContagens(ProblemData& data, const ColetaMeios& meios)
{
    if (!data.nos.empty())
        for (const Ponto& p : meios.points())
            data.nos.pushFront(p);
    data.numTriangulos = static_cast<std::int32_t>(data.triangulos.size());
    if (data.numNos != 0) {
        std::vector<Ponto> corners;
        corners.reserve(data.triangulos.size() * 3);
        for (const Triangulo& t : data.triangulos.inListOrder())
            for (const Ponto& p : verticesOf(t))
                corners.push_back(p);
        data.numNos = static_cast<std::int32_t>(pontosDistintos(corners).pontos.size());
    }
}

double grausDe(double r)
{
    // asin is defined up to 1: a ratio past 2 (angles under 14.5°) reads as 90.
    return std::asin(std::clamp(r / 2.0, -1.0, 1.0)) * 180.0 / geometry::Pi;
}

std::string formata(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

long triangulosAposRefinoTotal(const ProblemData& data)
{
    return 4L * static_cast<long>(data.triangulos.size());
}

std::string perguntaRefinoTotal(const ProblemData& data)
{
    const long depois = triangulosAposRefinoTotal(data);
    if (depois <= LimiteRefinoTotalSemPergunta)
        return {};
    const std::string formato(msg::PerguntaRefinoTotal);
    std::string texto(formato.size() + 32, '\0');
    const int n = std::snprintf(texto.data(), texto.size(), formato.c_str(), depois);
    texto.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return texto;
}

Status refinaTotal(ProblemData& data)
{
    if (data.numTriangulos == 0 || data.triangulos.empty())
        return Status::failure(msg::MalhaNaoGerada);
    const TriangulosIndexados in = indexa(data);
    const MeioSobreArco arco(data, in.vertices);
    common::FrontList<Triangulo> out;
    ColetaMeios meios;
    for (std::size_t k = 0; k < in.tris.size(); ++k)
        divideTriangulo(in, k, arco, out, meios);
    data.triangulos = std::move(out);
    atualizaContagens(data, meios);
    return Status::success();
}

Status refinaArea(ProblemData& data)
{
    const auto& c = data.cantosArea;
    bool valid = !coincide(c[0], c[1]);
    for (int i = 0; i < 4 && valid; ++i)
        for (int j = i + 1; j < 4 && valid; ++j)
            valid = !coincide(c[i], c[j]);
    if (!valid)
        return Status::failure(msg::AreaRefinoIncorreta);
    if (data.numTriangulos == 0 || data.triangulos.empty())
        return Status::failure(msg::MalhaNaoGerada);
    double x0 = c[0].x, x1 = c[0].x, y0 = c[0].y, y1 = c[0].y;
    for (const Ponto& p : c) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    const auto inside
        = [&](const Ponto& p) { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; };

    const TriangulosIndexados in = indexa(data);
    std::vector<std::size_t> interior, border, rest;
    for (std::size_t k = 0; k < in.tris.size(); ++k) {
        int count = 0;
        for (const Ponto& p : verticesOf(in.tris[k]))
            count += inside(p) ? 1 : 0;
        (count == 3 ? interior : (count > 0 ? border : rest)).push_back(k);
    }
    if (interior.empty() && border.empty())
        return Status::failure(msg::AreaSemTriangulos);

    const MeioSobreArco arco(data, in.vertices);
    std::unordered_multimap<std::uint64_t, std::size_t> bySide; // side -> border triangle
    for (const std::size_t k : border)
        for (int i = 0; i < 3; ++i)
            bySide.emplace(sideKey(in.ids[k][i], in.ids[k][(i + 1) % 3]), k);
    std::vector<char> cut(in.tris.size(), 0);

    common::FrontList<Triangulo> out;
    for (auto it = rest.rbegin(); it != rest.rend(); ++it)
        out.pushFront(in.tris[*it]);
    // Border triangles first: each is cut once, at the first side it shares with an interior one.
    for (const std::size_t k : interior) {
        const auto& id = in.ids[k];
        for (int i = 0; i < 3; ++i) {
            const auto [lo, hi] = bySide.equal_range(sideKey(id[i], id[(i + 1) % 3]));
            std::vector<std::size_t> sharing;
            for (auto s = lo; s != hi; ++s)
                if (cut[s->second] == 0)
                    sharing.push_back(s->second);
            std::sort(sharing.begin(), sharing.end());
            for (const std::size_t b : sharing) {
                const auto v = verticesOf(in.tris[b]);
                const auto& bid = in.ids[b];
                int j = 0;
                while (
                    j < 3 && sideKey(bid[j], bid[(j + 1) % 3]) != sideKey(id[i], id[(i + 1) % 3]))
                    ++j;
                const Ponto& a = v[j];
                const Ponto& e = v[(j + 1) % 3];
                const Ponto& o = v[(j + 2) % 3];
                const Ponto m = arco.meio(bid[j], a, bid[(j + 1) % 3], e);
                out.pushFront(triOf(a, m, o));
                out.pushFront(triOf(m, e, o));
                cut[b] = 1;
            }
        }
    }
    for (const std::size_t b : border)
        if (cut[b] == 0)
            out.pushFront(in.tris[b]);
    ColetaMeios meios;
    for (const std::size_t k : interior)
        divideTriangulo(in, k, arco, out, meios);
    data.triangulos = std::move(out);
    atualizaContagens(data, meios);
    return Status::success();
}

Status recentraMalha(ProblemData& data, ResultadoRecentragem& out)
{
    if (data.numNos == 0 || data.triangulos.empty())
        return Status::failure(msg::RecentragemSemMalha);
    MalhaIndices malha = malhaDoDocumento(data);
    out.antes = data.qualidadeMalha;
    passoCompleto(malha);
    out.depois = qualidadeMedia(malha);
    escreveMalha(malha, data);
    data.qualidadeMalha = out.depois;
    char text[256];
    std::snprintf(text, sizeof text, msg::FormatoRecentragem, out.antes, out.depois);
    out.texto = std::string(msg::RecentragemEfetuada) + text;
    return Status::success();
}

Status informacoesMalha(ProblemData& data, InformacoesMalha& out)
{
    if (data.numTriangulos == 0 || data.triangulos.empty())
        return Status::failure(msg::MalhaNaoGerada);
    if (data.numNos == 0) {
        std::vector<Ponto> corners;
        corners.reserve(data.triangulos.size() * 3);
        for (const Triangulo& t : data.triangulos.inListOrder())
            for (const Ponto& p : verticesOf(t))
                corners.push_back(p);
        const PontosDistintos distinct = pontosDistintos(corners);
        data.nos.clear();
        for (auto it = distinct.pontos.rbegin(); it != distinct.pontos.rend(); ++it)
            data.nos.pushFront(*it);
        data.numNos = static_cast<std::int32_t>(distinct.pontos.size());
    }
    InformacoesMalha info;
    info.triangulos = data.numTriangulos;
    info.nos = data.numNos;
    double sumQ = 0.0, sumR = 0.0, minR = 1e300, sumArea = 0.0, minArea = 1e300;
    std::size_t k = 0;
    for (const Triangulo& t : data.triangulos.inListOrder()) {
        const auto v = verticesOf(t);
        const double q = qualidadeTriangulo(v[0], v[1], v[2]);
        sumQ += q;
        info.qualidadeMinima = std::min(info.qualidadeMinima, q);
        const double shortest = std::min({ geometry::distancia(v[0], v[1]),
            geometry::distancia(v[1], v[2]), geometry::distancia(v[2], v[0]) });
        const Ponto centre = geometry::circuncentro(v[0], v[1], v[2]);
        const double r = geometry::distancia(centre, v[0]) / shortest;
        sumR += r;
        minR = std::min(minR, r);
        const double area = std::fabs(geometry::areaOrientada(v[0], v[1], v[2]));
        sumArea += area;
        if (area < minArea) {
            minArea = area;
            info.menorTriangulo = k;
        }
        ++k;
    }
    const double n = static_cast<double>(data.numTriangulos);
    info.qualidadeMedia = sumQ / n;
    info.anguloMedio = grausDe(sumR / static_cast<double>(k));
    info.anguloMinimo = grausDe(minR);
    info.areaMedia = sumArea / n;
    info.areaMinima = minArea;
    data.qualidadeMalha = info.qualidadeMedia;
    out = info;
    return Status::success();
}

std::vector<std::pair<std::string_view, std::string>> textosInformacoes(
    const InformacoesMalha& info)
{
    char count[32];
    std::vector<std::pair<std::string_view, std::string>> rows;
    std::snprintf(count, sizeof count, "%ld", info.triangulos);
    rows.emplace_back(msg::InfoNumElementos, count);
    std::snprintf(count, sizeof count, "%ld", info.nos);
    rows.emplace_back(msg::InfoNumNos, count);
    rows.emplace_back(msg::InfoQualidadeMedia, formata("%5.3f", info.qualidadeMedia));
    rows.emplace_back(msg::InfoQualidadeMinima, formata("%5.3f", info.qualidadeMinima));
    rows.emplace_back(msg::InfoAnguloMedio, formata("%5.3f", info.anguloMedio));
    rows.emplace_back(msg::InfoAnguloMinimo, formata("%5.3f", info.anguloMinimo));
    rows.emplace_back(msg::InfoAreaMedia, formata("%12.3e", info.areaMedia));
    rows.emplace_back(msg::InfoAreaMinima, formata("%12.3e", info.areaMinima));
    return rows;
}

} // namespace tarvex::problem
