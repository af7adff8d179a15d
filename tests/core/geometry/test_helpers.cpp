#include "geometry/helpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tarvex::geometry;

TEST(Coincide, IsAnAbsoluteTestOnTheSquaredDistance)
{
    EXPECT_TRUE(coincide({ 0, 0 }, { 1e-4, 0 })); // exactly on the limit
    EXPECT_FALSE(coincide({ 0, 0 }, { 1.01e-4, 0 }));
    EXPECT_TRUE(coincide({ 1e6, 1e6 }, { 1e6 + 5e-5, 1e6 })); // not relative to magnitude
    EXPECT_FALSE(coincide({ 0, 0 }, { 8e-5, 8e-5 })); // 1.28e-8 > 1e-8
}

TEST(Orientacao, HasADeadBandOfTwoHundredMillionths)
{
    // Triangle (0,0), (1,0), (0,h) has signed area h/2.
    EXPECT_EQ(orientacao({ 0, 0 }, { 1, 0 }, { 0, 4e-8 }), 0); // area exactly 2e-8: inside the band
    EXPECT_EQ(orientacao({ 0, 0 }, { 1, 0 }, { 0, 4.1e-8 }), 1);
    EXPECT_EQ(orientacao({ 0, 0 }, { 1, 0 }, { 0, -4e-8 }), 0);
    EXPECT_EQ(orientacao({ 0, 0 }, { 1, 0 }, { 0, -4.1e-8 }), -1);
    EXPECT_DOUBLE_EQ(areaOrientada({ 0, 0 }, { 2, 0 }, { 0, 3 }), 3.0);
    EXPECT_DOUBLE_EQ(areaOrientada({ 0, 0 }, { 0, 3 }, { 2, 0 }), -3.0);
}

TEST(AnguloPolar, CoversTheFullTurnAndTreatsNearVerticalAsVertical)
{
    EXPECT_DOUBLE_EQ(anguloPolar(1, 0), 0.0);
    EXPECT_DOUBLE_EQ(anguloPolar(-1, 0), Pi);
    EXPECT_DOUBLE_EQ(anguloPolar(0, 2), Pi / 2);
    EXPECT_DOUBLE_EQ(anguloPolar(0, -2), 3 * Pi / 2);
    EXPECT_DOUBLE_EQ(anguloPolar(1, -1), 7 * Pi / 4);
    // |dx| below 1e-8 is vertical even when the vector is tiny and tilted.
    EXPECT_DOUBLE_EQ(anguloPolar(9e-9, 1e-8), Pi / 2);
    EXPECT_DOUBLE_EQ(anguloPolar(-9e-9, -1e-8), 3 * Pi / 2);
    EXPECT_NE(anguloPolar(1.1e-8, 1e-8), Pi / 2);
    // Never 2π: a tiny negative angle stays in [0, 2π).
    const double a = anguloPolar(1.0, -1e-300);
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 2 * Pi);
}

TEST(SegmentPredicates, InteriorPointAndEqualityKeepOrientation)
{
    const Segmento s { { 0, 0 }, { 10, 0 } };
    EXPECT_TRUE(pontoInteriorSegmento(s, { 5, 0 }));
    EXPECT_FALSE(pontoInteriorSegmento(s, { 0, 0 })); // an end point is not interior
    EXPECT_FALSE(pontoInteriorSegmento(s, { 11, 0 })); // on the line, outside
    EXPECT_FALSE(pontoInteriorSegmento(s, { 5, 0.1 })); // off the line
    EXPECT_TRUE(segmentosIguais(s, { { 0, 5e-5 }, { 10, 0 } }));
    EXPECT_FALSE(segmentosIguais(s, { { 10, 0 }, { 0, 0 } }));
    EXPECT_DOUBLE_EQ(comprimento({ { 0, 0 }, { 3, 4 } }), 5.0);
}

