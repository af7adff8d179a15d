#include "cli_fixture.h"

#include "common/messages.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"

#include <string>

namespace {

namespace fs = std::filesystem;
using tarvex::test::CliFixture;
using namespace tarvex;

class CliArrangement : public CliFixture { };

TEST_F(CliArrangement, WritesTheDrawingOfTheDimensionsGiven)
{
    ASSERT_EQ(run("arrangement 3 " + arg("t3.des") + " a=120 r1=0 r2=5"), 0) << err;
    geometry::DrawingData drawing;
    ASSERT_TRUE(geometry::openDrawing(path("t3.des").string(), "des", drawing));
    EXPECT_EQ(drawing.pontos.size(), 14u);
    EXPECT_EQ(drawing.segmentos.size(), 12u);
    EXPECT_EQ(drawing.arcos.size(), 2u);
    // R7 = (a, 0) with the a given (a load reverses the list order written, so R7 is 8th).
    EXPECT_EQ(drawing.pontos.at(7), (geometry::Ponto { 120, 0 }));
    // R6 = (a + b, 0): b keeps the form's initial value, 80.
    EXPECT_EQ(drawing.pontos.at(6), (geometry::Ponto { 200, 0 }));

    // The drawing exports into the arrangement's regions.
    ASSERT_EQ(run("export " + arg("t3.des") + " " + arg("t3.dat")), 0) << err;
    EXPECT_NE(err.find("4 regions"), std::string::npos) << err;
}

TEST_F(CliArrangement, RefusalPrintsTheMessageAndWritesNoFile)
{
    EXPECT_EQ(run("arrangement 1 " + arg("t1.des") + " a=0 r=-1"), 1);
    EXPECT_EQ(err, std::string(msg::ArranjoNegativo) + "\n");
    EXPECT_EQ(run("arrangement 1 " + arg("t1.des") + " b=20 r=10.5"), 1);
    EXPECT_EQ(err, std::string(msg::Arranjo1_bMenor2r) + "\n");
    // Beyond the range of the form's floats.
    EXPECT_EQ(run("arrangement 2 " + arg("t1.des") + " h=1e39"), 1);
    EXPECT_EQ(err, std::string(msg::ArranjoValorInvalido) + "\n");
    EXPECT_FALSE(fs::exists(path("t1.des")));
}

TEST_F(CliArrangement, UnknownLettersAndNumbersAreUsageErrors)
{
    EXPECT_EQ(run("arrangement 5 " + arg("x.des")), 2);
    EXPECT_EQ(run("arrangement 1 " + arg("x.des") + " r1=3"), 2);
    EXPECT_NE(err.find("a b c d r"), std::string::npos) << err;
    EXPECT_EQ(run("arrangement 4 " + arg("x.des") + " a=wide"), 2);
    EXPECT_EQ(run("arrangement 4 " + arg("x.des") + " --size 10x10"), 2);
    EXPECT_FALSE(fs::exists(path("x.des")));
}

TEST_F(CliArrangement, PictureIsAPng)
{
    ASSERT_EQ(
        run("arrangement 2 " + arg("t2.des") + " --picture " + arg("t2.png") + " --size 300x200"),
        0)
        << err;
    const std::string png = bytes("t2.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_TRUE(fs::exists(path("t2.des")));
}

} // namespace
