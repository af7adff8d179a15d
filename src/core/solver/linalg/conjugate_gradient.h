#pragma once

#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"

namespace tarvex {
class Progress;
}

namespace tarvex::linalg {

/// What a caller hands to the solver. The matrix and right-hand side are the solver's own copies
/// and come back scaled; move them in when the caller no longer needs them.
struct SolverRequest {
    SparseSymMatrix matrix;
    RealVector rhs;
    /// Count order(); overwritten on convergence and at the iteration limit, never otherwise.
    RealVector* solution = nullptr;
    /// Progress bar and interruption; may be null.
    Progress* progress = nullptr;
    /// Relative residual (of the scaled system) below which the iteration stops.
    double tolerance = 1e-3;
};

enum class SolveEnd {
    Converged,
    IterationLimit, ///< 10 n iterations; the solution holds the last iterate
    Interrupted, ///< the user stopped the run; the solution is untouched
    Breakdown, ///< a search direction with zero curvature; the solution holds the last iterate
    BadRequest, ///< counts of matrix, right-hand side and solution disagree; nothing touched
};

struct SolveResult {
    SolveEnd end = SolveEnd::BadRequest;
    int iterations = 0;
    double relativeResidual = 0.0;
    /// True only on convergence, as callers that ignore the other outcomes expect.
    explicit operator bool() const { return end == SolveEnd::Converged; }
};

/**
 * Solves K x = f by conjugate gradients with symmetric diagonal scaling: row i is scaled by
 * 1 / sqrt(|e_i|), e_i being the row's first stored entry. Iterates start from zero; the first
 * step counts as iteration 1 and the convergence test ||r|| / ||f|| < tolerance is made from
 * iteration 2 on, at most 10 n iterations in all. Once per iteration from the second on, the
 * progress position is reported and goOn() is asked; a "no" returns at once without touching the
 * solution. Works for definite matrices of either sign (the assembly gives a negative one).
 */
SolveResult solveConjugateGradient(SolverRequest request);

} // namespace tarvex::linalg
