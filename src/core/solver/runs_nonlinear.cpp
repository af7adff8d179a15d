#include "solver/runs.h"

#include "common/messages.h"
#include "solver/assembly.h"
#include "solver/equipotentials.h"
#include "solver/linalg/conjugate_gradient.h"
#include "solver/linalg/direct_solver.h"
#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cstdio>
#include <optional>
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

// The schedule of the iteration. It starts with relaxed fixed-point steps, which converge slowly
// but from anywhere, and turns to Newton once the iterate is near enough for Newton to converge.

/// The error reported before any step: larger than any error a step can measure.
constexpr double NoErrorYet = 1e200;
/// Steps up to this one (the first is step 0) are fixed-point steps, whatever the error says...
constexpr int AlwaysFixedPointUpTo = 2;
/// ...and so are the steps up to this one while the error is above NewtonError...
constexpr int FixedPointWhileFarUpTo = 7;
/// ...and Newton is trusted (at once, when continuing a result) below this error.
constexpr double NewtonError = 0.7;
/// Newton is abandoned when after this many steps the error is above the one it started from...
constexpr int NewtonStepsBeforeJudging = 7;
/// ...or after this many steps in any case.
constexpr int MostNewtonSteps = 15;
/// The fixed-point steps' relaxation, and the smaller one after Newton was abandoned.
constexpr double FixedPointRelaxation = 0.3;
constexpr double FallbackRelaxation = 0.1;
/// A run this long is oscillating: from then on the steps are relaxed the most.
constexpr int LongRunSteps = 45;
/// The smallest and largest relaxation of a step.
constexpr double SmallestRelaxation = 0.05;
constexpr double LargestNewtonRelaxation = 0.75;
/// The solves converge to a fraction of the iteration's target, so their own error does not
/// decide when the iteration stops.
constexpr double SolveToleranceDivisor = 3.0;
/// The share of the last step's change (error measure) a solve may leave unsolved...
constexpr double ShareOfLastChange = 0.1;
/// ...but a solve is never asked for less than this of its own right-hand side, so that a nearly
/// converged iterate still gets a direction worth the name.
constexpr double LoosestSolveTolerance = 0.1;
/// A first error above this is the change from the zero start, meaningless to the user.
constexpr double FirstErrorShown = 1e6;

/**
 * One non-linear run over a model, with the iteration's state. The model is left as it was
 * (ModelSnapshot) unless the run finishes.
 */
class NonlinearRun {
public:
    NonlinearRun(SolverModel& model, const RunSettings& settings, RunReporter& reporter)
        : m_model(model)
        , m_settings(settings)
        , m_reporter(reporter)
        , m_order(model.freeCount())
        , m_n(static_cast<std::size_t>(m_order))
        , m_continuing(model.calculationKind == CalculationKind::Nonlinear)
        , m_snapshot(model)
        , m_flag(reporter)
    {
    }

    RunResult run()
    {
        prepareNonlinearCurves(m_model);
        if (std::optional<RunResult> failed = assembleFirstSystem())
            return *failed;
        if (m_model.matrix.order() != m_order || m_model.rhs.count() != m_n) {
            m_snapshot.restore(m_model);
            m_result.status = Status::failure(msg::SistemaInconsistente);
            return m_result;
        }
        m_w = m_v;
        while (m_error >= m_settings.errorTarget && m_k <= m_settings.maxIterations) {
            if (std::optional<RunResult> stopped = iterate())
                return *stopped;
        }
        return finish();
    }

private:
    /// The system at the starting iterate: a stored non-linear result goes on from its
    /// potentials, anything else starts from zero.
    std::optional<RunResult> assembleFirstSystem()
    {
        m_v = linalg::RealVector(m_n);
        AssemblyResult assembly;
        if (m_continuing) {
            for (std::size_t i = 1; i <= m_n; ++i)
                m_v[i] = m_model.nodes[i].value;
            m_error = m_model.storedError;
            // The stored system should be the one assembled at these potentials; assembling it
            // again makes sure of it whatever ran in between (an interrupted run of another kind,
            // a file).
            m_reporter.status(msg::StatusMontando);
            assembly = assembleNonlinear(m_model, m_v, m_v);
        } else {
            slavesFromIterate(m_model, m_v);
            m_reporter.status(msg::StatusMontando);
            assembly = assembleNonlinearStart(m_model);
        }
        if (!assembly)
            return abandon(assembly);
        return std::nullopt;
    }

