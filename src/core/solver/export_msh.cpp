#include "solver/export_msh.h"

#include "common/messages.h"
#include "geometry/helpers.h"
#include "materials/mat_io.h"
#include "problem/problem_data.h"
#include "solver/assembly.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace tarvex::solver {

using geometry::Ponto;
using problem::SegmentoContorno;

namespace {

/// End points coincide within this distance; the same tolerance closes arcs.
constexpr double Coincidence = 1e-4;
/// Twice the triangle area under which node and segment count as collinear.
constexpr double CollinearBand = 2e-8;
/// Arcs: the distance to the centre may differ from the radius by this fraction of the radius,
/// and the polar angle may leave the sweep by this many radians.
constexpr double ArcRelativeTolerance = 1e-4;
/// Slave and master pair when their heights differ by less than this.
constexpr double PairingHeight = 1e-5;
/// A slave looks at no more than this many free masters of its height band.
constexpr int PairingCandidates = 32;
/// The mesher cuts a short arc into chords of up to this multiple of the arc angle setting.
constexpr double ShortArcChordFactor = 30.0 / 18.0;

// ---------------------------------------------------------------------------------------------
// Distinct vertex positions: triangles share vertices by exact coordinates.

/// A distinct vertex: its 0-based position in the export's point list.
using VertexId = std::uint32_t;

class NodeHash {
public:
    explicit NodeHash(std::size_t expected)
    {
        std::size_t capacity = 64;
        while (capacity < 2 * expected)
            capacity *= 2;
        m_slots.assign(capacity, -1);
    }

    /// Id of the position, adding it to `points` when new.
    VertexId findOrAdd(double x, double y, std::vector<Ponto>& points)
    {
        // -0.0 and 0.0 are the same coordinate.
        x += 0.0;
        y += 0.0;
        if (2 * (points.size() + 1) > m_slots.size())
            grow(points);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash(x, y) & mask;; i = (i + 1) & mask) {
            const std::int32_t id = m_slots[i];
            if (id < 0) {
                m_slots[i] = static_cast<std::int32_t>(points.size());
                points.push_back({ x, y });
                return static_cast<VertexId>(m_slots[i]);
            }
            const Ponto& p = points[static_cast<std::size_t>(id)];
            if (p.x == x && p.y == y)
                return static_cast<VertexId>(id);
        }
    }

private:
    static std::size_t hash(double x, double y)
    {
        std::uint64_t h = std::bit_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ULL
            ^ (std::bit_cast<std::uint64_t>(y) + 0x632BE59BD9B4E019ULL);
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9ULL;
        h ^= h >> 29;
        return static_cast<std::size_t>(h);
    }

    void grow(const std::vector<Ponto>& points)
    {
        m_slots.assign(m_slots.size() * 2, -1);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t id = 0; id < points.size(); ++id) {
            std::size_t i = hash(points[id].x, points[id].y) & mask;
            while (m_slots[i] >= 0)
                i = (i + 1) & mask;
            m_slots[i] = static_cast<std::int32_t>(id);
        }
    }

    std::vector<std::int32_t> m_slots;
};

// ---------------------------------------------------------------------------------------------
// Boundary conditions: which point potential, potential segment or symmetry line a node lies on.

enum class NodeClass : std::uint8_t { Interior, Master, Slave, Imposed };

/// A point potential, a potential segment or one line of a symmetry pair. Lower rank wins when
/// a node lies on several: points, then potential segments, then master lines, then slave lines,
/// each in list order.
struct Condition {
    NodeClass kind = NodeClass::Imposed;
    int rank = 0;
    int pair = 0; ///< symmetry pair of a master or slave line
    double potential = 0.0;
    bool point = false;
    SegmentoContorno s;
    // Arcs, counter-clockwise.
    double inicio = 0.0;
    double fim = 0.0;
    double raio = 0.0;
    /// How far inside its circle a point of the arc's mesh boundary may lie: the sagitta of the
    /// longest chord the mesher cuts the arc into (refinements add nodes on those chords).
    double sagitta = 0.0;

    bool contains(const Ponto& p) const
    {
        if (point)
            return geometry::coincide(p, s.p1());
        if (geometry::coincide(p, s.p1()) || geometry::coincide(p, s.p2()))
            return true;
        if (s.ehArco == 0) {
            const double twiceArea = (s.x2 - s.x1) * (p.y - s.y1) - (p.x - s.x1) * (s.y2 - s.y1);
            if (twiceArea < -CollinearBand || twiceArea > CollinearBand)
                return false;
            return (s.x1 - p.x) * (s.x2 - p.x) + (s.y1 - p.y) * (s.y2 - p.y) < 0.0;
        }
        // An arc holds the nodes on its circle within its sweep; its chord would miss all of
        // them but the end points.
        const double d = std::hypot(p.x - s.xc, p.y - s.yc);
        if (d - raio > ArcRelativeTolerance * raio
            || raio - d > sagitta + ArcRelativeTolerance * raio)
            return false;
        double angle = geometry::anguloPolar(p.x - s.xc, p.y - s.yc);
        if (angle < inicio - ArcRelativeTolerance)
            angle += 2.0 * geometry::Pi;
        return angle <= fim + ArcRelativeTolerance;
    }
};

