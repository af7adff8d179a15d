#include "problem/formar_regioes.h"

#include "common/binary_stream.h"
#include "common/file_io.h"
#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "geometry/helpers.h"
#include "problem/dat_io.h"
#include "problem/grade_espacial.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <utility>

namespace tarvex::problem {

using geometry::anguloPolar;
using geometry::coincide;
using geometry::distancia;
using geometry::Pi;

namespace {

using Id = GradeEspacial::Id;

/// A straight edge of the walk.
struct Aresta {
    Ponto P1;
    Ponto P2;
    std::int16_t uso = 0;
};

/// Pieces made by splitting crossings are bounded, so a pathological drawing ends with a message
/// instead of growing without end.
constexpr std::size_t MaxElementos = 2'000'000;

/// The distance within which coincide() holds, for grid queries.
constexpr double RaioCoincide = 1e-4;
/// Cell of the grids that find coinciding points.
constexpr double LadoCoincide = 1e-3;

bool mesmaOrientacao(const Aresta& a, const Ponto& p1, const Ponto& p2)
{
    return coincide(a.P1, p1) && coincide(a.P2, p2);
}

Ponto extremo(const SegmentoContorno& e, Id id)
{
    return id % 2 == 0 ? e.p1() : e.p2();
}

/// Both end points of every element, filed by id 2·index (P1) and 2·index + 1 (P2).
GradeEspacial gradeExtremos(const std::vector<SegmentoContorno>& work, double lado)
{
    GradeEspacial grade(lado);
    grade.reserva(2 * work.size());
    for (std::size_t i = 0; i < work.size(); ++i) {
        grade.inserePonto(static_cast<Id>(2 * i), work[i].p1());
        grade.inserePonto(static_cast<Id>(2 * i + 1), work[i].p2());
    }
    return grade;
}

/// The box an element may occupy: an arc's whole circle, which is never smaller than the arc.
void caixaElemento(const SegmentoContorno& e, double& x0, double& y0, double& x1, double& y1)
{
    if (e.ehArco) {
        const double r = distancia(e.centro(), e.p2());
        x0 = e.xc - r;
        x1 = e.xc + r;
        y0 = e.yc - r;
        y1 = e.yc + r;
        return;
    }
    x0 = std::min(e.x1, e.x2);
    x1 = std::max(e.x1, e.x2);
    y0 = std::min(e.y1, e.y2);
    y1 = std::max(e.y1, e.y2);
}

/// Widens the box (x0, y0)-(x1, y1) to take in every element's box.
void estendeCaixa(
    const std::vector<SegmentoContorno>& work, double& x0, double& y0, double& x1, double& y1)
{
    for (const SegmentoContorno& e : work) {
        double a, b, c, d;
        caixaElemento(e, a, b, c, d);
        x0 = std::min(x0, a);
        y0 = std::min(y0, b);
        x1 = std::max(x1, c);
        y1 = std::max(y1, d);
    }
}

/// A cell side that puts a few elements in each cell of the drawing's box.
double ladoPara(const std::vector<SegmentoContorno>& work)
{
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    estendeCaixa(work, x0, y0, x1, y1);
    const double area = std::max(x1 - x0, 1e-9) * std::max(y1 - y0, 1e-9);
    const double lado
        = std::sqrt(area / static_cast<double>(std::max<std::size_t>(work.size(), 1)));
    return std::isfinite(lado) && lado > 0.0 ? lado : 1.0;
}

/// Every element by the box it may occupy, widened a little for end points that move within the
/// coincidence distance.
struct GradeElementos {
    explicit GradeElementos(const std::vector<SegmentoContorno>& work)
        : grade(ladoPara(work))
    {
        grade.reserva(2 * work.size());
        for (std::size_t i = 0; i < work.size(); ++i)
            insere(work, i);
    }
    void insere(const std::vector<SegmentoContorno>& work, std::size_t i)
    {
        double x0, y0, x1, y1;
        caixaElemento(work[i], x0, y0, x1, y1);
        grade.insereCaixa(static_cast<Id>(i), x0 - Margem, y0 - Margem, x1 + Margem, y1 + Margem);
    }
    static constexpr double Margem = 1e-3;
    GradeEspacial grade;
};

/// The working list in list order, cleaned with the minimum point distance.
std::vector<SegmentoContorno> listaDeTrabalho(
    const geometry::DrawingData& drawing, ResultadoFormacao& out)
{
    // Each record inserted at the front: the last arc ends up first, the first segment last.
    std::vector<SegmentoContorno> work;
    work.reserve(drawing.segmentos.size() + drawing.arcos.size());
    const auto& arcs = drawing.arcos;
    for (std::size_t i = arcs.size(); i-- > 0;)
        work.push_back(SegmentoContorno::arco(arcs.at(i).P1, arcs.at(i).P2, arcs.at(i).PC));
    const auto& segments = drawing.segmentos;
    for (std::size_t i = segments.size(); i-- > 0;)
        work.push_back(SegmentoContorno::reta(segments.at(i).P1, segments.at(i).P2));

    const double d = drawing.distanciaMinima;
    std::vector<SegmentoContorno> kept;
    kept.reserve(work.size());
    for (const SegmentoContorno& e : work) {
        if (distancia(e.p1(), e.p2()) < d) {
            out.marcas.push_back({ e, 4, 1 });
            ++out.removidos;
        } else {
            kept.push_back(e);
        }
    }
    if (!(d > 0.0) || kept.empty())
        return kept;

    // Each end point of a later element moves to an end point of an earlier one closer than d.
    // For one earlier element the end points it moves are independent of each other, so only
    // those near its own end points need looking at.
    GradeEspacial grade = gradeExtremos(kept, d);
    std::vector<Id> near;
    std::vector<Id> ids;
    for (std::size_t a = 0; a < kept.size(); ++a) {
        const Ponto a1 = kept[a].p1();
        const Ponto a2 = kept[a].p2();
        grade.perto(a1, d, ids);
        near = ids;
        grade.perto(a2, d, ids);
        near.insert(near.end(), ids.begin(), ids.end());
        std::sort(near.begin(), near.end());
        near.erase(std::unique(near.begin(), near.end()), near.end());
        for (const Id id : near) {
            if (id / 2 <= a)
                continue;
            SegmentoContorno& b = kept[id / 2];
            const Ponto e = extremo(b, id);
            Ponto snapped = e;
            if (distancia(e, a1) < d && !coincide(e, a1))
                snapped = a1;
            else if (distancia(e, a2) < d && !coincide(e, a2))
                snapped = a2;
            if (snapped == e)
                continue;
            grade.removePonto(id, e);
            grade.inserePonto(id, snapped);
            if (id % 2 == 0)
                b.defineP1(snapped);
            else
                b.defineP2(snapped);
        }
    }
    return kept;
}

/// Every later element equal to an earlier one goes. Equal elements share the first end
/// point of the earlier one, so only elements with an end point there are compared.
void removeDuplicados(std::vector<SegmentoContorno>& work)
{
    const GradeEspacial grade = gradeExtremos(work, LadoCoincide);
    std::vector<bool> removed(work.size(), false);
    std::vector<Id> ids;
    for (std::size_t i = 0; i < work.size(); ++i) {
        if (removed[i])
            continue;
        grade.perto(work[i].p1(), RaioCoincide, ids);
        for (const Id id : ids) {
            const std::size_t j = id / 2;
            if (j > i && !removed[j] && iguais(work[i], work[j]))
                removed[j] = true;
        }
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < work.size(); ++i)
        if (!removed[i])
            work[out++] = work[i];
    work.resize(out);
}

geometry::Segmento comoSegmento(const SegmentoContorno& e)
{
    return { e.p1(), e.p2() };
}

/// Straight crossings, each element against the later ones in list order. The pieces
/// appended while one element is scanned share an end point with it, so they cannot cross it:
/// the candidates found at the start of its scan are all it needs.
Status divideCruzamentos(std::vector<SegmentoContorno>& work)
{
    GradeElementos elementos(work);
    GradeEspacial extremos = gradeExtremos(work, LadoCoincide);

    // The first element equal to `e` (the one the list would find), by its end point.
    std::vector<Id> ids;
    const auto primeiroIgual = [&](const SegmentoContorno& e) {
        extremos.perto(e.p1(), RaioCoincide, ids);
        std::size_t first = work.size();
        for (const Id id : ids)
            if (id / 2 < first && iguais(work[id / 2], e))
                first = id / 2;
        return first;
    };
    const auto encurta = [&](std::size_t k, const Ponto& x) {
        extremos.removePonto(static_cast<Id>(2 * k + 1), work[k].p2());
        work[k].defineP2(x);
        extremos.inserePonto(static_cast<Id>(2 * k + 1), x);
    };
    const auto acrescenta = [&](const SegmentoContorno& e) {
        work.push_back(e);
        const std::size_t k = work.size() - 1;
        elementos.insere(work, k);
        extremos.inserePonto(static_cast<Id>(2 * k), e.p1());
        extremos.inserePonto(static_cast<Id>(2 * k + 1), e.p2());
    };

    std::vector<Id> candidates;
    for (std::size_t i = 0; i < work.size(); ++i) {
        if (work[i].ehArco)
            continue;
        SegmentoContorno s = work[i];
        double x0, y0, x1, y1;
        caixaElemento(s, x0, y0, x1, y1);
        elementos.grade.consulta(x0, y0, x1, y1, candidates);
        for (const Id id : candidates) {
            const std::size_t j = id;
            if (j <= i)
                continue;
            const SegmentoContorno t = work[j];
            if (t.ehArco || !geometry::cruzamento(comoSegmento(s), comoSegmento(t)))
                continue;
            if (work.size() + 2 > MaxElementos)
                return Status::failure(msg::DesenhoComplexoDemais);
            const Ponto x = geometry::intersecaoRetas(comoSegmento(s), comoSegmento(t));
            acrescenta(SegmentoContorno::reta(x, t.p2()));
            if (const std::size_t k = primeiroIgual(t); k < work.size())
                encurta(k, x);
            acrescenta(SegmentoContorno::reta(x, s.p2()));
            if (const std::size_t k = primeiroIgual(s); k < work.size())
                encurta(k, x);
            s.defineP2(x);
        }
    }
    return Status::success();
}

/// Angles of an arc element about its centre.
geometry::ExtensaoArco extensao(const SegmentoContorno& e)
{
    return geometry::extensaoArco({ e.p1(), e.p2(), e.centro() });
}

/// P lies on the element strictly between its end points (P is taken to be on its line or
/// circle already).
bool interior(const SegmentoContorno& e, const Ponto& p)
{
    if (coincide(p, e.p1()) || coincide(p, e.p2()))
        return false;
    if (!e.ehArco) {
        const double ux = e.x2 - e.x1, uy = e.y2 - e.y1;
        const double len2 = ux * ux + uy * uy;
        if (!(len2 > 0.0))
            return false;
        const double t = ((p.x - e.x1) * ux + (p.y - e.y1) * uy) / len2;
        return t > 0.0 && t < 1.0;
    }
    const geometry::ExtensaoArco a = extensao(e);
    double angle = anguloPolar(p.x - e.xc, p.y - e.yc);
    if (angle < a.inicio)
        angle += 2.0 * Pi;
    return angle > a.inicio && angle < a.fim;
}

/// Where a cut lies along an element: the parameter of a segment, the angle past the start of
/// an arc.
double posicao(const SegmentoContorno& e, const Ponto& p)
{
    if (!e.ehArco) {
        const double ux = e.x2 - e.x1, uy = e.y2 - e.y1;
        const double len2 = ux * ux + uy * uy;
        return len2 > 0.0 ? ((p.x - e.x1) * ux + (p.y - e.y1) * uy) / len2 : 0.0;
    }
    const double inicio = extensao(e).inicio;
    double angle = anguloPolar(p.x - e.xc, p.y - e.yc);
    if (angle < inicio)
        angle += 2.0 * Pi;
    return angle - inicio;
}

/// Two crossings closer than this are one point where the curves touch.
constexpr double MeiaSeparacaoTangente = RaioCoincide / 2.0;

struct Intersecoes {
    int n = 0;
    Ponto p[2];
    bool tangente = false;
};

/// One point where a line or circle touches a circle: a crossing no region can be formed at.
Intersecoes tangencia(const Ponto& p)
{
    Intersecoes out;
    out.n = 1;
    out.p[0] = p;
    out.tangente = true;
    return out;
}

/// Where a straight element's line meets an arc's circle.
Intersecoes retaCirculo(const SegmentoContorno& s, const SegmentoContorno& arc)
{
    Intersecoes out;
    const double r = distancia(arc.centro(), arc.p2());
    const double ux = s.x2 - s.x1, uy = s.y2 - s.y1;
    const double len = std::hypot(ux, uy);
    if (!(len > 0.0))
        return out;
    const double t0 = ((arc.xc - s.x1) * ux + (arc.yc - s.y1) * uy) / (len * len);
    const Ponto foot { s.x1 + t0 * ux, s.y1 + t0 * uy };
    const double dist = distancia(foot, arc.centro());
    if (dist > r + RaioCoincide)
        return out;
    const double h = std::sqrt(std::max(0.0, r * r - dist * dist));
    if (h <= MeiaSeparacaoTangente)
        return tangencia(foot);
    out.n = 2;
    out.p[0] = { foot.x - h * ux / len, foot.y - h * uy / len };
    out.p[1] = { foot.x + h * ux / len, foot.y + h * uy / len };
    return out;
}

/// Where the circles of two arcs meet; none for circles about the same centre.
Intersecoes circuloCirculo(const SegmentoContorno& a, const SegmentoContorno& b)
{
    Intersecoes out;
    const double r1 = distancia(a.centro(), a.p2());
    const double r2 = distancia(b.centro(), b.p2());
    const double dx = b.xc - a.xc, dy = b.yc - a.yc;
    const double dist = std::hypot(dx, dy);
    if (dist < RaioCoincide || dist > r1 + r2 + RaioCoincide
        || dist < std::abs(r1 - r2) - RaioCoincide)
        return out;
    const double along = (r1 * r1 - r2 * r2 + dist * dist) / (2.0 * dist);
    const double h = std::sqrt(std::max(0.0, r1 * r1 - along * along));
    const Ponto base { a.xc + along * dx / dist, a.yc + along * dy / dist };
    if (h <= MeiaSeparacaoTangente)
        return tangencia(base);
    out.n = 2;
    out.p[0] = { base.x - h * dy / dist, base.y + h * dx / dist };
    out.p[1] = { base.x + h * dy / dist, base.y - h * dx / dist };
    return out;
}

/// The pieces of an element cut at the given points (taken in order along it); arcs keep their
/// centre. The first piece replaces the element; the others are appended to the list.
void cortaElemento(std::vector<SegmentoContorno>& work, std::size_t i, std::vector<Ponto>& cortes)
{
    const SegmentoContorno e = work[i];
    std::sort(cortes.begin(), cortes.end(),
        [&](const Ponto& p, const Ponto& q) { return posicao(e, p) < posicao(e, q); });
    Ponto from = e.p1();
    bool first = true;
    const auto piece = [&](const Ponto& a, const Ponto& b) {
        SegmentoContorno p = e;
        p.defineP1(a);
        p.defineP2(b);
        if (first)
            work[i] = p;
        else
            work.push_back(p);
        first = false;
    };
    for (const Ponto& c : cortes) {
        if (coincide(c, from))
            continue;
        piece(from, c);
        from = c;
    }
    piece(from, e.p2());
}

/// A piece between two cuts (or a cut and an end) shorter than d cannot be kept: its first
/// point is the place to show.
bool pecaCurta(const SegmentoContorno& e, std::vector<Ponto>& cortes, double d, Ponto& onde)
{
    std::sort(cortes.begin(), cortes.end(),
        [&](const Ponto& p, const Ponto& q) { return posicao(e, p) < posicao(e, q); });
    Ponto from = e.p1();
    for (const Ponto& c : cortes) {
        // The same place found twice (two elements ending there) is one cut.
        if (coincide(from, c))
            continue;
        if (distancia(from, c) < d) {
            onde = c;
            return true;
        }
        from = c;
    }
    if (!cortes.empty() && distancia(cortes.back(), e.p2()) < d) {
        onde = cortes.back();
        return true;
    }
    return false;
}

/// Cuts the first cortes.size() elements at their cuts, all or none: a piece shorter than d
/// (shown where it starts) or too many elements refuse the whole.
Status aplicaCortes(std::vector<SegmentoContorno>& work, std::vector<std::vector<Ponto>>& cortes,
    double d, ResultadoFormacao& out, bool& dividiu)
{
    const std::size_t n = cortes.size();
    std::size_t pieces = n;
    for (std::size_t i = 0; i < n; ++i) {
        if (cortes[i].empty())
            continue;
        Ponto onde;
        if (pecaCurta(work[i], cortes[i], d, onde)) {
            out.temPontoProblema = true;
            out.pontoProblema = onde;
            return Status::failure(msg::CruzamentoNaoResolvido);
        }
        pieces += cortes[i].size();
    }
    if (pieces > MaxElementos)
        return Status::failure(msg::DesenhoComplexoDemais);
    for (std::size_t i = 0; i < n; ++i) {
        if (!cortes[i].empty()) {
            cortaElemento(work, i, cortes[i]);
            dividiu = true;
        }
    }
    return Status::success();
}

/// Splits arcs where they cross segments and other arcs, each piece keeping its centre. A
/// tangency, or a crossing that leaves a piece shorter than d, cannot make sound regions: the
/// export stops there and says where.
Status divideArcos(
    std::vector<SegmentoContorno>& work, double d, ResultadoFormacao& out, bool& dividiu)
{
    GradeElementos elementos(work);
    std::vector<std::vector<Ponto>> cortes(work.size());
    std::vector<Id> candidates;
    const std::size_t n = work.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!work[i].ehArco)
            continue;
        double x0, y0, x1, y1;
        caixaElemento(work[i], x0, y0, x1, y1);
        elementos.grade.consulta(x0, y0, x1, y1, candidates);
        for (const Id j : candidates) {
            if (j == i || (work[j].ehArco && j < i))
                continue;
            const Intersecoes found
                = work[j].ehArco ? circuloCirculo(work[i], work[j]) : retaCirculo(work[j], work[i]);
            for (int k = 0; k < found.n; ++k) {
                const Ponto& x = found.p[k];
                if (!interior(work[i], x) || !interior(work[j], x))
                    continue;
                if (found.tangente) {
                    out.temPontoProblema = true;
                    out.pontoProblema = x;
                    return Status::failure(msg::CruzamentoNaoResolvido);
                }
                cortes[i].push_back(x);
                cortes[j].push_back(x);
            }
        }
    }
    return aplicaCortes(work, cortes, d, out, dividiu);
}

