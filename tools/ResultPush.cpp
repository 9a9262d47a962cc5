#include "ResultPush.h"

bool ResultPush::Push() {
  lost_ = lost_ || !push_();
  return !lost_;
}

void ResultPush::OnSample(AV::IMediaSample *) {
  if (!Push()) stop_();
}
