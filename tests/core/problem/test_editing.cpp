#include "common/messages.h"
#include "core/problem/problem_builders.h"
#include "geometry/helpers.h"
#include "problem/contour_index.h"
#include "problem/dat_io.h"
#include "problem/editing.h"
#include "problem/problem_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tarvex;
using namespace tarvex::problem;

namespace {

using tarvex::test::Contour;
using tarvex::test::rectangle;
using tarvex::test::regionOf;

/// Outer square 0..100 (position 1), then A = 10..40 (position 2) and B = 60..90 (position 3).
ProblemData twoRegions()
{
    ProblemData data;
    data.regioes.pushFront(regionOf(rectangle(60, 60, 90, 90)));
    data.regioes.pushFront(regionOf(rectangle(10, 10, 40, 40)));
    data.regioes.pushFront(regionOf(rectangle(0, 0, 100, 100)));
    data.derivarListas();
    return data;
}

bool same(const SegmentoContorno& a, const SegmentoContorno& b)
{
    return iguais(a, b);
}

} // namespace

TEST(EditingPicking, OutsideEveryInnerRegionIsOutsideTheDomain)
{
    ProblemData data = twoRegions();
    int posicao = -1;
    const Status inside = regiaoSobPonto(data, { 20, 20 }, posicao);
    EXPECT_TRUE(inside.ok);
    EXPECT_EQ(posicao, 2);
    for (const Ponto p : { Ponto { 50, 50 }, Ponto { 150, 50 } }) {
        posicao = -1;
        const Status s = regiaoSobPonto(data, p, posicao);
        EXPECT_FALSE(s.ok);
        EXPECT_EQ(s.message, " Ponto fora do domínio ");
        EXPECT_EQ(posicao, -1);
    }
    // Special regions refuse the same way and change nothing.
    EXPECT_EQ(defineRegiaoEspecial(data, { 50, 50 }).message, msg::PontoForaDominio);
    EXPECT_TRUE(data.regioesEspeciais.empty());
}

TEST(EditingPicking, NearestSegmentAndPointAgreeWithAFullScanOnThousandsOfElements)
{
    // A jagged ring of short segments and arcs, plus scattered segments: thousands of elements.
    ProblemData data;
    Contour ring;
    const int n = 3000;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::vector<Ponto> pts;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * geometry::Pi * i / n;
        pts.push_back({ 100 * std::cos(a) + jitter(random), 100 * std::sin(a) + jitter(random) });
    }
    for (int i = 0; i < n; ++i) {
        if (i % 7 == 0)
            ring.push_back(SegmentoContorno::arco(pts[i], pts[(i + 1) % n], { 0, 0 }));
        else
            ring.push_back(SegmentoContorno::reta(pts[i], pts[(i + 1) % n]));
    }
    data.regioes.pushFront(regionOf(ring));
    data.derivarListas();
    ASSERT_GE(data.poolSegmentos.size(), 2900u);

    std::uniform_real_distribution<double> coordinate(-150, 150);
    std::uniform_real_distribution<double> angle(0, 2 * geometry::Pi);
    std::uniform_real_distribution<double> nearRing(98, 102);
    for (int q = 0; q < 400; ++q) {
        // Half the clicks anywhere, half right by the contour, where neighbours compete.
        const double a = angle(random), r = nearRing(random);
        const Ponto p = q % 2 == 0 ? Ponto { coordinate(random), coordinate(random) }
                                   : Ponto { r * std::cos(a), r * std::sin(a) };
        const auto fast = segmentoMaisProximo(data, p);
        const auto slow = maisProximoPorVarredura(data.poolSegmentos.size(),
            [&](std::size_t i) { return distanciaElemento(data.poolSegmentos[i], p); });
        ASSERT_EQ(fast, slow) << "at " << p.x << ", " << p.y;
        const auto fastPoint = pontoContornoMaisProximo(data, p);
        const auto slowPoint = maisProximoPorVarredura(data.pontosContorno.size(),
            [&](std::size_t i) { return geometry::distancia(data.pontosContorno[i], p); });
        ASSERT_EQ(fastPoint, slowPoint);
        ASSERT_EQ(segmentoExternoMaisProximo(data, p), fast); // the ring is the outer contour
    }
}

