#include "graphs/graph_data.h"

namespace tarvex::graphs {

void GraphData::addCurve(
    const std::vector<double>& xs, const std::vector<double>& ys, std::string name)
{
    materials::Curva curve;
    curve.definePontos(xs, ys);
    curves.push_back(std::move(curve));
    curveNames.push_back(std::move(name));
}

} // namespace tarvex::graphs