Condition makeCondition(
    NodeClass kind, int rank, const SegmentoContorno& s, double maxChordAngle, double longestEdge)
{
    Condition c;
    c.kind = kind;
    c.rank = rank;
    c.s = s;
    c.potential = s.potencial;
    if (s.ehArco != 0) {
        const geometry::Arco ccw = s.sentido != 0 ? geometry::Arco { s.p1(), s.p2(), s.centro() }
                                                  : geometry::Arco { s.p2(), s.p1(), s.centro() };
        const geometry::ExtensaoArco e = geometry::extensaoArco(ccw);
        c.inicio = e.inicio;
        c.fim = e.fim;
        c.raio = e.raio;
        double angle = std::min(maxChordAngle, geometry::Pi);
        if (longestEdge > 0.0 && longestEdge < 2.0 * e.raio)
            angle = std::min(angle, 2.0 * std::asin(longestEdge / (2.0 * e.raio)));
        c.sagitta = e.raio * (1.0 - std::cos(angle / 2.0));
    }
    return c;
}

/**
 * The conditions filed on a uniform grid: a node tests only the conditions whose neighbourhood
 * covers its cell. Straight segments and arcs are filed row by row along their course (not by
 * bounding box), so a long diagonal or a large arc does not fill the whole grid.
 */
class ConditionGrid {
public:
    explicit ConditionGrid(std::vector<Condition> conditions)
        : m_conditions(std::move(conditions))
    {
        if (m_conditions.empty())
            return;
        double x0 = std::numeric_limits<double>::infinity();
        double y0 = x0;
        double x1 = -x0;
        double y1 = -x0;
        for (const Condition& c : m_conditions) {
            const Box b = boxOf(c);
            if (std::isnan(b.x0 + b.y0 + b.x1 + b.y1))
                return; // a reach that is not a number: as below
            x0 = std::min(x0, b.x0);
            y0 = std::min(y0, b.y0);
            x1 = std::max(x1, b.x1);
            y1 = std::max(y1, b.y1);
        }
        // Filing squares lengths up to the extent, which must not overflow (a hostile file can
        // hold an arc of radius 1e301).
        const double dx = x1 - x0;
        const double dy = y1 - y0;
        if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(dx * dx + dy * dy))
            return; // then every node is tested against every condition
        const double side = std::clamp(
            std::ceil(8.0 * std::sqrt(static_cast<double>(m_conditions.size()))), 4.0, 2048.0);
        const double extent = std::max(x1 - x0, y1 - y0);
        m_cell = extent > 0.0 ? extent / side : 1.0;
        m_x0 = x0;
        m_y0 = y0;
        m_nx = static_cast<int>(std::ceil((x1 - x0) / m_cell)) + 1;
        m_ny = static_cast<int>(std::ceil((y1 - y0) / m_cell)) + 1;

        std::vector<std::pair<std::uint32_t, std::int32_t>> filed;
        for (std::size_t i = 0; i < m_conditions.size(); ++i)
            file(m_conditions[i], [&](std::uint32_t cell) {
                filed.push_back({ cell, static_cast<std::int32_t>(i) });
            });
        const std::size_t cells = static_cast<std::size_t>(m_nx) * static_cast<std::size_t>(m_ny);
        m_start.assign(cells + 1, 0);
        for (const auto& f : filed)
            ++m_start[f.first + 1];
        for (std::size_t c = 0; c < cells; ++c)
            m_start[c + 1] += m_start[c];
        m_list.resize(filed.size());
        std::vector<std::uint32_t> fill(m_start.begin(), m_start.end() - 1);
        for (const auto& f : filed)
            m_list[fill[f.first]++] = f.second;
    }

    /// The winning condition the point lies on, or null.
    const Condition* find(const Ponto& p) const
    {
        const Condition* best = nullptr;
        const auto consider = [&](const Condition& c) {
            if ((best == nullptr || c.rank < best->rank) && c.contains(p))
                best = &c;
        };
        if (m_start.empty()) {
            for (const Condition& c : m_conditions)
                consider(c);
            return best;
        }
        const double fx = std::floor((p.x - m_x0) / m_cell);
        const double fy = std::floor((p.y - m_y0) / m_cell);
        if (!(fx >= 0.0 && fy >= 0.0 && fx < m_nx && fy < m_ny))
            return nullptr;
        const std::size_t cell = static_cast<std::size_t>(fy) * static_cast<std::size_t>(m_nx)
            + static_cast<std::size_t>(fx);
        for (std::uint32_t k = m_start[cell]; k < m_start[cell + 1]; ++k)
            consider(m_conditions[static_cast<std::size_t>(m_list[k])]);
        return best;
    }

