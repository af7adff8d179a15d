#pragma once

#include "geometry/records.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tarvex::problem {

/**
 * Ids filed by the square cells of a uniform grid, hashed, so finding what lies near a point or
 * a box costs the few cells it covers instead of a scan of everything. Cells that share a hash
 * share a bucket; callers always check the geometry of what they get back, so that only costs
 * time.
 */
class GradeEspacial {
public:
    using Id = std::uint32_t;

    explicit GradeEspacial(double lado)
        : m_lado(lado > 0.0 && std::isfinite(lado) ? lado : 1.0)
    {
    }

    double lado() const { return m_lado; }

    /// Room for about `cells` cells, so filing them does not rehash the table again and again.
    void reserva(std::size_t cells) { m_celulas.reserve(cells); }

    /// Files `id` in every cell the box covers; a box over too many cells goes to a list that
    /// every query returns, so one long element does not fill the grid.
    void insereCaixa(Id id, double xMin, double yMin, double xMax, double yMax)
    {
        const long long ix0 = celula(xMin), ix1 = celula(xMax);
        const long long iy0 = celula(yMin), iy1 = celula(yMax);
        if (demais(ix0, ix1, iy0, iy1)) {
            m_grandes.push_back(id);
            return;
        }
        for (long long ix = ix0; ix <= ix1; ++ix)
            for (long long iy = iy0; iy <= iy1; ++iy)
                m_celulas[chave(ix, iy)].push_back(id);
    }

    void inserePonto(Id id, const geometry::Ponto& p) { insereCaixa(id, p.x, p.y, p.x, p.y); }

    /// Takes `id` out of the cell of `p` (where inserePonto filed it).
    void removePonto(Id id, const geometry::Ponto& p)
    {
        const auto found = m_celulas.find(chave(celula(p.x), celula(p.y)));
        if (found == m_celulas.end())
            return;
        std::vector<Id>& ids = found->second;
        const auto at = std::find(ids.begin(), ids.end(), id);
        if (at != ids.end()) {
            *at = ids.back();
            ids.pop_back();
        }
    }

    /// Every id filed in a cell that the box touches, each once, in increasing order.
    void consulta(double xMin, double yMin, double xMax, double yMax, std::vector<Id>& out) const
    {
        out.clear();
        const long long ix0 = celula(xMin), ix1 = celula(xMax);
        const long long iy0 = celula(yMin), iy1 = celula(yMax);
        if (demais(ix0, ix1, iy0, iy1)) {
            for (const auto& [key, ids] : m_celulas)
                out.insert(out.end(), ids.begin(), ids.end());
        } else {
            for (long long ix = ix0; ix <= ix1; ++ix) {
                for (long long iy = iy0; iy <= iy1; ++iy) {
                    const auto found = m_celulas.find(chave(ix, iy));
                    if (found != m_celulas.end())
                        out.insert(out.end(), found->second.begin(), found->second.end());
                }
            }
        }
        out.insert(out.end(), m_grandes.begin(), m_grandes.end());
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }

    /// Ids filed near `p`: in the cells within `raio` of it.
    void perto(const geometry::Ponto& p, double raio, std::vector<Id>& out) const
    {
        consulta(p.x - raio, p.y - raio, p.x + raio, p.y + raio, out);
    }

private:
    static constexpr long long MaxCelulas = 4096;
    /// Far beyond any drawing; keeps the cell number of an absurd coordinate in range.
    static constexpr double LimiteCelula = 1e15;

    static bool demais(long long ix0, long long ix1, long long iy0, long long iy1)
    {
        // In doubles: the spans of absurd coordinates would overflow a product of integers.
        return (static_cast<double>(ix1) - static_cast<double>(ix0) + 1.0)
            * (static_cast<double>(iy1) - static_cast<double>(iy0) + 1.0)
            > static_cast<double>(MaxCelulas);
    }

    long long celula(double v) const
    {
        const double c = std::floor(v / m_lado);
        if (!(c > -LimiteCelula))
            return static_cast<long long>(-LimiteCelula);
        if (!(c < LimiteCelula))
            return static_cast<long long>(LimiteCelula);
        return static_cast<long long>(c);
    }

    static std::uint64_t chave(long long ix, long long iy)
    {
        return static_cast<std::uint64_t>(ix) * 0x9E3779B97F4A7C15ull
            ^ (static_cast<std::uint64_t>(iy) + 0x632BE59BD9B4E019ull);
    }

    double m_lado;
    std::unordered_map<std::uint64_t, std::vector<Id>> m_celulas;
    std::vector<Id> m_grandes;
};

} // namespace tarvex::problem
