#pragma once

#include "geometry/records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvex::geometry {

class DrawingData;

/// The segment or arc that a click picks: its position in list order.
struct EntidadeEscolhida {
    enum class Tipo { Segmento, Arco };
    Tipo tipo = Tipo::Segmento;
    std::size_t posicao = 0; ///< zero-based, in list order
    bool operator==(const EntidadeEscolhida&) const = default;
};

/// Distance from a click to a segment as the picking measures it: the nearest of the 199 interior
/// samples P1 + (i/200)(P2 − P1), i = 1 … 199.
double distanciaAmostrada(const Segmento& s, const Ponto& clique);
/// The same for an arc: the 199 interior samples at the angles início + (i/200)·extensão on the
/// arc's radius (the distance from PC to P2).
double distanciaAmostrada(const Arco& a, const Ponto& clique);

/// The point of the drawing nearest the click (strictly smaller wins, so the first in list order
/// wins a tie), by scanning every point. Empty when the drawing has no point.
std::optional<std::size_t> pontoMaisPertoLinear(const DrawingData& drawing, const Ponto& clique);
/// The segment or arc nearest the click, by scanning: the nearest segment and the nearest arc
/// (the first in list order on ties), then the segment when it is strictly nearer, else the arc.
std::optional<EntidadeEscolhida> entidadeMaisPertoLinear(
    const DrawingData& drawing, const Ponto& clique);

/**
 * A uniform grid over a drawing's points, segments and arcs, so picking stays instant on large
 * drawings. It gives exactly the answers of the linear scans above, ties included: each candidate
 * is measured the same way, and the search widens ring by ring until nothing outside can be as
 * near as the best found.
 *
 * It holds a copy of the drawing's records as they were when built, so a stale index gives stale
 * answers but never reads outside the drawing: rebuild it after any change to the lists.
 */
class IndiceDesenho {
public:
    IndiceDesenho() = default;
    explicit IndiceDesenho(const DrawingData& drawing);

    /// `pontoMaisPerto`: the list position of the point nearest the click.
    std::optional<std::size_t> pontoMaisPerto(const Ponto& clique) const;
    /// The segment or arc a click in the segment-selection mode picks.
    std::optional<EntidadeEscolhida> entidadeMaisPerto(const Ponto& clique) const;

private:
    /// Boxes of one kind of entity bucketed by the grid cells they overlap.
    class Grade {
    public:
        struct Caixa {
            double xMin, yMin, xMax, yMax;
        };
        void construir(const std::vector<Caixa>& caixas);
        bool vazia() const { return m_total == 0; }

        /// Visits candidates ring by ring about the click; `medir(storage index)` gives an item's
        /// distance, and the search stops once nothing unvisited can be at `melhor()` or nearer.
        template <typename Medir, typename Melhor>
        void buscar(const Ponto& clique, Medir medir, Melhor melhor) const;

    private:
        std::size_t m_total = 0;
        double m_x0 = 0.0, m_y0 = 0.0, m_lx = 1.0, m_ly = 1.0;
        int m_nx = 1, m_ny = 1;
        double m_margem = 0.0;
        std::vector<std::uint32_t> m_inicio; ///< per cell, into m_itens (one extra at the end)
        std::vector<std::uint32_t> m_itens;
        std::vector<std::uint32_t> m_grandes; ///< items spanning too many cells, always visited
        mutable std::vector<std::uint32_t> m_visita;
        mutable std::uint32_t m_rodada = 0;
    };

    std::vector<Ponto> m_listaPontos; ///< storage order, as the drawing's lists
    std::vector<Segmento> m_listaSegmentos;
    std::vector<Arco> m_listaArcos;
    Grade m_pontos;
    Grade m_segmentos;
    Grade m_arcos;
};

} // namespace tarvex::geometry
