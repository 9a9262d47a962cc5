#pragma once

#include <string>
#include <string_view>

// The name of a type as our compiler prints it, for contract checks whose
// function name is a template instantiation.
template <class T>
constexpr std::string_view TypeName() {
  std::string_view s = __PRETTY_FUNCTION__;
  const std::string_view key = "T = ";
  s.remove_prefix(s.find(key) + key.size());
  return s.substr(0, s.find_first_of(";]"));
}

// Keeps a name for the rest of the run and returns its stable text.
const char *InternName(const std::string &name);

// "prefix<T>suffix".
template <class T>
std::string InstanceName(std::string_view prefix, std::string_view suffix) {
  std::string name(prefix);
  name += '<';
  name += TypeName<T>();
  name += '>';
  name += suffix;
  return name;
}
