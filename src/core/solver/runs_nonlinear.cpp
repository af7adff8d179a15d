#include "solver/runs.h"

#include "common/messages.h"
#include "solver/assembly.h"
#include "solver/equipotentials.h"
#include "solver/linalg/conjugate_gradient.h"
#include "solver/linalg/direct_solver.h"
#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/solver_model.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace tarvex::solver {

namespace {

/// The non-linear dialog has no progress bar: its solves only ask whether to go on.
class ContinueFlagOnly final : public Progress {
public:
    explicit ContinueFlagOnly(RunReporter& reporter)
        : m_reporter(reporter)
    {
    }
    void status(std::string_view) override { }
    void percent(int) override { }
    bool goOn() override { return m_reporter.goOn(); }

private:
    RunReporter& m_reporter;
};

/**
 * What the iteration changes in the model before it has a result: the system (re-assembled at
 * every step) and the slaves' values (the assembly reads them from the node records). An
 * interrupted or failed run puts them back, so the model is exactly as it was before the run and a
 * later linear run does not solve a system assembled for some intermediate iterate.
 */
class ModelSnapshot {
public:
    explicit ModelSnapshot(const SolverModel& model)
        : m_matrix(model.matrix)
        , m_rhs(model.rhs)
    {
        const auto first = static_cast<std::size_t>(model.freeCount()) + 1;
        const auto last = static_cast<std::size_t>(model.unknownCount());
        for (std::size_t i = first; i <= last && i < model.nodes.size(); ++i)
            m_slaveValues.push_back(model.nodes[i].value);
    }

    void restore(SolverModel& model)
    {
        model.matrix = std::move(m_matrix);
        model.rhs = std::move(m_rhs);
        const auto first = static_cast<std::size_t>(model.freeCount()) + 1;
        for (std::size_t k = 0; k < m_slaveValues.size(); ++k)
            model.nodes[first + k].value = m_slaveValues[k];
    }

private:
    linalg::SparseSymMatrix m_matrix;
    linalg::RealVector m_rhs;
    std::vector<double> m_slaveValues;
};

/// Slave node values from the masters' values in an iterate (negated for anti-symmetry).
void slavesFromIterate(SolverModel& model, const linalg::RealVector& v)
{
    const int nm = model.freeCount();
    const double sign = symmetrySign(model);
    for (int k = 1; k <= model.slaveCount; ++k) {
        const int master = model.slaveMasters[static_cast<std::size_t>(k)];
        const double value
            = master >= 1 && master <= nm ? v[static_cast<std::size_t>(master)] : 0.0;
        model.nodes[static_cast<std::size_t>(nm + k)].value = sign * value;
    }
}

bool consistentModel(const SolverModel& model)
{
    const int nm = model.freeCount();
    if (nm < 0 || model.unknownCount() > model.nodeCount() || model.slaveCount < 0
        || model.slaveMasters.size() < static_cast<std::size_t>(model.slaveCount) + 1)
        return false;
    for (int k = 1; k <= model.slaveCount; ++k) {
        const int master = model.slaveMasters[static_cast<std::size_t>(k)];
        if (master < 1 || master > nm)
            return false;
    }
    return true;
}

RunResult failedAssembly(const AssemblyResult& assembly)
{
    RunResult result;
    result.end = RunEnd::Failed;
    result.status = assembly.status;
    result.elementOutsideRegions = assembly.elementOutsideRegions;
    return result;
}

} // namespace

