#include "problem/mesher/triangulation.h"

#include "geometry/helpers.h"
#include "problem/mesher/spatial_index.h"

#include <algorithm>
#include <cmath>

namespace tarvex::problem::mesher {

namespace {
constexpr int Next[3] = { 1, 2, 0 };
constexpr int Prev[3] = { 2, 0, 1 };
/// A fan of new triangles up to this size is linked by direct search, beyond it through a table.
constexpr std::size_t MaxLequeDireto = 64;
/// The smallest turn, relative to the lengths involved, that counts as seeing a side.
constexpr double GiroMinimoRelativo = 1e-12;

/// P sees the side a → b from the inside with a turn clearly above rounding: a new triangle
/// (P, a, b) then has a proper area.
bool sees(const Ponto& a, const Ponto& b, const Ponto& p)
{
    const double o = orient2(a, b, p);
    const double scale = std::hypot(b.x - a.x, b.y - a.y)
        * std::max(std::hypot(p.x - a.x, p.y - a.y), std::hypot(p.x - b.x, p.y - b.y));
    return o > GiroMinimoRelativo * scale;
}
} // namespace

VertexId Triangulacao::novoVertice(const Ponto& p)
{
    pontos.push_back(p);
    trianguloDoVertice.push_back(SemVizinho);
    return static_cast<VertexId>(pontos.size() - 1);
}

TriId Triangulacao::novaVaga()
{
    if (!m_livres.empty()) {
        const TriId t = m_livres.back();
        m_livres.pop_back();
        return t;
    }
    tris.emplace_back();
    m_marca.push_back(0);
    return static_cast<TriId>(tris.size() - 1);
}

void Triangulacao::notificaNovo(TriId t) const
{
    if (observador != nullptr)
        observador->triangleAdded(triangulo(t));
}

void Triangulacao::notificaRemovido(TriId t) const
{
    if (observador != nullptr)
        observador->triangleRemoved(triangulo(t));
}

TriId Triangulacao::cria(VertexId a, VertexId b, VertexId c)
{
    const TriId t = novaVaga();
    TriInterno& tri = tris[t];
    tri.v = { a, b, c };
    tri.n = { SemVizinho, SemVizinho, SemVizinho };
    tri.chave = m_proximaChave++;
    tri.vivo = true;
    ++m_vivos;
    for (const VertexId v : tri.v)
        trianguloDoVertice[v] = t;
    notificaNovo(t);
    return t;
}

void Triangulacao::redefine(TriId t, VertexId a, VertexId b, VertexId c)
{
    notificaRemovido(t);
    tris[t].v = { a, b, c };
    for (const VertexId v : tris[t].v)
        trianguloDoVertice[v] = t;
    notificaNovo(t);
}

void Triangulacao::remove(TriId t)
{
    TriInterno& tri = tris[t];
    if (!tri.vivo)
        return;
    notificaRemovido(t);
    for (const TriId nb : tri.n)
        if (nb != SemVizinho)
            for (TriId& back : tris[nb].n)
                if (back == t)
                    back = SemVizinho;
    for (const VertexId v : tri.v) {
        if (trianguloDoVertice[v] != t)
            continue;
        trianguloDoVertice[v] = SemVizinho;
        for (const TriId nb : tri.n) {
            if (nb == SemVizinho)
                continue;
            const auto& nv = tris[nb].v;
            if (nv[0] == v || nv[1] == v || nv[2] == v) {
                trianguloDoVertice[v] = nb;
                break;
            }
        }
    }
    tri.vivo = false;
    --m_vivos;
    m_livres.push_back(t);
}

void Triangulacao::iniciaCaixa(double xMin, double yMin, double xMax, double yMax)
{
    const VertexId a = novoVertice({ xMin, yMin });
    const VertexId b = novoVertice({ xMin, yMax });
    const VertexId c = novoVertice({ xMax, yMax });
    const VertexId d = novoVertice({ xMax, yMin });
    // Counter-clockwise storage of the clockwise (a, b, c) and (a, c, d).
    const TriId t1 = cria(a, c, b);
    const TriId t2 = cria(a, d, c);
    liga(t1, a, c, t2);
    liga(t2, c, a, t1);
}

void Triangulacao::circuncirculo(TriId t, Ponto& k, double& r2) const
{
    const Ponto& a = pontos[tris[t].v[0]];
    const Ponto& b = pontos[tris[t].v[1]];
    const Ponto& c = pontos[tris[t].v[2]];
    // Relative to a, for accuracy far from the origin.
    const double bx = b.x - a.x, by = b.y - a.y;
    const double cx = c.x - a.x, cy = c.y - a.y;
    const double d = 2.0 * (bx * cy - by * cx);
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    const double ux = (cy * b2 - by * c2) / d;
    const double uy = (bx * c2 - cx * b2) / d;
    k = { a.x + ux, a.y + uy };
    r2 = ux * ux + uy * uy;
}

bool Triangulacao::noCircuncirculo(TriId t, const Ponto& p) const
{
    Ponto k;
    double r2 = 0.0;
    circuncirculo(t, k, r2);
    const double dx = p.x - k.x;
    const double dy = p.y - k.y;
    return dx * dx + dy * dy - m_tolerancia < r2;
}

int Triangulacao::ladoDe(TriId t, VertexId a, VertexId b) const
{
    const auto& v = tris[t].v;
    for (int i = 0; i < 3; ++i)
        if (v[i] == a && v[Next[i]] == b)
            return i;
    return -1;
}

void Triangulacao::liga(TriId t, VertexId a, VertexId b, TriId outro)
{
    const int i = ladoDe(t, a, b);
    if (i >= 0)
        tris[t].n[i] = outro;
}

TriId Triangulacao::comLado(VertexId a, VertexId b) const
{
    const TriId start = trianguloDoVertice[a];
    if (start == SemVizinho)
        return SemVizinho;
    // Around a one way (across the side a → next), then the other way if the fan is open.
    for (int direction = 0; direction < 2; ++direction) {
        TriId t = start;
        for (std::size_t guard = 0; guard < 100000; ++guard) {
            const auto& tri = tris[t];
            int i = 0;
            while (i < 3 && tri.v[i] != a)
                ++i;
            if (i == 3)
                return SemVizinho;
            if (tri.v[Next[i]] == b || tri.v[Prev[i]] == b)
                return t;
            const TriId next = direction == 0 ? tri.n[i] : tri.n[Prev[i]];
            if (next == SemVizinho || next == start)
                break;
            t = next;
        }
    }
    return SemVizinho;
}

void Triangulacao::leque(VertexId a, std::vector<TriId>& out) const
{
    out.clear();
    const TriId start = trianguloDoVertice[a];
    if (start == SemVizinho)
        return;
    const auto indexOfA = [&](TriId t) {
        int i = 0;
        while (i < 2 && tris[t].v[i] != a)
            ++i;
        return i;
    };
    // One way round across the sides a -> next; a fan on the border is then finished the
    // other way round.
    TriId t = start;
    bool open = false;
    for (std::size_t guard = 0; guard < 100000; ++guard) {
        out.push_back(t);
        const TriId next = tris[t].n[indexOfA(t)];
        if (next == SemVizinho) {
            open = true;
            break;
        }
        if (next == start)
            break;
        t = next;
    }
    if (!open)
        return;
    t = start;
    for (std::size_t guard = 0; guard < 100000; ++guard) {
        const TriId next = tris[t].n[Prev[indexOfA(t)]];
        if (next == SemVizinho || next == start)
            break;
        out.push_back(next);
        t = next;
    }
}

void Triangulacao::reindexaVertices()
{
    std::fill(trianguloDoVertice.begin(), trianguloDoVertice.end(), SemVizinho);
    for (std::size_t t = 0; t < tris.size(); ++t)
        if (tris[t].vivo)
            for (const VertexId v : tris[t].v)
                trianguloDoVertice[v] = static_cast<TriId>(t);
}

TriId Triangulacao::localiza(const Ponto& p, TriId inicio) const
{
    TriId t = inicio;
    if (t < 0 || static_cast<std::size_t>(t) >= tris.size() || !tris[t].vivo) {
        t = SemVizinho;
        for (std::size_t i = tris.size(); i-- > 0;)
            if (tris[i].vivo) {
                t = static_cast<TriId>(i);
                break;
            }
        if (t == SemVizinho)
            return SemVizinho;
    }
    // A visibility walk; the rotating first side keeps it from circling on rounding.
    const std::size_t limit = m_vivos + 64;
    for (std::size_t step = 0; step < limit; ++step) {
        const TriInterno& tri = tris[t];
        bool moved = false;
        for (int k = 0; k < 3; ++k) {
            const int j = static_cast<int>((step + k) % 3);
            if (orient2(pontos[tri.v[j]], pontos[tri.v[Next[j]]], p) < 0.0) {
                if (tri.n[j] == SemVizinho)
                    return SemVizinho;
                t = tri.n[j];
                moved = true;
                break;
            }
        }
        if (!moved)
            return t;
    }
    // The walk went round in circles: fall back to looking at every triangle.
    for (std::size_t i = 0; i < tris.size(); ++i) {
        const TriInterno& tri = tris[i];
        if (!tri.vivo)
            continue;
        if (orient2(pontos[tri.v[0]], pontos[tri.v[1]], p) >= 0.0
            && orient2(pontos[tri.v[1]], pontos[tri.v[2]], p) >= 0.0
            && orient2(pontos[tri.v[2]], pontos[tri.v[0]], p) >= 0.0)
            return static_cast<TriId>(i);
    }
    return SemVizinho;
}

std::uint32_t Triangulacao::marcaCavidade(const Ponto& p, TriId t0)
{
    // The triangles whose circumcircle holds P, found from the one that contains P.
    const std::uint32_t marca = ++m_marcaAtual;
    std::vector<TriId>& cav = m_cavidade;
    cav.clear();
    cav.push_back(t0);
    m_marca[t0] = marca;
    for (std::size_t i = 0; i < cav.size(); ++i) {
        for (const TriId nb : tris[cav[i]].n) {
            if (nb != SemVizinho && m_marca[nb] != marca && noCircuncirculo(nb, p)) {
                m_marca[nb] = marca;
                cav.push_back(nb);
            }
        }
    }
    return marca;
}

VertexId Triangulacao::verticeDaCavidadeEm(const Ponto& p) const
{
    for (const TriId t : m_cavidade)
        for (const VertexId v : tris[t].v)
            if (geometry::coincide(pontos[v], p))
                return v;
    return -1;
}

bool Triangulacao::reduzAoVisivel(const Ponto& p, TriId t0, std::uint32_t& marca)
{
    // Every side of the cavity must face P, or a new triangle would be flat or turned over (the
    // tolerance of the circle test can take in a triangle that P does not see). Such a triangle
    // leaves the cavity, and so does whatever it cut off.
    std::vector<TriId>& cav = m_cavidade;
    for (;;) {
        bool removed = false;
        for (const TriId t : cav) {
            const TriInterno& tri = tris[t];
            for (int j = 0; j < 3 && m_marca[t] == marca; ++j) {
                const TriId nb = tri.n[j];
                if (nb != SemVizinho && m_marca[nb] == marca)
                    continue;
                if (!sees(pontos[tri.v[j]], pontos[tri.v[Next[j]]], p)) {
                    if (t == t0)
                        return false;
                    m_marca[t] = 0;
                    removed = true;
                }
            }
        }
        if (!removed)
            return true;
        // What is still connected to the first triangle stays, under a new mark.
        const std::uint32_t kept = ++m_marcaAtual;
        for (const TriId t : cav)
            if (m_marca[t] == marca)
                m_marca[t] = kept;
        marca = ++m_marcaAtual;
        cav.clear();
        cav.push_back(t0);
        m_marca[t0] = marca;
        for (std::size_t i = 0; i < cav.size(); ++i)
            for (const TriId nb : tris[cav[i]].n)
                if (nb != SemVizinho && m_marca[nb] == kept) {
                    m_marca[nb] = marca;
                    cav.push_back(nb);
                }
    }
}

void Triangulacao::esvaziaCavidade(std::uint32_t marca)
{
    // The cavity in list order, each triangle's sides in the order of its written (clockwise)
    // vertices: V1V2, V2V3, V3V1 are the stored sides 2, 1, 0 reversed. The new triangles are
    // made in this order, which decides their place in the list.
    std::vector<TriId>& cav = m_cavidade;
    std::sort(
        cav.begin(), cav.end(), [&](TriId x, TriId y) { return tris[x].chave > tris[y].chave; });
    m_lados.clear();
    for (const TriId t : cav) {
        const TriInterno& tri = tris[t];
        for (const int j : { 2, 1, 0 }) {
            const TriId nb = tri.n[j];
            if (nb == SemVizinho || m_marca[nb] != marca)
                m_lados.push_back({ tri.v[j], tri.v[Next[j]], nb });
        }
    }
    for (const TriId t : cav) {
        notificaRemovido(t);
        tris[t].vivo = false;
        m_marca[t] = 0;
        --m_vivos;
        m_livres.push_back(t);
    }
}

void Triangulacao::preencheCavidade(VertexId pv, Insercao& out)
{
    out.vertice = pv;
    out.novos.reserve(m_lados.size());
    for (const LadoCavidade& lado : m_lados) {
        const TriId nt = cria(pv, lado.a, lado.b);
        tris[nt].n[1] = lado.fora;
        if (lado.fora != SemVizinho)
            liga(lado.fora, lado.b, lado.a, nt);
        out.novos.push_back(nt);
    }
    // New triangle (P, a, b): its side P → a meets the side a → P of the one whose b is a. A
    // small fan is matched directly; a large one through a table sorted by b, which finds the
    // same (first) match.
    const std::size_t n = out.novos.size();
    if (n <= MaxLequeDireto) {
        for (std::size_t k = 0; k < n; ++k) {
            const VertexId a = m_lados[k].a;
            for (std::size_t m = 0; m < n; ++m)
                if (m_lados[m].b == a) {
                    tris[out.novos[k]].n[0] = out.novos[m];
                    tris[out.novos[m]].n[2] = out.novos[k];
                    break;
                }
        }
    } else {
        std::vector<std::pair<VertexId, std::size_t>> byB(n);
        for (std::size_t m = 0; m < n; ++m)
            byB[m] = { m_lados[m].b, m };
        std::sort(byB.begin(), byB.end());
        for (std::size_t k = 0; k < n; ++k) {
            const auto it = std::lower_bound(
                byB.begin(), byB.end(), std::pair<VertexId, std::size_t> { m_lados[k].a, 0 });
            if (it != byB.end() && it->first == m_lados[k].a) {
                tris[out.novos[k]].n[0] = out.novos[it->second];
                tris[out.novos[it->second]].n[2] = out.novos[k];
            }
        }
    }
}

bool Triangulacao::insere(const Ponto& p, TriId inicio, Insercao& out)
{
    out.vertice = -1;
    out.coincidente = -1;
    out.novos.clear();
    const TriId t0 = localiza(p, inicio);
    if (t0 == SemVizinho)
        return false;
    std::uint32_t marca = marcaCavidade(p, t0);
    out.coincidente = verticeDaCavidadeEm(p);
    if (out.coincidente >= 0 || !reduzAoVisivel(p, t0, marca))
        return false;
    esvaziaCavidade(marca);
    preencheCavidade(novoVertice(p), out);
    return true;
}

Triangulo Triangulacao::triangulo(TriId t) const
{
    const auto& v = tris[t].v;
    const Ponto& a = pontos[v[0]];
    const Ponto& b = pontos[v[2]];
    const Ponto& c = pontos[v[1]];
    return { a.x, a.y, b.x, b.y, c.x, c.y };
}

std::vector<TriId> Triangulacao::emOrdemDeLista() const
{
    std::vector<TriId> ids;
    ids.reserve(m_vivos);
    for (std::size_t i = 0; i < tris.size(); ++i)
        if (tris[i].vivo)
            ids.push_back(static_cast<TriId>(i));
    std::sort(
        ids.begin(), ids.end(), [&](TriId x, TriId y) { return tris[x].chave > tris[y].chave; });
    return ids;
}

} // namespace tarvex::problem::mesher
