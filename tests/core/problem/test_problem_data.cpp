#include "core/problem/problem_builders.h"
#include "geometry/helpers.h"
#include "problem/problem_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace tarvex;
using namespace tarvex::problem;
using geometry::Pi;

namespace {

using tarvex::test::Contour;
using tarvex::test::rectangle;
using tarvex::test::regionOf;

/// A disc as four quarter arcs, each stored with the given orientation flag.
Contour disc(double cx, double cy, double r, bool reversedStorage = false)
{
    Contour c;
    for (int q = 0; q < 4; ++q) {
        const Ponto a { cx + r * std::cos(q * Pi / 2), cy + r * std::sin(q * Pi / 2) };
        const Ponto b { cx + r * std::cos((q + 1) * Pi / 2), cy + r * std::sin((q + 1) * Pi / 2) };
        SegmentoContorno s = SegmentoContorno::arco(a, b, { cx, cy });
        if (reversedStorage && q % 2 == 1) {
            s = SegmentoContorno::arco(b, a, { cx, cy });
            s.sentido = 0;
        }
        c.push_back(s);
    }
    return c;
}

/// Builds a problem from contours given in list order (the first one is the outer contour).
ProblemData problemOf(const std::vector<Contour>& contours)
{
    ProblemData d;
    for (auto c = contours.rbegin(); c != contours.rend(); ++c)
        d.regioes.pushFront(regionOf(*c));
    d.derivarListas();
    return d;
}

double signedArea(const std::vector<Ponto>& ring)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Ponto& a = ring[i];
        const Ponto& b = ring[(i + 1) % ring.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2.0;
}

/// The rule the index must reproduce: the first polygon from position 2 that contains the point.
int bruteForce(const ProblemData& d, const Ponto& p)
{
    for (std::size_t k = 1; k < d.poligonosRegioes.size(); ++k)
        if (contemPonto(d.poligonosRegioes[k], p))
            return static_cast<int>(k) + 1;
    return 0;
}

} // namespace

TEST(ProblemData, PositionBeyondTheEndGivesTheLastRegion)
{
    ProblemData d;
    EXPECT_EQ(d.regiaoNaPosicao(1), nullptr);
    for (const double perm : { 3.0, 2.0, 1.0 }) {
        Regiao r;
        r.permRelativa = perm;
        d.regioes.pushFront(r);
    }
    EXPECT_EQ(d.regiaoNaPosicao(1)->permRelativa, 1.0);
    EXPECT_EQ(d.regiaoNaPosicao(3)->permRelativa, 3.0);
    EXPECT_EQ(d.regiaoNaPosicao(4)->permRelativa, 3.0);
    EXPECT_EQ(d.regiaoNaPosicao(32767)->permRelativa, 3.0);
    EXPECT_EQ(d.regiaoNaPosicao(0)->permRelativa, 1.0);
}

TEST(ProblemData, CopiesKeepReservedFieldsAndTheRegionIndex)
{
    ProblemData d = problemOf({ rectangle(0, 0, 10, 10), rectangle(1, 1, 2, 2) });
    d.regioes.at(1).reservadoI2 = 42;
    d.regioes.at(1).reservadoS1[7] = 'z';
    const ProblemData copy = d;
    d = ProblemData();
    EXPECT_EQ(copy.regioes.at(1).reservadoI2, 42);
    EXPECT_EQ(copy.regioes.at(1).reservadoS1[7], 'z');
    EXPECT_EQ(copy.regiaoQueContem({ 1.5, 1.5 }), 2);
    EXPECT_EQ(d.regiaoQueContem({ 1.5, 1.5 }), 0);
    const Regiao fresh;
    EXPECT_EQ(fresh.reservadoS2, std::string(500, '\0'));
    EXPECT_EQ(fresh.reservadoD[3], 0.0);
}

TEST(ProblemDerivation, PoolDropsTheLaterOfEqualElementsAndKeepsContourOrder)
{
    // Two regions sharing a side, walked in opposite directions, and a shared arc stored once
    // with its end points swapped and the orientation flag cleared.
    SegmentoContorno arc = SegmentoContorno::arco({ 10, 0 }, { 0, 10 }, { 0, 0 });
    SegmentoContorno sameArc = SegmentoContorno::arco({ 0, 10 }, { 10, 0 }, { 0, 0 });
    sameArc.sentido = 0;
    SegmentoContorno nearlyShared = SegmentoContorno::reta({ 5, 0.00005 }, { 0, 0 });
    const ProblemData d = problemOf({
        { SegmentoContorno::reta({ 0, 0 }, { 10, 0 }), arc,
            SegmentoContorno::reta({ 0, 10 }, { 0, 0 }) },
        { SegmentoContorno::reta({ 10, 0 }, { 0, 0 }), sameArc,
            SegmentoContorno::reta({ 0, 0 }, { 5, 0 }), nearlyShared },
    });
    ASSERT_EQ(d.poolSegmentos.size(), 4u);
    EXPECT_EQ(d.poolSegmentos[0].p1(), (Ponto { 0, 0 }));
    EXPECT_EQ(d.poolSegmentos[1].ehArco, 1);
    EXPECT_EQ(d.poolSegmentos[2].p1(), (Ponto { 0, 10 }));
    EXPECT_EQ(d.poolSegmentos[3].p2(), (Ponto { 5, 0 }))
        << "the earlier of two equal elements stays";
    EXPECT_EQ(d.contornoExterno.size(), 3u);

    // Distinct end points; of two coinciding points the earlier one stays.
    ASSERT_EQ(d.pontosContorno.size(), 4u);
    EXPECT_EQ(d.pontosContorno[3], (Ponto { 5, 0 }));
}

