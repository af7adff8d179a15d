#include "cli_fixture.h"

#include "graphs/graph_data.h"
#include "graphs/grp_io.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

using namespace tarvex::test;

class CliPaths : public CliFixture {
protected:
    /// The reference drawing as an electric problem: the disc an electrode at 10 kV (its arc
    /// carries the potential), the outer contour at 0, oil around the disc.
    void SetUp() override
    {
        CliFixture::SetUp();
        exportReference();
        ASSERT_EQ(run("edit " + arg("ref.dat") + " " + arg("ed.dat")
                      + " --analysis electric --outer-potential 0 --segment-potential 60,70 10000"
                        " --region 100,20 eps_r=2.2 --region 100,80 eps_r=2.2"),
            0)
            << err;
        ASSERT_EQ(run("mesh " + arg("ed.dat") + " " + arg("m.dat") + " --max-edge 5"), 0) << err;
        ASSERT_EQ(run("export-msh " + arg("m.dat") + " " + arg("raw.msh")), 0) << err;
        ASSERT_EQ(run("solve " + arg("raw.msh") + " " + arg("s.msh") + " --linear"), 0) << err;
    }
};

TEST_F(CliPaths, CriticalPathFromTheDiscToTheOuterContour)
{
    ASSERT_EQ(run("eval " + arg("s.msh") + " critical-path 60 69 60 101 --json --grp "
                  + arg("p.grp") + " --fs-grp " + arg("f.grp")),
        0)
        << err;
    const std::string keys[] = { "\"min_safety_factor\":", "\"distance\":", "\"point\":[",
        "\"length\":", "\"segments\":",
        "\"report\":\"Fator de Segurança"
        " Mínimo: " };
    std::size_t at = 0;
    for (const std::string& k : keys) {
        const std::size_t found = out.find(k);
        ASSERT_NE(found, std::string::npos) << k << " in " << out;
        EXPECT_GT(found, at) << "keys in order";
        at = found;
    }
    // From the top of the disc (y = 70) up to the top of the box.
    const double length = std::stod(out.substr(out.find("\"length\":") + 9));
    EXPECT_GT(length, 29.0);
    EXPECT_LT(length, 32.0);

    tarvex::graphs::GraphData graph, fs;
    ASSERT_TRUE(tarvex::graphs::openGrp(path("p.grp").string(), graph));
    EXPECT_EQ(graph.title, "Campo sobre Caminho");
    EXPECT_EQ(graph.curves.size(), 3u);
    ASSERT_TRUE(tarvex::graphs::openGrp(path("f.grp").string(), fs));
    EXPECT_EQ(fs.title, "Fator de Segurança sobre o Caminho (%)");

    // Without --json the report alone.
    ASSERT_EQ(run("eval " + arg("s.msh") + " critical-path 60 69 60 101"), 0) << err;
    EXPECT_EQ(out.rfind("Fator de Segurança Mínimo: ", 0), 0u) << out;
}

TEST_F(CliPaths, RefusalsGoToStderr)
{
    EXPECT_EQ(run("eval " + arg("s.msh") + " critical-path 10 -1 190 -1"), 1);
    EXPECT_NE(err.find(" Segmentos indicados possuem o mesmo potencial. Cálculo Cancelado !"),
        std::string::npos)
        << err;
    EXPECT_EQ(run("eval " + arg("raw.msh") + " critical-path 60 69 60 101"), 1);
    EXPECT_NE(err.find("Impossível Calcular Curvas ! Não há dados de Cálculo."), std::string::npos);
    EXPECT_EQ(run("eval " + arg("s.msh") + " creepage 80 50 120 65"), 1);
    EXPECT_NE(err.find(" Erro na indicação dos segmentos. Deve ser indicado um caminho contínuo !"),
        std::string::npos);
    EXPECT_EQ(run("eval " + arg("s.msh") + " creepage 80 50 120"), 2);
    EXPECT_EQ(run("eval " + arg("s.msh") + " critical-path 1 2 3 4 --creepage-curve x.mat"), 2);
}

TEST_F(CliPaths, CreepageAlongTheLinkWithAUserCurve)
{
    {
        std::ofstream curve(path("creep.mat"));
        curve << "2 2\n1 3e7\n100 1e7\n";
    }
    ASSERT_EQ(run("eval " + arg("s.msh") + " creepage 80 50 120 50 120 65 --json --creepage-curve "
                  + arg("creep.mat")),
        0)
        << err;
    EXPECT_NE(out.find("\"length\":55,"), std::string::npos) << out;
    EXPECT_NE(out.find("Campo admissível: curva de creep.mat"), std::string::npos) << out;
}

} // namespace