TEST(EditingPicking, TiesGoToTheFirstInListOrderAndTheIndexFollowsANewProblem)
{
    // Many copies of the same distance: two parallel segments equally far from the click.
    ProblemData data;
    Contour contour;
    for (int i = 0; i < 50; ++i)
        contour.push_back(SegmentoContorno::reta({ double(i), 0 }, { double(i) + 1, 0 }));
    for (int i = 0; i < 50; ++i)
        contour.push_back(SegmentoContorno::reta({ double(i), 2 }, { double(i) + 1, 2 }));
    data.regioes.pushFront(regionOf(contour));
    data.derivarListas();
    // (10.5, 1) is exactly 1 from segment 10 (below) and from segment 60 (above).
    EXPECT_EQ(segmentoMaisProximo(data, { 10.5, 1 }), std::optional<std::size_t>(10));
    // A shared end point: the earlier segment wins.
    EXPECT_EQ(segmentoMaisProximo(data, { 20, -1 }), std::optional<std::size_t>(19));
    // The point (20, 0) is listed before (20, 2).
    const auto p = pontoContornoMaisProximo(data, { 20, 1 });
    ASSERT_TRUE(p);
    EXPECT_EQ(data.pontosContorno[*p].y, 0.0);

    // The same data read from another problem must not answer from the old index.
    data = twoRegions();
    const auto s = segmentoMaisProximo(data, { 41, 25 });
    ASSERT_TRUE(s);
    EXPECT_TRUE(same(data.poolSegmentos[*s], SegmentoContorno::reta({ 40, 10 }, { 40, 40 })));
    ProblemData empty;
    EXPECT_FALSE(segmentoMaisProximo(empty, { 0, 0 }));
    EXPECT_FALSE(pontoContornoMaisProximo(empty, { 0, 0 }));
}

TEST(EditingPicking, ArcDistanceUsesTheArcNotItsCircle)
{
    // Upper half circle of radius 10 about the origin.
    const SegmentoContorno upper = SegmentoContorno::arco({ 10, 0 }, { -10, 0 }, { 0, 0 });
    EXPECT_NEAR(distanciaElemento(upper, { 0, 12 }), 2.0, 1e-12);
    // Below the centre the arc is far away: the nearer end point counts.
    EXPECT_NEAR(distanciaElemento(upper, { 0, -12 }), std::hypot(10.0, 12.0), 1e-12);
    // Stored the other way round (sentido 0): the lower half.
    SegmentoContorno lower = SegmentoContorno::arco({ -10, 0 }, { 10, 0 }, { 0, 0 });
    lower.sentido = 0;
    EXPECT_NEAR(distanciaElemento(lower, { 0, -12 }), std::hypot(10.0, 12.0), 1e-12);
    EXPECT_NEAR(distanciaElemento(lower, { 0, 12 }), 2.0, 1e-12);
}

TEST(EditingRegions, OkWritesTheFieldsOfTheAnalysisType)
{
    ProblemData data = twoRegions();
    Regiao& a = *data.regiaoNaPosicao(2);
    a.densCargas = 7;
    a.permissividadeRelativa = 3;
    a.brX = 0.9;

    ValoresRegiao v;
    v.densidade = 2.5;
    v.condutividade = 5.8e7;
    v.brY = 1.1;
    v.permeabilidade = 1000;
    ASSERT_TRUE(editaRegioes(data, { 2 }, v).ok);
    EXPECT_EQ(a.densCorrente, 2.5);
    EXPECT_EQ(a.permRelativa, 1000);
    EXPECT_EQ(a.condutividade, 5.8e7);
    EXPECT_EQ(a.brX, 0.0);
    EXPECT_EQ(a.brY, 1.1);
    EXPECT_EQ(a.densCargas, 7); // electric values untouched
    EXPECT_EQ(a.permissividadeRelativa, 3);

    // Electric: only the charge density and permittivity; the magnet keeps its remanence.
    defineAnalise(data, AnalysisType::Electric);
    const ValoresRegiao shown = valoresDaRegiao(a, data.tipoAnalise);
    EXPECT_EQ(shown.densidade, 7);
    EXPECT_EQ(shown.permeabilidade, 3);
    EXPECT_EQ(shown.brY, 0.0);
    ValoresRegiao e = shown;
    e.densidade = 1e-9;
    e.permeabilidade = 4;
    e.condutividade = 99;
    ASSERT_TRUE(editaRegioes(data, { 2 }, e).ok);
    EXPECT_EQ(a.densCargas, 1e-9);
    EXPECT_EQ(a.permissividadeRelativa, 4);
    EXPECT_EQ(a.densCorrente, 2.5);
    EXPECT_EQ(a.permRelativa, 1000);
    EXPECT_EQ(a.condutividade, 5.8e7);
    EXPECT_EQ(a.brY, 1.1);
}