/// The point of an element nearest to P, and whether it lies inside the element.
bool projecao(const SegmentoContorno& e, const Ponto& p, Ponto& q)
{
    if (!e.ehArco) {
        const double ux = e.x2 - e.x1, uy = e.y2 - e.y1;
        const double len2 = ux * ux + uy * uy;
        if (!(len2 > 0.0))
            return false;
        const double t = ((p.x - e.x1) * ux + (p.y - e.y1) * uy) / len2;
        q = { e.x1 + t * ux, e.y1 + t * uy };
        return t > 0.0 && t < 1.0;
    }
    const double r = distancia(e.centro(), e.p2());
    const double dist = distancia(e.centro(), p);
    if (!(dist > 0.0))
        return false;
    q = { e.xc + r * (p.x - e.xc) / dist, e.yc + r * (p.y - e.yc) / dist };
    return interior(e, q);
}

/// T-junctions: an element is split where another element's end point lies on its interior
/// (within d, away from its own ends); the end points there move onto the element so the pieces
/// meet them exactly.
Status divideJuncoes(
    std::vector<SegmentoContorno>& work, double d, ResultadoFormacao& out, bool& dividiu)
{
    if (!(d > 0.0))
        return Status::success();
    GradeElementos elementos(work);
    GradeEspacial extremos = gradeExtremos(work, LadoCoincide);
    const std::size_t n = work.size();
    std::vector<std::vector<Ponto>> cortes(n);
    std::vector<Id> candidates;
    std::vector<Id> same;
    for (std::size_t b = 0; b < n; ++b) {
        for (int end = 0; end < 2; ++end) {
            const Ponto e = end == 0 ? work[b].p1() : work[b].p2();
            elementos.grade.perto(e, d, candidates);
            for (const Id a : candidates) {
                if (a == b)
                    continue;
                const SegmentoContorno& el = work[a];
                Ponto q;
                if (distancia(e, el.p1()) < d || distancia(e, el.p2()) < d || !projecao(el, e, q)
                    || !(distancia(e, q) < d))
                    continue;
                cortes[a].push_back(q);
                // Every end point at e moves onto the element, so the pieces meet them exactly.
                extremos.perto(e, RaioCoincide, same);
                for (const Id id : same) {
                    SegmentoContorno& other = work[id / 2];
                    if (!coincide(extremo(other, id), e))
                        continue;
                    extremos.removePonto(id, extremo(other, id));
                    if (id % 2 == 0)
                        other.defineP1(q);
                    else
                        other.defineP2(q);
                    extremos.inserePonto(id, q);
                }
                break; // one element takes the junction
            }
        }
    }
    return aplicaCortes(work, cortes, d, out, dividiu);
}

