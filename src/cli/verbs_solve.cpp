#include "cli_common.h"
#include "verbs.h"

#include "common/messages.h"
#include "paint/paint_results.h"
#include "paint/picture_export.h"
#include "results/auxiliary_lines.h"
#include "solver/equipotentials.h"
#include "solver/msh_io.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace tarvex::cli {
namespace {

const char* const SolveUsage
    = "usage: tarvex-cli solve IN.msh OUT.msh --linear [--tol PERCENT] [--lines N] [--json]\n"
      "       tarvex-cli solve IN.msh OUT.msh --nonlinear [--error PERCENT] [--max-iter N]"
      " [--lines N] [--json]\n"
      "       tarvex-cli solve IN.msh OUT.msh --induced --freq HZ [--tol PERCENT] [--lines N]"
      " [--json]\n"
      "  --linear: --tol is the conjugate-gradient tolerance in percent (default 0.1,"
      " from 1e-20 to 1e300)\n"
      "  --nonlinear: --error is the error target in percent (default 5, from 0.0001 to 10000),"
      " --max-iter from 1 to 1000 (default 200)\n"
      "  --induced: --tol in the unit of the induced-current dialog, where the tolerance is"
      " PERCENT / 500 (default 0.5, i.e. 0.001)\n"
      "  --lines: equipotentials traced after the run (2 to 5000, default 21)\n"
      "  --solver cg|direct: conjugate gradients (default) or a sparse factorisation";

const char* const RenderMshUsage
    = "usage: tarvex-cli render IN.msh OUT.png [--size WxH]"
      " [--mode mesh|regions|equipotentials|induced-lines] [--lines N] (N from 2 to 5000)";

/// The run's status texts, bar positions and iteration lines on stderr. Bar positions come once
/// per solver iteration, so only a changed one, at most a few times a second, is printed.
class StderrReporter final : public solver::RunReporter {
public:
    void status(std::string_view text) override { line(text); }
    void percent(int value) override
    {
        const auto now = std::chrono::steady_clock::now();
        if (value == m_last || (value != 100 && now - m_printed < std::chrono::milliseconds(250)))
            return;
        m_last = value;
        m_printed = now;
        std::fprintf(stderr, "  %d %%\n", value);
    }
    bool goOn() override { return true; }
    void iterationLine(std::string_view text) override { line(text); }

private:
    static void line(std::string_view text)
    {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    int m_last = -1;
    std::chrono::steady_clock::time_point m_printed {};
};

/// A whole word as an integer within [low, high].
bool parseCount(const std::string& word, int low, int high, int& value)
{
    double v = 0.0;
    if (!parseNumber(word, v) || v != std::floor(v) || v < low || v > high)
        return false;
    value = static_cast<int>(v);
    return true;
}

/// A percent option within [low, high], when given.
bool percentOption(const Arguments& args, const char* name, double low, double high, double& value)
{
    if (!args.has(name))
        return true;
    return parseNumber(args.value(name), value) && value >= low && value <= high;
}

struct Extremes {
    double min = 0.0;
    double max = 0.0;
};

Extremes potentialExtremes(const solver::SolverModel& model)
{
    Extremes e { std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity() };
    for (std::size_t k = 1; k < model.nodes.size(); ++k) {
        const double v = model.nodes[k].value;
        if (!std::isfinite(v))
            continue;
        e.min = std::min(e.min, v);
        e.max = std::max(e.max, v);
    }
    if (!(e.min <= e.max))
        return {};
    return e;
}

/// The message of a failed run; a failure that only marks an element names it.
int runFailed(const std::string& path, const solver::RunResult& result)
{
    if (!result.status.message.empty())
        return fail(path, result.status);
    std::fprintf(stderr, "%s: %.*s (element at list position %lld)\n", path.c_str(),
        static_cast<int>(msg::MontagemSemRegiao.size()), msg::MontagemSemRegiao.data(),
        static_cast<long long>(result.elementOutsideRegions));
    return 1;
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runSolve(const std::vector<std::string>& words)
{
    const Arguments args(
        words, { "--tol", "--error", "--max-iter", "--freq", "--lines", "--solver" });
    const int kinds = (args.has("--linear") ? 1 : 0) + (args.has("--nonlinear") ? 1 : 0)
        + (args.has("--induced") ? 1 : 0);
    if (args.positional().size() != 2 || !args.error().empty() || kinds != 1)
        return usage(SolveUsage);
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];
    const bool linear = args.has("--linear");
    const bool nonlinear = args.has("--nonlinear");
    const bool induced = args.has("--induced");
    if ((!linear && !induced && args.has("--tol"))
        || (!nonlinear && (args.has("--error") || args.has("--max-iter")))
        || (induced != args.has("--freq")))
        return usage(SolveUsage);

    solver::RunSettings settings;
    std::string method = "cg";
    if (args.has("--solver")) {
        method = args.value("--solver");
        if (method != "cg" && method != "direct")
            return usage(SolveUsage);
    }
    settings.method = method == "direct" ? linalg::SolverMethod::Direct
                                         : linalg::SolverMethod::ConjugateGradient;
    if (args.has("--lines")
        && !parseCount(args.value("--lines"), solver::MinEquipotentialCount,
            solver::MaxEquipotentialCount, settings.equipotentialCount))
        return usage(SolveUsage);
    double frequency = 0.0;
    if (linear) {
        double percent = settings.linearTolerance * 100.0;
        if (!percentOption(args, "--tol", 1e-20, 1e300, percent))
            return usage(SolveUsage);
        settings.linearTolerance = percent / 100.0;
    } else if (nonlinear) {
        double percent = settings.errorTarget * 100.0;
        if (!percentOption(args, "--error", 0.0001, 10000.0, percent))
            return usage(SolveUsage);
        settings.errorTarget = percent / 100.0;
        int iterations = settings.maxIterations;
        if (args.has("--max-iter") && !parseCount(args.value("--max-iter"), 1, 1000, iterations))
            return usage(SolveUsage);
        settings.maxIterations = static_cast<std::uint16_t>(iterations);
    } else {
        // The induced-current dialog shows the tolerance times 500.
        double field = settings.linearTolerance * 500.0;
        if (!percentOption(args, "--tol", 1e-300, 1e300, field))
            return usage(SolveUsage);
        settings.linearTolerance = field / 100.0 / 5.0;
        if (!parseNumber(args.value("--freq"), frequency) || frequency < 0.0)
            return usage(SolveUsage);
    }

    solver::SolverModel model;
    if (Status s = solver::openMsh(in, model); !s)
        return fail(in, s);
    if (nonlinear && !model.hasNonlinearRegion)
        return fail(in, Status::failure(msg::SemNaoLinearidade));
    if (induced && model.conductive == 0)
        return fail(in, Status::failure(msg::SemCondutividade));

    StderrReporter reporter;
    solver::RunResult result;
    const char* kind = "linear";
    // The calculation alone: reading and writing the files are not counted.
    const auto started = std::chrono::steady_clock::now();
    if (linear) {
        result = solver::runLinear(model, settings, reporter);
    } else if (nonlinear) {
        kind = "nonlinear";
        result = solver::runNonlinear(model, settings, reporter);
    } else {
        kind = "induced";
        model.frequency = frequency;
        result = solver::runInducedCurrents(model, settings, reporter);
    }
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (result.end == solver::RunEnd::Interrupted)
        return fail(in, Status::failure(msg::CalculoInterrompido));
    if (result.end != solver::RunEnd::Finished)
        return runFailed(in, result);
    if (Status s = solver::saveMsh(out, model); !s)
        return fail(out, s);

    const Extremes extremes = potentialExtremes(model);
    // The run stores its last iterate when the step limit comes first, as the dialog does; a batch
    // caller must still be told that the error target was not met.
    const bool converged = !nonlinear || result.error < settings.errorTarget;
    if (!converged)
        std::fprintf(stderr, "%s: error target not met after %d steps (error %g %%)\n", out.c_str(),
            result.nonlinearSteps, result.error * 100.0);
    if (args.has("--json")) {
        JsonObject json;
        json.text("kind", kind);
        json.text("solver", method);
        if (nonlinear)
            json.integer("steps", result.nonlinearSteps)
                .number("error", result.error)
                .raw("converged", converged ? "true" : "false");
        if (induced)
            json.number("frequency", model.frequency);
        json.integer("iterations", result.solverIterations)
            .number("relative_residual", result.relativeResidual)
            .number("potential_min", extremes.min)
            .number("potential_max", extremes.max)
            .number("seconds", seconds);
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    std::printf("kind: %s\nsolver: %s\n", kind, method.c_str());
    if (nonlinear)
        std::printf("steps: %d\nerror: %g %%\n", result.nonlinearSteps, result.error * 100.0);
    std::printf("iterations: %d\nrelative residual: %g\npotential: %.9g to %.9g\nseconds: %.3f\n",
        result.solverIterations, result.relativeResidual, extremes.min, extremes.max, seconds);
    return 0;
}

int runRenderMsh(const std::string& in, const std::string& out, int width, int height,
    const std::string& mode, const std::string& lines, bool autoAuxLines)
{
    int displayMode = 0;
    if (mode == "mesh")
        displayMode = paint::modoResultados::Malha;
    else if (mode == "regions")
        displayMode = paint::modoResultados::Regioes;
    else if (mode == "equipotentials")
        displayMode = paint::modoResultados::Equipotenciais;
    else if (mode == "induced-lines")
        displayMode = paint::modoResultados::CorrentesInduzidas;
    else
        return usage(RenderMshUsage);
    int count = solver::DefaultEquipotentialCount;
    if (!lines.empty()
        && !parseCount(lines, solver::MinEquipotentialCount, solver::MaxEquipotentialCount, count))
        return usage(RenderMshUsage);

    solver::SolverModel model;
    if (Status s = solver::openMsh(in, model); !s)
        return fail(in, s);
    if (displayMode == paint::modoResultados::Equipotenciais) {
        if (model.calculationKind == solver::CalculationKind::NotCalculated)
            return fail(in, Status::failure(msg::SemDadosEquipotenciais));
        solver::traceEquipotentials(model, count);
    } else if (displayMode == paint::modoResultados::CorrentesInduzidas) {
        if (model.calculationKind != solver::CalculationKind::InducedCurrents)
            return fail(in, Status::failure(msg::SemDadosCorrentesInduzidas));
        if (Status s = solver::traceInducedCurrentLines(model, count); !s)
            return fail(in, s);
    }

    // The picture after "Apaga Lin Aux. &Autom.": the lines it removes are left out.
    results::LinhasAuxiliares hidden;
    if (autoAuxLines)
        hidden = results::linhasAuxiliaresAutomaticas(model);
    if (paint::pictureFormatOf(out) == paint::PictureFormat::Emf)
        return writeResultsEmfPicture(model, displayMode, count, width, height, out, &hidden);
    const Status s
        = paint::writePicture(out, QSize(width, height), [&](QPainter& painter, QSize size) {
              paint::renderResults(painter, model, displayMode, size, &hidden);
          });
    if (!s)
        return fail(out, s);
    return 0;
}
