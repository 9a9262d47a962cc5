#pragma once

namespace platform {

// The phone's screen in pixels, and the strips the shell keeps for itself.
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kCaptionHeight = 24;
constexpr int kSoftKeyHeight = 26;
constexpr int kSoftKeyTop = kScreenHeight - kSoftKeyHeight;

}  // namespace platform
