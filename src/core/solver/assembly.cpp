#include "solver/assembly.h"

#include "common/messages.h"
#include "geometry/helpers.h"
#include "solver/linalg/real_vector.h"
#include "solver/linalg/sparse_sym_matrix.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace tarvex::solver {

using linalg::RealVector;
using linalg::SparseSymMatrix;

double mu0()
{
    return 4.0 * geometry::Pi * 1e-7;
}

namespace {

/// Slots per row of a matrix rebuilt by the symmetry folding.
constexpr int FoldedSlotsPerRow = 20;
/// An element this flat (twice its area, in drawing units squared) is refused as degenerate.
constexpr double SmallestTwiceArea = 1e-16;
/// A folded entry this small is taken for an empty slot.
constexpr double SmallestFoldedValue = 1e-150;
/// An iterate's gradient is taken at least this large, so that the relative change between two
/// iterates never divides by zero.
constexpr double SmallestIterateGradient = 1e-20;
/// The gradient an element without imposed nodes starts at: its curve is read at (almost) zero.
constexpr double StartingGradient = 1e-30;

/// Vertices of one triangle and the terms of its linear shape functions, in drawing units.
struct Triangle {
    double x[3] = {};
    double y[3] = {};
    double d = 0.0; ///< twice the signed area; negative for every valid element
    double beta[3] = {};
    double gamma[3] = {};
};

Triangle triangleOf(const SolverModel& model, const int t[3], double unit = 1.0)
{
    Triangle tri;
    for (int a = 0; a < 3; ++a) {
        const MeshNode& node = model.nodes[static_cast<std::size_t>(t[a])];
        tri.x[a] = node.x / unit;
        tri.y[a] = node.y / unit;
    }
    tri.d = (tri.x[1] - tri.x[0]) * (tri.y[2] - tri.y[0])
        - (tri.x[2] - tri.x[0]) * (tri.y[1] - tri.y[0]);
    tri.beta[0] = tri.y[1] - tri.y[2];
    tri.beta[1] = tri.y[2] - tri.y[0];
    tri.beta[2] = tri.y[0] - tri.y[1];
    tri.gamma[0] = tri.x[2] - tri.x[1];
    tri.gamma[1] = tri.x[0] - tri.x[2];
    tri.gamma[2] = tri.x[1] - tri.x[0];
    return tri;
}

/// The mesh is oriented so that every element has D < 0; anything else (a NaN included) is refused.
bool validArea(double d)
{
    return d < 0.0 && std::fabs(d) > SmallestTwiceArea;
}

bool validNodeNumbers(const MeshElement& e, int nodeCount)
{
    return e.t1 >= 1 && e.t2 >= 1 && e.t3 >= 1 && e.t1 <= nodeCount && e.t2 <= nodeCount
        && e.t3 <= nodeCount;
}

/// Elements in list order without going through the reversed view in hot loops.
const MeshElement& elementAt(const std::vector<MeshElement>& byStorage, ElementIndex listIndex)
{
    return byStorage[byStorage.size() - 1 - listIndex];
}

/**
 * Calls emit(row, column) for every off-diagonal lower-triangle position that the elements write
 * into rows 1..order (once per element and pair, repeats included). Elements with bad node
 * numbers are skipped: the element loop reports them.
 */
template <typename Emit>
void forEachElementCoupling(const SolverModel& model, int order, Emit&& emit)
{
    const int nodeCount = model.nodeCount();
    for (const MeshElement& e : model.elements.inStorageOrder()) {
        if (!validNodeNumbers(e, nodeCount))
            continue;
        const int t[3] = { e.t1, e.t2, e.t3 };
        for (int a = 0; a < 3; ++a)
            for (int b = a + 1; b < 3; ++b) {
                const int hi = std::max(t[a], t[b]);
                const int lo = std::min(t[a], t[b]);
                if (hi <= order && lo < hi)
                    emit(hi, lo);
            }
    }
}

/**
 * Slots of each row (item 0 unused): `slots`, or as many as the row's distinct entries, diagonal
 * included, where that is more. `forEach(emit)` must report every off-diagonal position that will
 * be written. A first pass bounds each row by its count of reports; only rows whose bound exceeds
 * `slots` (rare: a node with many lower neighbours) are counted exactly, so normal meshes keep
 * exactly `slots` per row.
 */
template <typename ForEach> std::vector<int> rowSlotsFor(int order, int slots, ForEach&& forEach)
{
    std::vector<int> bound(static_cast<std::size_t>(order) + 1, 1);
    forEach([&](int row, int) { ++bound[static_cast<std::size_t>(row)]; });
    std::vector<int> rowSlots(static_cast<std::size_t>(order) + 1, slots);
    rowSlots[0] = 0;
    bool anyHeavy = false;
    for (int i = 1; i <= order; ++i)
        anyHeavy = anyHeavy || bound[static_cast<std::size_t>(i)] > slots;
    if (!anyHeavy)
        return rowSlots;

    std::vector<std::pair<int, int>> positions;
    forEach([&](int row, int column) {
        if (bound[static_cast<std::size_t>(row)] > slots)
            positions.emplace_back(row, column);
    });
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (std::size_t k = 0; k < positions.size();) {
        std::size_t end = k;
        while (end < positions.size() && positions[end].first == positions[k].first)
            ++end;
        const int needed = 1 + static_cast<int>(end - k);
        int& row = rowSlots[static_cast<std::size_t>(positions[k].first)];
        row = std::max(row, needed);
        k = end;
    }
    return rowSlots;
}

SparseSymMatrix slottedMatrix(const std::vector<int>& rowSlots)
{
    return rowSlots.size() > 1 ? SparseSymMatrix::withRowSlots(rowSlots) : SparseSymMatrix {};
}

bool validMasters(const SolverModel& model)
{
    const int g = model.slaveCount;
    if (g < 0 || model.slaveMasters.size() < static_cast<std::size_t>(g) + 1)
        return false;
    for (int k = 1; k <= g; ++k) {
        const int master = model.slaveMasters[static_cast<std::size_t>(k)];
        if (master < 1 || master > model.freeNodes)
            return false;
    }
    return true;
}

struct Coupling {
    int row;
    int column;
    double value;
};

/**
 * Folds a system of order n_m + g (slaves as unknowns) into one of order n_m with
 * x_slave = sigma x_master. Every coupling of a slave row is folded, whatever its column:
 * K'(map(t), map(c)) += sigma^(slaves among t, c) K(t, c). Rows hold their copied entries in
 * ascending column order, then the entries the folding creates, slave row after slave row (each
 * with its slave columns first). False, nothing touched, when the system is not of that order
 * or a slave's master is out of range.
 */
bool foldSymmetry(const SolverModel& model, SparseSymMatrix& matrix, RealVector& rhs)
{
    const int nm = model.freeNodes;
    const int n = model.unknownCount();
    if (nm < 0 || matrix.order() != n || rhs.count() != static_cast<std::size_t>(n)
        || !validMasters(model))
        return false;
    const double sigma = symmetrySign(model);
    auto mapOf = [&](int node) {
        return node > nm ? model.slaveMasters[static_cast<std::size_t>(node - nm)] : node;
    };
    auto stored = [&](int slot) {
        return matrix.column(slot) != 0 && std::fabs(matrix.value(slot)) >= SmallestFoldedValue;
    };

    const auto forEachFolded = [&](auto&& emit) {
        for (int i = 1; i <= n; ++i)
            for (int s = matrix.rowBegin(i); s < matrix.rowEnd(i); ++s) {
                if (!stored(s))
                    continue;
                const int a = mapOf(i);
                const int b = mapOf(matrix.column(s));
                if (a != b)
                    emit(std::max(a, b), std::min(a, b));
            }
    };
    SparseSymMatrix folded = slottedMatrix(rowSlotsFor(nm, FoldedSlotsPerRow, forEachFolded));
    RealVector foldedRhs(static_cast<std::size_t>(nm));

    // Copied rows: ascending columns, so the diagonal comes after the row's other entries.
    std::vector<std::pair<int, double>> row;
    row.reserve(64);
    auto sortedRow = [&](int i, int maxColumn) {
        row.clear();
        for (int s = matrix.rowBegin(i); s < matrix.rowEnd(i); ++s)
            if (matrix.column(s) != 0 && matrix.column(s) <= maxColumn)
                row.emplace_back(matrix.column(s), matrix.value(s));
        std::sort(
            row.begin(), row.end(), [](const auto& p, const auto& q) { return p.first < q.first; });
    };
    for (int i = 1; i <= nm; ++i) {
        foldedRhs[static_cast<std::size_t>(i)] = rhs[static_cast<std::size_t>(i)];
        sortedRow(i, i);
        for (const auto& [column, value] : row)
            folded.addToPackedRow(i, column, value);
    }

    // Slave-slave couplings of each slave row in both orders, ascending slave column.
    std::vector<Coupling> slaveBlock;
    for (int t = nm + 1; t <= n; ++t)
        for (int s = matrix.rowBegin(t); s < matrix.rowEnd(t); ++s) {
            const int u = matrix.column(s);
            if (u <= nm)
                continue;
            slaveBlock.push_back({ t, u, matrix.value(s) });
            if (u != t)
                slaveBlock.push_back({ u, t, matrix.value(s) });
        }
    std::sort(slaveBlock.begin(), slaveBlock.end(), [](const Coupling& p, const Coupling& q) {
        return p.row != q.row ? p.row < q.row : p.column < q.column;
    });

    std::size_t next = 0;
    for (int t = nm + 1; t <= n; ++t) {
        const int o = mapOf(t);
        foldedRhs[static_cast<std::size_t>(o)] += sigma * rhs[static_cast<std::size_t>(t)];
        // Each ordered slave pair lands once in the lower triangle (both on the diagonal when
        // the two slaves share a master), which is what the symmetric sum needs.
        for (; next < slaveBlock.size() && slaveBlock[next].row == t; ++next)
            folded.addToPackedRow(
                o, mapOf(slaveBlock[next].column), sigma * sigma * slaveBlock[next].value);
        // Couplings to free columns (interior nodes and masters). The stored entry stands for
        // both K(t, c) and K(c, t): on the master's own diagonal both halves land together.
        sortedRow(t, nm);
        for (const auto& [c, value] : row) {
            const double folding = c == o ? 2.0 * sigma * value : sigma * value;
            folded.addToPackedRow(std::max(o, c), std::min(o, c), folding);
        }
    }
    matrix = std::move(folded);
    rhs = std::move(foldedRhs);
    return true;
}

/// What the element loops share about one element.
struct ElementData {
    int t[3] = {};
    Triangle tri;
    const problem::Regiao* region = nullptr;
    double cx = 0.0; ///< centroid
    double cy = 0.0;
};

/**
 * Node numbers checked, region searched (and cached) or read from the cache, geometry formed and
 * its orientation checked. False, with `result` describing the failure, when the loop must stop.
 */
bool prepareElement(SolverModel& model, ElementIndex listIndex, const MeshElement& e, bool search,
    ElementData& out, AssemblyResult& result)
{
    if (!validNodeNumbers(e, model.nodeCount())) {
        result.status = Status::failure(msg::MontagemIndiceZero);
        return false;
    }
    out.t[0] = e.t1;
    out.t[1] = e.t2;
    out.t[2] = e.t3;
    out.tri = triangleOf(model, out.t);
    out.cx = (out.tri.x[0] + out.tri.x[1] + out.tri.x[2]) / 3.0;
    out.cy = (out.tri.y[0] + out.tri.y[1] + out.tri.y[2]) / 3.0;

    RegionIndex& cached = model.elementRegion[listIndex];
    if (search) {
        cached = model.findRegionAt(out.cx, out.cy);
        if (cached == 0) {
            result.status = Status::failure({});
            result.elementOutsideRegions = static_cast<std::int64_t>(listIndex);
            result.markX = out.cx;
            result.markY = out.cy;
            return false;
        }
    }
    out.region = model.region(cached);
    if (out.region == nullptr) {
        result.status = Status::failure(msg::MontagemSemRegiao);
        return false;
    }
    if (!validArea(out.tri.d)) {
        result.status = Status::failure(msg::MontagemAreaZero);
        return false;
    }
    return true;
}

/// The cache of element regions, created all zero when it does not match the element list.
/// True when it was (re)created, so that every region must be searched.
bool ensureRegionCache(SolverModel& model)
{
    if (model.elementRegion.size() == model.elements.size())
        return false;
    model.elementRegion.assign(model.elements.size(), 0);
    return true;
}

double linearMaterial(const SolverModel& model, const problem::Regiao& region)
{
    return model.magnetic != 0 ? region.permRelativa * mu0()
                               : 1.0 / (region.permissividadeRelativa * Eps0);
}

/// G / y(G) from the region's curve; a curve that gives no usable value at G (not prepared,
/// fewer than two points, y <= 0) leaves the element its linear value rather than an infinity.
double curveMaterial(const problem::Regiao& region, double g, double linearValue)
{
    const double m = g / region.curva1.valor(g);
    return std::isfinite(m) && m > 0.0 ? m : linearValue;
}

double gradientMagnitude(const Triangle& tri, const double potential[3], double scale)
{
    const double p = tri.d / scale;
    const double dx
        = (tri.beta[0] * potential[0] + tri.beta[1] * potential[1] + tri.beta[2] * potential[2])
        / p;
    const double dy
        = (tri.gamma[0] * potential[0] + tri.gamma[1] * potential[1] + tri.gamma[2] * potential[2])
        / p;
    return std::sqrt(dx * dx + dy * dy);
}

enum class MaterialRule { Linear, NonlinearStart, NonlinearIterate };

struct LoopRequest {
    MaterialRule rule = MaterialRule::Linear;
    int slotsPerRow = AssemblySlotsPerRow;
    const RealVector* current = nullptr;
    const RealVector* previous = nullptr;
    double* largestChange = nullptr;
};

/// Potentials of the three vertices: free nodes from `iterate`, the others from their records.
void iteratePotentials(
    const SolverModel& model, const int t[3], const RealVector& iterate, double out[3])
{
    for (int a = 0; a < 3; ++a)
        out[a] = t[a] <= model.freeNodes ? iterate[static_cast<std::size_t>(t[a])]
                                         : model.nodes[static_cast<std::size_t>(t[a])].value;
}

/// The stiffness loop of every assembly: matrix of order n_m + g, right-hand side, then folding.
AssemblyResult assembleStiffness(SolverModel& model, const LoopRequest& request)
{
    AssemblyResult result;
    const int n = model.unknownCount();
    const bool nonlinear = request.rule != MaterialRule::Linear;
    const bool iterating = request.rule == MaterialRule::NonlinearIterate;
    if (model.freeNodes < 0 || model.slaveCount < 0 || n > model.nodeCount()
        || (iterating
            && (request.current == nullptr || request.previous == nullptr
                || request.current->count() != static_cast<std::size_t>(model.freeNodes)
                || request.previous->count() != static_cast<std::size_t>(model.freeNodes)))) {
        result.status = Status::failure(msg::MontagemIndiceZero);
        return result;
    }
    const double s = model.scaleFactor;
    const bool magnetic = model.magnetic != 0;

    SparseSymMatrix matrix = slottedMatrix(rowSlotsFor(
        n, request.slotsPerRow, [&](auto&& emit) { forEachElementCoupling(model, n, emit); }));
    RealVector rhs(static_cast<std::size_t>(n));
    const bool search = ensureRegionCache(model) || nonlinear;
    double largestChange = 0.0;

    const std::vector<MeshElement>& elements = model.elements.inStorageOrder();
    ElementData el;
    for (ElementIndex li = 0; li < elements.size(); ++li) {
        if (!prepareElement(model, li, elementAt(elements, li), search, el, result))
            return result;
        const problem::Regiao& region = *el.region;
        const Triangle& tri = el.tri;
        const int* t = el.t;

        double m = linearMaterial(model, region);
        if (nonlinear && region.linear == 0) {
            double potential[3] = { 0.0, 0.0, 0.0 };
            double g = 0.0;
            if (iterating) {
                iteratePotentials(model, t, *request.current, potential);
                g = std::max(gradientMagnitude(tri, potential, s), SmallestIterateGradient);
                double before[3];
                iteratePotentials(model, t, *request.previous, before);
                const double gBefore
                    = std::max(gradientMagnitude(tri, before, s), SmallestIterateGradient);
                largestChange = std::max(largestChange, std::fabs(g - gBefore) / gBefore);
            } else {
                bool anyImposed = false;
                for (int a = 0; a < 3; ++a)
                    if (t[a] > n) {
                        potential[a] = model.nodes[static_cast<std::size_t>(t[a])].value;
                        anyImposed = true;
                    }
                g = anyImposed ? gradientMagnitude(tri, potential, s) : 0.0;
                if (!(g >= StartingGradient))
                    g = StartingGradient;
            }
            m = curveMaterial(region, g, m);
        }

        double k[3][3];
        const double factor = 0.5 / tri.d / m;
        for (int a = 0; a < 3; ++a)
            for (int b = a; b < 3; ++b)
                k[a][b] = k[b][a]
                    = (tri.beta[a] * tri.beta[b] + tri.gamma[a] * tri.gamma[b]) * factor;

        // Source density per mm² of cross-section; D / s² is twice the area in m². The charge
        // enters with the sign that makes -div(eps grad V) = rho; the current density keeps the
        // sign that agrees with the magnet term (positive J into the plane of the drawing).
        const double q = magnetic ? region.densCorrente : -region.densCargas;
        const double source = (tri.d / (s * s)) * 1e6 * (-q) / 6.0;

        double magnet[3] = { 0.0, 0.0, 0.0 };
        if (magnetic
            && (region.brX != 0.0 || region.brY != 0.0 || region.brT != 0.0 || region.brR != 0.0)) {
            const double theta = geometry::anguloPolar(el.cx, el.cy);
            const double halfPi = geometry::Pi / 2.0;
            const double mx = -region.brX + std::cos(theta) * (-region.brR)
                + std::cos(theta + halfPi) * (-region.brT);
            const double my = -region.brY + std::sin(theta) * (-region.brR)
                + std::sin(theta + halfPi) * (-region.brT);
            const double f = 0.5 / m / s;
            magnet[0] = ((tri.x[1] - tri.x[2]) * mx + (tri.y[1] - tri.y[2]) * my) * f;
            magnet[1] = ((tri.x[2] - tri.x[0]) * mx + (tri.y[2] - tri.y[0]) * my) * f;
            magnet[2] = ((tri.x[0] - tri.x[1]) * mx + (tri.y[0] - tri.y[1]) * my) * f;
        }

        for (int a = 0; a < 3; ++a) {
            if (t[a] > n)
                continue;
            matrix.addToPackedRow(t[a], t[a], k[a][a]);
            double& f = rhs[static_cast<std::size_t>(t[a])];
            f += source + magnet[a];
            for (int b = 0; b < 3; ++b)
                if (b != a && t[b] > n)
                    f -= k[a][b] * model.nodes[static_cast<std::size_t>(t[b])].value;
        }
        // Each pair is offered in both orders; only the lower-triangle one of a free row is kept.
        static constexpr int Pairs[3][2] = { { 0, 1 }, { 0, 2 }, { 1, 2 } };
        for (const auto& p : Pairs) {
            matrix.addToPackedRow(t[p[0]], t[p[1]], k[p[0]][p[1]]);
            matrix.addToPackedRow(t[p[1]], t[p[0]], k[p[0]][p[1]]);
        }
    }

    if (model.symmetryKind != problem::SymmetryKind::None && !foldSymmetry(model, matrix, rhs)) {
        result.status = Status::failure(msg::MontagemIndiceZero);
        return result;
    }
    // The model keeps the matrix without its free slots; a file gets them back when written.
    matrix.trimSlots();
    model.matrix = std::move(matrix);
    model.rhs = std::move(rhs);
    if (request.largestChange != nullptr)
        *request.largestChange = largestChange;
    return result;
}

} // namespace

