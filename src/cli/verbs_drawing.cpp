#include "cli_common.h"
#include "verbs.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"

#include <cstdio>

namespace tarvex::cli {
namespace {

/// Opens a drawing by its file's extension; only the drawing types are accepted here.
Status openByExtension(const std::string& path, geometry::DrawingData& drawing,
    geometry::DxfIgnorados* ignored = nullptr)
{
    const std::string extension = common::extensionOf(path);
    if (extension != "des" && extension != "pre" && extension != "dxf")
        return Status::failure(msg::UnknownFileType);
    return geometry::openDrawing(path, extension, drawing, ignored);
}

/// Entity kind → count, in the kinds' order.
std::string ignoredJson(const geometry::DxfIgnorados& ignored)
{
    JsonObject object;
    for (const auto& [kind, count] : ignored)
        object.integer(kind, count);
    return object.str();
}

/// Says on stderr which entities a DXF import left out.
void reportIgnored(const std::string& path, const geometry::DxfIgnorados& ignored)
{
    for (const auto& [kind, count] : ignored)
        std::fprintf(stderr, "%s: ignored %lld %s\n", path.c_str(), count, kind.c_str());
}

std::string boxJson(const geometry::DrawingData& drawing)
{
    geometry::Caixa box;
    if (!geometry::caixaDesenho(drawing, box))
        return "null";
    return JsonObject()
        .number("x_min", box.xMin)
        .number("y_min", box.yMin)
        .number("x_max", box.xMax)
        .number("y_max", box.yMax)
        .str();
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runInfo(const std::vector<std::string>& words)
{
    const Arguments args(words, {});
    if (args.positional().size() != 1 || !args.error().empty())
        return usage("usage: tarvex-cli info FILE [--json]");
    const std::string& path = args.positional()[0];
    if (common::extensionOf(path) == "dat")
        return runInfoProblem(path, args.has("--json"));
    if (common::extensionOf(path) == "msh")
        return runInfoMsh(path, args.has("--json"));
    if (common::extensionOf(path) == "grp" || common::extensionOf(path) == "mat")
        return runInfoGraph(path, args.has("--json"));
    geometry::DrawingData drawing;
    geometry::DxfIgnorados ignored;
    if (Status s = openByExtension(path, drawing, &ignored); !s)
        return fail(path, s);
    const bool dxf = common::extensionOf(path) == "dxf";

    // Only the binary drawing carries a version text.
    const bool binary = common::extensionOf(path) == "des";
    if (args.has("--json")) {
        JsonObject head;
        head.text("file", path).text("type", common::extensionOf(path));
        if (binary)
            head.text("version", geometry::DesVersion);
        else
            head.null("version");
        head.number("scale", drawing.fatorEscala)
            .integer("points", static_cast<long long>(drawing.pontos.size()))
            .integer("segments", static_cast<long long>(drawing.segmentos.size()))
            .integer("arcs", static_cast<long long>(drawing.arcos.size()))
            .raw("bbox", boxJson(drawing));
        if (dxf)
            head.raw("ignored", ignoredJson(ignored));
        const std::string text = head.str();
        std::printf("%s\n", text.c_str());
        return 0;
    }
    std::printf("file:     %s\n", path.c_str());
    if (binary)
        std::printf("version:  %s\n", std::string(geometry::DesVersion).c_str());
    std::printf("scale:    %g\n", drawing.fatorEscala);
    std::printf("points:   %zu\nsegments: %zu\narcs:     %zu\n", drawing.pontos.size(),
        drawing.segmentos.size(), drawing.arcos.size());
    geometry::Caixa box;
    if (geometry::caixaDesenho(drawing, box))
        std::printf("extent:   x %g .. %g, y %g .. %g\n", box.xMin, box.xMax, box.yMin, box.yMax);
    else
        std::printf("extent:   empty\n");
    for (const auto& [kind, count] : ignored)
        std::printf("ignored:  %lld %s\n", count, kind.c_str());
    return 0;
}

int runConvert(const std::vector<std::string>& words)
{
    const Arguments args(words, {});
    if (args.positional().size() != 2 || !args.error().empty())
        return usage("usage: tarvex-cli convert IN.pre|IN.des|IN.dxf OUT.des | IN.dat OUT.dat | "
                     "IN.grp OUT.asc");
    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];
    if (common::extensionOf(in) == "grp")
        return runConvertGraph(in, out);
    if (common::extensionOf(in) == "dat")
        return runConvertProblem(in, out);
    geometry::DrawingData drawing;
    geometry::DxfIgnorados ignored;
    if (Status s = openByExtension(in, drawing, &ignored); !s)
        return fail(in, s);
    reportIgnored(in, ignored);
    std::string written;
    if (Status s = geometry::saveDrawing(out, drawing, &written); !s)
        return fail(out, s);
    if (written != out)
        std::fprintf(stderr, "written as %s\n", written.c_str());
    return 0;
}
