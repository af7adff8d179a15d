// Forces on sections and induced-current losses against closed forms.

#include "common/messages.h"
#include "evaluation/point_location.h"
#include "evaluation/sections.h"
#include "results/forces.h"
#include "results/losses.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include "core/evaluation/model_builders.h"
#include "core/evaluation/solved_models.h"
#include "core/solver/run_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using namespace tarvex;
using geometry::Ponto;

namespace {

const double Pi = 4.0 * std::atan(1.0);
const double Mu0 = 4e-7 * Pi;
constexpr double Eps0 = 8.854e-12;

solver::SolverModel uniformField(double bx, double by)
{
    return test::gridModel(
        5, 5, 0, 0, 10, 10, [=](double x, double y) { return (bx * y - by * x) / 1000.0; });
}

std::string printed(const char* format, double a, double b, double c)
{
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return buffer;
}

} // namespace

TEST(Forces, MaxwellStressOnASectionAcrossAUniformField)
{
    const double bx = 0.3, by = 0.4, length = 9.0;
    const solver::SolverModel model = uniformField(bx, by);
    const results::SectionForce f = results::forceOnSection(model, { 0.5, 5 }, { 9.5, 5 });
    ASSERT_TRUE(f.status);
    const double fn = (by * by - bx * bx) / (2 * Mu0) * length / 1000;
    const double ft = bx * by / Mu0 * length / 1000;
    EXPECT_NEAR(f.normal, fn, 1e-9 * std::fabs(fn));
    EXPECT_NEAR(f.tangential, ft, 1e-9 * ft);
    // Left to right: Fx = Ft, Fy = Fn.
    EXPECT_NEAR(f.fx, ft, 1e-9 * ft);
    EXPECT_NEAR(f.fy, fn, 1e-9 * std::fabs(fn));
    EXPECT_NEAR(f.magnitude, std::hypot(ft, fn), 1e-9 * ft);
    EXPECT_EQ(results::forceText(f),
        printed("Força (N/m)   |F |:%12.4e    Fx :%12.4e     Fy :%12.4e", f.magnitude, f.fx, f.fy));

    // Reversed: the pressure and so Ft and Fn keep their signs; the force in x-y turns round.
    const results::SectionForce r = results::forceOnSection(model, { 9.5, 5 }, { 0.5, 5 });
    EXPECT_NEAR(r.tangential, f.tangential, 1e-9 * ft);
    EXPECT_NEAR(r.normal, f.normal, 1e-9 * std::fabs(fn));
    EXPECT_NEAR(r.fx, -f.fx, 1e-9 * ft);
    EXPECT_NEAR(r.fy, -f.fy, 1e-9 * std::fabs(fn));

    // No length: no force.
    const results::SectionForce none = results::forceOnSection(model, { 3, 3 }, { 3, 3 });
    EXPECT_TRUE(none.status);
    EXPECT_EQ(none.magnitude, 0.0);
}

TEST(Forces, PlateOfACapacitor)
{
    // 100 V over 10 mm: E = 1e4 V/m; pulling on a plate 8 mm wide with eps0 E² / 2.
    const solver::SolverModel model = test::gridModel(
        5, 5, 0, 0, 10, 10, [](double, double y) { return 10.0 * y; }, 0);
    const results::SectionForce f = results::forceOnSection(model, { 1, 9 }, { 9, 9 });
    ASSERT_TRUE(f.status);
    const double exact = Eps0 * 1e4 * 1e4 / 2 * 0.008;
    EXPECT_NEAR(f.normal, exact, 1e-9 * exact);
    EXPECT_NEAR(f.tangential, 0.0, 1e-12 * exact);
}

TEST(Forces, BetweenTwoParallelRoundConductors)
{
    const double c = 5.0, a = 2.0, outer = 60.0, jDensity = 1.0;
    problem::ProblemData data = test::conductorsInCircle({ -c, c }, a, outer);
    data.tipoAnalise = problem::AnalysisType::Magnetic;
    const int left = data.regiaoQueContem({ -c, 0.5 });
    const int right = data.regiaoQueContem({ c, 0.5 });
    ASSERT_GT(left, 1);
    ASSERT_GT(right, 1);
    ASSERT_NE(left, right);
    data.regiaoNaPosicao(left)->densCorrente = -jDensity;
    data.regiaoNaPosicao(right)->densCorrente = jDensity;
    test::holdCircle(data, outer, 0.0);
    const solver::SolverModel model = test::meshAndSolve(data, 1.0);

    // The midplane between opposite currents, across the whole model.
    const results::SectionForce f = results::forceOnSection(model, { 0, -outer }, { 0, outer });
    ASSERT_TRUE(f.status);

    // The same stress integral for the line currents and their images in the boundary circle
    // (which hold it at A = 0), by Simpson's rule.
    // The current the mesh carries: its conductor is a polygon a little smaller than the circle.
    double area = 0.0;
    for (std::size_t e = 0; e < model.elements.size(); ++e) {
        evaluation::ElementVertices v;
        ASSERT_TRUE(evaluation::elementVertices(model, e, v));
        if (evaluation::elementRegionOf(model, e, v) == right)
            area += std::fabs(evaluation::twiceSignedArea(v)) / 2;
    }
    EXPECT_NEAR(area, Pi * a * a, 0.05 * Pi * a * a);
    const double current = jDensity * area;
    const double image = outer * outer / c;
    const std::array<std::pair<double, double>, 4> lines
        = { { { c, current }, { -c, -current }, { image, -current }, { -image, current } } };
    const auto stress = [&](double yMm) {
        // On the midplane of opposite currents B is along it: By only.
        double by = 0.0;
        for (const auto& [xi, ii] : lines) {
            const double dx = (0 - xi) / 1000, dy = yMm / 1000;
            by += Mu0 * ii / (2 * Pi) * dx / (dx * dx + dy * dy);
        }
        return by * by / (2 * Mu0);
    };
    const int n = 20000;
    const double h = 2 * outer / n;
    double sum = stress(-outer) + stress(outer);
    for (int k = 1; k < n; ++k)
        sum += (k % 2 == 1 ? 4 : 2) * stress(-outer + k * h);
    const double expected = sum * h / 3 / 1000;

    EXPECT_NEAR(f.magnitude, expected, 0.03 * expected);
    // Along +y the normal points to -x, and the stress along the midplane is a pull -B²/(2 mu0):
    // the force pushes the conductors apart.
    EXPECT_LT(f.normal, 0.0);
    EXPECT_NEAR(f.fx, -f.normal, 1e-12);
    EXPECT_LT(std::fabs(f.fy), 0.01 * f.magnitude);
    // And it is that of free space, mu0 I1 I2 / (2 pi d), but for the images, which take about
    // 2.6 % off at this size of boundary.
    const double free = Mu0 * current * current / (2 * Pi * 2 * c / 1000);
    EXPECT_NEAR(f.magnitude, free, 0.05 * free);
    EXPECT_NEAR(expected / free, 0.974, 0.002);
}

