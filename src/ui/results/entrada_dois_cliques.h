#pragma once

#include "geometry/records.h"

#include <cstdint>
#include <vector>

/**
 * The two-click entry of the results view's section commands: the first click gives the start
 * and its marker, the second the end and its marker and completes the pair; the next click starts
 * a new pair. The markers stay until the next pair begins or the entry is reset.
 */
class EntradaDoisCliques {
public:
    /// A new command: no click received, no markers.
    void reiniciar()
    {
        m_cliques = 0;
        m_marcas.clear();
        m_completa = false;
    }

    /// A click; true when it completes a pair (inicio() and fim() then hold it).
    bool clique(const tarvex::geometry::Ponto& p)
    {
        if (m_cliques == 0) {
            m_marcas.assign(1, p);
            m_inicio = p;
            m_cliques = 1;
            m_completa = false;
            return false;
        }
        m_marcas.push_back(p);
        m_fim = p;
        m_cliques = 0;
        m_completa = true;
        return true;
    }

    /// A pair entered elsewhere (a keyboard dialog): no markers, the pair complete.
    void definir(const tarvex::geometry::Ponto& inicio, const tarvex::geometry::Ponto& fim)
    {
        m_inicio = inicio;
        m_fim = fim;
        m_cliques = 0;
        m_marcas.clear();
        m_completa = true;
    }

    std::int16_t cliques() const { return m_cliques; }
    /// A click count above 1 cannot come from this entry; another mode's leftovers reset it.
    void normalizar()
    {
        if (m_cliques > 1)
            m_cliques = 0;
    }
    const tarvex::geometry::Ponto& inicio() const { return m_inicio; }
    const tarvex::geometry::Ponto& fim() const { return m_fim; }
    void setInicio(const tarvex::geometry::Ponto& p) { m_inicio = p; }
    void setFim(const tarvex::geometry::Ponto& p) { m_fim = p; }
    const std::vector<tarvex::geometry::Ponto>& marcas() const { return m_marcas; }
    /// The last pair was completed (its section may be drawn).
    bool completa() const { return m_completa; }

private:
    std::int16_t m_cliques = 0;
    tarvex::geometry::Ponto m_inicio {};
    tarvex::geometry::Ponto m_fim {};
    std::vector<tarvex::geometry::Ponto> m_marcas;
    bool m_completa = false;
};
