#include "common/messages.h"
#include "solver/assembly.h"
#include "solver/equipotentials.h"
#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using tarvex::linalg::RealVector;
using tarvex::linalg::SparseSymMatrix;
using tarvex::solver::MeshElement;
using tarvex::solver::MeshNode;
using tarvex::solver::RunEnd;
using tarvex::solver::RunSettings;
using tarvex::solver::SolverModel;
namespace msg = tarvex::msg;

class RecordingReporter : public tarvex::solver::RunReporter {
public:
    void status(std::string_view text) override { statuses.emplace_back(text); }
    void percent(int value) override { percents.push_back(value); }
    bool goOn() override
    {
        ++asked;
        return answer;
    }

    std::vector<std::string> statuses;
    std::vector<int> percents;
    int asked = 0;
    bool answer = true;
};

/**
 * n free nodes on a line (x = 1..n) between two imposed ends, with the negative definite
 * second-difference matrix (as the assembly's sign gives) and the right-hand side whose solution
 * is node i = i.
 */
SolverModel chain(int n)
{
    SolverModel m;
    m.nodes.assign(1, MeshNode {});
    for (int i = 1; i <= n; ++i)
        m.nodes.push_back({ double(i), 0.0, 0.0 });
    m.nodes.push_back({ 0.0, 0.0, 0.0 });
    m.nodes.push_back({ double(n + 1), 0.0, double(n + 1) });
    m.freeNodes = n;
    m.matrix = SparseSymMatrix::withSlots(n, 4);
    for (int i = 1; i <= n; ++i) {
        tarvex::linalg::sparseAdd(m.matrix, i, i, tarvex::linalg::StoreValue, -2.0);
        if (i > 1)
            tarvex::linalg::sparseAdd(m.matrix, i, i - 1, tarvex::linalg::StoreValue, 1.0);
    }
    RealVector x(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        x[static_cast<std::size_t>(i)] = i;
    m.rhs = tarvex::linalg::multiplySymmetric(m.matrix, x);
    return m;
}

RunSettings tight()
{
    RunSettings s;
    s.linearTolerance = 1e-13;
    return s;
}

TEST(RunLinear, StoresTheSolutionRetracesAndReportsTheRun)
{
    SolverModel m = chain(20);
    const std::vector<double> matrixBefore = m.matrix.values();
    m.nodes[21].y = 1.0;
    m.elements.pushBack({ 1, 5, 21 }); // one triangle, so that lines can be traced
    RunSettings settings = tight();
    settings.equipotentialCount = 7;
    RecordingReporter reporter;

    const auto result = tarvex::solver::runLinear(m, settings, reporter);
    ASSERT_EQ(result.end, RunEnd::Finished);
    for (int i = 1; i <= 20; ++i)
        EXPECT_NEAR(m.nodes[i].value, i, 1e-9) << i;
    EXPECT_EQ(m.nodes[21].value, 0.0);
    EXPECT_EQ(m.nodes[22].value, 21.0);
    EXPECT_EQ(m.calculationKind, tarvex::solver::CalculationKind::Linear);
    EXPECT_GT(result.solverIterations, 1);
    EXPECT_LT(result.relativeResidual, 1e-13);
    EXPECT_EQ(reporter.statuses,
        (std::vector<std::string> {
            std::string(msg::StatusEmProgresso), std::string(msg::StatusConcluido) }));
    EXPECT_FALSE(reporter.percents.empty());
    EXPECT_EQ(m.matrix.values(), matrixBefore) << "the solver works on a copy";

    EXPECT_TRUE(m.equipotentialsTraced);
    SolverModel expected = m;
    tarvex::solver::traceEquipotentials(expected, 7);
    EXPECT_EQ(m.equipotentialSegments, expected.equipotentialSegments);
    EXPECT_FALSE(m.equipotentialSegments.empty());
}

TEST(RunLinear, AnIterateAtTheIterationLimitIsStoredAsTheResult)
{
    SolverModel m = chain(12);
    RunSettings settings;
    settings.linearTolerance = 0.0; // never reached
    RecordingReporter reporter;
    const auto result = tarvex::solver::runLinear(m, settings, reporter);
    EXPECT_EQ(result.end, RunEnd::Finished);
    EXPECT_EQ(m.calculationKind, tarvex::solver::CalculationKind::Linear);
    for (int i = 1; i <= 12; ++i)
        EXPECT_NEAR(m.nodes[i].value, i, 1e-6);
}

TEST(RunLinear, SlavesTakeTheirMastersValueNegatedUnderAntiSymmetry)
{
    // Node 1 interior, node 2 master, node 3 its slave, node 4 imposed.
    for (const int kind : { 1, 2 }) {
        SolverModel m;
        m.nodes = { MeshNode {}, { 0, 0, 0 }, { 1, 0, 2 }, { 1, 1, 2 }, { 2, 0, 9 } };
        m.freeNodes = 2;
        m.slaveCount = 1;
        m.slaveMasters = { 0, 2 };
        m.symmetryKind = static_cast<tarvex::problem::SymmetryKind>(kind);
        m.matrix = SparseSymMatrix::withSlots(2, 2);
        tarvex::linalg::sparseAdd(m.matrix, 1, 1, tarvex::linalg::StoreValue, -2.0);
        tarvex::linalg::sparseAdd(m.matrix, 2, 2, tarvex::linalg::StoreValue, -2.0);
        tarvex::linalg::sparseAdd(m.matrix, 2, 1, tarvex::linalg::StoreValue, 1.0);
        m.rhs = RealVector(2);
        m.rhs[1] = -2.0 * 1 + 3; // solution (1, 3)
        m.rhs[2] = 1 - 2.0 * 3;
        RecordingReporter reporter;
        ASSERT_EQ(tarvex::solver::runLinear(m, tight(), reporter).end, RunEnd::Finished);
        EXPECT_NEAR(m.nodes[1].value, 1.0, 1e-9);
        EXPECT_NEAR(m.nodes[2].value, 3.0, 1e-9);
        EXPECT_NEAR(m.nodes[3].value, kind == 2 ? -3.0 : 3.0, 1e-9) << "kind " << kind;
        EXPECT_EQ(m.nodes[4].value, 9.0);
    }
}

TEST(RunLinear, AnInterruptedRunLeavesThePreviousResults)
{
    SolverModel m = chain(30);
    for (std::size_t i = 1; i < m.nodes.size(); ++i)
        m.nodes[i].value = -5.0;
    m.calculationKind = tarvex::solver::CalculationKind::InducedCurrents;
    m.equipotentialSegments.pushFront({ 1, 2, 3, 4 });
    m.equipotentialsTraced = true;
    const SolverModel before = m;
    RecordingReporter reporter;
    reporter.answer = false;

    const auto result = tarvex::solver::runLinear(m, tight(), reporter);
    EXPECT_EQ(result.end, RunEnd::Interrupted);
    EXPECT_EQ(reporter.asked, 1);
    EXPECT_EQ(reporter.statuses.back(), msg::CalculoInterrompido);
    EXPECT_EQ(m.nodes, before.nodes);
    EXPECT_EQ(m.calculationKind, tarvex::solver::CalculationKind::InducedCurrents);
    EXPECT_EQ(m.equipotentialSegments, before.equipotentialSegments);
}

TEST(RunLinear, AModelWithEveryNodeImposedFinishesWithItsImposedValues)
{
    SolverModel m;
    m.nodes = { MeshNode {}, { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 1 }, { 0, 1, 1 } };
    m.elements.pushBack({ 1, 3, 2 });
    m.elements.pushBack({ 1, 4, 3 });
    RecordingReporter reporter;
    RunSettings settings;
    settings.equipotentialCount = 2;
    const auto result = tarvex::solver::runLinear(m, settings, reporter);
    EXPECT_EQ(result.end, RunEnd::Finished);
    EXPECT_EQ(m.calculationKind, tarvex::solver::CalculationKind::Linear);
    EXPECT_EQ(m.nodes[3].value, 1.0);
    EXPECT_EQ(m.equipotentialSegments.size(), 2u) << "the bottom and top sides";
}

TEST(RunLinear, ASystemThatDoesNotFitTheNodesIsRefused)
{
    SolverModel m = chain(5);
    m.rhs = RealVector(4);
    RecordingReporter reporter;
    const auto result = tarvex::solver::runLinear(m, RunSettings {}, reporter);
    EXPECT_EQ(result.end, RunEnd::Failed);
    EXPECT_EQ(result.status.message, msg::SistemaInconsistente);
    EXPECT_EQ(m.calculationKind, tarvex::solver::CalculationKind::NotCalculated);

    SolverModel few = chain(5);
    few.nodes.resize(4); // fewer nodes than rows
    EXPECT_EQ(tarvex::solver::runLinear(few, RunSettings {}, reporter).end, RunEnd::Failed);
}

/**
 * A 3 × 3 square of unit cells in one vacuum region; the four inner nodes are free (1..4), the
 * twelve on the boundary are held at their x coordinate. The exact potential is x, which linear
 * elements reproduce, whatever the signs of the assembly.
 */
SolverModel square()
{
    SolverModel m;
    m.nodes.assign(1, MeshNode {});
    std::vector<int> number(16, 0);
    int next = 1;
    for (int pass = 0; pass < 2; ++pass)
        for (int j = 0; j <= 3; ++j)
            for (int i = 0; i <= 3; ++i) {
                const bool inner = i > 0 && i < 3 && j > 0 && j < 3;
                if (inner != (pass == 0))
                    continue;
                number[static_cast<std::size_t>(j * 4 + i)] = next++;
                m.nodes.push_back({ double(i), double(j), inner ? 0.0 : double(i) });
            }
    m.freeNodes = 4;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            const int a = number[static_cast<std::size_t>(j * 4 + i)];
            const int b = number[static_cast<std::size_t>(j * 4 + i + 1)];
            const int c = number[static_cast<std::size_t>((j + 1) * 4 + i)];
            const int d = number[static_cast<std::size_t>((j + 1) * 4 + i + 1)];
            m.elements.pushBack({ a, c, b }); // clockwise
            m.elements.pushBack({ b, c, d });
        }
    tarvex::problem::Regiao outline;
    const tarvex::problem::Ponto corners[4] = { { 0, 0 }, { 3, 0 }, { 3, 3 }, { 0, 3 } };
    for (int k = 0; k < 4; ++k)
        outline.segmentos.pushBack(
            tarvex::problem::SegmentoContorno::reta(corners[k], corners[(k + 1) % 4]));
    m.regions.pushBack(outline);
    m.regions.pushBack(outline);
    m.derivarRegioes();
    return m;
}

