#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace tarvex::test;

class CliNames : public CliFixture {
protected:
    static std::string reference()
    {
        return quoted(std::string(TARVEX_TEST_DATA) + "/reference.pre");
    }
    /// The JSON text of the index-th region object of an `info --json` answer.
    static std::string region(const std::string& json, int index)
    {
        std::size_t at = json.find("\"regions\":[");
        for (int i = 0; i <= index && at != std::string::npos; ++i)
            at = json.find('{', at + 1);
        if (at == std::string::npos)
            return {};
        return json.substr(at, json.find('}', at) - at + 1);
    }
};

TEST_F(CliNames, ExportDatIsTheVerbAndExportStaysItsAlias)
{
    ASSERT_EQ(run("export-dat " + reference() + " " + arg("new.dat")), 0) << err;
    ASSERT_EQ(run("export " + reference() + " " + arg("old.dat")), 0) << err;
    EXPECT_FALSE(bytes("new.dat").empty());
    EXPECT_TRUE(bytes("new.dat") == bytes("old.dat"));
    EXPECT_EQ(run("export-dat " + reference()), 2);
    EXPECT_NE(err.find("export-dat"), std::string::npos) << err;
}

TEST_F(CliNames, InfoListsTheRegionsWithTheirValuesInProblemOrder)
{
    ASSERT_EQ(run("export-dat " + reference() + " " + arg("ref.dat")), 0) << err;
    // The rectangle gets a source and conductivity, the circle a material file and becomes
    // special; the outer air stays as exported.
    ASSERT_EQ(run("edit " + arg("ref.dat") + " " + arg("edited.dat")
                  + " --region 140,50 J=2.5 sigma=3.5e7 mu_r=4 brx=0.5 bry=-0.25 brt=1 brr=2"
                  + " --region 60,50 linear=0 'mat=Projetos/Transformação/aço.mat'"
                  + " --special-region 60,50"),
        0)
        << err;
    ASSERT_EQ(run("info " + arg("edited.dat") + " --json"), 0) << err;

    const std::string outer = region(out, 0);
    EXPECT_NE(outer.find("\"segments\":5,\"arcs\":0"), std::string::npos) << outer;
    EXPECT_NE(outer.find("\"special\":false"), std::string::npos) << outer;

    std::string rectangle, circle;
    for (int i = 0; i < 4; ++i) {
        const std::string r = region(out, i);
        if (r.find("\"J\":2.5") != std::string::npos)
            rectangle = r;
        if (r.find("\"arcs\":2") != std::string::npos)
            circle = r;
    }
    ASSERT_FALSE(rectangle.empty()) << out;
    EXPECT_NE(rectangle.find("\"mu_r\":4,\"eps_r\":1,\"J\":2.5,\"rho\":0,\"sigma\":35000000,"
                             "\"brx\":0.5,\"bry\":-0.25,\"brt\":1,\"brr\":2,\"linear\":1,"
                             "\"material\":\"\",\"special\":false"),
        std::string::npos)
        << rectangle;
    ASSERT_FALSE(circle.empty()) << out;
    EXPECT_NE(circle.find("\"linear\":0,\"material\":\"Projetos/Transformação/aço.mat\","
                          "\"special\":true"),
        std::string::npos)
        << circle;
    EXPECT_TRUE(region(out, 4).empty()) << out;
    EXPECT_NE(out.find("\"triangles\":0,\"nodes\":0,"), std::string::npos) << out;
    EXPECT_NE(out.find("\"mesh_edge\":0,"), std::string::npos) << out;

    // After meshing, the nodes are counted from the triangles and the mesh's edge is known.
    ASSERT_EQ(run("mesh " + arg("edited.dat") + " " + arg("mesh.dat") + " --max-edge 10 --json"), 0)
        << err;
    const std::string nodes = out.substr(out.find("\"nodes\":"));
    ASSERT_EQ(run("info " + arg("mesh.dat") + " --json"), 0) << err;
    EXPECT_NE(out.find(nodes.substr(0, nodes.find(','))), std::string::npos) << out << nodes;
    EXPECT_EQ(out.find("\"mesh_edge\":0,"), std::string::npos) << out;
}

