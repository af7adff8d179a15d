// .dat problems through the export: a problem the reader takes (its working lists derived) is
// built into a solver model, which either succeeds or fails with a message, and a model built is
// written and reads back. The materials file of every non-linear region is one small valid file
// written at start, so the curves are read without touching any path the input names.
#include "problem/dat_io.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// Keeps each run fast: a few kilobytes hold a few hundred triangles at most.
constexpr std::int32_t MaxTriangles = 2000;
constexpr std::size_t MaxContourElements = 2000;

std::string g_materialFile;

void removeMaterialFile()
{
    std::remove(g_materialFile.c_str());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_materialFile = "/tmp/tarvex-fuzz-" + std::to_string(getpid()) + ".mat";
    std::FILE* f = std::fopen(g_materialFile.c_str(), "w");
    if (f == nullptr)
        std::abort();
    std::fputs("4   2\n0 0\n100 0.5\n1000 1.5\n10000 1.9\n", f);
    std::fclose(f);
    std::atexit(removeMaterialFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex;
    problem::ProblemData problem;
    if (!problem::readDat(std::string_view(reinterpret_cast<const char*>(data), size), problem).ok)
        return 0;
    if (problem.numTriangulos > MaxTriangles || problem.poolSegmentos.size() > MaxContourElements)
        return 0;
    for (std::size_t i = 0; i < problem.regioes.size(); ++i)
        problem.regioes.at(i).arquivoMaterial = g_materialFile;
    solver::SolverModel model;
    if (!solver::buildSolverModel(problem, model))
        return 0;
    solver::SolverModel again;
    if (!solver::readMsh(solver::writeMsh(model), again).ok)
        __builtin_trap();
    return 0;
}
