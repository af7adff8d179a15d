#include "solver/linalg/conjugate_gradient.h"

#include "common/progress.h"
#include "solver/linalg/bar_positions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

/**
 * q := K p over the stored lower triangle of a matrix without free slots, forming the new search
 * direction p_i := -r_i + beta p_i on the way (a row reads only p_j with j <= i, all of them
 * already updated). Row i's own sum is complete when the row is done except for the transposed
 * terms of later rows, so it is stored rather than added and q needs no clearing pass.
 */
void directionAndProduct(
    const SparseSymMatrix& k, const double* r, double beta, double* p, double* q)
{
    const int n = k.order();
    const std::int32_t* columns = k.columns().data();
    const double* values = k.values().data();
    int begin = k.rowBegin(1);
    for (int i = 1; i <= n; ++i) {
        const int end = k.rowEnd(i);
        const double pi = -r[i] + beta * p[i];
        p[i] = pi;
        double sum = 0.0;
        for (int s = begin; s < end; ++s) {
            const int j = columns[s];
            const double v = values[s];
            if (j != i) {
                sum += v * p[j];
                q[j] += v * pi;
            } else {
                sum += v * pi;
            }
        }
        q[i] = sum;
        begin = end;
    }
}

bool hasFreeSlots(const SparseSymMatrix& k)
{
    const std::vector<std::int32_t>& columns = k.columns();
    return std::find(columns.begin() + 1, columns.end(), 0) != columns.end();
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

    // The product walks every slot; free ones (a matrix laid out with room to assemble in) are
    // dropped once here rather than skipped on every iteration.
    if (hasFreeSlots(k))
        k = k.compacted();

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

    IterationControl control(request.progress, n, request.tolerance);
    BarPositions& bar = control.bar();
    double* xs = x.data();
    double* rs = r.data();
    double* ps = p.data();
    double* qs = q.data();
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

    // First step from x = 0, with r = K x - f; the direction is -r (beta 0).
    for (int i = 1; i <= n; ++i)
        rs[i] = -f[i];
    directionAndProduct(k, rs, 0.0, ps, qs);
    double rr = dot(rs, rs, n);
    double pq = dot(ps, qs, n);
    if (pq == 0.0)
        return deliver(SolveEnd::Breakdown, 1);
    double alpha = rr / pq;
    double rrNext = 0.0;
    for (int i = 1; i <= n; ++i) {
        xs[i] += alpha * ps[i];
        rs[i] += alpha * qs[i];
        rrNext += rs[i] * rs[i];
    }
    double rrPrevious = rr;
    result.relativeResidual = std::sqrt(rrNext) / normF;

    for (int it = 2;; ++it) {
        // (r . r) of the new residual, summed while it was formed.
        rr = rrNext;
        if (rr == 0.0) {
            // Exactly solved: the next step would be 0 / 0.
            result.relativeResidual = 0.0;
            bar.finish();
            return deliver(SolveEnd::Converged, it - 1);
        }
        const double beta = rr / rrPrevious;
        // K p once per iteration: the residual update reuses it.
        directionAndProduct(k, rs, beta, ps, qs);
        pq = dot(ps, qs, n);
        if (pq == 0.0)
            return deliver(SolveEnd::Breakdown, it);
        alpha = rr / pq;
        rrNext = 0.0;
        for (int i = 1; i <= n; ++i) {
            xs[i] += alpha * ps[i];
            rs[i] += alpha * qs[i];
            rrNext += rs[i] * rs[i];
        }
        rrPrevious = rr;

        result.relativeResidual = std::sqrt(rrNext) / normF;
        switch (control.after(it, result.relativeResidual)) {
        case AfterIteration::Converged:
            return deliver(SolveEnd::Converged, it);
        case AfterIteration::Interrupted:
            result.end = SolveEnd::Interrupted;
            result.iterations = it;
            return result;
        case AfterIteration::LimitReached:
            return deliver(SolveEnd::IterationLimit, it);
        case AfterIteration::Continue:
            break;
        }
    }
}

} // namespace tarvex::linalg
