#include "paint/paint_problem.h"

#include "paint/canvas.h"
#include "paint/view_mapping.h"
#include "problem/problem_data.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace tarvex::paint {

namespace {

bool eletrica(problem::AnalysisType tipoAnalise)
{
    return tipoAnalise == problem::AnalysisType::Electric;
}

} // namespace

double areaExterna(const problem::PoligonoRegiao& poligono)
{
    double maior = 0.0;
    for (const std::vector<geometry::Ponto>& anel : poligono.aneis) {
        double dobro = 0.0;
        for (std::size_t i = 0; i < anel.size(); ++i) {
            const geometry::Ponto& a = anel[i];
            const geometry::Ponto& b = anel[(i + 1) % anel.size()];
            dobro += a.x * b.y - b.x * a.y;
        }
        maior = std::max(maior, std::abs(dobro) / 2.0);
    }
    return maior;
}

std::optional<ColorIndex> corDaRegiao(
    const problem::Regiao& regiao, problem::AnalysisType tipoAnalise)
{
    const bool magnetica = !eletrica(tipoAnalise);
    if (magnetica ? regiao.densCorrente != 0.0 : regiao.densCargas != 0.0)
        return corProblema::Fonte;
    if (magnetica
        && (regiao.brX != 0.0 || regiao.brY != 0.0 || regiao.brR != 0.0 || regiao.brT != 0.0))
        return corProblema::Ima;
    const double permeabilidade = magnetica ? regiao.permRelativa : regiao.permissividadeRelativa;
    if (permeabilidade > 1.0 || regiao.linear == 0)
        return corProblema::Material;
    return std::nullopt;
}

std::vector<std::size_t> ordemDePreenchimento(const problem::ProblemData& data)
{
    const std::size_t n = std::min(data.regioes.size(), data.poligonosRegioes.size());
    if (n < 2)
        return {};
    std::vector<double> areas(n);
    for (std::size_t i = 0; i < n; ++i)
        areas[i] = areaExterna(data.poligonosRegioes[i]);
    std::vector<std::size_t> ordem(n - 1);
    std::iota(ordem.begin(), ordem.end(), std::size_t { 1 });
    std::stable_sort(ordem.begin(), ordem.end(), [&](std::size_t a, std::size_t b) {
        if (areas[a] != areas[b])
            return areas[a] > areas[b];
        return a > b; // the earlier region is painted last, on top
    });
    return ordem;
}

void drawProblemStructure(Canvas& canvas, const problem::ProblemData& data)
{
    for (const std::size_t i : ordemDePreenchimento(data)) {
        const problem::PoligonoRegiao& poligono = data.poligonosRegioes[i];
        if (const auto cor = corDaRegiao(data.regioes.at(i), data.tipoAnalise))
            canvas.preenchePoligono(*cor, poligono);
        else
            canvas.preenchePoligono(canvas.fundo(), poligono);
    }
    for (const problem::Regiao& regiao : data.regioes.inListOrder())
        canvas.desenhaContorno(regiao, corProblema::Contorno);
}

void paintProblem(Canvas& canvas, const problem::ProblemData& data)
{
    canvas.limparFundo();
    drawProblemStructure(canvas, data);
}

geometry::Caixa janelaNormalProblema(
    const problem::ProblemData& data, const geometry::Caixa& anterior)
{
    constexpr double Infinito = std::numeric_limits<double>::infinity();
    geometry::Caixa caixa { Infinito, Infinito, -Infinito, -Infinito };
    for (const problem::PoligonoRegiao& poligono : data.poligonosRegioes) {
        for (const std::vector<geometry::Ponto>& anel : poligono.aneis) {
            for (const geometry::Ponto& p : anel) {
                caixa.xMin = std::min(caixa.xMin, p.x);
                caixa.yMin = std::min(caixa.yMin, p.y);
                caixa.xMax = std::max(caixa.xMax, p.x);
                caixa.yMax = std::max(caixa.yMax, p.y);
            }
        }
    }
    if (!(caixa.xMin <= caixa.xMax) || !(caixa.yMin <= caixa.yMax))
        return anterior;
    // A spot with no extent cannot be shown on its own: give it the previous window's size.
    const auto margem = [](double extensao, double extensaoAnterior) {
        if (extensao > 0.0)
            return 0.03 * extensao;
        const double metade = std::abs(extensaoAnterior) / 2.0;
        return metade > 0.0 ? metade : 1.0;
    };
    const double mx = margem(caixa.xMax - caixa.xMin, anterior.xMax - anterior.xMin);
    const double my = margem(caixa.yMax - caixa.yMin, anterior.yMax - anterior.yMin);
    return { caixa.xMin - mx, caixa.yMin - my, caixa.xMax + mx, caixa.yMax + my };
}

bool janelaValida(const geometry::Caixa& janela)
{
    return std::isfinite(janela.xMin) && std::isfinite(janela.xMax) && std::isfinite(janela.yMin)
        && std::isfinite(janela.yMax) && janela.xMin < janela.xMax && janela.yMin < janela.yMax;
}

geometry::Caixa janelaInicialProblema(const problem::ProblemData& data)
{
    const geometry::Caixa guardada { data.janela[0], data.janela[2], data.janela[1],
        data.janela[3] };
    if (janelaValida(guardada))
        return guardada;
    return janelaNormalProblema(data, JanelaInicial);
}

void renderProblem(QPainter& painter, const problem::ProblemData& data, QSize size)
{
    ViewMapping mapping;
    mapping.setTargetSize(size.width(), size.height());
    const geometry::Caixa janela = janelaInicialProblema(data);
    mapping.ajustarJanela(janela.xMin, janela.yMin, janela.xMax, janela.yMax);

    Canvas canvas(painter, mapping, Qt::black);
    paintProblem(canvas, data);
}

QImage renderProblem(const problem::ProblemData& data, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    renderProblem(painter, data, size);
    return image;
}

} // namespace tarvex::paint
