#pragma once

#include <memory>
#include <string>

#include <SDL2/SDL.h>

namespace platform::device {

// The SDL2 video calls of the window presenter, resolved from SDL loaded at
// run time (wave/SdlLibrary), so headless runs never load it. Any thread.
struct SdlVideo {
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_Quit) Quit;
  decltype(&SDL_WasInit) WasInit;
  decltype(&SDL_GetError) GetError;
  decltype(&SDL_SetHint) SetHint;
  decltype(&SDL_GetDisplayUsableBounds) GetDisplayUsableBounds;
  decltype(&SDL_CreateWindow) CreateWindow;
  decltype(&SDL_DestroyWindow) DestroyWindow;
  decltype(&SDL_SetWindowTitle) SetWindowTitle;
  decltype(&SDL_GetWindowSurface) GetWindowSurface;
  decltype(&SDL_UpdateWindowSurfaceRects) UpdateWindowSurfaceRects;
  decltype(&SDL_CreateRGBSurfaceWithFormatFrom) CreateRGBSurfaceWithFormatFrom;
  decltype(&SDL_FreeSurface) FreeSurface;
  decltype(&SDL_FillRect) FillRect;
  decltype(&SDL_UpperBlitScaled) BlitScaled;
  decltype(&SDL_WaitEvent) WaitEvent;
  decltype(&SDL_PushEvent) PushEvent;
  decltype(&SDL_RegisterEvents) RegisterEvents;

  // Null, with the reason in `error`, when SDL2 or a call is missing.
  static std::unique_ptr<const SdlVideo> Load(std::string *error);
};

}  // namespace platform::device
