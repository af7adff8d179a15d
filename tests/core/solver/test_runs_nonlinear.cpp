#include "common/messages.h"
#include "materials/curva.h"
#include "materials/mat_io.h"
#include "solver/assembly.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include "core/solver/run_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

using namespace tarvex;
using namespace tarvex::solver;
using tarvex::runtest::GridModel;
using tarvex::runtest::GridRegion;
using tarvex::runtest::GridSpec;
using tarvex::runtest::RecordingReporter;
using tarvex::runtest::rectangle;

namespace {

const double Mu0 = 4e-7 * 3.14159265358979323846;
const std::string ExampleCurve
    = std::string(TARVEX_TEST_DATA) + "/../../examples/materials/aco_nao_orientado_400_50.mat";

/// A straight characteristic y = x / slope through the origin: B-H with slope mu, or E-D with
/// slope 1 / eps.
materials::Curva straightCurve(double xPerY, double xMax)
{
    materials::Curva c;
    for (int i = 0; i <= 6; ++i) {
        const double x = xMax * i / 6.0;
        c.adicionaPonto(x, x / xPerY);
    }
    return c;
}

/// The shipped steel as the solver holds it: x = B, y = H.
materials::Curva exampleSteel()
{
    std::vector<materials::PontoMaterial> points;
    EXPECT_TRUE(materials::openMat(ExampleCurve, points)) << ExampleCurve;
    materials::Curva c = materials::curvaMaterial(points);
    c.trocaEixos();
    return c;
}

/**
 * A block of material between two sources in a 100 x 100 mm box held at 0. With
 * `nonlinear` the block's region is non-linear with the given curve; otherwise linear with the
 * relative permeability (or permittivity) `relative`. Both sources have the same sign.
 */
GridModel blockModel(bool magnetic, bool nonlinear, double relative, const materials::Curva& curve)
{
    const std::vector<geometry::Ponto> box = rectangle(0, 0, 100, 100);
    auto block = [=](problem::Regiao& r) {
        r.permRelativa = relative;
        r.permissividadeRelativa = relative;
        if (nonlinear) {
            r.linear = 0;
            r.curva1 = curve;
        }
    };
    auto source = [magnetic](double value) {
        return [=](problem::Regiao& r) {
            if (magnetic)
                r.densCorrente = value;
            else
                r.densCargas = value;
        };
    };
    return runtest::buildGridModel(
        { 0, 0, 5, 5, 20, 20 },
        { { box }, { rectangle(30, 20, 70, 80), block }, { rectangle(10, 30, 25, 70), source(5.0) },
            { rectangle(75, 30, 90, 70), source(2.0) }, { box } },
        [](int i, int j) -> std::optional<double> {
            if (i == 0 || j == 0 || i == 20 || j == 20)
                return 0.0;
            return std::nullopt;
        },
        magnetic);
}

/**
 * The saturating C-core of the reference computation (bench/reference/ccore_fd.cpp): the square
 * ring [40, 120]² minus the window [60, 100]², cut by the gap x in [100, 120], y in [78, 82]; a
 * coil of +-j0 A/mm² around the left limb; the box [0, 160]² held at 0.
 */
GridModel cCoreModel(double cell, double j0)
{
    const materials::Curva steel = exampleSteel();
    const std::vector<geometry::Ponto> box = rectangle(0, 0, 160, 160);
    const std::vector<geometry::Ponto> core
        = { { 40, 40 }, { 120, 40 }, { 120, 78 }, { 100, 78 }, { 100, 60 }, { 60, 60 }, { 60, 100 },
              { 100, 100 }, { 100, 82 }, { 120, 82 }, { 120, 120 }, { 40, 120 } };
    const int n = static_cast<int>(std::lround(160.0 / cell));
    return runtest::buildGridModel({ 0, 0, cell, cell, n, n },
        { { box },
            { core,
                [&](problem::Regiao& r) {
                    r.linear = 0;
                    r.curva1 = steel;
                } },
            { rectangle(62, 62, 78, 98), [=](problem::Regiao& r) { r.densCorrente = j0; } },
            { rectangle(22, 62, 38, 98), [=](problem::Regiao& r) { r.densCorrente = -j0; } },
            { box } },
        [n](int i, int j) -> std::optional<double> {
            if (i == 0 || j == 0 || i == n || j == n)
                return 0.0;
            return std::nullopt;
        });
}

double largestMagnitude(const SolverModel& m)
{
    double largest = 0.0;
    for (std::size_t i = 1; i < m.nodes.size(); ++i)
        largest = std::max(largest, std::fabs(m.nodes[i].value));
    return largest;
}

/// Error values of the iteration lines, in percent.
std::vector<double> lineErrors(const std::vector<std::string>& lines)
{
    std::vector<double> errors;
    for (const std::string& line : lines) {
        const std::size_t colon = line.rfind(':');
        errors.push_back(std::stod(line.substr(colon + 1)));
    }
    return errors;
}

/// Everything a run may change, for the "left as it was" checks.
struct ModelState {
    std::vector<MeshNode> nodes;
    std::vector<MeshNode> imaginary;
    std::vector<std::int32_t> rowStarts;
    std::vector<std::int32_t> columns;
    std::vector<double> values;
    std::vector<double> rhs;
    CalculationKind kind = CalculationKind::NotCalculated;
    double storedError = 0.0;
    std::size_t equipotentials = 0;
    bool operator==(const ModelState&) const = default;
};

ModelState stateOf(const SolverModel& m)
{
    ModelState s { m.nodes, m.imaginaryNodes, m.matrix.rowStartsForStorage(), m.matrix.columns(),
        m.matrix.values(), {}, m.calculationKind, m.storedError, m.equipotentialSegments.size() };
    for (std::size_t i = 1; i <= m.rhs.count(); ++i)
        s.rhs.push_back(m.rhs[i]);
    return s;
}

} // namespace

