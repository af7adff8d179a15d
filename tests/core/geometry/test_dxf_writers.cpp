// Files written by a real DXF writer: two kept in tests/data/dxf, and every version the writer
// knows when it is installed (Debian's python3-ezdxf; the script is tests/data/dxf/gerar_dxf.py).
#include "geometry/drawing.h"
#include "geometry/dxf_io.h"
#include "geometry/helpers.h"
#include "problem/formar_regioes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace tarvex;
using namespace tarvex::geometry;

namespace {

const std::string Dados = TARVEX_TEST_DATA "/dxf";

bool temArco(const DrawingData& d, const Arco& esperado)
{
    for (const Arco& a : d.arcos.inListOrder())
        if (coincide(a.P1, esperado.P1) && coincide(a.P2, esperado.P2)
            && coincide(a.PC, esperado.PC))
            return true;
    return false;
}

/// The drawing of gerar_dxf.py, whatever the version it was written in.
void confereCaixa(const std::string& arquivo, bool comSpline)
{
    SCOPED_TRACE(arquivo);
    DrawingData d;
    DxfIgnorados ignorados;
    const Status s = readDxfFile(arquivo, d, &ignorados);
    ASSERT_TRUE(s) << s.message << " line " << s.line;
    EXPECT_EQ(d.segmentos.size(), 5u);
    EXPECT_EQ(d.arcos.size(), 5u);
    EXPECT_EQ(d.pontos.size(), 16u);
    DxfIgnorados esperado { { "TEXT", 1 } };
    if (comSpline)
        esperado["SPLINE"] = 1;
    EXPECT_EQ(ignorados, esperado);

    // The line on layer "10" in colour 10 is where it was drawn.
    bool linha = false;
    for (const Segmento& seg : d.segmentos.inListOrder())
        linha = linha || (seg == Segmento { { 10, 10 }, { 11, 20 } });
    EXPECT_TRUE(linha);
    EXPECT_TRUE(temArco(d, { { 100, 0 }, { 100, 50 }, { 100, 25 } })); // bulge 1: the half circle
    EXPECT_TRUE(temArco(d, { { 210, 0 }, { 220, 10 }, { 210, 10 } })); // bulge 0.414: a quarter
    EXPECT_TRUE(temArco(d, { { 55, 25 }, { 45, 25 }, { 50, 25 } })); // the circle, upper half
    EXPECT_TRUE(temArco(d, { { 301, 0 }, { 300, 1 }, { 300, 0 } }));

    // The box with its half circle and the disc inside export; the open pieces dangle.
    problem::ResultadoFormacao r;
    ASSERT_TRUE(problem::formarRegioes(d, r));
    EXPECT_EQ(r.regioes.size(), 4u);
    EXPECT_EQ(r.removidos, 4u);
}

} // namespace

TEST(DxfWriters, KeptFilesOfTwelveAndTwentyEighteen)
{
    confereCaixa(Dados + "/caixa_r12.dxf", false);
    confereCaixa(Dados + "/caixa_r2018.dxf", true);
}

TEST(DxfWriters, EveryVersionTheInstalledWriterKnows)
{
    // The system's own interpreter: the writer is a Debian package, not one of a virtual env.
    if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    const std::filesystem::path dir
        = std::filesystem::path(::testing::TempDir()) / "tarvex_dxf_writers";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string command = "/usr/bin/python3 '" + Dados + "/gerar_dxf.py' '" + dir.string()
        + "' R12 R2000 R2010 R2018";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* version : { "r12", "r2000", "r2010", "r2018" })
        confereCaixa((dir / (std::string("caixa_") + version + ".dxf")).string(),
            std::string(version) != "r12");
    std::filesystem::remove_all(dir);
}

TEST(DxfWriters, EveryCutOfARealFileReadsOrIsRefusedWithoutHarm)
{
    // A file cut anywhere (a transfer that stopped): never a crash or a read past the end, and
    // never more than the whole file gives.
    std::string text;
    {
        DrawingData whole;
        ASSERT_TRUE(readDxfFile(Dados + "/caixa_r2018.dxf", whole));
        std::FILE* f = std::fopen((Dados + "/caixa_r2018.dxf").c_str(), "rb");
        ASSERT_TRUE(f);
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    for (std::size_t cut = 0; cut <= text.size(); cut += 5) {
        DrawingData d;
        const Status s = readDxf(std::string_view(text).substr(0, cut), d);
        if (s.ok) {
            EXPECT_LE(d.segmentos.size(), 5u) << cut;
            EXPECT_LE(d.arcos.size(), 5u) << cut;
            EXPECT_LE(d.pontos.size(), 16u) << cut;
        }
    }
}