/// Dangling elements go in one pass: an element left dangling only by a later deletion stays.
void removePendentes(std::vector<SegmentoContorno>& work, ResultadoFormacao& out)
{
    const GradeEspacial grade = gradeExtremos(work, LadoCoincide);
    std::vector<bool> removed(work.size(), false);
    std::vector<Id> ids;
    const auto ligado = [&](std::size_t i, const Ponto& p) {
        grade.perto(p, RaioCoincide, ids);
        for (const Id id : ids) {
            const std::size_t j = id / 2;
            if (j != i && !removed[j] && coincide(p, extremo(work[j], id)))
                return true;
        }
        return false;
    };
    for (std::size_t i = 0; i < work.size(); ++i)
        removed[i] = !(ligado(i, work[i].p1()) && ligado(i, work[i].p2()));
    std::size_t kept = 0;
    for (std::size_t i = 0; i < work.size(); ++i) {
        if (removed[i]) {
            out.marcas.push_back({ work[i], 4, 1 });
            ++out.removidos;
        } else {
            work[kept++] = work[i];
        }
    }
    work.resize(kept);
}

/// Four chords of an arc, in its walking order.
struct Cordas {
    Aresta c[4];
    Ponto centroOriginal;
};

Cordas cordasDoArco(const SegmentoContorno& arc)
{
    const geometry::ExtensaoArco e = extensao(arc);
    const double sweep = e.fim - e.inicio;
    const double degree = 2.0 * Pi / 360.0;
    double angles[3];
    if (4.0 * degree >= sweep) {
        for (int k = 0; k < 3; ++k)
            angles[k] = e.inicio + (k + 1) * sweep / 4.0;
    } else {
        angles[0] = e.inicio + degree;
        angles[1] = e.inicio + degree + (sweep - 2.0 * degree) / 2.0;
        angles[2] = e.inicio + degree + (sweep - 2.0 * degree);
    }
    Ponto points[5];
    points[0] = arc.p1();
    for (int k = 0; k < 3; ++k)
        points[k + 1]
            = { arc.xc + e.raio * std::cos(angles[k]), arc.yc + e.raio * std::sin(angles[k]) };
    points[4] = arc.p2();
    Cordas cordas;
    for (int k = 0; k < 4; ++k)
        cordas.c[k] = { points[k], points[k + 1], 0 };
    cordas.centroOriginal = arc.centro();
    return cordas;
}

