// Region integrals over a large model: the total over about a million triangles, whose target is
// under 0.2 s. The model is a structured grid (no mesher or solver time is measured) with three
// regions (air, a conductor carrying current, iron) and a smooth potential.
//
//   tarvex_bench_integrals [SQUARES_PER_SIDE]     (default 708: 1 002 528 triangles)

#include "results/integrals.h"
#include "solver/solver_model.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

using namespace tarvex;

namespace {

problem::Regiao rectangle(double x0, double y0, double x1, double y1)
{
    problem::Regiao r;
    const geometry::Ponto a { x0, y0 }, b { x1, y0 }, c { x1, y1 }, d { x0, y1 };
    r.segmentos.pushBack(problem::SegmentoContorno::reta(a, b));
    r.segmentos.pushBack(problem::SegmentoContorno::reta(b, c));
    r.segmentos.pushBack(problem::SegmentoContorno::reta(c, d));
    r.segmentos.pushBack(problem::SegmentoContorno::reta(d, a));
    return r;
}

solver::SolverModel gridModel(int n)
{
    solver::SolverModel m;
    m.scaleFactor = 1000.0;
    const double side = 100.0;
    m.window = { 0, side, 0, side };
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            const double x = side * i / n, y = side * j / n;
            m.nodes.push_back({ x, y, 1e-3 * std::sin(x / 30.0) * std::cos(y / 40.0) });
        }
    const auto id = [n](int i, int j) { return j * (n + 1) + i + 1; };
    std::vector<solver::MeshElement> listed;
    listed.reserve(static_cast<std::size_t>(2 * n * n));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            listed.push_back({ id(i, j), id(i + 1, j + 1), id(i + 1, j) });
            listed.push_back({ id(i, j), id(i, j + 1), id(i + 1, j + 1) });
        }
    for (auto e = listed.rbegin(); e != listed.rend(); ++e)
        m.elements.pushFront(*e);
    m.freeNodes = m.nodeCount();
    m.regions.pushBack(rectangle(0, 0, side, side));
    m.regions.pushBack(rectangle(0, 0, side, side));
    problem::Regiao conductor = rectangle(20, 20, 40, 60);
    conductor.densCorrente = 2.0;
    m.regions.pushFront(conductor);
    problem::Regiao iron = rectangle(60, 10, 90, 90);
    iron.permRelativa = 1000.0;
    m.regions.pushFront(iron);
    m.calculationKind = solver::CalculationKind::Linear;
    m.derivarRegioes();
    return m;
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 708;
    if (n < 1 || n > 5000) {
        std::fprintf(stderr, "usage: tarvex_bench_integrals [SQUARES_PER_SIDE 1..5000]\n");
        return 2;
    }
    const solver::SolverModel model = gridModel(n);
    results::Integrals total;
    // The first pass also builds the region of every triangle, as the first command in a
    // session does; the second is what every later command costs.
    for (int pass = 1; pass <= 2; ++pass) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        if (!results::integrateTotal(model, total))
            return 1;
        const double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double s
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("pass %d: %zu triangles, total in %.3f s (%.3f s of CPU; target < 0.2 s); "
                    "energy %.6g J/m, current %.6g A\n",
            pass, model.elements.size(), s, cpu, total.energy, total.current);
    }
    return 0;
}
