#pragma once

#include <cstdint>

#include "SynthesizerSimple.h"
#include "general/Delegate.h"
#include "general/RCPtr.h"
#include "general/UninitResident.h"
#include "general/rcvector.h"

// Where the tone player's blocks go: `output` takes a finished block (and may
// keep it), `isFull` tells whether the device holds enough for now.
struct SynthOutputs {
  Delegate<void(rcvector<short> *)> output;
  Delegate<bool()> isFull;
};

// The reference-tone player: renders the plucked square-wave tone of a note,
// tuned to A = 440 Hz, in blocks of `blockSize` samples and hands them to
// `output` for as long as `isFull` says no, until the 3 s envelope has run out
// (17 blocks of 4096 at 22050 samples/s). The owner calls Fill again each time
// the device has finished a block.
//
// Thread: the program thread. Lifetime: registered with the tear-down root;
// its uninit pass unbinds the outputs, so a late Fill sends nothing.
class Synth_H : public virtual CRefCounter {
 public:
  Synth_H(UninitCaller *root, uint32_t samplesPerSecond, int32_t blockSize);
  Synth_H(const Synth_H &) = delete;
  Synth_H &operator=(const Synth_H &) = delete;

  void SetOutputs(const SynthOutputs &outputs) { outputs_ = outputs; }

  // Starts a new tone for a MIDI note; the running waveform's phase carries on.
  void Play(double note);
  // Renders and hands on blocks while a tone is running and the device has room.
  void Fill();

  // For a one-voice gate: note-on plays the note (velocity unused); note-off
  // does nothing, so a tone is never cut short.
  void NoteOn(int note, int velocity);
  void NoteOff(int note);

  const SynthesizerSimple &Synth() const { return synth_; }
  // A tone is under way: its envelope has not run out.
  bool Sounding() const { return synth_.active && synth_.envelopePos < kEnvelopeEnd; }
  int32_t BlockSize() const { return blockSize_; }

 private:
  void Uninit();
  static constexpr float kEnvelopeEnd = 261.0f;

  int32_t blockSize_;
  SynthesizerSimple synth_;
  SynthOutputs outputs_;
  UninitResident resident_;
};
