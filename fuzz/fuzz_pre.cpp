// .pre drawing texts: any text is read or refused; what is read is written as .des and reads back.
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::geometry;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    DrawingData drawing;
    if (!readPre(in, drawing).ok)
        return 0;
    DrawingData again;
    if (!readDes(writeDes(drawing), again).ok)
        __builtin_trap();
    return 0;
}
