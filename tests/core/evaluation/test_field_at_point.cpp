#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "model_builders.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tarvex;
using namespace tarvex::evaluation;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Mu0 = 4e-7 * Pi;

/// A potential of uniform gradient: (a, b) per drawing unit, so (1000 a, 1000 b) per metre.
solver::SolverModel uniform(double a, double b, std::uint8_t magnetic = 1)
{
    return test::gridModel(
        4, 4, 0, 0, 4, 4, [=](double x, double y) { return a * x + b * y + 3.0; }, magnetic);
}

problem::Regiao& region2(solver::SolverModel& m)
{
    return m.regions.at(1);
}

} // namespace

TEST(FieldAtPoint, PotentialIsTheLinearInterpolantExactAtVertices)
{
    const solver::SolverModel m = uniform(0.25, -0.5);
    const ElementPosition e = locateElement(m, 1.3, 2.9);
    ASSERT_NE(e, NoElement);
    EXPECT_NEAR(interpolatePotential(m, e, 1.3, 2.9), 0.25 * 1.3 - 0.5 * 2.9 + 3.0, 1e-12);
    ElementVertices v;
    ASSERT_TRUE(elementVertices(m, e, v));
    for (const solver::MeshNode* n : v.node)
        EXPECT_DOUBLE_EQ(interpolatePotential(m, e, n->x, n->y), n->value);
}

TEST(FieldAtPoint, FluxDensityOfAMagneticModelInTurnedFrames)
{
    // A = 0.002 x + 0.001 y (drawing units): grad = (2, 1) per metre, B = (dA/dy, -dA/dx) = (1,
    // -2).
    const solver::SolverModel m = uniform(0.002, 0.001);
    const ElementPosition e = locateElement(m, 2.2, 1.1);
    const ElementVector b = elementFluxDensity(m, e, 0.0);
    ASSERT_TRUE(b);
    EXPECT_NEAR(b.first, 1.0, 1e-9);
    EXPECT_NEAR(b.second, -2.0, 1e-9);
    EXPECT_NEAR(b.magnitude, std::sqrt(5.0), 1e-9);
    // At pi/2 the first axis is y and the second is -x.
    const ElementVector turned = elementFluxDensity(m, e, Pi / 2);
    EXPECT_NEAR(turned.first, -2.0, 1e-9);
    EXPECT_NEAR(turned.second, -1.0, 1e-9);
    EXPECT_NEAR(turned.magnitude, b.magnitude, 1e-12);
}

TEST(FieldAtPoint, MagneticFieldUsesPermeabilityAndRemanenceInAnyFrame)
{
    solver::SolverModel m = uniform(0.002, 0.001);
    region2(m).permRelativa = 4.0;
    const ElementPosition e = locateElement(m, 2.2, 1.1);
    ElementVector h = elementFieldIntensity(m, e, 0.0);
    ASSERT_TRUE(h);
    EXPECT_NEAR(h.magnitude, std::sqrt(5.0) / (4.0 * Mu0), 1e-6);
    EXPECT_DOUBLE_EQ(h.factor, 4.0);

    region2(m).brX = 0.5;
    region2(m).brY = -1.0;
    h = elementFieldIntensity(m, e, 0.0);
    EXPECT_NEAR(h.first, (1.0 - 0.5) / (4.0 * Mu0), 1e-6);
    EXPECT_NEAR(h.second, (-2.0 + 1.0) / (4.0 * Mu0), 1e-6);
    // The same vector asked in a turned frame: same magnitude, components turned with it.
    const ElementVector t = elementFieldIntensity(m, e, Pi / 2);
    EXPECT_NEAR(t.magnitude, h.magnitude, 1e-6);
    EXPECT_NEAR(t.first, h.second, 1e-6);
    EXPECT_NEAR(t.second, -h.first, 1e-6);
}

TEST(FieldAtPoint, NonlinearRegionTakesTheCurveOnlyForANonlinearResult)
{
    solver::SolverModel m = uniform(0.0, 0.001); // B = (1, 0) T
    problem::Regiao& r = region2(m);
    r.linear = 0;
    r.permRelativa = 10.0;
    // B-H curve with x = B, y = H: H = 100 B, so mu = 0.01 at every field.
    r.curva1.definePontos({ 0.0, 0.5, 1.0, 1.5, 2.0 }, { 0.0, 50.0, 100.0, 150.0, 200.0 });
    r.curva1.calculaSpline();
    const ElementPosition e = locateElement(m, 1.5, 2.5);

    m.calculationKind = solver::CalculationKind::Nonlinear;
    ElementVector h = elementFieldIntensity(m, e, 0.0);
    EXPECT_NEAR(h.magnitude, 100.0, 1e-6);
    EXPECT_NEAR(h.factor, 0.01 / Mu0, 1e-3);
    const ElementVector f = elementForceDensity(m, e, 0.0);
    EXPECT_NEAR(f.second, (0.0 - 1.0) / (2 * 0.01), 1e-9); // normal: (By² - Bx²) / 2 mu

    // A linear or induced-current result was computed with mu_r: so is H.
    for (const solver::CalculationKind kind :
        { solver::CalculationKind::Linear, solver::CalculationKind::InducedCurrents }) {
        m.calculationKind = kind;
        h = elementFieldIntensity(m, e, 0.0);
        EXPECT_NEAR(h.magnitude, 1.0 / (10.0 * Mu0), 1e-6) << static_cast<int>(kind);
        EXPECT_DOUBLE_EQ(h.factor, 10.0);
    }
}

