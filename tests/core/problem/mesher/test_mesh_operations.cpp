#include "mesh_fixtures.h"

#include "common/messages.h"
#include "common/progress.h"
#include "geometry/helpers.h"
#include "problem/editing.h"
#include "problem/mesher/mesh_operations.h"

#include <cmath>

using namespace meshtest;
using namespace tarvex;
using namespace tarvex::problem;
using geometry::Pi;
using geometry::Ponto;

namespace {

/// A quarter disc of radius 10: two radii and one arc.
ProblemData quarterDisc()
{
    geometry::DrawingData drawing;
    drawing.segmentos.pushFront({ { 0, 0 }, { 10, 0 } });
    drawing.segmentos.pushFront({ { 0, 10 }, { 0, 0 } });
    drawing.arcos.pushFront({ { 10, 0 }, { 0, 10 }, { 0, 0 } });
    return problemFromDrawing(drawing);
}

ProblemData meshed(ProblemData data, double h)
{
    data.arestaMaxima = h;
    data.tolerancia = h / 1e6;
    NoProgress progress;
    EXPECT_TRUE(gerarMalha(data, {}, progress));
    return data;
}

/// Two triangles by hand: a right triangle and an equilateral one.
ProblemData twoTriangles()
{
    ProblemData data;
    const double s = std::sqrt(3.0);
    data.triangulos.pushFront({ 0, 0, 1, 0, 0, 1 });
    data.triangulos.pushFront({ 10, 0, 12, 0, 11, s });
    data.numTriangulos = 2;
    return data;
}

} // namespace

TEST(RefinaTotal, SplitsEveryTriangleIntoFourAndKeepsArcNodesOnTheArc)
{
    ProblemData data = meshed(quarterDisc(), 4.0);
    const int before = data.numTriangulos;
    ASSERT_GT(before, 0);
    ASSERT_TRUE(refinaTotal(data));
    EXPECT_EQ(data.numTriangulos, 4 * before);
    EXPECT_EQ(data.triangulos.size(), static_cast<std::size_t>(4 * before));
    EXPECT_TRUE(mesher::verifyTriangulos(data).ok()) << mesher::verifyTriangulos(data).problem;
    EXPECT_EQ(data.numNos, static_cast<int>(data.nos.size()));
    // Every vertex away from the radii and beyond the first arc chord lies on the circle or
    // well inside it: none sits in the gap between a chord and the arc.
    int onArc = 0;
    for (const Triangulo& t : data.triangulos.inListOrder())
        for (const Ponto& p :
            { Ponto { t.x1, t.y1 }, Ponto { t.x2, t.y2 }, Ponto { t.x3, t.y3 } }) {
            const double r = std::hypot(p.x, p.y);
            EXPECT_LE(r, 10.0 + 1e-9);
            if (std::fabs(r - 10.0) < 1e-9)
                ++onArc;
        }
    EXPECT_GT(onArc, 0);
    // The refined mesh covers more of the disc: the new chords are closer to the arc.
    const auto areaOf = [](const ProblemData& d) {
        double a = 0.0;
        for (const Triangulo& t : d.triangulos.inListOrder())
            a += std::fabs(geometry::areaOrientada({ t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 }));
        return a;
    };
    const ProblemData coarse = meshed(quarterDisc(), 4.0);
    EXPECT_GT(areaOf(data), areaOf(coarse) + 1e-6);
    EXPECT_LE(areaOf(data), 25.0 * Pi + 1e-9);

    ProblemData none;
    EXPECT_EQ(refinaTotal(none).message, msg::MalhaNaoGerada);
}

TEST(RefinaArea, OverTheWholeMeshEqualsRefinaTotalAndRefusesBadRectangles)
{
    ProblemData total = meshed(quarterDisc(), 3.0);
    ProblemData area = total;
    ASSERT_TRUE(refinaTotal(total));
    ASSERT_TRUE(defineArea(area, { 12, -1 }, { -1, 12 }));
    EXPECT_EQ(area.cantosArea[0], (Ponto { -1, -1 }));
    EXPECT_EQ(area.cantosArea[2], (Ponto { 12, 12 }));
    EXPECT_EQ(area.areasEspeciais.size(), 1u);
    EXPECT_EQ(area.areasEspeciais.at(0).segmentos.size(), 4u);
    ASSERT_TRUE(refinaArea(area));
    EXPECT_EQ(writeDat(area).substr(writeDat(area).size() - 48 * total.triangulos.size()),
        writeDat(total).substr(writeDat(total).size() - 48 * total.triangulos.size()));
    EXPECT_EQ(area.numTriangulos, total.numTriangulos);

    ProblemData data = meshed(quarterDisc(), 3.0);
    const auto unchanged = data.triangulos;
    EXPECT_EQ(refinaArea(data).message, msg::AreaRefinoIncorreta); // no rectangle yet
    ASSERT_TRUE(defineArea(data, { 50, 50 }, { 60, 60 }));
    EXPECT_EQ(refinaArea(data).message, msg::AreaSemTriangulos);
    data.cantosArea
        = { Ponto { 2, 2 }, Ponto { 2, 2 }, Ponto { 2, 8 }, Ponto { 2, 8 } }; // no width
    EXPECT_EQ(refinaArea(data).message, msg::AreaRefinoIncorreta);
    EXPECT_EQ(data.triangulos, unchanged);
}

