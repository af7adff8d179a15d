#include "include_graph.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace tarvex::structure {

namespace {

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

/// `a/b/../c` -> `a/c`, with forward slashes, so targets compare as plain strings.
std::string normalised(const fs::path& path)
{
    return path.lexically_normal().generic_string();
}

/// The name of an #include line, or false when the line is not one. Leading blanks and blanks
/// around '#' are allowed, as the preprocessor allows them.
bool parseIncludeLine(std::string_view line, std::string& name, bool& angled)
{
    auto skipBlanks = [&line] {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
    };
    skipBlanks();
    if (line.empty() || line.front() != '#')
        return false;
    line.remove_prefix(1);
    skipBlanks();
    if (!startsWith(line, "include"))
        return false;
    line.remove_prefix(7);
    skipBlanks();
    if (line.empty() || (line.front() != '"' && line.front() != '<'))
        return false;
    angled = line.front() == '<';
    const char close = angled ? '>' : '"';
    const std::size_t end = line.find(close, 1);
    if (end == std::string_view::npos)
        return false;
    name = std::string(line.substr(1, end - 1));
    return true;
}

} // namespace

std::vector<std::string> sourceFiles(const fs::path& sourceRoot)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(sourceRoot / "src")) {
        const std::string extension = entry.path().extension().string();
        if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp"))
            files.push_back(normalised(fs::relative(entry.path(), sourceRoot)));
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> includeRoots(std::string_view file)
{
    if (startsWith(file, "src/core/"))
        return { "src/core" };
    if (startsWith(file, "src/ui/"))
        return { "src/ui", "src/core" };
    if (startsWith(file, "src/cli/"))
        return { "src/cli", "src/ui", "src/core" };
    return {};
}

std::vector<IncludeEdge> parseIncludes(
    const fs::path& sourceRoot, const std::string& file, std::string_view text)
{
    std::vector<std::string> searched;
    if (const fs::path own = fs::path(file).parent_path(); !own.empty())
        searched.push_back(own.generic_string());
    const std::vector<std::string> roots = includeRoots(file);

    std::vector<IncludeEdge> edges;
    std::istringstream lines { std::string(text) };
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        IncludeEdge edge;
        if (!parseIncludeLine(line, edge.written, edge.angled))
            continue;
        edge.file = file;
        edge.line = number;
        std::vector<std::string> candidates = edge.angled ? std::vector<std::string> {} : searched;
        candidates.insert(candidates.end(), roots.begin(), roots.end());
        for (const std::string& directory : candidates) {
            const std::string target = normalised(fs::path(directory) / edge.written);
            if (startsWith(target, "src/") && fs::is_regular_file(sourceRoot / target)) {
                edge.target = target;
                break;
            }
        }
        edges.push_back(std::move(edge));
    }
    return edges;
}

std::vector<IncludeEdge> readIncludeGraph(const fs::path& sourceRoot)
{
    std::vector<IncludeEdge> graph;
    for (const std::string& file : sourceFiles(sourceRoot)) {
        std::ifstream in(sourceRoot / file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        std::vector<IncludeEdge> edges = parseIncludes(sourceRoot, file, text.str());
        graph.insert(graph.end(), std::make_move_iterator(edges.begin()),
            std::make_move_iterator(edges.end()));
    }
    return graph;
}

} // namespace tarvex::structure