/// Angle from the way back along `current` counterclockwise to the candidate leaving `from`.
double anguloVirada(const Aresta& current, const Ponto& from, const Ponto& to)
{
    const double b = anguloPolar(current.P1.x - current.P2.x, current.P1.y - current.P2.y);
    const double c = anguloPolar(to.x - from.x, to.y - from.y);
    double angle = c - b;
    if (angle < 0.0)
        angle += 2.0 * Pi;
    return angle;
}

constexpr std::size_t Nenhuma = static_cast<std::size_t>(-1);

/// The edges of the walk in list order, found again by their end points. An edge turned round
/// as it is walked keeps the same two end points, so the index never goes stale. Deleted edges
/// (used twice by the time a region starts) are no candidates.
class Arestas {
public:
    explicit Arestas(std::vector<Aresta> edges)
        : m_edges(std::move(edges))
        , m_apagada(m_edges.size(), false)
        , m_grade(LadoCoincide)
    {
        m_grade.reserva(2 * m_edges.size());
        for (std::size_t k = 0; k < m_edges.size(); ++k) {
            m_grade.inserePonto(static_cast<Id>(k), m_edges[k].P1);
            m_grade.inserePonto(static_cast<Id>(k), m_edges[k].P2);
        }
        m_vivas = m_edges.size();
    }