    /// One step: choose the method, solve, re-assemble at the new iterate and measure the change.
    std::optional<RunResult> iterate()
    {
        bool useNewton = newtonWanted();
        if (m_newtonSteps > 0) {
            if (newtonStalled()) {
                useNewton = false;
                if (std::optional<RunResult> failed = fallBackToFixedPoint())
                    return failed;
            }
        } else if (useNewton) {
            m_errorAtNewton = m_error;
            m_newtonFrom = m_k;
        }
        if (m_k > LongRunSteps)
            m_omega = SmallestRelaxation;

        const linalg::SolveEnd end = useNewton && !m_newtonOff ? newtonStep() : fixedPointStep();
        if (solveEnded(end))
            return endAfterSolve(end);

        slavesFromIterate(m_model, m_v);
        if (m_k == m_newtonFrom) {
            m_u = m_w;
            m_o = m_v;
        }
        m_reporter.status(msg::StatusMontando);
        if (const AssemblyResult assembly = assembleNonlinear(m_model, m_v, m_w); !assembly)
            return abandon(assembly);
        m_error = maxRelativeChange(m_v, m_w);
        ++m_k;
        m_w = m_v;

        if (m_k > 1 || m_error < FirstErrorShown) {
            char line[96];
            std::snprintf(line, sizeof line, msg::LinhaPasso, m_k, m_error * 100.0);
            m_reporter.iterationLine(line);
        }
        if (!m_reporter.goOn())
            return interrupted();
        return std::nullopt;
    }

    bool newtonWanted() const
    {
        bool useNewton = m_k > AlwaysFixedPointUpTo;
        if (m_k <= m_newtonFrom && m_error > NewtonError)
            useNewton = false;
        if (m_error < NewtonError && m_continuing)
            useNewton = true;
        return useNewton;
    }

    bool newtonStalled() const
    {
        return (m_newtonSteps >= NewtonStepsBeforeJudging && m_error > m_errorAtNewton)
            || m_newtonSteps > MostNewtonSteps;
    }

    /// Newton is not getting there: back to relaxed fixed-point steps from the iterate it started
    /// from, for the rest of the run.
    std::optional<RunResult> fallBackToFixedPoint()
    {
        m_newtonSteps = 0;
        m_newtonOff = true;
        m_omega = FallbackRelaxation;
        m_reporter.status(msg::StatusMontando);
        if (m_u.count() != m_n || m_o.count() != m_n) {
            m_u = m_w;
            m_o = m_w;
        }
        if (const AssemblyResult assembly = assembleNonlinear(m_model, m_u, m_o); !assembly)
            return abandon(assembly);
        m_w = m_o;
        return std::nullopt;
    }

    linalg::SolveEnd newtonStep()
    {
        linalg::RealVector residual = m_model.rhs - linalg::multiplySymmetric(m_model.matrix, m_v);
        addNewtonTerms(m_model, m_v);
        m_reporter.status(msg::StatusMetNewton);
        m_step.fill(0.0);
        if (const linalg::SolveEnd end = solve(std::move(residual)); solveEnded(end))
            return end;
        const double normV = m_v.norm();
        m_omega = normV > 0.0 ? 1.0 - 0.5 * m_step.norm() / normV : LargestNewtonRelaxation;
        if (m_omega > LargestNewtonRelaxation)
            m_omega = LargestNewtonRelaxation;
        // A correction more than twice the iterate would give a negative factor, a step against
        // the Newton direction; the smallest relaxation of the iteration is kept.
        if (!(m_omega >= SmallestRelaxation))
            m_omega = SmallestRelaxation;
        for (std::size_t i = 1; i <= m_n; ++i)
            m_v[i] = m_w[i] + m_omega * m_step[i];
        ++m_newtonSteps;
        return linalg::SolveEnd::Converged;
    }

    linalg::SolveEnd fixedPointStep()
    {
        m_reporter.status(msg::StatusMetLinear);
        // Solved as a correction to the last iterate (K d = f - K w), which the system's solution
        // is close to after the first steps.
        linalg::RealVector residual = m_model.rhs - linalg::multiplySymmetric(m_model.matrix, m_w);
        m_step.fill(0.0);
        if (const linalg::SolveEnd end = solve(std::move(residual)); solveEnded(end))
            return end;
        for (std::size_t i = 1; i <= m_n; ++i)
            m_v[i] = m_w[i] + m_omega * m_step[i];
        return linalg::SolveEnd::Converged;
    }

    /// Solves the model's matrix for `rhs` into m_step.
    linalg::SolveEnd solve(linalg::RealVector rhs)
    {
        linalg::SolveResult solved;
        if (m_settings.method == linalg::SolverMethod::Direct) {
            solved = m_direct.solve(m_model.matrix, rhs, m_step, &m_flag);
        } else {
            linalg::SolverRequest request;
            request.matrix = m_model.matrix.compacted();
            request.rhs = std::move(rhs);
            request.solution = &m_step;
            request.progress = &m_flag;
            request.tolerance = correctionTolerance(request.rhs);
            solved = linalg::solveConjugateGradient(std::move(request));
        }
        m_result.solverIterations = solved.iterations;
        m_result.relativeResidual = solved.relativeResidual;
        return solved.end;
    }

