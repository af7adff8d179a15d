#include "problem/mesher/smoothing.h"

#include "geometry/helpers.h"
#include "problem/mesher/spatial_index.h"
#include "problem/problem_data.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace tarvex::problem::mesher {

namespace {
constexpr double QualidadeAlvo1 = 0.95;
constexpr double QualidadeAlvo2 = 0.9;
constexpr double QualidadeAlvo3 = 0.85;
constexpr std::size_t TamanhoPequeno = 3000;
constexpr std::size_t TamanhoMedio = 6000;
constexpr std::size_t TamanhoGrande = 10000;
/// A pass changing the quality by less than this share of it ends the full passes.
constexpr double VariacaoMinima = 0.02;

/// Full passes while the quality is below the target, the last pass moved a node, and it changed
/// the quality by at least 2 %.
double passosCompletos(MalhaIndices& malha, int maxPassos)
{
    double q = qualidadeMedia(malha);
    bool moved = true;
    for (int pass = 0; pass < maxPassos; ++pass) {
        if (!(q < QualidadeAlvo1 && moved))
            break;
        moved = passoCompleto(malha);
        const double novo = qualidadeMedia(malha);
        const bool stop = std::fabs(novo - q) < VariacaoMinima * q || novo >= QualidadeAlvo1;
        q = novo;
        if (stop)
            break;
    }
    return q;
}

double areaDupla(const Ponto& a, const Ponto& b, const Ponto& c)
{
    return orient2(a, b, c);
}
} // namespace

void MalhaIndices::indexa()
{
    inicioTri.assign(pontos.size() + 1, 0);
    for (const auto& t : tris)
        for (const std::int32_t v : t)
            ++inicioTri[v + 1];
    for (std::size_t i = 0; i < pontos.size(); ++i)
        inicioTri[i + 1] += inicioTri[i];
    listaTri.resize(static_cast<std::size_t>(inicioTri.back()));
    std::vector<std::int32_t> fill(inicioTri.begin(), inicioTri.end() - 1);
    for (std::size_t k = 0; k < tris.size(); ++k)
        for (const std::int32_t v : tris[k])
            listaTri[fill[v]++] = static_cast<std::int32_t>(k);
}

double qualidadeTriangulo(const Ponto& a, const Ponto& b, const Ponto& c)
{
    const double l1 = geometry::distancia(a, b);
    const double l2 = geometry::distancia(b, c);
    const double l3 = geometry::distancia(c, a);
    const double prod = l1 * l2 * l3;
    if (!(prod > 0.0))
        return 0.0;
    const double s = (l1 + l2 + l3) / 2.0;
    return std::max(0.0, 8.0 * (s - l1) * (s - l2) * (s - l3) / prod);
}

double qualidadeMedia(const MalhaIndices& malha)
{
    if (malha.tris.empty())
        return 0.0;
    double sum = 0.0;
    for (const auto& t : malha.tris)
        sum += qualidadeTriangulo(malha.pontos[t[0]], malha.pontos[t[1]], malha.pontos[t[2]]);
    return sum / static_cast<double>(malha.tris.size());
}

