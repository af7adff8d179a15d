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

/// Runs tarvex-cli with `args` (already quoted), stderr to `errPath`; returns its exit status.
int runCli(const std::string& args, const fs::path& errPath)
{
    const std::string command
        = quoted(TARVEX_CLI) + " " + args + " >/dev/null 2>" + quoted(errPath.string());
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

struct PngSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

/// Width and height from the IHDR chunk; false when the bytes are not a PNG.
bool pngSize(const std::string& bytes, PngSize& out)
{
    static const std::string Signature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.size() < 24 || bytes.compare(0, 8, Signature) != 0
        || bytes.compare(12, 4, "IHDR") != 0)
        return false;
    auto be32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    out = { be32(16), be32(20) };
    return true;
}

class CliRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(::testing::TempDir())
            / ("tarvex_render_"
                + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path path(const std::string& name) const { return m_dir / name; }
    std::string reference() const
    {
        return quoted(std::string(TARVEX_TEST_DATA) + "/reference.pre");
    }

    fs::path m_dir;
};

TEST_F(CliRender, WritesAPngOfTheRequestedSizeThatShowsTheDrawing)
{
    const fs::path png = path("reference.png");
    ASSERT_EQ(runCli("render " + reference() + " " + quoted(png.string()) + " --size 320x200",
                  path("err.txt")),
        0)
        << readAll(path("err.txt"));
    const std::string bytes = readAll(png);
    PngSize size;
    ASSERT_TRUE(pngSize(bytes, size));
    EXPECT_EQ(size.width, 320u);
    EXPECT_EQ(size.height, 200u);

    // The encoder is deterministic, so a picture with anything drawn on it cannot have the bytes
    // of the all-black picture of an empty drawing of the same size.
    {
        std::ofstream empty(path("empty.pre"));
        empty << "1000\nfim\nfim\nfim\n";
    }
    const fs::path blank = path("empty.png");
    ASSERT_EQ(runCli("render " + quoted(path("empty.pre").string()) + " " + quoted(blank.string())
                      + " --size 320x200",
                  path("err.txt")),
        0);
    const std::string blankBytes = readAll(blank);
    ASSERT_TRUE(pngSize(blankBytes, size));
    EXPECT_NE(bytes, blankBytes);
    EXPECT_GT(bytes.size(), blankBytes.size());
}

TEST_F(CliRender, DefaultsTo800By600)
{
    const fs::path png = path("default.png");
    ASSERT_EQ(runCli("render " + reference() + " " + quoted(png.string()), path("err.txt")), 0);
    PngSize size;
    ASSERT_TRUE(pngSize(readAll(png), size));
    EXPECT_EQ(size.width, 800u);
    EXPECT_EQ(size.height, 600u);
}

TEST_F(CliRender, MissingInputFailsWithItsMessageAndWritesNothing)
{
    const fs::path missing = path("missing.des");
    const fs::path png = path("out.png");
    EXPECT_EQ(
        runCli("render " + quoted(missing.string()) + " " + quoted(png.string()), path("err.txt")),
        1);
    EXPECT_FALSE(fs::exists(png));
    const std::string err = readAll(path("err.txt"));
    EXPECT_NE(err.find(missing.string()), std::string::npos) << err;
    EXPECT_NE(err.find(" Não é possível abrir o arquivo !"), std::string::npos) << err;
}

TEST_F(CliRender, RefusesBadArgumentsWithoutWriting)
{
    const fs::path png = path("out.png");
    const std::string toPng = " " + quoted(png.string());
    for (const std::string& args :
        { "render " + reference(), "render " + reference() + toPng + " --size 0x10",
            "render " + reference() + toPng + " --size 10by10",
            "render " + reference() + toPng + " --size",
            "render " + quoted(path("drawing.txt").string()) + toPng }) {
        EXPECT_NE(runCli(args, path("err.txt")), 0) << args;
        EXPECT_FALSE(readAll(path("err.txt")).empty()) << args;
        EXPECT_FALSE(fs::exists(png)) << args;
    }
}

} // namespace
