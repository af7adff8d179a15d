// DXF texts: any text is imported or refused; what is imported is written as .des and reads back.
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "geometry/dxf_io.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::geometry;
    DrawingData drawing;
    DxfIgnorados ignorados;
    if (!readDxf(std::string_view(reinterpret_cast<const char*>(data), size), drawing, &ignorados)
             .ok)
        return 0;
    DrawingData again;
    if (!readDes(writeDes(drawing), again).ok)
        __builtin_trap();
    return 0;
}
