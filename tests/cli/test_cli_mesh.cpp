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

/// The integer after "key": in a JSON object, or -1.
long jsonInteger(const std::string& json, const std::string& key)
{
    const auto at = json.find("\"" + key + "\":");
    return at == std::string::npos ? -1 : std::stol(json.substr(at + key.size() + 3));
}

class CliMesh : public CliFixture {
protected:
    /// Every test starts from the reference drawing exported as a problem.
    void SetUp() override
    {
        CliFixture::SetUp();
        exportReference();
    }
};

} // namespace

TEST_F(CliMesh, MeshesWritesTheFileAndReportsItsFigures)
{
    ASSERT_EQ(run("mesh " + arg("ref.dat") + " " + arg("m.dat")
                  + " --max-edge 4 --check-angle --smooth --json"),
        0)
        << err;
    const long triangles = jsonInteger(out, "triangles");
    EXPECT_GT(triangles, 1000);
    EXPECT_GT(jsonInteger(out, "nodes"), triangles / 3);
    for (const char* key : { "quality_mean", "quality_min", "angle_mean", "angle_min", "area_mean",
             "area_min", "seconds" })
        EXPECT_NE(out.find(std::string("\"") + key + "\":"), std::string::npos) << key;
    EXPECT_NE(err.find("Status: concluída a geração da malha."), std::string::npos);

    ASSERT_EQ(run("info " + arg("m.dat") + " --json"), 0);
    EXPECT_EQ(jsonInteger(out, "triangles"), triangles);

    ASSERT_EQ(run("refine " + arg("m.dat") + " " + arg("r.dat") + " --total"), 0) << err;
    ASSERT_EQ(run("info " + arg("r.dat") + " --json"), 0);
    EXPECT_EQ(jsonInteger(out, "triangles"), 4 * triangles);
    EXPECT_EQ(run("refine " + arg("m.dat") + " " + arg("c.dat") + " --recentre"), 0) << err;
    EXPECT_NE(err.find(" Recentragem efetuada : "), std::string::npos);
}

TEST_F(CliMesh, FailuresWriteNothingAndExitNonZero)
{
    EXPECT_NE(run("mesh " + arg("ref.dat") + " " + arg("x.dat") + " --max-edge 0.00001"), 0);
    EXPECT_NE(err.find("Erro"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("x.dat")));
    EXPECT_NE(run("refine " + arg("ref.dat") + " " + arg("y.dat") + " --total"), 0);
    EXPECT_NE(err.find("Malha ainda não gerada !"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("y.dat")));
    ASSERT_EQ(run("mesh " + arg("ref.dat") + " " + arg("m.dat") + " --edge-factor 0.2"), 0) << err;
    EXPECT_NE(run("refine " + arg("m.dat") + " " + arg("z.dat") + " --area 500,500,600,600"), 0);
    EXPECT_NE(err.find("Área definida não contém nenhum triângulo !"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("z.dat")));
    EXPECT_EQ(
        run("mesh " + arg("ref.dat") + " " + arg("m.dat") + " --max-edge 1 --edge-factor 2"), 2);
}