TEST_F(CliNames, ConvertWritesAProblemAsTheViewSavesIt)
{
    ASSERT_EQ(run("export-dat " + reference() + " " + arg("exported.dat")), 0) << err;
    ASSERT_EQ(run("convert " + arg("exported.dat") + " " + arg("saved.dat")), 0) << err;
    // The export writes the older version; a save writes the current one, and saving again
    // changes nothing.
    ASSERT_EQ(run("info " + arg("saved.dat") + " --json"), 0) << err;
    EXPECT_NE(out.find("\"version\":\"versao 01.00.01\""), std::string::npos) << out;
    // A load reverses the lists the file does not store backwards, as the program's own
    // load and save do, so two round trips give the same bytes back.
    ASSERT_EQ(run("convert " + arg("saved.dat") + " " + arg("again.dat")), 0) << err;
    ASSERT_EQ(run("convert " + arg("again.dat") + " " + arg("twice.dat")), 0) << err;
    EXPECT_TRUE(bytes("saved.dat") == bytes("twice.dat"));
    EXPECT_TRUE(bytes("saved.dat").size() == bytes("again.dat").size());

    // A file that is not problem data leaves the target alone.
    std::ofstream(path("bad.dat"), std::ios::binary) << "versao 01.00.01";
    EXPECT_NE(run("convert " + arg("bad.dat") + " " + arg("twice.dat")), 0);
    EXPECT_TRUE(bytes("saved.dat") == bytes("twice.dat"));
    EXPECT_EQ(run("convert " + arg("saved.dat") + " " + arg("saved.msh")), 2);
    EXPECT_FALSE(fs::exists(path("saved.msh")));
}

TEST_F(CliNames, VersionIsPrinted)
{
    ASSERT_EQ(run("--version"), 0) << err;
    EXPECT_EQ(out, "tarvex-cli 1.8\n");
}

TEST_F(CliNames, PathsWithSpacesAndAccentsWorkThroughTheChain)
{
    const fs::path folder = path("Projetos/Transformação de força");
    fs::create_directories(folder);
    const std::string pre = quoted((folder / "núcleo em C.pre").string());
    fs::copy_file(std::string(TARVEX_TEST_DATA) + "/reference.pre", folder / "núcleo em C.pre");
    const std::string des = quoted((folder / "núcleo em C.des").string());
    const std::string dat = quoted((folder / "núcleo em C.dat").string());
    const std::string meshed = quoted((folder / "malha ç.dat").string());
    const std::string msh = quoted((folder / "solução.msh").string());
    const std::string png = quoted((folder / "região.png").string());
    ASSERT_EQ(run("convert " + pre + " " + des), 0) << err;
    ASSERT_EQ(run("export-dat " + des + " " + dat), 0) << err;
    ASSERT_EQ(run("edit " + dat + " " + meshed + " --outer-potential 0 --region 140,50 J=1"), 0)
        << err;
    ASSERT_EQ(run("mesh " + meshed + " " + meshed + " --max-edge 10"), 0) << err;
    ASSERT_EQ(run("export-msh " + meshed + " " + msh), 0) << err;
    ASSERT_EQ(run("solve " + msh + " " + msh + " --linear"), 0) << err;
    ASSERT_EQ(run("render " + msh + " " + png + " --size 120x80"), 0) << err;
    EXPECT_TRUE(fs::exists(folder / "região.png"));
    // A failure names the file as it was given.
    EXPECT_NE(run("info " + quoted((folder / "não existe.dat").string())), 0);
    EXPECT_NE(err.find("não existe.dat"), std::string::npos) << err;
}

TEST_F(CliNames, EveryReadmeExampleRunsAsWritten)
{
    const std::string root = std::string(TARVEX_TEST_DATA) + "/../..";
    const std::string command = quoted(root + "/scripts/check-readme-examples") + " "
        + quoted(TARVEX_CLI) + " >" + arg("stdout.txt") + " 2>" + arg("stderr.txt");
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << readAll(path("stderr.txt"));
}

} // namespace
