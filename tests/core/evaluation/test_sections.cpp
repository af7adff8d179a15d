// Sections: the walk through the triangles, the chain ordering and the graphs, on hand-made
// grids with known fields and on solved models against closed forms.

#include "common/messages.h"
#include "evaluation/sections.h"
#include "solver/solver_model.h"

#include "core/evaluation/model_builders.h"
#include "core/evaluation/solved_models.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tarvex;
using evaluation::SectionCurves;
using evaluation::SectionSample;
using geometry::Ponto;

namespace {

const double Pi = 4.0 * std::atan(1.0);
const double Mu0 = 4e-7 * Pi;

/// A magnetic grid over [0, 10] × [0, 10] (mm) in the uniform field B = (bx, by) tesla.
solver::SolverModel uniformField(double bx, double by)
{
    // B = (dA/dy, -dA/dx) with lengths in metres.
    return test::gridModel(
        5, 5, 0, 0, 10, 10, [=](double x, double y) { return (bx * y - by * x) / 1000.0; });
}

SectionSample at(double x, double y, double key)
{
    SectionSample s;
    s.x = x;
    s.y = y;
    s.magnitude = key;
    s.key = key;
    return s;
}

} // namespace

TEST(Sections, StraightSectionGivesEntryAndExitOfEveryTriangleInOrder)
{
    const solver::SolverModel model = uniformField(0.3, 0.4);
    const SectionCurves c
        = evaluation::sampleSection(model, { 1, 3 }, { 9, 3 }, evaluation::SectionFluxDensity);
    ASSERT_TRUE(c.ok());
    // The line y = 3 crosses 4 squares fully and two partly; in each square two triangles.
    ASSERT_EQ(c.samples.size() % 2, 0u);
    ASSERT_GE(c.samples.size(), 16u);
    EXPECT_NEAR(c.samples.front().x, 1.0, 1e-12);
    EXPECT_NEAR(c.samples.back().x, 9.0, 1e-12);
    for (std::size_t k = 0; k < c.samples.size(); ++k) {
        EXPECT_NEAR(c.distance[k], c.samples[k].x - 1.0, 1e-9);
        if (k > 0) {
            EXPECT_LE(c.distance[k - 1], c.distance[k] + 1e-12);
        }
        // Along +x: tangential is Bx, normal is By.
        EXPECT_NEAR(c.samples[k].magnitude, 0.5, 1e-9);
        EXPECT_NEAR(c.samples[k].tangential, 0.3, 1e-9);
        EXPECT_NEAR(c.samples[k].normal, 0.4, 1e-9);
    }
}

TEST(Sections, ReversedSectionTurnsFluxComponentsButNotPressure)
{
    const solver::SolverModel model = uniformField(0.3, 0.4);
    const Ponto a { 2, 1.3 }, b { 8, 7.9 };
    for (int mode :
        { evaluation::SectionFluxDensity, evaluation::SectionField, evaluation::SectionPressure }) {
        const SectionCurves there = evaluation::sampleSection(model, a, b, mode);
        const SectionCurves back = evaluation::sampleSection(model, b, a, mode);
        ASSERT_FALSE(there.samples.empty());
        ASSERT_EQ(there.samples.size(), back.samples.size());
        const double sign = mode == evaluation::SectionPressure ? 1.0 : -1.0;
        const SectionSample& s = there.samples.front();
        const SectionSample& r = back.samples.back(); // the same end of the section
        EXPECT_NEAR(r.magnitude, s.magnitude, 1e-9 * std::fabs(s.magnitude));
        EXPECT_NEAR(r.tangential, sign * s.tangential, 1e-9 * s.magnitude);
        EXPECT_NEAR(r.normal, sign * s.normal, 1e-9 * s.magnitude);
    }
}

