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

inline std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  for (std::string line; std::getline(s, line);) lines.push_back(line);
  return lines;
}

// Runs a bash script, whose own redirections go before ours.
inline Outcome RunScript(const std::string &script) {
  const std::string path = OutputPath("run.sh"), out = OutputPath("run.out"), err = OutputPath("run.err");
  std::ofstream(path) << script << "\n";
  const int raw = std::system(("bash " + path + " >" + out + " 2>" + err).c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
}

// `text` as one word of a shell command, whatever bytes it holds.
inline std::string ShellWord(const std::string &text) {
  std::string word = "'";
  for (const char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

// Each of `words` as a word of a shell command, separated by blanks.
inline std::string ShellWords(const std::vector<std::string> &words) {
  std::string joined;
  for (const std::string &w : words) {
    if (!joined.empty()) joined += ' ';
    joined += ShellWord(w);
  }
  return joined;
}

// Runs `program args` as a user does in a shell.
inline Outcome RunTool(const std::string &program, const std::string &args) { return RunScript(program + " " + args); }
