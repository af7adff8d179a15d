// .mat materials texts: any text is read or refused; the points read make a curve, and their file
// text reads back with as many points.
#include "materials/curva.h"
#include "materials/mat_io.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::materials;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<PontoMaterial> pontos;
    if (!readMat(in, pontos).ok)
        return 0;
    (void)curvaMaterial(pontos);
    std::istringstream text(writeMat(pontos));
    std::vector<PontoMaterial> again;
    if (!readMat(text, again).ok || again.size() != pontos.size())
        __builtin_trap();
    return 0;
}
