#include "cli_common.h"
#include "verbs.h"

#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "evaluation/flux.h"
#include "paint/picture_export.h"
#include "paint/paint_colour_map.h"
#include "results/colour_map.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <QPainter>
#include <QImage>
#include <QString>

#include <cstdio>
#include <string>

namespace tarvex::cli {
namespace {

const char* const EvalUsage =
    "usage: tarvex-cli eval IN.msh point X Y [--rt] [--json]\n"
    "       tarvex-cli eval IN.msh flux X1 Y1 X2 Y2 [--json]\n"
    "       tarvex-cli eval IN.msh integrals|inductance|capacitance ... (see their usage)\n"
    "  (lengths in drawing units; with --rt the point is given as R and T, the angle in degrees,\n"
    "   and the components are the tangential and radial ones)";

const char* const MapUsage = "usage: tarvex-cli render IN.msh OUT.png --map B|H|D|E|J|P";

bool parseNumbers(const std::vector<std::string>& words, std::size_t from, std::size_t count,
                  std::vector<double>& values)
{
    values.clear();
    for (std::size_t i = from; i < from + count; ++i) {
        double v = 0.0;
        if (!parseNumber(words[i], v))
            return false;
        values.push_back(v);
    }
    return true;
}

/// Opens a model and refuses one that holds no results (its node values are not potentials).
bool openCalculated(const std::string& path, std::string_view noResults, solver::SolverModel& model,
                    int& exitCode)
{
    if (Status s = solver::openMsh(path, model); !s) {
        exitCode = fail(path, s);
        return false;
    }
    if (model.calculationKind == solver::NotCalculated) {
        exitCode = fail(path, Status::failure(noResults));
        return false;
    }
    return true;
}

int evalPoint(const std::string& in, const std::vector<double>& xy, bool polar, bool json)
{
    solver::SolverModel model;
    int code = 0;
    if (!openCalculated(in, msg::SemDadosValores, model, code))
        return code;
    double x = xy[0];
    double y = xy[1];
    if (polar)
        std::tie(x, y) = evaluation::polarToCartesian(xy[0], xy[1]);
    const evaluation::PointValues v = evaluation::pointValues(model, x, y, polar);
    if (!v.found)
        return fail(in, Status::failure(msg::PontoForaDominio));
    if (!v.status)
        return fail(in, v.status);

    if (!json) {
        for (const auto& [label, text] : evaluation::dialogFields(v))
            std::printf("%.*s %s\n", static_cast<int>(label.size()), label.data(), text.c_str());
        return 0;
    }
    const std::string a = polar ? "t" : "x";
    const std::string b = polar ? "r" : "y";
    const std::string flux = v.magnetic ? "B" : "D";
    const std::string field = v.magnetic ? "H" : "E";
    JsonObject o;
    o.number("x", x).number("y", y).number("potential", v.potential);
    if (v.induced)
        o.number("potential_im", v.potentialIm);
    o.number(flux + a, v.flux.x).number(flux + b, v.flux.y).number(flux, v.flux.magnitude);
    o.number(field + a, v.field.x).number(field + b, v.field.y).number(field, v.field.magnitude);
    o.number("F" + a, v.force.x).number("F" + b, v.force.y).number("F", v.force.magnitude);
    if (v.magnetic)
        o.number("mu_r", v.relativePermeability);
    if (v.induced) {
        o.number("J", v.currentDensity);
        if (v.hasLoss)
            o.number("Pi", v.lossDensity);
        else
            o.null("Pi");
    }
    std::printf("%s\n", o.str().c_str());
    return 0;
}

int evalFlux(const std::string& in, const std::vector<double>& p, bool json)
{
    solver::SolverModel model;
    int code = 0;
    if (!openCalculated(in, msg::SemDadosCurvas, model, code))
        return code;
    const evaluation::FluxResult r = evaluation::fluxBetweenPoints(model, p[0], p[1], p[2], p[3]);
    // The view shows 0 for a point outside the mesh; a batch caller must be told instead.
    if (!r.found)
        return fail(in, Status::failure(msg::PontoForaDominio));
    if (json)
        std::printf("%s\n", JsonObject().number("flux", r.value).str().c_str());
    else
        std::printf("%s\n", evaluation::fluxText(r.value).c_str());
    return 0;
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runEval(const std::vector<std::string>& words)
{
    if (isIntegralsVerb(words))
        return runEvalIntegrals(words);
    const Arguments args(words, {});
    const std::vector<std::string>& pos = args.positional();
    if (!args.error().empty() || pos.size() < 2)
        return usage(EvalUsage);
    const bool json = args.has("--json");
    std::vector<double> numbers;
    if (pos[1] == "point" && pos.size() == 4 && parseNumbers(pos, 2, 2, numbers))
        return evalPoint(pos[0], numbers, args.has("--rt"), json);
    if (pos[1] == "flux" && pos.size() == 6 && !args.has("--rt") && parseNumbers(pos, 2, 4, numbers))
        return evalFlux(pos[0], numbers, json);
    return usage(EvalUsage);
}

int runRenderMshMap(const std::string& in, const std::string& out, int width, int height,
                    const std::string& quantity)
{
    static const char* const Letters = "BHDEJP";
    const std::string letters(Letters);
    if (quantity.size() != 1 || letters.find(quantity[0]) == std::string::npos)
        return usage(MapUsage);
    const auto q = static_cast<std::int32_t>(letters.find(quantity[0]));

    solver::SolverModel model;
    if (Status s = solver::openMsh(in, model); !s)
        return fail(in, s);
    if (Status s = results::checkMapQuantity(model, q); !s)
        return fail(in, s);
    const results::ColourMap map = results::computeColourMap(model, q);
    // Triangles outside every region have no value and stay unpainted; say so once.
    if (map.unpainted > 0)
        std::fprintf(stderr, "%s: %s\n", in.c_str(), std::string(msg::PontoForaDominio).c_str());
    if (paint::pictureFormatOf(out) == paint::PictureFormat::Emf)
        return writeResultsEmfPicture(model, paint::ModoEscalaCores, 0, width, height, out);
    const Status s =
        paint::writePicture(out, QSize(width, height), [&](QPainter& painter, QSize size) {
            paint::renderColourMap(painter, model, map, size);
        });
    if (!s)
        return fail(out, s);
    return 0;
}
