#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/drawing_edit.h"
#include "geometry/helpers.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tarvex;
using namespace tarvex::geometry;

namespace {

template <typename T> std::vector<T> lista(const common::FrontList<T>& l)
{
    return { l.inListOrder().begin(), l.inListOrder().end() };
}

void expectPonto(const Ponto& p, double x, double y)
{
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
}

class DrawingEdit : public ::testing::Test {
protected:
    DrawingData d;
    SelecaoDesenho sel;
    Alteracoes alt;
};

} // namespace

TEST_F(DrawingEdit, KeyboardCircleOfRadiusTwoGivesThreePointsAndTwoHalves)
{
    ASSERT_TRUE(insereCircunferencia(d, { 0, 0 }, 2, alt));
    const auto pontos = lista(d.pontos); // inserted at the front: last inserted first
    ASSERT_EQ(pontos.size(), 3u);
    EXPECT_EQ(pontos[0], (Ponto { 0, 0 }));
    EXPECT_EQ(pontos[1], (Ponto { -2, 0 }));
    EXPECT_EQ(pontos[2], (Ponto { 2, 0 }));
    const auto arcos = lista(d.arcos);
    ASSERT_EQ(arcos.size(), 2u);
    EXPECT_EQ(arcos[1], (Arco { { 2, 0 }, { -2, 0 }, { 0, 0 } })); // upper half, inserted first
    EXPECT_EQ(arcos[0], (Arco { { -2, 0 }, { 2, 0 }, { 0, 0 } }));

    for (const double r : { 0.0, 1e-9, -3.0 }) {
        const Status s = insereCircunferencia(d, { 0, 0 }, r, alt);
        EXPECT_EQ(s.message, msg::RaioZero);
    }
    EXPECT_EQ(d.arcos.size(), 2u);
}

TEST_F(DrawingEdit, KeyboardArcTurnsCounterclockwiseSoANegativeAngleCoversTheRest)
{
    ASSERT_TRUE(insereArcoAngulo(d, { 0, 0 }, { 1, 0 }, 90, alt));
    expectPonto(d.arcos.at(0).P2, 0, 1);
    ASSERT_TRUE(insereArcoAngulo(d, { 0, 0 }, { 1, 0 }, -90, alt));
    const Arco& a = d.arcos.at(0);
    expectPonto(a.P1, 1, 0);
    expectPonto(a.P2, 0, -1);
    const ExtensaoArco e = extensaoArco(a);
    EXPECT_NEAR(e.fim - e.inicio, 3 * Pi / 2, 1e-9);
    EXPECT_EQ(d.pontos.size(), 6u);

    EXPECT_EQ(insereArcoAngulo(d, { 0, 0 }, { 0, 0 }, 90, alt).message, msg::PontoCentroIguais);
    EXPECT_EQ(insereArcoAngulo(d, { 0, 0 }, { 1, 0 }, 1e-9, alt).message, msg::AnguloZero);
    // An arc given by its ends and centre needs ends apart from each other and from the centre.
    EXPECT_EQ(
        insereArco2Pontos(d, { 0, 0 }, { 0, 1 }, { 0, 0 }, alt).message, msg::PontoCentroIguais);
    EXPECT_EQ(insereArco2Pontos(d, { 1, 0 }, { 1, 0 }, { 0, 0 }, alt).message, msg::PontosIguais);
    // A whole turn would be a full circle in one arc.
    EXPECT_EQ(insereArcoAngulo(d, { 0, 0 }, { 1, 0 }, 360, alt).message, msg::AnguloZero);
    EXPECT_EQ(d.arcos.size(), 2u);
}

