#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The project's own include graph, read from the source tree as text: what each file under src/
// includes, and which file under src/ the compiler would pick for it.
namespace tarvex::structure {

struct IncludeEdge {
    std::string file; ///< the including file, relative to the source root ("src/core/...")
    int line = 0; ///< 1-based line of the #include
    std::string written; ///< the name between the quotes or angle brackets
    bool angled = false; ///< <...> rather than "..."
    /// The included file relative to the source root ("src/core/common/status.h"), searched the
    /// way the build searches it; empty for a header outside src/ (standard library, Qt, ...).
    std::string target;
};

/// Every .h and .cpp under `sourceRoot`/src, relative to `sourceRoot`, sorted.
std::vector<std::string> sourceFiles(const std::filesystem::path& sourceRoot);

/// The include directories the build gives a file, in search order, relative to the source root:
/// core sees src/core; the interface sees src/ui then src/core; the batch tool sees src/cli,
/// src/ui (for the painting it shares) and src/core.
std::vector<std::string> includeRoots(std::string_view file);

/// The #include lines of `text`, the contents of `file` (relative to `sourceRoot`), resolved
/// against the files that exist under `sourceRoot`. A quoted name is looked up beside the
/// including file first, as the compiler does.
std::vector<IncludeEdge> parseIncludes(
    const std::filesystem::path& sourceRoot, const std::string& file, std::string_view text);

/// parseIncludes over every file of sourceFiles(), in that order.
std::vector<IncludeEdge> readIncludeGraph(const std::filesystem::path& sourceRoot);

} // namespace tarvex::structure
