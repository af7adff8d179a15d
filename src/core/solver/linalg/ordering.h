#pragma once

#include <vector>

namespace tarvex::linalg {

class SparsityPattern;
class SparseSymMatrix;

/**
 * Reverse Cuthill-McKee numbering of the rows of a symmetric pattern: couplings gather near the
 * diagonal, so the matrix-vector product of each iteration walks memory in order. One-based:
 * result[k] is the old row that becomes row k (slot 0 holds 0); each connected part of the graph
 * is numbered as a block. Deterministic: ties go to the lower old row.
 */
std::vector<int> reverseCuthillMcKee(const SparsityPattern& pattern);
/// The same over the stored (non-free) entries of a matrix.
std::vector<int> reverseCuthillMcKee(const SparseSymMatrix& matrix);

/// From "old row of new row k" to "new row of old row i", both one-based.
std::vector<int> invertPermutation(const std::vector<int>& permutation);

} // namespace tarvex::linalg
