#include "solver/linalg/sparsity_pattern.h"

#include <algorithm>

namespace tarvex::linalg {

SparsityPattern::SparsityPattern(int order)
    : m_rows(static_cast<std::size_t>(std::max(order, 0)) + 1)
{
}

bool SparsityPattern::add(int i, int j)
{
    if (i < 1 || j < 1 || i > order() || j > order())
        return false;
    if (i != j) {
        m_rows[static_cast<std::size_t>(std::max(i, j))].push_back(std::min(i, j));
        m_tidy = false;
    }
    return true;
}

const std::vector<int>& SparsityPattern::lowerColumns(int i) const
{
    tidy();
    return m_rows[static_cast<std::size_t>(i)];
}

void SparsityPattern::tidy() const
{
    if (m_tidy)
        return;
    for (std::vector<int>& row : m_rows) {
        std::sort(row.begin(), row.end());
        row.erase(std::unique(row.begin(), row.end()), row.end());
    }
    m_tidy = true;
}

} // namespace tarvex::linalg
