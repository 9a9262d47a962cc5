#pragma once

#include "general/RCPtr.h"
#include "general/UninitResident.h"
#include "soundbase/WaveOutEvent.h"
#include "synth/CueTracker.h"
#include "synth/CueVoice.h"
#include "synth/Synth_H.h"

// The cue for the ear (--cue) on the playback device: each reading sets the
// clicks' rate and may ask for the chime (CueTracker), and the cue's stream
// (CueVoice) goes to the device in short blocks, two queued at most, so it
// answers a reading within a tenth of a second. It shares the device with
// the reference tone by giving way: while a tone sounds the cue writes
// nothing, and a tone asked meanwhile follows the cue's few queued blocks.
//
// Thread: program thread (readings and the device's done events). Lifetime:
// counted; registered with the tear-down root, whose uninit pass drops the
// device and the tone player, so a late call writes nothing.
class ProcessCue_H : public virtual CRefCounter {
 public:
  static constexpr int kBlock = 1024;

  // `okCents`: the half-width of the zone that counts as in tune; the
  // device plays `samplesPerSecond`.
  ProcessCue_H(UninitCaller *root, const RCPtr<WaveOutEvent> &device, const RCPtr<Synth_H> &tone, double okCents,
               uint32_t samplesPerSecond);
  ProcessCue_H(const ProcessCue_H &) = delete;
  ProcessCue_H &operator=(const ProcessCue_H &) = delete;

  // A reading at `seconds` on the program's clock.
  void OnReading(bool heard, double cents, double seconds);
  // Tops up the device's queue while the cue sounds: bound to its done events.
  void Fill();

 private:
  void Uninit();

  RCPtr<WaveOutEvent> device_;
  RCPtr<Synth_H> tone_;
  double okCents_;
  CueTracker tracker_;
  CueVoice voice_;
  int queued_ = 0;  // the cue's blocks not yet played
  UninitResident resident_;
};