TEST(ProblemDerivation, UnsetMaximumEdgeBecomesTheShortestElementArcsByArcLength)
{
    // A quarter arc of radius 1 (length π/2) is shorter than the sides of length 2.
    ProblemData d = problemOf(
        { { SegmentoContorno::reta({ 0, 0 }, { 2, 0 }), SegmentoContorno::reta({ 2, 0 }, { 1, 1 }),
            SegmentoContorno::arco({ 2, 0 }, { 1, 1 }, { 1, 0 }),
            SegmentoContorno::reta({ 1, 1 }, { 1, 1 }) } }); // no length: ignored
    EXPECT_DOUBLE_EQ(d.arestaMaxima, std::sqrt(2.0));
    d = problemOf({ { SegmentoContorno::reta({ 0, 0 }, { 3, 0 }),
        SegmentoContorno::arco({ 2, 0 }, { 1, 1 }, { 1, 0 }) } });
    EXPECT_DOUBLE_EQ(d.arestaMaxima, Pi / 2);
    EXPECT_DOUBLE_EQ(d.tolerancia, Pi / 2 / 1e6);

    // A value already set is kept.
    d.arestaMaxima = 0.7;
    d.derivarListas();
    EXPECT_EQ(d.arestaMaxima, 0.7);
}

TEST(RegionPolygon, ChainsReversedElementsAndCutsArcsIntoEqualChords)
{
    // A quarter disc listed out of order, with straight sides walked backwards.
    const SegmentoContorno arc = SegmentoContorno::arco({ 10, 0 }, { 0, 10 }, { 0, 0 });
    SegmentoContorno flagged = SegmentoContorno::arco({ 0, 10 }, { 10, 0 }, { 0, 0 });
    flagged.sentido = 0;
    const double expectedArea = 0.5 * 100.0 * 63 * std::sin(Pi / 2 / 63);
    for (const SegmentoContorno& a : { arc, flagged }) {
        const Contour c { SegmentoContorno::reta({ 10, 0 }, { 0, 0 }), a,
            SegmentoContorno::reta({ 0, 0 }, { 0, 10 }) };
        const PoligonoRegiao p = poligonoDoContorno(regionOf(c).segmentos);
        ASSERT_EQ(p.aneis.size(), 1u);
        const std::vector<Ponto>& ring = p.aneis[0];
        // ceil((π/2) / (2π/250)) = 63 chords: 62 points inside the arc, plus the three corners.
        ASSERT_EQ(ring.size(), 65u);
        EXPECT_NEAR(std::fabs(signedArea(ring)), expectedArea, 1e-9);
        for (const Ponto& v : ring) {
            if (v.x > 1e-9 && v.y > 1e-9) {
                EXPECT_NEAR(std::hypot(v.x, v.y), 10.0, 1e-9);
            }
        }
        EXPECT_TRUE(contemPonto(p, { 3, 3 }));
        EXPECT_FALSE(contemPonto(p, { 7.5, 7.5 }));
    }
}

TEST(RegionPolygon, PiecesThatDoNotChainBecomeSeparateRings)
{
    Contour twoLoops = rectangle(0, 0, 4, 4);
    const Contour hole = rectangle(1, 1, 2, 2);
    twoLoops.insert(twoLoops.begin() + 2, hole.begin(), hole.end());
    const PoligonoRegiao p = poligonoDoContorno(regionOf(twoLoops).segmentos);
    ASSERT_EQ(p.aneis.size(), 2u);
    EXPECT_EQ(p.aneis[0].size(), 4u);
    EXPECT_TRUE(contemPonto(p, { 3, 3 }));
    EXPECT_FALSE(contemPonto(p, { 1.5, 1.5 })) << "the inner ring is a hole";

    // An open contour closes on its own first point.
    const Contour open { SegmentoContorno::reta({ 0, 0 }, { 4, 0 }),
        SegmentoContorno::reta({ 4, 0 }, { 4, 4 }) };
    const PoligonoRegiao q = poligonoDoContorno(regionOf(open).segmentos);
    ASSERT_EQ(q.aneis.size(), 1u);
    EXPECT_EQ(q.aneis[0].size(), 3u);
}

