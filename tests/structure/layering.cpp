#include "include_graph.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tarvex::structure {
namespace {

/// The layer a file under src/ belongs to: a core subsystem, the painting the interface shares
/// with the batch tool, the rest of the interface, or the batch tool.
std::string layerOf(const std::string& path)
{
    auto under = [&path](std::string_view folder) { return path.rfind(folder, 0) == 0; };
    if (under("src/core/solver/linalg/"))
        return "linalg";
    if (under("src/core/")) {
        const std::size_t start = std::string("src/core/").size();
        const std::size_t slash = path.find('/', start);
        return slash == std::string::npos ? "core" : path.substr(start, slash - start);
    }
    if (under("src/ui/paint/"))
        return "paint";
    if (under("src/ui/"))
        return "ui";
    if (under("src/cli/"))
        return "cli";
    return "";
}

bool isCore(const std::string& layer)
{
    return layer != "paint" && layer != "ui" && layer != "cli";
}

/// What each layer may include directly, besides itself; anything those may include is allowed
/// too. The interface's widgets are not listed for the batch tool: it shares only the painting.
const std::map<std::string, std::set<std::string>>& directUses()
{
    static const std::map<std::string, std::set<std::string>> uses = {
        { "common", {} },
        { "geometry", { "common" } },
        { "materials", { "common" } },
        { "graphs", { "materials" } },
        { "problem", { "geometry", "materials" } },
        { "linalg", { "common" } },
        { "solver", { "problem", "linalg" } },
        { "evaluation", { "solver", "graphs" } },
        { "results", { "evaluation", "graphs" } },
        { "paint", { "results" } },
        { "ui", { "paint", "results" } },
        { "cli", { "paint", "results" } },
    };
    return uses;
}

bool mayUse(const std::string& from, const std::string& to)
{
    std::set<std::string> seen { from };
    std::vector<std::string> pending { from };
    while (!pending.empty()) {
        const auto found = directUses().find(pending.back());
        pending.pop_back();
        if (found == directUses().end())
            continue;
        for (const std::string& next : found->second)
            if (seen.insert(next).second)
                pending.push_back(next);
    }
    return seen.count(to) > 0;
}

bool isQtHeader(const IncludeEdge& edge)
{
    return edge.angled && !edge.written.empty() && edge.written.front() == 'Q';
}

/// One line per include that crosses the layering: "file:line: ...".
std::vector<std::string> layeringViolations(const std::vector<IncludeEdge>& graph)
{
    std::vector<std::string> found;
    for (const IncludeEdge& edge : graph) {
        const std::string where = edge.file + ":" + std::to_string(edge.line) + ": ";
        const std::string from = layerOf(edge.file);
        if (!directUses().count(from)) {
            found.push_back(where + "file outside every layer");
            continue;
        }
        if (edge.target.empty()) {
            if (isCore(from) && isQtHeader(edge))
                found.push_back(where + "core includes Qt <" + edge.written + ">");
            else if (!edge.angled)
                found.push_back(where + "\"" + edge.written + "\" is not found under src/");
            continue;
        }
        const std::string to = layerOf(edge.target);
        if (!mayUse(from, to))
            found.push_back(where + from + " may not include " + edge.target + " (" + to + ")");
    }
    return found;
}

IncludeEdge madeUpEdge(std::string file, std::string target)
{
    IncludeEdge edge;
    edge.file = std::move(file);
    edge.line = 3;
    edge.target = std::move(target);
    edge.written = edge.target.substr(edge.target.find('/', 4) + 1);
    return edge;
}

TEST(Layering, EveryIncludeUnderSrcFollowsTheTable)
{
    const std::vector<IncludeEdge> graph = readIncludeGraph(TARVEX_SOURCE_DIR);
    // A reader that resolved nothing would pass vacuously: pin one known edge of each kind.
    auto has = [&graph](const std::string& file, const std::string& target) {
        for (const IncludeEdge& edge : graph)
            if (edge.file == file && edge.target == target)
                return true;
        return false;
    };
    ASSERT_TRUE(has("src/core/evaluation/sections.h", "src/core/graphs/graph_data.h"));
    ASSERT_TRUE(has("src/cli/main.cpp", "src/cli/verbs.h"));

    for (const std::string& violation : layeringViolations(graph))
        ADD_FAILURE() << violation;
}

TEST(Layering, CrossingIncludesAreReportedWithFileAndLine)
{
    const std::vector<IncludeEdge> graph = {
        madeUpEdge("src/core/geometry/drawing.cpp", "src/core/solver/solver_model.h"),
        madeUpEdge("src/core/solver/linalg/ordering.cpp", "src/core/problem/records.h"),
        madeUpEdge("src/core/solver/runs.cpp", "src/core/graphs/graph_data.h"),
        madeUpEdge("src/core/results/forces.cpp", "src/ui/paint/canvas.h"),
        madeUpEdge("src/ui/paint/canvas.cpp", "src/ui/app/main_app.h"),
        madeUpEdge("src/cli/verbs_solve.cpp", "src/ui/results/mesh_view.h"),
    };
    const std::vector<std::string> expected = {
        "src/core/geometry/drawing.cpp:3: geometry may not include src/core/solver/solver_model.h "
        "(solver)",
        "src/core/solver/linalg/ordering.cpp:3: linalg may not include src/core/problem/records.h "
        "(problem)",
        "src/core/solver/runs.cpp:3: solver may not include src/core/graphs/graph_data.h (graphs)",
        "src/core/results/forces.cpp:3: results may not include src/ui/paint/canvas.h (paint)",
        "src/ui/paint/canvas.cpp:3: paint may not include src/ui/app/main_app.h (ui)",
        "src/cli/verbs_solve.cpp:3: cli may not include src/ui/results/mesh_view.h (ui)",
    };
    EXPECT_EQ(layeringViolations(graph), expected);
}

TEST(Layering, UsesThroughAnAllowedLayerAreAllowed)
{
    const std::vector<IncludeEdge> graph = {
        madeUpEdge("src/core/results/forces.cpp", "src/core/common/status.h"),
        madeUpEdge("src/core/evaluation/flux.cpp", "src/core/solver/linalg/real_vector.h"),
        madeUpEdge("src/core/problem/mesher/smoothing.cpp", "src/core/problem/records.h"),
        madeUpEdge("src/cli/verbs_draw.cpp", "src/ui/paint/canvas.h"),
        madeUpEdge("src/ui/app/main_app.cpp", "src/core/solver/runs.h"),
    };
    EXPECT_TRUE(layeringViolations(graph).empty());
}

TEST(Layering, QtAndUnknownHeadersAreReportedOnlyWhereTheyDoNotBelong)
{
    auto include = [](std::string file, std::string written, bool angled) {
        IncludeEdge edge;
        edge.file = std::move(file);
        edge.line = 7;
        edge.written = std::move(written);
        edge.angled = angled;
        return edge;
    };
    const std::vector<IncludeEdge> graph = {
        include("src/core/common/file_io.cpp", "QString", true),
        include("src/core/common/file_io.cpp", "vector", true),
        include("src/ui/paint/canvas.cpp", "QPainter", true),
        include("src/core/geometry/drawing.cpp", "geometry/missing.h", false),
    };
    const std::vector<std::string> expected = {
        "src/core/common/file_io.cpp:7: core includes Qt <QString>",
        "src/core/geometry/drawing.cpp:7: \"geometry/missing.h\" is not found under src/",
    };
    EXPECT_EQ(layeringViolations(graph), expected);
}

TEST(IncludeGraph, ResolvesNamesAsTheBuildSearchesThem)
{
    const std::string text = "// #include \"common/prompter.h\"\n"
                             "#include \"common/prompter.h\"\n"
                             "  #  include \"common/status.h\"\n"
                             "#include <vector>\n"
                             "#include \"verbs.h\"\n";
    const std::vector<IncludeEdge> fromUi = parseIncludes(TARVEX_SOURCE_DIR, "src/ui/x.cpp", text);
    ASSERT_EQ(fromUi.size(), 4u);
    EXPECT_EQ(fromUi[0].line, 2);
    EXPECT_EQ(fromUi[0].target, "src/ui/common/prompter.h");
    EXPECT_EQ(fromUi[1].line, 3);
    EXPECT_EQ(fromUi[1].target, "src/core/common/status.h");
    EXPECT_TRUE(fromUi[2].angled);
    EXPECT_EQ(fromUi[2].target, "");
    EXPECT_EQ(fromUi[3].target, "");

    // Beside the including file first: the batch tool's own headers.
    const std::vector<IncludeEdge> fromCli
        = parseIncludes(TARVEX_SOURCE_DIR, "src/cli/x.cpp", text);
    ASSERT_EQ(fromCli.size(), 4u);
    EXPECT_EQ(fromCli[0].target, "src/ui/common/prompter.h");
    EXPECT_EQ(fromCli[3].target, "src/cli/verbs.h");

    // Core does not see the interface's folders at all.
    const std::vector<IncludeEdge> fromCore
        = parseIncludes(TARVEX_SOURCE_DIR, "src/core/common/x.cpp", text);
    ASSERT_EQ(fromCore.size(), 4u);
    EXPECT_EQ(fromCore[0].target, "");
    EXPECT_EQ(fromCore[1].target, "src/core/common/status.h");
}

} // namespace
} // namespace tarvex::structure
