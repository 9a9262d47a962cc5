#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "synth/VH_PlaySingle.h"

namespace {

struct Player {
  void On(int note, int velocity) { calls.push_back("on " + std::to_string(note) + " " + std::to_string(velocity)); }
  void Off(int note) { calls.push_back("off " + std::to_string(note)); }
  std::vector<std::string> calls;
};

class PlaySingle : public ::testing::Test {
 protected:
  PlaySingle() {
    PlaySingleBindings b;
    b.noteOn.Bind(&player, &Player::On);
    b.noteOff.Bind(&player, &Player::Off);
    gate = MakeRC<VH_PlaySingle>(&root, b);
  }
  UninitCaller root;
  Player player;
  RCPtr<VH_PlaySingle> gate;
};

TEST_F(PlaySingle, RepeatedNoteIsIgnoredAndANewOneReplacesIt) {
  gate->Play(45, 3);
  gate->Play(45, 100);
  gate->Play(50, 1);
  gate->Play(45, 1);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"on 45 127", "off 45", "on 50 127", "off 50", "on 45 127"}));
}

TEST_F(PlaySingle, FirstRequestForNoteZeroSounds) {
  gate->Play(0, 0);
  EXPECT_EQ(player.calls, (std::vector<std::string>{"on 0 127"}));
}

}  // namespace
