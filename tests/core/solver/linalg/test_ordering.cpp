#include "solver/linalg/ordering.h"
#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/linalg/sparsity_pattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

using namespace tarvex::linalg;

namespace {

using Edges = std::vector<std::pair<int, int>>;

SparsityPattern patternOf(int n, const Edges& edges)
{
    SparsityPattern p(n);
    for (auto [i, j] : edges)
        p.add(i, j);
    return p;
}

/// Largest |new(i) - new(j)| over the edges.
int bandwidth(const Edges& edges, const std::vector<int>& newOfOld)
{
    int band = 0;
    for (auto [i, j] : edges)
        band = std::max(band, std::abs(newOfOld[i] - newOfOld[j]));
    return band;
}

/// Grid of w x h nodes with its edges (and one diagonal per cell, as triangles give),
/// numbered by a fixed random shuffle.
Edges shuffledGrid(int w, int h, unsigned seed)
{
    std::vector<int> label(static_cast<std::size_t>(w * h));
    std::iota(label.begin(), label.end(), 1);
    std::shuffle(label.begin(), label.end(), std::mt19937(seed));
    auto at = [&](int x, int y) { return label[static_cast<std::size_t>(y * w + x)]; };
    Edges edges;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x + 1 < w)
                edges.push_back({ at(x, y), at(x + 1, y) });
            if (y + 1 < h)
                edges.push_back({ at(x, y), at(x, y + 1) });
            if (x + 1 < w && y + 1 < h)
                edges.push_back({ at(x, y), at(x + 1, y + 1) });
        }
    return edges;
}

void expectPermutation(const std::vector<int>& perm, int n)
{
    ASSERT_EQ(perm.size(), static_cast<std::size_t>(n) + 1);
    std::vector<int> sorted(perm.begin() + 1, perm.end());
    std::sort(sorted.begin(), sorted.end());
    for (int k = 0; k < n; ++k)
        ASSERT_EQ(sorted[static_cast<std::size_t>(k)], k + 1);
}

} // namespace

TEST(SparseOrdering, GatheresAShuffledGridNearTheDiagonal)
{
    const int w = 30, h = 12;
    const Edges edges = shuffledGrid(w, h, 5);
    const std::vector<int> perm = reverseCuthillMcKee(patternOf(w * h, edges));
    expectPermutation(perm, w * h);
    std::vector<int> identity(static_cast<std::size_t>(w * h) + 1);
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_GT(bandwidth(edges, identity), 200);
    // A level structure across the short side of the grid: bandwidth about its width.
    EXPECT_LE(bandwidth(edges, invertPermutation(perm)), 2 * h + 2);
}

TEST(SparseOrdering, NumbersAShuffledPathWithBandwidthOne)
{
    const int n = 50;
    std::vector<int> label(n);
    std::iota(label.begin(), label.end(), 1);
    std::shuffle(label.begin(), label.end(), std::mt19937(3));
    Edges edges;
    for (int k = 0; k + 1 < n; ++k)
        edges.push_back(
            { label[static_cast<std::size_t>(k)], label[static_cast<std::size_t>(k) + 1] });
    const std::vector<int> perm = reverseCuthillMcKee(patternOf(n, edges));
    expectPermutation(perm, n);
    EXPECT_EQ(bandwidth(edges, invertPermutation(perm)), 1);
}

TEST(SparseOrdering, CoversDisconnectedPartsAndIsolatedRowsAndMatchesTheMatrixForm)
{
    // Two triangles of rows and an isolated row 4.
    const Edges edges = { { 1, 5 }, { 5, 7 }, { 7, 1 }, { 2, 3 }, { 3, 6 }, { 6, 2 } };
    const SparsityPattern pattern = patternOf(7, edges);
    const std::vector<int> perm = reverseCuthillMcKee(pattern);
    expectPermutation(perm, 7);
    const std::vector<int> newOfOld = invertPermutation(perm);
    EXPECT_LE(bandwidth(edges, newOfOld), 2); // each part stays a block

    SparseSymMatrix m = SparseSymMatrix::withSlots(7, 5);
    for (auto [i, j] : edges)
        ASSERT_TRUE(sparseAdd(m, std::max(i, j), std::min(i, j), AddValue, 1.0));
    for (int i = 1; i <= 7; ++i)
        ASSERT_TRUE(sparseAdd(m, i, i, AddValue, 4.0));
    EXPECT_EQ(reverseCuthillMcKee(m), perm);
    EXPECT_EQ(reverseCuthillMcKee(SparsityPattern(0)), std::vector<int> { 0 });
}
