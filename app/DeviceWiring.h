#pragma once

#include "general/Delegate.h"
#include "general/EventHandleHolder.h"
#include "general/EventLoop.h"
#include "general/RCPtr.h"
#include "general/UninitCaller.h"
#include "soundbase/TWaveFormatEx.h"
#include "soundbase/WaveInEvent.h"
#include "soundbase/WaveOutEvent.h"
#include "synth/Synth_H.h"

// How start-up joins the two wave devices to the loop, the measurement side
// and the tone player; the program's start-up and the tools wire them alike
// from here. Program thread.

inline constexpr double kCaptureQueueSeconds = 2.0;  // kept queued at the capture device
inline constexpr double kCaptureBufferMs = 100.0;    // one capture buffer
inline constexpr int kToneBlockSamples = 4096;       // one block of a reference tone

// A loop node, registered for tear-down on `root`, that calls `handler`
// each time `event` is signalled.
void AddEventToLoop(EventLoop &loop, UninitCaller *root, const Delegate<void()> &handler,
                    const RCPtr<EventHandleHolder> &event);

// The capture device: 2 s of 100 ms buffers.
RCPtr<WaveInEvent> CreateCaptureDevice(UninitCaller *root);
// Makes the device signal its own event and opens it in `format`; each
// filled buffer goes to `handlers`.
void OpenCapture(WaveInEvent &device, const WaveInHandlers &handlers, const TWaveFormatEx &format);
// The loop node through which the device's buffers are processed.
void AddCaptureToLoop(EventLoop &loop, UninitCaller *root, const RCPtr<WaveInEvent> &device);

// The tone player, rendering blocks of 4096 samples at `format`'s rate.
RCPtr<Synth_H> CreateTonePlayer(UninitCaller *root, const TWaveFormatEx &format);
// Done handlers that refill `player`; a caller may AddBind more after it.
WaveOutHandlers RefillHandlers(const RCPtr<Synth_H> &player);
// Opens `device` in `format` with `handlers` and has `player` write its
// blocks to it through the playback adapters.
void OpenTonePlayback(const RCPtr<WaveOutEvent> &device, const RCPtr<Synth_H> &player, const WaveOutHandlers &handlers,
                      const TWaveFormatEx &format);
// The loop node through which the device's finished buffers are processed.
void AddPlaybackToLoop(EventLoop &loop, UninitCaller *root, const RCPtr<WaveOutEvent> &device);
