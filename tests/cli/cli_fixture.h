#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

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

    fs::path m_dir;
    std::string out;
    std::string err;
};

} // namespace tarvex::test
