#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace tarvex::test;

using CliDraw = CliFixture;

/// The entries of the "regions" list of `info FILE.dat --json`.
int regionCount(const std::string& json)
{
    int count = 0;
    for (std::size_t at = json.find("{\"segments\":"); at != std::string::npos;
         at = json.find("{\"segments\":", at + 1))
        ++count;
    return count;
}

TEST_F(CliDraw, ADrawingMadeOnlyByDrawExportsToTheExpectedRegions)
{
    // One square, copied twice to the right by selecting it with a frame: three cells in a row,
    // sharing their inner sides (the duplicate sides are merged by the export).
    ASSERT_EQ(run("draw new " + arg("row.des")
                  + " --rect 0,0,10,10 --select-frame -1,-1,11,11 --reproduce 10,0,2"),
        0)
        << err;
    ASSERT_EQ(run("info " + arg("row.des") + " --json"), 0) << err;
    EXPECT_NE(out.find("\"scale\":1000"), std::string::npos) << out;
    EXPECT_NE(out.find("\"segments\":12"), std::string::npos) << out;
    EXPECT_NE(out.find("\"points\":20"), std::string::npos) << out;

    ASSERT_EQ(run("export " + arg("row.des") + " " + arg("row.dat")), 0) << err;
    ASSERT_EQ(run("info " + arg("row.dat") + " --json"), 0) << err;
    EXPECT_EQ(regionCount(out), 4) << out; // outer contour + 3 cells
    EXPECT_NE(out.find(",30.9,-0.3,10.3]"), std::string::npos) << out; // 3 % margins

    // A circle inside the first cell, joined to nothing: its disc and its own outer contour.
    ASSERT_EQ(
        run("draw " + arg("row.des") + " " + arg("disc.des") + " --circle 5,5,2 --scale 100"), 0)
        << err;
    ASSERT_EQ(run("export " + arg("disc.des") + " " + arg("disc.dat")), 0) << err;
    ASSERT_EQ(run("info " + arg("disc.dat") + " --json"), 0) << err;
    EXPECT_EQ(regionCount(out), 6) << out;
    EXPECT_NE(out.find("\"scale\":100"), std::string::npos) << out;
}

TEST_F(CliDraw, ARefusedCommandSaysWhyAndWritesNothing)
{
    // The corner of the rectangle joins two sides.
    EXPECT_EQ(run("draw new " + arg("a.des") + " --rect 0,0,1,1 --delete-point 0,0"), 1);
    EXPECT_NE(
        err.find("Pontos que conectam segmentos não podem sem excluidos !"), std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(path("a.des")));

    EXPECT_EQ(run("draw new " + arg("b.des") + " --circle 0,0,0"), 1);
    EXPECT_NE(err.find(" Raio não pode ser zero !"), std::string::npos) << err;
    EXPECT_EQ(run("draw new " + arg("b.des") + " --reproduce 1,0,3"), 1);
    EXPECT_NE(
        err.find("Não há segmentos ou arcos selecionados para reproduzir !"), std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(path("b.des")));

    // An argument problem is a usage error, not a refusal.
    EXPECT_EQ(run("draw new " + arg("c.des") + " --line 0,0,1"), 2);
    EXPECT_FALSE(fs::exists(path("c.des")));
}

TEST_F(CliDraw, SelectionsDeletionAndMovesWorkOnTheSnappedEntities)
{
    // A free point is deleted; a segment picked near its middle is deleted, its points stay.
    ASSERT_EQ(run("draw new " + arg("d.des") + " --line 0,0,10,0 --point 50,50 --delete-point 49,49"
                  + " --select-segment 5,0.1 --delete-selected"),
        0)
        << err;
    ASSERT_EQ(run("info " + arg("d.des") + " --json"), 0) << err;
    EXPECT_NE(out.find("\"points\":2"), std::string::npos) << out;
    EXPECT_NE(out.find("\"segments\":0"), std::string::npos) << out;

    // A polar move of a selected segment adds its copy turned by 90° about the origin.
    ASSERT_EQ(run("draw new " + arg("e.des")
                  + " --line 1,0,2,0 --select-segment 1.5,0 --move-polar 0,90"),
        0)
        << err;
    ASSERT_EQ(run("info " + arg("e.des") + " --json"), 0) << err;
    EXPECT_NE(out.find("\"segments\":2"), std::string::npos) << out;
    EXPECT_NE(out.find("\"y_max\":2"), std::string::npos) << out;
}

TEST_F(CliDraw, ArgumentProblemsNameTheOperationAboveTheUsage)
{
    struct Case {
        const char* ops;
        const char* first;
    };
    for (const Case& c : { Case { "--line 0,0,1", "expected 4 numbers for --line" },
             Case { "--point 1,2,3", "bad number list for --point: 1,2,3" },
             Case { "--circle 0 0,x", "bad number list for --circle: 0,x" },
             Case { "--reproduce 1,0,2.5", "N must be a whole number" },
             Case { "--frobnicate", "unknown operation: --frobnicate" } }) {
        EXPECT_EQ(run("draw new " + arg("u.des") + " " + c.ops), 2) << c.ops;
        EXPECT_EQ(err.rfind(std::string(c.first) + "\nusage: tarvex-cli draw ", 0), 0u)
            << c.ops << ": " << err;
        EXPECT_FALSE(fs::exists(path("u.des"))) << c.ops;
    }
}

} // namespace
