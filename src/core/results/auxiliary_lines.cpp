#include "results/auxiliary_lines.h"

#include "geometry/helpers.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvex::results {

namespace {

constexpr double Tolerance = 1e-8;
/// Coinciding points differ by at most this in each coordinate.
constexpr double Reach = 1.0001e-4;

bool near(double a, double b)
{
    return std::fabs(a - b) <= Tolerance;
}

bool sameMaterial(const problem::Regiao& a, const problem::Regiao& b)
{
    return near(a.brR, b.brR) && near(a.brT, b.brT) && near(a.brX, b.brX) && near(a.brY, b.brY)
        && near(a.densCorrente, b.densCorrente) && near(a.densCargas, b.densCargas)
        && near(a.permRelativa, b.permRelativa)
        && near(a.permissividadeRelativa, b.permissividadeRelativa);
}

/// The smaller end point in x: equal lines share it whatever their orientation.
double sortKey(const problem::SegmentoContorno& s)
{
    return std::min(s.x1, s.x2);
}

double distanceToLine(const problem::SegmentoContorno& s, const geometry::Ponto& p)
{
    const geometry::Ponto a = s.p1();
    const geometry::Ponto b = s.p2();
    if (s.ehArco == 0) {
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
    }
    const geometry::Arco arc = s.sentido != 0 ? geometry::Arco { a, b, s.centro() }
                                              : geometry::Arco { b, a, s.centro() };
    const geometry::ExtensaoArco e = geometry::extensaoArco(arc);
    double angle = geometry::anguloPolar(p.x - s.xc, p.y - s.yc);
    if (angle < e.inicio)
        angle += 2.0 * geometry::Pi;
    if (angle <= e.fim)
        return std::fabs(geometry::distancia(p, s.centro()) - e.raio);
    return std::min(geometry::distancia(p, a), geometry::distancia(p, b));
}

} // namespace

bool contemLinha(const LinhasAuxiliares& linhas, const problem::SegmentoContorno& linha)
{
    return std::any_of(linhas.begin(), linhas.end(),
        [&](const problem::SegmentoContorno& l) { return problem::iguais(l, linha); });
}

LinhasAuxiliares linhasAuxiliaresAutomaticas(const solver::SolverModel& model)
{
    // Every line of every region but the outer contour, sorted so that equal lines sit close.
    struct Entry {
        const problem::SegmentoContorno* line;
        std::size_t region; ///< zero-based list position
    };
    std::vector<Entry> entries;
    std::vector<const problem::Regiao*> regions;
    for (const problem::Regiao& r : model.regions.inListOrder())
        regions.push_back(&r);
    for (std::size_t i = 1; i < regions.size(); ++i)
        for (const problem::SegmentoContorno& s : regions[i]->segmentos.inListOrder())
            entries.push_back({ &s, i });
    std::stable_sort(entries.begin(), entries.end(),
        [](const Entry& a, const Entry& b) { return sortKey(*a.line) < sortKey(*b.line); });
    LinhasAuxiliares found;
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (std::size_t j = i + 1;
             j < entries.size() && sortKey(*entries[j].line) - sortKey(*entries[i].line) <= Reach;
             ++j) {
            const Entry& a = entries[i];
            const Entry& b = entries[j];
            if (a.region == b.region || !problem::iguais(*a.line, *b.line))
                continue;
            const problem::Regiao& first = *regions[std::min(a.region, b.region)];
            const problem::Regiao& second = *regions[std::max(a.region, b.region)];
            if (!sameMaterial(first, second) || !near(first.permRelativa, 1.0)
                || !near(first.permissividadeRelativa, 1.0))
                continue;
            if (!contemLinha(found, *a.line))
                found.push_back(*a.line);
        }
    return found;
}

std::optional<problem::SegmentoContorno> linhaMaisProxima(
    const solver::SolverModel& model, const geometry::Ponto& p, const LinhasAuxiliares& ocultas)
{
    std::optional<problem::SegmentoContorno> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const problem::Regiao& r : model.regions.inListOrder())
        for (const problem::SegmentoContorno& s : r.segmentos.inListOrder()) {
            const double d = distanceToLine(s, p);
            if (d < bestDistance && !contemLinha(ocultas, s)) {
                bestDistance = d;
                best = s;
            }
        }
    return best;
}

} // namespace tarvex::results