    Aresta& operator[](std::size_t k) { return m_edges[k]; }
    const std::vector<Aresta>& todas() const { return m_edges; }
    std::size_t vivas() const { return m_vivas; }

    void usa(std::size_t k)
    {
        if (++m_edges[k].uso == 2)
            m_gastas.push_back(k);
    }

    /// Deletes every edge used twice; then the first edge left in list order, or Nenhuma.
    std::size_t primeiraViva()
    {
        for (const std::size_t k : m_gastas) {
            if (!m_apagada[k] && m_edges[k].uso >= 2) {
                m_apagada[k] = true;
                --m_vivas;
            }
        }
        m_gastas.clear();
        while (m_primeira < m_edges.size() && m_apagada[m_primeira])
            ++m_primeira;
        return m_primeira < m_edges.size() ? m_primeira : Nenhuma;
    }

    /// The edge with the sharpest right turn at the current end point, or Nenhuma. `reversed`
    /// tells whether it is reached at its second end point.
    std::size_t proxima(const Aresta& current, bool onlyUnused, bool& reversed)
    {
        double best = 8.0 * Pi;
        std::size_t chosen = Nenhuma;
        const Ponto& end = current.P2;
        m_grade.perto(end, RaioCoincide, m_ids);
        for (const Id id : m_ids) {
            const std::size_t k = id;
            const Aresta& c = m_edges[k];
            if (m_apagada[k] || (onlyUnused && c.uso != 0))
                continue;
            if (mesmaOrientacao(c, current.P1, current.P2))
                continue;
            bool atSecond = false;
            if (coincide(c.P1, end))
                atSecond = false;
            else if (coincide(c.P2, end))
                atSecond = true;
            else
                continue;
            const double angle
                = atSecond ? anguloVirada(current, c.P2, c.P1) : anguloVirada(current, c.P1, c.P2);
            if (angle < best) {
                best = angle;
                chosen = k;
                reversed = atSecond;
            }
        }
        if (best > 20.0)
            return Nenhuma;
        return chosen;
    }

private:
    std::vector<Aresta> m_edges;
    std::vector<bool> m_apagada;
    std::vector<std::size_t> m_gastas;
    GradeEspacial m_grade;
    std::vector<Id> m_ids;
    std::size_t m_vivas = 0;
    std::size_t m_primeira = 0;
};