TEST(NonlinearRun, ShippedSteelCurveIsMonotoneWithPositiveReluctivity)
{
    materials::Curva steel = exampleSteel();
    ASSERT_GE(steel.count(), 10u);
    steel.calculaSpline();
    double previous = -1.0;
    for (double b = 0.0; b <= steel.x(steel.count()); b += 0.001) {
        const double h = steel.valor(b);
        EXPECT_GE(h, previous) << b;
        if (b > 0.0) {
            EXPECT_GT(h / b, 0.0);
        }
        previous = h;
    }
    // Beyond the last point the curve continues close to the vacuum slope.
    const double slope = 0.1 / (steel.valor(2.5) - steel.valor(2.4));
    EXPECT_NEAR(slope / Mu0, 1.0, 0.05);
}

TEST(NonlinearRun, StraightCurveGivesTheLinearAnswer)
{
    for (bool magnetic : { true, false }) {
        const double relative = 500.0;
        const double slope = magnetic ? relative * Mu0 : 1.0 / (relative * 8.854e-12);
        GridModel linear = blockModel(magnetic, false, relative, {});
        GridModel nonlinear = blockModel(magnetic, true, relative, straightCurve(slope, 3.0));
        ASSERT_TRUE(nonlinear.model.hasNonlinearRegion);

        RunSettings settings;
        settings.linearTolerance = 1e-12;
        settings.errorTarget = 1e-7;
        RecordingReporter quiet;
        ASSERT_TRUE(runLinear(linear.model, settings, quiet));
        const RunResult run = runNonlinear(nonlinear.model, settings, quiet);
        ASSERT_TRUE(run) << run.status.message;
        EXPECT_LT(run.error, 1e-7);
        EXPECT_EQ(nonlinear.model.calculationKind, CalculationKind::Nonlinear);
        EXPECT_DOUBLE_EQ(nonlinear.model.storedError, run.error);
        EXPECT_TRUE(nonlinear.model.equipotentialsTraced);

        const double scale = largestMagnitude(linear.model);
        ASSERT_GT(scale, 0.0);
        for (std::size_t i = 1; i < linear.model.nodes.size(); ++i)
            EXPECT_NEAR(nonlinear.model.nodes[i].value, linear.model.nodes[i].value, 1e-5 * scale)
                << (magnetic ? "magnetic " : "electric ") << i;
    }
}

