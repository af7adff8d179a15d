#include "paint/paint_colour_map.h"

#include "paint/canvas.h"
#include "paint/paint_results.h"
#include "paint/view_mapping.h"
#include "paint/view_palette.h"
#include "results/colour_map.h"
#include "solver/solver_model.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvex::paint {

namespace {

constexpr ColorIndex CorLegenda = 15;

/**
 * Writes every triangle with a band into `layer`, later triangles over earlier ones. A pixel is
 * painted when it lies within `half` pixels of each edge line on the inner side (and within the
 * triangle's box widened by as much): the fill together with the wide outline.
 */
void rasterizeTriangles(QImage& layer, const solver::SolverModel& model,
    const results::ColourMap& map, const ViewMapping& mapping, int half)
{
    const int w = layer.width();
    const int h = layer.height();
    std::vector<QPoint> pixel(model.nodes.size());
    for (std::size_t i = 1; i < model.nodes.size(); ++i)
        pixel[i] = mapping.paraPixel(model.nodes[i].x, model.nodes[i].y);
    std::array<QRgb, results::BandCount> colours {};
    for (int k = 0; k < results::BandCount; ++k)
        colours[static_cast<std::size_t>(k)]
            = ViewPalette::entry(results::FirstBandColour + k).rgba();

    const std::size_t count = std::min(model.elements.size(), map.bands.size());
    const int nodeCount = model.nodeCount();
    std::size_t position = 0;
    for (const solver::MeshElement& e : model.elements.inListOrder()) {
        if (position >= count)
            break;
        const int band = map.bands[position++];
        if (band < 0 || e.t1 < 1 || e.t2 < 1 || e.t3 < 1 || e.t1 > nodeCount || e.t2 > nodeCount
            || e.t3 > nodeCount)
            continue;
        const std::array<QPoint, 3> p = { pixel[static_cast<std::size_t>(e.t1)],
            pixel[static_cast<std::size_t>(e.t2)], pixel[static_cast<std::size_t>(e.t3)] };
        const int x0 = std::max(0, std::min({ p[0].x(), p[1].x(), p[2].x() }) - half);
        const int x1 = std::min(w - 1, std::max({ p[0].x(), p[1].x(), p[2].x() }) + half);
        const int y0 = std::max(0, std::min({ p[0].y(), p[1].y(), p[2].y() }) - half);
        const int y1 = std::min(h - 1, std::max({ p[0].y(), p[1].y(), p[2].y() }) + half);
        if (x0 > x1 || y0 > y1)
            continue;
        const QRgb colour = colours[static_cast<std::size_t>(band)];
        // Edge functions in doubles: clamped far-away pixels would overflow an int product.
        std::array<double, 3> ex {}, ey {}, ax {}, ay {}, slack {};
        const double area = double(p[1].x() - p[0].x()) * double(p[2].y() - p[0].y())
            - double(p[2].x() - p[0].x()) * double(p[1].y() - p[0].y());
        const double side = area > 0.0 ? 1.0 : -1.0;
        for (std::size_t i = 0; i < 3; ++i) {
            const QPoint& a = p[i];
            const QPoint& b = p[(i + 1) % 3];
            ax[i] = a.x();
            ay[i] = a.y();
            ex[i] = double(b.x() - a.x());
            ey[i] = double(b.y() - a.y());
            slack[i] = half * std::hypot(ex[i], ey[i]);
        }
        for (int y = y0; y <= y1; ++y) {
            auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
            for (int x = x0; x <= x1; ++x) {
                bool inside = true;
                for (std::size_t i = 0; i < 3 && inside; ++i) {
                    const double f = ex[i] * (y - ay[i]) - ey[i] * (x - ax[i]);
                    // A triangle with no area in pixels is the strip along its line.
                    inside = area != 0.0 ? side * f >= -slack[i] : std::fabs(f) <= slack[i];
                }
                if (inside)
                    line[x] = colour;
            }
        }
    }
}

QFont fonteLegenda(double pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    return font;
}

void drawText(
    QPainter& painter, const QColor& cor, const QString& text, const QPointF& top, double pixelSize)
{
    painter.save();
    const QFont font = fonteLegenda(pixelSize);
    painter.setFont(font);
    painter.setPen(cor);
    painter.drawText(QPointF(top.x(), top.y() + QFontMetricsF(font).ascent()), text);
    painter.restore();
}

/// The legend's measures in world units over the shifted window.
struct MedidasLegenda {
    double x0, wl, g, h, e;
};

MedidasLegenda medidasLegenda(const ViewMapping& mapping)
{
    const double larguraJanela = std::fabs(mapping.xMax() - mapping.xMin());
    const double alturaJanela = std::fabs(mapping.yMax() - mapping.yMin());
    const double g = 0.02 * larguraJanela / 10.0;
    return { mapping.xMin() + 0.95 * g, FracaoLegenda * larguraJanela, g,
        0.98 * alturaJanela / 16.5, 0.02 * alturaJanela / 2.0 };
}

} // namespace

