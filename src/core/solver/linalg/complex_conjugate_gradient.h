#pragma once

#include "solver/linalg/conjugate_gradient.h"

#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvex {
class Progress;
}

namespace tarvex::linalg {

class RealVector;
class SparseSymMatrix;

using Complex = std::complex<double>;

/// Vector of complex numbers numbered from 1 to count(); slot 0 holds no value, as in RealVector.
class ComplexVector {
public:
    ComplexVector() = default;
    /// count() zeros.
    explicit ComplexVector(std::size_t count)
        : m_data(count + 1, Complex {})
    {
    }

    std::size_t count() const { return m_data.size() - 1; }
    Complex operator[](std::size_t i) const { return m_data[i]; }
    Complex& operator[](std::size_t i) { return m_data[i]; }
    const Complex* data() const { return m_data.data(); }
    Complex* data() { return m_data.data(); }

private:
    std::vector<Complex> m_data { Complex {} };
};

/**
 * Lower triangle, diagonal included, of a complex symmetric (not Hermitian) matrix in compressed
 * rows, one-based like SparseSymMatrix: row i owns the slots rowBegin(i) .. rowEnd(i) - 1, every
 * slot holds a stored entry (no free slots).
 */
class ComplexSparseSymMatrix {
public:
    ComplexSparseSymMatrix() = default;
    /// Row i with the given lower columns (diagonal included, any order); all values zero.
    static ComplexSparseSymMatrix withColumns(const std::vector<std::vector<int>>& rowColumns);

    int order() const { return static_cast<int>(m_rowStart.size()) - 2; }
    int slotCount() const { return static_cast<int>(m_columns.size()) - 1; }
    int rowBegin(int i) const { return m_rowStart[static_cast<std::size_t>(i)]; }
    int rowEnd(int i) const { return m_rowStart[static_cast<std::size_t>(i) + 1]; }
    int column(int slot) const { return m_columns[static_cast<std::size_t>(slot)]; }
    Complex value(int slot) const { return m_values[static_cast<std::size_t>(slot)]; }
    Complex& value(int slot) { return m_values[static_cast<std::size_t>(slot)]; }

    /// Entry (i, j) in either order; 0 when not stored or outside the matrix.
    Complex entry(int i, int j) const;

private:
    // Items 1..order are the row starts, item order + 1 marks the end of the last row.
    std::vector<std::int32_t> m_rowStart { 0, 1 };
    std::vector<std::int32_t> m_columns { 0 };
    std::vector<Complex> m_values { Complex {} };
};

/// y := A x over the stored lower triangle (no conjugation anywhere). False when counts differ.
bool multiplySymmetric(
    const ComplexSparseSymMatrix& matrix, const ComplexVector& x, ComplexVector& y);

/**
 * `buildComplexMatrix`: entry (i, j) := (K_ij, a Q_ij). The pattern is the union of both
 * matrices' stored entries: an edge whose stiffness coupling vanishes (the diagonal of a
 * right-angled pair of triangles) still carries a conductivity coupling. Both must have the same
 * order; otherwise the result is empty (order 0).
 */
ComplexSparseSymMatrix buildComplexMatrix(
    const SparseSymMatrix& stiffness, const SparseSymMatrix& conductivity, double factor);

/// `buildComplexRhs`: entry i := (f_i, a f2_i); a missing or shorter f2 counts as zero.
ComplexVector buildComplexRhs(const RealVector& rhs, const RealVector& rhs2, double factor);

struct ComplexSolverRequest {
    ComplexSparseSymMatrix matrix; ///< the solver's own copy, scaled in place
    ComplexVector rhs; ///< likewise
    /// Count order(); overwritten on convergence and at the iteration limit, never otherwise.
    ComplexVector* solution = nullptr;
    Progress* progress = nullptr;
    /// Relative residual below which the iteration stops; its absolute value is used.
    double tolerance = 1e-3;
};

/**
 * Conjugate gradients for complex symmetric systems: the real solver's iteration with every
 * scalar product unconjugated (sum of a_i b_i), so that alpha and beta are complex quotients.
 * Rows are scaled by 1 / sqrt(|A_ii|), the modulus of the complex diagonal. Same outcomes,
 * progress positions, interruption and 10 n iteration limit as solveConjugateGradient. A
 * vanishing r . r with a non-zero residual (a breakdown the complex iteration can meet) ends
 * with Breakdown and the last iterate.
 */
SolveResult solveComplexConjugateGradient(ComplexSolverRequest request);

} // namespace tarvex::linalg
