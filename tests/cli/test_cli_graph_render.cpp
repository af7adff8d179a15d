#include "cli_fixture.h"

#include "graphs/graph_data.h"
#include "graphs/grp_io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

using tarvex::test::quoted;
using tarvex::test::readAll;

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

using CliGraphRender = tarvex::test::CliFixture;

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
        << err;
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
    EXPECT_NE(err.find("erro de versão"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("velho.png")));
}

} // namespace
