// .des drawings: any bytes are read or refused; what is read is written and reads back.
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::geometry;
    DrawingData drawing;
    if (!readDes(std::string_view(reinterpret_cast<const char*>(data), size), drawing).ok)
        return 0;
    const std::string image = writeDes(drawing);
    DrawingData again;
    if (!readDes(image, again).ok)
        __builtin_trap();
    return 0;
}
