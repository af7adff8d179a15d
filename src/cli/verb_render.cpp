#include "cli_common.h"
#include "render_common.h"
#include "verbs.h"
#include "verbs_graph_render.h"

#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "paint/paint_drawing.h"
#include "paint/paint_results.h"
#include "paint/picture_export.h"
#include "paint/view_mapping.h"
#include "results/results_emf.h"
#include "solver/solver_model.h"

#include <QGuiApplication>
#include <QPainter>

#include <QImage>
#include <QString>
#include <clocale>

#include <cstdio>
#include <memory>

namespace tarvex::cli {
namespace {

constexpr int DefaultWidth = 800;
constexpr int DefaultHeight = 600;

const char* const RenderUsage
    = "usage: tarvex-cli render IN.des|IN.pre|IN.dxf|IN.dat|IN.grp|IN.msh OUT.png|OUT.svg|OUT.pdf"
      " [--size WxH] [--mode MODE] [--lines N] [--map B|H|D|E|J|P]\n"
      "  the format follows OUT's extension; IN.msh also writes OUT.emf (0.01 mm, lines only)\n"
      "  W and H from 1 to 20000; --mode structure|mesh for IN.dat; for IN.msh --mode\n"
      "  mesh|regions|equipotentials|induced-lines (default regions), --lines N (2 to 5000),\n"
      "  --aux-lines auto (the auxiliary lines the automatic removal takes out are left out)\n"
      "  for the lines, or --map for a colour map";

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int writeResultsEmfPicture(solver::SolverModel& model, int displayMode, int equipotentialCount,
    int width, int height, const std::string& out,
    const std::vector<problem::SegmentoContorno>* hidden)
{
    // The visible window of a view of width × height showing the model's first window.
    paint::ViewMapping mapping;
    mapping.setTargetSize(width, height);
    const geometry::Caixa janela = paint::janelaInicialResultados(model);
    mapping.ajustarJanela(janela.xMin, janela.yMin, janela.xMax, janela.yMax);
    results::EmfExport options;
    options.window = { mapping.xMin(), mapping.yMin(), mapping.xMax(), mapping.yMax() };
    options.displayMode = displayMode;
    options.equipotentialCount = equipotentialCount;
    options.hidden = hidden;
    if (Status s = results::writeResultsEmf(out, model, options); !s)
        return fail(out, s);
    return 0;
}

int runRender(const std::vector<std::string>& words)
{
    const Arguments args(words, { "--size", "--mode", "--lines", "--map", "--aux-lines" });
    if (args.positional().size() != 2 || !args.error().empty())
        return usage(RenderUsage);
    int width = DefaultWidth;
    int height = DefaultHeight;
    if (args.has("--size") && !parseSize(args.value("--size"), width, height))
        return usage(RenderUsage);

    const std::string& in = args.positional()[0];
    const std::string& out = args.positional()[1];

    const std::string type = common::extensionOf(in);
    // Refuse a format before any input is read.
    const paint::PictureFormat format = paint::pictureFormatOf(out);
    if (format == paint::PictureFormat::Unknown)
        return fail(out, Status::failure(msg::FormatoImagemDesconhecido));
    if (format == paint::PictureFormat::Emf && type != "msh")
        return fail(out, Status::failure(msg::EmfSoResultados));
    if (type == "msh") {
        const auto app = ensureGuiApplication();
        if (args.has("--aux-lines") && args.value("--aux-lines") != "auto")
            return usage(RenderUsage);
        if (args.has("--map"))
            return runRenderMshMap(in, out, width, height, args.value("--map"));
        return runRenderMsh(in, out, width, height,
            args.has("--mode") ? args.value("--mode") : std::string("regions"),
            args.has("--lines") ? args.value("--lines") : std::string(), args.has("--aux-lines"));
    }
    const std::string mode = args.has("--mode") ? args.value("--mode") : "structure";
    if (mode != "structure" && (mode != "mesh" || type != "dat"))
        return usage(RenderUsage);
    if (type == "dat") {
        const auto app = ensureGuiApplication();
        return runRenderProblem(in, out, width, height, mode == "mesh");
    }
    if (type == "grp") {
        const auto app = ensureGuiApplication();
        return runRenderGraph(in, out, width, height);
    }
    // Only the drawing types: any other extension would open as an empty drawing.
    if (type != "des" && type != "pre" && type != "dxf")
        return fail(in, Status::failure(msg::UnknownFileType));

    geometry::DrawingData drawing;
    if (Status s = geometry::openDrawing(in, type, drawing); !s)
        return fail(in, s);

    const auto app = ensureGuiApplication();
    const Status s = paint::writePicture(out, QSize(width, height),
        [&](QPainter& painter, QSize size) { paint::renderDrawing(painter, drawing, size); });
    if (!s)
        return fail(out, s);
    return 0;
}
