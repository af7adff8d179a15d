#include "problem/mesher/verify_mesh.h"

#include "problem/mesher/spatial_index.h"
#include "problem/problem_data.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace tarvex::problem::mesher {

namespace {
std::uint64_t directed(std::int32_t a, std::int32_t b)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32)
        | static_cast<std::uint32_t>(b);
}

std::string at(const char* what, std::size_t index)
{
    return std::string(what) + " (" + std::to_string(index) + ")";
}

/// The boundary edge a–b is in the mesh, directly or through vertices lying on it.
bool covered(const Triangulacao& mesh, VertexId a, VertexId b)
{
    const auto& p = mesh.pontos;
    std::vector<TriId> fan;
    VertexId cur = a;
    for (int guard = 0; guard < 100000; ++guard) {
        if (mesh.comLado(cur, b) != SemVizinho)
            return true;
        mesh.leque(cur, fan);
        const double len = std::hypot(p[b].x - p[cur].x, p[b].y - p[cur].y);
        VertexId next = -1;
        for (const TriId t : fan)
            for (const VertexId w : mesh.tris[t].v) {
                if (w == cur)
                    continue;
                const double dw = std::hypot(p[w].x - p[cur].x, p[w].y - p[cur].y);
                const double dot = (p[w].x - p[cur].x) * (p[b].x - p[cur].x)
                    + (p[w].y - p[cur].y) * (p[b].y - p[cur].y);
                if (dot > 0.0 && dw < len
                    && std::fabs(orient2(p[cur], p[b], p[w])) <= 1e-9 * len * dw + 1e-300)
                    next = w;
            }
        if (next < 0)
            return false;
        cur = next;
    }
    return false;
}
} // namespace

VerifyResult verifyMesh(const Triangulacao& mesh, const VerifyOptions& options)
{
    VerifyResult r;
    const auto& p = mesh.pontos;
    std::unordered_map<std::uint64_t, TriId> sides;
    std::vector<char> used(p.size(), 0);
    std::size_t live = 0;
    for (std::size_t t = 0; t < mesh.tris.size(); ++t) {
        const TriInterno& tri = mesh.tris[t];
        if (!tri.vivo)
            continue;
        ++live;
        for (const VertexId v : tri.v) {
            if (v < 0 || static_cast<std::size_t>(v) >= p.size())
                return { at("vertex id out of range in triangle", t) };
            used[v] = 1;
        }
        if (!(orient2(p[tri.v[0]], p[tri.v[1]], p[tri.v[2]]) > 0.0))
            return { at("triangle not counter-clockwise or flat", t) };
        for (int i = 0; i < 3; ++i)
            if (!sides.emplace(directed(tri.v[i], tri.v[(i + 1) % 3]), static_cast<TriId>(t))
                     .second)
                return { at("side shared in the same direction, triangle", t) };
    }
    if (live != mesh.vivos())
        return { "live triangle count differs from the stored count" };
    for (std::size_t t = 0; t < mesh.tris.size(); ++t) {
        const TriInterno& tri = mesh.tris[t];
        if (!tri.vivo)
            continue;
        for (int i = 0; i < 3; ++i) {
            const VertexId a = tri.v[i], b = tri.v[(i + 1) % 3];
            const TriId nb = tri.n[i];
            const auto other = sides.find(directed(b, a));
            if (nb == SemVizinho) {
                if (other != sides.end())
                    return { at("missing neighbour link across a shared side, triangle", t) };
                continue;
            }
            if (nb < 0 || static_cast<std::size_t>(nb) >= mesh.tris.size() || !mesh.tris[nb].vivo)
                return { at("neighbour is not a live triangle, triangle", t) };
            const int k = mesh.ladoDe(nb, b, a);
            if (k < 0 || mesh.tris[nb].n[k] != static_cast<TriId>(t))
                return { at("neighbours not mutual, triangle", t) };
        }
    }
    std::vector<Ponto> inUse;
    for (std::size_t v = 0; v < p.size(); ++v)
        if (used[v] != 0)
            inUse.push_back(p[v]);
    if (pontosDistintos(inUse).pontos.size() != inUse.size())
        return { "two vertices in use coincide" };
    if (options.boxCount && live != 2 * options.nodeCount + 2)
        return { "triangles != 2 x nodes + 2: " + std::to_string(live) + " triangles, "
            + std::to_string(options.nodeCount) + " nodes" };
    if (options.boundary != nullptr)
        for (std::size_t i = 0; i < options.boundary->size(); ++i) {
            const ArestaVertices& e = (*options.boundary)[i];
            if (!covered(mesh, e.a, e.b))
                return { at("boundary edge not in the mesh", i) };
        }
    return r;
}

VerifyResult verifyTriangulos(const ProblemData& data)
{
    if (data.numTriangulos != static_cast<std::int32_t>(data.triangulos.size()))
        return { "numTriangulos differs from the triangle list" };
    std::vector<Ponto> corners;
    corners.reserve(data.triangulos.size() * 3);
    for (const Triangulo& t : data.triangulos.inListOrder()) {
        corners.push_back({ t.x1, t.y1 });
        corners.push_back({ t.x2, t.y2 });
        corners.push_back({ t.x3, t.y3 });
    }
    const PontosDistintos distinct = pontosDistintos(corners);
    std::vector<std::pair<double, double>> exact;
    exact.reserve(corners.size());
    for (const Ponto& c : corners)
        exact.push_back({ c.x + 0.0, c.y + 0.0 }); // -0 and 0 are one position
    std::sort(exact.begin(), exact.end());
    exact.erase(std::unique(exact.begin(), exact.end()), exact.end());
    if (exact.size() != distinct.pontos.size())
        return { "two distinct vertices coincide" };
    int sign = 0;
    std::unordered_set<std::uint64_t> sides;
    for (std::size_t k = 0; k < corners.size(); k += 3) {
        const double area = orient2(corners[k], corners[k + 1], corners[k + 2]);
        const int s = area > 0.0 ? 1 : (area < 0.0 ? -1 : 0);
        if (s == 0)
            return { at("flat triangle", k / 3) };
        if (sign == 0)
            sign = s;
        if (s != sign)
            return { at("triangle turned the other way", k / 3) };
        for (int i = 0; i < 3; ++i)
            if (!sides.insert(directed(distinct.indice[k + i], distinct.indice[k + (i + 1) % 3]))
                     .second)
                return { at("side run twice in the same direction, triangle", k / 3) };
    }
    return {};
}

} // namespace tarvex::problem::mesher
