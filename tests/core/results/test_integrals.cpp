// Region integrals against closed forms: whole-pipeline models (drawing -> mesh -> linear run)
// for the coaxial capacitor and the round conductor, hand-made grids for the rules.

#include "common/messages.h"
#include "common/progress.h"
#include "core/evaluation/model_builders.h"
#include "core/evaluation/solved_models.h"
#include "geometry/drawing.h"
#include "problem/dat_io.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/mesher/mesh_operations.h"
#include "problem/problem_data.h"
#include "results/colour_map.h"
#include "results/integrals.h"
#include "solver/export_msh.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace tarvex;
using namespace tarvex::results;
using problem::ProblemData;

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Mu0 = 4e-7 * Pi;
constexpr double Eps0 = 8.854e-12;

/// Two concentric circles joined by a cut line: the disc and the ring are two regions (mm).
ProblemData coaxialProblem(double inner, double outer)
{
    geometry::DrawingData drawing;
    for (double r : { inner, outer })
        test::drawCircle(drawing, 0, r);
    drawing.segmentos.pushFront({ { inner, 0 }, { outer, 0 } });
    return test::formedProblem(drawing, { -outer, outer, -outer, outer });
}

using test::holdCircle;

void mesh(ProblemData& data, double edge)
{
    data.arestaMaxima = edge;
    data.tolerancia = edge / 1e6;
    problem::OpcoesMalha options;
    options.comprimentoReferencia = edge;
    NoProgress progress;
    ASSERT_TRUE(problem::gerarMalha(data, options, progress));
}

solver::SolverModel solve(const ProblemData& data)
{
    solver::SolverModel model;
    EXPECT_TRUE(solver::buildSolverModel(data, model));
    solver::RunSettings settings;
    settings.linearTolerance = 1e-9;
    solver::NoRunReporter reporter;
    EXPECT_TRUE(solver::runLinear(model, settings, reporter));
    return model;
}

double capacitanceOf(const solver::SolverModel& model)
{
    Integrals total;
    EXPECT_TRUE(integrateTotal(model, total));
    double c = 0.0;
    EXPECT_TRUE(capacitanceFromEnergy(total.energy, imposedPotentialSpan(model), c));
    return c;
}

/// A 10 × 10 mm square of one region with A = k·x (drawing units): uniform B = k·1000 T along y.
solver::SolverModel uniformSquare(double k)
{
    return test::gridModel(4, 4, 0, 0, 10, 10, [k](double x, double) { return k * x; });
}

} // namespace

TEST(Integrals, CoaxialCapacitanceWithinOnePercentAndConvergingUnderRefinement)
{
    const double a = 10.0, b = 50.0, epsR = 4.0;
    ProblemData data = coaxialProblem(a, b);
    data.tipoAnalise = problem::AnalysisType::Electric;
    data.regiaoNaPosicao(data.regiaoQueContem({ 30, 5 }))->permissividadeRelativa = epsR;
    holdCircle(data, a, 100.0);
    holdCircle(data, b, 0.0);
    mesh(data, 8.0);
    const double exact = 2 * Pi * Eps0 * epsR / std::log(b / a);

    // A coarse mesh first, so the refinement has an error to reduce.
    const solver::SolverModel coarse = solve(data);
    EXPECT_DOUBLE_EQ(imposedPotentialSpan(coarse), 100.0);
    const double coarseError = std::fabs(capacitanceOf(coarse) / exact - 1.0);
    ASSERT_TRUE(problem::refinaTotal(data));
    const double fineError = std::fabs(capacitanceOf(solve(data)) / exact - 1.0);
    EXPECT_LT(fineError, coarseError);
    EXPECT_LT(fineError, 0.01);
}