TEST(EditingRegions, SelectionStartsFromTheClickedRegionAndEditsEveryRegion)
{
    ProblemData data = twoRegions();
    data.regiaoNaPosicao(3)->permRelativa = 50;
    data.regiaoNaPosicao(3)->densCorrente = 9;
    data.regiaoNaPosicao(3)->arquivoMaterial = "ferro.mat";
    data.regiaoNaPosicao(3)->linear = 0;
    const ValoresRegiao start = valoresDaSelecao(*data.regiaoNaPosicao(3), data.tipoAnalise);
    EXPECT_EQ(start.permeabilidade, 50);
    EXPECT_EQ(start.densidade, 0);
    EXPECT_TRUE(start.linear);
    EXPECT_TRUE(start.arquivoMaterial.empty());

    ValoresRegiao v = start;
    v.densidade = 3;
    ASSERT_TRUE(editaRegioes(data, { 3, 2, 3 }, v).ok);
    for (const int i : { 2, 3 }) {
        EXPECT_EQ(data.regiaoNaPosicao(i)->densCorrente, 3);
        EXPECT_EQ(data.regiaoNaPosicao(i)->permRelativa, 50);
        EXPECT_EQ(data.regiaoNaPosicao(i)->linear, 1);
    }
    EXPECT_EQ(data.regiaoNaPosicao(1)->densCorrente, 0); // the outer contour is not edited

    defineAnalise(data, AnalysisType::Electric);
    data.regiaoNaPosicao(2)->densCargas = 4;
    data.regiaoNaPosicao(2)->permissividadeRelativa = 6;
    const ValoresRegiao e = valoresDaSelecao(*data.regiaoNaPosicao(2), data.tipoAnalise);
    EXPECT_EQ(e.densidade, 4);
    EXPECT_EQ(e.permeabilidade, 6);
}

TEST(EditingRegions, RefusedValuesChangeNothing)
{
    ProblemData data = twoRegions();
    ValoresRegiao v;
    v.densidade = 8;
    v.linear = false;
    Status s = editaRegioes(data, { 2 }, v);
    EXPECT_EQ(s.message, "Informe o nome do arquivo de materiais !");
    v.linear = true;
    for (const double bad : { 0.0, 1e-16, 2e15, std::nan("") }) {
        v.permeabilidade = bad;
        EXPECT_EQ(editaRegioes(data, { 2 }, v).message, msg::PermRelativaFora);
    }
    EXPECT_EQ(data.regiaoNaPosicao(2)->densCorrente, 0);
    v.permeabilidade = 1e15;
    v.linear = false;
    v.arquivoMaterial = "/tmp/a.mat";
    EXPECT_TRUE(editaRegioes(data, { 2 }, v).ok);
    EXPECT_EQ(data.regiaoNaPosicao(2)->linear, 0);
}

TEST(EditingPotentials, OuterContourTwiceListsEverySegmentTwiceAndNoneEmptiesAll)
{
    ProblemData data = twoRegions();
    potencialContornoExterno(data, 5);
    potencialContornoExterno(data, 5);
    ASSERT_EQ(data.segmentosPotencial.size(), 8u);
    for (const SegmentoContorno& s : data.segmentosPotencial.inListOrder())
        EXPECT_EQ(s.potencial, 5);
    for (const SegmentoContorno& outer : data.contornoExterno) {
        int count = 0;
        for (const SegmentoContorno& s : data.segmentosPotencial.inListOrder())
            count += same(s, outer) ? 1 : 0;
        EXPECT_EQ(count, 2);
    }
    EXPECT_EQ(data.regioes.at(0).segmentos.at(2).potencial, 5);
    impoePotencialPonto(data, { 0, 0 }, 1);
    removePotenciais(data);
    EXPECT_TRUE(data.segmentosPotencial.empty());
    EXPECT_TRUE(data.potenciaisPonto.empty());
}

