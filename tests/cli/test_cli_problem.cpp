#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace tarvex::test;

class CliProblem : public CliFixture {
protected:
    static std::string reference()
    {
        return quoted(std::string(TARVEX_TEST_DATA) + "/reference.pre");
    }
    void writeText(const std::string& name, const std::string& text)
    {
        std::ofstream(path(name), std::ios::binary) << text;
    }
};

TEST_F(CliProblem, ExportOfTheReferenceDrawingGivesFourRegionsInItsWindow)
{
    ASSERT_EQ(run("export " + reference() + " " + arg("ref.dat")), 0) << err;
    ASSERT_EQ(run("info " + arg("ref.dat") + " --json"), 0) << err;
    EXPECT_NE(out.find("\"version\":\"versao 01.00.00\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"analysis\":\"magnetic\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"scale\":1000"), std::string::npos) << out;
    // The drawing spans 0..200 × 0..100; the window adds 3 % on each side.
    EXPECT_NE(out.find("\"window\":[-6,206,-3,103]"), std::string::npos) << out;
    EXPECT_NE(out.find("\"regions\":[{"), std::string::npos) << out;
    EXPECT_NE(out.find("\"triangles\":0"), std::string::npos) << out;
    EXPECT_NE(out.find("\"potential_segments\":0"), std::string::npos) << out;
    EXPECT_NE(out.find("\"symmetry\":\"none\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"special_areas\":0"), std::string::npos) << out;

    // The exported problem renders, and differs from an empty picture of the same size.
    ASSERT_EQ(run("render " + arg("ref.dat") + " " + arg("ref.png") + " --size 200x100"), 0) << err;
    const std::string png = readAll(path("ref.png"));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.compare(1, 3, "PNG"), 0);
}

TEST_F(CliProblem, MinimumDistanceDecidesWhetherAGapCloses)
{
    // A square whose last side stops 0.03 short of its first corner (short of the first side
    // too: an end on another side's interior would be a junction, not a gap).
    writeText("gap.pre",
        "1000\n1 2 0\n2 3 0\n3 4 0\n4 5 0\nfim\n"
        "0 0\n10 0\n10 10\n0 10\n0 0.03\nfim\nfim\n");
    ASSERT_EQ(run("export " + arg("gap.pre") + " " + arg("closed.dat")), 0) << err;
    ASSERT_EQ(run("info " + arg("closed.dat") + " --json"), 0) << err;
    // Two regions listed: the outer contour and the square.
    std::size_t listed = 0;
    for (auto at = out.find("\"special\":"); at != std::string::npos;
         at = out.find("\"special\":", at + 1))
        ++listed;
    EXPECT_EQ(listed, 2u) << out;

    EXPECT_NE(run("export " + arg("gap.pre") + " " + arg("open.dat") + " --min-distance 0.01"), 0);
    EXPECT_FALSE(fs::exists(path("open.dat")));
    EXPECT_FALSE(err.empty());
}

TEST_F(CliProblem, FailedExportWritesNothingAndKeepsAnOldFile)
{
    writeText("loose.pre", "1000\n1 2 0\nfim\n0 0\n10 0\nfim\nfim\n");
    EXPECT_EQ(run("export " + arg("loose.pre") + " " + arg("new.dat")), 1);
    EXPECT_FALSE(fs::exists(path("new.dat")));
    EXPECT_NE(
        err.find(" Não há contornos fechados no desenho: nada foi exportado !"), std::string::npos)
        << err;

    writeText("old.dat", "keep me");
    EXPECT_NE(run("export " + arg("loose.pre") + " " + arg("old.dat")), 0);
    EXPECT_EQ(readAll(path("old.dat")), "keep me");

    // Missing input, unknown type, bad options: non-zero, nothing written.
    for (const std::string& args : { "export " + arg("missing.des") + " " + arg("x.dat"),
             "export " + arg("drawing.txt") + " " + arg("x.dat"),
             "export " + reference() + " " + arg("x.dat") + " --min-distance -1",
             "export " + reference() + " " + arg("x.dat") + " --min-distance abc",
             "export " + reference() + " " + arg("x.dat") + " --min-distance",
             "export " + reference() }) {
        EXPECT_NE(run(args), 0) << args;
        EXPECT_FALSE(err.empty()) << args;
        EXPECT_FALSE(fs::exists(path("x.dat"))) << args;
    }
}

TEST_F(CliProblem, InfoAndRenderRefuseAFileThatIsNotProblemData)
{
    writeText("bad.dat", std::string("versao 02.00.00") + std::string(100, '\0'));
    EXPECT_EQ(run("info " + arg("bad.dat") + " --json"), 1);
    EXPECT_TRUE(out.empty()) << out;
    EXPECT_NE(err.find(" Não é possível ler arquivo: erro de versão !"), std::string::npos) << err;

    EXPECT_EQ(run("render " + arg("bad.dat") + " " + arg("bad.png")), 1);
    EXPECT_FALSE(fs::exists(path("bad.png")));
}

} // namespace