bool passoSuavizacao(MalhaIndices& malha, const std::vector<std::int32_t>& nos)
{
    bool moved = false;
    for (const std::int32_t v : nos) {
        if (malha.fixo[v] != 0)
            continue;
        double sx = 0.0, sy = 0.0;
        int count = 0;
        for (std::int32_t k = malha.inicioTri[v]; k < malha.inicioTri[v + 1]; ++k)
            for (const std::int32_t w : malha.tris[malha.listaTri[k]])
                if (w != v) {
                    sx += malha.pontos[w].x;
                    sy += malha.pontos[w].y;
                    ++count;
                }
        if (count == 0)
            continue;
        const Ponto antigo = malha.pontos[v];
        const Ponto novo { sx / count, sy / count };
        if (novo == antigo)
            continue;
        // Laplace smoothing can fold a triangle next to a concave border: keep such a node.
        bool valid = true;
        for (std::int32_t k = malha.inicioTri[v]; k < malha.inicioTri[v + 1] && valid; ++k) {
            const auto& t = malha.tris[malha.listaTri[k]];
            const double before
                = areaDupla(malha.pontos[t[0]], malha.pontos[t[1]], malha.pontos[t[2]]);
            malha.pontos[v] = novo;
            const double after
                = areaDupla(malha.pontos[t[0]], malha.pontos[t[1]], malha.pontos[t[2]]);
            malha.pontos[v] = antigo;
            valid = (before > 0.0 && after > 0.0) || (before < 0.0 && after < 0.0);
        }
        if (!valid)
            continue;
        malha.pontos[v] = novo;
        moved = true;
    }
    return moved;
}

bool passoCompleto(MalhaIndices& malha)
{
    return passoSuavizacao(malha, malha.ordemNos);
}

bool passoSeletivo(MalhaIndices& malha, double limite)
{
    std::vector<std::int32_t> nos;
    std::vector<char> taken(malha.pontos.size(), 0);
    for (const auto& t : malha.tris) {
        if (!(qualidadeTriangulo(malha.pontos[t[0]], malha.pontos[t[1]], malha.pontos[t[2]])
                < limite))
            continue;
        for (const std::int32_t v : t)
            if (malha.fixo[v] == 0 && taken[v] == 0) {
                taken[v] = 1;
                nos.push_back(v);
            }
    }
    return passoSuavizacao(malha, nos);
}

double suavizaPorTamanho(MalhaIndices& malha)
{
    const std::size_t n = malha.tris.size();
    if (n <= TamanhoPequeno)
        return passosCompletos(malha, 5);
    if (n <= TamanhoMedio)
        return passosCompletos(malha, 3);
    if (n <= TamanhoGrande) {
        bool moved = passoSeletivo(malha, QualidadeAlvo1);
        double q = qualidadeMedia(malha);
        if (q < QualidadeAlvo2 && moved) {
            moved = passoSeletivo(malha, QualidadeAlvo2);
            q = qualidadeMedia(malha);
            if (q < QualidadeAlvo3 && moved) {
                passoSeletivo(malha, QualidadeAlvo3);
                q = qualidadeMedia(malha);
            }
        }
        return q;
    }
    const bool moved = passoSeletivo(malha, QualidadeAlvo2);
    double q = qualidadeMedia(malha);
    if (q < QualidadeAlvo2 && moved) {
        passoSeletivo(malha, QualidadeAlvo3);
        q = qualidadeMedia(malha);
    }
    return q;
}

