#include "problem/problem_data.h"

#include "geometry/helpers.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <utility>

namespace tarvex::problem {

using geometry::coincide;

namespace {

/**
 * Points hashed on a grid whose cells are wider than the coincidence distance (1e-4), so every
 * point that coincides with a given one lies in the 3 × 3 cells around it. Replaces the pairwise
 * comparisons that would be quadratic on large contours; the comparison itself is still coincide().
 */
class PointGrid {
public:
    void insert(const Ponto& p, std::uint32_t id) { m_cells[keyOf(p)].push_back(id); }

    template <typename Visit> void forEachNear(const Ponto& p, Visit visit) const
    {
        const Key centre = keyOf(p);
        for (std::int64_t dy = -1; dy <= 1; ++dy) {
            for (std::int64_t dx = -1; dx <= 1; ++dx) {
                const auto cell = m_cells.find(Key { centre.x + dx, centre.y + dy });
                if (cell == m_cells.end())
                    continue;
                for (const std::uint32_t id : cell->second)
                    visit(id);
            }
        }
    }

private:
    static constexpr double CellWidth = 2e-4;
    static constexpr double MaxCell = 4e18;

    struct Key {
        std::int64_t x = 0;
        std::int64_t y = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const
        {
            const auto ux = static_cast<std::uint64_t>(k.x);
            const auto uy = static_cast<std::uint64_t>(k.y);
            return static_cast<std::size_t>((ux * 0x9E3779B97F4A7C15ULL)
                ^ (uy + 0x7F4A7C159E3779B9ULL + (ux << 6) + (ux >> 2)));
        }
    };

    static std::int64_t cellOf(double v)
    {
        const double f = std::floor(v / CellWidth);
        if (!(f > -MaxCell)) // also NaN
            return static_cast<std::int64_t>(-MaxCell);
        if (f > MaxCell)
            return static_cast<std::int64_t>(MaxCell);
        return static_cast<std::int64_t>(f);
    }
    static Key keyOf(const Ponto& p) { return { cellOf(p.x), cellOf(p.y) }; }

