#pragma once

// Registers resources whose bytes the platform keeps (ResourceTable itself
// does not copy): for resources built at run time, such as the menu bar, its
// MENU and string tables made with Win32Resources.h. The bytes live until the
// process ends. Thread: user-interface thread.
#include "resources/Win32Resources.h"

namespace resources {

// Adds or replaces the resource, like ResourceTable::Register.
bool RegisterKept(HINSTANCE module, LPCWSTR type, LPCWSTR name, Bytes bytes);
// Registers each string in its block (RT_STRING, id (id >> 4) + 1) of `module`,
// adding to the strings kept there so far.
bool RegisterKeptStrings(HINSTANCE module, const std::vector<std::pair<WORD, std::wstring>> &strings);

}  // namespace resources