TEST(Cruzamento, OnlyProperCrossingsCount)
{
    const Segmento horizontal { { 0, 0 }, { 10, 0 } };
    EXPECT_TRUE(cruzamento(horizontal, { { 5, -5 }, { 5, 5 } }));
    // T-junction: an end point on the other's interior does not cross, either way round.
    EXPECT_FALSE(cruzamento(horizontal, { { 5, 0 }, { 5, 5 } }));
    EXPECT_FALSE(cruzamento({ { 5, 0 }, { 5, 5 } }, horizontal));
    // Shared end points never cross.
    EXPECT_FALSE(cruzamento(horizontal, { { 10, 0 }, { 0, 5 } }));
    // Collinear overlap: all four orientations zero.
    EXPECT_FALSE(cruzamento(horizontal, { { 2, 0 }, { 12, 0 } }));
    // Disjoint.
    EXPECT_FALSE(cruzamento(horizontal, { { 11, -1 }, { 11, 1 } }));
}

TEST(IntersecaoRetas, MeetsOnTheLinesAndGivesOriginWhenParallel)
{
    const Ponto p = intersecaoRetas({ { 0, 0 }, { 10, 0 } }, { { 5, -5 }, { 5, 5 } });
    EXPECT_DOUBLE_EQ(p.x, 5.0);
    EXPECT_DOUBLE_EQ(p.y, 0.0);
    // Beyond the segments: lines, not segments.
    const Ponto q = intersecaoRetas({ { 0, 0 }, { 1, 1 } }, { { 4, 0 }, { 4, 1 } });
    EXPECT_DOUBLE_EQ(q.x, 4.0);
    EXPECT_DOUBLE_EQ(q.y, 4.0);
    EXPECT_EQ(intersecaoRetas({ { 0, 0 }, { 1, 0 } }, { { 0, 1 }, { 1, 1 } }), (Ponto { 0, 0 }));
}

TEST(Circuncentro, IsEquidistantFromTheThreePoints)
{
    const Ponto a { 1, 2 }, b { 7, 3 }, c { 4, 9 };
    const Ponto o = circuncentro(a, b, c);
    EXPECT_NEAR(distancia(o, a), distancia(o, b), 1e-12);
    EXPECT_NEAR(distancia(o, a), distancia(o, c), 1e-12);
    const Ponto right = circuncentro({ 0, 0 }, { 2, 0 }, { 0, 2 });
    EXPECT_DOUBLE_EQ(right.x, 1.0);
    EXPECT_DOUBLE_EQ(right.y, 1.0);
}

TEST(PontoMaisProximo, SamplesTwoHundredStepsAndKeepsTheFirstTie)
{
    const Segmento s { { 0, 0 }, { 200, 0 } };
    const PontoProximo near = pontoMaisProximo(s, { 50.4, 3 });
    EXPECT_DOUBLE_EQ(near.ponto.x, 50.0); // samples fall on whole units
    EXPECT_DOUBLE_EQ(near.distancia, std::hypot(0.4, 3.0));
    // Exactly half-way between samples 10 and 11: the first one wins.
    EXPECT_DOUBLE_EQ(pontoMaisProximo(s, { 10.5, 1 }).ponto.x, 10.0);
    // A degenerate segment still answers.
    EXPECT_DOUBLE_EQ(pontoMaisProximo({ { 1, 1 }, { 1, 1 } }, { 4, 5 }).distancia, 5.0);
}

TEST(ExtensaoArco, RunsCounterclockwiseAcrossZero)
{
    const ExtensaoArco e
        = extensaoArco({ { 0, -1 }, { 0, 1 }, { 0, 0 } }); // right half, through angle 0
    EXPECT_DOUBLE_EQ(e.inicio, 3 * Pi / 2);
    EXPECT_DOUBLE_EQ(e.fim, 5 * Pi / 2);
    EXPECT_DOUBLE_EQ(e.raio, 1.0);
}