private:
    struct Box {
        double x0, y0, x1, y1;
    };

    /// Reach of a condition beyond its geometry: what contains() can still accept.
    static double reach(const Condition& c)
    {
        double r = Coincidence;
        if (!c.point && c.s.ehArco == 0) {
            const double len = std::hypot(c.s.x2 - c.s.x1, c.s.y2 - c.s.y1);
            // Off the line, the band narrows with the length and never leaves the circle on the
            // segment as diameter.
            if (len > 0.0)
                r += std::min(CollinearBand / len, len / 2.0);
        } else if (c.s.ehArco != 0) {
            r += ArcRelativeTolerance * c.raio + c.sagitta;
        }
        // Rounding of large coordinates.
        const double scale = std::max({ std::fabs(c.s.x1), std::fabs(c.s.y1), std::fabs(c.s.x2),
            std::fabs(c.s.y2), std::fabs(c.s.xc), std::fabs(c.s.yc) });
        return r * 1.01 + scale * 1e-12;
    }

    static Box boxOf(const Condition& c)
    {
        const double r = reach(c);
        const SegmentoContorno& s = c.s;
        Box b { std::min(s.x1, s.x2), std::min(s.y1, s.y2), std::max(s.x1, s.x2),
            std::max(s.y1, s.y2) };
        if (!c.point && s.ehArco != 0) {
            b.x0 = std::min(b.x0, s.xc - c.raio);
            b.y0 = std::min(b.y0, s.yc - c.raio);
            b.x1 = std::max(b.x1, s.xc + c.raio);
            b.y1 = std::max(b.y1, s.yc + c.raio);
        }
        return { b.x0 - r, b.y0 - r, b.x1 + r, b.y1 + r };
    }

    int cellX(double x) const
    {
        const double f = std::floor((x - m_x0) / m_cell);
        return f < 0.0 ? 0 : (f >= m_nx ? m_nx - 1 : static_cast<int>(f));
    }
    int cellY(double y) const
    {
        const double f = std::floor((y - m_y0) / m_cell);
        return f < 0.0 ? 0 : (f >= m_ny ? m_ny - 1 : static_cast<int>(f));
    }

    template <typename Add> void fileSpan(int iy, double xa, double xb, Add& add) const
    {
        for (int ix = cellX(xa); ix <= cellX(xb); ++ix)
            add(static_cast<std::uint32_t>(iy * m_nx + ix));
    }

    template <typename Add> void file(const Condition& c, Add add) const
    {
        const double r = reach(c);
        const SegmentoContorno& s = c.s;
        // The end points' neighbourhoods, for every kind.
        for (const Ponto& e : { s.p1(), s.p2() })
            for (int iy = cellY(e.y - r); iy <= cellY(e.y + r); ++iy)
                fileSpan(iy, e.x - r, e.x + r, add);
        if (c.point)
            return;
        if (s.ehArco == 0) {
            const double dy = s.y2 - s.y1;
            for (int iy = cellY(std::min(s.y1, s.y2) - r); iy <= cellY(std::max(s.y1, s.y2) + r);
                 ++iy) {
                const double lo = m_y0 + iy * m_cell - r;
                const double hi = lo + m_cell + 2.0 * r;
                double t0 = 0.0;
                double t1 = 1.0;
                if (dy != 0.0) {
                    t0 = (lo - s.y1) / dy;
                    t1 = (hi - s.y1) / dy;
                    if (t0 > t1)
                        std::swap(t0, t1);
                    t0 = std::max(t0, 0.0);
                    t1 = std::min(t1, 1.0);
                    if (t0 > t1)
                        continue;
                }
                const double xa = s.x1 + t0 * (s.x2 - s.x1);
                const double xb = s.x1 + t1 * (s.x2 - s.x1);
                fileSpan(iy, std::min(xa, xb) - r, std::max(xa, xb) + r, add);
            }
            return;
        }
        // An arc: the annulus of its circle, row by row (its sweep is left to contains()).
        const double outer = c.raio + r;
        const double inner = std::max(0.0, c.raio - r);
        for (int iy = cellY(s.yc - outer); iy <= cellY(s.yc + outer); ++iy) {
            const double lo = m_y0 + iy * m_cell;
            const double hi = lo + m_cell;
            const double near = s.yc < lo ? lo - s.yc : (s.yc > hi ? s.yc - hi : 0.0);
            const double far = std::max(std::fabs(lo - s.yc), std::fabs(hi - s.yc));
            if (near > outer)
                continue;
            const double wOuter = std::sqrt(outer * outer - near * near);
            const double wInner = far < inner ? std::sqrt(inner * inner - far * far) : 0.0;
            if (wInner > 0.0) {
                fileSpan(iy, s.xc - wOuter, s.xc - wInner, add);
                fileSpan(iy, s.xc + wInner, s.xc + wOuter, add);
            } else {
                fileSpan(iy, s.xc - wOuter, s.xc + wOuter, add);
            }
        }
    }

    std::vector<Condition> m_conditions;
    double m_x0 = 0.0;
    double m_y0 = 0.0;
    double m_cell = 1.0;
    int m_nx = 0;
    int m_ny = 0;
    std::vector<std::uint32_t> m_start;
    std::vector<std::int32_t> m_list;
};

