#include "solver/linalg/ordering.h"

#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/linalg/sparsity_pattern.h"

#include <algorithm>
#include <cstddef>

namespace tarvex::linalg {

namespace {

/// Both triangles of the graph in compressed rows, without the diagonal.
struct Graph {
    int order = 0;
    std::vector<int> start; // order + 2 items, one-based
    std::vector<int> adjacent;

    int degree(int v) const { return start[v + 1] - start[v]; }
};

template <typename ForEachLower> Graph buildGraph(int order, ForEachLower forEachLower)
{
    Graph g;
    g.order = order;
    std::vector<int> degree(static_cast<std::size_t>(order) + 2, 0);
    forEachLower([&](int i, int j) {
        ++degree[i];
        ++degree[j];
    });
    g.start.assign(static_cast<std::size_t>(order) + 2, 0);
    g.start[1] = 0;
    for (int v = 1; v <= order; ++v)
        g.start[v + 1] = g.start[v] + degree[v];
    g.adjacent.assign(static_cast<std::size_t>(g.start[order + 1]), 0);
    std::vector<int> fill(g.start.begin(), g.start.end());
    forEachLower([&](int i, int j) {
        g.adjacent[fill[i]++] = j;
        g.adjacent[fill[j]++] = i;
    });
    return g;
}

/// Breadth-first levels from `root` over unvisited vertices; returns the vertices in visiting
/// order, neighbours taken by increasing degree (then old number), and fills `level`.
void breadthFirst(const Graph& g, int root, const std::vector<char>& done, std::vector<int>& level,
    std::vector<int>& order, std::vector<int>& scratch)
{
    order.clear();
    order.push_back(root);
    level[root] = 0;
    for (std::size_t head = 0; head < order.size(); ++head) {
        const int v = order[head];
        scratch.clear();
        for (int s = g.start[v]; s < g.start[v + 1]; ++s) {
            const int u = g.adjacent[s];
            if (!done[u] && level[u] < 0) {
                level[u] = level[v] + 1;
                scratch.push_back(u);
            }
        }
        std::sort(scratch.begin(), scratch.end(), [&](int a, int b) {
            return g.degree(a) != g.degree(b) ? g.degree(a) < g.degree(b) : a < b;
        });
        order.insert(order.end(), scratch.begin(), scratch.end());
    }
}

std::vector<int> rcm(const Graph& g)
{
    const int n = g.order;
    std::vector<int> result { 0 };
    result.reserve(static_cast<std::size_t>(n) + 1);
    std::vector<char> done(static_cast<std::size_t>(n) + 1, 0);
    std::vector<int> level(static_cast<std::size_t>(n) + 1, -1);
    std::vector<int> visit, scratch;
    for (int seed = 1; seed <= n; ++seed) {
        if (done[seed])
            continue;
        // Pseudo-peripheral start: move to a least-degree vertex of the last level while that
        // makes the level structure deeper.
        int root = seed;
        breadthFirst(g, root, done, level, visit, scratch);
        int depth = level[visit.back()];
        for (;;) {
            int candidate = visit.back();
            for (int v : visit)
                if (level[v] == depth
                    && (g.degree(v) < g.degree(candidate)
                        || (g.degree(v) == g.degree(candidate) && v < candidate)))
                    candidate = v;
            for (int v : visit)
                level[v] = -1;
            breadthFirst(g, candidate, done, level, visit, scratch);
            const int candidateDepth = level[visit.back()];
            if (candidateDepth <= depth) {
                for (int v : visit)
                    level[v] = -1;
                breadthFirst(g, root, done, level, visit, scratch);
                break;
            }
            root = candidate;
            depth = candidateDepth;
        }
        for (int v : visit) {
            done[v] = 1;
            level[v] = -1;
        }
        // Reversed per part, so the parts keep their order and the whole stays a permutation.
        result.insert(result.end(), visit.rbegin(), visit.rend());
    }
    return result;
}

} // namespace

std::vector<int> reverseCuthillMcKee(const SparsityPattern& pattern)
{
    const int n = pattern.order();
    return rcm(buildGraph(n, [&](auto&& edge) {
        for (int i = 1; i <= n; ++i)
            for (int j : pattern.lowerColumns(i))
                edge(i, j);
    }));
}

std::vector<int> reverseCuthillMcKee(const SparseSymMatrix& matrix)
{
    const int n = matrix.order();
    return rcm(buildGraph(n, [&](auto&& edge) {
        for (int i = 1; i <= n; ++i)
            for (int s = matrix.rowBegin(i); s < matrix.rowEnd(i); ++s) {
                const int j = matrix.column(s);
                if (j != 0 && j != i)
                    edge(i, j);
            }
    }));
}

std::vector<int> invertPermutation(const std::vector<int>& permutation)
{
    std::vector<int> inverse(permutation.size(), 0);
    for (std::size_t k = 1; k < permutation.size(); ++k) {
        const int old = permutation[k];
        if (old >= 1 && static_cast<std::size_t>(old) < inverse.size())
            inverse[static_cast<std::size_t>(old)] = static_cast<int>(k);
    }
    return inverse;
}

} // namespace tarvex::linalg