AssemblyResult assembleLinear(SolverModel& model, int slotsPerRow)
{
    LoopRequest request;
    request.slotsPerRow = slotsPerRow;
    return assembleStiffness(model, request);
}

AssemblyResult assembleNonlinearStart(SolverModel& model)
{
    LoopRequest request;
    request.rule = MaterialRule::NonlinearStart;
    return assembleStiffness(model, request);
}

AssemblyResult assembleNonlinear(SolverModel& model, const linalg::RealVector& current,
    const linalg::RealVector& previous, double* largestChange)
{
    LoopRequest request;
    request.rule = MaterialRule::NonlinearIterate;
    request.current = &current;
    request.previous = &previous;
    request.largestChange = largestChange;
    return assembleStiffness(model, request);
}

bool condenseSymmetry(SolverModel& model)
{
    if (model.symmetryKind == problem::SymmetryKind::None)
        return true;
    SparseSymMatrix matrix = model.matrix;
    RealVector rhs = model.rhs;
    if (!foldSymmetry(model, matrix, rhs))
        return false;
    matrix.trimSlots();
    model.matrix = std::move(matrix);
    model.rhs = std::move(rhs);
    return true;
}

void addNewtonTerms(SolverModel& model, const linalg::RealVector& current)
{
    const int nm = model.freeNodes;
    const int n = model.unknownCount();
    if (current.count() != static_cast<std::size_t>(nm) || n > model.nodeCount())
        return;
    // With symmetry the matrix is the folded one: a slave vertex's terms go to its master's row
    // and column with the sign of the symmetry, as the stiffness did.
    const bool folded = model.symmetryKind != problem::SymmetryKind::None && model.slaveCount > 0
        && validMasters(model);
    const double sigma = symmetrySign(model);
    auto unknownOf = [&](int node, double& sign) {
        sign = 1.0;
        if (node <= nm)
            return node;
        if (folded && node <= n) {
            sign = sigma;
            return static_cast<int>(model.slaveMasters[static_cast<std::size_t>(node - nm)]);
        }
        return 0;
    };
    const bool cached = model.elementRegion.size() == model.elements.size();
    const double s = model.scaleFactor;
    const std::vector<MeshElement>& elements = model.elements.inStorageOrder();
    for (ElementIndex li = 0; li < elements.size(); ++li) {
        const MeshElement& e = elementAt(elements, li);
        if (!validNodeNumbers(e, model.nodeCount()))
            continue;
        const int t[3] = { e.t1, e.t2, e.t3 };
        const Triangle tri = triangleOf(model, t, s);
        const RegionIndex number = cached
            ? model.elementRegion[li]
            : model.findRegionAt((tri.x[0] + tri.x[1] + tri.x[2]) * s / 3.0,
                (tri.y[0] + tri.y[1] + tri.y[2]) * s / 3.0);
        const problem::Regiao* region = model.region(number);
        if (region == nullptr || region->linear != 0 || !(tri.d != 0.0))
            continue;

        double potential[3];
        iteratePotentials(model, t, current, potential);
        const double ax
            = (tri.beta[0] * potential[0] + tri.beta[1] * potential[1] + tri.beta[2] * potential[2])
            / tri.d;
        const double ay = (tri.gamma[0] * potential[0] + tri.gamma[1] * potential[1]
                              + tri.gamma[2] * potential[2])
            / tri.d;
        const double d = region->curva2.derivada(ax * ax + ay * ay);
        double a[3];
        double g[3];
        for (int i = 0; i < 3; ++i) {
            a[i] = 0.0;
            for (int j = 0; j < 3; ++j)
                a[i] += (tri.beta[i] * tri.beta[j] + tri.gamma[i] * tri.gamma[j]) / (2.0 * tri.d)
                    * potential[j];
            g[i] = 2.0 * (tri.beta[i] * ax + tri.gamma[i] * ay) / tri.d;
        }
        for (int i = 0; i < 3; ++i) {
            double si = 0.0;
            const int ri = unknownOf(t[i], si);
            if (ri == 0)
                continue;
            for (int j = 0; j < 3; ++j) {
                double sj = 0.0;
                const int rj = unknownOf(t[j], sj);
                if (rj != 0)
                    linalg::sparseAdd(
                        model.matrix, ri, rj, linalg::AddValue, si * sj * d * a[i] * g[j]);
            }
        }
    }
}