// ---------------------------------------------------------------------------------------------
// Reverse Cuthill-McKee over the interior nodes, so that couplings gather near the diagonal.

struct Adjacency {
    std::vector<std::int32_t> start; ///< count + 1
    std::vector<std::int32_t> list;

    std::int32_t degree(std::int32_t v) const
    {
        return start[static_cast<std::size_t>(v) + 1] - start[static_cast<std::size_t>(v)];
    }
};

/// Order of 0..n-1 (local indices) by reverse Cuthill-McKee, each connected part as a block.
std::vector<std::int32_t> reverseCuthillMcKee(const Adjacency& adj, std::int32_t n)
{
    std::vector<std::int32_t> order;
    order.reserve(static_cast<std::size_t>(n));
    std::vector<std::uint8_t> numbered(static_cast<std::size_t>(n), 0);
    std::vector<std::int32_t> level(static_cast<std::size_t>(n), -1);
    std::vector<std::int32_t> part;

    // Breadth-first levels from `root` within its unnumbered part; returns the last level.
    const auto levels = [&](std::int32_t root) {
        for (const std::int32_t v : part)
            level[static_cast<std::size_t>(v)] = -1;
        part.clear();
        part.push_back(root);
        level[static_cast<std::size_t>(root)] = 0;
        for (std::size_t head = 0; head < part.size(); ++head) {
            const std::int32_t v = part[head];
            for (std::int32_t k = adj.start[static_cast<std::size_t>(v)];
                 k < adj.start[static_cast<std::size_t>(v) + 1]; ++k) {
                const std::int32_t w = adj.list[static_cast<std::size_t>(k)];
                if (level[static_cast<std::size_t>(w)] < 0) {
                    level[static_cast<std::size_t>(w)] = level[static_cast<std::size_t>(v)] + 1;
                    part.push_back(w);
                }
            }
        }
        return level[static_cast<std::size_t>(part.back())];
    };

    std::vector<std::int32_t> neighbours;
    for (std::int32_t seed = 0; seed < n; ++seed) {
        if (numbered[static_cast<std::size_t>(seed)] != 0)
            continue;
        // A pseudo-peripheral start: the thinnest node of the deepest level, while that deepens.
        std::int32_t root = seed;
        std::int32_t depth = levels(root);
        for (int pass = 0; pass < 8; ++pass) {
            std::int32_t candidate = -1;
            for (const std::int32_t v : part)
                if (level[static_cast<std::size_t>(v)] == depth
                    && (candidate < 0 || adj.degree(v) < adj.degree(candidate)))
                    candidate = v;
            const std::int32_t candidateDepth = levels(candidate);
            if (candidateDepth <= depth)
                break;
            root = candidate;
            depth = candidateDepth;
        }
        const std::size_t first = order.size();
        order.push_back(root);
        numbered[static_cast<std::size_t>(root)] = 1;
        for (std::size_t head = first; head < order.size(); ++head) {
            const std::int32_t v = order[head];
            neighbours.clear();
            for (std::int32_t k = adj.start[static_cast<std::size_t>(v)];
                 k < adj.start[static_cast<std::size_t>(v) + 1]; ++k) {
                const std::int32_t w = adj.list[static_cast<std::size_t>(k)];
                if (numbered[static_cast<std::size_t>(w)] == 0) {
                    numbered[static_cast<std::size_t>(w)] = 1;
                    neighbours.push_back(w);
                }
            }
            std::sort(neighbours.begin(), neighbours.end(), [&](std::int32_t a, std::int32_t b) {
                const std::int32_t da = adj.degree(a);
                const std::int32_t db = adj.degree(b);
                return da != db ? da < db : a < b;
            });
            order.insert(order.end(), neighbours.begin(), neighbours.end());
        }
    }
    std::reverse(order.begin(), order.end());
    return order;
}

