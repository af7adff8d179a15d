#include "geometry/drawing.h"
#include "geometry/drawing_index.h"
#include "geometry/helpers.h"

#include <gtest/gtest.h>

#include <random>

using namespace tarvex::geometry;

namespace {

/// Coordinates on a coarse lattice, so that repeated points, equal distances and collinear
/// entities (the ties) are common.
DrawingData desenhoAleatorio(std::mt19937& rng, int pontos, int segmentos, int arcos, int lado)
{
    std::uniform_int_distribution<int> coord(-lado, lado);
    const auto ponto = [&] { return Ponto { coord(rng) * 0.5, coord(rng) * 0.5 }; };
    DrawingData d;
    for (int i = 0; i < pontos; ++i)
        d.pontos.pushFront(ponto());
    for (int i = 0; i < segmentos; ++i) {
        const Ponto p = ponto();
        // Some long segments, which the grid keeps aside, among the short ones.
        const Ponto q = (i % 17 == 0) ? ponto() : Ponto { p.x + coord(rng) * 0.05, p.y + 0.5 };
        d.segmentos.pushFront({ p, q });
    }
    for (int i = 0; i < arcos; ++i) {
        const Ponto c = ponto();
        const double r = 0.5 + (i % 3);
        d.arcos.pushFront({ { c.x + r, c.y }, { c.x, c.y + r * (i % 2 ? 1 : -1) }, c });
    }
    // Exact duplicates, so equal distances must fall to list order.
    if (!d.segmentos.empty())
        d.segmentos.pushBack(d.segmentos.at(0));
    if (!d.arcos.empty())
        d.arcos.pushBack(d.arcos.at(0));
    return d;
}

} // namespace

TEST(IndiceDesenho, AgreesWithTheLinearScanOnRandomDrawingsTiesIncluded)
{
    std::mt19937 rng(12345);
    for (int rodada = 0; rodada < 16; ++rodada) {
        const int lado = 4 + rodada * 3;
        const DrawingData d
            = desenhoAleatorio(rng, rodada * 60, rodada * 12, (rodada % 4) * 8, lado);
        const IndiceDesenho indice(d);
        std::uniform_int_distribution<int> clique(-2 * lado, 2 * lado);
        for (int q = 0; q < 80; ++q) {
            // Lattice clicks give exact ties; a few land far outside the drawing.
            const Ponto c { clique(rng) * 0.25, clique(rng) * 0.25 };
            ASSERT_EQ(indice.pontoMaisPerto(c), pontoMaisPertoLinear(d, c))
                << "round " << rodada << " click " << c.x << "," << c.y;
            ASSERT_EQ(indice.entidadeMaisPerto(c), entidadeMaisPertoLinear(d, c))
                << "round " << rodada << " click " << c.x << "," << c.y;
        }
    }
}

TEST(IndiceDesenho, FirstInListOrderWinsATieAndAnEmptyDrawingPicksNothing)
{
    DrawingData d;
    EXPECT_FALSE(IndiceDesenho(d).pontoMaisPerto({ 0, 0 }));
    EXPECT_FALSE(IndiceDesenho(d).entidadeMaisPerto({ 0, 0 }));

    d.pontos.pushFront({ 1, 0 });
    d.pontos.pushFront({ -1, 0 }); // list order: (-1, 0), (1, 0)
    d.pontos.pushFront({ 5, 5 });
    EXPECT_EQ(IndiceDesenho(d).pontoMaisPerto({ 0, 0 }), 1u);
    EXPECT_EQ(IndiceDesenho(d).pontoMaisPerto({ 1e9, -1e9 }), 2u);
}

TEST(IndiceDesenho, SegmentWinsOnlyWhenStrictlyNearerThanTheArc)
{
    DrawingData d;
    // The segment's middle sample and the arc's middle sample are both 1 away from the origin.
    d.segmentos.pushFront({ { -1, 1 }, { 1, 1 } });
    d.arcos.pushFront({ { 1, -1 }, { -1, -1 }, { 0, 0 } }); // over the top, radius √2
    d.arcos.pushFront({ { -1, 0 }, { 1, 0 }, { 0, 0 } }); // lower half, its middle at (0, -1)
    const auto escolhida = IndiceDesenho(d).entidadeMaisPerto({ 0, 0 });
    ASSERT_TRUE(escolhida);
    EXPECT_EQ(*escolhida, (EntidadeEscolhida { EntidadeEscolhida::Tipo::Arco, 0 }));
    EXPECT_EQ(escolhida, entidadeMaisPertoLinear(d, { 0, 0 }));

    const auto perto = IndiceDesenho(d).entidadeMaisPerto({ 0, 0.9 });
    EXPECT_EQ(*perto, (EntidadeEscolhida { EntidadeEscolhida::Tipo::Segmento, 0 }));
}

TEST(DistanciaAmostrada, UsesOnlyTheInteriorSamples)
{
    // The end points are not samples: a click on P1 is 1/200 of the length away.
    EXPECT_DOUBLE_EQ(distanciaAmostrada(Segmento { { 0, 0 }, { 200, 0 } }, { 0, 0 }), 1.0);
    // Quarter arc of radius 1: its first interior sample is 90°/200 along.
    const double d = distanciaAmostrada(Arco { { 1, 0 }, { 0, 1 }, { 0, 0 } }, { 1, 0 });
    EXPECT_NEAR(d, 2 * std::sin(Pi / 2 / 200 / 2), 1e-12);
}
