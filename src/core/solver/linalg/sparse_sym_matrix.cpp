#include "solver/linalg/sparse_sym_matrix.h"

#include "solver/linalg/sparsity_pattern.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvex::linalg {

SparseSymMatrix SparseSymMatrix::withSlots(int order, int slotsPerRow)
{
    SparseSymMatrix m;
    if (order <= 0 || slotsPerRow <= 0)
        return m;
    const std::size_t slots
        = static_cast<std::size_t>(order) * static_cast<std::size_t>(slotsPerRow);
    m.m_order = order;
    m.m_rowStart.assign(static_cast<std::size_t>(order) + 2, 0);
    for (int i = 1; i <= order + 1; ++i)
        m.m_rowStart[static_cast<std::size_t>(i)] = slotsPerRow * (i - 1) + 1;
    m.m_columns.assign(slots + 1, 0);
    m.m_values.assign(slots + 1, 0.0);
    return m;
}

SparseSymMatrix SparseSymMatrix::withRowSlots(const std::vector<int>& rowSlots)
{
    SparseSymMatrix m;
    if (rowSlots.size() < 2)
        return m;
    const int order = static_cast<int>(rowSlots.size()) - 1;
    m.m_order = order;
    m.m_rowStart.assign(static_cast<std::size_t>(order) + 2, 0);
    std::int64_t next = 1;
    for (int i = 1; i <= order; ++i) {
        m.m_rowStart[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(next);
        next += std::max(1, rowSlots[static_cast<std::size_t>(i)]);
    }
    m.m_rowStart[static_cast<std::size_t>(order) + 1] = static_cast<std::int32_t>(next);
    m.m_columns.assign(static_cast<std::size_t>(next), 0);
    m.m_values.assign(static_cast<std::size_t>(next), 0.0);
    return m;
}

SparseSymMatrix SparseSymMatrix::compacted() const
{
    SparseSymMatrix m;
    m.m_order = m_order;
    m.m_indexed = false;
    m.m_rowStart.assign(static_cast<std::size_t>(m_order) + 2, 0);
    std::size_t used = 1;
    for (std::size_t s = 1; s < m_columns.size(); ++s)
        used += m_columns[s] != 0 ? 1 : 0;
    m.m_columns.reserve(used);
    m.m_values.reserve(used);
    for (int i = 1; i <= m_order; ++i) {
        m.m_rowStart[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(m.m_columns.size());
        for (int s = rowBegin(i); s < rowEnd(i); ++s)
            if (m_columns[static_cast<std::size_t>(s)] != 0) {
                m.m_columns.push_back(m_columns[static_cast<std::size_t>(s)]);
                m.m_values.push_back(m_values[static_cast<std::size_t>(s)]);
            }
    }
    m.m_rowStart[static_cast<std::size_t>(m_order) + 1]
        = static_cast<std::int32_t>(m.m_columns.size());
    return m;
}

SparseSymMatrix SparseSymMatrix::fromPattern(const SparsityPattern& pattern)
{
    SparseSymMatrix m;
    const int order = pattern.order();
    if (order <= 0)
        return m;
    m.m_order = order;
    m.m_indexed = true;
    m.m_rowStart.assign(static_cast<std::size_t>(order) + 2, 0);
    std::size_t slots = 0;
    for (int i = 1; i <= order; ++i)
        slots += 1 + pattern.lowerColumns(i).size();
    m.m_columns.reserve(slots + 1);
    for (int i = 1; i <= order; ++i) {
        m.m_rowStart[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(m.m_columns.size());
        // Diagonal first: it is the entry the solver scales the row by.
        m.m_columns.push_back(i);
        for (int j : pattern.lowerColumns(i))
            m.m_columns.push_back(j);
    }
    m.m_rowStart[static_cast<std::size_t>(order) + 1]
        = static_cast<std::int32_t>(m.m_columns.size());
    m.m_values.assign(m.m_columns.size(), 0.0);
    return m;
}

bool SparseSymMatrix::fromStorage(int order, std::vector<std::int32_t> rowStarts,
    std::vector<std::int32_t> columns, std::vector<double> values, SparseSymMatrix& out)
{
    if (order < 0 || rowStarts.size() != static_cast<std::size_t>(order) + 1 || columns.empty()
        || values.size() != columns.size())
        return false;
    const auto end = static_cast<std::int64_t>(columns.size()); // one past the last slot
    SparseSymMatrix m;
    m.m_order = order;
    m.m_rowStart.assign(static_cast<std::size_t>(order) + 2, 0);
    for (int i = 1; i <= order; ++i) {
        const std::int32_t start = rowStarts[static_cast<std::size_t>(i)];
        const std::int32_t previous = i == 1 ? 1 : rowStarts[static_cast<std::size_t>(i) - 1];
        if ((i == 1 && start != 1) || start < previous || start > end)
            return false;
        m.m_rowStart[static_cast<std::size_t>(i)] = start;
    }
    m.m_rowStart[static_cast<std::size_t>(order) + 1] = static_cast<std::int32_t>(end);
    for (int i = 1; i <= order; ++i)
        for (int s = m.rowBegin(i); s < m.rowEnd(i); ++s)
            if (columns[static_cast<std::size_t>(s)] < 0
                || columns[static_cast<std::size_t>(s)] > i)
                return false;
    m.m_columns = std::move(columns);
    m.m_values = std::move(values);
    m.m_columns[0] = 0;
    m.m_values[0] = 0.0;
    out = std::move(m);
    return true;
}

bool SparseSymMatrix::fromTrimmedStorage(int order, std::vector<std::int32_t> storedRowStarts,
    int storedSlots, std::vector<std::int32_t> rowStarts, std::vector<std::int32_t> columns,
    std::vector<double> values, SparseSymMatrix& out)
{
    const auto rows = static_cast<std::size_t>(order);
    if (order <= 0 || storedSlots < 0 || storedRowStarts.size() != rows + 1
        || rowStarts.size() != rows + 1 || columns.empty() || values.size() != columns.size())
        return false;
    const std::int64_t storedEnd = static_cast<std::int64_t>(storedSlots) + 1;
    const auto end = static_cast<std::int64_t>(columns.size());
    SparseSymMatrix m;
    m.m_order = order;
    m.m_rowStart.assign(rows + 2, 0);
    m.m_storedRowStart.assign(rows + 2, 0);
    for (std::size_t i = 1; i <= rows; ++i) {
        const std::int64_t stored = storedRowStarts[i];
        const std::int64_t storedNext = i == rows ? storedEnd : storedRowStarts[i + 1];
        const std::int64_t start = rowStarts[i];
        const std::int64_t next = i == rows ? end : rowStarts[i + 1];
        if ((i == 1 && (stored != 1 || start != 1)) || storedNext < stored || storedNext > storedEnd
            || next < start || next > end || next - start > storedNext - stored)
            return false;
        m.m_storedRowStart[i] = static_cast<std::int32_t>(stored);
        m.m_rowStart[i] = static_cast<std::int32_t>(start);
    }
    m.m_storedRowStart[rows + 1] = static_cast<std::int32_t>(storedEnd);
    m.m_rowStart[rows + 1] = static_cast<std::int32_t>(end);
    for (int i = 1; i <= order; ++i)
        for (int s = m.rowBegin(i); s < m.rowEnd(i); ++s)
            if (columns[static_cast<std::size_t>(s)] < 1
                || columns[static_cast<std::size_t>(s)] > i)
                return false;
    m.m_columns = std::move(columns);
    m.m_values = std::move(values);
    m.m_columns[0] = 0;
    m.m_values[0] = 0.0;
    out = std::move(m);
    return true;
}

std::vector<std::int32_t> SparseSymMatrix::rowStartsForStorage() const
{
    const std::vector<std::int32_t>& starts = trimmed() ? m_storedRowStart : m_rowStart;
    return std::vector<std::int32_t>(starts.begin(), starts.end() - 1);
}

int SparseSymMatrix::storageSlotCount() const
{
    return trimmed() ? m_storedRowStart[static_cast<std::size_t>(m_order) + 1] - 1 : slotCount();
}

bool SparseSymMatrix::trimSlots()
{
    if (trimmed())
        return true;
    // A matrix without rows keeps whatever slots it has: they belong to no row to remember them.
    if (m_indexed || m_order <= 0)
        return false;
    std::size_t used = 1;
    for (int i = 1; i <= m_order; ++i) {
        bool inFree = false;
        for (int s = rowBegin(i); s < rowEnd(i); ++s) {
            const auto slot = static_cast<std::size_t>(s);
            if (m_columns[slot] == 0) {
                if (m_values[slot] != 0.0 || std::signbit(m_values[slot]))
                    return false;
                inFree = true;
            } else if (inFree) {
                return false;
            } else {
                ++used;
            }
        }
    }
    std::vector<std::int32_t> rowStart(static_cast<std::size_t>(m_order) + 2, 0);
    std::vector<std::int32_t> columns;
    std::vector<double> values;
    columns.reserve(used);
    values.reserve(used);
    columns.push_back(0);
    values.push_back(0.0);
    for (int i = 1; i <= m_order; ++i) {
        rowStart[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(columns.size());
        for (int s = rowBegin(i); s < rowEnd(i); ++s) {
            const auto slot = static_cast<std::size_t>(s);
            if (m_columns[slot] == 0)
                break;
            columns.push_back(m_columns[slot]);
            values.push_back(m_values[slot]);
        }
    }
    rowStart[static_cast<std::size_t>(m_order) + 1] = static_cast<std::int32_t>(columns.size());
    m_storedRowStart = std::move(m_rowStart);
    m_rowStart = std::move(rowStart);
    m_columns = std::move(columns);
    m_values = std::move(values);
    return true;
}

void SparseSymMatrix::expandSlots()
{
    if (!trimmed())
        return;
    const auto slots
        = static_cast<std::size_t>(m_storedRowStart[static_cast<std::size_t>(m_order) + 1]);
    std::vector<std::int32_t> columns(slots, 0);
    std::vector<double> values(slots, 0.0);
    for (int i = 1; i <= m_order; ++i) {
        auto to = static_cast<std::size_t>(m_storedRowStart[static_cast<std::size_t>(i)]);
        for (int s = rowBegin(i); s < rowEnd(i); ++s, ++to) {
            columns[to] = m_columns[static_cast<std::size_t>(s)];
            values[to] = m_values[static_cast<std::size_t>(s)];
        }
    }
    m_rowStart = std::move(m_storedRowStart);
    m_storedRowStart.clear();
    m_columns = std::move(columns);
    m_values = std::move(values);
}

bool SparseSymMatrix::slotFreeInStoredRow(int row) const
{
    const auto r = static_cast<std::size_t>(row);
    return trimmed() && m_storedRowStart[r + 1] - m_storedRowStart[r] > rowEnd(row) - rowBegin(row);
}

void SparseSymMatrix::setZero()
{
    std::fill(m_values.begin(), m_values.end(), 0.0);
}

int SparseSymMatrix::findSlot(int i, int j) const
{
    if (i < 1 || i > m_order || j < 1 || j > i)
        return 0;
    const int begin = rowBegin(i);
    const int end = rowEnd(i);
    if (begin >= end)
        return 0;
    if (m_indexed) {
        if (j == i)
            return begin;
        const auto first = m_columns.begin() + begin + 1;
        const auto last = m_columns.begin() + end;
        const auto it = std::lower_bound(first, last, j);
        return it != last && *it == j ? static_cast<int>(it - m_columns.begin()) : 0;
    }
    for (int s = begin; s < end; ++s)
        if (m_columns[static_cast<std::size_t>(s)] == j)
            return s;
    return 0;
}

bool SparseSymMatrix::addToPackedRow(int row, int column, double value)
{
    if (m_indexed)
        return sparseAdd(*this, row, column, AddValue, value);
    if (row < 1 || row > m_order || column < 1 || column > row)
        return false;
    if (std::fabs(value) < 1e-150)
        return true;
    const int end = rowEnd(row);
    for (int s = rowBegin(row); s < end; ++s) {
        std::int32_t& c = m_columns[static_cast<std::size_t>(s)];
        if (c == column) {
            m_values[static_cast<std::size_t>(s)] += value;
            return true;
        }
        if (c == 0) {
            c = column;
            m_values[static_cast<std::size_t>(s)] += value;
            return true;
        }
    }
    if (slotFreeInStoredRow(row)) {
        expandSlots();
        return addToPackedRow(row, column, value);
    }
    return false;
}

bool sparseAdd(SparseSymMatrix& matrix, int row, int column, int mode, double value)
{
    if (row < 1 || row > matrix.m_order || column < 1 || column > row)
        return false;
    if (std::fabs(value) < 1e-150)
        return true;
    int slot = matrix.findSlot(row, column);
    if (slot == 0 && matrix.slotFreeInStoredRow(row))
        matrix.expandSlots();
    if (slot == 0 && !matrix.m_indexed) {
        for (int s = matrix.rowBegin(row); s < matrix.rowEnd(row); ++s)
            if (matrix.m_columns[static_cast<std::size_t>(s)] == 0) {
                slot = s;
                matrix.m_columns[static_cast<std::size_t>(s)] = column;
                break;
            }
    }
    // A full row drops the value; slot 0 must stay the zero that absent entries read as.
    if (slot == 0)
        return false;
    double& entry = matrix.m_values[static_cast<std::size_t>(slot)];
    switch (mode) {
    case StoreValue:
        entry = value;
        break;
    case AddValue:
        entry += value;
        break;
    case MultiplyValue:
        entry *= value;
        break;
    default:
        return false;
    }
    return true;
}

double sparseEntry(const SparseSymMatrix& matrix, int i, int j)
{
    return matrix.value(matrix.findSlot(std::max(i, j), std::min(i, j)));
}

bool multiplySymmetric(const SparseSymMatrix& matrix, const RealVector& x, RealVector& y)
{
    const int n = matrix.order();
    if (x.count() != static_cast<std::size_t>(n))
        return false;
    y.assignZero(static_cast<std::size_t>(n));
    const std::int32_t* columns = matrix.columns().data();
    const double* values = matrix.values().data();
    const double* xs = x.data();
    double* ys = y.data();
    for (int i = 1; i <= n; ++i) {
        double sum = 0.0;
        const double xi = xs[i];
        for (int s = matrix.rowBegin(i); s < matrix.rowEnd(i); ++s) {
            const int j = columns[s];
            if (j == 0)
                continue; // free slot
            const double k = values[s];
            sum += k * xs[j];
            if (j < i)
                ys[j] += k * xi;
        }
        ys[i] += sum;
    }
    return true;
}

RealVector multiplySymmetric(const SparseSymMatrix& matrix, const RealVector& x)
{
    RealVector y;
    multiplySymmetric(matrix, x, y);
    return y;
}

} // namespace tarvex::linalg