/// Edges of the triangles between interior nodes, as adjacency lists over local indices.
Adjacency interiorAdjacency(
    const std::vector<VertexId>& vertexIds, const std::vector<std::int32_t>& local, std::int32_t n)
{
    Adjacency adj;
    adj.start.assign(static_cast<std::size_t>(n) + 1, 0);
    const std::size_t triangles = vertexIds.size() / 3;
    const auto forEachEdge = [&](auto f) {
        for (std::size_t t = 0; t < triangles; ++t) {
            const std::int32_t a = local[vertexIds[3 * t]];
            const std::int32_t b = local[vertexIds[3 * t + 1]];
            const std::int32_t c = local[vertexIds[3 * t + 2]];
            for (const auto& [u, v] :
                { std::pair { a, b }, std::pair { b, c }, std::pair { c, a } })
                if (u >= 0 && v >= 0 && u != v) {
                    f(u, v);
                    f(v, u);
                }
        }
    };
    forEachEdge(
        [&](std::int32_t u, std::int32_t) { ++adj.start[static_cast<std::size_t>(u) + 1]; });
    for (std::int32_t i = 0; i < n; ++i)
        adj.start[static_cast<std::size_t>(i) + 1] += adj.start[static_cast<std::size_t>(i)];
    std::vector<std::int32_t> fill(adj.start.begin(), adj.start.end() - 1);
    adj.list.resize(static_cast<std::size_t>(adj.start.back()));
    forEachEdge([&](std::int32_t u, std::int32_t v) {
        adj.list[static_cast<std::size_t>(fill[static_cast<std::size_t>(u)]++)] = v;
    });
    // Each inner edge came from both of its triangles: keep one copy, ascending.
    std::int32_t kept = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const auto begin = adj.list.begin() + adj.start[static_cast<std::size_t>(i)];
        const auto end = adj.list.begin() + adj.start[static_cast<std::size_t>(i) + 1];
        std::sort(begin, end);
        const auto last = std::unique(begin, end);
        adj.start[static_cast<std::size_t>(i)] = kept;
        kept = static_cast<std::int32_t>(
            std::copy(begin, last, adj.list.begin() + kept) - adj.list.begin());
    }
    adj.start[static_cast<std::size_t>(n)] = kept;
    adj.list.resize(static_cast<std::size_t>(kept));
    return adj;
}

// ---------------------------------------------------------------------------------------------

ExportResult failure(std::string_view message)
{
    ExportResult r;
    r.status = Status::failure(message);
    return r;
}

ExportResult failureAt(std::string_view message, const Ponto& p)
{
    ExportResult r = failure(message);
    r.hasMark = true;
    r.markX = p.x;
    r.markY = p.y;
    return r;
}

/// The curves of the non-linear regions (the outer contour is skipped), read from their
/// materials files; a magnetic model keeps B first.
ExportResult readCurves(SolverModel& m)
{
    for (std::size_t i = 1; i < m.regions.size(); ++i) {
        problem::Regiao& r = m.regions.at(i);
        if (r.linear != 0)
            continue;
        std::vector<materials::PontoMaterial> pontos;
        if (!materials::openMat(r.arquivoMaterial, pontos).ok) {
            ExportResult result = failure(msg::MshArquivoMaterial);
            result.materialFile = r.arquivoMaterial;
            return result;
        }
        r.curva1 = materials::curvaMaterial(pontos);
        if (m.magnetic != 0)
            r.curva1.trocaEixos();
    }
    return {};
}

