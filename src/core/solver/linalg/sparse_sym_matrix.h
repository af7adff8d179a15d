#pragma once

#include "solver/linalg/real_vector.h"

#include <cstdint>
#include <vector>

namespace tarvex::linalg {

class SparsityPattern;

/**
 * Lower triangle, diagonal included, of a symmetric matrix in compressed rows, all one-based.
 *
 * Row i owns the slots rowBegin(i) .. rowEnd(i) - 1 of the column and value arrays; a slot whose
 * column is 0 is free. Slot 0 of the value array stays 0 and is what an absent entry reads as.
 * The first stored entry of a row is the one the solver scales the row by.
 *
 * Two layouts:
 * - slotted (withSlots, fromStorage): a fixed number of free slots per row taken in the order in
 *   which entries are first written; this is the layout stored in solver model files;
 * - indexed (fromPattern): exactly the pattern's entries, each row holding its diagonal first and
 *   then its lower columns ascending, so that an entry is found by binary search while assembling.
 *
 * A slotted matrix whose rows hold their entries from their first slot on, with nothing in their
 * free slots, can be trimmed (trimSlots): its rows then keep only their entries, in the same
 * order, and remember how many slots the stored layout gives them, so that the arrays of the file
 * (rowStartsForStorage, storageSlotCount, forEachStorageSlot) come out byte for byte as before. A
 * model holds its matrices trimmed: the free slots of a file's layout would otherwise take most of
 * its memory. An entry added to a trimmed row that does not hold it yet brings the stored layout
 * back first (expandSlots), so that it takes the slot it always took.
 */
class SparseSymMatrix {
public:
    SparseSymMatrix() = default;

    static SparseSymMatrix withSlots(int order, int slotsPerRow);
    /// Slotted layout with rowSlots[i] free slots in row i (item 0 unused; every count >= 1).
    static SparseSymMatrix withRowSlots(const std::vector<int>& rowSlots);
    static SparseSymMatrix fromPattern(const SparsityPattern& pattern);
    /**
     * Takes the arrays as a file stores them: rowStarts with order + 1 items, columns and values
     * with nnz + 1 items (slot 0 unused in each). False, leaving `out` alone, when they do not
     * describe a matrix (row starts out of order or out of range, a column above its row).
     */
    static bool fromStorage(int order, std::vector<std::int32_t> rowStarts,
        std::vector<std::int32_t> columns, std::vector<double> values, SparseSymMatrix& out);
    /**
     * A trimmed matrix from a file's layout whose free slots were dropped while reading:
     * storedRowStarts and storedSlots as the file gives them (order + 1 row starts, slot 0
     * unused), rowStarts (order + 1 items) the first entry of each row in columns and values
     * (entry 0 unused in each). False, leaving `out` alone, when they do not describe a matrix or a
     * row holds more entries than the file gives it slots.
     */
    static bool fromTrimmedStorage(int order, std::vector<std::int32_t> storedRowStarts,
        int storedSlots, std::vector<std::int32_t> rowStarts, std::vector<std::int32_t> columns,
        std::vector<double> values, SparseSymMatrix& out);

    int order() const { return m_order; }
    /// Number of slots, free ones included (nnz).
    int slotCount() const { return static_cast<int>(m_columns.size()) - 1; }
    bool indexed() const { return m_indexed; }

    int rowBegin(int i) const { return m_rowStart[static_cast<std::size_t>(i)]; }
    int rowEnd(int i) const { return m_rowStart[static_cast<std::size_t>(i) + 1]; }
    int column(int slot) const { return m_columns[static_cast<std::size_t>(slot)]; }
    double value(int slot) const { return m_values[static_cast<std::size_t>(slot)]; }
    double& value(int slot) { return m_values[static_cast<std::size_t>(slot)]; }

    /// The arrays as a file stores them (slot 0 first in each; row starts without the end mark).
    std::vector<std::int32_t> rowStartsForStorage() const;
    /// The slot count a file stores (nnz): with a trimmed matrix, its free slots included.
    int storageSlotCount() const;
    /// Column and value of every slot a file stores, in order (free slots as 0, 0).
    template <typename Visit> void forEachStorageSlot(Visit&& visit) const
    {
        for (int i = 1; i <= m_order; ++i) {
            for (int s = rowBegin(i); s < rowEnd(i); ++s)
                visit(column(s), value(s));
            if (trimmed()) {
                const std::size_t row = static_cast<std::size_t>(i);
                const int free = (m_storedRowStart[row + 1] - m_storedRowStart[row])
                    - (rowEnd(i) - rowBegin(i));
                for (int k = 0; k < free; ++k)
                    visit(0, 0.0);
            }
        }
    }
    const std::vector<std::int32_t>& columns() const { return m_columns; }
    const std::vector<double>& values() const { return m_values; }

    /// Drops the free slots (see the class comment); false, leaving the matrix as it is, when its
    /// rows are not filled from their first slot or a free slot holds a value.
    bool trimSlots();
    /// The stored layout again, free slots and all.
    void expandSlots();
    bool trimmed() const { return !m_storedRowStart.empty(); }

    /**
     * The same matrix without its free slots: each row keeps its stored entries in their order,
     * so its first entry (the one the solver scales by) stays first. What a solve works on: the
     * product of each iteration then walks no empty slots.
     */
    SparseSymMatrix compacted() const;

    /// All values 0, layout kept: a re-assembly into the same pattern starts here.
    void setZero();

    /// Slot of entry (i, j) with j <= i, or 0 when it is not stored.
    int findSlot(int i, int j) const;

    /**
     * sparseAdd in mode AddValue for a slotted matrix whose rows fill their slots from the first
     * one on, as every matrix the assembly builds does: one pass over the row that stops at the
     * entry or at the first free slot. Same refusals and return value as sparseAdd.
     */
    bool addToPackedRow(int row, int column, double value);

private:
    friend bool sparseAdd(SparseSymMatrix&, int, int, int, double);

    int m_order = 0;
    bool m_indexed = false;
    // Items 1..order are the row starts, item order + 1 marks the end of the last row.
    std::vector<std::int32_t> m_rowStart { 0, 1 };
    std::vector<std::int32_t> m_columns { 0 };
    std::vector<double> m_values { 0.0 };
    // Row starts of the stored layout while trimmed (as m_rowStart), empty otherwise.
    std::vector<std::int32_t> m_storedRowStart;

    bool slotFreeInStoredRow(int row) const;
};

/// How sparseAdd combines a value with the stored entry.
enum AddMode : int { StoreValue = 0, AddValue = 1, MultiplyValue = 2 };

/**
 * Writes into the stored lower triangle at (row, column). Only 1 <= column <= row <= order is
 * accepted; other positions return false. A value below 1e-150 in magnitude is ignored. An entry
 * not yet stored takes the row's first free slot; when the row has none the value is dropped and
 * the call returns false.
 */
bool sparseAdd(SparseSymMatrix& matrix, int row, int column, int mode, double value);

/// Entry (i, j) in either order; 0 when not stored or outside the matrix.
double sparseEntry(const SparseSymMatrix& matrix, int i, int j);

/// y := K x over the stored lower triangle; y is resized to the order. False (y left alone)
/// when x has another count.
bool multiplySymmetric(const SparseSymMatrix& matrix, const RealVector& x, RealVector& y);
/// K x as a new vector; empty when x has another count.
RealVector multiplySymmetric(const SparseSymMatrix& matrix, const RealVector& x);

} // namespace tarvex::linalg