TEST_F(DrawingEdit, ThreePointCircleAndArcTurnCollinearPicksIntoSegments)
{
    constroiCircunferencia3(d, { 0, 0 }, { 1, 0 }, { 2, 0 }, alt);
    EXPECT_EQ(d.segmentos.size(), 3u);
    EXPECT_TRUE(d.arcos.empty());
    EXPECT_TRUE(d.pontos.empty());

    // Clockwise picks are put counterclockwise: A and C exchanged.
    constroiCircunferencia3(d, { 0, 1 }, { 1, 0 }, { 0, -1 }, alt);
    const auto arcos = lista(d.arcos);
    ASSERT_EQ(arcos.size(), 3u);
    EXPECT_EQ(arcos[2].P1, (Ponto { 0, -1 }));
    EXPECT_EQ(arcos[2].P2, (Ponto { 1, 0 }));
    expectPonto(d.pontos.at(0), 0, 0); // the centre

    DrawingData arco;
    constroiArco3(arco, { 0, 0 }, { 1, 1 }, { 2, 2 }, alt);
    EXPECT_EQ(arco.segmentos.size(), 2u);
    EXPECT_EQ(
        insereArco3Pontos(arco, { 0, 0 }, { 0, 0 }, { 1, 0 }, alt).message, msg::DoisPontosIguais);
}

TEST_F(DrawingEdit, MouseCircleDueEastOfItsCentreStillGivesTwoRealHalves)
{
    constroiCircunferencia(d, { 0, 0 }, { 0, 3 }, alt);
    EXPECT_EQ(d.arcos.at(1), (Arco { { 0, 3 }, { 3, 0 }, { 0, 0 } }));
    EXPECT_EQ(d.arcos.at(0), (Arco { { 3, 0 }, { 0, 3 }, { 0, 0 } }));

    DrawingData leste;
    constroiCircunferencia(leste, { 0, 0 }, { 3, 0 }, alt);
    for (const Arco& a : leste.arcos.inListOrder()) {
        const ExtensaoArco e = extensaoArco(a);
        EXPECT_NEAR(e.fim - e.inicio, Pi, 1e-12);
    }
}

TEST_F(DrawingEdit, AFourthPointDropsTheFirstAndTooManyIsAnError)
{
    for (const Ponto& p : { Ponto { 1, 0 }, Ponto { 2, 0 }, Ponto { 3, 0 }, Ponto { 4, 0 } }) {
        const ResultadoEdicao r = selecionaPonto(sel, p);
        ASSERT_TRUE(r);
    }
    ASSERT_EQ(sel.pontos.size(), 3u);
    EXPECT_EQ(sel.pontos[0], (Ponto { 4, 0 }));
    EXPECT_EQ(sel.pontos[2], (Ponto { 2, 0 }));

    const ResultadoEdicao again = selecionaPonto(sel, { 3, 0 });
    EXPECT_EQ(again.textoEstado, "Ponto selecionado: (    3.000,     0.000)");
    EXPECT_EQ(sel.pontos.size(), 3u);

    // A frame selection has no limit; the next click then refuses.
    d.pontos.pushFront({ 10, 10 });
    selecionaRegiao(d, sel, { 9, 9 }, { 11, 11 });
    ASSERT_EQ(sel.pontos.size(), 4u);
    EXPECT_EQ(selecionaPonto(sel, { 5, 5 }).status.message, msg::ErroListaSelecionados);
}

TEST_F(DrawingEdit, SegmentToggleAndItsStatusText)
{
    d.segmentos.pushFront({ { 0, 0 }, { 10, 0 } });
    d.arcos.pushFront({ { 1, 0 }, { -1, 0 }, { 0, 0 } });
    const EntidadeEscolhida seg { EntidadeEscolhida::Tipo::Segmento, 0 };
    ResultadoEdicao r = selecionaEntidade(d, sel, seg);
    EXPECT_EQ(
        r.textoEstado, "Segmento selecionado: P1(    0.000,    0.000)  P2(   10.000,    0.000)");
    EXPECT_EQ(sel.segmentos.size(), 1u);
    r = selecionaEntidade(d, sel, seg);
    EXPECT_TRUE(sel.segmentos.empty());
    r = selecionaEntidade(d, sel, { EntidadeEscolhida::Tipo::Arco, 0 });
    EXPECT_EQ(r.textoEstado,
        "Arco selecionado: P1(    1.000,     0.000)  P2(   -1.000,    "
        "0.000)  PC(    0.000,    0.000)");
}

