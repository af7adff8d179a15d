#include "materials/curva.h"

#include <gtest/gtest.h>

#include <cmath>

using tarvex::materials::Curva;

namespace {
Curva curvaDe(const std::vector<double>& xs, const std::vector<double>& ys)
{
    Curva c;
    c.definePontos(xs, ys);
    c.calculaSpline();
    return c;
}
} // namespace

TEST(Curva, ExtrapolatesWithTheChordOfTheEndPoints)
{
    const Curva c = curvaDe({ 0, 100, 200 }, { 0, 1, 1.5 });
    EXPECT_DOUBLE_EQ(c.valor(300), 2.0);
    EXPECT_DOUBLE_EQ(c.valor(-100), -1.0);
}

TEST(Curva, PassesThroughItsPointsWithNaturalEnds)
{
    const Curva c = curvaDe({ 0, 1, 3, 4, 7 }, { 0, 2, 1, 5, 3 });
    for (std::size_t i = 1; i <= c.count(); ++i)
        EXPECT_NEAR(c.valor(c.x(i)), c.y(i), 1e-12) << i;
    // Natural spline: the second derivative vanishes at both ends, so the slope is flat there to
    // first order.
    const double h = 1e-5;
    const double secondAtStart = (c.derivada(h) - c.derivada(0)) / h;
    EXPECT_NEAR(secondAtStart, 0.0, 1e-3);
    // Continuity of the slope at an interior knot.
    EXPECT_NEAR(c.derivada(3 - 1e-9), c.derivada(3 + 1e-9), 1e-6);
}

TEST(Curva, ReproducesACubicFreeOfEndCurvatureOnlyApproximatelyButALineExactly)
{
    const Curva line = curvaDe({ 0, 2 }, { 1, 5 });
    EXPECT_DOUBLE_EQ(line.derivada(0.7), 2.0);
    EXPECT_DOUBLE_EQ(line.valor(1.5), 4.0);
    const Curva longLine = curvaDe({ 0, 1, 2, 4, 8 }, { 0, 3, 6, 12, 24 });
    EXPECT_NEAR(longLine.valor(5.5), 16.5, 1e-12);
    EXPECT_NEAR(longLine.derivada(3.3), 3.0, 1e-12);
}

TEST(Curva, SlopeOutsideTheEndsFollowsTheSplineNotTheChord)
{
    const Curva c = curvaDe({ 0, 1, 2 }, { 0, 1, 4 });
    EXPECT_DOUBLE_EQ(c.derivada(-5), c.derivada(0));
    EXPECT_NEAR(c.derivada(10), c.derivada(2), 1e-12);
}

TEST(Curva, DegenerateCurvesAnswerWithoutFault)
{
    Curva empty;
    empty.calculaSpline();
    EXPECT_EQ(empty.valor(3), 0.0);
    EXPECT_EQ(empty.derivada(3), 0.0);
    EXPECT_EQ(empty.integral(), 0.0);
    const Curva descending = curvaDe({ 3, 2, 1 }, { 1, 2, 3 });
    EXPECT_TRUE(std::isfinite(descending.valor(2.5)));
    Curva single;
    single.definePontos({ 2 }, { 7 });
    single.calculaSpline();
    EXPECT_EQ(single.valor(-1), 7.0);
    EXPECT_EQ(single.derivada(5), 0.0);
}

TEST(Curva, IntegralIsTrapezoidalOnThePointsAndAxesExchange)
{
    Curva c = curvaDe({ 0, 1, 3 }, { 0, 2, 3 });
    EXPECT_DOUBLE_EQ(c.integral(), 1.0 + 5.0);
    c.trocaEixos();
    c.calculaSpline();
    EXPECT_DOUBLE_EQ(c.x(2), 2.0);
    EXPECT_DOUBLE_EQ(c.y(2), 1.0);
    const Curva copy = c;
    EXPECT_DOUBLE_EQ(copy.valor(1.0), c.valor(1.0));
}