TEST(FieldAtPoint, ElectricModelGivesDAndEAndTheStress)
{
    // V = 3 x in drawing units (mm): E = (-3000, 0) V/m.
    solver::SolverModel m = uniform(3.0, 0.0, 0);
    region2(m).permissividadeRelativa = 2.0;
    const ElementPosition e = locateElement(m, 0.5, 0.5);
    const ElementVector ef = elementFieldIntensity(m, e, 0.0);
    EXPECT_NEAR(ef.first, -3000.0, 1e-9);
    EXPECT_NEAR(ef.second, 0.0, 1e-9);
    const ElementVector d = elementFluxDensity(m, e, 0.0);
    const double eps = 2.0 * 8.854e-12;
    EXPECT_NEAR(d.first, -3000.0 * eps, 1e-20);
    EXPECT_NEAR(d.magnitude, 3000.0 * eps, 1e-20);
    EXPECT_DOUBLE_EQ(d.factor, eps);
    // Stress on a surface normal to y with D along x: pure (negative) normal pressure.
    const ElementVector f = elementForceDensity(m, e, 0.0);
    EXPECT_NEAR(f.second, -eps * 3000.0 * 3000.0 / 2.0, 1e-15);
    EXPECT_NEAR(f.first, 0.0, 1e-15);
    // A surface normal to x: all normal tension, positive.
    const ElementVector g = elementForceDensity(m, e, -Pi / 2);
    EXPECT_NEAR(g.second, eps * 3000.0 * 3000.0 / 2.0, 1e-15);
}

TEST(FieldAtPoint, TriangleOutsideEveryRegionHasNoValues)
{
    solver::SolverModel m = uniform(0.0, 0.001, 0);
    m.regions.eraseAt(1);
    m.derivarRegioes();
    const ElementPosition e = locateElement(m, 0.5, 0.5);
    const ElementVector d = elementFluxDensity(m, e, 0.0);
    EXPECT_FALSE(d);
    EXPECT_EQ(d.status.message, msg::PontoForaDominio);
    const PointValues p = pointValues(m, 0.5, 0.5);
    EXPECT_TRUE(p.found);
    EXPECT_FALSE(p.ok());
    for (const auto& [label, text] : dialogFields(p))
        EXPECT_EQ(text, msg::Indefinido) << label;
}

TEST(FieldAtPoint, PointValuesAverageTheFluxAcrossEdgesAndVertices)
{
    // A = x² in drawing units gives each triangle its own gradient.
    solver::SolverModel m
        = test::gridModel(2, 2, 0, 0, 2, 2, [](double x, double) { return x * x; });
    region2(m).permRelativa = 2.0;

    const PointValues inside = pointValues(m, 0.7, 0.2);
    ASSERT_TRUE(inside.ok());
    EXPECT_EQ(inside.trianglesAveraged, 1);

    // The diagonal of the first square: the mean of its two triangles.
    const PointValues edge = pointValues(m, 0.5, 0.5);
    ASSERT_TRUE(edge.ok());
    EXPECT_EQ(edge.trianglesAveraged, 2);
    const ElementVector b0 = elementFluxDensity(m, 0, 0.0);
    const ElementVector b1 = elementFluxDensity(m, 1, 0.0);
    EXPECT_NEAR(edge.flux.y, (b0.second + b1.second) / 2, 1e-12);
    EXPECT_NEAR(edge.flux.magnitude, (b0.magnitude + b1.magnitude) / 2, 1e-12);
    // H comes from the last of the two in list order.
    EXPECT_NEAR(edge.field.y, elementFieldIntensity(m, 1, 0.0).second, 1e-9);

    // The centre node touches six triangles, of equal area: the plain mean of their B.
    const PointValues vertex = pointValues(m, 1.0, 1.0);
    ASSERT_TRUE(vertex.ok());
    EXPECT_EQ(vertex.trianglesAveraged, 6);
    double sum = 0.0;
    int around = 0;
    for (ElementPosition i = 0; i < m.elements.size(); ++i) {
        const solver::MeshElement& e = m.elements.at(i);
        if (e.t1 == 5 || e.t2 == 5 || e.t3 == 5) {
            sum += elementFluxDensity(m, i, 0.0).second;
            ++around;
        }
    }
    EXPECT_EQ(around, 6);
    EXPECT_NEAR(vertex.flux.y, sum / 6, 1e-12);
    EXPECT_NEAR(vertex.potential, 1.0, 1e-12);
    // A hair off the vertex along an edge is still the vertex, not that edge.
    EXPECT_EQ(pointValues(m, 1.0 - 1e-9, 1.0 - 1e-9).trianglesAveraged, 6);
    EXPECT_EQ(pointValues(m, 1.0, 1.0 - 1e-9).trianglesAveraged, 6);
}

