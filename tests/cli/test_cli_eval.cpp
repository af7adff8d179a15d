#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace tarvex::test;

bool hasKey(const std::string& json, const std::string& key)
{
    return json.find("\"" + key + "\":") != std::string::npos;
}

class CliEval : public CliFixture {
protected:
    /// The reference drawing meshed with the outer contour at 0, a source in the rectangle and the
    /// extra `edits`; solved by `solveArgs` into `name` (not solved when empty).
    void makeModel(const std::string& name, const std::string& edits, const std::string& solveArgs)
    {
        makeReferenceModel(edits, "--max-edge 5", "raw.msh");
        if (HasFatalFailure() || solveArgs.empty())
            return;
        ASSERT_EQ(run("solve " + arg("raw.msh") + " " + arg(name) + " " + solveArgs), 0) << err;
    }
    void magnetic() { makeModel("s.msh", "--region 140,40 J=1", "--linear"); }
};

} // namespace

TEST_F(CliEval, PointValuesOfAMagneticModel)
{
    magnetic();
    ASSERT_EQ(run("eval " + arg("s.msh") + " point 60 20 --json"), 0) << err;
    for (const char* key :
        { "potential", "Bx", "By", "B", "Hx", "Hy", "H", "Fx", "Fy", "F", "mu_r" })
        EXPECT_TRUE(hasKey(out, key)) << key << " " << out;
    EXPECT_FALSE(hasKey(out, "Dx"));
    EXPECT_FALSE(hasKey(out, "J"));
    const double b = jsonNumber(out, "B");
    EXPECT_GT(b, 0.0);
    EXPECT_NEAR(std::hypot(jsonNumber(out, "Bx"), jsonNumber(out, "By")), b, 1e-9 * b);
    EXPECT_NEAR(jsonNumber(out, "H"), b / (4e-7 * M_PI), 1e-6 * jsonNumber(out, "H"));
    EXPECT_DOUBLE_EQ(jsonNumber(out, "mu_r"), 1.0);
    const std::string cartesian = out;

    // The same point typed as R and T: the components become tangential and radial.
    const double r = std::hypot(60.0, 20.0);
    const double t = std::atan2(20.0, 60.0) * 180.0 / M_PI;
    ASSERT_EQ(run("eval " + arg("s.msh") + " point " + std::to_string(r) + " " + std::to_string(t)
                  + " --rt --json"),
        0)
        << err;
    EXPECT_TRUE(hasKey(out, "Bt") && hasKey(out, "Br") && hasKey(out, "Ht") && hasKey(out, "Fr"));
    EXPECT_FALSE(hasKey(out, "Bx"));
    EXPECT_NEAR(jsonNumber(out, "B"), b, 1e-6 * b);
    EXPECT_NEAR(std::hypot(jsonNumber(out, "Bt"), jsonNumber(out, "Br")), b, 1e-6 * b);
    EXPECT_NEAR(jsonNumber(out, "potential"), jsonNumber(cartesian, "potential"), 1e-9);

    // The dialog's texts.
    ASSERT_EQ(run("eval " + arg("s.msh") + " point 60 20"), 0) << err;
    EXPECT_EQ(out.rfind("Bx (T): ", 0), 0u) << out;
    EXPECT_NE(out.find("\n||H|| (A/m): "), std::string::npos);
    EXPECT_NE(out.find("\nperm. relativa : 1           \n"), std::string::npos) << out;
}

TEST_F(CliEval, PointOutsideTheMeshAndBadArguments)
{
    magnetic();
    EXPECT_EQ(run("eval " + arg("s.msh") + " point 500 50 --json"), 1);
    EXPECT_NE(err.find("Ponto fora do domínio"), std::string::npos) << err;
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(run("eval " + arg("s.msh") + " flux 10 10 500 50"), 1);
    EXPECT_EQ(run("eval " + arg("s.msh") + " point 60"), 2);
    EXPECT_EQ(run("eval " + arg("s.msh") + " point 60 abc"), 2);
    EXPECT_EQ(run("eval " + arg("s.msh") + " area 1 2"), 2);
    // A model never calculated holds numbering data, not potentials.
    EXPECT_EQ(run("eval " + arg("raw.msh") + " point 60 20"), 1);
    EXPECT_NE(
        err.find("Impossível calcular valores ! Não há dados de Cálculo."), std::string::npos);
}

