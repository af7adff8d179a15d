#include "common/messages.h"
#include "solver/assembly.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include "core/solver/run_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tarvex;
using namespace tarvex::solver;
using tarvex::runtest::GridModel;
using tarvex::runtest::RecordingReporter;
using tarvex::runtest::rectangle;

namespace {

const double Pi = 4.0 * std::atan(1.0);
const double Mu0 = 4e-7 * Pi;
constexpr double Copper = 5.8e7;
constexpr double SurfacePotential = 1e-3;

/// A conducting strip 60 mm deep and 2 mm high, its surface x = 0 held at a potential, its other
/// sides free: a slice of a half-space driven from its surface.
GridModel slab(double sigma, double frequency)
{
    const std::vector<geometry::Ponto> box = rectangle(0, 0, 60, 2);
    GridModel g = runtest::buildGridModel({ 0, 0, 0.5, 0.5, 120, 4 },
        { { box }, { box, [=](problem::Regiao& r) { r.condutividade = sigma; } } },
        [](int i, int) -> std::optional<double> {
            if (i == 0)
                return SurfacePotential;
            return std::nullopt;
        });
    g.model.frequency = frequency;
    return g;
}

double modulus(const GridModel& g, int i, int j)
{
    return std::hypot(g.value(i, j), g.imaginary(i, j));
}

bool sameNodes(const std::vector<MeshNode>& a, const std::vector<MeshNode>& b)
{
    return a == b;
}

} // namespace

TEST(InducedCurrents, SkinEffectDecaysWithTheSkinDepth)
{
    const double f = 50.0;
    GridModel g = slab(Copper, f);
    ASSERT_TRUE(g.model.conductive);
    RunSettings settings;
    settings.linearTolerance = 1e-10;
    RecordingReporter reporter;
    const RunResult run = runInducedCurrents(g.model, settings, reporter);
    ASSERT_TRUE(run) << run.status.message;
    EXPECT_EQ(g.model.calculationKind, CalculationKind::InducedCurrents);
    EXPECT_EQ(reporter.statuses.front(), msg::StatusEmProgresso);
    EXPECT_EQ(reporter.statuses.back(), msg::StatusConcluido);
    EXPECT_FALSE(reporter.positions.empty());

    const double omega = 2 * Pi * f;
    const double delta = std::sqrt(2.0 / (omega * Mu0 * Copper)) * 1000.0; // mm, about 9.3
    // |J| = 2 pi f sigma |A|: its decay is that of |A|, exp(-x / delta); the phase turns by
    // x / delta (its sign depends on the time convention).
    const double surface = 2 * Pi * f * Copper * modulus(g, 0, 2) / 1e6;
    EXPECT_NEAR(surface, 2 * Pi * f * Copper * SurfacePotential / 1e6, 1e-9);
    for (int i = 4; i <= 60; i += 4) {
        const double x = 0.5 * i;
        for (int j = 0; j <= 4; ++j) {
            const double j_ = 2 * Pi * f * Copper * modulus(g, i, j) / 1e6;
            EXPECT_NEAR(j_ / surface / std::exp(-x / delta), 1.0, 0.03) << "x " << x;
        }
        if (x / delta < 3.0) { // beyond, the angle wraps round
            const double phase = std::fabs(std::atan2(g.imaginary(i, 2), g.value(i, 2)));
            EXPECT_NEAR(phase, x / delta, 0.03 * x / delta + 1e-3) << "x " << x;
        }
    }
}

TEST(InducedCurrents, DirectSolutionAgreesWithTheConjugateGradients)
{
    GridModel iterative = slab(Copper, 50.0);
    GridModel direct = slab(Copper, 50.0);
    RunSettings settings;
    settings.linearTolerance = 1e-10;
    RecordingReporter quiet;
    ASSERT_TRUE(runInducedCurrents(iterative.model, settings, quiet));
    settings.method = linalg::SolverMethod::Direct;
    const RunResult run = runInducedCurrents(direct.model, settings, quiet);
    ASSERT_TRUE(run) << run.status.message;
    EXPECT_EQ(run.solverIterations, 1);
    EXPECT_LT(run.relativeResidual, 1e-10);
    for (int i = 0; i <= 120; i += 8)
        for (int j = 0; j <= 4; ++j) {
            EXPECT_NEAR(direct.value(i, j), iterative.value(i, j), 1e-8 * SurfacePotential);
            EXPECT_NEAR(direct.imaginary(i, j), iterative.imaginary(i, j), 1e-8 * SurfacePotential);
        }
}