AssemblyResult assembleConductivity(SolverModel& model, int slotsPerRow)
{
    AssemblyResult result;
    bool conducts = false;
    for (const problem::Regiao& r : model.regions.inListOrder())
        conducts = conducts || r.condutividade > ConductivityFloor;
    if (!conducts) {
        model.conductive = 0;
        model.conductivityMatrix = SparseSymMatrix {};
        model.conductivityRhs = RealVector {};
        return result;
    }
    const int n = model.unknownCount();
    if (model.freeNodes < 0 || model.slaveCount < 0 || n > model.nodeCount()) {
        result.status = Status::failure(msg::MontagemIndiceZero);
        return result;
    }
    const double s = model.scaleFactor;
    SparseSymMatrix matrix = slottedMatrix(
        rowSlotsFor(n, slotsPerRow, [&](auto&& emit) { forEachElementCoupling(model, n, emit); }));
    RealVector rhs(static_cast<std::size_t>(n));
    const bool search = ensureRegionCache(model);

    const std::vector<MeshElement>& elements = model.elements.inStorageOrder();
    ElementData el;
    for (ElementIndex li = 0; li < elements.size(); ++li) {
        if (!prepareElement(model, li, elementAt(elements, li), search, el, result))
            return result;
        const double sigma = el.region->condutividade;
        if (!(std::fabs(sigma) > ConductivityFloor))
            continue;
        // 2 pi sigma times the consistent mass matrix: area/6 on the diagonal, area/12 off it.
        const double diagonal = geometry::Pi * (el.tri.d / (s * s)) * sigma / (-12.0) * 2.0;
        const double off = diagonal / 2.0;
        const int* t = el.t;
        for (int a = 0; a < 3; ++a) {
            if (t[a] > n)
                continue;
            matrix.addToPackedRow(t[a], t[a], diagonal);
            for (int b = 0; b < 3; ++b)
                if (b != a && t[b] > n)
                    rhs[static_cast<std::size_t>(t[a])]
                        -= off * model.nodes[static_cast<std::size_t>(t[b])].value;
        }
        static constexpr int Pairs[3][2] = { { 0, 1 }, { 0, 2 }, { 1, 2 } };
        for (const auto& p : Pairs) {
            matrix.addToPackedRow(t[p[0]], t[p[1]], off);
            matrix.addToPackedRow(t[p[1]], t[p[0]], off);
        }
    }
    if (model.symmetryKind != problem::SymmetryKind::None && !foldSymmetry(model, matrix, rhs)) {
        result.status = Status::failure(msg::MontagemIndiceZero);
        return result;
    }
    matrix.trimSlots();
    model.conductivityMatrix = std::move(matrix);
    model.conductivityRhs = std::move(rhs);
    model.conductive = 1;
    return result;
}

