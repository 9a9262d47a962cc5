#include "device/Script.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <sstream>

#include "base/CommandLine.h"
#include "base/ParseNumber.h"
#include "user/ScreenGeometry.h"
#include "win/shell.h"

namespace platform::device {

namespace {

using Kind = ScriptAction::Kind;

const std::map<std::string, Kind> kActions{
    {"key", Kind::Key},     {"keydown", Kind::KeyDown}, {"keyup", Kind::KeyUp},
    {"tap", Kind::Tap},     {"press", Kind::Press},     {"release", Kind::Release},
    {"screenshot", Kind::Screenshot}, {"quit", Kind::Quit}};

std::vector<std::string> Words(const std::string &line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) {
    if (w[0] == '#') break;
    words.push_back(w);
  }
  return words;
}

bool Whole(const std::string &text, int *value) {
  const std::optional<long long> v = cli::ParseWholeNumber(text, -100000, 100000);
  if (v) *value = static_cast<int>(*v);
  return v.has_value();
}

// The arguments of one action; "" when they are right, else why not.
std::string ParseArguments(const std::vector<std::string> &w, ScriptAction *a) {
  const size_t wanted = a->kind == Kind::Quit ? 2 : a->kind == Kind::Screenshot || a->kind <= Kind::KeyUp ? 3 : 4;
  if (w.size() < wanted) return cli::Quoted(w[1]) + " needs " + (wanted == 3 ? "an argument" : "X and Y");
  if (w.size() > wanted) return "too many arguments for " + cli::Quoted(w[1]);
  switch (a->kind) {
    case Kind::Key: case Kind::KeyDown: case Kind::KeyUp:
      a->key = KeyByName(w[2]);
      return a->key ? "" : "unknown key " + cli::Quoted(w[2]) + " (keys: 0-9 up down left right enter back softleft softright)";
    case Kind::Tap: case Kind::Press: case Kind::Release:
      if (!Whole(w[2], &a->x) || !Whole(w[3], &a->y)) return cli::Quoted(w[2] + " " + w[3]) + " are not whole pixels";
      if (a->x < 0 || a->y < 0 || a->x >= kScreenWidth || a->y >= kScreenHeight)
        return "(" + w[2] + ", " + w[3] + ") lies outside the 240x320 screen";
      return "";
    case Kind::Screenshot:
      a->file = w[2];
      return "";
    case Kind::Quit:
      return "";
  }
  return "";
}

std::string ParseLine(const std::vector<std::string> &w, ScriptAction *a) {
  const std::optional<double> seconds = cli::ParseNumber(w[0], 0, kLongestRunSeconds);
  if (!seconds) return cli::Quoted(w[0]) + " is not a time in seconds (" + SecondsRange() + ")";
  a->seconds = *seconds;
  if (w.size() < 2) return "no action after the time";
  auto it = kActions.find(w[1]);
  if (it == kActions.end())
    return "unknown action " + cli::Quoted(w[1]) + " (actions: key keydown keyup tap press release screenshot quit)";
  a->kind = it->second;
  return ParseArguments(w, a);
}

// The file's text, read to its end: 0, else the exit status (1: it cannot
// be read; 2: it is longer than a script may be) with the reason.
int ReadText(const std::string &path, std::string *text, std::string *why) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *why = std::strerror(errno);
    return 1;
  }
  int status = 0;
  char buffer[1 << 16];
  for (ssize_t n; status == 0 && (n = read(fd, buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *why = std::strerror(errno);
      status = 1;
    } else if (text->append(buffer, static_cast<size_t>(n)).size() > kLongestScriptBytes) {
      *why = "longer than a script may be (1 MiB)";
      status = 2;
    }
  }
  close(fd);
  return status;
}

}  // namespace

std::string SecondsRange() { return "from 0 to " + std::to_string(static_cast<long>(kLongestRunSeconds)); }

UINT KeyByName(const std::string &name) {
  static const std::map<std::string, UINT> keys{
      {"up", VK_UP},          {"down", VK_DOWN},       {"left", VK_LEFT},          {"right", VK_RIGHT},
      {"enter", VK_RETURN},   {"back", VK_TBACK},      {"softleft", VK_TSOFT1},    {"softright", VK_TSOFT2}};
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return static_cast<UINT>(name[0]);
  auto it = keys.find(name);
  return it == keys.end() ? 0 : it->second;
}

bool ParseScript(const std::string &text, std::vector<ScriptAction> *actions, std::string *error) {
  actions->clear();
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    ScriptAction action;
    if (std::string why = ParseLine(words, &action); !why.empty()) {
      *error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
    actions->push_back(action);
  }
  std::stable_sort(actions->begin(), actions->end(),
                   [](const ScriptAction &a, const ScriptAction &b) { return a.seconds < b.seconds; });
  return true;
}

int ReadScriptFile(const std::string &path, std::vector<ScriptAction> *actions, std::string *error) {
  std::string text;  // an empty file is a script with no actions
  if (const int status = ReadText(path, &text, error)) {
    *error = "cannot read script " + cli::Quoted(path) + ": " + *error;
    return status;
  }
  if (ParseScript(text, actions, error)) return 0;
  *error = cli::Printable(path) + ": " + *error;
  return 2;
}

}  // namespace platform::device