/// Which edge each contour element of each region was walked from, in walking order, so the
/// chords of an arc are found again without comparing contours.
struct Percursos {
    std::vector<std::vector<std::size_t>> arestas; ///< by region, in order of creation

    void novaRegiao() { arestas.emplace_back(); }
    void adiciona(Regiao& region, const Aresta& edge, std::size_t k)
    {
        region.segmentos.pushFront(SegmentoContorno::reta(edge.P1, edge.P2));
        arestas.back().push_back(k);
    }
};

/// Walks from the current edge until `stop` is reached; false when no way on exists or the walk
/// does not close. With a start edge, reaching `stop` closes the walk only when the way on is
/// that edge again: an outline that passes its start point twice (both sides of a cut line)
/// would otherwise close half-way round.
bool caminha(Arestas& edges, Aresta current, const Ponto& stop, bool onlyUnused, Regiao& region,
    Percursos& percursos, Aresta& lastEdge, std::size_t startEdge = Nenhuma)
{
    // Edges are turned in place as they are walked, so the start edge's way out of `stop` is
    // remembered by its far end.
    const Ponto startFar = current.P2;
    const auto closes = [&](const Aresta& reached) {
        if (!coincide(reached.P2, stop))
            return false;
        if (startEdge == Nenhuma)
            return true;
        bool reversed = false;
        const std::size_t next = edges.proxima(reached, onlyUnused, reversed);
        if (next != startEdge)
            return next == Nenhuma;
        return coincide(reversed ? edges[next].P1 : edges[next].P2, startFar);
    };
    // A closed walk uses each edge at most twice; anything longer is going round in circles.
    const std::size_t maxSteps = 2 * edges.vivas() + 2;
    std::size_t step = 0;
    do {
        lastEdge = current;
        bool reversed = false;
        const std::size_t k
            = step < maxSteps ? edges.proxima(current, onlyUnused, reversed) : Nenhuma;
        if (k == Nenhuma)
            return false;
        Aresta& chosen = edges[k];
        if (reversed)
            std::swap(chosen.P1, chosen.P2);
        edges.usa(k);
        percursos.adiciona(region, chosen, k);
        current = chosen;
        ++step;
    } while (!closes(current));
    return true;
}

