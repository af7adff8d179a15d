#include "cli_common.h"
#include "verbs.h"

#include "common/messages.h"
#include "common/progress.h"
#include "problem/dat_io.h"
#include "problem/editing.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/mesher/mesh_operations.h"
#include "problem/problem_data.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>

namespace tarvex::cli {
namespace {

const char* const MeshUsage
    = "usage: tarvex-cli mesh IN.dat OUT.dat [--max-edge H | --edge-factor F] [--special-factor F]"
      " [--min-angle DEG] [--check-angle] [--smooth] [--json]";
const char* const RefineUsage
    = "usage: tarvex-cli refine IN.dat OUT.dat --total | --area X1,Y1,X2,Y2 | --recentre";

/// Status texts and positions of the run on stderr.
class StderrProgress final : public Progress {
public:
    void status(std::string_view text) override
    {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
    void percent(int value) override { std::fprintf(stderr, "  %d %%\n", value); }
    bool goOn() override { return true; }
};

/// The reference length of the mesh control: the shortest contour element.
double shortestElement(const problem::ProblemData& data)
{
    double shortest = std::numeric_limits<double>::infinity();
    for (const problem::SegmentoContorno& s : data.poolSegmentos) {
        const double length = problem::comprimentoElemento(s);
        if (length > problem::ProblemData::ArestaMinima && length < shortest)
            shortest = length;
    }
    return shortest;
}

bool positiveOption(const Arguments& args, const char* name, double& value)
{
    return parseNumber(args.value(name), value) && value > 0.0;
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runMesh(const std::vector<std::string>& words)
{
    const Arguments args(
        words, { "--max-edge", "--edge-factor", "--special-factor", "--min-angle" });
    if (args.positional().size() != 2 || !args.error().empty()
        || (args.has("--max-edge") && args.has("--edge-factor")))
        return usage(MeshUsage);
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];

    problem::ProblemData data;
    if (Status s = problem::openDat(in, data); !s)
        return fail(in, s);

    // The mesh control: the reference length is the shortest element unless an edge is given.
    problem::OpcoesMalha options;
    options.comprimentoReferencia = shortestElement(data);
    if (args.has("--max-edge")) {
        double h = 0.0;
        if (!positiveOption(args, "--max-edge", h))
            return usage(std::string(MeshUsage) + " (H a positive number)");
        options.comprimentoReferencia = h;
        data.arestaMaxima = h;
    } else if (args.has("--edge-factor")) {
        double f = 0.0;
        if (!positiveOption(args, "--edge-factor", f)
            || !std::isfinite(options.comprimentoReferencia))
            return usage(std::string(MeshUsage) + " (F a positive number)");
        data.arestaMaxima = f * options.comprimentoReferencia;
    }
    if (args.has("--special-factor")) {
        double f = 0.0;
        if (!positiveOption(args, "--special-factor", f)
            || !std::isfinite(options.comprimentoReferencia))
            return usage(std::string(MeshUsage) + " (F a positive number)");
        data.arestaEspecial = f * options.comprimentoReferencia;
    }
    if (args.has("--min-angle")) {
        double degrees = 0.0;
        if (!positiveOption(args, "--min-angle", degrees) || degrees >= 60.0)
            return usage(std::string(MeshUsage) + " (DEG between 0 and 60)");
        data.fatorQualidade = 1.0 / (2.0 * std::sin(degrees * 4.0 * std::atan(1.0) / 180.0));
    }
    options.verificaAngulo = args.has("--check-angle");
    options.recentragem = args.has("--smooth");
    data.tolerancia = data.arestaMaxima / 1e6;

    StderrProgress progress;
    const auto start = std::chrono::steady_clock::now();
    if (Status s = problem::gerarMalha(data, options, progress); !s)
        return fail(in, s);
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    problem::InformacoesMalha info;
    if (Status s = problem::informacoesMalha(data, info); !s)
        return fail(in, s);
    if (Status s = problem::saveDat(out, data); !s)
        return fail(out, s);

    if (args.has("--json")) {
        const std::string text = JsonObject()
                                     .integer("triangles", info.triangulos)
                                     .integer("nodes", info.nos)
                                     .number("quality_mean", info.qualidadeMedia)
                                     .number("quality_min", info.qualidadeMinima)
                                     .number("angle_mean", info.anguloMedio)
                                     .number("angle_min", info.anguloMinimo)
                                     .number("area_mean", info.areaMedia)
                                     .number("area_min", info.areaMinima)
                                     .number("seconds", seconds)
                                     .str();
        std::printf("%s\n", text.c_str());
        return 0;
    }
    for (const auto& [label, value] : problem::textosInformacoes(info))
        std::printf("%.*s %s\n", static_cast<int>(label.size()), label.data(), value.c_str());
    std::printf("seconds: %.3f\n", seconds);
    return 0;
}

int runRefine(const std::vector<std::string>& words)
{
    const Arguments args(words, { "--area" });
    const int modes = (args.has("--total") ? 1 : 0) + (args.has("--area") ? 1 : 0)
        + (args.has("--recentre") ? 1 : 0);
    if (args.positional().size() != 2 || !args.error().empty() || modes != 1)
        return usage(RefineUsage);
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];
    problem::ProblemData data;
    if (Status s = problem::openDat(in, data); !s)
        return fail(in, s);

    if (args.has("--total")) {
        if (Status s = problem::refinaTotal(data); !s)
            return fail(in, s);
    } else if (args.has("--area")) {
        std::istringstream fields(args.value("--area"));
        double v[4] = { 0, 0, 0, 0 };
        std::string word;
        int count = 0;
        while (count < 4 && std::getline(fields, word, ',') && parseNumber(word, v[count]))
            ++count;
        if (count != 4 || std::getline(fields, word, ','))
            return usage(std::string(RefineUsage) + " (four numbers)");
        // A rectangle without extent is left undefined, which the refinement refuses.
        (void)problem::defineArea(data, { v[0], v[1] }, { v[2], v[3] });
        if (Status s = problem::refinaArea(data); !s)
            return fail(in, s);
    } else {
        // A loaded mesh has no node count yet: count it as the mesh information does.
        problem::InformacoesMalha info;
        (void)problem::informacoesMalha(data, info);
        problem::ResultadoRecentragem result;
        if (Status s = problem::recentraMalha(data, result); !s)
            return fail(in, s);
        std::fprintf(stderr, "%s\n", result.texto.c_str());
    }
    if (Status s = problem::saveDat(out, data); !s)
        return fail(out, s);
    std::fprintf(
        stderr, "%d triangles written to %s\n", static_cast<int>(data.numTriangulos), out.c_str());
    return 0;
}
