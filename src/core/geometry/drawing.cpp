#include "geometry/drawing.h"

#include "geometry/helpers.h"

#include <algorithm>

namespace tarvex::geometry {

void DrawingData::marcarGravado()
{
    arcosGravados = static_cast<std::int32_t>(arcos.size());
    segmentosGravados = static_cast<std::int32_t>(segmentos.size());
    pontosGravados = static_cast<std::int32_t>(pontos.size());
}

bool DrawingData::contagensAlteradas() const
{
    return static_cast<std::size_t>(arcosGravados) != arcos.size()
        || static_cast<std::size_t>(segmentosGravados) != segmentos.size()
        || static_cast<std::size_t>(pontosGravados) != pontos.size();
}

namespace {

class BoxBuilder {
public:
    void add(const Ponto& p)
    {
        if (m_empty) {
            m_box = { p.x, p.y, p.x, p.y };
            m_empty = false;
            return;
        }
        m_box.xMin = std::min(m_box.xMin, p.x);
        m_box.yMin = std::min(m_box.yMin, p.y);
        m_box.xMax = std::max(m_box.xMax, p.x);
        m_box.yMax = std::max(m_box.yMax, p.y);
    }
    bool empty() const { return m_empty; }
    const Caixa& box() const { return m_box; }

private:
    Caixa m_box;
    bool m_empty = true;
};

void addArc(BoxBuilder& builder, const Arco& arco)
{
    builder.add(arco.P1);
    builder.add(arco.P2);
    const ExtensaoArco e = extensaoArco(arco);
    // The arc reaches the circle's extreme in a direction when it sweeps across that angle.
    for (int quarter = 0; quarter < 8; ++quarter) {
        const double angle = quarter * Pi / 2.0;
        if (angle > e.inicio && angle < e.fim)
            builder.add(
                { arco.PC.x + e.raio * std::cos(angle), arco.PC.y + e.raio * std::sin(angle) });
    }
}

} // namespace

bool caixaDesenho(const DrawingData& drawing, Caixa& out)
{
    BoxBuilder builder;
    for (const Ponto& p : drawing.pontos.inStorageOrder())
        builder.add(p);
    for (const Segmento& s : drawing.segmentos.inStorageOrder()) {
        builder.add(s.P1);
        builder.add(s.P2);
    }
    for (const Arco& a : drawing.arcos.inStorageOrder())
        addArc(builder, a);
    if (builder.empty())
        return false;
    out = builder.box();
    return true;
}

} // namespace tarvex::geometry
