// .grp graphs: any bytes are read or refused; what is read is written (also as .asc) and reads
// back.
#include "graphs/graph_data.h"
#include "graphs/grp_io.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarvex::graphs;
    GraphData graph;
    if (!readGrp(std::string_view(reinterpret_cast<const char*>(data), size), graph).ok)
        return 0;
    (void)writeAsc(graph);
    GraphData again;
    if (!readGrp(writeGrp(graph), again).ok)
        __builtin_trap();
    return 0;
}
