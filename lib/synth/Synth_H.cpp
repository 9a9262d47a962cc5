#include "Synth_H.h"

#include <cmath>

Synth_H::Synth_H(UninitCaller *root, uint32_t samplesPerSecond, int32_t blockSize)
    : blockSize_(blockSize), resident_(root, this, MakeDelegate<void()>(this, &Synth_H::Uninit)) {
  synth_.sampleRate = static_cast<float>(samplesPerSecond);
  synth_.frequency = 440.0f;
  synth_.level = 1.0f;
  synth_.square = 1;
}

void Synth_H::Play(double note) {
  synth_.frequency = static_cast<float>(440.0 * std::pow(2.0, (note - 69.0) / 12.0));
  synth_.active = 1;
  synth_.envelopePos = 0.0f;
  Fill();
}

void Synth_H::Fill() {
  while (synth_.envelopePos < kEnvelopeEnd && synth_.active) {
    if (outputs_.isFull()) return;
    RCPtr<rcvector<short>> block = MakeRC<rcvector<short>>(static_cast<size_t>(blockSize_), short(0));
    synth_.Render16m(block->data(), blockSize_);
    outputs_.output(block.get());
  }
}

void Synth_H::NoteOn(int note, int) { Play(note); }

void Synth_H::NoteOff(int) {}

void Synth_H::Uninit() { outputs_ = SynthOutputs(); }
