// Field values and fluxes of solved models against closed forms: the drawing is meshed and
// solved through the whole pipeline, then evaluated at points as the results view does.

#include "common/progress.h"
#include "core/evaluation/solved_models.h"
#include "evaluation/field_at_point.h"
#include "evaluation/flux.h"
#include "geometry/drawing.h"
#include "problem/dat_io.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace tarvex;
using namespace tarvex::problem;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Mu0 = 4e-7 * Pi;
constexpr double Eps0 = 8.854e-12;

/// Two concentric circles joined by cuts along the x axis: an inner disc and a ring in two halves.
/// The cuts are region boundaries the mesh follows; the checks keep a little away from them.
ProblemData rings(double inner, double outer)
{
    geometry::DrawingData drawing;
    for (double r : { inner, outer })
        test::drawCircle(drawing, 0, r);
    drawing.segmentos.pushFront({ { inner, 0 }, { outer, 0 } });
    drawing.segmentos.pushFront({ { -outer, 0 }, { -inner, 0 } });
    return test::formedProblem(drawing, { -outer, outer, -outer, outer });
}

using test::holdCircle;
using test::meshAndSolve;

double relativeError(double value, double exact)
{
    return std::fabs(value - exact) / std::fabs(exact);
}

/// The mesh node nearest to a point (a walk over the nodes: the test meshes are small).
std::pair<double, double> nearestNode(const solver::SolverModel& model, double x, double y)
{
    std::pair<double, double> best { 0.0, 0.0 };
    double bestD = 1e300;
    for (int i = 1; i <= model.nodeCount(); ++i) {
        const solver::MeshNode& n = model.nodes[static_cast<std::size_t>(i)];
        const double d = std::hypot(n.x - x, n.y - y);
        if (d < bestD) {
            bestD = d;
            best = { n.x, n.y };
        }
    }
    return best;
}

/// Distance from the origin of the centroid of the triangle the values came from: a first-order
/// triangle's constant gradient is that of the exact field near its centroid, not at any point.
double centroidRadius(const solver::SolverModel& model, const evaluation::PointValues& p)
{
    evaluation::ElementVertices v;
    EXPECT_TRUE(evaluation::elementVertices(model, p.element, v));
    const double x = (v.node[0]->x + v.node[1]->x + v.node[2]->x) / 3;
    const double y = (v.node[0]->y + v.node[1]->y + v.node[2]->y) / 3;
    return std::hypot(x, y);
}

} // namespace

TEST(EvaluationPhysics, CoaxialCapacitorPotentialAndField)
{
    const double a = 10.0, b = 50.0, v0 = 100.0;
    ProblemData data = rings(a, b);
    data.tipoAnalise = AnalysisType::Electric;
    holdCircle(data, a, v0);
    holdCircle(data, b, 0.0);
    const solver::SolverModel model = meshAndSolve(data, 1.0);

    double worstV = 0, worstE = 0, worstD = 0;
    for (double r : { 14.0, 22.5, 31.0, 44.0 })
        for (double deg : { 17.0, 100.0, 200.0, 290.0 }) {
            const auto [x, y] = evaluation::polarToCartesian(r, deg);
            const evaluation::PointValues p = evaluation::pointValues(model, x, y, true);
            ASSERT_TRUE(p.ok()) << r << " " << deg;
            const double vExact = v0 * std::log(b / r) / std::log(b / a);
            const double rc = centroidRadius(model, p);
            const double eExact = v0 / (rc / 1000.0 * std::log(b / a));
            worstV = std::max(worstV, relativeError(p.potential, vExact));
            worstE = std::max(worstE, relativeError(p.field.magnitude, eExact));
            worstD = std::max(worstD, relativeError(p.flux.magnitude, Eps0 * eExact));
            // The field points outwards from the electrode held high.
            EXPECT_GT(p.field.y, 0.99 * p.field.magnitude) << r << " " << deg;
        }
    // Inside a triangle the field is first-order accurate: a few percent at this mesh size.
    EXPECT_LT(worstV, 0.01);
    EXPECT_LT(worstE, 0.03);
    EXPECT_LT(worstD, 0.03);

    // On a vertex the area-weighted mean of the triangles around it recovers the field closely.
    double worstVertex = 0;
    for (double r : { 14.0, 22.5, 31.0, 44.0 })
        for (double deg : { 17.0, 100.0, 200.0, 290.0 }) {
            const auto [px, py] = evaluation::polarToCartesian(r, deg);
            const auto [x, y] = nearestNode(model, px, py);
            const evaluation::PointValues p = evaluation::pointValues(model, x, y);
            ASSERT_TRUE(p.ok());
            EXPECT_GE(p.trianglesAveraged, 3);
            const double rn = std::hypot(x, y);
            const double dExact = Eps0 * v0 / (rn / 1000.0 * std::log(b / a));
            worstVertex = std::max(worstVertex, relativeError(p.flux.magnitude, dExact));
            EXPECT_LT(relativeError(p.potential, v0 * std::log(b / rn) / std::log(b / a)), 0.01);
        }
    EXPECT_LT(worstVertex, 0.01);
}

