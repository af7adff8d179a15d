#pragma once

// Dense helpers the sparse code is checked against.

#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/linalg/sparsity_pattern.h"

#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace linalg_test {

using tarvex::linalg::RealVector;
using tarvex::linalg::SparseSymMatrix;

/// Zero-based dense symmetric matrix.
using Dense = std::vector<std::vector<double>>;

/// Random symmetric matrix, strictly diagonally dominant with diagonals of one sign (so definite),
/// about `density` of the off-diagonal entries set, and rows scaled by very different factors.
inline Dense randomDefinite(int n, double density, unsigned seed, double sign = 1.0)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_real_distribution<double> pick(0.0, 1.0);
    Dense a(n, std::vector<double>(n, 0.0));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            if (pick(rng) < density)
                a[i][j] = a[j][i] = unit(rng);
    for (int i = 0; i < n; ++i) {
        double off = 0.0;
        for (int j = 0; j < n; ++j)
            if (j != i)
                off += std::fabs(a[i][j]);
        a[i][i] = off + 0.5 + pick(rng);
    }
    // Symmetric row and column scaling keeps definiteness but spreads the magnitudes.
    std::vector<double> s(n);
    for (int i = 0; i < n; ++i)
        s[i] = std::pow(10.0, 3.0 * unit(rng));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            a[i][j] *= sign * s[i] * s[j];
    return a;
}

/// Gaussian elimination with partial pivoting.
inline std::vector<double> directSolve(Dense a, std::vector<double> b)
{
    const int n = static_cast<int>(b.size());
    for (int c = 0; c < n; ++c) {
        int best = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[best][c]))
                best = r;
        std::swap(a[c], a[best]);
        std::swap(b[c], b[best]);
        for (int r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < n; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    std::vector<double> x(n);
    for (int r = n - 1; r >= 0; --r) {
        double sum = b[r];
        for (int k = r + 1; k < n; ++k)
            sum -= a[r][k] * x[k];
        x[r] = sum / a[r][r];
    }
    return x;
}

/// The slotted layout filled as the element loop fills it: diagonal first, then lower columns.
inline SparseSymMatrix slottedFrom(const Dense& a, int slotsPerRow)
{
    const int n = static_cast<int>(a.size());
    SparseSymMatrix m = SparseSymMatrix::withSlots(n, slotsPerRow);
    for (int i = 0; i < n; ++i) {
        tarvex::linalg::sparseAdd(m, i + 1, i + 1, tarvex::linalg::AddValue, a[i][i]);
        for (int j = 0; j < i; ++j)
            if (a[i][j] != 0.0)
                tarvex::linalg::sparseAdd(m, i + 1, j + 1, tarvex::linalg::AddValue, a[i][j]);
    }
    return m;
}

inline SparseSymMatrix indexedFrom(const Dense& a)
{
    const int n = static_cast<int>(a.size());
    tarvex::linalg::SparsityPattern pattern(n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < i; ++j)
            if (a[i][j] != 0.0)
                pattern.add(i + 1, j + 1);
    SparseSymMatrix m = SparseSymMatrix::fromPattern(pattern);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j <= i; ++j)
            if (a[i][j] != 0.0)
                tarvex::linalg::sparseAdd(m, i + 1, j + 1, tarvex::linalg::AddValue, a[i][j]);
    return m;
}

inline RealVector toVector(const std::vector<double>& v)
{
    RealVector r(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        r[i + 1] = v[i];
    return r;
}

} // namespace linalg_test