/// An identity system with the right-hand side 7: a matrix no assembly of `square` gives.
void replaceByIdentity(SolverModel& m)
{
    m.matrix = SparseSymMatrix::withSlots(4, 1);
    for (int i = 1; i <= 4; ++i)
        tarvex::linalg::sparseAdd(m.matrix, i, i, tarvex::linalg::StoreValue, 1.0);
    m.rhs = RealVector(4);
    m.rhs.fill(7.0);
}

TEST(RunLinear, DirectSolveOfASingularSystemStoresNothingAndSaysSo)
{
    SolverModel m = chain(2);
    tarvex::linalg::sparseAdd(m.matrix, 1, 1, tarvex::linalg::StoreValue, -1.0);
    tarvex::linalg::sparseAdd(m.matrix, 2, 2, tarvex::linalg::StoreValue, -1.0);
    const std::vector<MeshNode> before = m.nodes;
    RunSettings settings;
    settings.method = tarvex::linalg::SolverMethod::Direct;
    RecordingReporter reporter;
    const tarvex::solver::RunResult run = tarvex::solver::runLinear(m, settings, reporter);
    EXPECT_EQ(run.end, RunEnd::Failed);
    EXPECT_EQ(run.status.message, tarvex::msg::FatoracaoFalhou);
    EXPECT_EQ(m.nodes, before);
    EXPECT_EQ(m.calculationKind, tarvex::solver::CalculationKind::NotCalculated);

    // The same model made sound again is solved directly to its exact answer.
    tarvex::linalg::sparseAdd(m.matrix, 1, 1, tarvex::linalg::StoreValue, -2.0);
    tarvex::linalg::sparseAdd(m.matrix, 2, 2, tarvex::linalg::StoreValue, -2.0);
    m.rhs = tarvex::linalg::multiplySymmetric(m.matrix, RealVector(2));
    m.rhs[1] = 0.0;
    m.rhs[2] = -3.0;
    ASSERT_TRUE(tarvex::solver::runLinear(m, settings, reporter));
    EXPECT_NEAR(m.nodes[1].value, 1.0, 1e-14);
    EXPECT_NEAR(m.nodes[2].value, 2.0, 1e-14);
}

