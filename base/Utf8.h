#pragma once

#include <cstddef>
#include <string_view>

// Reading text that may not be UTF-8 (a file name is only bytes). A
// well-formed sequence is one character; otherwise the longest start of one
// (at least a byte) is one bad sequence: the unit the Unicode standard
// replaces by one U+FFFD, as Python's and the browsers' decoders do.
namespace drovane {

constexpr char32_t kReplacementCharacter = 0xFFFD;

struct Utf8Sequence {
  size_t length;   // in bytes
  char32_t code;   // the character, or kReplacementCharacter when not valid
  bool valid;
};

// The sequence a non-empty `text` begins with.
Utf8Sequence FirstUtf8Sequence(std::string_view text);

// Calls each(sequence, its bytes) for the sequences of `text` in order.
template <class Each>
void ForEachUtf8Sequence(std::string_view text, Each each) {
  while (!text.empty()) {
    const Utf8Sequence sequence = FirstUtf8Sequence(text);
    each(sequence, text.substr(0, sequence.length));
    text.remove_prefix(sequence.length);
  }
}

// C0, DEL and C1: characters a terminal acts on instead of showing.
constexpr bool IsControl(char32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

}  // namespace drovane
