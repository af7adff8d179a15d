// Export and DXF import figures: a grid of unit cells drawn as separate segments (every cell a
// region, as the drawings DXF brings), optionally with a circle over each cell row, and a DXF
// text of many lines read in memory. Prints one line per case.
#include "common/status.h"
#include "geometry/drawing.h"
#include "geometry/dxf_io.h"
#include "problem/formar_regioes.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace tarvex;

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

geometry::DrawingData grid(int n, bool circles)
{
    geometry::DrawingData d;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j < n; ++j)
            d.segmentos.pushFront({ { 1.0 * i, 1.0 * j }, { 1.0 * i, j + 1.0 } });
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i < n; ++i)
            d.segmentos.pushFront({ { 1.0 * i, 1.0 * j }, { i + 1.0, 1.0 * j } });
    if (circles) {
        // One circle in every fourth cell, crossing its four sides.
        for (int i = 0; i < n; i += 2)
            for (int j = 0; j < n; j += 2) {
                const double cx = i + 0.5, cy = j + 0.5, r = 0.6;
                d.arcos.pushFront({ { cx + r, cy }, { cx - r, cy }, { cx, cy } });
                d.arcos.pushFront({ { cx - r, cy }, { cx + r, cy }, { cx, cy } });
            }
    }
    return d;
}

void exportCase(int n, bool circles)
{
    const geometry::DrawingData d = grid(n, circles);
    const auto start = std::chrono::steady_clock::now();
    problem::ResultadoFormacao r;
    const Status s = problem::formarRegioes(d, r);
    const double t = seconds(start);
    std::printf("export  n=%-4d %-8s elements %7zu  regions %7zu  %s  %.3f s\n", n,
        circles ? "circles" : "grid", d.segmentos.size() + d.arcos.size(), r.regioes.size(),
        s.ok ? "ok  " : "FAIL", t);
}

void dxfCase(int lines)
{
    std::string text = "0\nSECTION\n2\nENTITIES\n";
    for (int i = 0; i < lines; ++i)
        text += "0\nLINE\n5\n" + std::to_string(i) + "\n8\n10\n62\n10\n10\n" + std::to_string(i)
            + ".5\n20\n0.25\n30\n0\n11\n" + std::to_string(i) + ".5\n21\n7.75\n31\n0\n";
    text += "0\nENDSEC\n0\nEOF\n";
    const auto start = std::chrono::steady_clock::now();
    geometry::DrawingData d;
    const Status s = geometry::readDxf(text, d);
    const double t = seconds(start);
    std::printf("dxf     %7d entities  %9zu bytes  segments %7zu  %s  %.3f s\n", lines, text.size(),
        d.segmentos.size(), s.ok ? "ok  " : "FAIL", t);
}

} // namespace

int main(int argc, char** argv)
{
    // One case: grid|circles N.
    if (argc == 3) {
        exportCase(std::atoi(argv[2]), std::strcmp(argv[1], "circles") == 0);
        return 0;
    }
    // Sizes: 40 → 3 280 segments, 80 → 12 960, 158 → 50 244.
    int sizes[] = { 40, 80, 158 };
    bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    for (int n : sizes) {
        if (quick && n > 40)
            break;
        exportCase(n, false);
        exportCase(n, true);
    }
    dxfCase(1000);
    if (!quick)
        dxfCase(100000);
    return 0;
}
