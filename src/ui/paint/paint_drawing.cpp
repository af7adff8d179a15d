#include "paint/paint_drawing.h"

#include "geometry/drawing.h"
#include "paint/canvas.h"
#include "paint/view_mapping.h"

#include <QPainter>

namespace tarvex::paint {

namespace {
constexpr int LarguraEntidade = 1;
constexpr int LarguraMarcador = 2;
constexpr int EstiloCheio = 0;
} // namespace

void drawDrawingLists(
    Canvas& canvas, const geometry::DrawingData& drawing, const DrawingSelection& selecao)
{
    for (const geometry::Ponto& p : drawing.pontos.inListOrder())
        canvas.desenhaPonto(cor::Entidade, LarguraEntidade, p);
    for (const geometry::Ponto& p : selecao.pontos) {
        canvas.desenhaMarcador(cor::Selecao, EstiloCheio, LarguraMarcador, p);
        canvas.desenhaPonto(cor::Entidade, LarguraEntidade, p);
    }
    for (const geometry::Segmento& s : drawing.segmentos.inListOrder())
        canvas.desenhaSegmento(cor::Entidade, LarguraEntidade, EstiloCheio, s.P1, s.P2);
    for (const geometry::Segmento& s : selecao.segmentos)
        canvas.desenhaSegmento(cor::Selecao, LarguraEntidade, EstiloCheio, s.P1, s.P2);
    for (const geometry::Arco& a : drawing.arcos.inListOrder())
        canvas.desenhaArco(cor::Entidade, LarguraEntidade, a);
    for (const geometry::Arco& a : selecao.arcos)
        canvas.desenhaArco(cor::Selecao, LarguraEntidade, a);
}

void paintDrawing(
    Canvas& canvas, const geometry::DrawingData& drawing, const DrawingSelection& selecao)
{
    canvas.limparFundo();
    drawDrawingLists(canvas, drawing, selecao);
}

void renderDrawing(QPainter& painter, const geometry::DrawingData& drawing, QSize size)
{
    ViewMapping mapping;
    mapping.setTargetSize(size.width(), size.height());
    const geometry::Caixa janela = janelaNormal(drawing, JanelaInicial);
    mapping.ajustarJanela(janela.xMin, janela.yMin, janela.xMax, janela.yMax);

    Canvas canvas(painter, mapping, Qt::black);
    paintDrawing(canvas, drawing, DrawingSelection {});
}

QImage renderDrawing(const geometry::DrawingData& drawing, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    renderDrawing(painter, drawing, size);
    return image;
}

} // namespace tarvex::paint
