#include "problem/records.h"

#include "geometry/helpers.h"

namespace tarvex::problem {

using geometry::coincide;

SegmentoContorno SegmentoContorno::reta(const Ponto& a, const Ponto& b)
{
    SegmentoContorno s;
    s.defineP1(a);
    s.defineP2(b);
    return s;
}

SegmentoContorno SegmentoContorno::arco(const Ponto& a, const Ponto& b, const Ponto& c)
{
    SegmentoContorno s = reta(a, b);
    s.xc = c.x;
    s.yc = c.y;
    s.ehArco = 1;
    return s;
}

bool iguais(const SegmentoContorno& a, const SegmentoContorno& b)
{
    if ((a.ehArco != 0) != (b.ehArco != 0))
        return false;
    const bool sameOrder = coincide(a.p1(), b.p1()) && coincide(a.p2(), b.p2());
    const bool swapped = coincide(a.p1(), b.p2()) && coincide(a.p2(), b.p1());
    if (a.ehArco == 0)
        return sameOrder || swapped;
    if (!coincide(a.centro(), b.centro()))
        return false;
    return a.sentido == b.sentido ? sameOrder : swapped;
}

double comprimentoElemento(const SegmentoContorno& s)
{
    if (s.ehArco == 0)
        return geometry::distancia(s.p1(), s.p2());
    // The stored orientation decides which way round the arc runs.
    const geometry::Arco arc = s.sentido != 0 ? geometry::Arco { s.p1(), s.p2(), s.centro() }
                                              : geometry::Arco { s.p2(), s.p1(), s.centro() };
    const geometry::ExtensaoArco e = geometry::extensaoArco(arc);
    return e.raio * (e.fim - e.inicio);
}

} // namespace tarvex::problem
