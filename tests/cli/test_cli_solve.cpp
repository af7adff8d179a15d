#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using namespace tarvex::test;

bool isPng(const std::string& bytes)
{
    return bytes.size() > 100 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
}

class CliSolve : public CliFixture {
protected:
    /// The reference drawing as a meshed solver model: outer contour at 0, a current source in
    /// the rectangle, and the extra `regionKeys` on it.
    void makeModel(const std::string& name, const std::string& regionKeys = "")
    {
        makeReferenceModel("--region 140,40 J=1 " + regionKeys, "--edge-factor 0.5", name);
    }
};

} // namespace

TEST_F(CliSolve, LinearRunStoresTheResultAndRendersEveryMode)
{
    makeModel("m.msh");
    ASSERT_NE(run("render " + arg("m.msh") + " " + arg("e.png") + " --mode equipotentials"), 0);
    EXPECT_NE(err.find("Impossível traçar equipotenciais"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("e.png")));

    ASSERT_EQ(run("solve " + arg("m.msh") + " " + arg("s.msh") + " --linear --tol 0.01 --json"), 0)
        << err;
    EXPECT_NE(out.find("\"kind\":\"linear\""), std::string::npos) << out;
    EXPECT_GT(jsonNumber(out, "iterations"), 1);
    EXPECT_LT(jsonNumber(out, "relative_residual"), 1e-4);
    const double low = jsonNumber(out, "potential_min");
    const double high = jsonNumber(out, "potential_max");
    EXPECT_LT(low, high);
    EXPECT_TRUE(low == 0.0 || high == 0.0) << "the outer contour holds 0";
    EXPECT_NE(err.find("Status: cálculo em progresso. Aguarde !"), std::string::npos);
    EXPECT_NE(err.find("Status: cálculo concluído"), std::string::npos);

    ASSERT_EQ(run("info " + arg("s.msh") + " --json"), 0) << err;
    EXPECT_EQ(jsonNumber(out, "calculation"), 1);
    EXPECT_EQ(jsonNumber(out, "potential_min"), low);

    std::string pictures[4];
    const char* modes[4] = { "mesh", "regions", "equipotentials", "equipotentials --lines 2" };
    for (int i = 0; i < 4; ++i) {
        const std::string file = "p" + std::to_string(i) + ".png";
        ASSERT_EQ(
            run("render " + arg("s.msh") + " " + arg(file) + " --size 400x300 --mode " + modes[i]),
            0)
            << modes[i] << ": " << err;
        pictures[i] = bytes(file);
        EXPECT_TRUE(isPng(pictures[i])) << modes[i];
    }
    EXPECT_NE(pictures[0], pictures[1]);
    EXPECT_NE(pictures[1], pictures[2]) << "lines over the regions";
    EXPECT_NE(pictures[2], pictures[3]) << "--lines changes the count";
    ASSERT_EQ(
        run("render " + arg("s.msh") + " " + arg("a.png") + " --size 400x300 --aux-lines auto"), 0)
        << err;
    EXPECT_TRUE(isPng(bytes("a.png")));
    ASSERT_EQ(run("render " + arg("s.msh") + " " + arg("a.emf") + " --aux-lines auto"), 0) << err;
}

TEST_F(CliSolve, ArgumentsOutOfRangeAreUsageErrorsAndWriteNothing)
{
    makeModel("m.msh");
    for (const std::string options :
        { "--linear --nonlinear", "", "--linear --tol 0", "--linear --lines 1",
            "--linear --lines 5001", "--nonlinear --error 0.00001", "--nonlinear --max-iter 1001",
            "--induced", "--induced --freq -1", "--linear --freq 50", "--linear --error 5",
            "--linear --solver lu", "--linear --solver" }) {
        EXPECT_EQ(run("solve " + arg("m.msh") + " " + arg("x.msh") + " " + options), 2) << options;
        EXPECT_FALSE(fs::exists(path("x.msh"))) << options;
    }
    EXPECT_EQ(run("render " + arg("m.msh") + " " + arg("x.png") + " --mode contours"), 2);
    EXPECT_EQ(run("render " + arg("m.msh") + " " + arg("x.png") + " --mode regions --lines 1"), 2);
    EXPECT_EQ(run("render " + arg("m.msh") + " " + arg("x.png") + " --aux-lines manual"), 2);
}