TEST(FieldAtPoint, PolarComponentsOfAnAzimuthalField)
{
    // A = (x² + y²) / 2 in drawing units: B = (y, -x) * 1000, clockwise about the origin, so
    // Bt = -|B| and Br = 0 everywhere.
    const solver::SolverModel m = test::gridModel(
        80, 80, -10, -10, 10, 10, [](double x, double y) { return (x * x + y * y) / 2; });
    const auto [x, y] = polarToCartesian(6.3, 120.0);
    const PointValues p = pointValues(m, x, y, true);
    ASSERT_TRUE(p.ok());
    EXPECT_NEAR(p.flux.x, -p.flux.magnitude, 0.02 * p.flux.magnitude);
    EXPECT_NEAR(p.flux.y, 0.0, 0.08 * p.flux.magnitude);
    // Stress on a surface normal to r with B along t: a normal pull of -B² / 2 mu.
    EXPECT_LT(p.force.y, 0.0);
    EXPECT_NEAR(
        p.force.y, -p.flux.magnitude * p.flux.magnitude / (2 * Mu0), 0.1 * std::fabs(p.force.y));
    // Cartesian components of the same point: the vector turned back.
    const PointValues c = pointValues(m, x, y);
    EXPECT_NEAR(c.flux.magnitude, p.flux.magnitude, 1e-9);
    const double phi = 120.0 * Pi / 180.0;
    EXPECT_NEAR(c.flux.x, -std::sin(phi) * p.flux.x + std::cos(phi) * p.flux.y, 1e-9);
}

TEST(FieldAtPoint, InducedCurrentValuesAndTheirTexts)
{
    solver::SolverModel m = uniform(0.0, 0.0);
    m.calculationKind = solver::CalculationKind::InducedCurrents;
    m.conductive = 1;
    m.frequency = 50.0;
    for (solver::MeshNode& n : m.nodes)
        n.value = 3e-6;
    m.imaginaryNodes = m.nodes;
    for (solver::MeshNode& n : m.imaginaryNodes)
        n.value = 4e-6; // |A| = 5e-6
    region2(m).condutividade = 5.8e7;

    PointValues p = pointValues(m, 1.5, 2.5);
    ASSERT_TRUE(p.ok());
    EXPECT_TRUE(p.induced);
    const double j = 2 * Pi * 50.0 * 5.8e7 * 5e-6 / 1e6;
    EXPECT_NEAR(p.currentDensity, j, 1e-12);
    ASSERT_TRUE(p.hasLoss);
    EXPECT_NEAR(p.lossDensity, j * j / 5.8e7 * 0.5 * 1e12, 1e-6);
    const auto fields = dialogFields(p);
    ASSERT_GE(fields.size(), 2u);
    EXPECT_EQ(fields.back().first, msg::RotuloPi);
    EXPECT_EQ(fields[fields.size() - 2].second, formatDialogValue(j));

    region2(m).condutividade = 0.0;
    p = pointValues(m, 1.5, 2.5);
    EXPECT_FALSE(p.hasLoss);
    EXPECT_EQ(dialogFields(p).back().second, msg::Indefinido);
}

TEST(FieldAtPoint, DialogTextsAndLabels)
{
    EXPECT_EQ(formatDialogValue(1.5), "1.5         ");
    EXPECT_EQ(formatDialogValue(-1234567.0), "-1.23457e+06");
    const solver::SolverModel m = uniform(0.002, 0.001);
    const auto cartesian = dialogFields(pointValues(m, 2.2, 1.1));
    ASSERT_EQ(cartesian.size(), 9u);
    EXPECT_EQ(cartesian[0].first, msg::RotuloBx);
    EXPECT_EQ(cartesian[0].second, "1           ");
    EXPECT_EQ(cartesian[8].first, msg::RotuloPermRelativa);
    const auto polar = dialogFields(pointValues(m, 2.2, 1.1, true));
    EXPECT_EQ(polar[0].first, msg::RotuloBt);
    EXPECT_EQ(polar[7].first, msg::RotuloFr);
    const solver::SolverModel e = uniform(0.002, 0.001, 0);
    const auto electric = dialogFields(pointValues(e, 2.2, 1.1));
    ASSERT_EQ(electric.size(), 8u);
    EXPECT_EQ(electric[2].first, msg::RotuloD);
    EXPECT_EQ(electric[5].first, msg::RotuloE);
    // Outside the mesh nothing is found and every field stays undefined.
    const PointValues out = pointValues(m, 50.0, 1.0);
    EXPECT_FALSE(out.found);
    EXPECT_EQ(dialogFields(out)[0].second, msg::Indefinido);
}
