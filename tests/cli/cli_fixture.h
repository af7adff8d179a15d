#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tarvex::test {

namespace fs = std::filesystem;

inline std::string quoted(const std::string& word)
{
    return "'" + word + "'";
}

inline std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

/// The number after "key": in a JSON object, or NaN, which no expected value equals.
inline double jsonNumber(const std::string& json, const std::string& key)
{
    const auto at = json.find("\"" + key + "\":");
    return at == std::string::npos ? std::nan("") : std::stod(json.substr(at + key.size() + 3));
}

/// A fresh folder for each test, and runs of tarvex-cli with its stdout and stderr kept in `out`
/// and `err`.
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::path(::testing::TempDir())
            / ("tarvex_cli_" + std::string(info->test_suite_name()) + "_" + info->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path path(const std::string& name) const { return m_dir / name; }
    std::string arg(const std::string& name) const { return quoted(path(name).string()); }
    std::string bytes(const std::string& name) const { return readAll(path(name)); }

    int run(const std::string& args)
    {
        const std::string command = quoted(TARVEX_CLI) + " " + args + " >"
            + quoted(path("stdout.txt").string()) + " 2>" + quoted(path("stderr.txt").string());
        const int status = std::system(command.c_str());
        out = readAll(path("stdout.txt"));
        err = readAll(path("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    /// The reference drawing exported as the problem `dat`.
    void exportReference(const std::string& dat = "ref.dat")
    {
        ASSERT_EQ(run("export " + quoted(std::string(TARVEX_TEST_DATA) + "/reference.pre") + " "
                      + arg(dat)),
            0)
            << err;
    }

    /// The reference problem with its outer contour at 0 and the `edits`, meshed with `meshArgs`
    /// and exported as the solver model `msh` (not solved).
    void makeReferenceModel(
        const std::string& edits, const std::string& meshArgs, const std::string& msh)
    {
        exportReference();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(
            run("edit " + arg("ref.dat") + " " + arg("ed.dat") + " --outer-potential 0 " + edits),
            0)
            << err;
        ASSERT_EQ(run("mesh " + arg("ed.dat") + " " + arg("m.dat") + " " + meshArgs), 0) << err;
        ASSERT_EQ(run("export-msh " + arg("m.dat") + " " + arg(msh)), 0) << err;
    }

    /// The reference model with J = 1 A/mm² in the rectangle's region at (140, 40), solved by
    /// the linear run into "s.msh".
    void makeSolvedReference()
    {
        makeReferenceModel("--region 140,40 J=1", "--edge-factor 0.5", "m.msh");
        if (HasFatalFailure())
            return;
        ASSERT_EQ(run("solve " + arg("m.msh") + " " + arg("s.msh") + " --linear --tol 0.01"), 0)
            << err;
    }

    fs::path m_dir;
    std::string out;
    std::string err;
};

} // namespace tarvex::test
