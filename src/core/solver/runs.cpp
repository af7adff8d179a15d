#include "solver/runs.h"

#include "common/messages.h"
#include "solver/assembly.h"
#include "solver/equipotentials.h"
#include "solver/linalg/conjugate_gradient.h"
#include "solver/linalg/direct_solver.h"
#include "solver/linalg/real_vector.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace tarvex::solver {

namespace {

/// The system can be solved into the nodes: one right-hand side entry per row, and a node for
/// every row. A model read from a file always passes; a damaged or hand-made one may not.
bool systemFitsNodes(const SolverModel& model)
{
    const int order = model.matrix.order();
    return order >= 0 && model.rhs.count() == static_cast<std::size_t>(order)
        && order <= model.nodeCount();
}

RunResult failed(std::string_view message)
{
    RunResult result;
    result.end = RunEnd::Failed;
    result.status = Status::failure(message);
    return result;
}

} // namespace

void slavesFromMasters(SolverModel& model)
{
    if (model.symmetryKind != problem::SymmetryKind::Symmetry
        && model.symmetryKind != problem::SymmetryKind::AntiSymmetry)
        return;
    const double sign = symmetrySign(model);
    const int nodeCount = model.nodeCount();
    const int slaves
        = std::min<int>(model.slaveCount, static_cast<int>(model.slaveMasters.size()) - 1);
    for (int k = 1; k <= slaves; ++k) {
        const int slave = model.freeCount() + k;
        const int master = model.slaveMasters[static_cast<std::size_t>(k)];
        // A numbering that points outside the nodes is left alone rather than read past the end.
        if (slave < 1 || slave > nodeCount || master < 1 || master > nodeCount)
            continue;
        model.nodes[static_cast<std::size_t>(slave)].value
            = sign * model.nodes[static_cast<std::size_t>(master)].value;
    }
}

double maxRelativeChange(const linalg::RealVector& a, const linalg::RealVector& b)
{
    // The change of each node is measured against the largest potential of the new iterate, not
    // against the node's own value: nodes beside a zero-potential boundary have tiny values whose
    // relative change says nothing about the field, and would otherwise dominate the measure.
    const std::size_t n = std::min(a.count(), b.count());
    double largestChange = 0.0;
    double largestValue = 0.0;
    for (std::size_t i = 1; i <= n; ++i) {
        largestChange = std::max(largestChange, std::fabs(a[i] - b[i]));
        largestValue = std::max(largestValue, std::fabs(a[i]));
    }
    if (largestChange == 0.0)
        return 0.0;
    if (largestValue == 0.0)
        return std::numeric_limits<double>::infinity();
    return largestChange / largestValue;
}

RunResult runLinear(SolverModel& model, const RunSettings& settings, RunReporter& reporter)
{
    reporter.status(msg::StatusEmProgresso);

    // A non-linear run leaves its last re-assembled (non-linear) matrix behind.
    if (model.calculationKind == CalculationKind::Nonlinear) {
        const AssemblyResult assembled = assembleLinear(model);
        if (!assembled) {
            RunResult result;
            result.end = RunEnd::Failed;
            result.status = assembled.status;
            result.elementOutsideRegions = assembled.elementOutsideRegions;
            return result;
        }
    }
    if (!systemFitsNodes(model))
        return failed(msg::SistemaInconsistente);

    const int order = model.matrix.order();
    linalg::RealVector solution(static_cast<std::size_t>(order));
    linalg::SolveResult solved;
    if (settings.method == linalg::SolverMethod::Direct) {
        linalg::DirectSolver direct;
        solved = direct.solve(model.matrix, model.rhs, solution, &reporter);
    } else {
        linalg::SolverRequest request;
        // The solver scales its matrix in place: it works on a copy without the free slots.
        request.matrix = model.matrix.compacted();
        request.rhs = model.rhs;
        request.solution = &solution;
        request.progress = &reporter;
        request.tolerance = settings.linearTolerance;
        solved = linalg::solveConjugateGradient(std::move(request));
    }

    RunResult result;
    result.solverIterations = solved.iterations;
    result.relativeResidual = solved.relativeResidual;
    if (solved.end == linalg::SolveEnd::Interrupted) {
        reporter.status(msg::CalculoInterrompido);
        result.end = RunEnd::Interrupted;
        return result;
    }
    if (solved.end == linalg::SolveEnd::BadRequest)
        return failed(msg::SistemaInconsistente);
    // A direct solve that breaks down has no iterate to offer; nothing is stored.
    if (solved.end == linalg::SolveEnd::Breakdown
        && settings.method == linalg::SolverMethod::Direct)
        return failed(msg::FatoracaoFalhou);

    // Convergence is not asked for: an iterate at the iteration limit is the result.
    for (int i = 1; i <= order; ++i)
        model.nodes[static_cast<std::size_t>(i)].value = solution[static_cast<std::size_t>(i)];
    slavesFromMasters(model);
    traceEquipotentials(model, settings.equipotentialCount);
    model.calculationKind = CalculationKind::Linear;
    // Lines of an earlier induced-current result no longer belong to these values.
    model.inducedLinesTraced = false;
    reporter.status(msg::StatusConcluido);
    result.end = RunEnd::Finished;
    return result;
}

} // namespace tarvex::solver