TEST_F(CliSolve, DirectSolverGivesTheSameResultAndEveryRunSaysItsSolverAndTime)
{
    makeModel("m.msh");
    ASSERT_EQ(run("solve " + arg("m.msh") + " " + arg("cg.msh") + " --linear --tol 1e-7 --json"), 0)
        << err;
    EXPECT_NE(out.find("\"solver\":\"cg\""), std::string::npos) << out;
    EXPECT_GE(jsonNumber(out, "seconds"), 0.0);
    const double cgLow = jsonNumber(out, "potential_min");
    const double cgHigh = jsonNumber(out, "potential_max");
    ASSERT_EQ(
        run("solve " + arg("m.msh") + " " + arg("d.msh") + " --linear --solver direct --json"), 0)
        << err;
    EXPECT_NE(out.find("\"solver\":\"direct\""), std::string::npos) << out;
    EXPECT_EQ(jsonNumber(out, "iterations"), 1);
    EXPECT_LT(jsonNumber(out, "relative_residual"), 1e-10);
    EXPECT_GE(jsonNumber(out, "seconds"), 0.0);
    const double scale = std::max(std::fabs(cgLow), std::fabs(cgHigh));
    EXPECT_NEAR(jsonNumber(out, "potential_min"), cgLow, 1e-8 * scale);
    EXPECT_NEAR(jsonNumber(out, "potential_max"), cgHigh, 1e-8 * scale);

    makeModel("c.msh", "sigma=5.8e7");
    ASSERT_EQ(run("solve " + arg("c.msh") + " " + arg("i.msh")
                  + " --induced --freq 50 --solver direct --json"),
        0)
        << err;
    EXPECT_NE(out.find("\"solver\":\"direct\""), std::string::npos) << out;
    EXPECT_LT(jsonNumber(out, "relative_residual"), 1e-10);
}

TEST_F(CliSolve, RunsWithoutTheirMaterialsAreRefused)
{
    makeModel("m.msh");
    EXPECT_EQ(run("solve " + arg("m.msh") + " " + arg("x.msh") + " --induced --freq 50"), 1);
    EXPECT_NE(err.find("Não existe material com condutividade."), std::string::npos) << err;
    EXPECT_EQ(run("solve " + arg("m.msh") + " " + arg("x.msh") + " --nonlinear"), 1);
    EXPECT_NE(err.find("Não existe material com não-linearidade !"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(path("x.msh")));
    EXPECT_NE(run("solve " + arg("missing.msh") + " " + arg("x.msh") + " --linear"), 0);
}

TEST_F(CliSolve, InducedCurrentRunAndItsLines)
{
    makeModel("m.msh", "sigma=5.8e7");
    ASSERT_EQ(run("solve " + arg("m.msh") + " " + arg("loose.msh")
                  + " --induced --freq 50 --tol 50 --json"),
        0)
        << err;
    const double looseIterations = jsonNumber(out, "iterations");
    EXPECT_LT(jsonNumber(out, "relative_residual"), 0.1) << "50 in the dialog's unit is 0.1";
    ASSERT_EQ(run("solve " + arg("m.msh") + " " + arg("s.msh") + " --induced --freq 50 --json"), 0)
        << err;
    EXPECT_NE(out.find("\"kind\":\"induced\""), std::string::npos) << out;
    EXPECT_EQ(jsonNumber(out, "frequency"), 50);
    EXPECT_LT(jsonNumber(out, "relative_residual"), 0.001);
    EXPECT_LT(looseIterations, jsonNumber(out, "iterations"));

    ASSERT_EQ(run("render " + arg("s.msh") + " " + arg("i.png") + " --mode induced-lines"), 0)
        << err;
    EXPECT_TRUE(isPng(bytes("i.png")));

    // A linear result has no induced-current lines.
    ASSERT_EQ(run("solve " + arg("s.msh") + " " + arg("l.msh") + " --linear"), 0) << err;
    EXPECT_EQ(run("render " + arg("l.msh") + " " + arg("j.png") + " --mode induced-lines"), 1);
    EXPECT_NE(err.find("Cálculo de correntes induzidas deve ser feito antes !"), std::string::npos);
}

TEST_F(CliSolve, AStepLimitBeforeTheErrorTargetIsSaidAndTheResultKept)
{
    const std::string steel
        = std::string(TARVEX_TEST_DATA) + "/../../examples/materials/aco_nao_orientado_400_50.mat";
    makeModel("m.msh", "--region 60,50 linear=0 mat=" + quoted(steel));
    ASSERT_EQ(
        run("solve " + arg("m.msh") + " " + arg("one.msh") + " --nonlinear --max-iter 1 --json"), 0)
        << err;
    EXPECT_NE(out.find("\"converged\":false"), std::string::npos) << out;
    EXPECT_NE(err.find("error target not met"), std::string::npos) << err;
    ASSERT_EQ(run("info " + arg("one.msh") + " --json"), 0);
    EXPECT_NE(out.find("\"calculation\":2"), std::string::npos) << out;
}
