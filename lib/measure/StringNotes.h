#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>

namespace Measure {

// The MIDI notes of an instrument's open strings, string 1 first: at most
// kMost of them, held in place (no allocation), read like a std::array of
// their count. Entries past the count stay 0, so equal tunings compare equal.
class StringNotes {
 public:
  static constexpr size_t kMost = 9;

  constexpr StringNotes() = default;
  // At most kMost notes; more are left out.
  constexpr StringNotes(std::initializer_list<int> notes) {
    for (int note : notes) push_back(note);
  }

  constexpr size_t size() const { return size_; }
  constexpr int operator[](size_t s) const { return notes_[s]; }
  constexpr int &operator[](size_t s) { return notes_[s]; }
  constexpr const int *begin() const { return notes_.data(); }
  constexpr const int *end() const { return notes_.data() + size_; }
  // Adds a string after the last; refused (false) when there are kMost.
  constexpr bool push_back(int note) {
    if (size_ == kMost) return false;
    notes_[size_++] = note;
    return true;
  }
  operator std::span<const int>() const { return {begin(), size_}; }

  constexpr bool operator==(const StringNotes &) const = default;

 private:
  std::array<int, kMost> notes_{};
  size_t size_ = 0;
};

}  // namespace Measure
