#pragma once

#include "common/progress.h"
#include "common/status.h"
#include "solver/linalg/direct_solver.h"

#include <cstdint>
#include <string_view>

namespace tarvex::linalg {
class RealVector;
}

namespace tarvex::solver {

struct SolverModel;

/// The run settings the results view holds (fractions; the dialogs show percent).
struct RunSettings {
    double linearTolerance = 0.001;
    double errorTarget = 0.05;
    std::uint16_t maxIterations = 200;
    /// How each system of the run is solved; the tolerance matters only to conjugate gradients.
    linalg::SolverMethod method = linalg::SolverMethod::ConjugateGradient;
    /// Lines traced when a successful run retraces the equipotentials.
    int equipotentialCount = 21;
};

/**
 * What a run reports besides the solver's bar position: the dialog's status text (through
 * Progress::status) and, for the non-linear run, its iteration line. goOn() is asked once per
 * solver iteration and once per non-linear step; the GUI handles pending events there and answers
 * with its running flag.
 */
class RunReporter : public Progress {
public:
    virtual void iterationLine(std::string_view) { }
};

class NoRunReporter final : public RunReporter {
public:
    void status(std::string_view) override { }
    void percent(int) override { }
    bool goOn() override { return true; }
};

enum class RunEnd {
    Finished, ///< results stored, `calculationKind` set, equipotentials retraced
    Interrupted, ///< the user stopped it; the model's results are untouched
    Failed, ///< an assembly failed; `status` carries its message (possibly empty: mark only)
};

struct RunResult {
    RunEnd end = RunEnd::Failed;
    Status status;
    int solverIterations = 0; ///< last solve's iterations (1 for a direct solve)
    double relativeResidual = 0.0; ///< last solve's final relative residual
    int nonlinearSteps = 0; ///< iterations of the non-linear loop
    double error = 0.0; ///< non-linear error reached (fraction)
    std::int64_t elementOutsideRegions = -1; ///< from a failed assembly, for the view's mark
    explicit operator bool() const { return end == RunEnd::Finished; }
};

/// `runLinear`: re-assembles after a non-linear result, solves, stores the potentials (slaves from
/// their masters), retraces the equipotentials, `calculationKind` Linear.
RunResult runLinear(SolverModel& model, const RunSettings& settings, RunReporter& reporter);

/// `runNonlinear`: the relaxed fixed-point / Newton iteration; `calculationKind` Nonlinear.
RunResult runNonlinear(SolverModel& model, const RunSettings& settings, RunReporter& reporter);

/// `runInducedCurrents` at the model's `frequency`; `calculationKind` InducedCurrents.
RunResult runInducedCurrents(
    SolverModel& model, const RunSettings& settings, RunReporter& reporter);

/// Slave node values from their masters' (negated for anti-symmetry).
void slavesFromMasters(SolverModel& model);

/// `maxRelativeChange`: the iteration's error, max |a_i - b_i| / max |a_i| (a the new iterate):
/// 0 when nothing changed, infinite when only the new iterate is all zero.
double maxRelativeChange(const linalg::RealVector& a, const linalg::RealVector& b);

} // namespace tarvex::solver