TEST(NonlinearRun, StartsWithThreeRelaxedFixedPointStepsThenNewton)
{
    // With a straight curve every fixed-point solve gives the final answer y, so the steps
    // v := w + 0.3 (y - w) show their factor in the errors: 0.3 * 0.7 / 0.3 and 0.3 * 0.49 / 0.51.
    // The early solves are asked for a tenth of the last change only, hence the margins.
    GridModel grid = blockModel(true, true, 500.0, straightCurve(500.0 * Mu0, 3.0));
    RunSettings settings;
    settings.errorTarget = 1e-6;
    RecordingReporter reporter;
    ASSERT_TRUE(runNonlinear(grid.model, settings, reporter));

    const std::string kinds = reporter.solveKinds();
    ASSERT_GE(kinds.size(), 5u);
    EXPECT_EQ(kinds.substr(0, 4), "LLLN");
    EXPECT_EQ(kinds.find('L', 3), std::string::npos) << kinds;
    EXPECT_EQ(reporter.statuses.front(), msg::StatusMontando);
    EXPECT_EQ(reporter.statuses.back(), msg::StatusConcluido);

    // The error is the largest change over the largest new potential: 100 % from zero, then
    // 0.21 / 0.51 and 0.147 / 0.657.
    ASSERT_GE(reporter.lines.size(), 4u);
    EXPECT_EQ(reporter.lines[0], "Passo : 1     Erro Máximo :         100 %");
    EXPECT_EQ(reporter.lines.size(), kinds.size());
    const std::vector<double> errors = lineErrors(reporter.lines);
    EXPECT_NEAR(errors[1], 41.2, 0.3);
    EXPECT_NEAR(errors[2], 22.4, 0.3);
    // The first Newton step's factor is 1 - 0.5 ||dv|| / ||v|| with v = 0.657 y, dv = 0.343 y:
    // v becomes 0.9105 y, a change of 0.2535 / 0.9105.
    EXPECT_NEAR(errors[3], 27.8, 0.3);
    // From then on the factor is capped at 0.75: each step removes three quarters of what is left.
    for (std::size_t i = 5; i < errors.size() && errors[i] > 1e-6; ++i)
        EXPECT_NEAR(errors[i] / errors[i - 1], 0.25, 0.05) << i;
}

TEST(NonlinearRun, NewtonIsAbandonedAfterSixteenStepsForGood)
{
    // An error target that cannot be reached: Newton runs 16 steps, then relaxed fixed-point
    // steps with factor 0.1 take over for the rest of the run, 0.05 from step 46 on.
    GridModel grid = blockModel(true, true, 500.0, straightCurve(500.0 * Mu0, 3.0));
    RunSettings settings;
    settings.errorTarget = 1e-14;
    settings.maxIterations = 60;
    RecordingReporter reporter;
    const RunResult run = runNonlinear(grid.model, settings, reporter);
    ASSERT_TRUE(run);
    EXPECT_EQ(run.nonlinearSteps, 61);
    EXPECT_EQ(reporter.solveKinds(), "LLL" + std::string(16, 'N') + std::string(42, 'L'));
    // The fallback re-assembles from the saved iterate before its first step.
    int doubleAssemblies = 0;
    for (std::size_t i = 1; i < reporter.statuses.size(); ++i)
        if (reporter.statuses[i] == msg::StatusMontando
            && reporter.statuses[i - 1] == msg::StatusMontando)
            ++doubleAssemblies;
    EXPECT_EQ(doubleAssemblies, 1);
    // Non-convergence is not a failure: the last iterate is stored with its error.
    EXPECT_EQ(grid.model.calculationKind, CalculationKind::Nonlinear);
    EXPECT_GT(grid.model.storedError, 1e-14);

    const std::vector<double> errors = lineErrors(reporter.lines); // errors[i]: step i + 1
    ASSERT_EQ(errors.size(), 61u);
    for (int step = 22; step <= 46; ++step)
        EXPECT_NEAR(errors[step - 1] / errors[step - 2], 0.9, 0.03) << step;
    for (int step = 48; step <= 61; ++step)
        EXPECT_NEAR(errors[step - 1] / errors[step - 2], 0.95, 0.02) << step;
}