TEST_F(DrawingEdit, FrameSelectsWhatLiesStrictlyInsideAndOnlyFreePoints)
{
    d.segmentos.pushFront({ { 0, 0 }, { 2, 2 } });
    d.segmentos.pushFront({ { 0, 0 }, { 5, 0 } }); // an end point on the frame's edge: outside
    d.arcos.pushFront({ { 1, 0.5 }, { 0.5, 1 }, { 0.5, 0.5 } });
    d.pontos.pushFront({ 0, 0 }); // end point of a segment: not free
    d.pontos.pushFront({ 1.5, 0.5 }); // free
    d.pontos.pushFront({ 0.5, 0.5 }); // centre of an arc: not free
    selecionaRegiao(d, sel, { 3, 3 }, { -1, 0 }); // dragged from the top right
    ASSERT_EQ(sel.segmentos.size(), 0u);
    selecionaRegiao(d, sel, { 3, 3 }, { -1, -1 });
    EXPECT_EQ(sel.segmentos.size(), 1u);
    EXPECT_EQ(sel.arcos.size(), 1u);
    ASSERT_EQ(sel.pontos.size(), 1u);
    EXPECT_EQ(sel.pontos[0], (Ponto { 1.5, 0.5 }));
    selecionaRegiao(d, sel, { 3, 3 }, { -1, -1 }); // nothing twice
    EXPECT_EQ(sel.segmentos.size(), 1u);

    inverteRegiao(sel, { -1, -1 }, { 3, 3 });
    EXPECT_TRUE(sel.segmentos.empty());
    EXPECT_TRUE(sel.arcos.empty());

    // The annular sector between radii 1 and 3, angles 0° to 90°.
    SelecaoDesenho polar;
    DrawingData q;
    q.segmentos.pushFront({ { 2, 0 }, { 0, 2 } });
    q.segmentos.pushFront({ { 2, 0 }, { 0, -2 } });
    selecionaRegiaoPolar(q, polar, { 1, 0 }, { 0, 3 });
    ASSERT_EQ(polar.segmentos.size(), 1u);
    EXPECT_EQ(polar.segmentos[0], (Segmento { { 2, 0 }, { 0, 2 } }));
}

TEST_F(DrawingEdit, SharedPointIsNotDeletableAFreeOneIs)
{
    d.segmentos.pushFront({ { 0, 0 }, { 1, 0 } });
    d.pontos.pushFront({ 0, 0 });
    d.pontos.pushFront({ 5, 5 }); // list order: (5, 5), (0, 0)
    sel.pontos = { { 5, 5 } };
    EXPECT_EQ(excluiPonto(d, sel, 1, alt).message, msg::PontoConecta);
    EXPECT_EQ(d.pontos.size(), 2u);
    ASSERT_TRUE(excluiPonto(d, sel, 0, alt));
    EXPECT_EQ(lista(d.pontos), (std::vector<Ponto> { { 0, 0 } }));
    EXPECT_TRUE(sel.pontos.empty());

    // Deleting the selected points skips the connection test.
    sel.pontos = { { 0, 0 } };
    excluiPontosSelecionados(d, sel, alt);
    EXPECT_TRUE(d.pontos.empty());
    EXPECT_TRUE(sel.pontos.empty());
}

TEST_F(DrawingEdit, DeletingSelectedSegmentsRemovesTheFirstEqualOneAndKeepsTheirPoints)
{
    EXPECT_EQ(excluiSegmentosSelecionados(d, sel, alt).message, msg::SemSegmentosApagar);
    const Segmento s { { 0, 0 }, { 1, 0 } };
    d.segmentos.pushFront(s);
    d.segmentos.pushFront({ { 5, 5 }, { 6, 6 } });
    d.segmentos.pushFront(s);
    d.pontos.pushFront({ 0, 0 });
    sel.segmentos = { s };
    ASSERT_TRUE(excluiSegmentosSelecionados(d, sel, alt));
    EXPECT_EQ(lista(d.segmentos), (std::vector<Segmento> { { { 5, 5 }, { 6, 6 } }, s }));
    EXPECT_EQ(d.pontos.size(), 1u);
    EXPECT_TRUE(sel.segmentos.empty());
}