TEST(Sections, SectionInsideOneTriangleAndSectionOfNoLength)
{
    const solver::SolverModel model = uniformField(0.0, 1.0);
    const SectionCurves inside = evaluation::sampleSection(model, { 1.5, 0.2 }, { 1.8, 0.3 }, 0);
    ASSERT_EQ(inside.samples.size(), 2u);
    EXPECT_EQ(inside.samples[0].magnitude, inside.samples[1].magnitude);
    EXPECT_NEAR(inside.distance[1], std::hypot(0.3, 0.1), 1e-12);
    // Two clicks on the same point reach the sampling and give no curve, without dividing by 0.
    const SectionCurves point = evaluation::sampleSection(model, { 1.5, 0.2 }, { 1.5, 0.2 }, 2);
    EXPECT_TRUE(point.ok());
    EXPECT_TRUE(point.samples.empty());
    // Outside the mesh, or absurd coordinates: nothing.
    EXPECT_TRUE(evaluation::sampleSection(model, { 20, 20 }, { 30, 30 }, 0).samples.empty());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(evaluation::sampleSection(model, { -1e308, 5 }, { 1e308, 5 }, 0).samples.empty());
    EXPECT_TRUE(evaluation::sampleSectionInduced(model, { nan, 5 }, { 5, 5 }, 0).samples.empty());
    SectionCurves far;
    EXPECT_FALSE(
        evaluation::samplePolarSection(model, { 1e200, 0 }, { -1e200, 0 }, { 0, 0 }, 0, far));
    EXPECT_FALSE(evaluation::samplePolarSection(model, { 1, 1 }, { 2, 1 }, { nan, 0 }, 0, far));
}

TEST(Sections, SectionAlongAMeshEdgeTakesBothTriangles)
{
    // A = x y: B varies from triangle to triangle, so the two triangles on either side of the
    // line y = 4 differ in their tangential component (the normal one is continuous).
    const solver::SolverModel model
        = test::gridModel(5, 5, 0, 0, 10, 10, [](double x, double y) { return x * y; });
    const SectionCurves c = evaluation::sampleSection(model, { 2, 4 }, { 6, 4 }, 0);
    ASSERT_TRUE(c.ok());
    // Two grid edges, each with a triangle below and one above: 4 triangles, 8 samples.
    ASSERT_EQ(c.samples.size(), 8u);
    for (std::size_t k = 0; k < 8; ++k)
        EXPECT_NEAR(c.samples[k].y, 4.0, 1e-12);
    // The curve steps at the shared points: the first two samples sit at x = 2 (one per side).
    EXPECT_NEAR(c.samples[0].x, 2.0, 1e-12);
    std::size_t atStart = 0;
    for (const SectionSample& s : c.samples)
        atStart += std::fabs(s.x - 2.0) < 1e-12 ? 1 : 0;
    EXPECT_EQ(atStart, 2u);
    EXPECT_GT(std::fabs(c.samples[0].tangential - c.samples[1].tangential), 1e-6);
    EXPECT_NEAR(c.samples[0].normal, c.samples[1].normal, 1e-9);
}

TEST(Sections, ChainFollowsCoincidentSamplesAndAlwaysEnds)
{
    // Two steps of a curve, handed over shuffled: (0..1, value 1), (1..2, value 5).
    std::vector<SectionSample> s = { at(1, 0, 5), at(0, 0, 1), at(2, 0, 5), at(1, 0, 1) };
    evaluation::orderChain(s, { 2, 0 });
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].x, 0);
    EXPECT_EQ(s[1].x, 1);
    EXPECT_EQ(s[1].key, 1);
    EXPECT_EQ(s[2].x, 1);
    EXPECT_EQ(s[2].key, 5);
    EXPECT_EQ(s[3].x, 2);

    // Keys that are not numbers and far-apart samples: the tolerance grows, the chain still ends.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<SectionSample> wild
        = { at(0, 0, nan), at(1e6, 0, nan), at(3e6, 0, 1e300), at(2e6, 0, -1e300) };
    evaluation::orderChain(wild, { 3e6, 0 });
    ASSERT_EQ(wild.size(), 4u);
    EXPECT_EQ(wild[0].x, 0);
    EXPECT_EQ(wild[3].x, 3e6);
}