TEST(EvaluationPhysics, RoundConductorFluxDensityAndFlux)
{
    const double radius = 10.0, boundary = 30.0, j = 1.0;
    ProblemData data = rings(radius, boundary);
    data.tipoAnalise = AnalysisType::Magnetic;
    const int inner = data.regiaoQueContem({ 0.0, 0.0 });
    ASSERT_GT(inner, 1);
    data.regiaoNaPosicao(inner)->densCorrente = j;
    holdCircle(data, boundary, 0.0);
    const solver::SolverModel model = meshAndSolve(data, 0.7);

    const double jM = j * 1e6;
    const double current = jM * Pi * (radius / 1000.0) * (radius / 1000.0);
    const auto exactB = [&](double rMm) {
        const double r = rMm / 1000.0;
        return rMm < radius ? Mu0 * jM * r / 2 : Mu0 * current / (2 * Pi * r);
    };
    double worst = 0;
    for (double r : { 7.0, 9.0, 14.0, 21.0, 27.0 })
        for (double deg : { 60.0, 130.0, 250.0 }) {
            const auto [x, y] = evaluation::polarToCartesian(r, deg);
            const evaluation::PointValues p = evaluation::pointValues(model, x, y, true);
            ASSERT_TRUE(p.ok());
            worst = std::max(
                worst, relativeError(p.flux.magnitude, exactB(centroidRadius(model, p))));
            // Azimuthal: nearly all of B is tangential.
            EXPECT_GT(std::fabs(p.flux.x), 0.99 * p.flux.magnitude) << r << " " << deg;
            EXPECT_NEAR(p.relativePermeability, 1.0, 1e-12);
        }
    EXPECT_LT(worst, 0.03);
    double worstVertex = 0;
    for (double r : { 7.0, 9.0, 14.0, 21.0, 27.0 })
        for (double deg : { 60.0, 130.0, 250.0 }) {
            const auto [px, py] = evaluation::polarToCartesian(r, deg);
            const auto [x, y] = nearestNode(model, px, py);
            const evaluation::PointValues p = evaluation::pointValues(model, x, y);
            ASSERT_TRUE(p.ok());
            const double error = relativeError(p.flux.magnitude, exactB(std::hypot(x, y)));
            // Inside the conductor B grows from zero, so the same absolute error weighs more.
            if (r < radius)
                EXPECT_LT(error, 0.025) << r << " " << deg;
            else
                worstVertex = std::max(worstVertex, error);
        }
    EXPECT_LT(worstVertex, 0.01);

    // Flux between two radii outside the conductor, and back.
    const double r1 = 12.0, r2 = 25.0;
    const auto [x1, y1] = evaluation::polarToCartesian(r1, 40.0);
    const auto [x2, y2] = evaluation::polarToCartesian(r2, 160.0);
    const evaluation::FluxResult there = evaluation::fluxBetweenPoints(model, x1, y1, x2, y2);
    const evaluation::FluxResult back = evaluation::fluxBetweenPoints(model, x2, y2, x1, y1);
    ASSERT_TRUE(there.found);
    const double exactFlux = Mu0 * current / (2 * Pi) * std::log(r2 / r1);
    EXPECT_LT(relativeError(std::fabs(there.value), exactFlux), 0.01);
    EXPECT_DOUBLE_EQ(back.value, -there.value);
}
