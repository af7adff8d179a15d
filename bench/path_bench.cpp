// Traces critical paths and a creepage path across the reference geometry meshed at a size level
// and prints the time of each. The node values are set to the potential of a charged cylinder
// (the disc at 10 kV, falling as ln r to 0 at the distance of the box's far corner), so the
// field lines run radially from the disc to the outer contour without a solution being needed.
#include "common/progress.h"
#include "evaluation/point_location.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "problem/dat_io.h"
#include "problem/editing.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"
#include "results/creepage_path.h"
#include "results/critical_path.h"
#include "solver/export_msh.h"
#include "solver/solver_model.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

using namespace tarvex;

namespace {

double edgeFor(const std::string& level)
{
    if (level == "10k")
        return 2.38;
    if (level == "100k")
        return 0.752;
    if (level == "1M")
        return 0.238;
    return 0.0;
}

double since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double cpuSince(std::clock_t start)
{
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char** argv)
{
    std::string level = "1M";
    std::string reference = TARVEX_BENCH_REFERENCE;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc)
            level = argv[++i];
        else if (std::strcmp(argv[i], "--reference") == 0 && i + 1 < argc)
            reference = argv[++i];
        else {
            std::fprintf(stderr,
                "usage: tarvex_bench_paths [--level 10k|100k|1M] "
                "[--reference FILE.pre]\n");
            return 2;
        }
    }
    const double h = edgeFor(level);
    if (h <= 0.0) {
        std::fprintf(stderr, "unknown level %s\n", level.c_str());
        return 2;
    }
    geometry::DrawingData drawing;
    problem::ResultadoFormacao formed;
    problem::ProblemData data;
    if (!geometry::openDrawing(reference, "pre", drawing)
        || !problem::formarRegioes(drawing, formed)
        || !problem::readDat(
            std::string_view(problem::escreveDatExportado(1000.0, {}, formed.regioes)), data)) {
        std::fprintf(stderr, "%s: cannot read the reference geometry\n", reference.c_str());
        return 1;
    }
    problem::defineAnalise(data, problem::AnalysisType::Electric);
    problem::potencialContornoExterno(data, 0.0);
    data.arestaMaxima = h;
    data.tolerancia = h / 1e6;
    problem::OpcoesMalha options;
    options.comprimentoReferencia = h;
    NoProgress progress;
    if (!problem::gerarMalha(data, options, progress)) {
        std::fprintf(stderr, "mesh failed\n");
        return 1;
    }
    solver::SolverModel model;
    if (!solver::buildSolverModel(data, model)) {
        std::fprintf(stderr, "export failed\n");
        return 1;
    }

    // The disc (centre 60, 50, radius 20) as the electrode, its field radial.
    const double r0 = 20.0;
    const double r1 = std::hypot(140.0, 50.0);
    for (std::size_t i = 1; i < model.nodes.size(); ++i) {
        const double r = std::max(std::hypot(model.nodes[i].x - 60.0, model.nodes[i].y - 50.0), r0);
        model.nodes[i].value = 1e4 * std::log(r1 / r) / std::log(r1 / r0);
    }
    problem::SegmentoContorno disc
        = problem::SegmentoContorno::arco({ 80, 50 }, { 40, 50 }, { 60, 50 });
    disc.potencial = 1e4;
    model.potentialSegments.pushFront(disc);
    model.calculationKind = solver::CalculationKind::Linear;

    // The point-location index is the evaluations' own, built once per model on first use (the
    // first point value or colour map builds it as well); timed apart from the traces.
    const auto indexStart = std::chrono::steady_clock::now();
    const std::clock_t indexCpu = std::clock();
    (void)evaluation::elementIndex(model);
    std::printf("level=%s triangles=%zu nodes=%d index_seconds=%.4f index_cpu=%.4f\n",
        level.c_str(), model.elements.size(), model.nodeCount(), since(indexStart),
        cpuSince(indexCpu));
    struct Trace {
        const char* name;
        geometry::Ponto from;
        geometry::Ponto to;
    };
    const Trace traces[] = { { "up", { 60, 71 }, { 60, 101 } }, { "left", { 40, 50 }, { -1, 50 } },
        { "diagonal", { 74.1, 64.1 }, { 110, 101 } }, { "long", { 79.7, 53.5 }, { 201, 75 } } };
    for (const Trace& t : traces) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpu = std::clock();
        const results::CriticalPathResult r = results::computeCriticalPath(model, t.from, t.to);
        const double seconds = since(start);
        std::printf("critical-path %-10s ok=%d pieces=%zu length=%.2f seconds=%.4f cpu=%.4f\n",
            t.name, r.status.ok ? 1 : 0, r.path.size(), r.length(), seconds, cpuSince(cpu));
    }
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    const results::CreepagePathResult c
        = results::computeCreepagePath(model, { { 0, 0 }, { 200, 0 }, { 200, 50 } });
    std::printf("creepage   bottom+side ok=%d pieces=%zu length=%.2f seconds=%.4f cpu=%.4f\n",
        c.status.ok ? 1 : 0, c.path.size(), c.length(), since(start), cpuSince(cpu));
    return 0;
}
