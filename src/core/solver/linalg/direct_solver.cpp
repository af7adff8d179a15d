#include "solver/linalg/direct_solver.h"

#include "common/progress.h"
#include "solver/linalg/abandonable.h"
#include "solver/linalg/complex_conjugate_gradient.h"

#include <cholmod.h>
#include <umfpack.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace tarvex::linalg {

namespace {

/// The stored entries of a lower triangle without its free slots, zero-based: row i's columns are
/// column i's rows of the upper triangle in compressed columns, which is how the factorisation
/// takes it.
struct Pattern {
    std::vector<int> starts; ///< order + 1
    std::vector<int> indices; ///< one per stored entry
    bool operator==(const Pattern&) const = default;
};

Pattern patternOf(const SparseSymMatrix& matrix)
{
    Pattern p;
    const int n = matrix.order();
    p.starts.reserve(static_cast<std::size_t>(n) + 1);
    p.indices.reserve(static_cast<std::size_t>(matrix.slotCount()));
    p.starts.push_back(0);
    for (int i = 1; i <= n; ++i) {
        for (int s = matrix.rowBegin(i); s < matrix.rowEnd(i); ++s)
            if (matrix.column(s) != 0)
                p.indices.push_back(matrix.column(s) - 1);
        p.starts.push_back(static_cast<int>(p.indices.size()));
    }
    return p;
}

/// -K over the pattern's entries, in its order.
std::vector<double> negatedValues(const SparseSymMatrix& matrix, std::size_t count)
{
    std::vector<double> values;
    values.reserve(count);
    for (int i = 1; i <= matrix.order(); ++i)
        for (int s = matrix.rowBegin(i); s < matrix.rowEnd(i); ++s)
            if (matrix.column(s) != 0)
                values.push_back(-matrix.value(s));
    return values;
}

bool countsAgree(int order, std::size_t rhs, std::size_t solution)
{
    return order >= 0 && rhs == static_cast<std::size_t>(order)
        && solution == static_cast<std::size_t>(order);
}

} // namespace

/// A CHOLMOD workspace with the analysed pattern and its factor; shared with a factorisation that
/// runs on a worker, so that an abandoned one keeps what it uses.
struct DirectSolver::Factor {
    cholmod_common common {};
    cholmod_factor* factor = nullptr;
    Pattern pattern;

    Factor()
    {
        cholmod_start(&common);
        common.print = 0; // failures are reported through the result, never printed
    }
    ~Factor()
    {
        if (factor)
            cholmod_free_factor(&factor, &common);
        cholmod_finish(&common);
    }
    Factor(const Factor&) = delete;
    Factor& operator=(const Factor&) = delete;
};

DirectSolver::DirectSolver() = default;
DirectSolver::~DirectSolver() = default;