TEST(Sections, GraphsCarryTheirTitlesCaptionsAndNames)
{
    const solver::SolverModel model = uniformField(0.0, 1.0);
    const SectionCurves c = evaluation::sampleSection(model, { 1, 1 }, { 9, 2 }, 0);
    const graphs::GraphData g1
        = evaluation::sectionGraph(c, evaluation::SectionGraph::FluxDensity, true);
    EXPECT_EQ(g1.title, "Densidade Fluxo sobre a Seção");
    EXPECT_EQ(g1.xCaption, "distância (mm)");
    EXPECT_EQ(g1.yCaption, "B (T)");
    EXPECT_EQ(g1.curveNames, (std::vector<std::string> { "B", "Bt", "Bn" }));
    ASSERT_EQ(g1.curves.size(), 3u);
    EXPECT_EQ(g1.curves[2].count(), c.samples.size());
    EXPECT_EQ(evaluation::sectionGraph(c, evaluation::SectionGraph::FluxDensity, false).yCaption,
        "D (T)");
    const graphs::GraphData g2
        = evaluation::sectionGraph(c, evaluation::SectionGraph::FieldPolar, false);
    EXPECT_EQ(g2.yCaption, "E (V/m");
    EXPECT_EQ(g2.curveNames, (std::vector<std::string> { "E", "Et", "En" }));
    EXPECT_EQ(
        evaluation::sectionGraph(c, evaluation::SectionGraph::Field, true).yCaption, "H (A/m)");
    const graphs::GraphData g3
        = evaluation::sectionGraph(c, evaluation::SectionGraph::Pressure, true);
    EXPECT_EQ(g3.title, "Pressão sobre a Seção");
    EXPECT_EQ(g3.yCaption, "P (N/m²)");
    const graphs::GraphData g4
        = evaluation::sectionGraph(c, evaluation::SectionGraph::CurrentDensity, true);
    EXPECT_EQ(g4.title, "Densidade de Corrente sobre a Seção");
    EXPECT_EQ(g4.curveNames, (std::vector<std::string> { "J", "Jr", "Ji" }));
    const graphs::GraphData g5
        = evaluation::sectionGraph(c, evaluation::SectionGraph::LossDensity, true);
    EXPECT_EQ(g5.title, "Densidade de Perdas sobre a Seção");
    EXPECT_EQ(g5.yCaption, "P (W/m³)");
    EXPECT_EQ(g5.curveNames, (std::vector<std::string> { "P" }));
}

TEST(Sections, PolarArcInsideOneTriangle)
{
    const solver::SolverModel model = uniformField(0.3, 0.4);
    // About (1.5, 0.5) with radius 0.2, from -90° to -60°: inside the triangle (0,0) (2,2) (2,0).
    const Ponto centre { 1.5, 0.5 };
    const Ponto p1 { 1.5, 0.3 };
    const Ponto p2 { 1.5 + 0.2 * std::cos(-Pi / 3), 0.5 + 0.2 * std::sin(-Pi / 3) };
    SectionCurves c;
    ASSERT_TRUE(evaluation::samplePolarSection(model, p1, p2, centre, 0, c));
    ASSERT_EQ(c.samples.size(), 2u);
    EXPECT_EQ(c.samples[0].magnitude, c.samples[1].magnitude);
    EXPECT_NEAR(c.distance[1], 0.2 * Pi / 6, 1e-9);
    // At P1 the outward radial direction is -y and the clockwise tangent -x.
    EXPECT_NEAR(c.samples[0].normal, -0.4, 1e-9);
    EXPECT_NEAR(c.samples[0].tangential, -0.3, 1e-9);
    EXPECT_GE(c.marks.size(), 2u);
    EXPECT_GE(c.chords.size(), 2u);

    // An arc too small to cut fails; the callers' displacement of the end points (0.01 here)
    // gives one that can be sampled.
    const Ponto q1 { 5, 5.5 }, q2 { 5.0002, 5.5 }, qc { 5.0001, 5.5 };
    SectionCurves once;
    EXPECT_FALSE(evaluation::samplePolarSection(model, q1, q2, qc, 0, once));
    EXPECT_TRUE(once.ok());
    ASSERT_TRUE(evaluation::samplePolarSectionRetrying(model, q1, q2, qc, 0, once));
    EXPECT_GE(once.samples.size(), 2u);
    EXPECT_NEAR(once.samples.front().x, 5.01, 1e-9);
}

