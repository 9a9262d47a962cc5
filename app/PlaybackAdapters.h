#pragma once

#include "general/RCPtr.h"
#include "general/rcvector.h"
#include "soundbase/WaveOutEvent.h"
#include "synth/Synth_H.h"

// Start-up adapters that join the tone player to the playback device. Both
// are static functions bound with the device as a constant, so the binding
// keeps the device alive until the player's outputs are unbound.

// Wraps the block in a media sample over the vector (no copy) and writes it
// to the device; the device holds the sample until it has played it.
void WriteBlockToDevice(rcvector<short> *block, const RCPtr<WaveOutEvent> &device);

// True when the blocks still queued at the device add up to at least 0.4 s
// and there are at least two of them.
bool IsPlaybackQueueFull(const RCPtr<WaveOutEvent> &device);

// The tone player's outputs bound to `device` through the two adapters.
SynthOutputs BindPlaybackOutputs(const RCPtr<WaveOutEvent> &device);
