// A test whose recovery writes into a destination folder of its own: made empty before each test
// and removed after it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace ext2::testing {

class DestinationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dest = std::filesystem::temp_directory_path() /
           ("qv_" + std::string(info->test_suite_name()) + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dest);
    std::filesystem::create_directories(dest);
  }
  void TearDown() override { std::filesystem::remove_all(dest); }
  std::filesystem::path dest;
};

}  // namespace ext2::testing