TEST(RunLinear, ReassemblesAfterANonlinearResultOnly)
{
    SolverModel m = square();
    ASSERT_TRUE(tarvex::solver::assembleLinear(m).status.ok);
    tarvex::solver::NoRunReporter quiet;
    ASSERT_EQ(tarvex::solver::runLinear(m, tight(), quiet).end, RunEnd::Finished);
    for (int k = 1; k <= 4; ++k)
        EXPECT_NEAR(m.nodes[k].value, m.nodes[k].x, 1e-9) << k;

    // After a linear result the stored system is used as it stands...
    replaceByIdentity(m);
    ASSERT_EQ(tarvex::solver::runLinear(m, tight(), quiet).end, RunEnd::Finished);
    for (int k = 1; k <= 4; ++k)
        EXPECT_NEAR(m.nodes[k].value, 7.0, 1e-9) << k;

    // ...after a non-linear one it is assembled again from the mesh.
    replaceByIdentity(m);
    m.calculationKind = tarvex::solver::CalculationKind::Nonlinear;
    ASSERT_EQ(tarvex::solver::runLinear(m, tight(), quiet).end, RunEnd::Finished);
    for (int k = 1; k <= 4; ++k)
        EXPECT_NEAR(m.nodes[k].value, m.nodes[k].x, 1e-9) << k;
    EXPECT_EQ(m.matrix.order(), 4);
}

