#include "ResourceTable.h"

#include <cwctype>
#include <string>
#include <vector>

namespace ResourceTable {
namespace {

// An integer id (text empty) or an upper-cased string.
struct Name {
  uintptr_t id = 0;
  std::wstring text;
  bool operator==(const Name &) const = default;
};

struct Entry {
  HINSTANCE module;
  Name type, name;
  std::span<const unsigned char> bytes;
};

std::vector<Entry> &Entries() {
  static std::vector<Entry> entries;
  return entries;
}

Name MakeName(LPCWSTR p) {
  auto value = reinterpret_cast<uintptr_t>(p);
  if ((value >> 16) == 0) return {value, {}};
  Name name;
  for (; *p; ++p) name.text += static_cast<wchar_t>(std::towupper(*p));
  return name;
}

Entry *Lookup(HINSTANCE module, const Name &type, const Name &name) {
  for (Entry &e : Entries())
    if (e.module == module && e.type == type && e.name == name) return &e;
  return nullptr;
}

}  // namespace

bool Register(HINSTANCE module, LPCWSTR type, LPCWSTR name, std::span<const unsigned char> bytes) {
  if (!type || !name) return false;
  Name t = MakeName(type), n = MakeName(name);
  if (Entry *e = Lookup(module, t, n))
    e->bytes = bytes;
  else
    Entries().push_back({module, std::move(t), std::move(n), bytes});
  return true;
}

std::span<const unsigned char> Find(HINSTANCE module, LPCWSTR type, LPCWSTR name) {
  if (!type || !name) return {};
  Entry *e = Lookup(module, MakeName(type), MakeName(name));
  return e ? e->bytes : std::span<const unsigned char>{};
}

void Unregister(HINSTANCE module) {
  std::erase_if(Entries(), [module](const Entry &e) { return e.module == module; });
}

}  // namespace ResourceTable
