#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

using namespace tarvex::test;

/// A DXF text with these entity lines (code, value, code, value...) in its ENTITIES section.
std::string dxf(const std::string& entities)
{
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
        + entities + "0\nENDSEC\n0\nEOF\n";
}

const char* const BoxWithCircle
    = "0\nLWPOLYLINE\n8\n10\n90\n4\n70\n1\n10\n0\n20\n0\n10\n100\n20\n0\n10\n100\n20\n50\n10\n0\n"
      "20\n50\n0\nCIRCLE\n8\n10\n62\n10\n10\n100\n20\n25\n40\n20\n";

class CliDxf : public CliFixture {
protected:
    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(path(name), std::ios::binary) << text;
    }
};

} // namespace

TEST_F(CliDxf, ConvertAndInfoTellWhatCameInAndWhatWasIgnored)
{
    write("a.dxf", dxf(std::string(BoxWithCircle) + "0\nSPLINE\n0\nTEXT\n0\nSPLINE\n"));
    ASSERT_EQ(run("info " + arg("a.dxf") + " --json"), 0) << err;
    EXPECT_NE(out.find("\"type\":\"dxf\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"points\":7"), std::string::npos) << out;
    EXPECT_NE(out.find("\"segments\":4"), std::string::npos) << out;
    EXPECT_NE(out.find("\"arcs\":2"), std::string::npos) << out;
    EXPECT_NE(out.find("\"ignored\":{\"SPLINE\":2,\"TEXT\":1}"), std::string::npos) << out;

    ASSERT_EQ(run("convert " + arg("a.dxf") + " " + arg("a.des")), 0) << err;
    EXPECT_NE(err.find("ignored 2 SPLINE"), std::string::npos) << err;
    ASSERT_EQ(run("info " + arg("a.des") + " --json"), 0) << err;
    EXPECT_NE(out.find("\"arcs\":2"), std::string::npos) << out;
    EXPECT_EQ(out.find("ignored"), std::string::npos) << out;

    write("bad.dxf", dxf("0\nPOINT\n10\nx\n20\n0\n"));
    EXPECT_EQ(run("convert " + arg("bad.dxf") + " " + arg("bad.des")), 1);
    EXPECT_NE(err.find(":17: "), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("bad.des")));
}

TEST_F(CliDxf, CircleOverARectangleExportsMeshesAndSolves)
{
    write("c.dxf", dxf(BoxWithCircle));
    ASSERT_EQ(run("export " + arg("c.dxf") + " " + arg("c.dat")), 0) << err;
    EXPECT_NE(err.find("4 regions written"), std::string::npos) << err;
    EXPECT_NE(err.find("(0 elements removed)"), std::string::npos) << err;
    ASSERT_EQ(run("edit " + arg("c.dat") + " " + arg("e.dat")
                  + " --outer-potential 0 --region 110,25 J=1"),
        0)
        << err;
    ASSERT_EQ(run("mesh " + arg("e.dat") + " " + arg("m.dat")), 0) << err;
    ASSERT_EQ(run("export-msh " + arg("m.dat") + " " + arg("m.msh")), 0) << err;
    ASSERT_EQ(run("solve " + arg("m.msh") + " " + arg("s.msh") + " --linear --tol 0.01 --json"), 0)
        << err;
}

TEST_F(CliDxf, ExportSaysHowManyElementsItRemovedAndWhereItStopped)
{
    write("d.dxf",
        dxf(std::string(BoxWithCircle)
            + "0\nLINE\n10\n0\n20\n0\n11\n-20\n21\n-20\n0\nLINE\n10\n300\n20\n0\n11\n"
              "300.01\n21\n0\n"));
    ASSERT_EQ(run("export " + arg("d.dxf") + " " + arg("d.dat")), 0) << err;
    EXPECT_NE(err.find(" 2 elemento(s) removido(s) na exportação"), std::string::npos) << err;
    EXPECT_NE(err.find("(2 elements removed)"), std::string::npos) << err;

    // A circle touching the top and the bottom of the box: refused, with the place.
    write("t.dxf",
        dxf("0\nLWPOLYLINE\n90\n4\n70\n1\n10\n0\n20\n0\n10\n100\n20\n0\n10\n100\n20\n"
            "50\n10\n0\n20\n50\n0\nCIRCLE\n10\n50\n20\n25\n40\n25\n"));
    EXPECT_EQ(run("export " + arg("t.dxf") + " " + arg("t.dat")), 1);
    EXPECT_NE(err.find("Cruzamento que não pode ser resolvido"), std::string::npos) << err;
    EXPECT_NE(err.find("(50, "), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("t.dat")));
}
