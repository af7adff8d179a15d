// Meshes the reference geometry at a size level and prints the figures on one line per level.
#include "common/progress.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "problem/dat_io.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

using namespace tarvex;

namespace {

/// Maximum edge per level: the mesh has about 5.6e4 / h² triangles on this geometry.
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

double peakMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string level = "10k";
    double h = 0.0;
    bool angle = true;
    std::string reference = TARVEX_BENCH_REFERENCE;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc)
            level = argv[++i];
        else if (std::strcmp(argv[i], "--h") == 0 && i + 1 < argc)
            h = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--no-angle") == 0)
            angle = false;
        else if (std::strcmp(argv[i], "--reference") == 0 && i + 1 < argc)
            reference = argv[++i];
        else {
            std::fprintf(stderr,
                "usage: tarvex_bench_mesh [--level 10k|100k|1M | --h H] [--no-angle] "
                "[--reference FILE.pre]\n");
            return 2;
        }
    }
    if (h <= 0.0)
        h = edgeFor(level);
    if (h <= 0.0) {
        std::fprintf(stderr, "unknown level %s\n", level.c_str());
        return 2;
    }

    geometry::DrawingData drawing;
    if (Status s = geometry::openDrawing(reference, "pre", drawing); !s) {
        std::fprintf(stderr, "%s: %s\n", reference.c_str(), std::string(s.message).c_str());
        return 1;
    }
    problem::ResultadoFormacao formed;
    if (Status s = problem::formarRegioes(drawing, formed); !s)
        return 1;
    problem::ProblemData data;
    if (Status s = problem::readDat(
            std::string_view(problem::escreveDatExportado(1000.0, {}, formed.regioes)), data);
        !s)
        return 1;
    data.arestaMaxima = h;
    data.tolerancia = h / 1e6;
    problem::OpcoesMalha options;
    options.verificaAngulo = angle;
    options.comprimentoReferencia = h;

    NoProgress progress;
    const auto start = std::chrono::steady_clock::now();
    const Status s = problem::gerarMalha(data, options, progress);
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!s) {
        std::fprintf(stderr, "mesh failed: %s\n", std::string(s.message).c_str());
        return 1;
    }
    std::printf("level=%s h=%g angle=%d triangles=%d nodes=%d seconds=%.3f us_per_triangle=%.2f "
                "peak_mb=%.0f quality=%.3f\n",
        level.c_str(), h, angle ? 1 : 0, data.numTriangulos, data.numNos, seconds,
        seconds * 1e6 / data.numTriangulos, peakMb(), data.qualidadeMalha);
    return 0;
}
