#include "cli_common.h"
#include "verbs.h"

#include "problem/dat_io.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace tarvex::cli {
namespace {

const char* const ExportMshUsage = "usage: tarvex-cli export-msh IN.dat OUT.msh [--json]";

const char* symmetryName(problem::SymmetryKind kind)
{
    switch (kind) {
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

/// The figures of a model that info and export-msh report.
struct Figures {
    long long nodes = 0;
    long long interior = 0;
    long long masters = 0;
    long long imposed = 0;
    long long elements = 0;
    long long order = 0;
    long long storedEntries = 0;
    long long slots = 0;
    /// Over every node after a calculation, over the imposed nodes before one.
    std::optional<double> potentialMin;
    std::optional<double> potentialMax;
};

Figures figuresOf(const solver::SolverModel& m)
{
    Figures f;
    f.nodes = m.nodeCount();
    f.interior = m.interiorCount();
    f.masters = m.slaveCount;
    f.imposed = f.nodes - m.unknownCount();
    f.elements = static_cast<long long>(m.elements.size());
    f.order = m.matrix.order();
    f.slots = m.matrix.storageSlotCount();
    for (int s = 1; s <= m.matrix.slotCount(); ++s)
        if (m.matrix.column(s) != 0)
            ++f.storedEntries;
    const std::int32_t first
        = m.calculationKind != solver::CalculationKind::NotCalculated ? 1 : m.unknownCount() + 1;
    for (std::int32_t i = first; i <= m.nodeCount(); ++i) {
        const double v = m.nodes[static_cast<std::size_t>(i)].value;
        f.potentialMin = f.potentialMin ? std::min(*f.potentialMin, v) : v;
        f.potentialMax = f.potentialMax ? std::max(*f.potentialMax, v) : v;
    }
    return f;
}

std::string modelJson(
    const std::string& path, const solver::SolverModel& m, std::optional<double> seconds)
{
    const Figures f = figuresOf(m);
    JsonObject json;
    json.text("file", path)
        .text("type", "msh")
        .text("version", m.version)
        .text("analysis", m.magnetic != 0 ? "magnetic" : "electric")
        .integer("nodes", f.nodes)
        .integer("interior", f.interior)
        .integer("masters", f.masters)
        .integer("slaves", f.masters)
        .integer("imposed", f.imposed)
        .integer("elements", f.elements)
        .integer("order", f.order)
        .integer("stored_entries", f.storedEntries)
        .integer("slots", f.slots)
        .text("symmetry", symmetryName(m.symmetryKind))
        .integer("calculation", static_cast<int>(m.calculationKind))
        .integer("conductive", m.conductive);
    if (f.potentialMin) {
        json.number("potential_min", *f.potentialMin).number("potential_max", *f.potentialMax);
    } else {
        json.null("potential_min").null("potential_max");
    }
    if (seconds)
        json.number("seconds", *seconds);
    return json.str();
}

void printModel(const std::string& path, const solver::SolverModel& m)
{
    const Figures f = figuresOf(m);
    std::printf("file:        %s\n", path.c_str());
    std::printf("version:     %s\n", m.version.c_str());
    std::printf("analysis:    %s\n", m.magnetic != 0 ? "magnetic" : "electric");
    std::printf("nodes:       %lld (%lld interior, %lld masters, %lld slaves, %lld imposed)\n",
        f.nodes, f.interior, f.masters, f.masters, f.imposed);
    std::printf("elements:    %lld\n", f.elements);
    std::printf("matrix:      order %lld, %lld stored entries in %lld slots\n", f.order,
        f.storedEntries, f.slots);
    std::printf("symmetry:    %s\n", symmetryName(m.symmetryKind));
    std::printf("calculation: %d\n", static_cast<int>(m.calculationKind));
    std::printf("conductive:  %d\n", static_cast<int>(m.conductive));
    if (f.potentialMin)
        std::printf("potentials:  %g .. %g\n", *f.potentialMin, *f.potentialMax);
}

} // namespace
} // namespace tarvex::cli

using namespace tarvex;
using namespace tarvex::cli;

int runExportMsh(const std::vector<std::string>& words)
{
    const Arguments args(words, {});
    if (args.positional().size() != 2 || !args.error().empty())
        return usage(ExportMshUsage);
    const std::string& in = args.positional()[0];
    // The save dialog's rule: a ".dat" name becomes ".msh", another extension is not written.
    const std::string out = solver::nomeMshEscolhido(args.positional()[1]);
    if (out.empty())
        return usage(std::string(ExportMshUsage) + " (OUT ends in .msh)");

    problem::ProblemData data;
    if (Status s = problem::openDat(in, data); !s)
        return fail(in, s);
    solver::SolverModel model;
    const auto start = std::chrono::steady_clock::now();
    const solver::ExportResult result = solver::buildSolverModel(data, model);
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result) {
        if (result.hasMark)
            std::fprintf(stderr, "at %g,%g\n", result.markX, result.markY);
        if (!result.materialFile.empty())
            std::fprintf(stderr, "materials file: %s\n", result.materialFile.c_str());
        return fail(in, result.status);
    }
    if (Status s = solver::saveMsh(out, model); !s)
        return fail(out, s);

    if (args.has("--json")) {
        std::printf("%s\n", modelJson(out, model, seconds).c_str());
        return 0;
    }
    std::fprintf(stderr, "%d nodes, %zu elements written to %s\n", model.nodeCount(),
        model.elements.size(), out.c_str());
    return 0;
}

int runInfoMsh(const std::string& path, bool json)
{
    solver::SolverModel model;
    if (Status s = solver::openMsh(path, model); !s)
        return fail(path, s);
    if (json)
        std::printf("%s\n", modelJson(path, model, std::nullopt).c_str());
    else
        printModel(path, model);
    return 0;
}