TEST(SlavesFromMasters, ANumberingOutsideTheNodesIsLeftAlone)
{
    SolverModel m;
    m.nodes = { MeshNode {}, { 0, 0, 4 }, { 1, 0, 0 } };
    m.freeNodes = 1;
    m.slaveCount = 3; // more slaves than the list and the nodes hold
    m.slaveMasters = { 0, 1, 99 };
    m.symmetryKind = tarvex::problem::SymmetryKind::AntiSymmetry;
    tarvex::solver::slavesFromMasters(m);
    EXPECT_EQ(m.nodes[2].value, -4.0);
    EXPECT_EQ(m.nodes.size(), 3u);
}

TEST(MaxRelativeChange, LargestChangeOverLargestNewPotential)
{
    RealVector a(4), b(4);
    a[1] = 1e-9;
    b[1] = 1e-12; // a node by the zero boundary: a huge own quotient, a tiny change
    a[2] = 0.0;
    b[2] = 0.0;
    a[3] = -3.0;
    b[3] = -2.0; // the largest change, 1
    a[4] = 5.0;
    b[4] = 5.5; // the largest new potential, 5
    EXPECT_NEAR(tarvex::solver::maxRelativeChange(a, b), 0.2, 1e-15);
    // Measured against the new iterate: the change from zero is 100 %, not infinite.
    RealVector zero(4);
    EXPECT_NEAR(tarvex::solver::maxRelativeChange(a, zero), 1.0, 1e-15);
    // Nothing changed (a model without sources stays at zero): converged, not undefined.
    EXPECT_EQ(tarvex::solver::maxRelativeChange(zero, zero), 0.0);
    EXPECT_EQ(tarvex::solver::maxRelativeChange(zero, b), std::numeric_limits<double>::infinity());
    RealVector shorter(2); // only the entries both vectors have are compared
    shorter.fill(1.0);
    EXPECT_NEAR(tarvex::solver::maxRelativeChange(a, shorter) * 1e-9, 1.0, 1e-12);
}

} // namespace
