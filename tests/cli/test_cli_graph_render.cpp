#include "graphs/graph_data.h"
#include "graphs/grp_io.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& word)
{
    return "'" + word + "'";
}

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

/// Width and height from a PNG's IHDR chunk; zeros when the bytes are not a PNG.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::string& bytes)
{
    static const std::string Signature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.size() < 24 || bytes.compare(0, 8, Signature) != 0)
        return { 0, 0 };
    auto be32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    return { be32(16), be32(20) };
}

class CliGraphRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(::testing::TempDir())
            / ("tarvex_graph_render_"
                + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }

    int run(const std::string& args)
    {
        const std::string err = path("stderr.txt");
        const std::string command
            = quoted(TARVEX_CLI) + " " + args + " >/dev/null 2>" + quoted(err);
        const int status = std::system(command.c_str());
        m_err = readAll(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path m_dir;
    std::string m_err;
};

TEST_F(CliGraphRender, PaintsAGraphAtTheRequestedSizeAndRefusesAnUnreadableOne)
{
    tarvex::graphs::GraphData data;
    data.title = "Campo sobre a Seção";
    data.addCurve({ 0.0, 1.0, 2.0 }, { 0.0, 3.0, 1.0 }, "E");
    data.addCurve({ 0.0, 1.0, 2.0 }, { 1.0, 1.5, 2.0 }, "Et");
    ASSERT_TRUE(tarvex::graphs::saveGrp(path("campo.grp"), data).ok);

    ASSERT_EQ(run("render " + quoted(path("campo.grp")) + " " + quoted(path("campo.png"))
                  + " --size 640x480"),
        0)
        << m_err;
    EXPECT_EQ(pngSize(readAll(path("campo.png"))),
        (std::pair<std::uint32_t, std::uint32_t> { 640, 480 }));

    // Two different graphs give two different pictures.
    data.curves[0].y(2) = -3.0;
    ASSERT_TRUE(tarvex::graphs::saveGrp(path("outro.grp"), data).ok);
    ASSERT_EQ(run("render " + quoted(path("outro.grp")) + " " + quoted(path("outro.png"))
                  + " --size 640x480"),
        0);
    EXPECT_NE(readAll(path("outro.png")), readAll(path("campo.png")));

    std::ofstream(path("velho.grp"), std::ios::binary)
        << std::string("versao 01.00.01") + std::string(300, '\0');
    EXPECT_EQ(run("render " + quoted(path("velho.grp")) + " " + quoted(path("velho.png"))), 1);
    EXPECT_NE(m_err.find("erro de versão"), std::string::npos) << m_err;
    EXPECT_FALSE(fs::exists(path("velho.png")));
}

} // namespace
