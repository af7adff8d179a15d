#include "cli_fixture.h"

#include "graphs/graph_data.h"
#include "graphs/grp_io.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace tarvex;

using tarvex::test::quoted;
using tarvex::test::readAll;

/// The numbers of the JSON list that follows `key` (the first "[" after it, up to its "]").
std::vector<double> numbersAfter(const std::string& json, const std::string& key)
{
    std::size_t at = json.find(key);
    if (at == std::string::npos)
        return {};
    at = json.find('[', at);
    while (at < json.size() && json[at] == '[')
        ++at;
    const std::size_t end = json.find(']', at);
    std::vector<double> out;
    std::stringstream items(json.substr(at, end - at));
    for (std::string item; std::getline(items, item, ',');)
        out.push_back(std::strtod(item.c_str(), nullptr));
    return out;
}

class CliGraphs : public tarvex::test::CliFixture {
protected:
    void write(const std::string& name, const std::string& text)
    {
        std::ofstream(path(name), std::ios::binary) << text;
    }

    /// One period of 2·sin(3·2πx) in 200 pieces, twice as curve 1 and as curve 2 halved.
    std::string sineGraph()
    {
        const double pi = 4.0 * std::atan(1.0);
        std::vector<double> xs;
        std::vector<double> ys;
        for (int i = 0; i < 200; ++i) {
            const double a = i / 200.0;
            const double b = (i + 1) / 200.0;
            const double v = 2.0 * std::sin(3 * 2 * pi * (a + b) / 2);
            xs.insert(xs.end(), { a, b });
            ys.insert(ys.end(), { v, v });
        }
        graphs::GraphData data;
        data.title = "Densidade Fluxo sobre a Seção";
        data.xCaption = "distância (mm)";
        data.yCaption = "B (T)";
        data.addCurve(xs, ys, "B");
        const std::string file = path("sine.grp");
        EXPECT_TRUE(graphs::saveGrp(file, data));
        return file;
    }
};

TEST_F(CliGraphs, ConvertWritesTheAscTextOfAGraph)
{
    graphs::GraphData data;
    data.addCurve({ 0, 0.5 }, { 1, 2 }, "P");
    data.addCurve({ 0, 0.5 }, { -3, 4e-9 }, "Pt");
    ASSERT_TRUE(graphs::saveGrp(path("p.grp"), data));
    ASSERT_EQ(run("convert " + quoted(path("p.grp")) + " " + quoted(path("p.asc"))), 0) << err;
    EXPECT_EQ(readAll(path("p.asc")), "3  2\n0  1  -3  \n0.5  2  4e-09  \n");

    // Any other extension is replaced by "asc".
    ASSERT_EQ(run("convert " + quoted(path("p.grp")) + " " + quoted(path("q.txt"))), 0);
    EXPECT_TRUE(fs::exists(path("q.asc")));
    EXPECT_NE(err.find("q.asc"), std::string::npos);
}

TEST_F(CliGraphs, HarmonicsJsonOfAPureSineShowsItsOrder)
{
    const std::string grp = sineGraph();
    ASSERT_EQ(run("harmonics " + quoted(grp) + " --mode 0 --json"), 0) << err;
    EXPECT_NE(out.find("\"orders\":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15]"), std::string::npos)
        << out;
    const std::vector<double> sine = numbersAfter(out, "\"sine\":[[");
    ASSERT_EQ(sine.size(), 15u) << out;
    for (std::size_t k = 0; k < sine.size(); ++k)
        EXPECT_NEAR(sine[k], k == 2 ? 100.0 : 0.0, 0.01) << k;
    const std::vector<double> references = numbersAfter(out, "\"reference\":{\"sine\":");
    ASSERT_EQ(references.size(), 3u);
    EXPECT_NEAR(references[0], 2.0, 1e-3);
    EXPECT_EQ(references[2], references[0]);

    ASSERT_EQ(run("harmonics " + quoted(grp) + " --mode 5"), 0);
    EXPECT_NE(out.find("Termos em Seno, curva 1\n ordem normal \n"), std::string::npos);
    EXPECT_NE(out.find("  29  |   +0.000\n\n val. ref : 1        "), std::string::npos);
}

