// Timings of the results commands (sections, forces, losses) on the solved reference model.
#include "bench_results.h"

#include "evaluation/point_location.h"
#include "evaluation/sections.h"
#include "results/forces.h"
#include "results/losses.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace tarvex::bench {

namespace {

double now(clockid_t clock)
{
    timespec t {};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

struct Timing {
    double wall = 0.0;
    double cpu = 0.0;
};

/// Median wall and CPU seconds of `repeat` calls.
Timing timed(int repeat, const std::function<void()>& work)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < std::max(repeat, 1); ++i) {
        const double w0 = now(CLOCK_MONOTONIC);
        const double c0 = now(CLOCK_PROCESS_CPUTIME_ID);
        work();
        cpu.push_back(now(CLOCK_PROCESS_CPUTIME_ID) - c0);
        wall.push_back(now(CLOCK_MONOTONIC) - w0);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return { wall[wall.size() / 2], cpu[cpu.size() / 2] };
}

class QuietReporter final : public solver::RunReporter {
public:
    void status(std::string_view) override { }
    void percent(int) override { }
    bool goOn() override { return true; }
};

} // namespace

void resultsFigures(solver::SolverModel& model, int repeat, std::string& line)
{
    solver::RunSettings settings;
    QuietReporter reporter;
    if (!solver::runLinear(model, settings, reporter)) {
        std::fprintf(stderr, "results: the linear run failed\n");
        return;
    }
    // The reference rectangle is 200 × 100: the diagonal crosses the whole model, the disc and
    // the coil's neighbourhood.
    const geometry::Ponto a { 0.5, 0.5 };
    const geometry::Ponto b { 199.5, 99.5 };
    model.evaluationIndex.reset();
    const Timing index = timed(1, [&] { evaluation::elementIndex(model); });
    std::size_t samples = 0;
    const Timing section = timed(repeat, [&] {
        samples
            = evaluation::sampleSection(model, a, b, evaluation::SectionFluxDensity).samples.size();
    });
    double force = 0.0;
    const Timing forceTime
        = timed(repeat, [&] { force = results::forceOnSection(model, a, b).magnitude; });
    std::size_t polarSamples = 0;
    const Timing polar = timed(repeat, [&] {
        evaluation::SectionCurves c;
        evaluation::samplePolarSectionRetrying(
            model, { 85, 50 }, { 35, 50 }, { 60, 50 }, evaluation::SectionFluxDensity, c);
        polarSamples = c.samples.size();
    });
    double losses = 0.0;
    const Timing lossTime = timed(repeat, [&] { losses = results::totalLosses(model).watts; });
    char text[640];
    std::snprintf(text, sizeof text,
        " index_s=%.4f index_cpu_s=%.4f section_samples=%zu section_s=%.4f section_cpu_s=%.4f "
        "force_N_per_m=%.4g force_s=%.4f force_cpu_s=%.4f polar_samples=%zu polar_s=%.4f "
        "polar_cpu_s=%.4f losses_W_per_m=%.4g losses_s=%.4f losses_cpu_s=%.4f",
        index.wall, index.cpu, samples, section.wall, section.cpu, force, forceTime.wall,
        forceTime.cpu, polarSamples, polar.wall, polar.cpu, losses, lossTime.wall, lossTime.cpu);
    line += text;
}

} // namespace tarvex::bench
