#include "paint/view_mapping.h"

#include <algorithm>
#include <cmath>

namespace tarvex::paint {

namespace {

/// Beyond this the painter's integer coordinates are no longer safe; nothing on a screen or a
/// page comes near it.
constexpr double PixelLimit = 1.0e8;

int roundClamped(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::lround(std::clamp(value, -PixelLimit, PixelLimit)));
}

} // namespace

void ViewMapping::setTargetSize(double width, double height)
{
    m_w = width;
    m_h = height;
}

void ViewMapping::ajustarJanela(double xMin, double yMin, double xMax, double yMax)
{
    m_xMaxPedido = xMax;
    m_yMaxPedido = yMax;
    m_xMin = xMin;
    m_xMax = xMax;
    m_yMin = yMin;
    m_yMax = yMax;
    if (m_w <= 0.0 || m_h <= 0.0)
        return;

    const double a = m_w / m_h;
    const double dx = std::abs(xMax - xMin);
    const double dy = std::abs(yMax - yMin);
    if (dx == 0.0 && dy == 0.0)
        return;

    // r = dx/dy, compared without dividing so that a request with no height counts as wider.
    if (dx < dy * a) {
        const double largura = dy * a;
        m_xMin = (xMin + xMax) / 2.0 - largura / 2.0;
        m_xMax = m_xMin + largura;
    } else if (dx > dy * a) {
        const double altura = dx / a;
        m_yMin = (yMin + yMax) / 2.0 - altura / 2.0;
        m_yMax = m_yMin + altura;
    }
}

geometry::Ponto ViewMapping::paraMundo(double px, double py) const
{
    const double w = m_w > 0.0 ? m_w : 1.0;
    const double h = m_h > 0.0 ? m_h : 1.0;
    return { m_xMin + px * (m_xMax - m_xMin) / w, m_yMin + (m_yMax - m_yMin) * (h - py) / h };
}

QPoint ViewMapping::paraPixel(double x, double y) const
{
    const double dx = m_xMax - m_xMin;
    const double dy = m_yMax - m_yMin;
    const double px = dx != 0.0 ? (x - m_xMin) * m_w / dx : m_w / 2.0;
    const double py = dy != 0.0 ? m_h - (y - m_yMin) * m_h / dy : m_h / 2.0;
    return { roundClamped(px), roundClamped(py) };
}

double ViewMapping::pixelsPorUnidade() const
{
    const double dx = m_xMax - m_xMin;
    return dx != 0.0 ? m_w / std::abs(dx) : 0.0;
}

geometry::Caixa janelaNormal(const geometry::DrawingData& drawing, const geometry::Caixa& anterior)
{
    geometry::Caixa caixa;
    if (!geometry::caixaDesenho(drawing, caixa))
        return anterior;

    const double largura = caixa.xMax - caixa.xMin;
    const double altura = caixa.yMax - caixa.yMin;
    if (largura == 0.0 && altura == 0.0) {
        const double meiaLargura = std::abs(anterior.xMax - anterior.xMin) / 2.0;
        const double meiaAltura = std::abs(anterior.yMax - anterior.yMin) / 2.0;
        const double mx = meiaLargura > 0.0 ? meiaLargura : 1.0;
        const double my = meiaAltura > 0.0 ? meiaAltura : 1.0;
        return { caixa.xMin - mx, caixa.yMin - my, caixa.xMin + mx, caixa.yMin + my };
    }
    return { caixa.xMin - 0.03 * largura, caixa.yMin - 0.03 * altura, caixa.xMax + 0.03 * largura,
        caixa.yMax + 0.03 * altura };
}

} // namespace tarvex::paint