TEST(RefinaArea, SplitsTheInsideAndCutsItsNeighboursIntoAConformingMesh)
{
    ProblemData data = meshed(quarterDisc(), 2.0);
    const int before = data.numTriangulos;
    ASSERT_TRUE(defineArea(data, { 1, 1 }, { 5, 5 }));
    ASSERT_TRUE(refinaArea(data));
    EXPECT_GT(data.numTriangulos, before);
    EXPECT_TRUE(mesher::verifyTriangulos(data).ok()) << mesher::verifyTriangulos(data).problem;
    // Conforming: every side inside the quarter disc is shared by exactly two triangles, which
    // shows as an area equal to the one before.
    double area = 0.0;
    for (const Triangulo& t : data.triangulos.inListOrder())
        area += std::fabs(geometry::areaOrientada({ t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 }));
    double areaBefore = 0.0;
    const ProblemData plain = meshed(quarterDisc(), 2.0);
    for (const Triangulo& t : plain.triangulos.inListOrder())
        areaBefore
            += std::fabs(geometry::areaOrientada({ t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 }));
    EXPECT_NEAR(area, areaBefore, 1e-9);
}

TEST(InformacoesMalha, ValuesAndTextsOfTwoHandMadeTriangles)
{
    ProblemData data = twoTriangles();
    InformacoesMalha info;
    ASSERT_TRUE(informacoesMalha(data, info));
    EXPECT_EQ(info.triangulos, 2);
    EXPECT_EQ(info.nos, 6);
    EXPECT_EQ(data.numNos, 6);
    EXPECT_EQ(data.nos.size(), 6u);
    // Right isosceles: q = 8(s-a)(s-b)(s-c)/(abc) with legs 1 and hypotenuse √2.
    const double l = std::sqrt(2.0), s = (2 + l) / 2;
    const double qRight = 8 * (s - 1) * (s - 1) * (s - l) / l;
    EXPECT_NEAR(info.qualidadeMinima, qRight, 1e-12);
    EXPECT_NEAR(info.qualidadeMedia, (qRight + 1.0) / 2, 1e-12);
    EXPECT_DOUBLE_EQ(data.qualidadeMalha, info.qualidadeMedia);
    // R / shortest: √2/2 for the right triangle, 1/√3 for the equilateral one.
    const double rRight = l / 2, rEq = 1 / std::sqrt(3.0);
    EXPECT_NEAR(info.anguloMedio, std::asin((rRight + rEq) / 4) * 180 / Pi, 1e-9);
    EXPECT_NEAR(info.anguloMinimo, std::asin(rEq / 2) * 180 / Pi, 1e-9);
    EXPECT_NEAR(info.areaMedia, (0.5 + std::sqrt(3.0)) / 2, 1e-12);
    EXPECT_NEAR(info.areaMinima, 0.5, 1e-12);
    EXPECT_EQ(info.menorTriangulo, 1u); // the right triangle is second in the list

    const auto rows = textosInformacoes(info);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].first, "Número de Elementos :");
    EXPECT_EQ(rows[0].second, "2");
    EXPECT_EQ(rows[2].second, "0.914");
    EXPECT_EQ(rows[7].first, "Área menor triângulo :");
    EXPECT_EQ(rows[7].second, "   5.000e-01");

    ProblemData none;
    EXPECT_EQ(informacoesMalha(none, info).message, msg::MalhaNaoGerada);
}

TEST(RecentraMalha, ReportsBothQualitiesAndNeedsANodeCount)
{
    ProblemData none;
    ResultadoRecentragem r;
    EXPECT_EQ(recentraMalha(none, r).message, msg::RecentragemSemMalha);

    ProblemData data = meshed(referenceProblem(), 6.0);
    const double before = data.qualidadeMalha;
    ASSERT_TRUE(recentraMalha(data, r));
    EXPECT_DOUBLE_EQ(r.antes, before);
    EXPECT_GT(r.depois, before);
    EXPECT_DOUBLE_EQ(data.qualidadeMalha, r.depois);
    char expected[200];
    std::snprintf(expected, sizeof expected,
        " Recentragem efetuada : \n fator qual. s/ rencentragem: %5.3f/ fator qual. "
        "após recentragem %5.3f",
        r.antes, r.depois);
    EXPECT_EQ(r.texto, expected);
    EXPECT_TRUE(mesher::verifyTriangulos(data).ok()) << mesher::verifyTriangulos(data).problem;
    // Contour nodes stay: the disc outline keeps its area.
    const auto discArea = [](const ProblemData& d) {
        double a = 0;
        for (const Triangulo& t : d.triangulos.inListOrder())
            if (std::hypot((t.x1 + t.x2 + t.x3) / 3 - 60, (t.y1 + t.y2 + t.y3) / 3 - 50) < 20)
                a += std::fabs(
                    geometry::areaOrientada({ t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 }));
        return a;
    };
    const ProblemData plain = meshed(referenceProblem(), 6.0);
    EXPECT_NEAR(discArea(data), discArea(plain), 1e-6);
}