    std::unordered_map<Key, std::vector<std::uint32_t>, KeyHash> m_cells;
};

/// Keeps the first of every group of equal elements, in order (the later of two equal ones goes).
std::vector<SegmentoContorno> semRepeticoes(const std::vector<SegmentoContorno>& all)
{
    std::vector<SegmentoContorno> kept;
    PointGrid ends;
    for (const SegmentoContorno& s : all) {
        // An equal element has an end point that coincides with s's first one.
        bool repeated = false;
        ends.forEachNear(
            s.p1(), [&](std::uint32_t id) { repeated = repeated || iguais(kept[id], s); });
        if (repeated)
            continue;
        const auto id = static_cast<std::uint32_t>(kept.size());
        kept.push_back(s);
        ends.insert(s.p1(), id);
        ends.insert(s.p2(), id);
    }
    return kept;
}

std::vector<Ponto> pontosDistintos(const std::vector<SegmentoContorno>& pool)
{
    std::vector<Ponto> kept;
    PointGrid grid;
    const auto add = [&](const Ponto& p) {
        bool repeated = false;
        grid.forEachNear(
            p, [&](std::uint32_t id) { repeated = repeated || coincide(kept[id], p); });
        if (repeated)
            return;
        grid.insert(p, static_cast<std::uint32_t>(kept.size()));
        kept.push_back(p);
    };
    for (const SegmentoContorno& s : pool) {
        add(s.p1());
        add(s.p2());
    }
    return kept;
}

SegmentoContorno invertido(SegmentoContorno s)
{
    const Ponto p1 = s.p1();
    s.defineP1(s.p2());
    s.defineP2(p1);
    s.sentido = s.sentido != 0 ? 0 : 1;
    return s;
}

/// Appends the element walked from its first end point to its second: the chord points of an arc
/// and then the second end point (the first is already in the ring).
void acrescentaElemento(std::vector<Ponto>& ring, const SegmentoContorno& s)
{
    if (s.ehArco != 0) {
        const bool ccwForward = s.sentido != 0;
        const geometry::Arco ccw = ccwForward ? geometry::Arco { s.p1(), s.p2(), s.centro() }
                                              : geometry::Arco { s.p2(), s.p1(), s.centro() };
        const geometry::ExtensaoArco e = geometry::extensaoArco(ccw);
        const double sweep = e.fim - e.inicio;
        const double step = 2.0 * geometry::Pi / 250.0;
        const double steps = std::ceil(sweep / step);
        // The sweep is below 2π, so at most 250 chords; a degenerate arc is one chord.
        const int m = steps >= 1.0 && steps <= 250.0 ? static_cast<int>(steps) : 1;
        std::vector<Ponto> inner;
        inner.reserve(static_cast<std::size_t>(m));
        for (int k = 1; k < m; ++k) {
            const double a = e.inicio + sweep * k / m;
            inner.push_back({ s.xc + e.raio * std::cos(a), s.yc + e.raio * std::sin(a) });
        }
        if (ccwForward)
            ring.insert(ring.end(), inner.begin(), inner.end());
        else
            ring.insert(ring.end(), inner.rbegin(), inner.rend());
    }
    ring.push_back(s.p2());
}

} // namespace

PoligonoRegiao poligonoDoContorno(const common::FrontList<SegmentoContorno>& contorno)
{
    std::vector<SegmentoContorno> elements(
        contorno.inListOrder().begin(), contorno.inListOrder().end());
    PoligonoRegiao poligono;
    PointGrid ends;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        ends.insert(elements[i].p1(), static_cast<std::uint32_t>(i));
        ends.insert(elements[i].p2(), static_cast<std::uint32_t>(i));
    }
    std::vector<bool> used(elements.size(), false);
    std::size_t firstUnused = 0;
    for (;;) {
        while (firstUnused < elements.size() && used[firstUnused])
            ++firstUnused;
        if (firstUnused == elements.size())
            break;
        used[firstUnused] = true;
        const Ponto start = elements[firstUnused].p1();
        std::vector<Ponto> ring { start };
        acrescentaElemento(ring, elements[firstUnused]);
        while (!coincide(ring.back(), start)) {
            // The first unused element in contour order that touches the current end.
            const Ponto end = ring.back();
            std::size_t next = elements.size();
            ends.forEachNear(end, [&](std::uint32_t id) {
                if (!used[id] && id < next
                    && (coincide(elements[id].p1(), end) || coincide(elements[id].p2(), end)))
                    next = id;
            });
            if (next == elements.size())
                break; // an open contour: the ring closes on its own first point
            used[next] = true;
            const SegmentoContorno& s = elements[next];
            acrescentaElemento(ring, coincide(s.p1(), end) ? s : invertido(s));
        }
        if (ring.size() > 1 && coincide(ring.back(), ring.front()))
            ring.pop_back();
        poligono.aneis.push_back(std::move(ring));
    }
    return poligono;
}

const Regiao* ProblemData::regiaoNaPosicao(int posicao) const
{
    if (regioes.empty())
        return nullptr;
    if (posicao < 1)
        return &regioes.at(0);
    const auto index = static_cast<std::size_t>(posicao - 1);
    return &regioes.at(index < regioes.size() ? index : regioes.size() - 1);
}

Regiao* ProblemData::regiaoNaPosicao(int posicao)
{
    return const_cast<Regiao*>(std::as_const(*this).regiaoNaPosicao(posicao));
}

void ProblemData::derivarListas()
{
    std::vector<SegmentoContorno> all;
    contornoExterno.clear();
    bool first = true;
    for (const Regiao& regiao : regioes.inListOrder()) {
        for (const SegmentoContorno& s : regiao.segmentos.inListOrder()) {
            all.push_back(s);
            if (first)
                contornoExterno.push_back(s);
        }
        first = false;
    }
    poolSegmentos = semRepeticoes(all);

    // A file straight from the drawing carries no maximum edge: take the shortest contour
    // element. Elements of no length are passed over, since a zero edge could never be meshed.
    if (!(arestaMaxima >= ArestaMinima)) {
        double shortest = std::numeric_limits<double>::infinity();
        for (const SegmentoContorno& s : poolSegmentos) {
            const double length = comprimentoElemento(s);
            if (length > ArestaMinima && length < shortest)
                shortest = length;
        }
        if (std::isfinite(shortest))
            arestaMaxima = shortest;
    }
    tolerancia = arestaMaxima / 1e6;

    poligonosRegioes.clear();
    poligonosRegioes.reserve(regioes.size());
    for (const Regiao& regiao : regioes.inListOrder())
        poligonosRegioes.push_back(poligonoDoContorno(regiao.segmentos));

    pontosContorno = pontosDistintos(poolSegmentos);
    indexarPoligonos();
}

void ProblemData::indexarPoligonos()
{
    m_localizador.build(poligonosRegioes);
}

} // namespace tarvex::problem
