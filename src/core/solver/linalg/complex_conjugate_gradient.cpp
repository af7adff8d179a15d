#include "solver/linalg/complex_conjugate_gradient.h"

#include "common/progress.h"
#include "solver/linalg/bar_positions.h"
#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"

#include <algorithm>
#include <cmath>

namespace tarvex::linalg {

namespace {

/// a / b by Smith's method: the larger part of b is divided out first, so that neither |b|² nor
/// the products overflow or underflow where the quotient itself is representable.
Complex scaledDivide(Complex a, Complex b)
{
    const double br = b.real();
    const double bi = b.imag();
    if (std::fabs(br) >= std::fabs(bi)) {
        const double ratio = bi / br;
        const double den = br + bi * ratio;
        return { (a.real() + a.imag() * ratio) / den, (a.imag() - a.real() * ratio) / den };
    }
    const double ratio = br / bi;
    const double den = br * ratio + bi;
    return { (a.real() * ratio + a.imag()) / den, (a.imag() * ratio - a.real()) / den };
}

/// Unconjugated sum of a_i b_i over 1..n.
Complex dotU(const Complex* a, const Complex* b, int n)
{
    double re = 0.0;
    double im = 0.0;
    for (int i = 1; i <= n; ++i) {
        re += a[i].real() * b[i].real() - a[i].imag() * b[i].imag();
        im += a[i].real() * b[i].imag() + a[i].imag() * b[i].real();
    }
    return { re, im };
}

/// sqrt(sum |v_i|²) with a running scale, so that neither tiny nor huge parts are lost.
double scaledNorm(const Complex* v, int n)
{
    double scale = 0.0;
    double sumSquares = 1.0;
    auto take = [&](double part) {
        if (part == 0.0)
            return;
        const double a = std::fabs(part);
        if (scale < a) {
            const double r = scale / a;
            sumSquares = 1.0 + sumSquares * r * r;
            scale = a;
        } else {
            const double r = a / scale;
            sumSquares += r * r;
        }
    };
    for (int i = 1; i <= n; ++i) {
        take(v[i].real());
        take(v[i].imag());
    }
    return scale * std::sqrt(sumSquares);
}

} // namespace

ComplexSparseSymMatrix ComplexSparseSymMatrix::withColumns(
    const std::vector<std::vector<int>>& rowColumns)
{
    ComplexSparseSymMatrix m;
    const std::size_t order = rowColumns.empty() ? 0 : rowColumns.size() - 1;
    m.m_rowStart.assign(order + 2, 0);
    std::size_t total = 0;
    for (std::size_t i = 1; i <= order; ++i)
        total += rowColumns[i].size();
    m.m_columns.assign(total + 1, 0);
    m.m_values.assign(total + 1, Complex {});
    std::int32_t slot = 1;
    for (std::size_t i = 1; i <= order; ++i) {
        m.m_rowStart[i] = slot;
        for (int column : rowColumns[i])
            m.m_columns[static_cast<std::size_t>(slot++)] = column;
    }
    m.m_rowStart[order + 1] = slot;
    return m;
}

Complex ComplexSparseSymMatrix::entry(int i, int j) const
{
    const int row = std::max(i, j);
    const int col = std::min(i, j);
    if (col < 1 || row > order())
        return {};
    for (int s = rowBegin(row); s < rowEnd(row); ++s)
        if (column(s) == col)
            return value(s);
    return {};
}

bool multiplySymmetric(const ComplexSparseSymMatrix& a, const ComplexVector& x, ComplexVector& y)
{
    const int n = a.order();
    if (x.count() != static_cast<std::size_t>(n))
        return false;
    if (y.count() != x.count())
        y = ComplexVector(x.count());
    const Complex* xs = x.data();
    Complex* ys = y.data();
    for (int i = 1; i <= n; ++i)
        ys[i] = Complex {};
    for (int i = 1; i <= n; ++i) {
        for (int s = a.rowBegin(i); s < a.rowEnd(i); ++s) {
            const int j = a.column(s);
            if (j == 0)
                continue;
            const Complex v = a.value(s);
            ys[i] += v * xs[j];
            if (j != i)
                ys[j] += v * xs[i];
        }
    }
    return true;
}

ComplexSparseSymMatrix buildComplexMatrix(
    const SparseSymMatrix& k, const SparseSymMatrix& q, double factor)
{
    const int n = k.order();
    if (q.order() != n)
        return {};
    // Union of the two patterns, diagonal first in each row.
    std::vector<std::vector<int>> columns(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        std::vector<int>& row = columns[static_cast<std::size_t>(i)];
        for (int s = k.rowBegin(i); s < k.rowEnd(i); ++s)
            if (k.column(s) != 0)
                row.push_back(k.column(s));
        for (int s = q.rowBegin(i); s < q.rowEnd(i); ++s)
            if (q.column(s) != 0)
                row.push_back(q.column(s));
        row.push_back(i);
        std::sort(row.begin(), row.end(), [i](int a, int b) {
            // The diagonal leads, then the lower columns ascending.
            if ((a == i) != (b == i))
                return a == i;
            return a < b;
        });
        row.erase(std::unique(row.begin(), row.end()), row.end());
    }
    ComplexSparseSymMatrix m = ComplexSparseSymMatrix::withColumns(columns);
    for (int i = 1; i <= n; ++i) {
        for (int s = m.rowBegin(i); s < m.rowEnd(i); ++s) {
            const int j = m.column(s);
            m.value(s) = { sparseEntry(k, i, j), factor * sparseEntry(q, i, j) };
        }
    }
    return m;
}

ComplexVector buildComplexRhs(const RealVector& f, const RealVector& f2, double factor)
{
    ComplexVector out(f.count());
    for (std::size_t i = 1; i <= f.count(); ++i) {
        const double imag = i <= f2.count() ? factor * f2[i] : 0.0;
        out[i] = { f[i], imag };
    }
    return out;
}

SolveResult solveComplexConjugateGradient(ComplexSolverRequest request)
{
    ComplexSparseSymMatrix& a = request.matrix;
    const int n = a.order();
    const auto count = static_cast<std::size_t>(n);
    SolveResult result;
    if (!request.solution || request.rhs.count() != count || request.solution->count() != count)
        return result;
    result.end = SolveEnd::IterationLimit;
    if (n == 0)
        return result;
    const double tolerance = std::fabs(request.tolerance);

    // Every buffer is sized here: the iteration itself allocates nothing.
    std::vector<double> w(count + 1, 1.0);
    ComplexVector x(count), r(count), p(count), q(count);
    for (int i = 1; i <= n; ++i) {
        // A zero diagonal would make the scaling infinite; such a row stays unscaled.
        const double modulus = std::abs(a.entry(i, i));
        if (modulus != 0.0 && std::isfinite(modulus))
            w[static_cast<std::size_t>(i)] = 1.0 / std::sqrt(modulus);
    }
    for (int i = 1; i <= n; ++i)
        for (int s = a.rowBegin(i); s < a.rowEnd(i); ++s)
            a.value(s) *= w[static_cast<std::size_t>(i)] * w[static_cast<std::size_t>(a.column(s))];
    Complex* f = request.rhs.data();
    for (int i = 1; i <= n; ++i)
        f[i] *= w[static_cast<std::size_t>(i)];

    IterationControl control(request.progress, n, tolerance);
    BarPositions& bar = control.bar();
    Complex* xs = x.data();
    Complex* rs = r.data();
    Complex* ps = p.data();
    const Complex* qs = q.data();
    auto deliver = [&](SolveEnd end, int iterations) {
        ComplexVector& out = *request.solution;
        for (int i = 1; i <= n; ++i)
            out[static_cast<std::size_t>(i)] = w[static_cast<std::size_t>(i)] * xs[i];
        result.end = end;
        result.iterations = iterations;
        return result;
    };

    const double normF = scaledNorm(f, n);
    if (normF == 0.0) {
        bar.finish();
        return deliver(SolveEnd::Converged, 0);
    }

    // First step from x = 0, with r = A x - f.
    for (int i = 1; i <= n; ++i) {
        rs[i] = -f[i];
        ps[i] = f[i];
    }
    multiplySymmetric(a, p, q);
    Complex rr = dotU(rs, rs, n);
    Complex pq = dotU(ps, qs, n);
    if (pq == Complex {})
        return deliver(SolveEnd::Breakdown, 1);
    Complex alpha = scaledDivide(rr, pq);
    for (int i = 1; i <= n; ++i) {
        xs[i] += alpha * ps[i];
        rs[i] += alpha * qs[i];
    }
    Complex rrPrevious = rr;
    double normR = scaledNorm(rs, n);
    result.relativeResidual = normR / normF;

    for (int it = 2;; ++it) {
        if (normR == 0.0) {
            result.relativeResidual = 0.0;
            bar.finish();
            return deliver(SolveEnd::Converged, it - 1);
        }
        rr = dotU(rs, rs, n);
        if (rr == Complex {} || rrPrevious == Complex {})
            return deliver(SolveEnd::Breakdown, it);
        const Complex beta = scaledDivide(rr, rrPrevious);
        for (int i = 1; i <= n; ++i)
            ps[i] = -rs[i] + beta * ps[i];
        multiplySymmetric(a, p, q); // once per iteration: the residual update reuses it
        pq = dotU(ps, qs, n);
        if (pq == Complex {})
            return deliver(SolveEnd::Breakdown, it);
        alpha = scaledDivide(rr, pq);
        for (int i = 1; i <= n; ++i) {
            xs[i] += alpha * ps[i];
            rs[i] += alpha * qs[i];
        }
        rrPrevious = rr;

        normR = scaledNorm(rs, n);
        result.relativeResidual = normR / normF;
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