TEST(NonlinearRun, IterationLimitOfOneRunsTwoSteps)
{
    GridModel grid = blockModel(true, true, 500.0, straightCurve(500.0 * Mu0, 3.0));
    RunSettings settings;
    settings.maxIterations = 1;
    RecordingReporter reporter;
    const RunResult run = runNonlinear(grid.model, settings, reporter);
    ASSERT_TRUE(run);
    EXPECT_EQ(run.nonlinearSteps, 2);
    EXPECT_EQ(reporter.solveKinds(), "LL");
    EXPECT_NEAR(grid.model.storedError, 0.21 / 0.51, 3e-3);
}

TEST(NonlinearRun, SaturatingCoreConvergesAndAStoredResultIsKept)
{
    GridModel grid = cCoreModel(4.0, 12.0);
    RunSettings settings;
    RecordingReporter reporter;
    const RunResult run = runNonlinear(grid.model, settings, reporter);
    ASSERT_TRUE(run) << run.status.message;
    EXPECT_LT(run.error, settings.errorTarget);
    const std::string kinds = reporter.solveKinds();
    EXPECT_EQ(kinds.substr(0, 3), "LLL");
    EXPECT_NE(kinds.find('N'), std::string::npos) << kinds;

    // Started again with its error already below the target, the run stores the same result
    // without a single step.
    const ModelState before = stateOf(grid.model);
    RecordingReporter again;
    const RunResult second = runNonlinear(grid.model, settings, again);
    ASSERT_TRUE(second);
    EXPECT_EQ(second.nonlinearSteps, 0);
    EXPECT_EQ(again.solveKinds(), "");
    const ModelState after = stateOf(grid.model);
    EXPECT_EQ(after.nodes, before.nodes);
    EXPECT_EQ(after.storedError, before.storedError);
}

TEST(NonlinearRun, SaturatingCoreReachesATightTargetInFewSteps)
{
    // Other meshes and currents than the reference's, from below the knee to deep saturation.
    struct Case {
        double cell;
        double current;
    };
    for (const Case c :
        { Case { 5.0, 4.0 }, Case { 4.0, 8.0 }, Case { 3.2, 16.0 }, Case { 5.0, 30.0 } }) {
        GridModel grid = cCoreModel(c.cell, c.current);
        RunSettings settings;
        settings.errorTarget = 0.0005;
        RecordingReporter reporter;
        const RunResult run = runNonlinear(grid.model, settings, reporter);
        ASSERT_TRUE(run) << run.status.message;
        EXPECT_LT(run.error, settings.errorTarget) << c.cell << " mm, " << c.current << " A/mm2";
        EXPECT_LE(run.nonlinearSteps, 25)
            << c.cell << " mm, " << c.current << " A/mm2 " << reporter.solveKinds();
    }
}

