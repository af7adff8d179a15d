#include "cli_common.h"
#include "verbs.h"

#include "common/messages.h"
#include "graphs/grp_io.h"
#include "results/creepage_path.h"
#include "results/critical_path.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <cstdio>
#include <optional>
#include <string>

namespace tarvex::cli {
namespace {

const char* const PathUsage
    = "usage: tarvex-cli eval IN.msh critical-path X1 Y1 X2 Y2 [--grp OUT.grp] [--fs-grp OUT.grp]\n"
      "                  [--oil-curve FILE] [--json]\n"
      "       tarvex-cli eval IN.msh creepage X1 Y1 X2 Y2 [X Y ...] [--grp OUT.grp]\n"
      "                  [--fs-grp OUT.grp] [--creepage-curve FILE] [--json]\n"
      "  (points in drawing units; the curve files hold gap length (mm) against allowable field\n"
      "   (V/m) as a materials file does)";

/// What both analyses hand to the output.
struct PathOutcome {
    double minSafetyFactor = results::SemFatorSeguranca;
    double minSafetyDistance = 0.0;
    geometry::Ponto point;
    double length = 0.0;
    std::size_t segments = 0;
    std::string report;
    const graphs::GraphData* graph = nullptr;
};

int writeOutputs(const Arguments& args, const PathOutcome& o)
{
    if (const std::string grp = args.value("--grp"); !grp.empty())
        if (Status s = graphs::saveGrp(grp, *o.graph); !s)
            return fail(grp, s);
    if (const std::string grp = args.value("--fs-grp"); !grp.empty())
        if (Status s = graphs::saveGrp(grp, results::safetyFactorGraph(*o.graph)); !s)
            return fail(grp, s);
    if (!args.has("--json")) {
        std::printf("%s\n", o.report.c_str());
        return 0;
    }
    JsonObject json;
    if (o.minSafetyFactor >= results::SemFatorSeguranca)
        json.null("min_safety_factor");
    else
        json.number("min_safety_factor", o.minSafetyFactor);
    json.number("distance", o.minSafetyDistance)
        .raw("point",
            "[" + JsonObject::formatNumber(o.point.x) + "," + JsonObject::formatNumber(o.point.y)
                + "]")
        .number("length", o.length)
        .integer("segments", static_cast<long long>(o.segments))
        .text("report", o.report);
    std::printf("%s\n", json.str().c_str());
    return 0;
}

/// The user's curve named by `option`, when given; false (after the message) when unreadable.
bool readCurve(const Arguments& args, std::string_view option,
    std::optional<results::AllowableFieldCurve>& curve, int& code)
{
    const std::string path = args.value(option);
    if (path.empty())
        return true;
    curve.emplace();
    if (Status s = results::openAllowableCurve(path, *curve); !s) {
        code = fail(path, s);
        return false;
    }
    return true;
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

bool isPathEval(const std::vector<std::string>& words)
{
    return words.size() >= 2 && (words[1] == "critical-path" || words[1] == "creepage");
}

int runEvalPaths(const std::vector<std::string>& words)
{
    const Arguments args(words, { "--grp", "--fs-grp", "--oil-curve", "--creepage-curve" });
    const std::vector<std::string>& pos = args.positional();
    if (!args.error().empty() || pos.size() < 6 || pos.size() % 2 != 0)
        return usage(PathUsage);
    const bool critical = pos[1] == "critical-path";
    if ((critical && (pos.size() != 6 || args.has("--creepage-curve")))
        || (!critical && args.has("--oil-curve")))
        return usage(PathUsage);
    std::vector<geometry::Ponto> points;
    for (std::size_t i = 2; i + 1 < pos.size(); i += 2) {
        geometry::Ponto p;
        if (!parseNumber(pos[i], p.x) || !parseNumber(pos[i + 1], p.y))
            return usage(PathUsage);
        points.push_back(p);
    }

    int code = 0;
    std::optional<results::AllowableFieldCurve> curve;
    if (!readCurve(args, critical ? "--oil-curve" : "--creepage-curve", curve, code))
        return code;
    const results::AllowableFieldCurve* user = curve ? &*curve : nullptr;

    const std::string& in = pos[0];
    solver::SolverModel model;
    if (Status s = solver::openMsh(in, model); !s)
        return fail(in, s);
    if (model.calculationKind == solver::CalculationKind::NotCalculated)
        return fail(in, Status::failure(msg::SemDadosCurvas));

    PathOutcome o;
    if (critical) {
        const results::CriticalPathResult r
            = results::computeCriticalPath(model, points[0], points[1], user);
        if (!r)
            return fail(in, r.status);
        o = { r.minSafetyFactor, r.minSafetyDistance, r.minSafetyPoint, r.length(), r.path.size(),
            r.report, &r.pathGraph };
        return writeOutputs(args, o);
    }
    const results::CreepagePathResult r = results::computeCreepagePath(model, points, user);
    if (!r)
        return fail(in, r.status);
    o = { r.minSafetyFactor, r.minSafetyDistance, r.minSafetyPoint, r.length(), r.path.size(),
        r.report, &r.graph };
    return writeOutputs(args, o);
}