SolveResult DirectSolver::solve(
    const SparseSymMatrix& matrix, const RealVector& rhs, RealVector& solution, Progress* progress)
{
    SolveResult result;
    const int n = matrix.order();
    if (!countsAgree(n, rhs.count(), solution.count()))
        return result;
    if (n == 0) {
        result.end = SolveEnd::Converged;
        return result;
    }

    Pattern pattern = patternOf(matrix);
    const bool analyse = !m_factor || !(m_factor->pattern == pattern);
    if (analyse) {
        m_factor = std::make_shared<Factor>();
        m_factor->pattern = std::move(pattern);
    }

    // What the worker reads and writes lives in this job, which it shares.
    struct Job {
        std::shared_ptr<Factor> state;
        std::vector<double> values;
        std::vector<double> rhs;
        std::vector<double> x;
        bool analyse = false;
        bool ok = false;
    };
    auto job = std::make_shared<Job>();
    job->state = m_factor;
    job->values = negatedValues(matrix, m_factor->pattern.indices.size());
    job->rhs.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        job->rhs[static_cast<std::size_t>(i)] = -rhs[static_cast<std::size_t>(i) + 1];
    job->analyse = analyse;

    auto work = [job, n]() {
        Factor& f = *job->state;
        cholmod_common* c = &f.common;
        const Pattern& p = f.pattern;
        cholmod_sparse a {};
        a.nrow = a.ncol = static_cast<std::size_t>(n);
        a.nzmax = p.indices.size();
        a.p = const_cast<int*>(p.starts.data());
        a.i = const_cast<int*>(p.indices.data());
        a.x = job->values.data();
        a.stype = 1; // the upper triangle in columns: the lower one in rows
        a.itype = CHOLMOD_INT;
        a.xtype = CHOLMOD_REAL;
        a.dtype = CHOLMOD_DOUBLE;
        a.sorted = 0;
        a.packed = 1;
        if (job->analyse) {
            if (f.factor)
                cholmod_free_factor(&f.factor, c);
            f.factor = cholmod_analyze(&a, c);
            if (!f.factor)
                return;
        }
        if (!cholmod_factorize(&a, f.factor, c) || c->status != CHOLMOD_OK)
            return;
        cholmod_dense b {};
        b.nrow = static_cast<std::size_t>(n);
        b.ncol = 1;
        b.nzmax = static_cast<std::size_t>(n);
        b.d = static_cast<std::size_t>(n);
        b.x = job->rhs.data();
        b.xtype = CHOLMOD_REAL;
        b.dtype = CHOLMOD_DOUBLE;
        cholmod_dense* x = cholmod_solve(CHOLMOD_A, f.factor, &b, c);
        if (!x)
            return;
        const double* values = static_cast<const double*>(x->x);
        job->x.assign(values, values + n);
        cholmod_free_dense(&x, c);
        job->ok = true;
    };

    if (analyse)
        ++m_analyses;
    if (!runAbandonable(work, progress)) {
        // The factor now belongs to the abandoned work; the next solve starts afresh.
        m_factor.reset();
        result.end = SolveEnd::Interrupted;
        return result;
    }
    result.iterations = 1;
    RealVector x;
    double residual = 0.0;
    if (job->ok) {
        x = RealVector(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            x[static_cast<std::size_t>(i) + 1] = job->x[static_cast<std::size_t>(i)];
        const double normF = rhs.norm();
        const double r = (rhs - multiplySymmetric(matrix, x)).norm();
        residual = normF > 0.0 ? r / normF : r;
    }
    // A factorisation that failed, or one whose pivots let through a solution that is not finite
    // (a singular matrix), gives nothing to store.
    if (!job->ok || !std::isfinite(residual)) {
        m_factor.reset(); // a factor left half made would mislead the next solve
        result.end = SolveEnd::Breakdown;
        return result;
    }
    solution = std::move(x);
    result.relativeResidual = residual;
    result.end = SolveEnd::Converged;
    return result;
}

SolveResult solveComplexDirect(const ComplexSparseSymMatrix& matrix, const ComplexVector& rhs,
    ComplexVector& solution, Progress* progress)
{
    SolveResult result;
    const int n = matrix.order();
    if (!countsAgree(n, rhs.count(), solution.count()))
        return result;
    if (n == 0) {
        result.end = SolveEnd::Converged;
        return result;
    }

    // Both triangles as triplets: the LU takes the whole matrix.
    struct Job {
        std::vector<int> rows, columns;
        std::vector<double> re, im;
        std::vector<double> bRe, bIm, xRe, xIm;
        bool ok = false;
    };
    auto job = std::make_shared<Job>();
    const auto stored = static_cast<std::size_t>(matrix.slotCount());
    for (auto* v : { &job->rows, &job->columns })
        v->reserve(2 * stored);
    for (auto* v : { &job->re, &job->im })
        v->reserve(2 * stored);
    for (int i = 1; i <= n; ++i) {
        for (int s = matrix.rowBegin(i); s < matrix.rowEnd(i); ++s) {
            const int j = matrix.column(s);
            if (j < 1 || j > i)
                continue;
            const Complex value = matrix.value(s);
            job->rows.push_back(i - 1);
            job->columns.push_back(j - 1);
            job->re.push_back(value.real());
            job->im.push_back(value.imag());
            if (j != i) {
                job->rows.push_back(j - 1);
                job->columns.push_back(i - 1);
                job->re.push_back(value.real());
                job->im.push_back(value.imag());
            }
        }
    }
    job->bRe.resize(static_cast<std::size_t>(n));
    job->bIm.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        job->bRe[static_cast<std::size_t>(i)] = rhs[static_cast<std::size_t>(i) + 1].real();
        job->bIm[static_cast<std::size_t>(i)] = rhs[static_cast<std::size_t>(i) + 1].imag();
    }

    auto work = [job, n]() {
        const auto count = job->rows.size();
        std::vector<int> starts(static_cast<std::size_t>(n) + 1);
        std::vector<int> indices(count);
        std::vector<double> re(count), im(count);
        if (umfpack_zi_triplet_to_col(n, n, static_cast<int>(count), job->rows.data(),
                job->columns.data(), job->re.data(), job->im.data(), starts.data(), indices.data(),
                re.data(), im.data(), nullptr)
            != UMFPACK_OK)
            return;
        // The triplets are no longer needed: give their memory back before factorising.
        job->rows = {};
        job->columns = {};
        job->re = {};
        job->im = {};
        double control[UMFPACK_CONTROL];
        double info[UMFPACK_INFO];
        umfpack_zi_defaults(control);
        control[UMFPACK_PRL] = 0;
        void* symbolic = nullptr;
        void* numeric = nullptr;
        int status = umfpack_zi_symbolic(
            n, n, starts.data(), indices.data(), re.data(), im.data(), &symbolic, control, info);
        if (status == UMFPACK_OK)
            status = umfpack_zi_numeric(starts.data(), indices.data(), re.data(), im.data(),
                symbolic, &numeric, control, info);
        if (symbolic)
            umfpack_zi_free_symbolic(&symbolic);
        if (status == UMFPACK_OK) {
            job->xRe.resize(static_cast<std::size_t>(n));
            job->xIm.resize(static_cast<std::size_t>(n));
            // UMFPACK_A: A x = b itself; no transpose, no conjugate.
            status = umfpack_zi_solve(UMFPACK_A, starts.data(), indices.data(), re.data(),
                im.data(), job->xRe.data(), job->xIm.data(), job->bRe.data(), job->bIm.data(),
                numeric, control, info);
        }
        if (numeric)
            umfpack_zi_free_numeric(&numeric);
        job->ok = status == UMFPACK_OK;
    };

    if (!runAbandonable(work, progress)) {
        result.end = SolveEnd::Interrupted;
        return result;
    }
    result.iterations = 1;
    if (!job->ok) {
        result.end = SolveEnd::Breakdown;
        return result;
    }
    ComplexVector x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        x[static_cast<std::size_t>(i) + 1]
            = Complex(job->xRe[static_cast<std::size_t>(i)], job->xIm[static_cast<std::size_t>(i)]);
    ComplexVector product;
    double residual = 0.0;
    double normF = 0.0;
    if (multiplySymmetric(matrix, x, product)) {
        for (int i = 1; i <= n; ++i) {
            residual += std::norm(
                rhs[static_cast<std::size_t>(i)] - product[static_cast<std::size_t>(i)]);
            normF += std::norm(rhs[static_cast<std::size_t>(i)]);
        }
    }
    result.relativeResidual = normF > 0.0 ? std::sqrt(residual / normF) : std::sqrt(residual);
    if (!std::isfinite(result.relativeResidual)) {
        result.end = SolveEnd::Breakdown;
        return result;
    }
    solution = std::move(x);
    result.end = SolveEnd::Converged;
    return result;
}

} // namespace tarvex::linalg
