#pragma once
// A fresh folder per test, removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

struct TTempDir {
    std::filesystem::path Path;
    TTempDir()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        Path = std::filesystem::temp_directory_path() /
               ("numerak-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(Path);
        std::filesystem::create_directories(Path);
    }
    ~TTempDir() { std::filesystem::remove_all(Path); }
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path / name, std::ios::binary) << bytes;
        return (Path / name).string();
    }
    std::string operator/(const std::string& name) const { return (Path / name).string(); }
    size_t Count() const { return size_t(std::distance(std::filesystem::directory_iterator(Path), {})); }
};
