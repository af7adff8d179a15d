#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tarvex::test {

/// A fresh, empty folder for each test of a file suite, removed after it.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path()
            / ("tarvex-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string file(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

} // namespace tarvex::test
