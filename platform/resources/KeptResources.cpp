#include "resources/KeptResources.h"

#include <deque>
#include <map>
#include <set>
#include <tuple>

#include "resources/ResourceTable.h"

namespace resources {

namespace {

// Registered bytes never move: a deque keeps its elements in place.
std::deque<Bytes> &Kept() {
  static std::deque<Bytes> kept;
  return kept;
}

using BlockKey = std::tuple<HINSTANCE, WORD>;
std::map<BlockKey, std::vector<std::pair<WORD, std::wstring>>> &StringBlocks() {
  static std::map<BlockKey, std::vector<std::pair<WORD, std::wstring>>> blocks;
  return blocks;
}

}  // namespace

bool RegisterKept(HINSTANCE module, LPCWSTR type, LPCWSTR name, Bytes bytes) {
  if (!type || !name) return false;
  Kept().push_back(std::move(bytes));
  return ResourceTable::Register(module, type, name, Kept().back());
}

bool RegisterKeptStrings(HINSTANCE module, const std::vector<std::pair<WORD, std::wstring>> &strings) {
  std::set<WORD> touched;
  for (const auto &entry : strings) {
    const WORD block = StringBlockId(entry.first);
    StringBlocks()[{module, block}].push_back(entry);
    touched.insert(block);
  }
  bool ok = true;
  for (WORD block : touched)
    ok &= RegisterKept(module, ResourceTable::Id(ResourceTable::kString), ResourceTable::Id(block),
                       EncodeStringBlock(StringBlocks()[{module, block}]));
  return ok;
}

}  // namespace resources