MalhaIndices malhaDoDocumento(const ProblemData& data)
{
    MalhaIndices malha;
    std::vector<Ponto> vertices;
    vertices.reserve(data.nos.size() + data.triangulos.size() * 3);
    for (const Ponto& p : data.nos.inListOrder())
        vertices.push_back(p);
    const std::size_t fromNodes = vertices.size();
    for (const Triangulo& t : data.triangulos.inListOrder()) {
        vertices.push_back({ t.x1, t.y1 });
        vertices.push_back({ t.x2, t.y2 });
        vertices.push_back({ t.x3, t.y3 });
    }
    const PontosDistintos distinct = pontosDistintos(vertices);
    // Only positions that some triangle uses are mesh vertices; renumber them.
    std::vector<std::int32_t> used(distinct.pontos.size(), -1);
    std::vector<std::int32_t> order;
    const auto take = [&](std::int32_t d) {
        if (used[d] >= 0)
            return used[d];
        used[d] = static_cast<std::int32_t>(malha.pontos.size());
        malha.pontos.push_back(distinct.pontos[d]);
        return used[d];
    };
    // Node-list order first, then first appearance in the triangles.
    std::vector<char> inTriangles(distinct.pontos.size(), 0);
    for (std::size_t i = fromNodes; i < vertices.size(); ++i)
        inTriangles[distinct.indice[i]] = 1;
    for (std::size_t i = 0; i < fromNodes; ++i)
        if (inTriangles[distinct.indice[i]] != 0 && used[distinct.indice[i]] < 0)
            order.push_back(take(distinct.indice[i]));
    malha.tris.reserve(data.triangulos.size());
    for (std::size_t i = fromNodes; i < vertices.size(); i += 3) {
        std::array<std::int32_t, 3> t {};
        for (int k = 0; k < 3; ++k) {
            const std::int32_t d = distinct.indice[i + k];
            const bool fresh = used[d] < 0;
            t[k] = take(d);
            if (fresh)
                order.push_back(t[k]);
        }
        malha.tris.push_back(t);
    }
    malha.ordemNos = std::move(order);
    malha.indexa();

    // Fixed nodes: on a contour element, on the border of the mesh, or between regions.
    malha.fixo.assign(malha.pontos.size(), 0);
    double extent = 0.0;
    for (const Ponto& p : malha.pontos)
        extent = std::max({ extent, std::fabs(p.x), std::fabs(p.y) });
    ContornoNos contour;
    contour.build(data.poolSegmentos, std::max(data.tolerancia, 1e-12 * extent));
    for (std::size_t v = 0; v < malha.pontos.size(); ++v)
        if (contour.onAny(malha.pontos[v]))
            malha.fixo[v] = 1;
    std::vector<int> region(malha.tris.size(), 0);
    for (std::size_t k = 0; k < malha.tris.size(); ++k) {
        const auto& t = malha.tris[k];
        const Ponto c { (malha.pontos[t[0]].x + malha.pontos[t[1]].x + malha.pontos[t[2]].x) / 3.0,
            (malha.pontos[t[0]].y + malha.pontos[t[1]].y + malha.pontos[t[2]].y) / 3.0 };
        region[k] = data.regiaoQueContem(c);
    }
    std::unordered_map<std::uint64_t, std::int32_t> sides; // side -> first triangle, -1 when shared
    sides.reserve(malha.tris.size() * 2);
    const auto keyOf = [](std::int32_t a, std::int32_t b) {
        const auto lo = static_cast<std::uint64_t>(std::min(a, b));
        const auto hi = static_cast<std::uint64_t>(std::max(a, b));
        return (hi << 32) | lo;
    };
    for (std::size_t k = 0; k < malha.tris.size(); ++k) {
        const auto& t = malha.tris[k];
        for (int i = 0; i < 3; ++i) {
            const std::int32_t a = t[i], b = t[(i + 1) % 3];
            auto [it, added] = sides.try_emplace(keyOf(a, b), static_cast<std::int32_t>(k));
            if (added)
                continue;
            if (it->second >= 0 && region[it->second] != region[k])
                malha.fixo[a] = malha.fixo[b] = 1;
            it->second = -1;
        }
    }
    for (const auto& [key, k] : sides)
        if (k >= 0) {
            malha.fixo[static_cast<std::size_t>(key & 0xffffffffULL)] = 1;
            malha.fixo[static_cast<std::size_t>(key >> 32)] = 1;
        }
    return malha;
}

void escreveMalha(const MalhaIndices& malha, ProblemData& data)
{
    data.triangulos.clear();
    for (std::size_t k = malha.tris.size(); k-- > 0;) {
        const auto& t = malha.tris[k];
        const Ponto& a = malha.pontos[t[0]];
        const Ponto& b = malha.pontos[t[1]];
        const Ponto& c = malha.pontos[t[2]];
        data.triangulos.pushFront({ a.x, a.y, b.x, b.y, c.x, c.y });
    }
    data.nos.clear();
    for (std::size_t k = malha.ordemNos.size(); k-- > 0;)
        data.nos.pushFront(malha.pontos[malha.ordemNos[k]]);
}

} // namespace tarvex::problem::mesher
