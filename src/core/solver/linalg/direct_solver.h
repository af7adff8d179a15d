#pragma once

#include "solver/linalg/conjugate_gradient.h"

#include <memory>

namespace tarvex::linalg {

class ComplexSparseSymMatrix;
class ComplexVector;

/// How a run solves its systems.
enum class SolverMethod {
    ConjugateGradient, ///< Jacobi-scaled conjugate gradients (the default)
    Direct, ///< sparse factorisation
};

/**
 * Solves the assembled real system K x = f by a sparse Cholesky factorisation of -K (the assembly
 * gives a negative definite matrix). The fill-reducing ordering and the symbolic factor are kept
 * while the solver lives and reused for every later matrix of the same pattern, as the steps of a
 * non-linear run produce; a different pattern is analysed again.
 *
 * The numeric factorisation, the part that takes time, runs where it can be abandoned: with a
 * progress object it is asked goOn() every few tens of milliseconds, and a "no" returns Interrupted
 * at once, leaving the solution untouched (the abandoned work ends on its own and is discarded).
 *
 * A result carries 1 iteration and the relative residual ||f - K x|| / ||f|| of the solution.
 * A matrix that cannot be factorised (singular, or indefinite where the supernodal factorisation
 * is chosen) ends with Breakdown and leaves the solution untouched.
 */
class DirectSolver {
public:
    DirectSolver();
    ~DirectSolver();
    DirectSolver(const DirectSolver&) = delete;
    DirectSolver& operator=(const DirectSolver&) = delete;

    SolveResult solve(const SparseSymMatrix& matrix, const RealVector& rhs, RealVector& solution,
        Progress* progress);

    /// Symbolic analyses made so far (for the check that non-linear steps reuse theirs).
    int analyses() const { return m_analyses; }

private:
    struct Factor;
    std::shared_ptr<Factor> m_factor;
    int m_analyses = 0;
};

/**
 * Solves the complex symmetric (not Hermitian) system A x = f by a sparse LU factorisation that
 * never conjugates. Interruption and the result as for DirectSolver; a singular matrix ends with
 * Breakdown.
 */
SolveResult solveComplexDirect(const ComplexSparseSymMatrix& matrix, const ComplexVector& rhs,
    ComplexVector& solution, Progress* progress);

} // namespace tarvex::linalg
