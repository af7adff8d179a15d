#pragma once

#include <vector>

namespace tarvex::linalg {

/**
 * Which entries of a symmetric matrix of order n can be non-zero, kept as its lower triangle:
 * rows and columns numbered from 1. Every row couples to itself, so the diagonal is always part of
 * the pattern. Collected before assembly (one call per element edge) so that the matrix can be
 * laid out once and filled without searching for free slots.
 */
class SparsityPattern {
public:
    explicit SparsityPattern(int order = 0);

    int order() const { return static_cast<int>(m_rows.size()) - 1; }
    /// Marks (i, j) and so (j, i); false when either index lies outside 1..order().
    bool add(int i, int j);
    /// Columns of row i below the diagonal, ascending, without repeats.
    const std::vector<int>& lowerColumns(int i) const;

private:
    void tidy() const;

    // Lower columns per row, gathered unsorted and tidied on first read.
    mutable std::vector<std::vector<int>> m_rows;
    mutable bool m_tidy = true;
};

} // namespace tarvex::linalg
