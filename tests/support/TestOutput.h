#pragma once

// Where a test leaves its files: under $DROVANE_TEST_OUTPUT, each name
// prefixed with the running test's name. CTest runs tests side by side, so
// two tests asking for the same name never share a file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

inline std::string OutputPath(const std::string &name) {
  const char *dir = std::getenv("DROVANE_TEST_OUTPUT");
  std::string owner;
  if (const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info()) {
    owner = std::string(test->test_suite_name()) + "." + test->name() + "-";
    std::replace(owner.begin(), owner.end(), '/', '_');  // parameterised names hold slashes
  }
  return std::string(dir && *dir ? dir : "/tmp") + "/" + owner + name;
}

// What a test's file holds ("" when it cannot be read).
inline std::string Slurp(const std::string &path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}
