// Whole-pipeline checks against closed-form fields: drawing -> regions -> mesh -> solver model ->
// linear run. They catch sign, unit and boundary-condition faults that element-level tests miss.

#include "common/progress.h"
#include "geometry/drawing.h"
#include "problem/dat_io.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/mesher/mesh_operations.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

using namespace tarvex;
using namespace tarvex::problem;
using geometry::Ponto;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Mu0 = 4e-7 * Pi;

/// Two concentric circles (each as two half arcs) joined by a cut line along the positive x axis,
/// so the ring between them is one region: the domain of the coaxial cases. Lengths in mm.
ProblemData coaxialProblem(double inner, double outer)
{
    geometry::DrawingData drawing;
    const Ponto o { 0, 0 };
    for (double r : { inner, outer }) {
        drawing.arcos.pushFront({ { r, 0 }, { -r, 0 }, o });
        drawing.arcos.pushFront({ { -r, 0 }, { r, 0 }, o });
    }
    drawing.segmentos.pushFront({ { inner, 0 }, { outer, 0 } });
    ResultadoFormacao formed;
    EXPECT_TRUE(formarRegioes(drawing, formed));
    const std::string bytes = escreveDatExportado(
        drawing.fatorEscala, { -outer, outer, -outer, outer }, formed.regioes);
    ProblemData data;
    EXPECT_TRUE(readDat(std::string_view(bytes), data));
    return data;
}

Regiao& regionAt(ProblemData& data, Ponto p)
{
    const int position = data.regiaoQueContem(p);
    EXPECT_GT(position, 1) << p.x << " " << p.y;
    return *data.regiaoNaPosicao(position);
}

/// The circle of radius r held at a potential: its two half arcs.
void holdCircle(ProblemData& data, double r, double potential)
{
    for (SegmentoContorno s : { SegmentoContorno::arco({ r, 0 }, { -r, 0 }, { 0, 0 }),
             SegmentoContorno::arco({ -r, 0 }, { r, 0 }, { 0, 0 }) }) {
        s.potencial = potential;
        data.segmentosPotencial.pushFront(s);
    }
}

void mesh(ProblemData& data, double edge)
{
    data.arestaMaxima = edge;
    data.tolerancia = edge / 1e6;
    OpcoesMalha options;
    options.comprimentoReferencia = edge;
    NoProgress progress;
    ASSERT_TRUE(gerarMalha(data, options, progress));
}

solver::SolverModel solve(
    const ProblemData& data, linalg::SolverMethod method = linalg::SolverMethod::ConjugateGradient)
{
    solver::SolverModel model;
    const solver::ExportResult exported = solver::buildSolverModel(data, model);
    EXPECT_TRUE(exported) << exported.status.message;
    // A refinement that gave the two sides of an edge different midpoints would crack the mesh
    // into nodes a rounding apart, which the export keeps apart.
    std::vector<std::pair<double, double>> positions;
    for (int i = 1; i <= model.nodeCount(); ++i)
        positions.emplace_back(
            model.nodes[static_cast<std::size_t>(i)].x, model.nodes[static_cast<std::size_t>(i)].y);
    std::sort(positions.begin(), positions.end());
    for (std::size_t k = 1; k < positions.size(); ++k)
        EXPECT_GT(std::hypot(positions[k].first - positions[k - 1].first,
                      positions[k].second - positions[k - 1].second),
            1e-9);
    solver::RunSettings settings;
    settings.linearTolerance = 1e-9;
    settings.method = method;
    solver::NoRunReporter reporter;
    const solver::RunResult run = solver::runLinear(model, settings, reporter);
    EXPECT_TRUE(run) << run.status.message;
    return model;
}

/// The direct solver gives the conjugate gradients' potentials to within their tolerance.
void expectDirectAgrees(const ProblemData& data, const solver::SolverModel& iterative)
{
    const solver::SolverModel direct = solve(data, linalg::SolverMethod::Direct);
    ASSERT_EQ(direct.nodeCount(), iterative.nodeCount());
    double worst = 0.0;
    double scale = 0.0;
    for (int i = 1; i <= direct.nodeCount(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        worst = std::max(worst, std::fabs(direct.nodes[k].value - iterative.nodes[k].value));
        scale = std::max(scale, std::fabs(direct.nodes[k].value));
    }
    EXPECT_LT(worst, 1e-7 * scale);
}

/// Largest |computed - exact| over the nodes, relative to the largest |exact|.
template <typename Exact> double relativeNodeError(const solver::SolverModel& model, Exact exact)
{
    double worst = 0.0;
    double scale = 0.0;
    for (int i = 1; i <= model.nodeCount(); ++i) {
        const solver::MeshNode& n = model.nodes[static_cast<std::size_t>(i)];
        const double e = exact(std::hypot(n.x, n.y));
        worst = std::max(worst, std::fabs(n.value - e));
        scale = std::max(scale, std::fabs(e));
    }
    return worst / scale;
}

} // namespace