std::vector<RotuloLegenda> rotulosLegenda(
    const ViewMapping& mapping, const results::ColourMap& map, double escala)
{
    const MedidasLegenda m = medidasLegenda(mapping);
    const double ymin = mapping.yMin();
    // Just right of the colour boxes (and of their 3-pixel outline).
    const double esquerda = mapping.paraPixel(m.x0 + m.wl / 2.5, ymin).x() + 3.0 * escala;
    // The strip ends where the model's picture begins.
    const double direita = mapping.paraPixel(mapping.xMin() + m.wl, ymin).x() - 1.0;
    const double faixa = std::fabs(double(
        mapping.paraPixel(m.x0, ymin + m.e).y() - mapping.paraPixel(m.x0, ymin + m.e + m.h).y()));
    std::vector<QString> textos;
    for (int k = 0; k <= results::BandCount; ++k)
        textos.push_back(
            QString::fromStdString(results::legendLabel(map.limits[static_cast<std::size_t>(k)])));

    // The largest size up to 14 pixels at which the widest label fits the strip and a label
    // (one pixel clear of its line) fits between two lines.
    const double maior = 14.0 * escala;
    const double minimo = 7.0 * escala;
    double larguraMaior = 0.0;
    const QFontMetricsF medida(fonteLegenda(100.0));
    for (const QString& texto : textos)
        larguraMaior = std::max(larguraMaior, medida.horizontalAdvance(texto));
    const double alturaPorPixel = medida.height() / 100.0;
    double tamanho = maior;
    if (larguraMaior > 0.0)
        tamanho = std::min(tamanho, 100.0 * (direita - esquerda) / larguraMaior);
    int passo = 1;
    if (alturaPorPixel * tamanho > faixa - 2.0) {
        const double cabe = (faixa - 2.0) / alturaPorPixel;
        if (cabe >= minimo) {
            tamanho = cabe;
        } else {
            // Too tight for every label: every other one, with twice the room.
            passo = 2;
            tamanho = std::min(tamanho, (2.0 * faixa - 2.0) / alturaPorPixel);
        }
    }
    tamanho = std::floor(std::max(1.0, tamanho));
    const QFontMetricsF fonte(fonteLegenda(tamanho));

    std::vector<RotuloLegenda> rotulos;
    for (int k = 0; k <= results::BandCount; k += passo) {
        const double linha = mapping.paraPixel(m.x0, ymin + m.e + k * m.h).y();
        const QString& texto = textos[static_cast<std::size_t>(k)];
        // The text sits on its line: its box ends one pixel above it.
        const QRectF caixa(
            esquerda, linha - 1.0 - fonte.height(), fonte.horizontalAdvance(texto), fonte.height());
        rotulos.push_back({ texto, caixa, tamanho });
    }
    return rotulos;
}

void deslocaJanelaLegenda(ViewMapping& mapping)
{
    const double largura = std::fabs(mapping.xMax() - mapping.xMin());
    mapping.ajustarJanela(
        mapping.xMin() - FracaoLegenda * largura, mapping.yMin(), mapping.xMax(), mapping.yMax());
}

void paintColourMap(Canvas& canvas, const solver::SolverModel& model, const results::ColourMap& map)
{
    const ViewMapping& mapping = canvas.mapping();
    QPainter& painter = canvas.painter();
    const double escala = canvas.escalaDispositivo();
    const int width = static_cast<int>(std::lround(mapping.width()));
    const int height = static_cast<int>(std::lround(mapping.height()));
    // The pen of the outlines is 3 pixels wide: one pixel beyond the edge on either side.
    const int half = std::max(1, static_cast<int>(std::lround(1.5 * escala)) - 1);
    if (width > 0 && height > 0) {
        QImage layer(width, height, QImage::Format_ARGB32_Premultiplied);
        if (!layer.isNull()) {
            layer.fill(Qt::transparent);
            rasterizeTriangles(layer, model, map, mapping, half);
            painter.drawImage(QPoint(0, 0), layer);
        }
    }

    for (const problem::Regiao& regiao : model.regions.inListOrder())
        canvas.desenhaContorno(regiao, CorLegenda);

    const double xmin = mapping.xMin();
    const double ymin = mapping.yMin();
    const double ymax = mapping.yMax();
    const MedidasLegenda medidas = medidasLegenda(mapping);
    const double wl = medidas.wl;
    const double g = medidas.g;
    const double h = medidas.h;
    const double e = medidas.e;
    const QColor corTexto = canvas.corDaLinha(CorLegenda);

    for (int k = 0; k < results::BandCount; ++k) {
        const QPoint a = mapping.paraPixel(xmin + g, ymin + e + k * h);
        const QPoint b = mapping.paraPixel(xmin + g + wl / 2.5, ymin + e + (k + 1) * h);
        const QColor colour = ViewPalette::entry(results::FirstBandColour + k);
        painter.save();
        QPen pen(colour);
        pen.setWidthF(3.0 * escala);
        painter.setPen(pen);
        painter.setBrush(colour);
        painter.drawRect(QRect(a, b).normalized());
        painter.restore();
    }
    const double x0 = medidas.x0;
    for (int k = 0; k <= results::BandCount; ++k) {
        const double yk = ymin + e + k * h;
        canvas.desenhaSegmento(CorLegenda, 1, 0, { x0, yk }, { x0 + wl, yk });
    }
    for (const RotuloLegenda& rotulo : rotulosLegenda(mapping, map, escala))
        drawText(painter, corTexto, rotulo.texto, rotulo.caixa.topLeft(), rotulo.tamanhoFonte);
    const std::string_view caption = results::mapCaption(map.quantity);
    drawText(painter, corTexto,
        QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
        QPointF(mapping.paraPixel(x0 + 1.2 * g, ymax - 3.0 * e)), 15.0 * escala);
}

void renderColourMap(
    QPainter& painter, const solver::SolverModel& model, const results::ColourMap& map, QSize size)
{
    ViewMapping mapping;
    mapping.setTargetSize(size.width(), size.height());
    const geometry::Caixa janela = janelaInicialResultados(model);
    mapping.ajustarJanela(janela.xMin, janela.yMin, janela.xMax, janela.yMax);
    deslocaJanelaLegenda(mapping);

    Canvas canvas(painter, mapping, Qt::black);
    canvas.limparFundo();
    paintColourMap(canvas, model, map);
}

QImage renderColourMap(const solver::SolverModel& model, const results::ColourMap& map, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    renderColourMap(painter, model, map, size);
    return image;
}

} // namespace tarvex::paint
