#include "geometry/drawing.h"

#include <gtest/gtest.h>

using namespace tarvex::geometry;

TEST(CaixaDesenho, EmptyDrawingHasNoBox)
{
    Caixa box;
    EXPECT_FALSE(caixaDesenho(DrawingData(), box));
}

TEST(CaixaDesenho, CoversPointsSegmentsAndTheSweptPartOfArcs)
{
    DrawingData d;
    d.pontos.pushFront({ 1, 1 });
    d.segmentos.pushFront({ { -2, 0 }, { 3, 0.5 } });
    // Upper half of the circle of radius 2 about (10, 0): reaches y = 2 at its top only.
    d.arcos.pushFront({ { 12, 0 }, { 8, 0 }, { 10, 0 } });
    Caixa box;
    ASSERT_TRUE(caixaDesenho(d, box));
    EXPECT_DOUBLE_EQ(box.xMin, -2);
    EXPECT_DOUBLE_EQ(box.xMax, 12);
    EXPECT_DOUBLE_EQ(box.yMin, 0);
    EXPECT_DOUBLE_EQ(box.yMax, 2);
}

TEST(ModificationByCounts, OnlyLengthChangesCount)
{
    DrawingData d;
    d.segmentos.pushFront({ { 0, 0 }, { 1, 0 } });
    EXPECT_TRUE(d.contagensAlteradas());
    d.marcarGravado();
    EXPECT_FALSE(d.contagensAlteradas());
    d.segmentos.at(0).P2 = { 5, 5 }; // same counts: not seen as a change
    EXPECT_FALSE(d.contagensAlteradas());
    d.pontos.pushFront({ 0, 0 });
    EXPECT_TRUE(d.contagensAlteradas());
}