TEST(Physics, CoaxialCapacitorFollowsTheLogarithmAndImprovesUnderRefinement)
{
    const double a = 10.0;
    const double b = 50.0;
    const double v0 = 100.0;
    ProblemData data = coaxialProblem(a, b);
    data.tipoAnalise = AnalysisType::Electric;
    holdCircle(data, a, v0);
    holdCircle(data, b, 0.0);
    mesh(data, 2.0);

    const auto exact = [&](double r) {
        if (r <= a)
            return v0;
        return v0 * std::log(b / r) / std::log(b / a);
    };
    const solver::SolverModel coarse = solve(data);
    // Every node of both circles is held, not only the arcs' end points.
    int held = 0;
    for (int i = coarse.unknownCount() + 1; i <= coarse.nodeCount(); ++i)
        ++held;
    EXPECT_GT(held, 100);
    const double coarseError = relativeNodeError(coarse, exact);
    EXPECT_LT(coarseError, 0.01);
    expectDirectAgrees(data, coarse);

    ASSERT_TRUE(refinaTotal(data));
    const solver::SolverModel fine = solve(data);
    EXPECT_LT(relativeNodeError(fine, exact), coarseError);
}

TEST(Physics, RoundConductorGivesTheFluxDensityOfAmpereLaw)
{
    // A conductor of radius R with J = 1 A/mm² inside a boundary of radius Rb held at A = 0:
    // B = mu0 J r / 2 inside, so A falls by mu0 J R² / 4 from the axis to the surface, then by
    // mu0 I / (2 pi) ln(Rb / R) to the boundary. Positive J flows into the drawing plane, which
    // makes A negative.
    const double radius = 10.0;
    const double boundary = 60.0;
    const double j = 1.0;
    ProblemData data = coaxialProblem(radius, boundary);
    data.tipoAnalise = AnalysisType::Magnetic;
    regionAt(data, { 0, 0 }).densCorrente = j;
    holdCircle(data, boundary, 0.0);
    mesh(data, 2.0);

    const double rM = radius / 1000.0;
    const double rbM = boundary / 1000.0;
    const double jM = j * 1e6;
    const double current = jM * Pi * rM * rM;
    const auto exact = [&](double rMm) {
        const double r = rMm / 1000.0;
        const double outside = Mu0 * current / (2 * Pi) * std::log(rbM / std::max(r, rM));
        const double inside = r < rM ? Mu0 * jM * (rM * rM - r * r) / 4 : 0.0;
        return -(outside + inside);
    };
    const solver::SolverModel coarse = solve(data);
    const double coarseError = relativeNodeError(coarse, exact);
    EXPECT_LT(coarseError, 0.01);
    expectDirectAgrees(data, coarse);

    ASSERT_TRUE(refinaTotal(data));
    const solver::SolverModel fine = solve(data);
    EXPECT_LT(relativeNodeError(fine, exact), coarseError);
}

TEST(Physics, PositiveChargeRaisesThePotential)
{
    // A charged disc inside a grounded ring: with -div(eps grad V) = rho the potential peaks at
    // the centre at rho R² / (4 eps0) (+ the outer ring's logarithmic part), and is positive.
    const double radius = 10.0;
    const double boundary = 30.0;
    ProblemData data = coaxialProblem(radius, boundary);
    data.tipoAnalise = AnalysisType::Electric;
    const double rho = 1e-3; // as typed, per mm² like the current density
    regionAt(data, { 0, 0 }).densCargas = rho;
    holdCircle(data, boundary, 0.0);
    mesh(data, 2.0);

    const double eps0 = 8.854e-12;
    const double rhoM = rho * 1e6; // per m²
    const double rM = radius / 1000.0;
    const double rbM = boundary / 1000.0;
    const double charge = rhoM * Pi * rM * rM; // per metre
    const auto exact = [&](double rMm) {
        const double r = rMm / 1000.0;
        const double outside = charge / (2 * Pi * eps0) * std::log(rbM / std::max(r, rM));
        const double inside = r < rM ? rhoM * (rM * rM - r * r) / (4 * eps0) : 0.0;
        return outside + inside;
    };
    const solver::SolverModel model = solve(data);
    EXPECT_LT(relativeNodeError(model, exact), 0.01);
}
