#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace tarvex::test;

std::string jsonText(const std::string& json, const std::string& key)
{
    const auto at = json.find("\"" + key + "\":\"");
    if (at == std::string::npos)
        return "<absent>";
    const auto start = at + key.size() + 4;
    return json.substr(start, json.find('"', start) - start);
}

class CliMsh : public CliFixture {
protected:
    /// The reference drawing as a problem with the outer contour at potential 0, meshed.
    void SetUp() override
    {
        CliFixture::SetUp();
        exportReference();
        ASSERT_EQ(run("edit " + arg("ref.dat") + " " + arg("p.dat")
                      + " --outer-potential 0 --region 140,40 J=1"),
            0)
            << err;
        ASSERT_EQ(run("mesh " + arg("p.dat") + " " + arg("m.dat") + " --max-edge 8 --json"), 0)
            << err;
        m_triangles = jsonNumber(out, "triangles");
        m_nodes = jsonNumber(out, "nodes");
    }

    double m_triangles = 0;
    double m_nodes = 0;
};

TEST_F(CliMsh, ExportWritesTheModelAndInfoReadsItBack)
{
    ASSERT_EQ(run("export-msh " + arg("m.dat") + " " + arg("m.msh") + " --json"), 0) << err;
    const std::string exported = out;
    EXPECT_EQ(jsonText(exported, "type"), "msh");
    EXPECT_EQ(jsonNumber(exported, "elements"), m_triangles);
    EXPECT_EQ(jsonNumber(exported, "nodes"), m_nodes);
    EXPECT_GE(jsonNumber(exported, "seconds"), 0.0);

    ASSERT_EQ(run("info " + arg("m.msh") + " --json"), 0) << err;
    EXPECT_EQ(jsonText(out, "version"), "versao 01.00.01");
    EXPECT_EQ(jsonText(out, "analysis"), "magnetic");
    EXPECT_EQ(jsonText(out, "symmetry"), "none");
    const double interior = jsonNumber(out, "interior");
    const double imposed = jsonNumber(out, "imposed");
    EXPECT_GT(interior, 0);
    EXPECT_GT(imposed, 0);
    EXPECT_EQ(jsonNumber(out, "masters"), 0);
    EXPECT_EQ(jsonNumber(out, "slaves"), 0);
    EXPECT_EQ(interior + imposed, m_nodes);
    EXPECT_EQ(jsonNumber(out, "order"), interior);
    EXPECT_EQ(jsonNumber(out, "elements"), m_triangles);
    EXPECT_EQ(jsonNumber(out, "slots"), 40 * interior);
    EXPECT_GT(jsonNumber(out, "stored_entries"), interior);
    EXPECT_LT(jsonNumber(out, "stored_entries"), 10 * interior);
    EXPECT_EQ(jsonNumber(out, "calculation"), 0);
    EXPECT_EQ(jsonNumber(out, "conductive"), 0);
    EXPECT_EQ(jsonNumber(out, "potential_min"), 0.0);
    EXPECT_EQ(jsonNumber(out, "potential_max"), 0.0);
    // export-msh reports what info reads, apart from the time.
    EXPECT_EQ(
        exported.substr(0, exported.find(",\"seconds\"")) + "}", out.substr(0, out.size() - 1));

    ASSERT_EQ(run("info " + arg("m.msh")), 0) << err;
    EXPECT_NE(out.find("versao 01.00.01"), std::string::npos);
    EXPECT_NE(out.find("interior"), std::string::npos);
}

TEST_F(CliMsh, ChosenNameFollowsTheSaveDialogRule)
{
    ASSERT_EQ(run("export-msh " + arg("m.dat") + " " + arg("copy.dat")), 0) << err;
    EXPECT_TRUE(fs::exists(path("copy.msh")));
    EXPECT_FALSE(fs::exists(path("copy.dat")));
    EXPECT_NE(err.find("copy.msh"), std::string::npos);

    EXPECT_EQ(run("export-msh " + arg("m.dat") + " " + arg("m.txt")), 2);
    EXPECT_FALSE(fs::exists(path("m.txt")));
    EXPECT_EQ(run("export-msh " + arg("m.dat")), 2);
}

TEST_F(CliMsh, FailuresPrintTheMessageAndWriteNothing)
{
    EXPECT_NE(run("export-msh " + arg("p.dat") + " " + arg("x.msh")), 0);
    EXPECT_NE(err.find(" Malha ainda não foi gerada ! Operação cancelada !"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("x.msh")));

    ASSERT_EQ(run("edit " + arg("m.dat") + " " + arg("n.dat")
                  + " --region 140,40 linear=0 mat=/nonexistent/steel.mat"),
        0)
        << err;
    EXPECT_NE(run("export-msh " + arg("n.dat") + " " + arg("n.msh")), 0);
    EXPECT_NE(err.find("arquivo de materiais"), std::string::npos) << err;
    EXPECT_NE(err.find("/nonexistent/steel.mat"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("n.msh")));

    // A problem file renamed .msh is no model.
    fs::copy_file(path("m.dat"), path("wrong.msh"));
    {
        std::ofstream damaged(path("wrong.msh"), std::ios::binary | std::ios::in);
        damaged.seekp(7);
        damaged << "02";
    }
    EXPECT_NE(run("info " + arg("wrong.msh") + " --json"), 0);
    EXPECT_NE(err.find("erro de versão"), std::string::npos);
    EXPECT_EQ(out, "");
}

} // namespace