TEST_F(CliEval, FluxBetweenTwoPoints)
{
    magnetic();
    ASSERT_EQ(run("eval " + arg("s.msh") + " flux 10 10 140 50 --json"), 0) << err;
    const double flux = jsonNumber(out, "flux");
    EXPECT_NE(flux, 0.0);
    ASSERT_EQ(run("eval " + arg("s.msh") + " flux 140 50 10 10 --json"), 0) << err;
    EXPECT_DOUBLE_EQ(jsonNumber(out, "flux"), -flux);
    // Equal to the difference of the potentials at the two points.
    ASSERT_EQ(run("eval " + arg("s.msh") + " point 10 10 --json"), 0) << err;
    const double a1 = jsonNumber(out, "potential");
    ASSERT_EQ(run("eval " + arg("s.msh") + " point 140 50 --json"), 0) << err;
    EXPECT_NEAR(jsonNumber(out, "potential") - a1, flux, 1e-12 + 1e-9 * std::fabs(flux));
    ASSERT_EQ(run("eval " + arg("s.msh") + " flux 10 10 140 50"), 0) << err;
    EXPECT_EQ(out.rfind("Fluxo/m : ", 0), 0u) << out;
}

TEST_F(CliEval, ElectricModelKeys)
{
    makeModel("e.msh", "--analysis electric --region 140,40 rho=1e-6 eps_r=2", "--linear");
    ASSERT_EQ(run("eval " + arg("e.msh") + " point 140 40 --json"), 0) << err;
    for (const char* key : { "potential", "Dx", "Dy", "D", "Ex", "Ey", "E", "Fx", "Fy", "F" })
        EXPECT_TRUE(hasKey(out, key)) << key << " " << out;
    EXPECT_FALSE(hasKey(out, "mu_r"));
    EXPECT_FALSE(hasKey(out, "Bx"));
    EXPECT_NEAR(
        jsonNumber(out, "D"), 2 * 8.854e-12 * jsonNumber(out, "E"), 1e-9 * jsonNumber(out, "D"));
}

TEST_F(CliEval, InducedCurrentValuesAndMaps)
{
    makeModel("i.msh", "--region 140,40 J=1 sigma=5.8e7", "--induced --freq 50");
    ASSERT_EQ(run("eval " + arg("i.msh") + " point 140 40 --json"), 0) << err;
    for (const char* key : { "potential_im", "J", "Pi" })
        EXPECT_TRUE(hasKey(out, key)) << key << " " << out;
    EXPECT_GT(jsonNumber(out, "J"), 0.0);
    const double j = jsonNumber(out, "J");
    EXPECT_NEAR(jsonNumber(out, "Pi"), j * j / 5.8e7 * 0.5e12, 1e-9 * jsonNumber(out, "Pi"));
    // Outside the conductor there is no loss density.
    ASSERT_EQ(run("eval " + arg("i.msh") + " point 60 20 --json"), 0) << err;
    EXPECT_NE(out.find("\"Pi\":null"), std::string::npos) << out;

    for (const char* q : { "J", "P", "B", "H" }) {
        ASSERT_EQ(
            run("render " + arg("i.msh") + " " + arg(std::string(q) + ".png") + " --map " + q), 0)
            << q << err;
        EXPECT_EQ(bytes(std::string(q) + ".png").compare(0, 4, "\x89PNG"), 0);
    }
}

TEST_F(CliEval, MapPreconditions)
{
    magnetic();
    ASSERT_EQ(run("render " + arg("s.msh") + " " + arg("b.png") + " --map B --size 400x300"), 0)
        << err;
    EXPECT_EQ(bytes("b.png").compare(0, 4, "\x89PNG"), 0);
    EXPECT_EQ(run("render " + arg("s.msh") + " " + arg("d.png") + " --map D"), 1);
    EXPECT_NE(
        err.find("Opção não disponível para análise de campo magnético !\n   Operação cancelada !"),
        std::string::npos)
        << err;
    EXPECT_EQ(run("render " + arg("s.msh") + " " + arg("j.png") + " --map J"), 1);
    EXPECT_NE(err.find("cálculo de correntes induzidas não foi realizado"), std::string::npos);
    EXPECT_EQ(run("render " + arg("raw.msh") + " " + arg("r.png") + " --map H"), 1);
    EXPECT_NE(err.find(" Não há resultados de cálculo disponível ! \n Operação Cancelada !"),
        std::string::npos);
    EXPECT_EQ(run("render " + arg("s.msh") + " " + arg("x.png") + " --map X"), 2);
    EXPECT_TRUE(bytes("d.png").empty() && bytes("x.png").empty());
}