RunResult runNonlinear(SolverModel& model, const RunSettings& settings, RunReporter& reporter)
{
    RunResult result;
    if (!consistentModel(model)) {
        result.status = Status::failure(msg::SistemaInconsistente);
        return result;
    }
    const int nm = model.freeCount();
    const auto n = static_cast<std::size_t>(nm);
    const bool continuing = model.calculationKind == CalculationKind::Nonlinear;
    const double target = settings.errorTarget;
    ModelSnapshot snapshot(model);
    ContinueFlagOnly flag(reporter);

    prepareNonlinearCurves(model);

    linalg::RealVector v(n);
    double error = 1e200;
    if (continuing) {
        for (std::size_t i = 1; i <= n; ++i)
            v[i] = model.nodes[i].value;
        error = model.storedError;
        // The stored system should be the one assembled at these potentials; assembling it again
        // makes sure of it whatever ran in between (an interrupted run of another kind, a file).
        reporter.status(msg::StatusMontando);
        const AssemblyResult assembly = assembleNonlinear(model, v, v);
        if (!assembly) {
            snapshot.restore(model);
            return failedAssembly(assembly);
        }
    } else {
        slavesFromIterate(model, v);
        reporter.status(msg::StatusMontando);
        const AssemblyResult assembly = assembleNonlinearStart(model);
        if (!assembly) {
            snapshot.restore(model);
            return failedAssembly(assembly);
        }
    }
    if (model.matrix.order() != nm || model.rhs.count() != n) {
        snapshot.restore(model);
        result.status = Status::failure(msg::SistemaInconsistente);
        return result;
    }

    linalg::RealVector w = v;
    linalg::RealVector u;
    linalg::RealVector o;
    double errorAtNewton = 1e200;
    int k = 0;
    int kNewton = 7;
    int newtonSteps = 0;
    bool newtonOff = false;
    double omega = 0.3;

    auto interrupted = [&]() {
        snapshot.restore(model);
        reporter.status(msg::CalculoInterrompido);
        result.end = RunEnd::Interrupted;
        result.nonlinearSteps = k;
        result.error = error;
        return result;
    };
    // One direct solver for the whole run: every step's matrix has the same pattern, so the
    // ordering and symbolic factor of the first step serve them all.
    linalg::DirectSolver direct;
    auto solve = [&](linalg::RealVector rhs, linalg::RealVector& solution) {
        linalg::SolveResult solved;
        if (settings.method == linalg::SolverMethod::Direct) {
            solved = direct.solve(model.matrix, rhs, solution, &flag);
        } else {
            linalg::SolverRequest request;
            request.matrix = model.matrix.compacted();
            request.rhs = std::move(rhs);
            request.solution = &solution;
            request.progress = &flag;
            request.tolerance = target / 3.0;
            solved = linalg::solveConjugateGradient(std::move(request));
        }
        result.solverIterations = solved.iterations;
        result.relativeResidual = solved.relativeResidual;
        return solved.end;
    };
    // What ends the run after a solve: an interruption, or a direct solve without a solution.
    auto solveEnded = [&](linalg::SolveEnd end) -> bool {
        return end == linalg::SolveEnd::Interrupted
            || (settings.method == linalg::SolverMethod::Direct
                && end != linalg::SolveEnd::Converged);
    };
    auto endAfterSolve = [&](linalg::SolveEnd end) {
        if (end == linalg::SolveEnd::Interrupted)
            return interrupted();
        snapshot.restore(model);
        result.end = RunEnd::Failed;
        result.status = Status::failure(msg::FatoracaoFalhou);
        return result;
    };

    linalg::RealVector step(n);
    while (error >= target) {
        if (k > settings.maxIterations)
            break;

        bool useNewton = k > 2;
        if (k <= kNewton && error > 0.7)
            useNewton = false;
        if (error < 0.7 && continuing)
            useNewton = true;

        if (newtonSteps > 0) {
            if ((newtonSteps >= 7 && error > errorAtNewton) || newtonSteps > 15) {
                // Newton is not getting there: back to relaxed fixed-point steps from the iterate
                // it started from, for the rest of the run.
                useNewton = false;
                newtonSteps = 0;
                newtonOff = true;
                omega = 0.1;
                reporter.status(msg::StatusMontando);
                if (u.count() != n || o.count() != n) {
                    u = w;
                    o = w;
                }
                const AssemblyResult assembly = assembleNonlinear(model, u, o);
                if (!assembly) {
                    snapshot.restore(model);
                    return failedAssembly(assembly);
                }
                w = o;
            }
        } else if (useNewton) {
            errorAtNewton = error;
            kNewton = k;
        }
        if (k > 45)
            omega = 0.05;

        if (useNewton && !newtonOff) {
            linalg::RealVector residual = model.rhs - linalg::multiplySymmetric(model.matrix, v);
            addNewtonTerms(model, v);
            reporter.status(msg::StatusMetNewton);
            step.fill(0.0);
            if (const linalg::SolveEnd end = solve(std::move(residual), step); solveEnded(end))
                return endAfterSolve(end);
            const double normV = v.norm();
            omega = normV > 0.0 ? 1.0 - 0.5 * step.norm() / normV : 0.75;
            if (omega > 0.75)
                omega = 0.75;
            // A correction more than twice the iterate would give a negative factor, a step
            // against the Newton direction; the smallest relaxation of the iteration is kept.
            if (!(omega >= 0.05))
                omega = 0.05;
            for (std::size_t i = 1; i <= n; ++i)
                v[i] = w[i] + omega * step[i];
            ++newtonSteps;
        } else {
            reporter.status(msg::StatusMetLinear);
            step.fill(0.0);
            if (const linalg::SolveEnd end = solve(model.rhs, step); solveEnded(end))
                return endAfterSolve(end);
            for (std::size_t i = 1; i <= n; ++i)
                v[i] = w[i] + omega * (step[i] - w[i]);
        }

        slavesFromIterate(model, v);
        if (k == kNewton) {
            u = w;
            o = v;
        }
        reporter.status(msg::StatusMontando);
        const AssemblyResult assembly = assembleNonlinear(model, v, w);
        if (!assembly) {
            snapshot.restore(model);
            return failedAssembly(assembly);
        }
        error = maxRelativeChange(v, w);
        ++k;
        w = v;

        if (k > 1 || error < 1e6) {
            char line[96];
            std::snprintf(line, sizeof line, msg::LinhaPasso, k, error * 100.0);
            reporter.iterationLine(line);
        }
        if (!reporter.goOn())
            return interrupted();
    }

    for (std::size_t i = 1; i <= n; ++i)
        model.nodes[i].value = v[i];
    slavesFromMasters(model);
    traceEquipotentials(model, settings.equipotentialCount);
    model.calculationKind = CalculationKind::Nonlinear;
    model.storedError = error;
    reporter.status(msg::StatusConcluido);
    result.end = RunEnd::Finished;
    result.status = Status::success();
    result.nonlinearSteps = k;
    result.error = error;
    return result;
}

} // namespace tarvex::solver
