#include "paint/paint_arrangement.h"

#include "geometry/arrangements.h"
#include "geometry/drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvex::paint {
namespace {

using geometry::CotaArranjo;
using geometry::Ponto;

const QColor Fundo(250, 250, 246);
const QColor Contorno(20, 20, 20);
const QColor Cota(25, 80, 170);

/// World to picture: uniform scale, y upwards, the box centred in the area.
struct Mapa {
    double escala = 1.0;
    double x0 = 0.0, y0 = 0.0; ///< world point at the area's centre
    QPointF centro;

    QPointF operator()(const Ponto& p) const
    {
        return { centro.x() + (p.x - x0) * escala, centro.y() - (p.y - y0) * escala };
    }
};

double comprimento(const QPointF& v)
{
    return std::hypot(v.x(), v.y());
}

void seta(QPainter& painter, const QPointF& ponta, const QPointF& de, double tamanho)
{
    const QPointF d = ponta - de;
    const double n = comprimento(d);
    if (n <= 0.0)
        return;
    const QPointF u = d / n;
    const QPointF perp(-u.y(), u.x());
    QPainterPath path;
    path.moveTo(ponta);
    path.lineTo(ponta - u * tamanho + perp * tamanho * 0.35);
    path.lineTo(ponta - u * tamanho - perp * tamanho * 0.35);
    path.closeSubpath();
    painter.fillPath(path, Cota);
}

/// The letter centred on `onde`, over a patch of background so lines do not cross it.
void letra(QPainter& painter, const QString& texto, const QPointF& onde)
{
    const QFontMetricsF metricas(painter.font(), painter.device());
    QRectF caixa = metricas.boundingRect(texto);
    caixa.adjust(-3, -1, 3, 1);
    caixa.moveCenter(onde);
    painter.fillRect(caixa, Fundo);
    painter.setPen(Cota);
    painter.drawText(caixa, Qt::AlignCenter, texto);
}

void desenhaCota(QPainter& painter, const Mapa& mapa, const CotaArranjo& cota, double tamanhoSeta,
    double alturaTexto)
{
    QPen pen(Cota, 1.2);
    painter.setPen(pen);
    const QString texto
        = QString::fromUtf8(cota.letra.data(), static_cast<qsizetype>(cota.letra.size()));
    if (cota.tipo == CotaArranjo::Tipo::Raio) {
        const QPointF arco = mapa(cota.de);
        const QPointF fora = mapa(cota.ate);
        painter.drawLine(fora, arco);
        seta(painter, arco, fora, tamanhoSeta);
        const QPointF u = (fora - arco) / std::max(comprimento(fora - arco), 1e-9);
        letra(painter, texto, fora + u * alturaTexto * 0.7);
        return;
    }

    const Ponto a { cota.de.x + cota.deslocamento.x, cota.de.y + cota.deslocamento.y };
    const Ponto b { cota.ate.x + cota.deslocamento.x, cota.ate.y + cota.deslocamento.y };
    const QPointF pa = mapa(a);
    const QPointF pb = mapa(b);
    const QPointF desl = pa - mapa(cota.de);
    const double nDesl = comprimento(desl);
    if (nDesl > 0.0) {
        // Extension lines from the outline to a little past the dimension line.
        const QPointF alem = desl / nDesl * 4.0;
        painter.drawLine(mapa(cota.de), pa + alem);
        painter.drawLine(mapa(cota.ate), pb + alem);
    }
    painter.drawLine(pa, pb);
    seta(painter, pa, pb, tamanhoSeta);
    seta(painter, pb, pa, tamanhoSeta);
    letra(painter, texto, (pa + pb) / 2.0);
}

} // namespace

void paintArrangementPicture(
    QPainter& painter, const QRectF& area, const geometry::DimensoesArranjo& dimensoes)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Fundo);

    geometry::DrawingData desenho;
    geometry::Caixa caixa;
    if (!geometry::gerarArranjo(dimensoes, desenho) || !geometry::caixaDesenho(desenho, caixa)) {
        painter.restore();
        return;
    }
    const std::vector<CotaArranjo> cotas = geometry::cotasArranjo(dimensoes);
    const auto incluir = [&caixa](const Ponto& p) {
        caixa.xMin = std::min(caixa.xMin, p.x);
        caixa.xMax = std::max(caixa.xMax, p.x);
        caixa.yMin = std::min(caixa.yMin, p.y);
        caixa.yMax = std::max(caixa.yMax, p.y);
    };
    for (const CotaArranjo& cota : cotas) {
        incluir({ cota.de.x + cota.deslocamento.x, cota.de.y + cota.deslocamento.y });
        incluir({ cota.ate.x + cota.deslocamento.x, cota.ate.y + cota.deslocamento.y });
    }

    QFont fonte(QStringLiteral("Arial"));
    fonte.setPixelSize(
        std::clamp(static_cast<int>(std::min(area.width(), area.height()) / 22), 9, 40));
    fonte.setItalic(true);
    painter.setFont(fonte);
    const double alturaTexto = QFontMetricsF(fonte, painter.device()).height();

    // Room around the box for the letters that stand beyond the dimension lines.
    const double margem = alturaTexto * 1.6;
    const double largura = std::max(area.width() - 2 * margem, 1.0);
    const double altura = std::max(area.height() - 2 * margem, 1.0);
    const double dx = std::max(caixa.xMax - caixa.xMin, 1e-12);
    const double dy = std::max(caixa.yMax - caixa.yMin, 1e-12);
    Mapa mapa;
    mapa.escala = std::min(largura / dx, altura / dy);
    mapa.x0 = (caixa.xMin + caixa.xMax) / 2;
    mapa.y0 = (caixa.yMin + caixa.yMax) / 2;
    mapa.centro = area.center();

    painter.setPen(QPen(Contorno, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const geometry::Segmento& s : desenho.segmentos.inListOrder())
        painter.drawLine(mapa(s.P1), mapa(s.P2));
    for (const geometry::Arco& arco : desenho.arcos.inListOrder()) {
        const double r = std::hypot(arco.P1.x - arco.PC.x, arco.P1.y - arco.PC.y) * mapa.escala;
        if (r <= 0.0)
            continue;
        const double inicio = std::atan2(arco.P1.y - arco.PC.y, arco.P1.x - arco.PC.x);
        double fim = std::atan2(arco.P2.y - arco.PC.y, arco.P2.x - arco.PC.x);
        while (fim <= inicio)
            fim += 2 * M_PI;
        const QPointF c = mapa(arco.PC);
        // The picture keeps world orientation (y up), so the sweep stays counterclockwise.
        painter.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r),
            static_cast<int>(std::lround(inicio * 180 / M_PI * 16)),
            static_cast<int>(std::lround((fim - inicio) * 180 / M_PI * 16)));
    }

    const double tamanhoSeta = std::max(alturaTexto * 0.55, 5.0);
    for (const CotaArranjo& cota : cotas)
        desenhaCota(painter, mapa, cota, tamanhoSeta, alturaTexto);
    painter.restore();
}

QImage renderArrangementPicture(const geometry::DimensoesArranjo& dimensoes, QSize size)
{
    QImage imagem(size, QImage::Format_RGB32);
    imagem.fill(Fundo);
    QPainter painter(&imagem);
    paintArrangementPicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), dimensoes);
    painter.end();
    return imagem;
}

} // namespace tarvex::paint