TEST(EditingPotentials, OuterRunFollowsContourOrderAndWrapsRound)
{
    ProblemData data = twoRegions(); // outer: bottom, right, top, left
    const auto bottom = segmentoExternoMaisProximo(data, { 50, -1 });
    const auto top = segmentoExternoMaisProximo(data, { 50, 101 });
    const auto left = segmentoExternoMaisProximo(data, { -1, 50 });
    ASSERT_TRUE(bottom && top && left);
    EXPECT_EQ(*bottom, 0u);
    EXPECT_EQ(*left, 3u);
    potencialTrechoExterno(data, *bottom, *top, 2);
    ASSERT_EQ(data.segmentosPotencial.size(), 3u);
    EXPECT_TRUE(same(data.segmentosPotencial.at(0), data.contornoExterno[0]));
    EXPECT_TRUE(same(data.segmentosPotencial.at(2), data.contornoExterno[2]));
    // From the left side back round to the bottom: left, then bottom, appended after.
    potencialTrechoExterno(data, *left, *bottom, 3);
    ASSERT_EQ(data.segmentosPotencial.size(), 5u);
    EXPECT_TRUE(same(data.segmentosPotencial.at(3), data.contornoExterno[3]));
    EXPECT_TRUE(same(data.segmentosPotencial.at(4), data.contornoExterno[0]));
    EXPECT_EQ(data.segmentosPotencial.at(4).potencial, 3);
    // One pick twice: the single segment.
    EXPECT_EQ(trechoContornoExterno(data, 1, 1).size(), 1u);
}

TEST(EditingPotentials, SegmentPotentialReplacesEqualRecordsAndEliminates)
{
    ProblemData data = twoRegions();
    const SegmentoContorno right = SegmentoContorno::reta({ 40, 40 }, { 40, 10 }); // reversed
    const SegmentoContorno top = SegmentoContorno::reta({ 10, 40 }, { 40, 40 });
    impoePotencialSegmentos(data, { right }, 1);
    ASSERT_EQ(data.segmentosPotencial.size(), 1u);
    std::vector<SegmentoContorno> selection;
    acrescentaSemRepetir(selection, top);
    acrescentaSemRepetir(selection, SegmentoContorno::reta({ 40, 10 }, { 40, 40 }));
    acrescentaSemRepetir(selection, right);
    EXPECT_EQ(selection.size(), 2u);
    impoePotencialSegmentos(data, selection, 7);
    ASSERT_EQ(data.segmentosPotencial.size(), 2u);
    for (const SegmentoContorno& s : data.segmentosPotencial.inListOrder())
        EXPECT_EQ(s.potencial, 7);
    EXPECT_EQ(potencialDoSegmento(data, right), std::optional<std::size_t>(1));
    eliminaPotencialSegmentos(data, { right });
    ASSERT_EQ(data.segmentosPotencial.size(), 1u);
    EXPECT_TRUE(same(data.segmentosPotencial.at(0), top));
}

TEST(EditingPotentials, PointPotentialUpdatesInPlaceOrAddsAtTheFront)
{
    ProblemData data = twoRegions();
    impoePotencialPonto(data, { 10, 10 }, 1);
    impoePotencialPonto(data, { 40, 40 }, 2);
    impoePotencialPonto(data, { 10.00005, 10 }, 3); // coincides with (10, 10)
    ASSERT_EQ(data.potenciaisPonto.size(), 2u);
    EXPECT_EQ(data.potenciaisPonto.at(0), (PotencialPonto { 40, 40, 2 }));
    EXPECT_EQ(data.potenciaisPonto.at(1), (PotencialPonto { 10, 10, 3 }));
    EXPECT_TRUE(eliminaPotencialPonto(data, { 40, 40 }));
    EXPECT_FALSE(eliminaPotencialPonto(data, { 40, 40 }));
    EXPECT_EQ(data.potenciaisPonto.size(), 1u);
}

TEST(EditingSymmetry, SwitchingKindKeepsTheSegmentsDeletingEmptiesThem)
{
    ProblemData data = twoRegions();
    const SegmentoContorno a = data.contornoExterno[0];
    const SegmentoContorno b = data.contornoExterno[3];
    EXPECT_FALSE(perguntaTrocaSimetria(data, SymmetryKind::AntiSymmetry));
    acrescentaSimetria(data, a, SymmetryKind::Symmetry);
    acrescentaSimetria(data, b, SymmetryKind::Symmetry);
    acrescentaSimetria(data, a, SymmetryKind::Symmetry); // once only
    EXPECT_EQ(data.segmentosSimetria.size(), 2u);
    EXPECT_FALSE(perguntaTrocaSimetria(data, SymmetryKind::Symmetry));
    ASSERT_TRUE(perguntaTrocaSimetria(data, SymmetryKind::AntiSymmetry));
    EXPECT_EQ(textoTrocaSimetria(SymmetryKind::AntiSymmetry), "Troca simetria para ANTI-XY");
    EXPECT_EQ(textoTrocaSimetria(SymmetryKind::Symmetry), "Troca simetria para  XY");
    trocaSimetria(data, SymmetryKind::AntiSymmetry);
    EXPECT_EQ(data.tipoSimetria, SymmetryKind::AntiSymmetry);
    EXPECT_EQ(data.segmentosSimetria.size(), 2u);
    deletaSimetria(data);
    EXPECT_TRUE(data.segmentosSimetria.empty());
    acrescentaSimetria(data, b, SymmetryKind::Symmetry);
    removeSimetria(data);
    EXPECT_EQ(data.tipoSimetria, SymmetryKind::None);
    EXPECT_TRUE(data.segmentosSimetria.empty());
}