TEST(Forces, PolarForceTextAndFailure)
{
    const solver::SolverModel model = uniformField(0.0, 1.0);
    const results::SectionForce f
        = results::forceOnPolarSection(model, { 7, 5 }, { 3, 5 }, { 5, 5 });
    ASSERT_TRUE(f.status);
    EXPECT_TRUE(f.polar);
    EXPECT_EQ(results::forceText(f),
        printed("Força (N/m)   |F |:%12.4e  Fn :%12.4e   Ft :%12.4e", f.magnitude, f.normal,
            f.tangential));
    // Upper half circle of radius 2 in By = 1 T: Fn = ∫ (By² sin² - By² cos²) / (2 mu0) ds.
    // Over 0..pi the integral of -cos 2phi vanishes; Ft = ∫ -By² sin cos / mu0 also vanishes.
    const double scale = 1.0 / (2 * Mu0) * 2.0 / 1000;
    EXPECT_LT(std::fabs(f.normal), 0.05 * scale);
    EXPECT_LT(std::fabs(f.tangential), 0.05 * scale);
    const results::SectionForce none
        = results::forceOnPolarSection(model, { 5, 5 }, { 5, 5 }, { 5, 5 });
    EXPECT_FALSE(none.status);
    EXPECT_EQ(none.status.message, msg::SecaoPolarSemCurva);
}

TEST(Losses, ConductingSlabInATangentialAcField)
{
    constexpr double Copper = 5.8e7;
    constexpr double A0 = 1e-3;
    const double f = 50.0;
    const std::vector<geometry::Ponto> box = runtest::rectangle(0, 0, 60, 2);
    runtest::GridModel g = runtest::buildGridModel({ 0, 0, 0.5, 0.5, 120, 4 },
        { { box }, { box, [=](problem::Regiao& r) { r.condutividade = Copper; } } },
        [](int i, int) -> std::optional<double> {
            if (i == 0)
                return A0;
            return std::nullopt;
        });
    g.model.frequency = f;
    solver::RunSettings settings;
    settings.linearTolerance = 1e-10;
    runtest::RecordingReporter reporter;
    ASSERT_TRUE(solver::runInducedCurrents(g.model, settings, reporter));

    // A = A0 exp(-(1 + j) x / delta): the losses per metre of depth of a strip h high are
    // h ∫ sigma omega² |A|² / 2 dx = h sigma omega² A0² delta / 4.
    const double omega = 2 * Pi * f;
    const double delta = std::sqrt(2.0 / (omega * Mu0 * Copper));
    const double exact = 0.002 * Copper * omega * omega * A0 * A0 * delta / 4;
    const results::Losses total = results::totalLosses(g.model);
    ASSERT_TRUE(total.status);
    EXPECT_NEAR(total.watts, exact, 0.02 * exact);
    EXPECT_EQ(total.conducting.size(), g.model.elements.size());
    EXPECT_EQ(results::totalLossesText(total.watts),
        printed("Perdas Total W/m : %12.4g", total.watts, 0, 0));

    const results::Losses region = results::regionLosses(g.model, 30, 1);
    ASSERT_TRUE(region.status);
    EXPECT_EQ(region.region, 2);
    EXPECT_NEAR(region.watts, total.watts, 1e-12 * total.watts);
    EXPECT_EQ(results::regionLossesText(region.watts),
        printed("Perdas na Região W/m : %12.4g", region.watts, 0, 0));

    const results::Losses outside = results::regionLosses(g.model, 70, 1);
    EXPECT_FALSE(outside.status);
    EXPECT_EQ(outside.status.message, "Ponto Fora do Dominio");
}

TEST(Losses, NoConductorGivesZeroAndAnOpenRegionIsRefused)
{
    solver::SolverModel model = uniformField(0.0, 1.0);
    const results::Losses total = results::totalLosses(model);
    EXPECT_EQ(total.watts, 0.0);
    EXPECT_TRUE(total.conducting.empty());
    EXPECT_EQ(results::totalLossesText(total.watts), "Perdas Total W/m :            0");

    // Region 2 loses one side: its inside is no longer defined, so its triangles are not summed.
    model.regions.at(1).condutividade = 1.0;
    model.regions.at(1).segmentos.eraseAt(0);
    model.derivarRegioes();
    const results::Losses open = results::regionLosses(model, 5, 5);
    EXPECT_FALSE(open.status);
    EXPECT_EQ(open.status.message, msg::RegiaoAberta);
}
