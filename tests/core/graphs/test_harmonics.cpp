#include "graphs/graph_data.h"
#include "graphs/harmonics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace tarvex::graphs;

namespace {

const double Pi = 4.0 * std::atan(1.0);

/// Samples of f over [0, span] as a section gives them: two samples per piece, both holding the
/// value at the piece's middle.
GraphData sampled(const std::function<double(double)>& f, double span, int pieces = 400)
{
    std::vector<double> xs;
    std::vector<double> ys;
    for (int i = 0; i < pieces; ++i) {
        const double a = span * i / pieces;
        const double b = span * (i + 1) / pieces;
        const double value = f((a + b) / 2.0);
        xs.insert(xs.end(), { a, b });
        ys.insert(ys.end(), { value, value });
    }
    GraphData data;
    data.addCurve(xs, ys, "B");
    return data;
}

} // namespace

struct PureTerm {
    const char* name;
    HarmonicMode mode;
    double periodsPerSpan;
    bool sine;
    int order;
    std::size_t index; ///< where the order appears in the table
};

class HarmonicOfAPureSignal : public ::testing::TestWithParam<PureTerm> { };

TEST_P(HarmonicOfAPureSignal, ShowsOneHundredAtItsOrderAndNothingElse)
{
    const PureTerm& c = GetParam();
    const double span = 2.5;
    const double period = span * c.periodsPerSpan;
    const double amplitude = 3.0;
    const GraphData data = sampled(
        [&](double x) {
            const double phase = 2.0 * Pi * c.order * x / period;
            return amplitude * (c.sine ? std::sin(phase) : std::cos(phase));
        },
        span);
    const HarmonicResult raw = computeHarmonics(data, c.mode);
    const HarmonicTables tables = harmonicTables(raw);
    EXPECT_EQ(tables.orders[c.index], c.order);
    for (std::size_t curve = 0; curve < HarmonicCurves; ++curve) {
        const HarmonicTerms& terms = c.sine ? tables.sine[curve] : tables.cosine[curve];
        const double reference
            = c.sine ? tables.sineReference[curve] : tables.cosineReference[curve];
        EXPECT_NEAR(reference, amplitude, 1e-3);
        for (std::size_t k = 0; k < HarmonicOrders; ++k)
            EXPECT_NEAR(terms[k], k == c.index ? 100.0 : 0.0, 0.05) << "order " << tables.orders[k];
        const HarmonicTerms& other = c.sine ? raw.cosine[curve] : raw.sine[curve];
        for (const double term : other)
            EXPECT_NEAR(term, 0.0, 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, HarmonicOfAPureSignal,
    ::testing::Values(PureTerm { "FullPeriodSine", HarmonicMode::PeriodoInteiro, 1, true, 3, 2 },
        PureTerm { "FullPeriodCosine", HarmonicMode::PeriodoInteiro, 1, false, 1, 0 },
        PureTerm { "EvenHalfPeriod", HarmonicMode::Par, 2, false, 3, 2 },
        PureTerm { "OddHalfPeriod", HarmonicMode::Impar, 2, true, 3, 2 },
        PureTerm { "HalfWaveSine", HarmonicMode::MeiaOnda, 2, true, 3, 1 },
        PureTerm { "HalfWaveCosine", HarmonicMode::MeiaOnda, 2, false, 5, 2 },
        PureTerm { "OddQuarterPeriod", HarmonicMode::ImparMeiaOnda, 4, true, 3, 1 },
        PureTerm { "EvenQuarterPeriod", HarmonicMode::ParMeiaOnda, 4, false, 7, 3 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Harmonics, OrdersOfEachMode)
{
    const GraphData data = sampled([](double) { return 1.0; }, 1.0, 4);
    const HarmonicResult all = computeHarmonics(data, HarmonicMode::Par);
    const HarmonicResult odd = computeHarmonics(data, HarmonicMode::ParMeiaOnda);
    for (std::size_t k = 0; k < HarmonicOrders; ++k) {
        EXPECT_EQ(all.orders[k], static_cast<int>(k + 1));
        EXPECT_EQ(odd.orders[k], static_cast<int>(2 * k + 1));
    }
}

TEST(Harmonics, EvenModeLeavesTheSineFieldsAtZeroWithReferenceOne)
{
    const GraphData data = sampled([](double x) { return 1.0 + x; }, 2.0);
    const HarmonicTables tables = harmonicTables(computeHarmonics(data, HarmonicMode::Par));
    std::string expected = " ordem normal \n----------------------------\n";
    for (int k = 1; k <= 15; ++k) {
        char line[32];
        std::snprintf(line, sizeof line, "  %02d  |   +0.000\n", k);
        expected += line;
    }
    expected += "\n val. ref : 1        ";
    EXPECT_EQ(tables.texts[0], expected);
    EXPECT_EQ(tables.sineReference[1], 1.0);
    EXPECT_EQ(tables.texts[1].substr(0, 22), " ordem   tangencial \n-");
    EXPECT_EQ(tables.texts[2].substr(0, 16), " ordem módulo \n");
}

TEST(Harmonics, TextsCarryTheNormalisedTermsAndTheReference)
{
    // Order 1 with amplitude 2.5 and order 2 with -1.25: -50 % of the largest.
    const GraphData data
        = sampled([](double x) { return 2.5 * std::sin(2 * Pi * x) - 1.25 * std::sin(4 * Pi * x); },
            1.0, 2000);
    const HarmonicTables tables
        = harmonicTables(computeHarmonics(data, HarmonicMode::PeriodoInteiro));
    const std::string& text = tables.texts[0];
    EXPECT_NE(text.find("  01  | +100.000\n  02  |  -50.000\n  03  |"), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 22), "\n val. ref : 2.5      ");
    EXPECT_EQ(tables.texts[3].substr(0, 18), " ordem   normal \n-");
    EXPECT_EQ(tables.texts[4].substr(0, 21), " ordem   tangencial \n");
    EXPECT_EQ(tables.texts[5].substr(0, 16), " ordem módulo \n");
}

TEST(Harmonics, FewerCurvesRepeatTheLastOne)
{
    GraphData data = sampled([](double x) { return std::sin(2 * Pi * x); }, 1.0, 50);
    const HarmonicTables one = harmonicTables(computeHarmonics(data, HarmonicMode::PeriodoInteiro));
    EXPECT_EQ(one.sine[1], one.sine[0]);
    EXPECT_EQ(one.sine[2], one.sine[0]);

    const GraphData other = sampled([](double x) { return std::sin(4 * Pi * x); }, 1.0, 50);
    data.curves.push_back(other.curves[0]);
    const HarmonicTables two = harmonicTables(computeHarmonics(data, HarmonicMode::PeriodoInteiro));
    EXPECT_EQ(two.sine[0], one.sine[0]);
    EXPECT_NE(two.sine[1], one.sine[0]);
    EXPECT_EQ(two.sine[2], two.sine[1]);
    EXPECT_EQ(two.texts[2].substr(16), two.texts[1].substr(21));
}

TEST(Harmonics, AnOddSampleCountLeavesTheLastSampleUnused)
{
    GraphData data = sampled([](double x) { return std::cos(2 * Pi * x); }, 1.0, 20);
    const HarmonicResult before = computeHarmonics(data, HarmonicMode::PeriodoInteiro);
    // A last lone sample at the same abscissa keeps the span.
    data.curves[0].adicionaPonto(1.0, 1e6);
    const HarmonicResult after = computeHarmonics(data, HarmonicMode::PeriodoInteiro);
    EXPECT_EQ(after.sine, before.sine);
    EXPECT_EQ(after.cosine, before.cosine);
}

TEST(Harmonics, NoCurveOrNoSpanGivesZeroTermsNotNumbersThatAreNot)
{
    GraphData flat;
    flat.addCurve({ 1, 1 }, { 5, 5 }, "a");
    for (const GraphData& data : { GraphData(), flat }) {
        const HarmonicTables tables
            = harmonicTables(computeHarmonics(data, HarmonicMode::PeriodoInteiro));
        for (std::size_t c = 0; c < HarmonicCurves; ++c) {
            EXPECT_EQ(tables.sineReference[c], 1.0);
            for (const double t : tables.cosine[c])
                EXPECT_EQ(t, 0.0);
        }
        EXPECT_EQ(tables.texts[0].find("nan"), std::string::npos);
    }
}

TEST(Harmonics, ModeNumbersAndMenuTexts)
{
    HarmonicMode mode = HarmonicMode::PeriodoInteiro;
    EXPECT_TRUE(harmonicModeFromNumber(4, mode));
    EXPECT_EQ(mode, HarmonicMode::ImparMeiaOnda);
    EXPECT_FALSE(harmonicModeFromNumber(6, mode));
    EXPECT_FALSE(harmonicModeFromNumber(-1, mode));
    EXPECT_EQ(harmonicMenuText(HarmonicMode::PeriodoInteiro), "Período &Inteiro");
    EXPECT_EQ(harmonicMenuText(HarmonicMode::ParMeiaOnda), "f(x)= + f(-x)  e  f(x)= - f(x+T/2)");
}