TEST(EditingSpecial, AreaFirstThenRegionAndTheAreaSurvivesSaveAndLoad)
{
    ProblemData data = twoRegions();
    ASSERT_TRUE(defineRegiaoEspecial(data, { 20, 20 }).ok);
    ASSERT_TRUE(defineRegiaoEspecial(data, { 20, 20 }).ok);
    EXPECT_EQ(data.regioesEspeciais.size(), 1u);
    // Dragged from the top right to the bottom left: corners come out ordered.
    data.arestaMaxima = 1;
    ASSERT_TRUE(defineArea(data, { 30, 35 }, { 15, 25 }).ok);
    EXPECT_EQ(data.cantosArea[0], (Ponto { 15, 25 }));
    EXPECT_EQ(data.cantosArea[1], (Ponto { 30, 25 }));
    EXPECT_EQ(data.cantosArea[2], (Ponto { 30, 35 }));
    EXPECT_EQ(data.cantosArea[3], (Ponto { 15, 35 }));
    ASSERT_EQ(data.areasEspeciais.size(), 1u);
    const Regiao& area = data.areasEspeciais.at(0);
    ASSERT_EQ(area.segmentos.size(), 4u);
    EXPECT_TRUE(same(area.segmentos.at(0), SegmentoContorno::reta({ 15, 25 }, { 30, 25 })));
    EXPECT_TRUE(same(area.segmentos.at(3), SegmentoContorno::reta({ 15, 35 }, { 15, 25 })));
    EXPECT_EQ(area.permRelativa, 1.0);
    ASSERT_TRUE(defineArea(data, { 60, 60 }, { 70, 70 }).ok);
    EXPECT_EQ(data.areasEspeciais.at(1).segmentos.at(0).x1, 60); // appended
    EXPECT_EQ(defineArea(data, { 1, 1 }, { 1, 5 }).message, msg::AreaVazia);

    ProblemData read;
    ASSERT_TRUE(readDat(writeDat(data), read).ok);
    ASSERT_EQ(read.areasEspeciais.size(), 2u);
    EXPECT_EQ(read.areasEspeciais.at(0).segmentos.at(0).x1, 15);

    // Inside the area and the special region: the area goes first, then the region.
    ASSERT_TRUE(removeEspecial(data, { 20, 30 }).ok);
    EXPECT_EQ(data.areasEspeciais.size(), 1u);
    EXPECT_EQ(data.regioesEspeciais.size(), 1u);
    ASSERT_TRUE(removeEspecial(data, { 20, 30 }).ok);
    EXPECT_TRUE(data.regioesEspeciais.empty());
    EXPECT_EQ(removeEspecial(data, { 20, 30 }).message, msg::PontoForaDominio);
    EXPECT_EQ(removeEspecial(data, { 50, 50 }).message, msg::PontoForaDominio);
}

TEST(EditingSettings, TolerancesAndScaleKeepTheirRanges)
{
    ProblemData data;
    EXPECT_TRUE(defineTolerancias(data, 1e-12, 60).ok);
    EXPECT_TRUE(defineTolerancias(data, 1e12, 0.5).ok);
    EXPECT_EQ(defineTolerancias(data, 1e13, 10).message, msg::ToleranciaArcosFora);
    EXPECT_EQ(defineTolerancias(data, 1e-3, 0.4).message, msg::AnguloArcoFora);
    EXPECT_EQ(defineTolerancias(data, std::nan(""), 10).message, msg::ToleranciaArcosFora);
    EXPECT_EQ(data.toleranciaArcos, 1e12);
    EXPECT_EQ(data.anguloArco, 0.5);
    EXPECT_FALSE(defineFatorEscala(data, 0).ok);
    EXPECT_FALSE(defineFatorEscala(data, INFINITY).ok);
    EXPECT_TRUE(defineFatorEscala(data, 1).ok);
    EXPECT_EQ(data.fatorEscala, 1);
}
