#include "geometry/helpers.h"

#include <cmath>

namespace tarvex::geometry {

namespace {
constexpr double CoincidenceSquared = 1e-8;
constexpr double OrientationDeadBand = 2e-8;
constexpr double VerticalLimit = 1e-8;
constexpr double ParallelLimit = 1e-8;
constexpr int NearestSamples = 200;
} // namespace

double distancia(const Ponto& a, const Ponto& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

bool coincide(const Ponto& a, const Ponto& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return dx * dx + dy * dy <= CoincidenceSquared;
}

double areaOrientada(const Ponto& p, const Ponto& q, const Ponto& r)
{
    return ((q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x)) / 2.0;
}

int orientacao(const Ponto& p, const Ponto& q, const Ponto& r)
{
    const double area = areaOrientada(p, q, r);
    if (area > OrientationDeadBand)
        return 1;
    if (area < -OrientationDeadBand)
        return -1;
    return 0;
}

double anguloPolar(double dx, double dy)
{
    if (std::fabs(dx) < VerticalLimit) {
        if (dy > 0.0)
            return Pi / 2.0;
        if (dy < 0.0)
            return 3.0 * Pi / 2.0;
        // The null vector: atan2 would give 0 too; say so plainly.
        return 0.0;
    }
    double angle = std::atan2(dy, dx);
    if (angle < 0.0)
        angle += 2.0 * Pi;
    // atan2 of a tiny negative dy rounds up to exactly 2π once shifted; keep the result in [0, 2π).
    if (angle >= 2.0 * Pi)
        angle = 0.0;
    return angle;
}

double comprimento(const Segmento& s)
{
    return distancia(s.P1, s.P2);
}

bool segmentosIguais(const Segmento& s, const Segmento& t)
{
    return coincide(s.P1, t.P1) && coincide(s.P2, t.P2);
}

bool pontoInteriorSegmento(const Segmento& s, const Ponto& p)
{
    if (orientacao(p, s.P1, s.P2) != 0)
        return false;
    const double dot = (p.x - s.P1.x) * (p.x - s.P2.x) + (p.y - s.P1.y) * (p.y - s.P2.y);
    return dot < 0.0;
}

bool cruzamento(const Segmento& s, const Segmento& t)
{
    if (coincide(s.P1, t.P1) || coincide(s.P1, t.P2) || coincide(s.P2, t.P1)
        || coincide(s.P2, t.P2))
        return false;
    const int o1 = orientacao(s.P1, t.P1, t.P2);
    const int o2 = orientacao(s.P2, t.P1, t.P2);
    const int o3 = orientacao(t.P1, s.P1, s.P2);
    const int o4 = orientacao(t.P2, s.P1, s.P2);
    if (o1 == 0 && o2 == 0 && o3 == 0 && o4 == 0)
        return false;
    return o1 == -o2 && o3 == -o4;
}

Ponto intersecaoRetas(const Segmento& s, const Segmento& t)
{
    const double ux = s.P2.x - s.P1.x;
    const double uy = s.P2.y - s.P1.y;
    const double vx = t.P2.x - t.P1.x;
    const double vy = t.P2.y - t.P1.y;
    const double den = ux * vy - uy * vx;
    if (std::fabs(den) < ParallelLimit)
        return { 0.0, 0.0 };
    const double param = (ux * (s.P1.y - t.P1.y) - uy * (s.P1.x - t.P1.x)) / den;
    return { t.P1.x + param * vx, t.P1.y + param * vy };
}

Ponto circuncentro(const Ponto& a, const Ponto& b, const Ponto& c)
{
    const double d = 2.0 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
    const double a2 = a.x * a.x + a.y * a.y;
    const double b2 = b.x * b.x + b.y * b.y;
    const double c2 = c.x * c.x + c.y * c.y;
    return { (a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
        (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d };
}

PontoProximo pontoMaisProximo(const Segmento& s, const Ponto& p)
{
    PontoProximo best;
    for (int i = 0; i <= NearestSamples; ++i) {
        const double f = static_cast<double>(i) / NearestSamples;
        const Ponto sample { s.P1.x + f * (s.P2.x - s.P1.x), s.P1.y + f * (s.P2.y - s.P1.y) };
        const double d = distancia(sample, p);
        if (d < best.distancia) {
            best.distancia = d;
            best.ponto = sample;
        }
    }
    return best;
}

ExtensaoArco extensaoArco(const Arco& arco)
{
    ExtensaoArco e;
    e.inicio = anguloPolar(arco.P1.x - arco.PC.x, arco.P1.y - arco.PC.y);
    e.fim = anguloPolar(arco.P2.x - arco.PC.x, arco.P2.y - arco.PC.y);
    if (e.fim < e.inicio)
        e.fim += 2.0 * Pi;
    e.raio = distancia(arco.PC, arco.P2);
    return e;
}

} // namespace tarvex::geometry
