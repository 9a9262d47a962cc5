#pragma once

// The program's compiled-in resources. The program registers each one at
// start-up under its module, type and name; the platform calls that load
// resources (LoadBitmapW, and later the menu bar, menus and strings) find
// them here. Types and names follow Win32: either a string, compared without
// regard to case, or an integer id carried in the pointer (as
// MAKEINTRESOURCEW makes it). The bytes are not copied and must outlive their
// registration (compiled-in arrays do). Thread: user-interface thread.
#include <cstddef>
#include <span>

#include "win/types.h"

namespace ResourceTable {

// Win32 resource type ids.
constexpr WORD kBitmap = 2;
constexpr WORD kMenu = 4;
constexpr WORD kString = 6;
constexpr WORD kRcData = 10;

// The pointer form of an integer id (what MAKEINTRESOURCEW yields).
inline LPCWSTR Id(WORD id) { return reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(id)); }

// Adds or replaces a resource. False for a null type or name.
bool Register(HINSTANCE module, LPCWSTR type, LPCWSTR name, std::span<const unsigned char> bytes);
// The registered bytes, or an empty span (null data) when there are none.
std::span<const unsigned char> Find(HINSTANCE module, LPCWSTR type, LPCWSTR name);
// Forgets every resource of `module`.
void Unregister(HINSTANCE module);

}  // namespace ResourceTable