TEST(Integrals, RoundConductorEnergyInductanceAndCurrent)
{
    // A conductor of radius a with J = 1 A/mm² in a boundary of radius R at A = 0:
    // W = mu0 I² / (4 pi) (1/4 + ln(R/a)) per metre.
    const double a = 10.0, bound = 60.0;
    ProblemData data = coaxialProblem(a, bound);
    data.tipoAnalise = problem::AnalysisType::Magnetic;
    data.regiaoNaPosicao(data.regiaoQueContem({ 0, 0 }))->densCorrente = 1.0;
    holdCircle(data, bound, 0.0);
    mesh(data, 1.5);
    const solver::SolverModel model = solve(data);

    const double current = 1e6 * Pi * 0.01 * 0.01;
    Integrals conductor;
    ASSERT_TRUE(integrateRegion(model, 1.0, 2.0, conductor));
    EXPECT_NEAR(conductor.current, current, 0.005 * current); // chords cut the disc a little
    EXPECT_NEAR(conductor.area, Pi * 1e-4, 0.005 * Pi * 1e-4);
    EXPECT_EQ(conductor.currentIm, 0.0);

    Integrals total;
    ASSERT_TRUE(integrateTotal(model, total));
    const double exactW = Mu0 * current * current / (4 * Pi) * (0.25 + std::log(bound / a));
    EXPECT_NEAR(total.energy, exactW, 0.01 * exactW);
    EXPECT_DOUBLE_EQ(total.coenergy, total.energy); // linear: the same
    EXPECT_FALSE(total.nonlinear);
    double l = 0.0;
    ASSERT_TRUE(inductanceFromEnergy(total.energy, conductor.current, l));
    EXPECT_NEAR(l, Mu0 / (2 * Pi) * (0.25 + std::log(bound / a)), 0.01 * l);
    // The outer region carries no current; the mean potential of the conductor is below 0
    // (positive J into the plane makes A negative).
    Integrals ring;
    ASSERT_TRUE(integrateRegion(model, 30.0, 5.0, ring));
    EXPECT_EQ(ring.current, 0.0);
    EXPECT_LT(conductor.meanPotential, ring.meanPotential);
    EXPECT_LT(conductor.meanPotential, 0.0);
}

TEST(Integrals, RegionCurrentIsDensityTimesArea)
{
    solver::SolverModel m = uniformSquare(0.0);
    m.regions.at(1).densCorrente = 2.0; // A/mm², over 10 mm × 10 mm
    Integrals r;
    ASSERT_TRUE(integrateRegion(m, 5.0, 5.0, r));
    EXPECT_NEAR(r.current, 200.0, 1e-9);
    EXPECT_NEAR(r.area, 1e-4, 1e-18);
    EXPECT_EQ(r.region, 2);

    // A device length multiplies the per-metre results only.
    m = uniformSquare(0.001);
    ASSERT_TRUE(integrateTotal(m, r));
    const Integrals twoMetres = withLength(r, 2.0);
    EXPECT_DOUBLE_EQ(twoMetres.energy, 2.0 * r.energy);
    EXPECT_DOUBLE_EQ(twoMetres.area, r.area);
    EXPECT_DOUBLE_EQ(twoMetres.current, r.current);
    EXPECT_FALSE(validLength(0.0));
    EXPECT_FALSE(validLength(std::nan("")));
}