TEST(NonlinearRun, DirectSolverGivesTheConjugateGradientResult)
{
    GridModel iterative = cCoreModel(4.0, 12.0);
    GridModel direct = cCoreModel(4.0, 12.0);
    RunSettings settings;
    settings.errorTarget = 0.0005;
    RecordingReporter quiet;
    const RunResult cg = runNonlinear(iterative.model, settings, quiet);
    ASSERT_TRUE(cg);
    settings.method = linalg::SolverMethod::Direct;
    RecordingReporter reporter;
    const RunResult run = runNonlinear(direct.model, settings, reporter);
    ASSERT_TRUE(run) << run.status.message;
    EXPECT_LT(run.error, settings.errorTarget);
    EXPECT_EQ(reporter.solveKinds().substr(0, 3), "LLL");
    // Both stop within the target of the same answer: their potentials agree to about it.
    const double scale = largestMagnitude(iterative.model);
    for (std::size_t i = 1; i < direct.model.nodes.size(); ++i)
        ASSERT_NEAR(direct.model.nodes[i].value, iterative.model.nodes[i].value, 2e-3 * scale) << i;
}

TEST(NonlinearRun, SaturatingCoreFluxMatchesTheFiniteVolumeReference)
{
    // Reference: tests/data/ccore_reference.txt, written by bench/reference/run_ccore_fd.sh.
    std::ifstream in(std::string(TARVEX_TEST_DATA) + "/ccore_reference.txt");
    ASSERT_TRUE(in);
    double reference = 0.0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string tag, currentTag, fluxTag;
        double current = 0.0, flux = 0.0;
        if (words >> tag >> currentTag >> current >> fluxTag >> flux && tag == "extrapolated"
            && current == 12.0)
            reference = std::fabs(flux);
    }
    ASSERT_GT(reference, 0.0);

    GridModel grid = cCoreModel(2.0, 12.0);
    RunSettings settings;
    settings.errorTarget = 1e-3;
    RecordingReporter reporter;
    const RunResult run = runNonlinear(grid.model, settings, reporter);
    ASSERT_TRUE(run);
    const double flux = std::fabs(grid.value(40, 60) - grid.value(40, 50));
    EXPECT_NEAR(flux / reference, 1.0, 0.02)
        << flux << " against " << reference << " after " << run.nonlinearSteps << " steps";
    // Well into saturation: the same coil with a linear core of the initial permeability would
    // drive far more flux; the gap alone caps it near mu0 N I / g.
    EXPECT_GT(flux / 0.02, 1.6);
}

TEST(NonlinearRun, InterruptionAtAnyPointLeavesTheModelAsItWas)
{
    const materials::Curva steel = exampleSteel();
    for (bool afterLinear : { false, true }) {
        for (int stopAt : { 1, 2, 3, 5, 9, 40, 200 }) {
            GridModel grid = blockModel(true, true, 1000.0, steel);
            RunSettings settings;
            settings.errorTarget = 1e-5;
            if (afterLinear) {
                RecordingReporter quiet;
                ASSERT_TRUE(runLinear(grid.model, settings, quiet));
            }
            const ModelState before = stateOf(grid.model);
            RecordingReporter reporter(stopAt);
            const RunResult run = runNonlinear(grid.model, settings, reporter);
            ASSERT_EQ(run.end, RunEnd::Interrupted) << stopAt;
            EXPECT_EQ(reporter.statuses.back(), msg::CalculoInterrompido);
            EXPECT_TRUE(stateOf(grid.model) == before) << afterLinear << " " << stopAt;
        }
    }
}

TEST(NonlinearRun, RefusesAModelWhoseSystemDoesNotMatchItsNodes)
{
    GridModel grid = blockModel(true, true, 500.0, straightCurve(500.0 * Mu0, 3.0));
    grid.model.slaveCount = 1;
    grid.model.slaveMasters = { 0, grid.model.freeCount() + 5 };
    const ModelState before = stateOf(grid.model);
    RecordingReporter reporter;
    const RunResult run = runNonlinear(grid.model, RunSettings {}, reporter);
    EXPECT_EQ(run.end, RunEnd::Failed);
    EXPECT_EQ(run.status.message, msg::SistemaInconsistente);
    EXPECT_TRUE(stateOf(grid.model) == before);
}
