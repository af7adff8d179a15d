#include "cli_common.h"
#include "verbs.h"

#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "evaluation/flux.h"
#include "evaluation/sections.h"
#include "graphs/grp_io.h"
#include "paint/paint_colour_map.h"
#include "paint/picture_export.h"
#include "results/colour_map.h"
#include "results/forces.h"
#include "results/losses.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <string>

namespace tarvex::cli {
namespace {

const char* const EvalUsage
    = "usage: tarvex-cli eval IN.msh point X Y [--rt] [--json]\n"
      "       tarvex-cli eval IN.msh flux X1 Y1 X2 Y2 [--json]\n"
      "       tarvex-cli eval IN.msh section X1 Y1 X2 Y2 --quantity "
      "flux|field|pressure|current|loss\n"
      "                  [--centre XC YC] [--grp OUT.grp] [--json]\n"
      "       tarvex-cli eval IN.msh force X1 Y1 X2 Y2 [--centre XC YC] [--json]\n"
      "       tarvex-cli eval IN.msh losses --region X Y | --total [--json]\n"
      "       tarvex-cli eval IN.msh integrals|inductance|capacitance ... (see their usage)\n"
      "  (lengths in drawing units; with --rt the point is given as R and T, the angle in "
      "degrees,\n"
      "   and the components are the tangential and radial ones; --centre makes a polar section\n"
      "   from P1 counter-clockwise to P2)";

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
bool openCalculated(
    const std::string& path, std::string_view noResults, solver::SolverModel& model, int& exitCode)
{
    if (Status s = solver::openMsh(path, model); !s) {
        exitCode = fail(path, s);
        return false;
    }
    if (model.calculationKind == solver::CalculationKind::NotCalculated) {
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

/// Takes an option followed by two numbers out of the words ("--centre XC YC"). False when the
/// option is there without two numbers after it.
bool takePair(std::vector<std::string>& words, const std::string& option, bool& present,
    geometry::Ponto& point)
{
    present = false;
    const auto at = std::find(words.begin(), words.end(), option);
    if (at == words.end())
        return true;
    present = true;
    const auto i = static_cast<std::size_t>(at - words.begin());
    if (i + 2 >= words.size() || !parseNumber(words[i + 1], point.x)
        || !parseNumber(words[i + 2], point.y))
        return false;
    words.erase(at, at + 3);
    return true;
}

std::string jsonList(const std::vector<double>& values)
{
    std::string text = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += ",";
        text += JsonObject::formatNumber(values[i]);
    }
    return text + "]";
}

/// The graph as JSON: title, captions, curve names, the abscissae and the curves.
std::string graphJson(const graphs::GraphData& g)
{
    std::string names = "[";
    std::string curves = "[";
    std::vector<double> distance;
    for (std::size_t c = 0; c < g.curves.size(); ++c) {
        const materials::Curva& curve = g.curves[c];
        std::vector<double> ys;
        for (std::size_t i = 1; i <= curve.count(); ++i) {
            ys.push_back(curve.y(i));
            if (c == 0)
                distance.push_back(curve.x(i));
        }
        names += (c > 0 ? "," : "") + JsonObject::quote(g.curveNames[c]);
        curves += (c > 0 ? "," : "") + jsonList(ys);
    }
    JsonObject o;
    o.text("title", g.title).text("x_caption", g.xCaption).text("y_caption", g.yCaption);
    o.raw("names", names + "]").raw("distance", jsonList(distance)).raw("curves", curves + "]");
    return o.str();
}

/// The graph as text: its title, captions and names, then one row per point.
void printGraph(const graphs::GraphData& g)
{
    std::printf("%s\n%s\n%s\n", g.title.c_str(), g.xCaption.c_str(), g.yCaption.c_str());
    std::printf("distance");
    for (const std::string& name : g.curveNames)
        std::printf(" %s", name.c_str());
    std::printf("\n");
    const std::size_t n = g.curves.empty() ? 0 : g.curves.front().count();
    for (std::size_t i = 1; i <= n; ++i) {
        std::printf("%.9g", g.curves.front().x(i));
        for (const materials::Curva& c : g.curves)
            std::printf(" %.9g", c.y(i));
        std::printf("\n");
    }
}

/// The induced-current quantities need a magnetic analysis, as the view's commands do.
bool openForInduced(const std::string& in, solver::SolverModel& model, int& code)
{
    if (!openCalculated(in, msg::SemDadosCurvas, model, code))
        return false;
    if (model.magnetic == 0) {
        code = fail(in, Status::failure(msg::SoAnaliseMagnetica));
        return false;
    }
    return true;
}

int evalSection(const std::string& in, const std::vector<double>& p, const std::string& quantity,
    bool polar, const geometry::Ponto& centre, const std::string& grp, bool json)
{
    static const char* const Quantities[] = { "flux", "field", "pressure", "current", "loss" };
    int q = -1;
    for (int i = 0; i < 5; ++i)
        if (quantity == Quantities[i])
            q = i;
    if (q < 0 || (polar && q > 2))
        return usage(EvalUsage);
    solver::SolverModel model;
    int code = 0;
    if (q <= 2 ? !openCalculated(in, msg::SemDadosCurvas, model, code)
               : !openForInduced(in, model, code))
        return code;
    const geometry::Ponto p1 { p[0], p[1] };
    const geometry::Ponto p2 { p[2], p[3] };
    evaluation::SectionCurves curves;
    evaluation::SectionGraph kind = evaluation::SectionGraph::FluxDensity;
    if (polar) {
        if (!evaluation::samplePolarSectionRetrying(model, p1, p2, centre, q, curves))
            return fail(in, curves.ok() ? Status::failure(msg::SecaoPolarSemCurva) : curves.status);
        for (std::string_view w : curves.warnings)
            std::fprintf(stderr, "%s: %s\n", in.c_str(), std::string(w).c_str());
        static const evaluation::SectionGraph Kinds[] = { evaluation::SectionGraph::FluxDensity,
            evaluation::SectionGraph::FieldPolar, evaluation::SectionGraph::Pressure };
        kind = Kinds[q];
    } else if (q <= 2) {
        curves = evaluation::sampleSection(model, p1, p2, q);
        static const evaluation::SectionGraph Kinds[] = { evaluation::SectionGraph::FluxDensity,
            evaluation::SectionGraph::Field, evaluation::SectionGraph::Pressure };
        kind = Kinds[q];
    } else {
        curves = evaluation::sampleSectionInduced(model, p1, p2, q - 3);
        kind = q == 3 ? evaluation::SectionGraph::CurrentDensity
                      : evaluation::SectionGraph::LossDensity;
    }
    if (!curves.ok())
        return fail(in, curves.status);
    const graphs::GraphData graph = evaluation::sectionGraph(curves, kind, model.magnetic != 0);
    if (!grp.empty())
        if (Status s = graphs::saveGrp(grp, graph); !s)
            return fail(grp, s);
    if (json)
        std::printf("%s\n", graphJson(graph).c_str());
    else
        printGraph(graph);
    return 0;
}

int evalForce(const std::string& in, const std::vector<double>& p, bool polar,
    const geometry::Ponto& centre, bool json)
{
    solver::SolverModel model;
    int code = 0;
    if (!openCalculated(in, msg::SemDadosCurvas, model, code))
        return code;
    const geometry::Ponto p1 { p[0], p[1] };
    const geometry::Ponto p2 { p[2], p[3] };
    const results::SectionForce f = polar ? results::forceOnPolarSection(model, p1, p2, centre)
                                          : results::forceOnSection(model, p1, p2);
    if (!f.status)
        return fail(in, f.status);
    if (!json) {
        std::printf("%s\n", results::forceText(f).c_str());
        return 0;
    }
    JsonObject o;
    o.number("F", f.magnitude);
    if (polar)
        o.number("Fn", f.normal).number("Ft", f.tangential);
    else
        o.number("Fx", f.fx).number("Fy", f.fy).number("Ft", f.tangential).number("Fn", f.normal);
    std::printf("%s\n", o.str().c_str());
    return 0;
}

int evalLosses(const std::string& in, bool total, const geometry::Ponto& at, bool json)
{
    solver::SolverModel model;
    int code = 0;
    if (!openForInduced(in, model, code))
        return code;
    const results::Losses l
        = total ? results::totalLosses(model) : results::regionLosses(model, at.x, at.y);
    if (!l.status)
        return fail(in, l.status);
    if (json)
        std::printf("%s\n", JsonObject().number("losses", l.watts).str().c_str());
    else
        std::printf("%s\n",
            (total ? results::totalLossesText(l.watts) : results::regionLossesText(l.watts))
                .c_str());
    return 0;
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runEval(const std::vector<std::string>& givenWords)
{
    if (isIntegralsVerb(givenWords))
        return runEvalIntegrals(givenWords);
    if (isPathEval(givenWords))
        return runEvalPaths(givenWords);
    std::vector<std::string> words = givenWords;
    bool polar = false;
    bool region = false;
    geometry::Ponto centre;
    geometry::Ponto at;
    if (!takePair(words, "--centre", polar, centre) || !takePair(words, "--region", region, at))
        return usage(EvalUsage);
    const Arguments args(words, { "--quantity", "--grp" });
    const std::vector<std::string>& pos = args.positional();
    if (!args.error().empty() || pos.size() < 2)
        return usage(EvalUsage);
    const bool json = args.has("--json");
    std::vector<double> numbers;
    if (pos[1] == "point" && pos.size() == 4 && parseNumbers(pos, 2, 2, numbers))
        return evalPoint(pos[0], numbers, args.has("--rt"), json);
    if (polar && pos[1] != "section" && pos[1] != "force")
        return usage(EvalUsage);
    if (region && pos[1] != "losses")
        return usage(EvalUsage);
    if (pos[1] == "flux" && pos.size() == 6 && !args.has("--rt")
        && parseNumbers(pos, 2, 4, numbers))
        return evalFlux(pos[0], numbers, json);
    if (pos[1] == "section" && pos.size() == 6 && args.has("--quantity")
        && parseNumbers(pos, 2, 4, numbers))
        return evalSection(
            pos[0], numbers, args.value("--quantity"), polar, centre, args.value("--grp"), json);
    if (pos[1] == "force" && pos.size() == 6 && parseNumbers(pos, 2, 4, numbers))
        return evalForce(pos[0], numbers, polar, centre, json);
    if (pos[1] == "losses" && pos.size() == 2 && region != args.has("--total"))
        return evalLosses(pos[0], !region, at, json);
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
    const Status s = paint::writePicture(out, QSize(width, height),
        [&](QPainter& painter, QSize size) { paint::renderColourMap(painter, model, map, size); });
    if (!s)
        return fail(out, s);
    return 0;
}
