#pragma once

#include "problem/problem_data.h"

#include <vector>

namespace tarvex::test {

using Contour = std::vector<problem::SegmentoContorno>;

/// A region whose contour lists `elements` in the given order.
inline problem::Regiao regionOf(const Contour& elements)
{
    problem::Regiao r;
    for (auto e = elements.rbegin(); e != elements.rend(); ++e)
        r.segmentos.pushFront(*e);
    return r;
}

/// The four sides of the rectangle, counter-clockwise from (x0, y0).
inline Contour rectangle(double x0, double y0, double x1, double y1)
{
    using problem::SegmentoContorno;
    return { SegmentoContorno::reta({ x0, y0 }, { x1, y0 }),
        SegmentoContorno::reta({ x1, y0 }, { x1, y1 }),
        SegmentoContorno::reta({ x1, y1 }, { x0, y1 }),
        SegmentoContorno::reta({ x0, y1 }, { x0, y0 }) };
}

} // namespace tarvex::test
