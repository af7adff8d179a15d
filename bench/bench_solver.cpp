// Times the solver chain on the reference geometry at one size level: export of the meshed problem
// (numbering and assembly), our conjugate gradients on the compacted matrix, and a library CG with
// Jacobi preconditioning on the same matrix and right-hand side, all in one process so that the
// figures share the machine's state. Optionally a non-linear run and an induced-current run.
// Prints one `key=value` line per run kind.
#include "bench_results.h"
#include "common/progress.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "problem/dat_io.h"
#include "problem/editing.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"
#include "solver/assembly.h"
#include "solver/export_msh.h"
#include "solver/linalg/complex_conjugate_gradient.h"
#include "solver/linalg/conjugate_gradient.h"
#include "solver/linalg/direct_solver.h"
#include "solver/msh_io.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <Eigen/IterativeLinearSolvers>
#include <Eigen/SparseCore>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace tarvex;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : 0.5 * (v[m - 1] + v[m]);
}

/**
 * Wall and processor time of repeated runs. The machines are shared: the processor time of the
 * process leaves out the time other tenants hold the core, the wall time is what a user waits.
 */
class Timings {
public:
    void start()
    {
        m_wallStart = Clock::now();
        m_cpuStart = cpuSeconds();
    }
    void stop()
    {
        m_wall.push_back(secondsSince(m_wallStart));
        m_cpu.push_back(cpuSeconds() - m_cpuStart);
    }
    double wall() const { return median(m_wall); }
    double cpu() const { return median(m_cpu); }

private:
    Clock::time_point m_wallStart;
    double m_cpuStart = 0.0;
    std::vector<double> m_wall;
    std::vector<double> m_cpu;
};

double perIterationMs(double seconds, long iterations)
{
    return iterations > 0 ? seconds * 1e3 / static_cast<double>(iterations) : 0.0;
}

/// Maximum edge per level (the mesh has about 5.6e4 / h² triangles on this geometry).
double edgeFor(const std::string& level)
{
    if (level == "10k")
        return 2.38;
    if (level == "100k")
        return 0.752;
    if (level == "1M")
        return 0.238;
    return 0.0;
}

/// Repetitions whose median is reported: the fast levels are at the timer's noise level.
int repetitionsFor(const std::string& level)
{
    if (level == "10k")
        return 5;
    if (level == "100k")
        return 3;
    return 1;
}

double peakMb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

/// A field of /proc/self/status in MB (VmRSS, VmHWM); -1 where the file is not there.
double statusMb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t length = std::strlen(field);
    while (std::getline(in, line))
        if (line.compare(0, length, field) == 0 && line.size() > length && line[length] == ':')
            return std::atof(line.c_str() + length + 1) / 1024.0;
    return -1.0;
}

