#include "solver/solver_model.h"

#include "problem/problem_data.h"

namespace tarvex::solver {

void SolverModel::derivarRegioes()
{
    regionPolygons.clear();
    regionPolygons.reserve(regions.size());
    hasNonlinearRegion = false;
    for (const problem::Regiao& r : regions.inListOrder()) {
        regionPolygons.push_back(problem::poligonoDoContorno(r.segmentos));
        if (r.linear == 0)
            hasNonlinearRegion = true;
    }
    regionLocator.build(regionPolygons);
}

RegionIndex SolverModel::findRegionAt(double x, double y) const
{
    return regionLocator.find({ x, y });
}

const problem::Regiao* SolverModel::region(RegionIndex number) const
{
    if (number < 1 || static_cast<std::size_t>(number) > regions.size())
        return nullptr;
    return &regions.at(static_cast<std::size_t>(number) - 1);
}

} // namespace tarvex::solver
