#include "paint/paint_mesh.h"

#include "paint/canvas.h"
#include "paint/paint_problem.h"
#include "paint/view_mapping.h"
#include "problem/editing.h"
#include "problem/problem_data.h"

#include <QPainter>
#include <QString>

namespace tarvex::paint {

namespace {
constexpr int Solido = 0;
constexpr int MargemTexto = 10; ///< pixels from the top left corner
} // namespace

void paintTriangle(Canvas& canvas, const problem::Triangulo& t, ColorIndex cor, int largura)
{
    canvas.desenhaSegmento(cor, largura, Solido, { t.x1, t.y1 }, { t.x2, t.y2 });
    canvas.desenhaSegmento(cor, largura, Solido, { t.x2, t.y2 }, { t.x3, t.y3 });
    canvas.desenhaSegmento(cor, largura, Solido, { t.x3, t.y3 }, { t.x1, t.y1 });
}

bool paintMesh(Canvas& canvas, const problem::ProblemData& data)
{
    if (data.triangulos.empty())
        return false;
    QPainter& painter = canvas.painter();
    const ViewMapping& mapping = canvas.mapping();
    // One pen for the whole mesh: a large mesh has hundreds of thousands of sides.
    painter.save();
    QPen pen(ViewPalette::entry(corMalha::Triangulos), canvas.escalaDispositivo());
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    for (const problem::Triangulo& t : data.triangulos.inStorageOrder()) {
        const QPoint a = mapping.paraPixel(t.x1, t.y1);
        const QPoint b = mapping.paraPixel(t.x2, t.y2);
        const QPoint c = mapping.paraPixel(t.x3, t.y3);
        painter.drawLine(a, b);
        painter.drawLine(b, c);
        painter.drawLine(c, a);
    }
    painter.restore();
    return true;
}

void paintMeshBoundary(Canvas& canvas, const problem::ProblemData& data)
{
    for (const problem::SegmentoContorno& s : data.poolSegmentos)
        canvas.desenhaElemento(corMalha::Fronteira, 2, Solido, s);
}

void renderProblemMesh(QPainter& painter, const problem::ProblemData& data, QSize size)
{
    ViewMapping mapping;
    mapping.setTargetSize(size.width(), size.height());
    const geometry::Caixa janela = janelaInicialProblema(data);
    mapping.ajustarJanela(janela.xMin, janela.yMin, janela.xMax, janela.yMax);

    Canvas canvas(painter, mapping, Qt::black);
    paintProblem(canvas, data);
    if (!paintMesh(canvas, data))
        canvas.desenhaTexto(QString::fromUtf8(msg::NaoHaMalha.data(),
                                static_cast<qsizetype>(msg::NaoHaMalha.size())),
            mapping.paraMundo(MargemTexto, MargemTexto));
}

QImage renderProblemMesh(const problem::ProblemData& data, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    renderProblemMesh(painter, data, size);
    return image;
}

} // namespace tarvex::paint
