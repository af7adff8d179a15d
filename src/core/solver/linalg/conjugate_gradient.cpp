#include "solver/linalg/conjugate_gradient.h"

#include "common/progress.h"
#include "solver/linalg/bar_positions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tarvex::linalg {

namespace {

/// 1 / sqrt(|e|) for the row's first stored entry. A row whose first entry is zero (or that stores
/// nothing) would make the scaling infinite and the whole solution NaN; it is scaled by its
/// diagonal instead, or left unscaled when that is zero too.
double rowWeight(const SparseSymMatrix& k, int i)
{
    double first = 0.0;
    for (int s = k.rowBegin(i); s < k.rowEnd(i); ++s)
        if (k.column(s) != 0) {
            first = k.value(s);
            break;
        }
    if (first == 0.0 || !std::isfinite(first))
        first = sparseEntry(k, i, i);
    if (first == 0.0 || !std::isfinite(first))
        return 1.0;
    return 1.0 / std::sqrt(std::fabs(first));
}

double dot(const double* a, const double* b, int n)
{
    double sum = 0.0;
    for (int i = 1; i <= n; ++i)
        sum += a[i] * b[i];
    return sum;
}

} // namespace

SolveResult solveConjugateGradient(SolverRequest request)
{
    SparseSymMatrix& k = request.matrix;
    const int n = k.order();
    const auto count = static_cast<std::size_t>(n);
    SolveResult result;
    if (!request.solution || request.rhs.count() != count || request.solution->count() != count)
        return result;
    result.end = SolveEnd::IterationLimit;
    if (n == 0)
        return result;

    // Every buffer is sized here: the iteration itself allocates nothing.
    RealVector w(count), x(count), r(count), p(count), q(count);
    for (int i = 1; i <= n; ++i)
        w[i] = rowWeight(k, i);
    for (int i = 1; i <= n; ++i)
        for (int s = k.rowBegin(i); s < k.rowEnd(i); ++s)
            if (k.column(s) != 0)
                k.value(s) *= w[i] * w[k.column(s)];
    RealVector& f = request.rhs;
    for (int i = 1; i <= n; ++i)
        f[i] *= w[i];

    BarPositions bar(request.progress, n);
    double* xs = x.data();
    double* rs = r.data();
    double* ps = p.data();
    const double* qs = q.data();
    // The solution is written only when the run ends with an iterate the caller may use.
    auto deliver = [&](SolveEnd end, int iterations) {
        RealVector& out = *request.solution;
        for (int i = 1; i <= n; ++i)
            out[i] = w[i] * xs[i];
        result.end = end;
        result.iterations = iterations;
        return result;
    };

    const double normF = f.norm();
    if (normF == 0.0) {
        // x = 0 solves the system exactly; iterating would divide zero by zero.
        bar.finish();
        return deliver(SolveEnd::Converged, 0);
    }

    // First step from x = 0, with r = K x - f.
    for (int i = 1; i <= n; ++i) {
        rs[i] = -f[i];
        ps[i] = f[i];
    }
    multiplySymmetric(k, p, q);
    double rr = dot(rs, rs, n);
    double pq = dot(ps, qs, n);
    if (pq == 0.0)
        return deliver(SolveEnd::Breakdown, 1);
    double alpha = rr / pq;
    for (int i = 1; i <= n; ++i) {
        xs[i] += alpha * ps[i];
        rs[i] += alpha * qs[i];
    }
    double rrPrevious = rr;
    result.relativeResidual = std::sqrt(dot(rs, rs, n)) / normF;

    const int limit = 10 * n;
    for (int it = 2;; ++it) {
        rr = dot(rs, rs, n);
        if (rr == 0.0) {
            // Exactly solved: the next step would be 0 / 0.
            result.relativeResidual = 0.0;
            bar.finish();
            return deliver(SolveEnd::Converged, it - 1);
        }
        const double beta = rr / rrPrevious;
        for (int i = 1; i <= n; ++i)
            ps[i] = -rs[i] + beta * ps[i];
        multiplySymmetric(k, p, q); // once per iteration: the residual update reuses it
        pq = dot(ps, qs, n);
        if (pq == 0.0)
            return deliver(SolveEnd::Breakdown, it);
        alpha = rr / pq;
        for (int i = 1; i <= n; ++i) {
            xs[i] += alpha * ps[i];
            rs[i] += alpha * qs[i];
        }
        rrPrevious = rr;

        result.relativeResidual = std::sqrt(dot(rs, rs, n)) / normF;
        if (result.relativeResidual < request.tolerance) {
            bar.finish();
            return deliver(SolveEnd::Converged, it);
        }
        bar.iteration(it);
        if (request.progress && !request.progress->goOn()) {
            result.end = SolveEnd::Interrupted;
            result.iterations = it;
            return result;
        }
        if (it + 1 > limit)
            return deliver(SolveEnd::IterationLimit, it);
    }
}

} // namespace tarvex::linalg