/// In every region a group of four chords bounds, its chords give way to the arc. The
/// regions are visited in list order, and in each the last-walked element of a chord goes first,
/// as a search of the contour in list order would find it.
void restauraArcos(const std::vector<Cordas>& arcs, const std::vector<std::size_t>& chordEdge,
    const Percursos& percursos, std::deque<Regiao>& regions)
{
    const std::size_t regionCount = percursos.arestas.size();
    // Where each chord edge was walked: (region, position in walking order).
    std::vector<std::vector<std::pair<std::size_t, std::size_t>>> walked(4 * arcs.size());
    std::vector<std::size_t> chordOf(
        chordEdge.size() > 0 ? *std::max_element(chordEdge.begin(), chordEdge.end()) + 1 : 0,
        Nenhuma);
    for (std::size_t c = 0; c < chordEdge.size(); ++c)
        chordOf[chordEdge[c]] = c;
    for (std::size_t r = 0; r < regionCount; ++r) {
        const auto& path = percursos.arestas[r];
        for (std::size_t p = 0; p < path.size(); ++p)
            if (path[p] < chordOf.size() && chordOf[path[p]] != Nenhuma)
                walked[chordOf[path[p]]].push_back({ r, p });
    }

    std::vector<std::vector<bool>> removed(regionCount);
    for (std::size_t r = 0; r < regionCount; ++r)
        removed[r].assign(percursos.arestas[r].size(), false);
    std::vector<std::vector<SegmentoContorno>> arcsPushed(regionCount);
    std::vector<std::size_t> involved;
    for (std::size_t g = 0; g < arcs.size(); ++g) {
        const Cordas& group = arcs[g];
        involved.clear();
        for (int k = 0; k < 4; ++k)
            for (const auto& [r, p] : walked[4 * g + static_cast<std::size_t>(k)])
                involved.push_back(r);
        // List order of the regions: the last made comes first.
        std::sort(involved.begin(), involved.end(), std::greater<>());
        involved.erase(std::unique(involved.begin(), involved.end()), involved.end());
        for (const std::size_t r : involved) {
            bool removedAny = false;
            for (int k = 0; k < 4; ++k) {
                std::size_t best = Nenhuma;
                for (const auto& [rr, p] : walked[4 * g + static_cast<std::size_t>(k)])
                    if (rr == r && !removed[r][p] && (best == Nenhuma || p > best))
                        best = p;
                if (best != Nenhuma) {
                    removed[r][best] = true;
                    removedAny = true;
                }
            }
            if (!removedAny)
                continue;
            Ponto centre = geometry::circuncentro(group.c[1].P1, group.c[2].P1, group.c[3].P1);
            // Chord points in a line have no circle through them: keep the drawn centre.
            if (!std::isfinite(centre.x) || !std::isfinite(centre.y)
                || geometry::orientacao(group.c[1].P1, group.c[2].P1, group.c[3].P1) == 0)
                centre = group.centroOriginal;
            arcsPushed[r].push_back(SegmentoContorno::arco(group.c[0].P1, group.c[3].P2, centre));
        }
    }

    for (std::size_t r = 0; r < regionCount; ++r) {
        if (arcsPushed[r].empty())
            continue;
        Regiao& region = regions[r];
        const std::vector<SegmentoContorno> walkedOrder = region.segmentos.inStorageOrder();
        region.segmentos.clear();
        for (std::size_t p = 0; p < walkedOrder.size(); ++p)
            if (!removed[r][p])
                region.segmentos.pushFront(walkedOrder[p]);
        for (const SegmentoContorno& arc : arcsPushed[r])
            region.segmentos.pushFront(arc);
    }
}

/// A small cross over the point a crossing could not be resolved at, sized by the drawing.
void marcaPonto(const std::vector<SegmentoContorno>& work, ResultadoFormacao& out)
{
    double x0 = out.pontoProblema.x, y0 = out.pontoProblema.y, x1 = x0, y1 = y0;
    estendeCaixa(work, x0, y0, x1, y1);
    const double s = std::max(0.02 * std::max(x1 - x0, y1 - y0), 1e-3);
    const Ponto& p = out.pontoProblema;
    out.marcas.push_back(
        { SegmentoContorno::reta({ p.x - s, p.y - s }, { p.x + s, p.y + s }), 4, 2 });
    out.marcas.push_back(
        { SegmentoContorno::reta({ p.x - s, p.y + s }, { p.x + s, p.y - s }), 4, 2 });
}

} // namespace

