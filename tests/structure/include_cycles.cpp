// The interface's includes form no cycle, between files or between folders: each folder builds on
// those below it, and a dialog or frame never needs the object that creates it.

#include "include_graph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

/// Who includes whom; names are paths without extension, relative to the interface's root.
using Graph = std::map<std::string, std::set<std::string>>;

constexpr std::string_view UiRoot = "src/ui/";

std::string unitOf(const std::string& path)
{
    return path.substr(UiRoot.size(), path.rfind('.') - UiRoot.size());
}

std::string folderOf(const std::string& unit)
{
    const auto slash = unit.find('/');
    return slash == std::string::npos ? std::string("(top)") : unit.substr(0, slash);
}

/// A header and its source make one unit: main_app.cpp including main_frame.h and
/// main_frame.cpp including main_app.h is a cycle although no header includes the other.
Graph unitGraph()
{
    Graph graph;
    for (const auto& edge : tarvex::structure::readIncludeGraph(TARVEX_SOURCE_DIR)) {
        if (!edge.file.starts_with(UiRoot))
            continue;
        auto& targets = graph[unitOf(edge.file)];
        // Core headers and files outside the interface cannot close a cycle through it.
        if (edge.target.starts_with(UiRoot) && unitOf(edge.target) != unitOf(edge.file))
            targets.insert(unitOf(edge.target));
    }
    return graph;
}

Graph folderGraph(const Graph& units)
{
    Graph folders;
    for (const auto& [from, targets] : units) {
        auto& edges = folders[folderOf(from)];
        for (const std::string& to : targets)
            if (folderOf(to) != folderOf(from))
                edges.insert(folderOf(to));
    }
    return folders;
}

/// The shortest path from `from` back to itself, as "a -> b -> a"; empty when there is none.
std::string cycleThrough(const Graph& graph, const std::string& from)
{
    std::map<std::string, std::string> cameFrom;
    std::vector<std::string> queue { from };
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const auto node = graph.find(queue[i]);
        if (node == graph.end())
            continue;
        for (const std::string& next : node->second) {
            if (next == from) {
                std::vector<std::string> path { from };
                for (std::string at = queue[i]; at != from; at = cameFrom.at(at))
                    path.push_back(at);
                path.push_back(from);
                std::reverse(path.begin() + 1, path.end() - 1);
                std::string text;
                for (const std::string& step : path)
                    text += (text.empty() ? "" : " -> ") + step;
                return text;
            }
            if (!cameFrom.count(next)) {
                cameFrom[next] = queue[i];
                queue.push_back(next);
            }
        }
    }
    return {};
}

/// One named cycle for each node that lies on one, shortest first, without repeating a cycle
/// already named from another of its nodes.
std::vector<std::string> cycles(const Graph& graph)
{
    std::vector<std::string> named;
    std::set<std::string> covered;
    for (const auto& entry : graph) {
        if (covered.count(entry.first))
            continue;
        const std::string cycle = cycleThrough(graph, entry.first);
        if (cycle.empty())
            continue;
        named.push_back(cycle);
        std::size_t start = 0;
        while (start != std::string::npos) {
            const std::size_t arrow = cycle.find(" -> ", start);
            covered.insert(cycle.substr(start, arrow - start));
            start = arrow == std::string::npos ? arrow : arrow + 4;
        }
    }
    return named;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

TEST(IncludeCycles, FinderNamesEachCycleOnceFromItsFirstFile)
{
    const Graph graph {
        { "app/main_app", { "app/main_frame", "common/prompter" } },
        { "app/main_frame", { "app/main_app" } },
        { "drawing/a", { "problem/b" } },
        { "problem/b", { "results/c" } },
        { "results/c", { "drawing/a" } },
        { "common/prompter", {} },
    };
    const std::vector<std::string> found = cycles(graph);
    ASSERT_EQ(found.size(), 2u) << joined(found);
    EXPECT_EQ(found[0], "app/main_app -> app/main_frame -> app/main_app");
    EXPECT_EQ(found[1], "drawing/a -> problem/b -> results/c -> drawing/a");
    EXPECT_TRUE(cycles({ { "a", { "b" } }, { "b", { "c" } }, { "c", {} } }).empty());
}

TEST(IncludeCycles, FolderGraphKeepsOnlyCrossings)
{
    const Graph folders = folderGraph({
        { "drawing/des_frame", { "drawing/des_view", "common/child_frame" } },
        { "main", { "app/main_app" } },
    });
    EXPECT_EQ(folders.at("drawing"), (std::set<std::string> { "common" }));
    EXPECT_EQ(folders.at("(top)"), (std::set<std::string> { "app" }));
}

TEST(IncludeCycles, InterfaceReaderSeesTheTree)
{
    // Guards the tests below against passing on an empty or misread tree.
    const Graph units = unitGraph();
    ASSERT_TRUE(units.count("app/main_app"));
    EXPECT_TRUE(units.at("app/main_app").count("app/main_frame"));
    EXPECT_FALSE(units.at("app/main_app").count("app/main_app"));
}

TEST(IncludeCycles, NoneBetweenInterfaceFiles)
{
    const std::vector<std::string> found = cycles(unitGraph());
    EXPECT_TRUE(found.empty()) << "include cycles between files of src/ui:" << joined(found);
}

TEST(IncludeCycles, NoneBetweenInterfaceFolders)
{
    const std::vector<std::string> found = cycles(folderGraph(unitGraph()));
    EXPECT_TRUE(found.empty()) << "include cycles between folders of src/ui:" << joined(found);
}

} // namespace
