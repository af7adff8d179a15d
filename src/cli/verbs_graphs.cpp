#include "cli_common.h"
#include "verbs.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "graphs/graph_data.h"
#include "graphs/grp_io.h"
#include "graphs/harmonics.h"
#include "graphs/material_graph.h"
#include "materials/curva.h"
#include "materials/mat_io.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarvex::cli {
namespace {

const char* const HarmonicsUsage
    = "usage: tarvex-cli harmonics IN.grp --mode N [--json] (N from 0 to 5)";
const char* const PlotMatUsage = "usage: tarvex-cli plot-mat IN.mat OUT.grp [--electric]";

std::string pairJson(double a, double b)
{
    // Appended rather than concatenated onto a literal: g++ 12 at -O3 takes the literal form for
    // an overlapping copy and refuses to build.
    std::string out = "[";
    out += JsonObject::formatNumber(a);
    out += ',';
    out += JsonObject::formatNumber(b);
    out += ']';
    return out;
}

template <typename Items, typename ToJson> std::string listJson(const Items& items, ToJson toJson)
{
    std::string out = "[";
    bool first = true;
    for (const auto& item : items) {
        if (!first)
            out += ',';
        out += toJson(item);
        first = false;
    }
    return out + "]";
}

std::string curveJson(const materials::Curva& curve)
{
    std::string out = "[";
    for (std::size_t i = 1; i <= curve.count(); ++i) {
        if (i > 1)
            out += ',';
        out += pairJson(curve.x(i), curve.y(i));
    }
    return out + "]";
}

std::string numbersJson(const graphs::HarmonicTerms& terms)
{
    return listJson(terms, [](double v) { return JsonObject::formatNumber(v); });
}

int infoMat(const std::string& path, bool json)
{
    std::vector<materials::PontoMaterial> pontos;
    if (Status s = materials::openMat(path, pontos); !s)
        return fail(path, s);
    if (json) {
        const std::string text = JsonObject()
                                     .text("file", path)
                                     .text("type", "mat")
                                     .raw("points",
                                         listJson(pontos,
                                             [](const materials::PontoMaterial& p) {
                                                 return pairJson(p.campo, p.inducao);
                                             }))
                                     .str();
        std::printf("%s\n", text.c_str());
        return 0;
    }
    std::printf("file:   %s\npoints: %zu\n", path.c_str(), pontos.size());
    for (std::size_t i = 0; i < pontos.size(); ++i)
        std::printf("%s\n", materials::linhaPonto(static_cast<int>(i + 1), pontos[i]).c_str());
    return 0;
}

int infoGrp(const std::string& path, bool json)
{
    graphs::GraphData data;
    if (Status s = graphs::openGrp(path, data); !s)
        return fail(path, s);
    if (json) {
        const std::string text
            = JsonObject()
                  .text("file", path)
                  .text("type", "grp")
                  .text("version", graphs::GrpVersion)
                  .text("title", data.title)
                  .text("x_caption", data.xCaption)
                  .text("y_caption", data.yCaption)
                  .raw("names",
                      listJson(data.curveNames,
                          [](const std::string& n) { return JsonObject::quote(n); }))
                  .raw("curves", listJson(data.curves, curveJson))
                  .str();
        std::printf("%s\n", text.c_str());
        return 0;
    }
    std::printf("file:      %s\nversion:   %s\ntitle:     %s\nx caption: %s\ny caption: %s\n",
        path.c_str(), std::string(graphs::GrpVersion).c_str(), data.title.c_str(),
        data.xCaption.c_str(), data.yCaption.c_str());
    std::printf("curves:    %zu\n", data.curves.size());
    for (std::size_t c = 0; c < data.curves.size(); ++c) {
        const std::string name = c < data.curveNames.size() ? data.curveNames[c] : std::string();
        std::printf("  %zu: %s, %zu points\n", c + 1, name.c_str(), data.curves[c].count());
    }
    return 0;
}

bool parseMode(const std::string& word, graphs::HarmonicMode& mode)
{
    double value = 0.0;
    if (!parseNumber(word, value) || value != static_cast<int>(value))
        return false;
    return graphs::harmonicModeFromNumber(static_cast<int>(value), mode);
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runInfoGraph(const std::string& path, bool json)
{
    return common::extensionOf(path) == "mat" ? infoMat(path, json) : infoGrp(path, json);
}

int runConvertGraph(const std::string& in, const std::string& out)
{
    graphs::GraphData data;
    if (Status s = graphs::openGrp(in, data); !s)
        return fail(in, s);
    const std::string written = graphs::ascNomeFinal(out);
    if (Status s = graphs::saveAsc(written, data); !s)
        return fail(written, s);
    if (written != out)
        std::fprintf(stderr, "written as %s\n", written.c_str());
    return 0;
}

int runHarmonics(const std::vector<std::string>& words)
{
    const Arguments args(words, { "--mode" });
    graphs::HarmonicMode mode = graphs::HarmonicMode::PeriodoInteiro;
    if (args.positional().size() != 1 || !args.error().empty() || !args.has("--mode")
        || !parseMode(args.value("--mode"), mode))
        return usage(HarmonicsUsage);
    const std::string& path = args.positional()[0];
    if (common::extensionOf(path) != "grp")
        return fail(path, Status::failure(msg::UnknownFileType));
    graphs::GraphData data;
    if (Status s = graphs::openGrp(path, data); !s)
        return fail(path, s);

    const graphs::HarmonicTables tables
        = graphs::harmonicTables(graphs::computeHarmonics(data, mode));
    if (args.has("--json")) {
        const auto lists = [](const auto& perCurve) { return listJson(perCurve, numbersJson); };
        const auto numbers = [](const auto& values) {
            return listJson(values, [](double v) { return JsonObject::formatNumber(v); });
        };
        const std::string reference = JsonObject()
                                          .raw("sine", numbers(tables.sineReference))
                                          .raw("cosine", numbers(tables.cosineReference))
                                          .str();
        const std::string text
            = JsonObject()
                  .integer("mode", static_cast<int>(mode))
                  .raw("orders", listJson(tables.orders, [](int k) { return std::to_string(k); }))
                  .raw("sine", lists(tables.sine))
                  .raw("cosine", lists(tables.cosine))
                  .raw("reference", reference)
                  .str();
        std::printf("%s\n", text.c_str());
        return 0;
    }
    for (std::size_t field = 0; field < tables.texts.size(); ++field) {
        const std::string_view label
            = field < graphs::HarmonicCurves ? graphs::TermosEmSeno : graphs::TermosEmCosseno;
        std::printf("%s, curva %zu\n%s\n\n", std::string(label).c_str(),
            field % graphs::HarmonicCurves + 1, tables.texts[field].c_str());
    }
    return 0;
}

int runPlotMat(const std::vector<std::string>& words)
{
    const Arguments args(words, {});
    if (args.positional().size() != 2 || !args.error().empty())
        return usage(PlotMatUsage);
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];
    std::vector<materials::PontoMaterial> pontos;
    // The dialog plots an unreadable file as an empty curve; a batch run says what is wrong.
    if (Status s = materials::openMat(in, pontos); !s)
        return fail(in, s);
    if (Status s = graphs::saveGrp(out, graphs::graficoMaterial(pontos, args.has("--electric")));
        !s)
        return fail(out, s);
    return 0;
}
