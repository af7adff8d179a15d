#pragma once

#include "problem/records.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tarvex::problem {

/// Distance from a point to a contour element: to the straight segment, or to the counterclockwise
/// arc (of radius |centre − second end point|) when the point's angle falls inside the arc's sweep,
/// otherwise to the nearer end point.
double distanciaElemento(const SegmentoContorno& s, const Ponto& p);

/**
 * Nearest-item queries over fixed items (contour elements or points) given by their bounding
 * boxes. A uniform grid holds each item in the cells its box overlaps; a query visits rings of
 * cells around the point and stops as soon as every item not yet seen must be farther than the
 * best one found. The answer is the item of smallest distance and, among equal distances, the
 * first in the given order: the same one a scan of the whole list would pick.
 */
class GradeProximidade {
public:
    struct Caixa {
        double xMin = 0.0;
        double yMin = 0.0;
        double xMax = 0.0;
        double yMax = 0.0;
    };
    using Distancia = std::function<double(std::size_t)>;

    void construir(const std::vector<Caixa>& caixas);
    /// The nearest item to `p` by `distancia(i)`; none when there are no items (or none has a
    /// comparable distance).
    std::optional<std::size_t> maisProximo(const Ponto& p, const Distancia& distancia) const;

private:
    int celulaX(double x) const;
    int celulaY(double y) const;

    std::size_t m_itens = 0;
    bool m_varredura = true; ///< no usable grid: scan every item
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    double m_larguraCelula = 1.0;
    double m_alturaCelula = 1.0;
    int m_colunas = 0;
    int m_linhas = 0;
    std::vector<std::uint32_t> m_inicioCelula; ///< compressed rows of item indices per cell
    std::vector<std::uint32_t> m_itensCelula;
    std::vector<std::uint32_t> m_grandes; ///< items over too many cells: tested on every query
    std::vector<Caixa> m_caixas; ///< each item's box: no item can be nearer than its box
};

/// The first nearest item by scanning all of them: what GradeProximidade must agree with.
std::optional<std::size_t> maisProximoPorVarredura(
    std::size_t quantidade, const GradeProximidade::Distancia& distancia);

/**
 * The picking indexes of a problem: over the contour pool, over the outer contour and over the
 * contour points. Built from those lists and rebuilt when they no longer match what it was built
 * for (their lengths and first and last records), so a problem read again is never answered
 * from the index of the previous one.
 */
class IndiceContorno {
public:
    void construir(const std::vector<SegmentoContorno>& pool,
        const std::vector<SegmentoContorno>& externo, const std::vector<Ponto>& pontos);
    bool valePara(const std::vector<SegmentoContorno>& pool,
        const std::vector<SegmentoContorno>& externo, const std::vector<Ponto>& pontos) const;

    const GradeProximidade& segmentos() const { return m_segmentos; }
    const GradeProximidade& externos() const { return m_externos; }
    const GradeProximidade& pontos() const { return m_pontos; }

private:
    struct Marca {
        std::size_t tamanho = 0;
        std::vector<double> pontas; ///< coordinates of the first and last records
        bool operator==(const Marca&) const = default;
    };
    static Marca marcaDe(const std::vector<SegmentoContorno>& lista);
    static Marca marcaDe(const std::vector<Ponto>& lista);

    bool m_construido = false;
    Marca m_marcaPool;
    Marca m_marcaExterno;
    Marca m_marcaPontos;
    GradeProximidade m_segmentos;
    GradeProximidade m_externos;
    GradeProximidade m_pontos;
};

} // namespace tarvex::problem
