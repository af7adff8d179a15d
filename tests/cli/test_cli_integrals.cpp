#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace tarvex::test;

using CliIntegrals = CliFixture;

} // namespace

TEST_F(CliIntegrals, RegionTotalInductanceAndTheirKeys)
{
    makeSolvedReference();
    ASSERT_EQ(run("eval " + arg("s.msh") + " integrals --region 140 40 --json"), 0) << err;
    const double area = jsonNumber(out, "area");
    EXPECT_GT(area, 0.0);
    EXPECT_NEAR(jsonNumber(out, "current"), 1e6 * area, 1e-6 * 1e6 * area);
    EXPECT_GT(jsonNumber(out, "energy"), 0.0);
    EXPECT_FALSE(std::isnan(jsonNumber(out, "mean_potential"))) << out;
    // Keys of other kinds of results are absent from a linear magnetic one.
    EXPECT_EQ(out.find("current_im"), std::string::npos);
    EXPECT_EQ(out.find("coenergy"), std::string::npos);
    EXPECT_EQ(out.find("losses"), std::string::npos);

    ASSERT_EQ(run("eval " + arg("s.msh") + " integrals --total --json"), 0) << err;
    const double total = jsonNumber(out, "energy");
    EXPECT_NEAR(jsonNumber(out, "current"), 1e6 * area, 1e-6 * 1e6 * area);
    ASSERT_EQ(run("eval " + arg("s.msh") + " integrals --total --length 2 --json"), 0) << err;
    EXPECT_DOUBLE_EQ(jsonNumber(out, "energy"), 2 * total);

    ASSERT_EQ(run("eval " + arg("s.msh") + " inductance --current 100 --json"), 0) << err;
    EXPECT_NEAR(jsonNumber(out, "inductance"), 2 * total / 1e4, 1e-9 * total);
    EXPECT_DOUBLE_EQ(jsonNumber(out, "energy"), total);
    ASSERT_EQ(run("eval " + arg("s.msh") + " inductance --current 100"), 0) << err;
    EXPECT_NE(out.find("H/m"), std::string::npos) << out;
}

TEST_F(CliIntegrals, RefusalsExitNonZeroWithTheMessage)
{
    makeSolvedReference();
    EXPECT_NE(run("eval " + arg("s.msh") + " capacitance"), 0);
    EXPECT_NE(err.find("Capacitância disponível somente"), std::string::npos) << err;
    EXPECT_NE(run("eval " + arg("s.msh") + " integrals --region 9999 9999"), 0);
    EXPECT_NE(err.find("Ponto fora do domínio"), std::string::npos) << err;
    EXPECT_NE(run("eval " + arg("s.msh") + " inductance --current 0"), 0);
    EXPECT_NE(err.find("diferente de zero"), std::string::npos) << err;
    EXPECT_NE(run("eval " + arg("s.msh") + " integrals --total --length -1"), 0);
    EXPECT_NE(err.find("Comprimento"), std::string::npos) << err;
    // Usage: both or neither of --region and --total, inductance without a current.
    EXPECT_NE(run("eval " + arg("s.msh") + " integrals --total --region 1 2"), 0);
    EXPECT_NE(run("eval " + arg("s.msh") + " integrals"), 0);
    EXPECT_NE(run("eval " + arg("s.msh") + " inductance"), 0);
    EXPECT_NE(run("eval " + arg("m.msh") + " integrals --total"), 0); // not solved
}
