#include "cli_fixture.h"

#include "graphs/graph_data.h"
#include "graphs/grp_io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace tarvex::test;

std::uint32_t le32(const std::string& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

bool isPng(const std::string& b)
{
    return b.size() > 100 && b.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
}
bool isPdf(const std::string& b)
{
    return b.size() > 500 && b.compare(0, 5, "%PDF-") == 0 && b.find("%%EOF") != std::string::npos;
}
bool isSvg(const std::string& b)
{
    return b.size() > 200 && b.find("<svg") != std::string::npos
        && b.find("</svg>") != std::string::npos;
}
/// An enhanced metafile: the header record with its signature and a size that matches the file.
bool isEmf(const std::string& b)
{
    return b.size() > 128 && le32(b, 0) == 1 && le32(b, 40) == 0x464D4520u
        && le32(b, 48) == b.size() && le32(b, b.size() - 20) == 14;
}

/// The first of the given programs that the shell finds, or "".
std::string firstTool(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        const std::string probe = std::string("command -v ") + name + " >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0)
            return name;
    }
    return {};
}

using CliRenderFormats = CliFixture;

} // namespace

TEST_F(CliRenderFormats, ResultsPictureInEveryFormatByTheExtension)
{
    makeSolvedReference();
    for (const char* name : { "e.png", "e.svg", "e.pdf", "e.emf", "E.SVG" })
        ASSERT_EQ(run("render " + arg("s.msh") + " " + arg(name) + " --mode equipotentials"), 0)
            << name << ": " << err;
    EXPECT_TRUE(isPng(bytes("e.png")));
    EXPECT_TRUE(isSvg(bytes("e.svg")));
    EXPECT_TRUE(isSvg(bytes("E.SVG")));
    EXPECT_TRUE(isPdf(bytes("e.pdf")));
    EXPECT_TRUE(isEmf(bytes("e.emf")));
    // Vector formats keep the lines as lines: the equipotentials are many path elements.
    EXPECT_GT(bytes("e.svg").size(), 10000u);

    // The metafile's mesh mode writes every triangle: far larger than the regions alone.
    ASSERT_EQ(run("render " + arg("s.msh") + " " + arg("r.emf")), 0) << err;
    ASSERT_EQ(run("render " + arg("s.msh") + " " + arg("m.emf") + " --mode mesh"), 0) << err;
    EXPECT_TRUE(isEmf(bytes("r.emf")));
    EXPECT_GT(bytes("m.emf").size(), 4 * bytes("r.emf").size());
    ASSERT_EQ(run("render " + arg("s.msh") + " " + arg("b.emf") + " --map B"), 0) << err;
    EXPECT_TRUE(isEmf(bytes("b.emf")));
}

TEST_F(CliRenderFormats, OtherDocumentsInVectorFormatsAndRefusals)
{
    const std::string pre = quoted(std::string(TARVEX_TEST_DATA) + "/reference.pre");
    ASSERT_EQ(run("render " + pre + " " + arg("d.svg")), 0) << err;
    ASSERT_EQ(run("render " + pre + " " + arg("d.pdf") + " --size 300x200"), 0) << err;
    EXPECT_TRUE(isSvg(bytes("d.svg")));
    EXPECT_TRUE(isPdf(bytes("d.pdf")));
    ASSERT_EQ(run("export " + pre + " " + arg("ref.dat")), 0) << err;
    ASSERT_EQ(run("render " + arg("ref.dat") + " " + arg("p.pdf")), 0) << err;
    EXPECT_TRUE(isPdf(bytes("p.pdf")));

    tarvex::graphs::GraphData data;
    data.title = "Campo sobre a Seção";
    data.addCurve({ 0.0, 1.0, 2.0 }, { 0.0, 3.0, 1.0 }, "E");
    ASSERT_TRUE(tarvex::graphs::saveGrp(path("g.grp").string(), data).ok);
    ASSERT_EQ(run("render " + arg("g.grp") + " " + arg("g.svg")), 0) << err;
    EXPECT_TRUE(isSvg(bytes("g.svg")));
    EXPECT_NE(bytes("g.svg").find("Campo sobre a Se"), std::string::npos);

    // A metafile belongs to results only; an unknown extension is refused before anything is
    // read, and neither leaves a file.
    EXPECT_NE(run("render " + pre + " " + arg("d.emf")), 0);
    EXPECT_NE(err.find("somente para resultados"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("d.emf")));
    EXPECT_NE(run("render " + pre + " " + arg("d.jpg")), 0);
    EXPECT_NE(err.find("Formato de imagem desconhecido"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("d.jpg")));
}

/// An independent reader must accept the metafile: it is converted to PNG by a vector-graphics
/// program when one is installed (not a dependency of the build).
TEST_F(CliRenderFormats, MetafileIsReadByAnIndependentConsumer)
{
    const std::string tool = firstTool({ "inkscape", "soffice", "libreoffice" });
    if (tool.empty())
        GTEST_SKIP() << "no metafile consumer installed";
    makeSolvedReference();
    ASSERT_EQ(run("render " + arg("s.msh") + " " + arg("e.emf") + " --mode equipotentials"), 0)
        << err;
    std::string command;
    if (tool == "inkscape")
        command = "inkscape " + arg("e.emf")
            + " --export-type=png --export-filename=" + arg("e.png") + " >/dev/null 2>&1";
    else
        command = tool + " --headless --convert-to png --outdir " + quoted(m_dir.string()) + " "
            + arg("e.emf") + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::string png = bytes("e.png");
    ASSERT_TRUE(isPng(png));
    // A picture with content: a blank PNG compresses to almost nothing.
    const auto be32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    EXPECT_GT(be32(16), 0u);
    EXPECT_GT(be32(20), 0u);
    EXPECT_GT(png.size(), 3000u);
    if (const char* keep = std::getenv("TARVEX_KEEP_EMF_PNG"))
        fs::copy_file(path("e.png"), keep, fs::copy_options::overwrite_existing);
}