TEST(Integrals, NonlinearRegionInItsLinearRangeGivesTheLinearEnergy)
{
    const double muR = 500.0;
    solver::SolverModel linear = uniformSquare(0.0012); // B = 1.2 T
    linear.regions.at(1).permRelativa = muR;
    Integrals expected;
    ASSERT_TRUE(integrateTotal(linear, expected));
    const double exactW = 1.2 * 1.2 / (2 * muR * Mu0) * 1e-4;
    EXPECT_NEAR(expected.energy, exactW, 1e-9 * exactW);

    solver::SolverModel nonlinear = linear;
    problem::Regiao& iron = nonlinear.regions.at(1);
    iron.linear = 0;
    for (double b : { 0.0, 0.5, 1.0, 1.5, 2.0 })
        iron.curva1.adicionaPonto(b, b / (muR * Mu0)); // B first, H second
    iron.curva1.calculaSpline();
    nonlinear.calculationKind = solver::CalculationKind::Nonlinear;
    Integrals r;
    ASSERT_TRUE(integrateTotal(nonlinear, r));
    EXPECT_TRUE(r.nonlinear);
    EXPECT_NEAR(r.energy, exactW, 1e-6 * exactW);
    EXPECT_NEAR(r.coenergy, exactW, 1e-6 * exactW);

    // A damaged potential (not a number) leaves its triangles out of the curve's table; the
    // others still count.
    solver::SolverModel damaged = nonlinear;
    damaged.nodes[1].value = std::nan("");
    ASSERT_TRUE(integrateTotal(damaged, r));
    EXPECT_GT(r.energy, 0.5 * exactW);
    EXPECT_LT(r.energy, exactW);

    // A saturating curve: H grows faster than B, so the co-energy exceeds the energy.
    iron.curva1.limpa();
    for (double b : { 0.0, 0.5, 1.0, 1.5, 2.0 })
        iron.curva1.adicionaPonto(b, b / (muR * Mu0) * (1.0 + b * b));
    iron.curva1.calculaSpline();
    ASSERT_TRUE(integrateTotal(nonlinear, r));
    EXPECT_GT(r.coenergy, r.energy);
}

TEST(Integrals, InducedResultsGiveComplexCurrentTimeAveragedEnergyAndLosses)
{
    solver::SolverModel m = uniformSquare(0.0);
    problem::Regiao& plate = m.regions.at(1);
    plate.condutividade = 1e6;
    m.calculationKind = solver::CalculationKind::InducedCurrents;
    m.conductive = 1;
    m.frequency = 50.0;
    // A = 1e-6 + j 2e-6 Wb/m everywhere: no field, J = -j omega sigma A.
    m.imaginaryNodes.assign(m.nodes.size(), solver::MeshNode {});
    for (std::size_t k = 1; k < m.nodes.size(); ++k) {
        m.nodes[k].value = 1e-6;
        m.imaginaryNodes[k].value = 2e-6;
    }
    const double omega = 2 * Pi * 50.0;
    Integrals r;
    ASSERT_TRUE(integrateTotal(m, r));
    EXPECT_TRUE(r.induced);
    EXPECT_NEAR(r.current, omega * 1e6 * 2e-6 * 1e-4, 1e-12);
    EXPECT_NEAR(r.currentIm, -omega * 1e6 * 1e-6 * 1e-4, 1e-12);
    EXPECT_NEAR(r.currentPhaseDegrees(), std::atan2(-1.0, 2.0) * 180 / Pi, 1e-9);
    EXPECT_NEAR(r.energy, 0.0, 1e-20);
    EXPECT_DOUBLE_EQ(r.coenergy, r.energy);
    EXPECT_NEAR(r.meanPotentialIm, 2e-6, 1e-18);
    // Losses: the loss density of the colour map times the area; its phasors are peak values,
    // so |J|² / (2 sigma) here.
    const double j2 = omega * omega * 1e12 * 5e-12;
    EXPECT_NEAR(r.losses, j2 / 2e6 * 1e-4, 1e-9 * j2 / 2e6 * 1e-4);
}

TEST(Integrals, RefusalsCarryTheirMessages)
{
    solver::SolverModel m = uniformSquare(0.001);
    Integrals r;
    r.area = 7.0;
    EXPECT_EQ(integrateRegion(m, 50.0, 50.0, r).message, msg::PontoForaDominio);
    EXPECT_EQ(r.area, 7.0);
    m.calculationKind = solver::CalculationKind::NotCalculated;
    EXPECT_EQ(integrateTotal(m, r).message, msg::MapaSemResultados);
    double l = 0.0;
    EXPECT_EQ(inductanceFromEnergy(1.0, 0.0, l).message, msg::CorrenteInvalida);
    EXPECT_EQ(capacitanceFromEnergy(1.0, 0.0, l).message, msg::TensaoInvalida);
    ASSERT_TRUE(capacitanceFromEnergy(2.0, -2.0, l));
    EXPECT_DOUBLE_EQ(l, 1.0);
}