TEST(InducedCurrents, ZeroFrequencyIsTheMagnetostaticRunAndKeepsTheImaginaryParts)
{
    GridModel g = slab(Copper, 0.0);
    for (std::size_t i = 1; i < g.model.imaginaryNodes.size(); ++i)
        g.model.imaginaryNodes[i].value = 7.0;
    const std::vector<MeshNode> imaginary = g.model.imaginaryNodes;
    RunSettings settings;
    settings.linearTolerance = 1e-10;
    RecordingReporter reporter;
    ASSERT_TRUE(runInducedCurrents(g.model, settings, reporter));
    EXPECT_EQ(g.model.calculationKind, CalculationKind::InducedCurrents);
    EXPECT_TRUE(sameNodes(g.model.imaginaryNodes, imaginary));
    // Without induction the whole strip takes the surface potential.
    for (int i = 0; i <= 120; i += 10)
        EXPECT_NEAR(g.value(i, 1), SurfacePotential, 1e-9);
}

TEST(InducedCurrents, NegligibleConductivityIsNoConductor)
{
    GridModel g = slab(1e-31, 50.0);
    EXPECT_FALSE(g.model.conductive);
    const std::vector<MeshNode> nodes = g.model.nodes;
    RecordingReporter reporter;
    const RunResult run = runInducedCurrents(g.model, RunSettings {}, reporter);
    EXPECT_EQ(run.end, RunEnd::Failed);
    EXPECT_EQ(run.status.message, msg::SemCondutividade);
    EXPECT_TRUE(sameNodes(g.model.nodes, nodes));
    EXPECT_EQ(g.model.calculationKind, CalculationKind::NotCalculated);
}

TEST(InducedCurrents, ReassemblesAfterANonlinearResult)
{
    RunSettings settings;
    settings.linearTolerance = 1e-10;
    GridModel fresh = slab(Copper, 50.0);
    RecordingReporter quiet;
    ASSERT_TRUE(runInducedCurrents(fresh.model, settings, quiet));

    // A non-linear result leaves its own system behind; here a visibly different one.
    GridModel g = slab(Copper, 50.0);
    for (int s = 1; s <= g.model.matrix.slotCount(); ++s)
        g.model.matrix.value(s) *= 3.0;
    g.model.calculationKind = CalculationKind::Nonlinear;
    ASSERT_TRUE(runInducedCurrents(g.model, settings, quiet));
    for (std::size_t i = 1; i < g.model.nodes.size(); ++i) {
        EXPECT_NEAR(g.model.nodes[i].value, fresh.model.nodes[i].value, 1e-12);
        EXPECT_NEAR(g.model.imaginaryNodes[i].value, fresh.model.imaginaryNodes[i].value, 1e-12);
    }
}

TEST(InducedCurrents, InterruptionLeavesEverythingUnchanged)
{
    for (const CalculationKind kind :
        { CalculationKind::NotCalculated, CalculationKind::Nonlinear }) {
        for (double frequency : { 50.0, 0.0 }) {
            for (int stopAt : { 1, 4 }) {
                GridModel g = slab(Copper, frequency);
                g.model.calculationKind = kind;
                const std::vector<MeshNode> nodes = g.model.nodes;
                const std::vector<MeshNode> imaginary = g.model.imaginaryNodes;
                const std::vector<double> values = g.model.matrix.values();
                RunSettings settings;
                settings.linearTolerance = 1e-12;
                RecordingReporter reporter(stopAt);
                const RunResult run = runInducedCurrents(g.model, settings, reporter);
                ASSERT_EQ(run.end, RunEnd::Interrupted);
                EXPECT_EQ(reporter.statuses.back(), msg::CalculoInterrompido);
                EXPECT_TRUE(sameNodes(g.model.nodes, nodes));
                EXPECT_TRUE(sameNodes(g.model.imaginaryNodes, imaginary));
                EXPECT_EQ(g.model.matrix.values(), values);
                EXPECT_EQ(g.model.calculationKind, kind);
                EXPECT_FALSE(g.model.equipotentialsTraced);
            }
        }
    }
}