void prepareNonlinearCurves(SolverModel& model)
{
    for (problem::Regiao& region : model.regions.inListOrder()) {
        if (region.linear != 0)
            continue;
        materials::Curva& bh = region.curva1;
        bh.calculaSpline();
        const std::size_t count = bh.count();
        std::vector<double> xs;
        std::vector<double> ys;
        xs.reserve(count);
        ys.reserve(count);
        for (std::size_t i = 1; i <= count; ++i) {
            const double b = bh.x(i);
            const double h = bh.y(i);
            double nu = h / b;
            if (i == 1 && (std::fabs(b) < 1e-20 || std::fabs(h) < 1e-20))
                nu = count >= 2 ? bh.y(2) / bh.x(2) : 0.0;
            xs.push_back(b * b);
            ys.push_back(nu);
        }
        // A point at B = 0 past the first would put an infinity into the spline: such a point
        // takes the reluctivity of its nearest usable neighbour (before it, else after it).
        for (std::size_t i = 0; i < ys.size(); ++i) {
            if (std::isfinite(ys[i]))
                continue;
            std::size_t j = i;
            while (j > 0 && !std::isfinite(ys[j]))
                --j;
            if (!std::isfinite(ys[j])) {
                j = i;
                while (j + 1 < ys.size() && !std::isfinite(ys[j]))
                    ++j;
            }
            ys[i] = std::isfinite(ys[j]) ? ys[j] : 0.0;
        }
        region.curva2.definePontos(xs, ys);
        region.curva2.calculaSpline();
    }
}

double symmetrySign(const SolverModel& model)
{
    return model.symmetryKind == problem::SymmetryKind::AntiSymmetry ? -1.0 : 1.0;
}

} // namespace tarvex::solver