TEST(Sections, InducedCurrentAtThePointsOfTheSection)
{
    solver::SolverModel model
        = test::gridModel(4, 4, 0, 0, 8, 8, [](double x, double) { return 1e-3 * x; });
    model.calculationKind = solver::CalculationKind::InducedCurrents;
    model.conductive = 1;
    model.frequency = 50.0;
    model.imaginaryNodes = model.nodes;
    for (std::size_t i = 1; i < model.imaginaryNodes.size(); ++i)
        model.imaginaryNodes[i].value = 2e-3;
    model.regions.at(1).condutividade = 1e7;
    const double factor = 2 * Pi * 50.0 * 1e7 / 1e6;
    const SectionCurves j = evaluation::sampleSectionInduced(model, { 1, 1 }, { 7, 1 }, 0);
    ASSERT_TRUE(j.ok());
    ASSERT_FALSE(j.samples.empty());
    for (const SectionSample& s : j.samples) {
        // The potential is linear, so the value at each point is exact, not a triangle's mean.
        EXPECT_NEAR(s.tangential, factor * 1e-3 * s.x, 1e-9);
        EXPECT_NEAR(s.normal, factor * 2e-3, 1e-9);
        EXPECT_NEAR(s.magnitude, std::hypot(s.tangential, s.normal), 1e-9);
    }
    const SectionCurves p = evaluation::sampleSectionInduced(model, { 1, 1 }, { 7, 1 }, 1);
    ASSERT_EQ(p.samples.size(), j.samples.size());
    for (std::size_t k = 0; k < p.samples.size(); ++k)
        EXPECT_NEAR(p.samples[k].magnitude,
            j.samples[k].magnitude * j.samples[k].magnitude / 1e7 * 0.5 * 1e12,
            1e-9 * p.samples[k].magnitude);
}

TEST(Sections, PolarSectionAboutARoundConductor)
{
    const double radius = 10.0, boundary = 30.0, jDensity = 1.0;
    geometry::DrawingData drawing;
    test::drawCircle(drawing, 0.0, radius);
    test::drawCircle(drawing, 0.0, boundary);
    drawing.segmentos.pushFront({ { radius, 0 }, { boundary, 0 } });
    drawing.segmentos.pushFront({ { -boundary, 0 }, { -radius, 0 } });
    problem::ProblemData data
        = test::formedProblem(drawing, { -boundary, boundary, -boundary, boundary });
    data.tipoAnalise = problem::AnalysisType::Magnetic;
    const int inner = data.regiaoQueContem({ 0.0, 0.0 });
    ASSERT_GT(inner, 1);
    data.regiaoNaPosicao(inner)->densCorrente = jDensity;
    test::holdCircle(data, boundary, 0.0);
    const solver::SolverModel model = test::meshAndSolve(data, 0.7);

    const double current = jDensity * 1e6 * Pi * (radius / 1000) * (radius / 1000);
    const double r = 20.0;
    const Ponto p1 { r * std::cos(0.3), r * std::sin(0.3) };
    const Ponto p2 { r * std::cos(2.5), r * std::sin(2.5) };
    SectionCurves c;
    // A centre off the bisector is moved onto it.
    ASSERT_TRUE(evaluation::samplePolarSectionRetrying(
        model, p1, p2, { 0.001, -0.002 }, evaluation::SectionFluxDensity, c));
    ASSERT_GT(c.samples.size(), 20u);
    EXPECT_TRUE(c.warnings.empty());
    const double exact = Mu0 * current / (2 * Pi * r / 1000);
    for (const SectionSample& s : c.samples) {
        EXPECT_NEAR(std::fabs(s.tangential), exact, 0.03 * exact);
        EXPECT_LT(std::fabs(s.normal), 0.05 * exact);
    }
    // The abscissa runs along the arc, from P1 to P2.
    EXPECT_NEAR(std::hypot(c.samples.front().x - p1.x, c.samples.front().y - p1.y), 0.0, 1e-6);
    EXPECT_NEAR(c.distance.back(), r * 2.2, 0.01 * r);
    for (std::size_t k = 1; k < c.distance.size(); ++k)
        EXPECT_LE(c.distance[k - 1], c.distance[k] + 1e-9);

    // No extent: no curve, and no message (the small displacement is no cure for it).
    SectionCurves none;
    EXPECT_FALSE(evaluation::samplePolarSectionRetrying(model, p1, p1, { 0, 0 }, 0, none));
    EXPECT_TRUE(none.ok());
}
