// The program's options as the device passes them on WinMain's command line
// and the program reads them back: every argument comes back as it was,
// whatever blanks, quotes, backslashes or letters it holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/ProgramCommandLine.h"

namespace {

using platform::device::JoinCommandLine;
using platform::device::SplitCommandLine;
using Args = std::vector<std::string>;

TEST(ProgramCommandLine, ArgumentsComeBackAsTheyWentWhateverTheyHold) {
  const Args awkward{"--precise",  "--tuning", "D2 A2 D3 G3 B3 E4", "", "say \"hi\"", "C:\\path\\",
                     "\\\"", "tab\there", "dadgad", "\xc3\xa9t\xc3\xa9 \xe2\x99\xaf", "a\\\\b", "end\\"};
  const std::wstring line = JoinCommandLine(awkward);
  EXPECT_EQ(SplitCommandLine(line.c_str()), awkward) << std::string(line.begin(), line.end());
  EXPECT_EQ(JoinCommandLine({"--precise", "--tuning", "drop-d"}), L"--precise --tuning drop-d")
      << "plain words as they are";
  EXPECT_EQ(JoinCommandLine({}), L"");
}

TEST(ProgramCommandLine, ALineFromElsewhereIsReadByTheShellsRules) {
  EXPECT_EQ(SplitCommandLine(nullptr), Args{});
  EXPECT_EQ(SplitCommandLine(L"  --a \t b  "), (Args{"--a", "b"}));
  EXPECT_EQ(SplitCommandLine(L"\"two words\" x\"y z\"w"), (Args{"two words", "xy zw"}));
  EXPECT_EQ(SplitCommandLine(L"a\\\\\"b c\" d\\e \\\"q"), (Args{"a\\b c", "d\\e", "\"q"}));
  EXPECT_EQ(SplitCommandLine(L"\"unterminated quote"), Args{"unterminated quote"});
}

}  // namespace
