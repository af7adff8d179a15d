#include "paint/canvas.h"

#include "geometry/helpers.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QString>

#include <algorithm>

namespace tarvex::paint {

namespace {

constexpr double ScreenDpi = 96.0;

/// Saves the painter's pen and brush and puts them back when the primitive ends.
class PenGuard {
public:
    explicit PenGuard(QPainter& painter)
        : m_painter(painter)
        , m_pen(painter.pen())
        , m_brush(painter.brush())
    {
    }
    ~PenGuard()
    {
        m_painter.setPen(m_pen);
        m_painter.setBrush(m_brush);
    }
    PenGuard(const PenGuard&) = delete;
    PenGuard& operator=(const PenGuard&) = delete;

private:
    QPainter& m_painter;
    QPen m_pen;
    QBrush m_brush;
};

double radToDeg(double angle)
{
    return angle * 180.0 / geometry::Pi;
}

} // namespace

Canvas::Canvas(QPainter& painter, const ViewMapping& mapping, QColor fundo)
    : m_painter(painter)
    , m_mapping(mapping)
    , m_fundo(fundo)
{
}

double Canvas::escalaDispositivo() const
{
    if (!m_mapping.imprimindo || m_painter.device() == nullptr)
        return 1.0;
    return std::max(1.0, m_painter.device()->logicalDpiX() / ScreenDpi);
}

QColor Canvas::naImpressao(const QColor& cor) const
{
    // On paper the palette's white would vanish; black takes its place.
    return m_mapping.imprimindo && cor == QColor(Qt::white) ? QColor(Qt::black) : cor;
}

QColor Canvas::corDaLinha(ColorIndex cor) const
{
    return naImpressao(ViewPalette::entry(cor));
}

QPen Canvas::caneta(ColorIndex cor, int largura, int estilo) const
{
    // A width of 0 or less is the thinnest line the device draws, as 1 is.
    const QColor colour
        = m_linhasPretas && m_mapping.imprimindo ? QColor(Qt::black) : corDaLinha(cor);
    QPen pen(colour, std::max(1, largura) * escalaDispositivo(), penStyle(estilo));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void Canvas::limparFundo()
{
    m_painter.fillRect(QRectF(0.0, 0.0, m_mapping.width(), m_mapping.height()), m_fundo);
}

void Canvas::desenhaSegmento(
    ColorIndex cor, int largura, int estilo, const geometry::Ponto& p1, const geometry::Ponto& p2)
{
    PenGuard guard(m_painter);
    m_painter.setPen(caneta(cor, largura, estilo));
    m_painter.drawLine(m_mapping.paraPixel(p1), m_mapping.paraPixel(p2));
}

void Canvas::desenhaPonto(ColorIndex cor, int largura, const geometry::Ponto& p)
{
    PenGuard guard(m_painter);
    m_painter.setPen(caneta(cor, largura, 0));
    m_painter.setBrush(naImpressao(m_pincel.color()) == m_pincel.color()
            ? m_pincel
            : QBrush(naImpressao(m_pincel.color())));
    const double r = 2.0 * escalaDispositivo();
    m_painter.drawEllipse(QPointF(m_mapping.paraPixel(p)), r, r);
}

void Canvas::desenhaMarcador(ColorIndex cor, int estilo, int largura, const geometry::Ponto& p)
{
    PenGuard guard(m_painter);
    m_painter.setPen(caneta(cor, largura, estilo));
    m_painter.setBrush(Qt::NoBrush);
    const double s = escalaDispositivo();
    const QPointF c(m_mapping.paraPixel(p));
    m_painter.drawEllipse(QRectF(c.x() - 4.0 * s, c.y() - 4.0 * s, 9.0 * s, 9.0 * s));
}

void Canvas::desenhaArco(ColorIndex cor, int largura, const geometry::Arco& arco)
{
    const geometry::ExtensaoArco ext = geometry::extensaoArco(arco);
    const double r = ext.raio;
    // The bounding square of the circle, corner by corner, as the platform primitive takes it.
    const QRectF quadrado(QPointF(m_mapping.paraPixel(arco.PC.x - r, arco.PC.y + r)),
        QPointF(m_mapping.paraPixel(arco.PC.x + r, arco.PC.y - r)));
    double inicio = radToDeg(ext.inicio);
    double varredura = radToDeg(ext.fim - ext.inicio);
    if (varredura <= 0.0)
        varredura = 360.0;

    // World y points up and pixel y down, so a counterclockwise world arc is counterclockwise on
    // the screen too, which is the painter's positive sense.
    QPainterPath caminho;
    caminho.arcMoveTo(quadrado, inicio);
    caminho.arcTo(quadrado, inicio, varredura);

    PenGuard guard(m_painter);
    m_painter.setPen(caneta(cor, largura, 0));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(caminho);
}

void Canvas::desenhaElemento(
    ColorIndex cor, int largura, int estilo, const problem::SegmentoContorno& elemento)
{
    if (elemento.ehArco == 0) {
        desenhaSegmento(cor, largura, estilo, elemento.p1(), elemento.p2());
        return;
    }
    const geometry::Ponto centro = elemento.centro();
    if (elemento.sentido != 0)
        desenhaArco(cor, largura, { elemento.p1(), elemento.p2(), centro });
    else
        desenhaArco(cor, largura, { elemento.p2(), elemento.p1(), centro });
}

void Canvas::desenhaContorno(const problem::Regiao& regiao, ColorIndex cor)
{
    for (const problem::SegmentoContorno& elemento : regiao.segmentos.inListOrder())
        desenhaElemento(cor, 1, 0, elemento);
}

void Canvas::preenchePoligono(ColorIndex cor, const problem::PoligonoRegiao& poligono)
{
    preenchePoligono(ViewPalette::entry(cor), poligono);
}

void Canvas::preenchePoligono(const QColor& cor, const problem::PoligonoRegiao& poligono)
{
    QPainterPath caminho;
    caminho.setFillRule(Qt::OddEvenFill);
    for (const std::vector<geometry::Ponto>& anel : poligono.aneis) {
        if (anel.size() < 3)
            continue;
        QPolygonF pontos;
        pontos.reserve(static_cast<qsizetype>(anel.size()));
        for (const geometry::Ponto& p : anel)
            pontos << QPointF(m_mapping.paraPixel(p));
        caminho.addPolygon(pontos);
        caminho.closeSubpath();
    }
    if (caminho.isEmpty())
        return;
    PenGuard guard(m_painter);
    m_painter.setPen(Qt::NoPen);
    m_painter.fillPath(caminho, cor);
}

void Canvas::desenhaTexto(const QString& texto, const geometry::Ponto& p)
{
    PenGuard guard(m_painter);
    const QFont fonteAnterior = m_painter.font();
    QFont fonte(QStringLiteral("Arial"));
    fonte.setPointSizeF(9.0);
    m_painter.setFont(fonte);
    m_painter.setPen(naImpressao(QColor(Qt::white)));
    const QPointF topo(m_mapping.paraPixel(p));
    const QFontMetricsF metricas(fonte, m_painter.device());
    m_painter.drawText(QPointF(topo.x(), topo.y() + metricas.ascent()), texto);
    m_painter.setFont(fonteAnterior);
}

} // namespace tarvex::paint