bool endsWithNoCase(const std::string& text, std::string_view tail)
{
    if (text.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char a = text[text.size() - tail.size() + i];
        const char lower = (a >= 'A' && a <= 'Z') ? static_cast<char>(a - 'A' + 'a') : a;
        if (lower != tail[i])
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// The export, from the problem to the solver model.

/// The problem's values the model stores as they are.
SolverModel modelOfProblem(const problem::ProblemData& data)
{
    SolverModel m;
    m.version = std::string(MshVersao01);
    m.magnetic = static_cast<std::uint8_t>(data.tipoAnalise);
    m.scaleFactor = data.fatorEscala;
    m.window = data.janela;
    m.regions = data.regioes;
    m.potentialSegments = data.segmentosPotencial;
    m.potentialPoints = data.potenciaisPonto;
    m.symmetryKind = data.tipoSimetria;
    m.calculationKind = CalculationKind::NotCalculated;
    m.storedError = 1e200;
    return m;
}

/// The triangles' distinct vertices, and three ids per triangle in storage order (the reverse of
/// list order).
struct MeshVertices {
    std::vector<Ponto> points;
    std::vector<VertexId> ofTriangles;
};

MeshVertices distinctVertices(const std::vector<problem::Triangulo>& triangles)
{
    MeshVertices vertices;
    vertices.points.reserve(triangles.size() / 2 + 16);
    vertices.ofTriangles.resize(3 * triangles.size());
    NodeHash hash(triangles.size() / 2 + 16);
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        const problem::Triangulo& tr = triangles[t];
        vertices.ofTriangles[3 * t] = hash.findOrAdd(tr.x1, tr.y1, vertices.points);
        vertices.ofTriangles[3 * t + 1] = hash.findOrAdd(tr.x2, tr.y2, vertices.points);
        vertices.ofTriangles[3 * t + 2] = hash.findOrAdd(tr.x3, tr.y3, vertices.points);
    }
    return vertices;
}

/// The conditions a node may lie on, ranked. Without a symmetry kind the symmetry lines impose
/// nothing.
std::vector<Condition> boundaryConditions(const problem::ProblemData& data)
{
    // The mesher cuts an arc into chords no longer than the mesh's edge and of at most
    // anguloArco (more for short arcs); the band inside an arc covers those chords only.
    const double longestEdge
        = std::max({ data.arestaMaxima, data.arestaMalha, data.arestaEspecial });
    const double maxChordAngle = data.anguloArco * ShortArcChordFactor * geometry::Pi / 180.0;
    std::vector<Condition> conditions;
    int rank = 0;
    for (const problem::PotencialPonto& p : data.potenciaisPonto.inListOrder()) {
        Condition c;
        c.kind = NodeClass::Imposed;
        c.rank = rank++;
        c.point = true;
        c.s.x1 = c.s.x2 = p.x;
        c.s.y1 = c.s.y2 = p.y;
        c.potential = p.potencial;
        conditions.push_back(c);
    }
    for (const SegmentoContorno& s : data.segmentosPotencial.inListOrder())
        conditions.push_back(
            makeCondition(NodeClass::Imposed, rank++, s, maxChordAngle, longestEdge));
    if (data.tipoSimetria != problem::SymmetryKind::None) {
        // The lines alternate master, slave; all masters rank before all slaves.
        std::vector<Condition> slaves;
        int pair = 0;
        int index = 0;
        for (const SegmentoContorno& s : data.segmentosSimetria.inListOrder()) {
            const bool master = index++ % 2 == 0;
            Condition c = makeCondition(
                master ? NodeClass::Master : NodeClass::Slave, 0, s, maxChordAngle, longestEdge);
            c.pair = pair;
            if (master) {
                c.rank = rank++;
                conditions.push_back(c);
            } else {
                slaves.push_back(c);
                ++pair;
            }
        }
        for (Condition& c : slaves) {
            c.rank = rank++;
            conditions.push_back(c);
        }
    }
    return conditions;
}

/// Each vertex's class, its imposed potential and symmetry pair, and the vertices of each class.
struct NodeClasses {
    std::vector<NodeClass> kind;
    std::vector<double> potential;
    std::vector<int> pairOf;
    std::vector<VertexId> interior;
    std::vector<VertexId> masters;
    std::vector<VertexId> slaves;
    std::vector<VertexId> imposed;

    NodeIndex interiorCount() const { return static_cast<NodeIndex>(interior.size()); }
    NodeIndex slaveCount() const { return static_cast<NodeIndex>(slaves.size()); }
    /// n_m: the unknowns once the slaves are folded into their masters.
    NodeIndex freeCount() const { return interiorCount() + slaveCount(); }
};

NodeClasses classifyNodes(const std::vector<Ponto>& points, std::vector<Condition> conditions)
{
    NodeClasses classes;
    classes.kind.assign(points.size(), NodeClass::Interior);
    classes.potential.assign(points.size(), 0.0);
    classes.pairOf.assign(points.size(), 0);
    const ConditionGrid grid(std::move(conditions));
    for (VertexId v = 0; v < points.size(); ++v) {
        const Condition* c = grid.find(points[v]);
        const NodeClass k = c == nullptr ? NodeClass::Interior : c->kind;
        classes.kind[v] = k;
        if (c != nullptr) {
            classes.potential[v] = c->potential;
            classes.pairOf[v] = c->pair;
        }
        switch (k) {
        case NodeClass::Interior:
            classes.interior.push_back(v);
            break;
        case NodeClass::Master:
            classes.masters.push_back(v);
            break;
        case NodeClass::Slave:
            classes.slaves.push_back(v);
            break;
        case NodeClass::Imposed:
            classes.imposed.push_back(v);
            break;
        }
    }
    return classes;
}

/**
 * Pairing by height: sorts the masters and the slaves by y; each slave takes an unpaired master
 * less than PairingHeight higher or lower, of its own symmetry pair when there is one.
 * `masterOfSlave[j]` is the position in the sorted masters of slave j's master. Fails, marking
 * the node, on a slave without a master or a master without a slave.
 */
ExportResult pairSlaves(
    const std::vector<Ponto>& points, NodeClasses& classes, std::vector<std::size_t>& masterOfSlave)
{
    std::vector<VertexId>& masters = classes.masters;
    std::vector<VertexId>& slaves = classes.slaves;
    const auto byHeight = [&](VertexId a, VertexId b) {
        const Ponto& p = points[a];
        const Ponto& q = points[b];
        return p.y != q.y ? p.y < q.y : (p.x != q.x ? p.x < q.x : a < b);
    };
    std::sort(masters.begin(), masters.end(), byHeight);
    std::sort(slaves.begin(), slaves.end(), byHeight);
    // nextFree[k]: the first unpaired master at or after k (path-halving skip list).
    std::vector<std::size_t> nextFree(masters.size() + 1);
    for (std::size_t k = 0; k <= masters.size(); ++k)
        nextFree[k] = k;
    const auto firstFree = [&](std::size_t k) {
        while (nextFree[k] != k) {
            nextFree[k] = nextFree[nextFree[k]];
            k = nextFree[k];
        }
        return k;
    };
    masterOfSlave.assign(slaves.size(), 0);
    for (std::size_t j = 0; j < slaves.size(); ++j) {
        const Ponto& sp = points[slaves[j]];
        const int slavePair = classes.pairOf[slaves[j]];
        const auto low = std::partition_point(masters.begin(), masters.end(),
            [&](VertexId m) { return points[m].y <= sp.y - PairingHeight; });
        std::optional<std::size_t> best;
        double bestDy = 0.0;
        bool bestSamePair = false;
        int looked = 0;
        for (std::size_t k = firstFree(static_cast<std::size_t>(low - masters.begin()));
             k < masters.size() && looked < PairingCandidates; k = firstFree(k + 1), ++looked) {
            const VertexId mid = masters[k];
            const double dy = std::fabs(points[mid].y - sp.y);
            if (points[mid].y >= sp.y + PairingHeight)
                break;
            const bool samePair = classes.pairOf[mid] == slavePair;
            if (!best || (samePair && !bestSamePair) || (samePair == bestSamePair && dy < bestDy)) {
                best = k;
                bestDy = dy;
                bestSamePair = samePair;
            }
        }
        if (!best)
            return failureAt(msg::MshErroListaDireita, sp);
        masterOfSlave[j] = *best;
        nextFree[*best] = *best + 1;
    }
    for (std::size_t k = 0; k < masters.size(); ++k)
        if (firstFree(k) == k) // a master no slave took
            return failureAt(msg::MshErroListaEsquerda, points[masters[k]]);
    return {};
}

/// Each vertex's node number: interior (reverse Cuthill-McKee), masters by height, slaves in
/// their masters' order, imposed nodes.
std::vector<NodeIndex> numberNodes(const MeshVertices& vertices, const NodeClasses& classes,
    const std::vector<std::size_t>& masterOfSlave)
{
    const NodeIndex nInterior = classes.interiorCount();
    const NodeIndex g = classes.slaveCount();
    const NodeIndex nFree = classes.freeCount();
    std::vector<NodeIndex> number(vertices.points.size(), 0);
    {
        std::vector<std::int32_t> local(vertices.points.size(), -1);
        for (std::size_t i = 0; i < classes.interior.size(); ++i)
            local[classes.interior[i]] = static_cast<std::int32_t>(i);
        const Adjacency adj = interiorAdjacency(vertices.ofTriangles, local, nInterior);
        const std::vector<std::int32_t> order = reverseCuthillMcKee(adj, nInterior);
        for (std::size_t k = 0; k < order.size(); ++k)
            number[classes.interior[static_cast<std::size_t>(order[k])]]
                = static_cast<NodeIndex>(k) + 1;
    }
    for (std::size_t k = 0; k < classes.masters.size(); ++k)
        number[classes.masters[k]] = nInterior + static_cast<NodeIndex>(k) + 1;
    for (std::size_t j = 0; j < classes.slaves.size(); ++j)
        number[classes.slaves[j]] = nFree + static_cast<NodeIndex>(masterOfSlave[j]) + 1;
    NodeIndex next = nFree + g;
    for (const VertexId v : classes.imposed)
        number[v] = ++next;
    return number;
}

/// The nodes at their numbers with their starting values (see SolverModel), and the slaves'
/// masters.
void storeNodes(SolverModel& m, const std::vector<Ponto>& points, const NodeClasses& classes,
    const std::vector<NodeIndex>& number)
{
    const NodeIndex g = classes.slaveCount();
    const NodeIndex nFree = classes.freeCount();
    m.nodes.assign(points.size() + 1, MeshNode {});
    m.slaveMasters.assign(static_cast<std::size_t>(g) + 1, 0);
    for (VertexId v = 0; v < points.size(); ++v) {
        const NodeIndex n = number[v];
        MeshNode& node = m.node(n);
        node.x = points[v].x;
        node.y = points[v].y;
        switch (classes.kind[v]) {
        case NodeClass::Interior:
            node.value = 0.0;
            break;
        case NodeClass::Master:
            node.value = n;
            break;
        case NodeClass::Slave: {
            const NodeIndex master = n - g; // slave n_m + k belongs to master n_int + k
            node.value = master;
            m.slaveMasters[static_cast<std::size_t>(n - nFree)] = master;
            break;
        }
        case NodeClass::Imposed:
            node.value = classes.potential[v];
            break;
        }
    }
    m.freeNodes = nFree;
    m.slaveCount = g;
}

/// The elements in the triangles' list order, each turned to D < 0.
void storeElements(
    SolverModel& m, const std::vector<VertexId>& ofTriangles, const std::vector<NodeIndex>& number)
{
    for (std::size_t t = 0; 3 * t < ofTriangles.size(); ++t) {
        MeshElement e { number[ofTriangles[3 * t]], number[ofTriangles[3 * t + 1]],
            number[ofTriangles[3 * t + 2]] };
        const MeshNode& a = m.node(e.t1);
        const MeshNode& b = m.node(e.t2);
        const MeshNode& c = m.node(e.t3);
        if ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y) > 0.0)
            std::swap(e.t2, e.t3);
        m.elements.pushFront(e);
    }
}