TEST_F(CliGraphs, HarmonicsRefusesAModeOutsideZeroToFive)
{
    const std::string grp = sineGraph();
    for (const char* mode : { "6", "-1", "1.5", "dois" })
        EXPECT_EQ(run("harmonics " + quoted(grp) + " --mode " + mode), 2) << mode;
    EXPECT_EQ(run("harmonics " + quoted(grp)), 2);
}

TEST_F(CliGraphs, PlotMatWritesTheMagnetisationOrCharacteristicCurve)
{
    write("ferro.mat", "3   2\n0 0\n100 1\n200 1.5\n");
    ASSERT_EQ(run("plot-mat " + quoted(path("ferro.mat")) + " " + quoted(path("b.grp"))), 0) << err;
    graphs::GraphData data;
    ASSERT_TRUE(graphs::openGrp(path("b.grp"), data));
    EXPECT_EQ(data.title, "Curva de Magnetização");
    ASSERT_EQ(data.curves.size(), 1u);
    EXPECT_EQ(data.curves[0].count(), 3u);
    EXPECT_EQ(data.curves[0].y(3), 1.5);

    ASSERT_EQ(
        run("plot-mat " + quoted(path("ferro.mat")) + " " + quoted(path("d.grp")) + " --electric"),
        0);
    ASSERT_TRUE(graphs::openGrp(path("d.grp"), data));
    EXPECT_EQ(data.title, "Curva Característica");
    EXPECT_EQ(data.yCaption, "D (C/m²)");
}

TEST_F(CliGraphs, PlotMatOfAShortFileFailsWithItsMessageAndWritesNothing)
{
    write("curto.mat", "3   2\n0 0\n100 1\n");
    EXPECT_EQ(run("plot-mat " + quoted(path("curto.mat")) + " " + quoted(path("c.grp"))), 1);
    EXPECT_NE(err.find("curto.mat:3:  Arquivo de materiais com menos pontos do que o informado !"),
        std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(path("c.grp")));
}

TEST_F(CliGraphs, InfoJsonOfMaterialsAndGraphFiles)
{
    write("ferro.mat", "2   2\n0 0\n100 1.25\n");
    ASSERT_EQ(run("info " + quoted(path("ferro.mat")) + " --json"), 0) << err;
    EXPECT_NE(out.find("\"points\":[[0,0],[100,1.25]]"), std::string::npos) << out;

    graphs::GraphData data;
    data.title = "Pressão";
    data.xCaption = "distância (mm)";
    data.yCaption = "P (N/m²)";
    data.addCurve({ 0, 1 }, { 2, 3 }, "P");
    data.addCurve({ 0, 1 }, { -2, 0.5 }, "Pt");
    ASSERT_TRUE(graphs::saveGrp(path("p.grp"), data));
    ASSERT_EQ(run("info " + quoted(path("p.grp")) + " --json"), 0) << err;
    for (const char* piece :
        { "\"title\":\"Pressão\"", "\"x_caption\":\"distância (mm)\"", "\"y_caption\":\"P (N/m²)\"",
            "\"names\":[\"P\",\"Pt\"]", "\"curves\":[[[0,2],[1,3]],[[0,-2],[1,0.5]]]" })
        EXPECT_NE(out.find(piece), std::string::npos) << piece << "\n" << out;
}

TEST_F(CliGraphs, DamagedOrMissingGraphsFailWithTheirMessages)
{
    write("old.grp", std::string("versao 01.00.01") + std::string(400, '\0'));
    EXPECT_EQ(run("info " + quoted(path("old.grp")) + " --json"), 1);
    EXPECT_NE(err.find(" Não é possível ler arquivo: erro de versão !"), std::string::npos);
    EXPECT_EQ(out, "");
    EXPECT_EQ(run("convert " + quoted(path("none.grp")) + " " + quoted(path("n.asc"))), 1);
    EXPECT_NE(err.find(" Não é possível abrir o arquivo !"), std::string::npos);
    EXPECT_FALSE(fs::exists(path("n.asc")));
}

} // namespace
