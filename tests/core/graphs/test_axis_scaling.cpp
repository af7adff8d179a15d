#include "graphs/axis_scaling.h"
#include "graphs/plot_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tarvex;
using namespace tarvex::graphs;

namespace {

/// A graph of one curve through (xMin, yMin) and (xMax, yMax).
GraphData spanning(double xMin, double xMax, double yMin, double yMax)
{
    GraphData data;
    data.addCurve({ xMin, xMax }, { yMin, yMax }, "c");
    return data;
}

/// Wide enough that no narrow-window rule applies.
constexpr int Wide = 800;
constexpr int Tall = 600;

} // namespace

struct ScaleCase {
    const char* name;
    double min;
    double max;
    double low; ///< limits and step as displayed
    double high;
    double step;
    int exponent;
    int divisions;
};

class AutomaticScaling : public ::testing::TestWithParam<ScaleCase> { };

TEST_P(AutomaticScaling, GivesRoundLimitsStepExponentAndDivisions)
{
    const ScaleCase& c = GetParam();
    const GraphAxes axes = autoScaleAxes(spanning(c.min, c.max, c.min, c.max), {}, Wide, Tall);
    for (const auto& [low, high, step, exponent, divisions] :
        { std::tuple { axes.xMin, axes.xMax, axes.xStep, axes.xExponent, axes.xDivisions },
            std::tuple { axes.yMin, axes.yMax, axes.yStep, axes.yExponent, axes.yDivisions } }) {
        EXPECT_NEAR(low, c.low, 1e-12);
        EXPECT_NEAR(high, c.high, 1e-12);
        EXPECT_NEAR(step, c.step, 1e-12);
        EXPECT_EQ(exponent, c.exponent);
        EXPECT_EQ(divisions, c.divisions);
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, AutomaticScaling,
    ::testing::Values(ScaleCase { "ZeroToSevenPointThree", 0, 7.3, 0, 8, 1, 0, 8 },
        ScaleCase { "SmallNeedsExponentMinusThree", 0, 0.0042, 0, 4.5, 0.5, -3, 9 },
        ScaleCase { "SymmetricAroundZero", -1, 1, -1, 1, 0.25, 0, 8 },
        ScaleCase { "HundredShownAsTenTimesTen", 0, 100, 0, 10, 1, 1, 10 },
        ScaleCase { "UnitRangeHasNoStepBelowZero", 0, 1, 0, 1, 0.1, 0, 10 },
        ScaleCase { "AllNegative", -7.3, 0, -8, 0, 1, 0, 8 },
        ScaleCase { "Tiny", 1e-9, 3e-9, 1, 3, 0.25, -9, 8 },
        ScaleCase { "Huge", 0, 3e12, 0, 3, 0.25, 12, 12 },
        ScaleCase { "FewStepsAreHalved", 0, 45, 0, 4.5, 0.5, 1, 9 },
        ScaleCase { "FlatTakesTheUnitBelowItsCeiling", 2.5, 2.5, 2, 3, 1, 0, 1 },
        ScaleCase { "FlatNegative", -5, -5, -6, -5, 1, 0, 1 },
        ScaleCase { "FlatZero", 0, 0, -1, 0, 1, 0, 1 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AutomaticScalingLimits, AnInvertedRangeKeepsItsLimitsWithStepZero)
{
    const AxisRange r = niceLimits(3.0, 1.0);
    EXPECT_EQ(r.min, 3.0);
    EXPECT_EQ(r.max, 1.0);
    EXPECT_EQ(r.step, 0.0);
    EXPECT_EQ(divisionCount(r.min, r.max, r.step), 1);
}

TEST(AutomaticScalingLimits, RangesBeyondDoublePrecisionStillEnd)
{
    const double big = std::numeric_limits<double>::max();
    const GraphAxes overflow = autoScaleAxes(spanning(-big, big, 0, 1), {}, Wide, Tall);
    EXPECT_EQ(overflow.xDivisions, 1);
    // A step smaller than the spacing of doubles near the limits.
    const GraphAxes coarse = autoScaleAxes(spanning(1e20, 1e20 + 65536, 0, 1), {}, Wide, Tall);
    EXPECT_GE(coarse.xDivisions, 1);
    EXPECT_TRUE(std::isfinite(coarse.xMin) && std::isfinite(coarse.xMax));
}

TEST(AutomaticScalingRanges, OnlyActiveCurvesWithFiniteValuesCount)
{
    GraphData data;
    data.addCurve({ 0, 100 }, { 0, 100 }, "off");
    data.addCurve({ 0, 7.3 }, { -1, 1 }, "on");
    data.addCurve({ std::nan(""), 2 }, { std::numeric_limits<double>::infinity(), 0.5 }, "odd");
    CurveActivation active;
    active.flags[0] = false;
    const GraphAxes axes = autoScaleAxes(data, active, Wide, Tall);
    EXPECT_EQ(axes.xMax, 8.0);
    EXPECT_EQ(axes.yMin, -1.0);
    EXPECT_EQ(axes.yMax, 1.0);
}

TEST(AutomaticScalingRanges, AGraphWithoutPointsShowsTheUnitSquare)
{
    GraphData data;
    data.addCurve({}, {}, "empty");
    for (const GraphData& g : { GraphData(), data }) {
        const GraphAxes axes = autoScaleAxes(g, {}, Wide, Tall);
        EXPECT_EQ(axes.xMin, 0.0);
        EXPECT_EQ(axes.xMax, 1.0);
        EXPECT_EQ(axes.yDivisions, 10);
    }
}

TEST(NarrowWindow, FiveDivisionsBecomeThreeOfTwiceTheStepAfterRaisingTheMaximum)
{
    double max = 5.0;
    double step = 1.0;
    EXPECT_EQ(narrowWindow(max, 0.0, step, 5, 250, 299, 180), 3);
    EXPECT_EQ(max, 6.0);
    EXPECT_EQ(step, 2.0);
}

TEST(NarrowWindow, BoundsOfWidthAndHeight)
{
    // 0 .. 45 scales to 0 .. 4.5 in 9 divisions of 0.5.
    const GraphData data = spanning(0, 45, 0, 45);
    struct Case {
        int size;
        double max;
        double step;
        int divisions;
    };
    // The second doubling still judges the count the scaling found (9, odd).
    const Case widths[]
        = { { 300, 4.5, 0.5, 9 }, { 299, 5, 1, 5 }, { 180, 5, 1, 5 }, { 179, 6, 2, 3 } };
    for (const Case& c : widths) {
        const GraphAxes axes = autoScaleAxes(data, {}, c.size, Tall);
        EXPECT_EQ(axes.xMax, c.max) << c.size;
        EXPECT_EQ(axes.xStep, c.step) << c.size;
        EXPECT_EQ(axes.xDivisions, c.divisions) << c.size;
        EXPECT_EQ(axes.yDivisions, 9);
    }
    const Case heights[]
        = { { 250, 4.5, 0.5, 9 }, { 249, 5, 1, 5 }, { 150, 5, 1, 5 }, { 149, 6, 2, 3 } };
    for (const Case& c : heights) {
        const GraphAxes axes = autoScaleAxes(data, {}, Wide, c.size);
        EXPECT_EQ(axes.yMax, c.max) << c.size;
        EXPECT_EQ(axes.yDivisions, c.divisions) << c.size;
        EXPECT_EQ(axes.xDivisions, 9);
    }
}

TEST(PlotTexts, TickLabelsCaptionsAndCursor)
{
    EXPECT_EQ(xTickLabel(0.5), " 0.50");
    EXPECT_EQ(xTickLabel(-1.0), "-1.00");
    EXPECT_EQ(yTickLabel(0.5), " 0.50");
    EXPECT_EQ(yTickLabel(-12.345), "-12.35");
    EXPECT_EQ(axisCaption("B (T)", -3), "B (T)  x 10e-3");
    EXPECT_EQ(axisCaption("distância (mm)", 0), "distância (mm)  x 10e0");
    GraphAxes axes;
    axes.xExponent = -3;
    axes.yExponent = 2;
    EXPECT_EQ(cursorText(1.5, 2.0, axes), "posição : (  0.001500,2.0000e+02)");
}

TEST(PlotTexts, SmallRangeIsLabelledZeroToFourPointFiveInNineDivisions)
{
    const GraphData data = spanning(0, 0.0042, 0, 0.0042);
    const GraphAxes axes = autoScaleAxes(data, {}, Wide, Tall);
    const PlotLayout layout = layoutPlot(data, axes, {}, Wide, Tall, false);
    ASSERT_EQ(layout.yTicks.size(), 10u);
    EXPECT_EQ(layout.yTicks.front().label, " 0.00");
    EXPECT_EQ(layout.yTicks[1].label, " 0.50");
    EXPECT_EQ(layout.yTicks.back().label, " 4.50");
    EXPECT_EQ(layout.xTicks.back().label, " 4.50");
    EXPECT_EQ(layout.xCaption, "  x 10e-3");
}

TEST(PlotLayoutTest, TicksSpanTheAreaAndZeroLinesAppearOnlyWhenInRange)
{
    GraphData data = spanning(-1, 1, 1, 3);
    data.title = "Pressão sobre a Seção";
    GraphAxes axes;
    axes.xMin = -1;
    axes.xMax = 1;
    axes.xDivisions = 4;
    axes.yMin = 1;
    axes.yMax = 3;
    axes.yDivisions = 2;
    const PlotLayout layout = layoutPlot(data, axes, {}, 800, 600, false);
    const PlotArea& area = layout.mapping.area;
    EXPECT_EQ(area.left, LeftMargin);
    EXPECT_EQ(area.bottom, 600 - BottomMargin);
    ASSERT_EQ(layout.xTicks.size(), 5u);
    EXPECT_EQ(layout.xTicks.front().pixel, area.left);
    EXPECT_EQ(layout.xTicks.back().pixel, area.right);
    EXPECT_EQ(layout.xTicks[1].label, "-0.50");
    ASSERT_EQ(layout.yTicks.size(), 3u);
    EXPECT_EQ(layout.yTicks.front().pixel, area.bottom);
    EXPECT_EQ(layout.yTicks.back().pixel, area.top);
    ASSERT_TRUE(layout.zeroX.has_value());
    EXPECT_DOUBLE_EQ(*layout.zeroX, (area.left + area.right) / 2);
    EXPECT_FALSE(layout.zeroY.has_value());
    EXPECT_EQ(layout.title, "Pressão sobre a Seção");

    const PlotMapping& m = layout.mapping;
    EXPECT_DOUBLE_EQ(m.fromPixelX(m.toPixelX(0.3)), 0.3);
    EXPECT_DOUBLE_EQ(m.fromPixelY(m.toPixelY(2.7)), 2.7);

    // A window smaller than its margins still has an area to map onto.
    const PlotLayout tiny = layoutPlot(data, axes, {}, 10, 10, false);
    EXPECT_GT(tiny.mapping.area.right, tiny.mapping.area.left);
    EXPECT_GT(tiny.mapping.area.bottom, tiny.mapping.area.top);
}

TEST(PlotLayoutTest, LegendListsActiveCurvesInTheirColours)
{
    GraphData data;
    for (const char* name : { "P", "Pt", "Pn", "Q" })
        data.addCurve({ 0, 1 }, { 0, 1 }, name);
    CurveActivation active;
    active.flags[1] = false;
    const PlotLayout layout = layoutPlot(data, GraphAxes(), active, 800, 600, false);
    ASSERT_EQ(layout.legend.size(), 3u);
    EXPECT_EQ(layout.legend[0].name, "P");
    EXPECT_EQ(layout.legend[0].pen.color, 14);
    EXPECT_EQ(layout.legend[1].name, "Pn");
    EXPECT_EQ(layout.legend[1].pen.color, 4);
    EXPECT_EQ(layout.legend[2].name, "Q");
    EXPECT_LT(layout.legend[0].textAt.x, layout.legend[1].lineFrom.x);

    EXPECT_EQ(curvePen(1, false).color, 15);
    EXPECT_EQ(curvePen(0, false).width, 2);
    EXPECT_EQ(curvePen(0, true).width, 6);
    EXPECT_EQ(curvePen(0, true).style, 2);
    EXPECT_EQ(curvePen(1, true).style, 1);
    EXPECT_EQ(curvePen(2, true).style, 0);
    EXPECT_EQ(verticalPen(0, true).width, 3);
    EXPECT_EQ(verticalPen(0, false).style, 2);
}

TEST(CurveSegments, SkipsPiecesBeyondOneLimitAndMovesEndsOntoTheLimits)
{
    GraphAxes axes;
    axes.xMin = 0;
    axes.xMax = 10;
    axes.yMin = 0;
    axes.yMax = 10;
    materials::Curva curve;
    curve.definePontos({ 1, 5, 6, 7, 7, 12 }, { 1, 20, 30, 5, 8, 8 });
    const std::vector<PlotSegment> s = curveSegments(curve, axes);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].from.x, 1);
    EXPECT_EQ(s[0].to.x, 5);
    EXPECT_EQ(s[0].to.y, 10);
    EXPECT_EQ(s[1].from.x, 6);
    EXPECT_EQ(s[1].from.y, 10);
    EXPECT_TRUE(s[2].vertical);
    EXPECT_FALSE(s[2].markerAtFrom || s[2].markerAtTo);
    EXPECT_EQ(s[3].to.x, 10);
    EXPECT_EQ(s[3].to.y, 8);
}

TEST(CurveSegments, VerticalEndsCarryMarkersAndValuesAreScaledByTheExponents)
{
    GraphAxes axes;
    axes.xMin = 0;
    axes.xMax = 10;
    axes.yMin = 0;
    axes.yMax = 10;
    axes.xExponent = 3;
    axes.yExponent = -1;
    materials::Curva curve;
    curve.definePontos({ 2000, 2000, 4000, 4000 }, { 0, 0.5, 0.5, 0.1 });
    const std::vector<PlotSegment> s = curveSegments(curve, axes);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_TRUE(s[0].vertical && s[0].markerAtFrom && !s[0].markerAtTo);
    EXPECT_DOUBLE_EQ(s[0].to.y, 5.0);
    EXPECT_DOUBLE_EQ(s[1].to.x, 4.0);
    EXPECT_FALSE(s[1].vertical);
    EXPECT_TRUE(s[2].vertical && s[2].markerAtTo && !s[2].markerAtFrom);
}
