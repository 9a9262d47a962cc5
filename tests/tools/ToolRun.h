#pragma once

// Running a command-line tool as a user does, and reading what it printed.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"

struct Outcome {
  int status;
  std::string out, err;
};

inline std::string Slurp(const std::string &path) {
  std::ifstream f(path);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

inline std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  for (std::string line; std::getline(s, line);) lines.push_back(line);
  return lines;
}

// Runs `program args` through the shell. CTest runs tests side by side, so
// each test keeps its own output files, named after it.
inline Outcome RunTool(const std::string &program, const std::string &args) {
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string out = OutputPath(name + ".out"), err = OutputPath(name + ".err");
  const std::string command = program + " " + args + " >" + out + " 2>" + err;
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
}
