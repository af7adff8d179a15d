#include "solver/runs.h"

#include "common/messages.h"
#include "solver/assembly.h"
#include "solver/equipotentials.h"
#include "solver/linalg/complex_conjugate_gradient.h"
#include "solver/linalg/conjugate_gradient.h"
#include "solver/linalg/direct_solver.h"
#include "solver/solver_model.h"

#include <utility>

namespace tarvex::solver {

namespace {

/// Below this frequency (Hz) the run is magnetostatic.
constexpr double MinimumFrequency = 1e-30;

/// The imaginary parts of the slaves from their masters', as slavesFromMasters does for the
/// real parts.
void imaginarySlavesFromMasters(SolverModel& model)
{
    const int nm = model.freeCount();
    const double sign = symmetrySign(model);
    for (int k = 1; k <= model.slaveCount; ++k) {
        const auto master
            = static_cast<std::size_t>(model.slaveMasters[static_cast<std::size_t>(k)]);
        model.imaginaryNodes[static_cast<std::size_t>(nm + k)].value
            = sign * model.imaginaryNodes[master].value;
    }
}

bool consistentSlaves(const SolverModel& model)
{
    if (model.slaveCount < 0 || model.unknownCount() > model.nodeCount()
        || model.slaveMasters.size() < static_cast<std::size_t>(model.slaveCount) + 1)
        return false;
    for (int k = 1; k <= model.slaveCount; ++k) {
        const int master = model.slaveMasters[static_cast<std::size_t>(k)];
        if (master < 1 || master > model.freeCount())
            return false;
    }
    return true;
}

/// A direct solve that broke down has no iterate to store (a conjugate-gradient one keeps its
/// last).
bool directSolveHeld(const linalg::SolveResult& solved, const RunSettings& settings)
{
    return settings.method != linalg::SolverMethod::Direct
        || solved.end == linalg::SolveEnd::Converged;
}

} // namespace

RunResult runInducedCurrents(SolverModel& model, const RunSettings& settings, RunReporter& reporter)
{
    RunResult result;
    const int nm = model.freeCount();
    const auto n = static_cast<std::size_t>(nm);
    const double frequency = model.frequency;
    const bool complexRun = frequency > MinimumFrequency;
    if (complexRun && !model.conductive) {
        result.status = Status::failure(msg::SemCondutividade);
        return result;
    }
    if (!consistentSlaves(model)) {
        result.status = Status::failure(msg::SistemaInconsistente);
        return result;
    }
    reporter.status(msg::StatusEmProgresso);

    // The re-assembly after a non-linear result replaces the system; an interrupted run gives the
    // old one back, so that the model stays as it was.
    linalg::SparseSymMatrix savedMatrix;
    linalg::RealVector savedRhs;
    const bool reassembled = model.calculationKind == CalculationKind::Nonlinear;
    if (reassembled) {
        savedMatrix = model.matrix;
        savedRhs = model.rhs;
        const AssemblyResult assembly = assembleLinear(model);
        if (!assembly) {
            model.matrix = std::move(savedMatrix);
            model.rhs = std::move(savedRhs);
            result.status = assembly.status;
            result.elementOutsideRegions = assembly.elementOutsideRegions;
            return result;
        }
    }
    auto giveBack = [&]() {
        if (reassembled) {
            model.matrix = std::move(savedMatrix);
            model.rhs = std::move(savedRhs);
        }
    };
    if (model.matrix.order() != nm || model.rhs.count() != n
        || (complexRun && model.conductivityMatrix.order() != nm)) {
        giveBack();
        result.status = Status::failure(msg::SistemaInconsistente);
        return result;
    }

    linalg::SolveResult solved;
    if (complexRun) {
        // The conductivity terms hold 2 pi sigma times the mass matrix: the factor f makes them
        // j omega sigma.
        linalg::ComplexSolverRequest request;
        request.matrix
            = linalg::buildComplexMatrix(model.matrix, model.conductivityMatrix, frequency);
        request.rhs = linalg::buildComplexRhs(model.rhs, model.conductivityRhs, frequency);
        linalg::ComplexVector solution(n);
        request.solution = &solution;
        request.progress = &reporter;
        request.tolerance = settings.linearTolerance;
        if (settings.method == linalg::SolverMethod::Direct)
            solved = linalg::solveComplexDirect(request.matrix, request.rhs, solution, &reporter);
        else
            solved = linalg::solveComplexConjugateGradient(std::move(request));
        if (solved.end == linalg::SolveEnd::Interrupted) {
            giveBack();
            reporter.status(msg::CalculoInterrompido);
            result.end = RunEnd::Interrupted;
            return result;
        }
        if (!directSolveHeld(solved, settings)) {
            giveBack();
            result.status = Status::failure(msg::FatoracaoFalhou);
            return result;
        }
        if (model.imaginaryNodes.size() != model.nodes.size())
            model.imaginaryNodes.resize(model.nodes.size());
        for (std::size_t i = 1; i <= n; ++i) {
            model.nodes[i].value = solution[i].real();
            model.imaginaryNodes[i].value = solution[i].imag();
        }
    } else {
        linalg::RealVector solution(n);
        if (settings.method == linalg::SolverMethod::Direct) {
            linalg::DirectSolver direct;
            solved = direct.solve(model.matrix, model.rhs, solution, &reporter);
        } else {
            linalg::SolverRequest request;
            request.matrix = model.matrix.compacted();
            request.rhs = model.rhs;
            request.solution = &solution;
            request.progress = &reporter;
            request.tolerance = settings.linearTolerance;
            solved = linalg::solveConjugateGradient(std::move(request));
        }
        if (solved.end == linalg::SolveEnd::Interrupted) {
            giveBack();
            reporter.status(msg::CalculoInterrompido);
            result.end = RunEnd::Interrupted;
            return result;
        }
        if (!directSolveHeld(solved, settings)) {
            giveBack();
            result.status = Status::failure(msg::FatoracaoFalhou);
            return result;
        }
        for (std::size_t i = 1; i <= n; ++i)
            model.nodes[i].value = solution[i];
    }
    result.solverIterations = solved.iterations;
    result.relativeResidual = solved.relativeResidual;

    slavesFromMasters(model);
    if (complexRun)
        imaginarySlavesFromMasters(model);
    traceEquipotentials(model, settings.equipotentialCount);
    model.calculationKind = CalculationKind::InducedCurrents;
    reporter.status(msg::StatusConcluido);
    result.end = RunEnd::Finished;
    result.status = Status::success();
    return result;
}

} // namespace tarvex::solver