TEST(RegionPolygon, InsideTestIsExactNearSmallOutlinesAndFarFromTheOrigin)
{
    // Coordinates of the ray's far end are of order 1e15: judged naively, short edges near the
    // point lose their orientation in the rounding. Points clearly in or out must come out right.
    for (const Ponto centre : { Ponto { 141, 96 }, Ponto { -3e5, 7e5 } }) {
        for (const double radius : { 0.5, 5.0 }) {
            const PoligonoRegiao p
                = poligonoDoContorno(regionOf(disc(centre.x, centre.y, radius)).segmentos);
            for (int i = 0; i < 40; ++i) {
                for (int j = 0; j < 40; ++j) {
                    const Ponto q { centre.x + radius * (i - 19.5) / 15,
                        centre.y + radius * (j - 19.5) / 15 };
                    const double r = std::hypot(q.x - centre.x, q.y - centre.y) / radius;
                    if (r < 0.995) {
                        EXPECT_TRUE(contemPonto(p, q)) << q.x << ", " << q.y;
                    } else if (r > 1.005) {
                        EXPECT_FALSE(contemPonto(p, q)) << q.x << ", " << q.y;
                    }
                }
            }
        }
    }
}

TEST(RegionLookup, FirstRegionInListOrderWinsAndTheOuterContourIsSkipped)
{
    const ProblemData d = problemOf({
        rectangle(0, 0, 100, 100), // the outer contour
        rectangle(10, 10, 20, 20), // nested inside the next one, listed first
        rectangle(0, 0, 50, 50), disc(30, 30, 5), // inside region 3 too, but listed after it
    });
    EXPECT_EQ(d.regiaoQueContem({ 15, 15 }), 2);
    EXPECT_EQ(d.regiaoQueContem({ 40, 10 }), 3);
    EXPECT_EQ(d.regiaoQueContem({ 30, 30 }), 3);
    EXPECT_EQ(d.regiaoQueContem({ 80, 80 }), 0);
    EXPECT_EQ(d.regiaoQueContem({ -5, 50 }), 0);
    EXPECT_EQ(d.regiaoQueContem({ 1e9, -1e9 }), 0);

    const ProblemData swapped = problemOf(
        { rectangle(0, 0, 100, 100), rectangle(0, 0, 50, 50), rectangle(10, 10, 20, 20) });
    EXPECT_EQ(swapped.regiaoQueContem({ 15, 15 }), 2);
}

TEST(RegionLookup, AgreesWithTestingEveryRegionInTurn)
{
    // Many small discs and rectangles, large overlapping regions, a jagged outline with many
    // edges, and a second copy of everything far from the origin.
    for (const double offset : { 0.0, 2.5e6 }) {
        std::vector<Contour> contours { rectangle(
            offset - 1, offset - 1, offset + 201, offset + 201) };
        std::mt19937 random(7);
        std::uniform_real_distribution<double> coordinate(offset, offset + 200);
        for (int i = 0; i < 120; ++i) {
            const double x = coordinate(random);
            const double y = coordinate(random);
            if (i % 2 == 0)
                contours.push_back(disc(x, y, 1 + i % 7, i % 4 == 0));
            else
                contours.push_back(rectangle(x, y, x + 2 + i % 9, y + 1 + i % 5));
        }
        contours.push_back(disc(offset + 100, offset + 100, 60));
        Contour jagged;
        const int teeth = 400;
        for (int k = 0; k < teeth; ++k) {
            const double r0 = k % 2 == 0 ? 90 : 40;
            const double r1 = k % 2 == 0 ? 40 : 90;
            const double a0 = 2 * Pi * k / teeth;
            const double a1 = 2 * Pi * (k + 1) / teeth;
            jagged.push_back(SegmentoContorno::reta(
                { offset + 100 + r0 * std::cos(a0), offset + 100 + r0 * std::sin(a0) },
                { offset + 100 + r1 * std::cos(a1), offset + 100 + r1 * std::sin(a1) }));
        }
        contours.push_back(jagged);
        contours.push_back(rectangle(offset, offset, offset + 200, offset + 200));
        const ProblemData d = problemOf(contours);

        std::uniform_real_distribution<double> query(offset - 5, offset + 205);
        int inside = 0;
        for (int i = 0; i < 1500; ++i) {
            const Ponto p { query(random), query(random) };
            const int expected = bruteForce(d, p);
            ASSERT_EQ(d.regiaoQueContem(p), expected) << p.x << ", " << p.y;
            inside += expected != 0 ? 1 : 0;
        }
        EXPECT_GT(inside, 1000);
    }
}
