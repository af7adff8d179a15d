#include "cli_common.h"
#include "verbs.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "paint/paint_mesh.h"
#include "paint/paint_problem.h"
#include "paint/picture_export.h"
#include "paint/view_mapping.h"
#include "problem/dat_io.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/mesh_operations.h"
#include "problem/problem_data.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>
#include <cstring>
#include <string>

namespace tarvex::cli {
namespace {

const char* const ExportUsage
    = "usage: tarvex-cli export-dat IN.des|IN.pre|IN.dxf OUT.dat [--min-distance D]";

/// The version text at the head of a .dat image (its NUL-terminated start).
std::string versionOf(const std::string& bytes)
{
    const std::string head = bytes.substr(0, geometry::VersionFieldBytes);
    return head.substr(0, std::strlen(head.c_str()));
}

const char* analysisName(problem::AnalysisType tipoAnalise)
{
    return tipoAnalise == problem::AnalysisType::Electric ? "electric" : "magnetic";
}

const char* symmetryName(problem::SymmetryKind tipoSimetria)
{
    switch (tipoSimetria) {
    case problem::SymmetryKind::None:
        return "none";
    case problem::SymmetryKind::Symmetry:
        return "symmetry";
    case problem::SymmetryKind::AntiSymmetry:
        return "anti-symmetry";
    default:
        return "unknown";
    }
}

std::string windowJson(const problem::ProblemData& data)
{
    std::string json = "[";
    for (std::size_t i = 0; i < data.janela.size(); ++i) {
        if (i > 0)
            json += ',';
        json += JsonObject::formatNumber(data.janela[i]);
    }
    return json + "]";
}

/// The regions in list order, each with its contour counts, material and source values.
std::string regionsJson(const problem::ProblemData& data)
{
    std::vector<bool> special(data.regioes.size() + 1, false);
    for (const std::int16_t position : data.regioesEspeciais.inListOrder()) {
        if (position >= 1 && static_cast<std::size_t>(position) <= data.regioes.size())
            special[static_cast<std::size_t>(position)] = true;
    }
    std::string json = "[";
    std::size_t position = 0;
    for (const problem::Regiao& r : data.regioes.inListOrder()) {
        ++position;
        long long arcs = 0;
        for (const problem::SegmentoContorno& s : r.segmentos.inListOrder())
            arcs += s.ehArco != 0 ? 1 : 0;
        if (position > 1)
            json += ',';
        json += JsonObject()
                    .integer("segments", static_cast<long long>(r.segmentos.size()))
                    .integer("arcs", arcs)
                    .number("mu_r", r.permRelativa)
                    .number("eps_r", r.permissividadeRelativa)
                    .number("J", r.densCorrente)
                    .number("rho", r.densCargas)
                    .number("sigma", r.condutividade)
                    .number("brx", r.brX)
                    .number("bry", r.brY)
                    .number("brt", r.brT)
                    .number("brr", r.brR)
                    .integer("linear", r.linear != 0 ? 1 : 0)
                    .text("material", r.arquivoMaterial)
                    .raw("special", special[position] ? "true" : "false")
                    .str();
    }
    return json + "]";
}

/// Mesh nodes are not stored: they are counted from the triangles, as the mesh information does.
long long nodeCount(problem::ProblemData& data)
{
    problem::InformacoesMalha info;
    if (data.numTriangulos == 0 || !problem::informacoesMalha(data, info))
        return 0;
    return info.nos;
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runExport(const std::vector<std::string>& words)
{
    const Arguments args(words, { "--min-distance" });
    if (args.positional().size() != 2 || !args.error().empty())
        return usage(ExportUsage);
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];

    const std::string type = common::extensionOf(in);
    if (type != "des" && type != "pre" && type != "dxf")
        return fail(in, Status::failure(msg::UnknownFileType));
    geometry::DrawingData drawing;
    if (Status s = geometry::openDrawing(in, type, drawing); !s)
        return fail(in, s);
    if (args.has("--min-distance")) {
        double d = 0.0;
        if (!parseNumber(args.value("--min-distance"), d) || d <= 0.0)
            return usage(std::string(ExportUsage) + " (D a positive number)");
        drawing.distanciaMinima = d;
    }

    problem::ResultadoFormacao result;
    const Status formed = problem::formarRegioes(drawing, result);
    if (result.removidos > 0) {
        char text[160];
        std::snprintf(text, sizeof text, std::string(msg::FormatoElementosRemovidos).c_str(),
            result.removidos);
        std::fprintf(stderr, "%s:%s\n", in.c_str(), text);
    }
    if (!formed) {
        std::fprintf(
            stderr, "%s: %s\n", in.c_str(), problem::textoFalhaFormacao(formed, result).c_str());
        return 1;
    }

    // The window of the drawing view after "&Normal": the extent with a 3 % margin.
    const geometry::Caixa box = paint::janelaNormal(drawing, paint::JanelaInicial);
    const problem::JanelaExportacao window { box.xMin, box.xMax, box.yMin, box.yMax };
    const std::string bytes
        = problem::escreveDatExportado(drawing.fatorEscala, window, result.regioes);
    if (Status s = common::writeFileAtomically(out, bytes); !s)
        return fail(out, s);
    std::fprintf(stderr, "%zu regions written to %s (%zu elements removed)\n",
        result.regioes.size(), out.c_str(), result.removidos);
    return 0;
}

int runInfoProblem(const std::string& path, bool json)
{
    std::string bytes;
    if (Status s = common::readWholeFile(path, bytes); !s)
        return fail(path, s);
    problem::ProblemData data;
    if (Status s = problem::readDat(std::string_view(bytes), data); !s)
        return fail(path, s);
    const std::string version = versionOf(bytes);

    const auto count = [](std::size_t n) { return static_cast<long long>(n); };
    if (json) {
        const std::string text
            = JsonObject()
                  .text("file", path)
                  .text("type", "dat")
                  .text("version", version)
                  .text("analysis", analysisName(data.tipoAnalise))
                  .number("scale", data.fatorEscala)
                  .raw("window", windowJson(data))
                  .raw("regions", regionsJson(data))
                  .integer("triangles", data.numTriangulos)
                  .integer("nodes", nodeCount(data))
                  .number("max_edge", data.arestaMaxima)
                  .number("mesh_edge", data.arestaMalha)
                  .integer("potential_segments", count(data.segmentosPotencial.size()))
                  .integer("point_potentials", count(data.potenciaisPonto.size()))
                  .text("symmetry", symmetryName(data.tipoSimetria))
                  .integer("symmetry_segments", count(data.segmentosSimetria.size()))
                  .integer("special_regions", count(data.regioesEspeciais.size()))
                  .integer("special_areas", count(data.areasEspeciais.size()))
                  .str();
        std::printf("%s\n", text.c_str());
        return 0;
    }
    std::printf("file:       %s\n", path.c_str());
    std::printf("version:    %s\n", version.c_str());
    std::printf("analysis:   %s\n", analysisName(data.tipoAnalise));
    std::printf("scale:      %g\n", data.fatorEscala);
    std::printf("window:     x %g .. %g, y %g .. %g\n", data.janela[0], data.janela[1],
        data.janela[2], data.janela[3]);
    std::printf("regions:    %zu\n", data.regioes.size());
    std::printf("triangles:  %d\n", static_cast<int>(data.numTriangulos));
    std::printf("nodes:      %lld\n", nodeCount(data));
    std::printf("max edge:   %g\n", data.arestaMaxima);
    std::printf("mesh edge:  %g\n", data.arestaMalha);
    std::printf("potentials: %zu segments, %zu points\n", data.segmentosPotencial.size(),
        data.potenciaisPonto.size());
    std::printf("symmetry:   %s (%zu segments)\n", symmetryName(data.tipoSimetria),
        data.segmentosSimetria.size());
    std::printf("special:    %zu regions, %zu areas\n", data.regioesEspeciais.size(),
        data.areasEspeciais.size());
    return 0;
}

int runConvertProblem(const std::string& in, const std::string& out)
{
    if (common::extensionOf(out) != "dat")
        return usage("usage: tarvex-cli convert IN.dat OUT.dat");
    problem::ProblemData data;
    if (Status s = problem::openDat(in, data); !s)
        return fail(in, s);
    if (Status s = problem::saveDat(out, data); !s)
        return fail(out, s);
    return 0;
}

int runRenderProblem(
    const std::string& in, const std::string& out, int width, int height, bool mesh)
{
    problem::ProblemData data;
    if (Status s = problem::openDat(in, data); !s)
        return fail(in, s);
    const Status s
        = paint::writePicture(out, QSize(width, height), [&](QPainter& painter, QSize size) {
              if (mesh)
                  paint::renderProblemMesh(painter, data, size);
              else
                  paint::renderProblem(painter, data, size);
          });
    if (!s)
        return fail(out, s);
    return 0;
}