TEST_F(DrawingEdit, LinearReproductionOfOneSegmentThreeTimes)
{
    d.segmentos.pushFront({ { 0, 0 }, { 1, 0 } });
    EXPECT_EQ(reproduzLinear(d, sel, 0, 1, 3, alt).message, msg::SemSelecaoReproduzir);
    sel.segmentos = { { { 0, 0 }, { 1, 0 } } };
    ASSERT_TRUE(reproduzLinear(d, sel, 0, 1, 0, alt)); // n < 1: nothing
    EXPECT_EQ(d.segmentos.size(), 1u);
    ASSERT_TRUE(reproduzLinear(d, sel, 0, 1, 3, alt));
    EXPECT_EQ(d.segmentos.size(), 4u);
    EXPECT_EQ(d.pontos.size(), 6u);
    EXPECT_EQ(d.segmentos.at(0), (Segmento { { 0, 3 }, { 1, 3 } }));
    EXPECT_EQ(reproduzLinear(d, sel, 0, 1, 2'000'000'000, alt).message, msg::ReproducoesDemais);
    EXPECT_EQ(d.segmentos.size(), 4u);
}

TEST_F(DrawingEdit, PolarReproductionAndDisplacement)
{
    sel.segmentos = { { { 1, 0 }, { 2, 0 } } };
    ASSERT_TRUE(reproduzPolar(d, sel, 0, 90, 2, { 0, 0 }, alt));
    ASSERT_EQ(d.segmentos.size(), 2u);
    expectPonto(d.segmentos.at(0).P1, -1, 0); // k = 2: 180°
    expectPonto(d.segmentos.at(1).P2, 0, 2);
    ASSERT_TRUE(reproduzPolar(d, sel, 0, 0, 2, { 0, 0 }, alt)); // no step: nothing
    EXPECT_EQ(d.segmentos.size(), 2u);

    DrawingData m;
    SelecaoDesenho s;
    s.segmentos = { { { 0, 0 }, { 1, 0 } } };
    m.segmentos.pushFront(s.segmentos[0]);
    m.pontos.pushFront({ 7, 7 });
    s.pontos = { { 7, 7 } };
    ASSERT_TRUE(deslocaPolar(m, s, 1, 90, alt));
    // The point at the origin stays; (1, 0) goes to radius 2 at 90°.
    ASSERT_EQ(m.segmentos.size(), 2u);
    expectPonto(m.segmentos.at(0).P1, 0, 0);
    expectPonto(m.segmentos.at(0).P2, 0, 2);
    EXPECT_EQ(s.segmentos.size(), 1u); // the selection stays
    EXPECT_TRUE(s.pontos.empty()); // the selected points are deleted
    EXPECT_EQ(m.pontos.size(), 2u);

    ASSERT_TRUE(deslocaLinear(m, s, 10, 0, alt));
    EXPECT_EQ(m.segmentos.at(0), (Segmento { { 10, 0 }, { 11, 0 } }));
}

TEST_F(DrawingEdit, KeyboardLinesAndRectangleAppendAndCheckTheirPoints)
{
    EXPECT_EQ(insereReta(d, sel, { 1, 1 }, { 1, 1 }, false, alt).message, msg::PontosIguais);
    EXPECT_EQ(
        insereRetaPolar(d, sel, { 0, 0 }, 30, 0, false, false, alt).message, msg::DistanciaZero);
    EXPECT_EQ(insereRetangulo(d, sel, { 1, 1 }, { 1, 1 }, alt).message, msg::PontosIdenticos);
    EXPECT_TRUE(d.vazio());

    sel.pontos = { { 9, 9 } };
    ASSERT_TRUE(insereReta(d, sel, { 0, 0 }, { 1, 0 }, true, alt));
    EXPECT_EQ(d.segmentos.at(0), (Segmento { { 1, 0 }, { 9, 9 } }));

    sel.segmentos = { { { 0, 0 }, { 1, 0 } } };
    ASSERT_TRUE(insereRetaPolar(d, sel, { 5, 5 }, 90, 2, true, true, alt));
    const Segmento novo = d.segmentos.at(d.segmentos.size() - 1); // appended
    expectPonto(novo.P1, 1, 0);
    expectPonto(novo.P2, 1, 2);
    ASSERT_EQ(sel.segmentos.size(), 2u);
    EXPECT_EQ(sel.segmentos[1], novo);

    DrawingData r;
    ASSERT_TRUE(insereRetangulo(r, sel, { 0, 0 }, { 2, 1 }, alt));
    EXPECT_EQ(r.segmentos.size(), 4u);
    EXPECT_EQ(lista(r.pontos), (std::vector<Ponto> { { 0, 0 }, { 2, 0 }, { 2, 1 }, { 0, 1 } }));
    EXPECT_TRUE(sel.pontos.empty());
}

TEST_F(DrawingEdit, MouseModesRefuseWithoutEnoughPointsAndAskAboutTheSelection)
{
    EXPECT_EQ(verificaModo(d, sel, modo::RetaCartesiana).message, msg::MenosDoisPontosSegmento);
    EXPECT_EQ(verificaModo(d, sel, modo::Circunferencia3Pontos).message, msg::MenosTresPontos);
    EXPECT_EQ(verificaModo(d, sel, modo::SelecionaSegmento).message, msg::SemSegmentosSelecionar);
    EXPECT_EQ(verificaModo(d, sel, modo::ExcluiPontos).message, msg::SemPontosApagar);
    EXPECT_EQ(verificaModo(d, sel, modo::InvertePonto).message, msg::SemPontosSelecionados);

    d.pontos.pushFront({ 0, 0 });
    d.pontos.pushFront({ 2, 1 });
    d.pontos.pushFront({ 5, 5 });
    sel.pontos = { { 2, 1 }, { 0, 0 } };
    EXPECT_EQ(perguntaInicial(modo::Retangulo, sel), msg::PerguntaRetangulo);
    ResultadoEdicao r = respostaInicial(d, sel, modo::Retangulo, true, alt);
    EXPECT_EQ(d.segmentos.size(), 4u);
    EXPECT_TRUE(sel.pontos.empty());

    // Line by two clicks; a second click on the first point refuses.
    r = cliqueConstrucao(d, sel, modo::RetaCartesiana, { 0, 0 }, alt);
    EXPECT_EQ(cliqueConstrucao(d, sel, modo::RetaCartesiana, { 0, 0 }, alt).status.message,
        msg::PontosSelecionadosIguais);
    r = cliqueConstrucao(d, sel, modo::RetaCartesiana, { 5, 5 }, alt);
    EXPECT_EQ(d.segmentos.at(0), (Segmento { { 0, 0 }, { 5, 5 } }));
    EXPECT_TRUE(sel.pontos.empty());

    sel.pontos = { { 0, 0 } };
    EXPECT_EQ(perguntaInicial(modo::RetaCartesiana, sel), "");
    EXPECT_EQ(perguntaInicial(modo::Circunferencia, sel), msg::PerguntaCircunferencia);
    r = respostaInicial(d, sel, modo::Circunferencia, false, alt);
    EXPECT_TRUE(sel.pontos.empty());
}

TEST_F(DrawingEdit, UndoAndRedoRestoreEveryListInOrder)
{
    d.segmentos.pushFront({ { 0, 0 }, { 1, 0 } });
    d.segmentos.pushFront({ { 1, 0 }, { 1, 1 } });
    d.pontos.pushFront({ 0, 0 });
    d.pontos.pushFront({ 8, 8 });
    d.arcos.pushFront({ { 1, 0 }, { -1, 0 }, { 0, 0 } });
    const DrawingData antes = d;

    sel.segmentos = { { { 0, 0 }, { 1, 0 } } };
    sel.arcos = { { { 1, 0 }, { -1, 0 }, { 0, 0 } } };
    sel.pontos = { { 8, 8 } };
    ASSERT_TRUE(reproduzLinear(d, sel, 1, 1, 2, alt));
    ASSERT_TRUE(insereRetangulo(d, sel, { 3, 3 }, { 4, 4 }, alt));
    ASSERT_TRUE(excluiSegmentosSelecionados(d, sel, alt));
    std::size_t livre = 0; // the free point (8, 8), now behind the copies' points
    while (!(d.pontos.at(livre) == Ponto { 8, 8 }))
        ++livre;
    ASSERT_TRUE(excluiPonto(d, sel, livre, alt));
    const DrawingData depois = d;

    alt.desfazer(d);
    EXPECT_EQ(d.pontos, antes.pontos);
    EXPECT_EQ(d.segmentos, antes.segmentos);
    EXPECT_EQ(d.arcos, antes.arcos);
    alt.refazer(d);
    EXPECT_EQ(d.pontos, depois.pontos);
    EXPECT_EQ(d.segmentos, depois.segmentos);
    EXPECT_EQ(d.arcos, depois.arcos);
}

TEST_F(DrawingEdit, AfterAnUndoTheSelectionDropsCopiesOfRemovedEntities)
{
    d.segmentos.pushFront({ { 5, 0 }, { 6, 0 } });
    ASSERT_TRUE(insereReta(d, sel, { 0, 0 }, { 1, 0 }, false, alt));
    sel.segmentos = { { { 0, 0 }, { 1, 0 } }, { { 5, 0 }, { 6, 0 } } };
    sel.pontos = { { 1, 0 } };
    alt.desfazer(d);
    EXPECT_TRUE(podaSelecao(d, sel));
    EXPECT_EQ(sel.segmentos, (std::vector<Segmento> { { { 5, 0 }, { 6, 0 } } }));
    EXPECT_TRUE(sel.pontos.empty());
    // Reproduction then copies only what exists.
    Alteracoes outra;
    ASSERT_TRUE(reproduzLinear(d, sel, 0, 1, 1, outra));
    EXPECT_EQ(d.segmentos.size(), 2u);
    EXPECT_EQ(d.segmentos.at(0), (Segmento { { 5, 1 }, { 6, 1 } }));
    EXPECT_FALSE(podaSelecao(d, sel));
}

TEST_F(DrawingEdit, ACommandWhoseCoordinatesOverflowIsRefusedAndLeavesEverythingAsItWas)
{
    const Segmento s { { 1e308, 0 }, { 1.5e308, 0 } };
    d.segmentos.pushFront(s);
    d.pontos.pushFront({ 1e308, 0 });
    sel.segmentos = { s };
    sel.pontos = { { 1e308, 0 } };
    const DrawingData antes = d;

    EXPECT_EQ(reproduzLinear(d, sel, 1e308, 0, 3, alt).message, msg::CoordenadaForaAlcance);
    EXPECT_EQ(deslocaLinear(d, sel, 1e308, 0, alt).message, msg::CoordenadaForaAlcance);
    EXPECT_EQ(
        insereCircunferencia(d, { 1e308, 0 }, 1e308, alt).message, msg::CoordenadaForaAlcance);
    EXPECT_EQ(d.pontos, antes.pontos);
    EXPECT_EQ(d.segmentos, antes.segmentos);
    EXPECT_TRUE(d.arcos.empty());
    EXPECT_EQ(sel.pontos.size(), 1u); // the move gave its selected points back
    EXPECT_TRUE(alt.vazia());
}
