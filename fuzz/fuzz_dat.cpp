// .dat problems: any bytes are read (with the working lists derived) or refused; what is read is
// written and reads back.
#include "problem/dat_io.h"
#include "problem/problem_data.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::problem;
    ProblemData problem;
    if (!readDat(std::string_view(reinterpret_cast<const char*>(data), size), problem).ok)
        return 0;
    const std::string image = writeDat(problem);
    ProblemData again;
    if (!readDat(image, again).ok)
        __builtin_trap();
    return 0;
}
