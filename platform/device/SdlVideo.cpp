#include "device/SdlVideo.h"

#include "wave/SdlLibrary.h"

namespace platform::device {

std::unique_ptr<const SdlVideo> SdlVideo::Load(std::string *error) {
  void *sdl = wave::OpenSdlLibrary(error);
  if (!sdl) return nullptr;
  auto calls = std::make_unique<SdlVideo>();
  auto Resolve = [sdl](const char *name, auto *function) { return wave::ResolveSdl(sdl, name, function); };
  const bool ok =
      Resolve("SDL_InitSubSystem", &calls->InitSubSystem) && Resolve("SDL_QuitSubSystem", &calls->QuitSubSystem) &&
      Resolve("SDL_Quit", &calls->Quit) && Resolve("SDL_WasInit", &calls->WasInit) &&
      Resolve("SDL_GetError", &calls->GetError) &&
      Resolve("SDL_SetHint", &calls->SetHint) &&
      Resolve("SDL_GetDisplayUsableBounds", &calls->GetDisplayUsableBounds) &&
      Resolve("SDL_CreateWindow", &calls->CreateWindow) && Resolve("SDL_DestroyWindow", &calls->DestroyWindow) &&
      Resolve("SDL_SetWindowTitle", &calls->SetWindowTitle) &&
      Resolve("SDL_GetWindowSurface", &calls->GetWindowSurface) &&
      Resolve("SDL_UpdateWindowSurfaceRects", &calls->UpdateWindowSurfaceRects) &&
      Resolve("SDL_CreateRGBSurfaceWithFormatFrom", &calls->CreateRGBSurfaceWithFormatFrom) &&
      Resolve("SDL_FreeSurface", &calls->FreeSurface) && Resolve("SDL_FillRect", &calls->FillRect) && Resolve("SDL_UpperBlitScaled", &calls->BlitScaled) &&
      Resolve("SDL_WaitEvent", &calls->WaitEvent) && Resolve("SDL_PushEvent", &calls->PushEvent) &&
      Resolve("SDL_RegisterEvents", &calls->RegisterEvents);
  if (ok) return calls;
  *error = "libSDL2-2.0.so.0 lacks a video call";
  return nullptr;
}

}  // namespace platform::device