    /**
     * Every solve of the run is for a correction to the current iterate. Conjugate gradients are
     * asked for the same absolute accuracy throughout, a fraction of the error target relative to
     * the source vector, as a solve of the whole system would be: asked relative to a correction's
     * own (small) right-hand side, the late steps cost far more than the change they measure.
     * While the iterate still moves a lot, a solve need only be accurate to a fraction of that
     * movement (the next steps correct what it leaves), so early steps are asked less.
     */
    double correctionTolerance(const linalg::RealVector& rhs) const
    {
        const double finest = m_settings.errorTarget / SolveToleranceDivisor;
        const double normRhs = rhs.norm();
        const double normSources = m_model.rhs.norm();
        double tolerance = finest;
        if (normRhs > 0.0 && normSources > normRhs)
            tolerance *= normSources / normRhs;
        tolerance = std::max(tolerance, ShareOfLastChange * m_error);
        return std::max(std::min(tolerance, LoosestSolveTolerance), finest);
    }

    /// What ends the run after a solve: an interruption, or a direct solve without a solution.
    bool solveEnded(linalg::SolveEnd end) const
    {
        return end == linalg::SolveEnd::Interrupted
            || (m_settings.method == linalg::SolverMethod::Direct
                && end != linalg::SolveEnd::Converged);
    }

    RunResult endAfterSolve(linalg::SolveEnd end)
    {
        if (end == linalg::SolveEnd::Interrupted)
            return interrupted();
        m_snapshot.restore(m_model);
        m_result.end = RunEnd::Failed;
        m_result.status = Status::failure(msg::FatoracaoFalhou);
        return m_result;
    }

    RunResult interrupted()
    {
        m_snapshot.restore(m_model);
        m_reporter.status(msg::CalculoInterrompido);
        m_result.end = RunEnd::Interrupted;
        m_result.nonlinearSteps = m_k;
        m_result.error = m_error;
        return m_result;
    }

    RunResult abandon(const AssemblyResult& assembly)
    {
        m_snapshot.restore(m_model);
        return failedAssembly(assembly);
    }

    /// The iterate becomes the model's result.
    RunResult finish()
    {
        for (std::size_t i = 1; i <= m_n; ++i)
            m_model.nodes[i].value = m_v[i];
        slavesFromMasters(m_model);
        traceEquipotentials(m_model, m_settings.equipotentialCount);
        m_model.calculationKind = CalculationKind::Nonlinear;
        m_model.storedError = m_error;
        m_reporter.status(msg::StatusConcluido);
        m_result.end = RunEnd::Finished;
        m_result.status = Status::success();
        m_result.nonlinearSteps = m_k;
        m_result.error = m_error;
        return m_result;
    }

    SolverModel& m_model;
    const RunSettings& m_settings;
    RunReporter& m_reporter;
    const int m_order; ///< the system's: interior nodes and masters
    const std::size_t m_n;
    const bool m_continuing;
    ModelSnapshot m_snapshot;
    ContinueFlagOnly m_flag;
    /// One direct solver for the whole run: every step's matrix has the same pattern, so the
    /// ordering and symbolic factor of the first step serve them all.
    linalg::DirectSolver m_direct;
    RunResult m_result;

    linalg::RealVector m_v; ///< the new iterate
    linalg::RealVector m_w; ///< the iterate the step starts from
    linalg::RealVector m_u; ///< the iterate Newton's first step started from...
    linalg::RealVector m_o; ///< ...and the one that step reached
    linalg::RealVector m_step = linalg::RealVector(m_n);
    double m_error = NoErrorYet;
    double m_errorAtNewton = NoErrorYet;
    int m_k = 0; ///< steps done
    int m_newtonFrom = FixedPointWhileFarUpTo; ///< the step Newton started at
    int m_newtonSteps = 0;
    bool m_newtonOff = false;
    double m_omega = FixedPointRelaxation; ///< relaxation of the next step
};

} // namespace

RunResult runNonlinear(SolverModel& model, const RunSettings& settings, RunReporter& reporter)
{
    if (!consistentModel(model)) {
        RunResult result;
        result.status = Status::failure(msg::SistemaInconsistente);
        return result;
    }
    return NonlinearRun(model, settings, reporter).run();
}

} // namespace tarvex::solver