TEST_F(CliEval, SectionCurvesAsJsonTextAndGraph)
{
    magnetic();
    ASSERT_EQ(run("eval " + arg("s.msh") + " section 10 20 190 20 --quantity flux --json --grp "
                  + arg("b.grp")),
        0)
        << err;
    EXPECT_EQ(
        out.rfind("{\"title\":\"Densidade Fluxo sobre a Seção\",\"x_caption\":\"distância "
                  "(mm)\",\"y_caption\":\"B (T)\",\"names\":[\"B\",\"Bt\",\"Bn\"],\"distance\":[0,",
            0),
        0u)
        << out;
    EXPECT_NE(out.find("\"curves\":[["), std::string::npos);
    EXPECT_EQ(bytes("b.grp").rfind("versao", 0), 0u);
    ASSERT_EQ(run("info " + arg("b.grp") + " --json"), 0) << err;
    EXPECT_NE(out.find("Densidade Fluxo sobre a Seção"), std::string::npos) << out;

    // Polar: the arc about the source's centre.
    ASSERT_EQ(run("eval " + arg("s.msh")
                  + " section 170 50 110 50 --centre 140 50 --quantity field --json"),
        0)
        << err;
    EXPECT_NE(
        out.find("\"y_caption\":\"H (A/m\",\"names\":[\"H\",\"Ht\",\"Hn\"]"), std::string::npos)
        << out;

    // Text output: title, captions, then the rows.
    ASSERT_EQ(run("eval " + arg("s.msh") + " section 10 20 190 20 --quantity pressure"), 0) << err;
    EXPECT_EQ(
        out.rfind("Pressão sobre a Seção\ndistância (mm)\nP (N/m²)\ndistance P Pt Pn\n0 ", 0), 0u)
        << out;
}

TEST_F(CliEval, ForceOnStraightAndPolarSections)
{
    magnetic();
    ASSERT_EQ(run("eval " + arg("s.msh") + " force 10 20 190 20 --json"), 0) << err;
    for (const char* key : { "F", "Fx", "Fy", "Ft", "Fn" })
        EXPECT_TRUE(hasKey(out, key)) << key << " " << out;
    // Left to right: Fx = Ft and Fy = Fn.
    EXPECT_DOUBLE_EQ(jsonNumber(out, "Fx"), jsonNumber(out, "Ft"));
    EXPECT_DOUBLE_EQ(jsonNumber(out, "Fy"), jsonNumber(out, "Fn"));
    ASSERT_EQ(run("eval " + arg("s.msh") + " force 170 50 110 50 --centre 140 50 --json"), 0)
        << err;
    EXPECT_TRUE(hasKey(out, "F") && hasKey(out, "Fn") && hasKey(out, "Ft"));
    EXPECT_FALSE(hasKey(out, "Fx"));
    ASSERT_EQ(run("eval " + arg("s.msh") + " force 10 20 190 20"), 0) << err;
    EXPECT_EQ(out.rfind("Força (N/m)   |F |:", 0), 0u) << out;
    // A polar section of no extent gives nothing.
    EXPECT_EQ(run("eval " + arg("s.msh") + " force 170 50 170 50 --centre 140 50"), 1);
    EXPECT_FALSE(err.empty());
}

TEST_F(CliEval, LossesAndRefusals)
{
    makeModel("i.msh", "--region 140,40 J=1 sigma=5.8e7", "--induced --freq 50");
    ASSERT_EQ(run("eval " + arg("i.msh") + " losses --total --json"), 0) << err;
    const double total = jsonNumber(out, "losses");
    EXPECT_GT(total, 0.0);
    ASSERT_EQ(run("eval " + arg("i.msh") + " losses --region 140 40 --json"), 0) << err;
    EXPECT_NEAR(jsonNumber(out, "losses"), total, 1e-9 * total);
    ASSERT_EQ(run("eval " + arg("i.msh") + " losses --region 60 20"), 0) << err;
    EXPECT_EQ(out, "Perdas na Região W/m :            0\n");
    EXPECT_EQ(run("eval " + arg("i.msh") + " losses --region 500 50"), 1);
    EXPECT_NE(err.find("Ponto Fora do Dominio"), std::string::npos) << err;
    ASSERT_EQ(run("eval " + arg("i.msh") + " section 125 40 155 40 --quantity loss --json"), 0)
        << err;
    EXPECT_NE(out.find("\"names\":[\"P\"]"), std::string::npos) << out;

    EXPECT_EQ(run("eval " + arg("i.msh") + " losses --total --region 1 2"), 2);
    EXPECT_EQ(run("eval " + arg("i.msh") + " section 1 2 3 4 --quantity loss --centre 0 0"), 2);
    EXPECT_EQ(run("eval " + arg("i.msh") + " section 1 2 3 4 --quantity speed"), 2);
    EXPECT_EQ(run("eval " + arg("raw.msh") + " section 1 2 3 4 --quantity flux"), 1);
    EXPECT_NE(err.find("Impossível Calcular Curvas ! Não há dados de Cálculo."), std::string::npos);
    makeModel("e.msh", "--analysis electric --region 140,40 rho=1e-6", "--linear");
    EXPECT_EQ(run("eval " + arg("e.msh") + " losses --total"), 1);
    EXPECT_NE(
        err.find("Opção não disponível para análise de campo elétrico !\nOperação cancelada !"),
        std::string::npos)
        << err;
}