/// The linear system with the export's slots per row, and the conductivity block when a region
/// conducts.
ExportResult assembleSystems(SolverModel& m)
{
    const AssemblyResult assembled = assembleLinear(m, ExportSlotsPerRow);
    if (!assembled) {
        ExportResult r;
        r.status = assembled.status;
        r.elementOutsideRegions = assembled.elementOutsideRegions;
        r.hasMark = assembled.elementOutsideRegions >= 0;
        r.markX = assembled.markX;
        r.markY = assembled.markY;
        return r;
    }
    bool conducts = false;
    for (const problem::Regiao& r : m.regions.inListOrder())
        conducts = conducts || r.condutividade > ConductivityFloor;
    if (!conducts)
        return {};
    const AssemblyResult block = assembleConductivity(m);
    if (!block) {
        ExportResult r;
        r.status = block.status;
        return r;
    }
    m.conductive = 1;
    // The imaginary part of every potential starts at 0, the imposed ones included.
    if (m.imaginaryNodes.size() != m.nodes.size()) {
        m.imaginaryNodes = m.nodes;
        for (MeshNode& n : m.imaginaryNodes)
            n.value = 0.0;
    }
    return {};
}

} // namespace

ExportResult buildSolverModel(const problem::ProblemData& data, SolverModel& out)
{
    if (data.triangulos.empty())
        return failure(msg::MshSemMalha);
    // A kind outside the enumeration (a damaged or hand-made .dat) would be written into a model
    // the .msh reader then refuses: the user would lose the export only on reopening it.
    if (data.segmentosSimetria.size() % 2 != 0 || data.tipoSimetria < problem::SymmetryKind::None
        || data.tipoSimetria > problem::SymmetryKind::AntiSymmetry)
        return failure(msg::MshErroSimetria);

    SolverModel m = modelOfProblem(data);
    if (ExportResult r = readCurves(m); !r)
        return r;
    const MeshVertices vertices = distinctVertices(data.triangulos.inStorageOrder());
    NodeClasses classes = classifyNodes(vertices.points, boundaryConditions(data));
    std::vector<std::size_t> masterOfSlave;
    if (ExportResult r = pairSlaves(vertices.points, classes, masterOfSlave); !r)
        return r;
    const std::vector<NodeIndex> number = numberNodes(vertices, classes, masterOfSlave);
    storeNodes(m, vertices.points, classes, number);
    storeElements(m, vertices.ofTriangles, number);
    m.derivarRegioes();
    if (ExportResult r = assembleSystems(m); !r)
        return r;
    out = std::move(m);
    return {};
}

std::string nomeMshProposto(const std::string& datPath)
{
    if (endsWithNoCase(datPath, ".dat"))
        return datPath.substr(0, datPath.size() - 4) + ".msh";
    return datPath + ".msh";
}

std::string nomeMshEscolhido(const std::string& chosen)
{
    if (endsWithNoCase(chosen, "msh"))
        return chosen;
    if (endsWithNoCase(chosen, ".dat"))
        return chosen.substr(0, chosen.size() - 4) + ".msh";
    if (endsWithNoCase(chosen, "dat"))
        return chosen.substr(0, chosen.size() - 3) + ".msh";
    return {};
}

} // namespace tarvex::solver
