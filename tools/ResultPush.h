#pragma once

#include "filters/IMediaSample.h"
#include "general/CRefCounter.h"
#include "general/Delegate.h"

// Pushes a live run's results out as they come. Bound into the capture
// device's sample handler behind the pipeline, so each captured buffer's
// results are written out once it has passed. The first push that fails (a
// full disk, /dev/full) calls `stop`: results nobody can read are no reason
// to keep listening. Program thread only.
class ResultPush : public virtual CRefCounter {
 public:
  // `push` writes out what has been printed; false once anything was lost.
  ResultPush(bool (*push)(), const Delegate<void()> &stop) : push_(push), stop_(stop) {}

  // Pushes now; false once output was lost.
  bool Push();
  void OnSample(AV::IMediaSample *);
  bool Lost() const { return lost_; }

 private:
  bool (*push_)();
  Delegate<void()> stop_;
  bool lost_ = false;
};
