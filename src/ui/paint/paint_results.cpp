#include "paint/paint_results.h"

#include "paint/canvas.h"
#include "paint/paint_problem.h"
#include "paint/view_mapping.h"
#include "problem/problem_data.h"
#include "results/auxiliary_lines.h"
#include "solver/solver_model.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace tarvex::paint {

namespace {

constexpr int Solido = 0;
constexpr int LarguraPontoPotencial = 3;

/// 0-based list positions of the regions to fill, largest outline first; of two outlines of the
/// same area the earlier one in the list ends on top, as the region lookup would pick it. The
/// outer contour (position 0) is not filled.
std::vector<std::size_t> ordemDePreenchimento(const solver::SolverModel& model)
{
    const std::size_t n = std::min(model.regions.size(), model.regionPolygons.size());
    if (n < 2)
        return {};
    std::vector<double> areas(n);
    for (std::size_t i = 0; i < n; ++i)
        areas[i] = areaExterna(model.regionPolygons[i]);
    std::vector<std::size_t> ordem(n - 1);
    std::iota(ordem.begin(), ordem.end(), std::size_t { 1 });
    std::stable_sort(ordem.begin(), ordem.end(), [&](std::size_t a, std::size_t b) {
        if (areas[a] != areas[b])
            return areas[a] > areas[b];
        return a > b;
    });
    return ordem;
}

/// One pen for a whole list of lines: a large mesh has millions of them.
QPen canetaLinhas(const Canvas& canvas, ColorIndex cor)
{
    QPen pen(ViewPalette::entry(cor), canvas.escalaDispositivo());
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

bool noValido(const solver::SolverModel& model, std::int32_t k)
{
    return k >= 1 && k <= model.nodeCount();
}

} // namespace

std::optional<ColorIndex> corDaRegiaoResultados(
    const problem::Regiao& regiao, std::uint8_t magnetic)
{
    return corDaRegiao(
        regiao, magnetic != 0 ? problem::AnalysisType::Magnetic : problem::AnalysisType::Electric);
}

namespace {

/// A region's outline without the lines taken away.
void desenhaContornoVisivel(Canvas& canvas, const problem::Regiao& regiao, ColorIndex cor,
    const std::vector<problem::SegmentoContorno>* ocultas)
{
    if (ocultas == nullptr || ocultas->empty()) {
        canvas.desenhaContorno(regiao, cor);
        return;
    }
    for (const problem::SegmentoContorno& s : regiao.segmentos.inListOrder())
        if (!results::contemLinha(*ocultas, s))
            canvas.desenhaElemento(cor, 1, 0, s);
}

} // namespace

void drawResultRegions(Canvas& canvas, const solver::SolverModel& model, bool pontos,
    const std::vector<problem::SegmentoContorno>* ocultas)
{
    for (const std::size_t i : ordemDePreenchimento(model)) {
        const problem::PoligonoRegiao& poligono = model.regionPolygons[i];
        if (const auto cor = corDaRegiaoResultados(model.regions.at(i), model.magnetic))
            canvas.preenchePoligono(*cor, poligono);
        else
            canvas.preenchePoligono(canvas.fundo(), poligono);
    }
    for (const problem::Regiao& regiao : model.regions.inListOrder())
        desenhaContornoVisivel(canvas, regiao, corResultados::Contorno, ocultas);
    if (const problem::Regiao* externa = model.region(1))
        desenhaContornoVisivel(canvas, *externa, corResultados::Contorno, ocultas);
    if (!pontos)
        return;
    for (const problem::PotencialPonto& p : model.potentialPoints.inListOrder())
        canvas.desenhaPonto(corResultados::PontoPotencial, LarguraPontoPotencial, { p.x, p.y });
}

void drawResultMesh(Canvas& canvas, const solver::SolverModel& model,
    const std::vector<problem::SegmentoContorno>* ocultas)
{
    QPainter& painter = canvas.painter();
    const ViewMapping& mapping = canvas.mapping();
    const auto pixel = [&](std::int32_t k) {
        const solver::MeshNode& n = model.nodes[static_cast<std::size_t>(k)];
        return mapping.paraPixel(n.x, n.y);
    };

    painter.save();
    painter.setPen(canetaLinhas(canvas, corResultados::Malha));
    std::vector<char> vertice(model.nodes.size(), 0);
    for (const solver::MeshElement& e : model.elements.inStorageOrder()) {
        if (!noValido(model, e.t1) || !noValido(model, e.t2) || !noValido(model, e.t3))
            continue;
        const QPoint a = pixel(e.t1);
        const QPoint b = pixel(e.t2);
        const QPoint c = pixel(e.t3);
        painter.drawLine(a, b);
        painter.drawLine(b, c);
        painter.drawLine(c, a);
        vertice[static_cast<std::size_t>(e.t1)] = 1;
        vertice[static_cast<std::size_t>(e.t2)] = 1;
        vertice[static_cast<std::size_t>(e.t3)] = 1;
    }

    // The vertex dots: each node once, and one dot per pixel, since a fine mesh puts many
    // vertices under the same dot.
    painter.setBrush(ViewPalette::entry(corResultados::Malha));
    const double raio = 2.0 * canvas.escalaDispositivo();
    const int largura = std::max(1, static_cast<int>(mapping.width()));
    const int altura = std::max(1, static_cast<int>(mapping.height()));
    std::vector<char> pintado(
        static_cast<std::size_t>(largura) * static_cast<std::size_t>(altura), 0);
    for (std::size_t k = 1; k < vertice.size(); ++k) {
        if (!vertice[k])
            continue;
        const QPoint p = pixel(static_cast<std::int32_t>(k));
        if (p.x() >= 0 && p.y() >= 0 && p.x() < largura && p.y() < altura) {
            char& feito
                = pintado[static_cast<std::size_t>(p.y()) * static_cast<std::size_t>(largura)
                    + static_cast<std::size_t>(p.x())];
            if (feito)
                continue;
            feito = 1;
        } else if (p.x() < -raio - 1 || p.y() < -raio - 1 || p.x() > largura + raio
            || p.y() > altura + raio) {
            continue; // outside the picture
        }
        painter.drawEllipse(QPointF(p), raio, raio);
    }
    painter.restore();

    for (const problem::Regiao& regiao : model.regions.inListOrder())
        desenhaContornoVisivel(canvas, regiao, corResultados::ContornoMalha, ocultas);
}

void drawResultContours(Canvas& canvas, const solver::SolverModel& model,
    const std::vector<problem::SegmentoContorno>* ocultas)
{
    for (const problem::Regiao& regiao : model.regions.inListOrder())
        desenhaContornoVisivel(canvas, regiao, corResultados::Contorno, ocultas);
}

void drawContourSegments(Canvas& canvas, const common::FrontList<solver::ContourSegment>& lines)
{
    if (lines.empty())
        return;
    QPainter& painter = canvas.painter();
    const ViewMapping& mapping = canvas.mapping();
    painter.save();
    painter.setPen(canetaLinhas(canvas, corResultados::Linhas));
    for (const solver::ContourSegment& s : lines.inStorageOrder())
        painter.drawLine(mapping.paraPixel(s.x1, s.y1), mapping.paraPixel(s.x2, s.y2));
    painter.restore();
}

bool paintResults(Canvas& canvas, const solver::SolverModel& model, int displayMode,
    const std::vector<problem::SegmentoContorno>* ocultas)
{
    canvas.limparFundo();
    switch (displayMode) {
    case modoResultados::Malha:
        drawResultMesh(canvas, model, ocultas);
        return true;
    case modoResultados::Regioes:
        drawResultRegions(canvas, model, true, ocultas);
        return true;
    case modoResultados::Equipotenciais:
        drawResultRegions(canvas, model, true, ocultas);
        drawContourSegments(canvas, model.equipotentialSegments);
        return true;
    case modoResultados::Contornos:
        drawResultContours(canvas, model, ocultas);
        return true;
    case modoResultados::CorrentesInduzidas:
        drawResultRegions(canvas, model, true, ocultas);
        drawContourSegments(canvas, model.inducedCurrentSegments);
        return true;
    default:
        return false;
    }
}

geometry::Caixa janelaInicialResultados(const solver::SolverModel& model)
{
    const geometry::Caixa guardada { model.window[0], model.window[2], model.window[1],
        model.window[3] };
    if (janelaValida(guardada))
        return guardada;

    constexpr double Infinito = std::numeric_limits<double>::infinity();
    geometry::Caixa caixa { Infinito, Infinito, -Infinito, -Infinito };
    const auto inclui = [&caixa](double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        caixa.xMin = std::min(caixa.xMin, x);
        caixa.yMin = std::min(caixa.yMin, y);
        caixa.xMax = std::max(caixa.xMax, x);
        caixa.yMax = std::max(caixa.yMax, y);
    };
    for (const problem::PoligonoRegiao& poligono : model.regionPolygons)
        for (const std::vector<geometry::Ponto>& anel : poligono.aneis)
            for (const geometry::Ponto& p : anel)
                inclui(p.x, p.y);
    for (std::size_t k = 1; k < model.nodes.size(); ++k)
        inclui(model.nodes[k].x, model.nodes[k].y);
    if (!(caixa.xMin <= caixa.xMax))
        return JanelaInicial;
    // A spot with no extent is shown in a window of unit size around it.
    const double mx = caixa.xMax > caixa.xMin ? 0.03 * (caixa.xMax - caixa.xMin) : 1.0;
    const double my = caixa.yMax > caixa.yMin ? 0.03 * (caixa.yMax - caixa.yMin) : 1.0;
    return { caixa.xMin - mx, caixa.yMin - my, caixa.xMax + mx, caixa.yMax + my };
}

void renderResults(QPainter& painter, const solver::SolverModel& model, int displayMode, QSize size,
    const std::vector<problem::SegmentoContorno>* ocultas)
{
    ViewMapping mapping;
    mapping.setTargetSize(size.width(), size.height());
    const geometry::Caixa janela = janelaInicialResultados(model);
    mapping.ajustarJanela(janela.xMin, janela.yMin, janela.xMax, janela.yMax);

    Canvas canvas(painter, mapping, Qt::black);
    paintResults(canvas, model, displayMode, ocultas);
}

QImage renderResults(const solver::SolverModel& model, int displayMode, QSize size,
    const std::vector<problem::SegmentoContorno>* ocultas)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    renderResults(painter, model, displayMode, size, ocultas);
    return image;
}

} // namespace tarvex::paint
