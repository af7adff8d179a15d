// .msh solver models: any bytes are read or refused; what is read is written and reads back.
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::solver;
    SolverModel model;
    if (!readMsh(std::string_view(reinterpret_cast<const char*>(data), size), model).ok)
        return 0;
    const std::string image = writeMsh(model);
    SolverModel again;
    if (!readMsh(image, again).ok)
        __builtin_trap();
    return 0;
}
