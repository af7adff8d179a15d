#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& word) { return "'" + word + "'"; }

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The integer after "key": in a JSON object, or -1.
long jsonInteger(const std::string& json, const std::string& key)
{
    const auto at = json.find("\"" + key + "\":");
    return at == std::string::npos ? -1 : std::stol(json.substr(at + key.size() + 3));
}

class CliMesh : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(::testing::TempDir())
            / ("tarvex_mesh_"
               + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        ASSERT_EQ(run("export " + quoted(std::string(TARVEX_TEST_DATA) + "/reference.pre") + " "
                      + arg("ref.dat")),
                  0)
            << err;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path path(const std::string& name) const { return m_dir / name; }
    std::string arg(const std::string& name) const { return quoted(path(name).string()); }

    int run(const std::string& args)
    {
        const std::string command = quoted(TARVEX_CLI) + " " + args + " >"
            + quoted(path("stdout.txt").string()) + " 2>" + quoted(path("stderr.txt").string());
        const int status = std::system(command.c_str());
        out = readAll(path("stdout.txt"));
        err = readAll(path("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path m_dir;
    std::string out;
    std::string err;
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
    for (const char* key : {"quality_mean", "quality_min", "angle_mean", "angle_min", "area_mean",
                            "area_min", "seconds"})
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
    EXPECT_EQ(run("mesh " + arg("ref.dat") + " " + arg("m.dat") + " --max-edge 1 --edge-factor 2"),
              2);
}
