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

class CliMeshRender : public CliFixture {
protected:
    /// Every test starts from the reference drawing exported as a problem.
    void SetUp() override
    {
        CliFixture::SetUp();
        exportReference();
    }
};

} // namespace

TEST_F(CliMeshRender, MeshModeDrawsTheTrianglesOverTheStructure)
{
    ASSERT_EQ(run("mesh " + arg("ref.dat") + " " + arg("m.dat") + " --max-edge 8"), 0) << err;
    const std::string size = " --size 400x200";
    ASSERT_EQ(run("render " + arg("m.dat") + " " + arg("s.png") + size), 0) << err;
    ASSERT_EQ(run("render " + arg("m.dat") + " " + arg("s2.png") + size + " --mode structure"), 0);
    ASSERT_EQ(run("render " + arg("m.dat") + " " + arg("m.png") + size + " --mode mesh"), 0) << err;

    EXPECT_EQ(bytes("s.png"), bytes("s2.png"));
    // Hundreds of thin lines cost a plain picture far more bytes than the outlines alone.
    EXPECT_GT(bytes("m.png").size(), 2 * bytes("s.png").size());

    // Without a mesh the picture is still made, carrying the view's notice instead.
    ASSERT_EQ(run("render " + arg("ref.dat") + " " + arg("none.png") + size + " --mode mesh"), 0);
    ASSERT_EQ(run("render " + arg("ref.dat") + " " + arg("plain.png") + size), 0);
    EXPECT_NE(bytes("none.png"), bytes("plain.png"));
    EXPECT_LT(bytes("none.png").size(), bytes("m.png").size());
}

TEST_F(CliMeshRender, ModeIsCheckedAndBelongsToProblemsOnly)
{
    const std::string pre = quoted(std::string(TARVEX_TEST_DATA) + "/reference.pre");
    for (const std::string& args :
        { "render " + arg("ref.dat") + " " + arg("x.png") + " --mode wires",
            "render " + arg("ref.dat") + " " + arg("x.png") + " --mode",
            "render " + pre + " " + arg("x.png") + " --mode mesh" }) {
        EXPECT_EQ(run(args), 2) << args;
        EXPECT_NE(err.find("--mode"), std::string::npos) << args;
        EXPECT_FALSE(fs::exists(m_dir / "x.png")) << args;
    }
}