/// Resets the high-water mark of the resident set, so that a later VmHWM is the peak of what
/// follows. False where the kernel does not allow it.
bool resetPeak()
{
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

double megabytes(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

/// Counts the solver iterations of a run (goOn is asked once per iteration and once per step).
class CountingReporter final : public solver::RunReporter {
public:
    void status(std::string_view) override { }
    void percent(int) override { }
    bool goOn() override
    {
        ++calls;
        return true;
    }
    long calls = 0;
};

struct Options {
    std::string level = "10k";
    double h = 0.0;
    int repeat = 0;
    double tolerance = 1e-3;
    std::string reference = TARVEX_BENCH_REFERENCE;
    std::string material = TARVEX_BENCH_MATERIAL;
    double sigma = 2e6; ///< conductivity (S/m) of the disc in the induced-current run
    double frequency = 50.0;
    bool linear = true;
    bool nonlinear = false;
    bool induced = false;
    bool eigenLower = true;
    bool runLinear = true; ///< also the whole linear run (solve, potentials, equipotentials)
    bool results = false; ///< also the results commands (sections, force, losses)
    bool direct = false; ///< the direct solver's figures, and the non-linear target run with both
    std::string writeMsh; ///< where to write the plain model (for a peak-memory run of the CLI)
};

/// The reference problem as the batch tool's export and edit verbs leave it: disc mu_r 1000,
/// coil J = 1 A/mm², potential 0 on the outer contour.
bool buildProblem(const Options& options, problem::ProblemData& data)
{
    geometry::DrawingData drawing;
    if (Status s = geometry::openDrawing(options.reference, "pre", drawing); !s) {
        std::fprintf(stderr, "%s: %s\n", options.reference.c_str(), std::string(s.message).c_str());
        return false;
    }
    problem::ResultadoFormacao formed;
    if (Status s = problem::formarRegioes(drawing, formed); !s) {
        std::fprintf(stderr, "regions: %s\n", std::string(s.message).c_str());
        return false;
    }
    if (Status s = problem::readDat(
            std::string_view(problem::escreveDatExportado(1000.0, {}, formed.regioes)), data);
        !s) {
        std::fprintf(stderr, "problem: %s\n", std::string(s.message).c_str());
        return false;
    }
    const auto edit
        = [&](double x, double y, const std::function<void(problem::ValoresRegiao&)>& set) {
              int position = 0;
              if (!problem::regiaoSobPonto(data, { x, y }, position))
                  return false;
              problem::ValoresRegiao values
                  = problem::valoresDaRegiao(*data.regiaoNaPosicao(position), data.tipoAnalise);
              set(values);
              return static_cast<bool>(problem::editaRegioes(data, { position }, values));
          };
    const bool ok = edit(60, 50, [&](problem::ValoresRegiao& v) {
        v.permeabilidade = 1000.0;
        if (options.nonlinear) {
            v.linear = false;
            v.arquivoMaterial = options.material;
        }
        if (options.induced)
            v.condutividade = options.sigma;
    }) && edit(140, 50, [](problem::ValoresRegiao& v) { v.densidade = 1.0; });
    if (!ok) {
        std::fprintf(stderr, "could not set the regions' materials\n");
        return false;
    }
    problem::potencialContornoExterno(data, 0.0);
    return true;
}

/// Largest |i - j| over the stored entries: how far the product of each iteration reaches.
int bandwidth(const linalg::SparseSymMatrix& k)
{
    int widest = 0;
    for (int i = 1; i <= k.order(); ++i)
        for (int s = k.rowBegin(i); s < k.rowEnd(i); ++s)
            if (k.column(s) != 0)
                widest = std::max(widest, i - k.column(s));
    return widest;
}

/// Rows whose first stored entry is not the diagonal: those are scaled by another entry than the
/// one a Jacobi preconditioner takes, so the two solvers would not solve the same scaled system.
int rowsNotLedByDiagonal(const linalg::SparseSymMatrix& k)
{
    int count = 0;
    for (int i = 1; i <= k.order(); ++i)
        if (k.rowBegin(i) < k.rowEnd(i) && k.column(k.rowBegin(i)) != i)
            ++count;
    return count;
}

/// The scaling our solver applies: 1 / sqrt(|first stored entry|) per row.
std::vector<double> rowWeights(const linalg::SparseSymMatrix& k)
{
    std::vector<double> w(static_cast<std::size_t>(k.order()) + 1, 1.0);
    for (int i = 1; i <= k.order(); ++i)
        for (int s = k.rowBegin(i); s < k.rowEnd(i); ++s)
            if (k.column(s) != 0) {
                const double e = k.value(s);
                if (e != 0.0 && std::isfinite(e))
                    w[static_cast<std::size_t>(i)] = 1.0 / std::sqrt(std::fabs(e));
                break;
            }
    return w;
}

/**
 * The same iteration as solveConjugateGradient (same scaling, start, stopping test and iterates),
 * with its loops fused, as a measure of what the solver's own loops leave on the table: the
 * product writes each y_i once at its row instead of zeroing y first and skips no free slots (the
 * matrix is compacted), and the residual norm is summed in the update of x and r instead of in
 * two more passes. Returns the iterations; `x` gets the unscaled solution.
 */
int fusedConjugateGradient(linalg::SparseSymMatrix k, linalg::RealVector f, double tolerance,
    linalg::RealVector& x, double& residual)
{
    const int n = k.order();
    const std::vector<double> w = rowWeights(k);
    std::vector<std::int32_t> columns = k.columns();
    std::vector<double> values = k.values();
    std::vector<std::int32_t> starts(static_cast<std::size_t>(n) + 2);
    for (int i = 1; i <= n + 1; ++i)
        starts[static_cast<std::size_t>(i)] = i <= n ? k.rowBegin(i) : k.rowEnd(n);
    for (int i = 1; i <= n; ++i)
        for (int s = starts[static_cast<std::size_t>(i)];
             s < starts[static_cast<std::size_t>(i) + 1]; ++s)
            values[static_cast<std::size_t>(s)] *= w[static_cast<std::size_t>(i)]
                * w[static_cast<std::size_t>(columns[static_cast<std::size_t>(s)])];
    std::vector<double> xs(static_cast<std::size_t>(n) + 1, 0.0), rs(xs), ps(xs), qs(xs);
    double normF = 0.0;
    for (int i = 1; i <= n; ++i) {
        const double fi = f[static_cast<std::size_t>(i)] * w[static_cast<std::size_t>(i)];
        rs[static_cast<std::size_t>(i)] = -fi;
        ps[static_cast<std::size_t>(i)] = 0.0;
        normF += fi * fi;
    }
    normF = std::sqrt(normF);
    const std::int32_t* col = columns.data();
    const double* val = values.data();
    const auto product = [&](const double* in, double* out) {
        for (int i = 1; i <= n; ++i) {
            const double xi = in[i];
            double sum = 0.0;
            const int end = starts[static_cast<std::size_t>(i) + 1];
            for (int s = starts[static_cast<std::size_t>(i)]; s < end; ++s) {
                const int j = col[s];
                const double v = val[s];
                sum += v * in[j];
                if (j != i)
                    out[j] += v * xi;
            }
            out[i] = sum; // rows above i add to out[i] later
        }
    };
    double rr = normF * normF;
    double rrPrevious = 1.0;
    int it = 0;
    residual = 1.0;
    const int limit = 10 * n;
    while (it < limit) {
        ++it;
        const double beta = it == 1 ? 0.0 : rr / rrPrevious;
        double* p = ps.data();
        const double* r = rs.data();
        for (int i = 1; i <= n; ++i)
            p[i] = -r[i] + beta * p[i];
        product(p, qs.data());
        double pq = 0.0;
        for (int i = 1; i <= n; ++i)
            pq += p[i] * qs[static_cast<std::size_t>(i)];
        if (pq == 0.0)
            break;
        const double alpha = rr / pq;
        double next = 0.0;
        for (int i = 1; i <= n; ++i) {
            xs[static_cast<std::size_t>(i)] += alpha * p[i];
            const double ri
                = rs[static_cast<std::size_t>(i)] + alpha * qs[static_cast<std::size_t>(i)];
            rs[static_cast<std::size_t>(i)] = ri;
            next += ri * ri;
        }
        rrPrevious = rr;
        rr = next;
        residual = std::sqrt(rr) / normF;
        if (it >= 2 && residual < tolerance)
            break;
    }
    x.assignZero(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        x[static_cast<std::size_t>(i)]
            = w[static_cast<std::size_t>(i)] * xs[static_cast<std::size_t>(i)];
    return it;
}

using EigenMatrix = Eigen::SparseMatrix<double, Eigen::RowMajor, int>;

/**
 * The symmetric system our solver iterates on, for the library: scaled by the same row weights and
 * negated when the assembly gave a negative definite matrix, so the library's stopping test
 * ||b - A x|| / ||b|| < tol is ours on the scaled system. `full` stores both triangles (the
 * library's fastest product); otherwise only the lower one, as ours.
 */
void toEigen(const linalg::SparseSymMatrix& k, const linalg::RealVector& f, bool full,
    EigenMatrix& a, Eigen::VectorXd& b)
{
    const int n = k.order();
    const std::vector<double> w = rowWeights(k);
    double sign = 1.0;
    if (n > 0 && sparseEntry(k, 1, 1) < 0.0)
        sign = -1.0;
    std::vector<Eigen::Triplet<double, int>> entries;
    entries.reserve(static_cast<std::size_t>(k.slotCount()) * (full ? 2 : 1));
    for (int i = 1; i <= n; ++i)
        for (int s = k.rowBegin(i); s < k.rowEnd(i); ++s) {
            const int j = k.column(s);
            if (j == 0)
                continue;
            const double v = sign * k.value(s) * w[static_cast<std::size_t>(i)]
                * w[static_cast<std::size_t>(j)];
            entries.emplace_back(i - 1, j - 1, v);
            if (full && j != i)
                entries.emplace_back(j - 1, i - 1, v);
        }
    a.resize(n, n);
    a.setFromTriplets(entries.begin(), entries.end());
    a.makeCompressed();
    b.resize(n);
    for (int i = 1; i <= n; ++i)
        b[i - 1] = sign * f[static_cast<std::size_t>(i)] * w[static_cast<std::size_t>(i)];
}

struct LibraryFigures {
    long iterations = 0;
    double seconds = 0.0;
    double cpuSeconds = 0.0;
    double residual = 0.0;
    double difference = 0.0; ///< largest |x_lib - x_ours| / largest |x_ours|
};

template <int UpLo>
LibraryFigures libraryCg(const EigenMatrix& a, const Eigen::VectorXd& b,
    const std::vector<double>& w, const linalg::RealVector& ours, double tolerance, int repeat)
{
    LibraryFigures figures;
    Timings timings;
    Eigen::VectorXd x;
    for (int r = 0; r < repeat; ++r) {
        timings.start();
        Eigen::ConjugateGradient<EigenMatrix, UpLo, Eigen::DiagonalPreconditioner<double>> cg;
        cg.setTolerance(tolerance);
        cg.setMaxIterations(10 * static_cast<int>(a.rows()));
        cg.compute(a);
        x = cg.solve(b);
        timings.stop();
        figures.iterations = cg.iterations();
        figures.residual = cg.error();
    }
    figures.seconds = timings.wall();
    figures.cpuSeconds = timings.cpu();
    double largest = 0.0;
    double difference = 0.0;
    for (Eigen::Index i = 0; i < x.size(); ++i) {
        const double mine = ours[static_cast<std::size_t>(i) + 1];
        largest = std::max(largest, std::fabs(mine));
        // Back from the scaled unknowns: x = W y.
        difference
            = std::max(difference, std::fabs(w[static_cast<std::size_t>(i) + 1] * x[i] - mine));
    }
    figures.difference = largest > 0.0 ? difference / largest : difference;
    return figures;
}

const char* endName(solver::RunEnd end)
{
    switch (end) {
    case solver::RunEnd::Finished:
        return "finished";
    case solver::RunEnd::Interrupted:
        return "interrupted";
    case solver::RunEnd::Failed:
        break;
    }
    return "failed";
}

int usage()
{
    std::fprintf(stderr,
        "usage: tarvex_bench_solver [--level 10k|100k|1M | --h H] [--repeat N] [--tol T]\n"
        "       [--nonlinear] [--induced] [--no-linear] [--no-lower] [--no-run-linear]\n"
        "       [--results]\n"
        "       [--mat FILE.mat] [--sigma S] [--freq HZ] [--reference FILE.pre]\n"
        "       [--direct] [--write-msh OUT.msh]\n");
    return 2;
}

/// Meshes and exports the problem; fills the mesh and export figures.
bool meshAndExport(
    const Options& options, double h, solver::SolverModel& model, int repeat, std::string& line)
{
    problem::ProblemData data;
    if (!buildProblem(options, data))
        return false;
    data.arestaMaxima = h;
    data.tolerancia = h / 1e6;
    problem::OpcoesMalha meshOptions;
    meshOptions.verificaAngulo = true;
    meshOptions.comprimentoReferencia = h;
    NoProgress quiet;
    auto start = Clock::now();
    if (Status s = problem::gerarMalha(data, meshOptions, quiet); !s) {
        std::fprintf(stderr, "mesh: %s\n", std::string(s.message).c_str());
        return false;
    }
    const double meshSeconds = secondsSince(start);

    Timings exportTimes;
    for (int r = 0; r < repeat; ++r) {
        solver::SolverModel built;
        exportTimes.start();
        const solver::ExportResult exported = solver::buildSolverModel(data, built);
        exportTimes.stop();
        if (!exported) {
            std::fprintf(stderr, "export: %s\n", std::string(exported.status.message).c_str());
            return false;
        }
        if (r + 1 == repeat)
            model = std::move(built);
    }
    // The assembly alone, into the export's layout, on the finished model: the rest of the export
    // is the numbering (node classes, symmetry pairing, element orientation) and its bookkeeping.
    Timings assemblyTimes;
    for (int r = 0; r < repeat; ++r) {
        assemblyTimes.start();
        const solver::AssemblyResult assembled
            = solver::assembleLinear(model, solver::ExportSlotsPerRow);
        assemblyTimes.stop();
        if (!assembled) {
            std::fprintf(stderr, "assembly: %s\n", std::string(assembled.status.message).c_str());
            return false;
        }
    }
    const double exportSeconds = exportTimes.wall();
    const double assemblySeconds = std::min(assemblyTimes.wall(), exportSeconds);
    const double exportCpu = exportTimes.cpu();
    const double assemblyCpu = std::min(assemblyTimes.cpu(), exportCpu);
    char text[512];
    std::snprintf(text, sizeof text,
        "triangles=%d nodes=%d unknowns=%d mesh_s=%.3f export_s=%.4f numbering_s=%.4f "
        "assembly_s=%.4f export_cpu_s=%.4f numbering_cpu_s=%.4f assembly_cpu_s=%.4f",
        data.numTriangulos, model.nodeCount(), model.matrix.order(), meshSeconds, exportSeconds,
        exportSeconds - assemblySeconds, assemblySeconds, exportCpu, exportCpu - assemblyCpu,
        assemblyCpu);
    line += text;
    return true;
}

/// Our CG on the compacted matrix, then the library's on the same system. Returns our processor
/// seconds per iteration (for the other runs' comparison), 0 on failure.
double linearFigures(
    const Options& options, const solver::SolverModel& model, int repeat, std::string& line)
{
    const linalg::SparseSymMatrix compact = model.matrix.compacted();
    const int n = compact.order();
    linalg::RealVector x(static_cast<std::size_t>(n));
    linalg::SolveResult result;
    Timings timings;
    const double rssBefore = statusMb("VmRSS");
    const bool peakReset = resetPeak();
    for (int r = 0; r < repeat; ++r) {
        linalg::SolverRequest request;
        request.matrix = compact;
        request.rhs = model.rhs;
        request.solution = &x;
        request.tolerance = options.tolerance;
        timings.start();
        result = linalg::solveConjugateGradient(std::move(request));
        timings.stop();
    }
    const double cgExtra = peakReset ? statusMb("VmHWM") - rssBefore : -1.0;
    const double cgSeconds = timings.wall();
    const double perIteration = result.iterations > 0 ? cgSeconds / result.iterations : 0.0;
    const double cpuPerIteration = result.iterations > 0 ? timings.cpu() / result.iterations : 0.0;

    const double vectorMb = megabytes(8.0 * (n + 1));
    const double compactMb = megabytes(12.0 * (compact.slotCount() + 1) + 4.0 * (n + 2));
    const double modelMatrixMb = megabytes(12.0 * (model.matrix.slotCount() + 1) + 4.0 * (n + 2));
    char text[1024];
    std::snprintf(text, sizeof text,
        " nnz=%d bandwidth=%d rows_not_led_by_diagonal=%d cg_end=%d cg_iterations=%d "
        "cg_residual=%.3g cg_s=%.4f cg_ms_per_it=%.4f cg_cpu_ms_per_it=%.4f "
        "model_matrix_mb=%.1f compact_matrix_mb=%.1f vector_mb=%.2f cg_extra_mb=%.1f",
        compact.slotCount(), bandwidth(compact), rowsNotLedByDiagonal(compact),
        static_cast<int>(result.end), result.iterations, result.relativeResidual, cgSeconds,
        perIteration * 1e3, cpuPerIteration * 1e3, modelMatrixMb, compactMb, vectorMb, cgExtra);
    line += text;

    {
        Timings fusedTimings;
        linalg::RealVector fused;
        double residual = 0.0;
        int iterations = 0;
        for (int r = 0; r < repeat; ++r) {
            fusedTimings.start();
            iterations
                = fusedConjugateGradient(compact, model.rhs, options.tolerance, fused, residual);
            fusedTimings.stop();
        }
        double largest = 0.0;
        double difference = 0.0;
        for (int i = 1; i <= n; ++i) {
            largest = std::max(largest, std::fabs(x[static_cast<std::size_t>(i)]));
            difference = std::max(difference,
                std::fabs(fused[static_cast<std::size_t>(i)] - x[static_cast<std::size_t>(i)]));
        }
        std::snprintf(text, sizeof text,
            " fused_iterations=%d fused_ms_per_it=%.4f fused_cpu_ms_per_it=%.4f "
            "fused_difference=%.2g",
            iterations, perIterationMs(fusedTimings.wall(), iterations),
            perIterationMs(fusedTimings.cpu(), iterations),
            largest > 0.0 ? difference / largest : difference);
        line += text;
    }

    const std::vector<double> w = rowWeights(compact);
    EigenMatrix a;
    Eigen::VectorXd b;
    toEigen(compact, model.rhs, true, a, b);
    const LibraryFigures full
        = libraryCg<Eigen::Lower | Eigen::Upper>(a, b, w, x, options.tolerance, repeat);
    std::snprintf(text, sizeof text,
        " eigen_iterations=%ld eigen_residual=%.3g eigen_s=%.4f eigen_ms_per_it=%.4f "
        "eigen_cpu_ms_per_it=%.4f eigen_difference=%.2g",
        full.iterations, full.residual, full.seconds, perIterationMs(full.seconds, full.iterations),
        perIterationMs(full.cpuSeconds, full.iterations), full.difference);
    line += text;
    if (options.eigenLower) {
        toEigen(compact, model.rhs, false, a, b);
        const LibraryFigures lower = libraryCg<Eigen::Lower>(a, b, w, x, options.tolerance, repeat);
        std::snprintf(text, sizeof text,
            " eigen_lower_iterations=%ld eigen_lower_s=%.4f eigen_lower_ms_per_it=%.4f "
            "eigen_lower_cpu_ms_per_it=%.4f",
            lower.iterations, lower.seconds, perIterationMs(lower.seconds, lower.iterations),
            perIterationMs(lower.cpuSeconds, lower.iterations));
        line += text;
    }
    return cpuPerIteration;
}

/// The complex solve of the induced-current system alone, as the run builds it.
void complexFigures(const solver::SolverModel& model, const Options& options,
    double linearPerIteration, std::string& line)
{
    const linalg::ComplexSparseSymMatrix a
        = linalg::buildComplexMatrix(model.matrix, model.conductivityMatrix, model.frequency);
    const linalg::ComplexVector f
        = linalg::buildComplexRhs(model.rhs, model.conductivityRhs, model.frequency);
    linalg::ComplexVector x(static_cast<std::size_t>(a.order()));
    linalg::ComplexSolverRequest request;
    request.matrix = a;
    request.rhs = f;
    request.solution = &x;
    request.tolerance = options.tolerance;
    Timings timings;
    timings.start();
    const linalg::SolveResult result = linalg::solveComplexConjugateGradient(std::move(request));
    timings.stop();
    const double cpuPerIteration = result.iterations > 0 ? timings.cpu() / result.iterations : 0.0;
    char text[512];
    std::snprintf(text, sizeof text,
        " conductive=%d complex_nnz=%d complex_cg_end=%d complex_cg_iterations=%d "
        "complex_cg_residual=%.3g complex_cg_s=%.4f complex_cg_ms_per_it=%.4f "
        "complex_cg_cpu_ms_per_it=%.4f complex_vs_linear_per_it=%.2f",
        static_cast<int>(model.conductive), a.slotCount(), static_cast<int>(result.end),
        result.iterations, result.relativeResidual, timings.wall(),
        perIterationMs(timings.wall(), result.iterations), cpuPerIteration * 1e3,
        linearPerIteration > 0.0 ? cpuPerIteration / linearPerIteration : 0.0);
    line += text;
}

/// A whole run through the runs' entry point: steps, solver iterations and time per iteration.
void runFigures(const char* kind, solver::SolverModel model, double linearPerIteration,
    const Options& options,
    solver::RunResult (*run)(
        solver::SolverModel&, const solver::RunSettings&, solver::RunReporter&),
    std::string& line)
{
    solver::RunSettings settings;
    settings.linearTolerance = options.tolerance;
    CountingReporter reporter;
    Timings timings;
    timings.start();
    const solver::RunResult result = run(model, settings, reporter);
    timings.stop();
    // goOn comes once per non-linear step and, in each solve of k iterations, k - 2 times (from
    // the second iteration on, not on the converging one): a non-linear run of s steps (one solve
    // each) made calls + s iterations. A single solve reports its own count.
    const long iterations = result.nonlinearSteps > 0 ? reporter.calls + result.nonlinearSteps
                                                      : result.solverIterations;
    const double cpuPerIteration
        = iterations > 0 ? timings.cpu() / static_cast<double>(iterations) : 0.0;
    char text[512];
    std::snprintf(text, sizeof text,
        " %s_end=%s %s_steps=%d %s_solver_iterations=%ld %s_last_iterations=%d "
        "%s_s=%.3f %s_cpu_s=%.3f %s_cpu_ms_per_it=%.4f %s_vs_linear_per_it=%.2f",
        kind, endName(result.end), kind, result.nonlinearSteps, kind, iterations, kind,
        result.solverIterations, kind, timings.wall(), kind, timings.cpu(), kind,
        cpuPerIteration * 1e3, kind,
        linearPerIteration > 0.0 ? cpuPerIteration / linearPerIteration : 0.0);
    line += text;
    if (!result)
        std::fprintf(stderr, "%s run: %s\n", kind, std::string(result.status.message).c_str());
}

/// The direct solver on the plain system: the first solve (ordering, analysis, factorisation,
/// solution), as a linear run makes it, and a second one with the analysis kept, as every later
/// non-linear step makes it; with the peak memory the solver adds.
void directFigures(const solver::SolverModel& model, std::string& line)
{
    const int n = model.matrix.order();
    linalg::RealVector x(static_cast<std::size_t>(n));
    const double rssBefore = statusMb("VmRSS");
    const bool peakReset = resetPeak();
    linalg::DirectSolver direct;
    Timings first;
    first.start();
    const linalg::SolveResult result = direct.solve(model.matrix, model.rhs, x, nullptr);
    first.stop();
    const double extra = peakReset ? statusMb("VmHWM") - rssBefore : -1.0;
    Timings again;
    again.start();
    direct.solve(model.matrix, model.rhs, x, nullptr);
    again.stop();
    char text[512];
    std::snprintf(text, sizeof text,
        " direct_end=%d direct_residual=%.3g direct_s=%.4f direct_cpu_s=%.4f "
        "direct_refactor_s=%.4f direct_refactor_cpu_s=%.4f direct_analyses=%d "
        "direct_extra_mb=%.1f",
        static_cast<int>(result.end), result.relativeResidual, first.wall(), first.cpu(),
        again.wall(), again.cpu(), direct.analyses(), extra);
    line += text;
}

/// The non-linear run to the tight target (0.05 %) with one solver, beside a linear run of the same
/// model with the same solver: steps, time, and the ratio of the two times.
void nonlinearTargetFigures(const char* name, const solver::SolverModel& model,
    linalg::SolverMethod method, const Options& options, std::string& line)
{
    solver::RunSettings settings;
    settings.linearTolerance = options.tolerance;
    settings.errorTarget = 0.0005;
    settings.method = method;
    CountingReporter reporter;
    solver::SolverModel linearModel = model;
    Timings linear;
    linear.start();
    const solver::RunResult linearRun = solver::runLinear(linearModel, settings, reporter);
    linear.stop();
    linearModel = solver::SolverModel();

    solver::SolverModel nonlinearModel = model;
    Timings nonlinear;
    nonlinear.start();
    const solver::RunResult run = solver::runNonlinear(nonlinearModel, settings, reporter);
    nonlinear.stop();
    char text[512];
    std::snprintf(text, sizeof text,
        " %s_end=%s %s_steps=%d %s_error=%.3g %s_s=%.3f %s_linear_s=%.3f "
        "%s_vs_linear=%.2f %s_cpu_s=%.3f %s_linear_cpu_s=%.3f %s_cpu_vs_linear=%.2f",
        name, endName(run.end), name, run.nonlinearSteps, name, run.error, name, nonlinear.wall(),
        name, linear.wall(), name,
        linearRun && linear.wall() > 0.0 ? nonlinear.wall() / linear.wall() : 0.0, name,
        nonlinear.cpu(), name, linear.cpu(), name,
        linearRun && linear.cpu() > 0.0 ? nonlinear.cpu() / linear.cpu() : 0.0);
    line += text;
    if (!run)
        std::fprintf(stderr, "%s run: %s\n", name, std::string(run.status.message).c_str());
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--level" && hasValue)
            options.level = argv[++i];
        else if (arg == "--h" && hasValue)
            options.h = std::atof(argv[++i]);
        else if (arg == "--repeat" && hasValue)
            options.repeat = std::atoi(argv[++i]);
        else if (arg == "--tol" && hasValue)
            options.tolerance = std::atof(argv[++i]);
        else if (arg == "--reference" && hasValue)
            options.reference = argv[++i];
        else if (arg == "--mat" && hasValue)
            options.material = argv[++i];
        else if (arg == "--sigma" && hasValue)
            options.sigma = std::atof(argv[++i]);
        else if (arg == "--freq" && hasValue)
            options.frequency = std::atof(argv[++i]);
        else if (arg == "--nonlinear")
            options.nonlinear = true;
        else if (arg == "--induced")
            options.induced = true;
        else if (arg == "--no-linear")
            options.linear = false;
        else if (arg == "--no-run-linear")
            options.runLinear = false;
        else if (arg == "--no-lower")
            options.eigenLower = false;
        else if (arg == "--results")
            options.results = true;
        else if (arg == "--direct")
            options.direct = true;
        else if (arg == "--write-msh" && hasValue)
            options.writeMsh = argv[++i];
        else
            return usage();
    }
    const double h = options.h > 0.0 ? options.h : edgeFor(options.level);
    if (h <= 0.0 || !(options.tolerance > 0.0 && options.tolerance < 1.0)) {
        std::fprintf(stderr, "unknown level %s or bad tolerance\n", options.level.c_str());
        return usage();
    }
    const int repeat = options.repeat > 0 ? options.repeat : repetitionsFor(options.level);

    // The linear figures come from the plain problem; the other runs change the disc's material,
    // so they get their own export.
    Options plain = options;
    plain.nonlinear = false;
    plain.induced = false;
    solver::SolverModel model;
    char head[128];
    std::snprintf(head, sizeof head, "level=%s h=%g tol=%g repeat=%d ", options.level.c_str(), h,
        options.tolerance, repeat);
    std::string line = head;
    if (!meshAndExport(plain, h, model, repeat, line))
        return 1;
    if (!options.writeMsh.empty()) {
        if (Status written = solver::saveMsh(options.writeMsh, model); !written) {
            std::fprintf(stderr, "%s: cannot be written\n", options.writeMsh.c_str());
            return 1;
        }
    }
    double linearPerIteration = 0.0;
    if (options.linear)
        linearPerIteration = linearFigures(options, model, repeat, line);
    if (options.direct)
        directFigures(model, line);
    if (options.runLinear)
        runFigures(
            "run_linear", std::move(model), linearPerIteration, options, solver::runLinear, line);
    model = solver::SolverModel();

    if (options.nonlinear) {
        Options nonlinear = plain;
        nonlinear.nonlinear = true;
        std::string ignored;
        solver::SolverModel nonlinearModel;
        if (!meshAndExport(nonlinear, h, nonlinearModel, 1, ignored))
            return 1;
        if (options.direct) {
            nonlinearTargetFigures(
                "tight_cg", nonlinearModel, linalg::SolverMethod::ConjugateGradient, options, line);
            nonlinearTargetFigures(
                "tight_direct", nonlinearModel, linalg::SolverMethod::Direct, options, line);
        }
        runFigures("nonlinear", std::move(nonlinearModel), linearPerIteration, options,
            solver::runNonlinear, line);
    }
    if (options.induced) {
        Options induced = plain;
        induced.induced = true;
        std::string ignored;
        solver::SolverModel inducedModel;
        if (!meshAndExport(induced, h, inducedModel, 1, ignored))
            return 1;
        inducedModel.frequency = options.frequency;
        complexFigures(inducedModel, options, linearPerIteration, line);
        runFigures("induced", std::move(inducedModel), linearPerIteration, options,
            solver::runInducedCurrents, line);
    }
    if (options.results) {
        // The disc conducts, so the losses have triangles to sum; the potentials are the linear
        // run's (the work per triangle does not depend on the values).
        Options conducting = plain;
        conducting.induced = true;
        std::string ignored;
        solver::SolverModel resultsModel;
        if (!meshAndExport(conducting, h, resultsModel, 1, ignored))
            return 1;
        resultsModel.frequency = options.frequency;
        bench::resultsFigures(resultsModel, repeat, line);
    }
    char tail[64];
    std::snprintf(tail, sizeof tail, " peak_mb=%.0f", peakMb());
    std::printf("%s%s\n", line.c_str(), tail);
    return 0;
}