Status formarRegioes(const geometry::DrawingData& drawing, ResultadoFormacao& out)
{
    out = ResultadoFormacao();
    const double d = drawing.distanciaMinima;
    std::vector<SegmentoContorno> work = listaDeTrabalho(drawing, out);
    removeDuplicados(work);
    if (Status s = divideCruzamentos(work); !s)
        return s;
    // Arcs crossing segments or arcs, and end points on another element's interior: split like
    // straight crossings, then the pieces two overlapping elements now share are duplicates.
    bool dividiu = false;
    Status split = divideArcos(work, d, out, dividiu);
    if (split)
        split = divideJuncoes(work, d, out, dividiu);
    if (!split) {
        if (out.temPontoProblema)
            marcaPonto(work, out);
        return split;
    }
    if (dividiu)
        removeDuplicados(work);
    removePendentes(work, out);
    if (work.empty())
        return Status::failure(msg::SemContornos);

    // Edge list in list order: the chords (last inserted first), then the straight elements.
    std::vector<Aresta> straight;
    std::vector<Cordas> arcs;
    for (const SegmentoContorno& e : work) {
        if (e.ehArco)
            arcs.push_back(cordasDoArco(e));
        else
            straight.push_back({ e.p1(), e.p2(), 0 });
    }
    std::vector<Aresta> edgeList;
    edgeList.reserve(straight.size() + 4 * arcs.size());
    std::vector<std::size_t> chordEdge(4 * arcs.size());
    for (std::size_t g = arcs.size(); g-- > 0;) {
        for (int k = 4; k-- > 0;) {
            chordEdge[4 * g + static_cast<std::size_t>(k)] = edgeList.size();
            edgeList.push_back(arcs[g].c[k]);
        }
    }
    for (std::size_t i = straight.size(); i-- > 0;)
        edgeList.push_back(straight[i]);

    // Outer contour: from the rightmost end point (the last one found on ties), coming from the
    // right, so the sharpest right turn walks it counterclockwise.
    Ponto start = edgeList.front().P1;
    for (const Aresta& e : edgeList) {
        if (e.P1.x >= start.x)
            start = e.P1;
        if (e.P2.x >= start.x)
            start = e.P2;
    }
    Arestas edges(std::move(edgeList));
    Percursos percursos;
    // Regions in the order they are made; they reach the result's list (each at its front) only
    // at the end, so a long list is never copied as it grows.
    std::deque<Regiao> regioes;
    const auto entrega = [&] {
        out.regioes.reserve(regioes.size());
        for (Regiao& region : regioes)
            out.regioes.pushFront(std::move(region));
    };
    regioes.emplace_back();
    percursos.novaRegiao();
    Aresta lastEdge;
    if (!caminha(edges, { { start.x + 100.0, start.y }, start, 0 }, start, true, regioes.back(),
            percursos, lastEdge)) {
        out.marcas.push_back({ SegmentoContorno::reta(lastEdge.P1, lastEdge.P2), 4, 2 });
        entrega();
        return Status::failure(msg::ErroContorno);
    }

    // Interior regions: each walked clockwise from the first edge not yet used on both sides.
    for (;;) {
        const std::size_t k = edges.primeiraViva();
        if (k == Nenhuma)
            break;
        Aresta& first = edges[k];
        if (first.uso == 1)
            std::swap(first.P1, first.P2);
        regioes.emplace_back();
        percursos.novaRegiao();
        edges.usa(k);
        Regiao& region = regioes.back();
        percursos.adiciona(region, first, k);
        const Ponto stop = first.P1;
        if (!caminha(edges, first, stop, false, region, percursos, lastEdge, k)) {
            entrega();
            return Status::failure(msg::ErroRegioes);
        }
    }

    restauraArcos(arcs, chordEdge, percursos, regioes);
    entrega();
    for (const Regiao& region : out.regioes.inListOrder())
        for (const SegmentoContorno& e : region.segmentos.inListOrder())
            out.marcas.push_back({ e, 15, 1 });
    return Status::success();
}

std::string textoFalhaFormacao(const Status& status, const ResultadoFormacao& resultado)
{
    std::string text(status.message);
    if (status.message == msg::CruzamentoNaoResolvido && resultado.temPontoProblema) {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, std::string(msg::FormatoPontoCruzamento).c_str(),
            resultado.pontoProblema.x, resultado.pontoProblema.y);
        text += buffer;
    }
    return text;
}

std::string escreveDatExportado(
    double fatorEscala, const JanelaExportacao& janela, const common::FrontList<Regiao>& regioes)
{
    common::ByteWriter out;
    out.writeFixedText(geometry::DesVersion, geometry::VersionFieldBytes);
    out.writeBytes(std::string_view("\x01", 1));
    out.writeDouble(fatorEscala);
    out.writeDouble(janela.xMin);
    out.writeDouble(janela.xMax);
    out.writeDouble(janela.yMin);
    out.writeDouble(janela.yMax);
    out.writeInt32(static_cast<std::int32_t>(regioes.size()));
    for (const Regiao& region : regioes.inListOrder())
        writeRegiao(out, region);
    out.writeDouble(0.0);
    return out.take();
}

std::string nomeDatProposto(const std::string& caminhoDesenho)
{
    const std::string extension = common::extensionOf(caminhoDesenho);
    if (extension == "des" || extension == "pre" || extension == "dxf")
        return common::replaceExtension(caminhoDesenho, ".dat");
    return caminhoDesenho;
}

std::string caminhoDatEscolhido(const std::string& escolhido)
{
    if (common::extensionOf(escolhido) == "des")
        return common::replaceExtension(escolhido, ".dat");
    return escolhido;
}

} // namespace tarvex::problem
