// .msh solver models through the assemblies: a model the reader takes is assembled linearly, for
// the conductivity block and, with non-linear regions, for the first non-linear step. Each either
// succeeds or fails with a message; none may crash.
#include "solver/assembly.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// A model of a few kilobytes has at most a few hundred nodes; larger counts would only make each
// run slower without reaching other code.
constexpr std::int32_t MaxNodes = 2000;
constexpr std::size_t MaxElements = 4000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::solver;
    SolverModel model;
    if (!readMsh(std::string_view(reinterpret_cast<const char*>(data), size), model).ok)
        return 0;
    if (model.nodeCount() > MaxNodes || model.elements.size() > MaxElements)
        return 0;
    SolverModel linear = model;
    (void)assembleLinear(linear);
    SolverModel conducting = model;
    (void)assembleConductivity(conducting);
    if (model.hasNonlinearRegion) {
        prepareNonlinearCurves(model);
        (void)assembleNonlinearStart(model);
    }
    return 0;
}
