#include "BaseFilter.h"

#include <algorithm>

#include "general/CheckSites.h"

BaseFilter::~BaseFilter() {
  if (state_ == kRunning) Check(BaseFilter::Stop() == 0, CheckSites::kFilterDestroyedRunning);
  Check(pins_.empty(), CheckSites::kFilterDestroyedPlugged);
}

std::vector<RCPtr<IFilter>>::iterator BaseFilter::Find(IFilter *pin) {
  return std::find_if(pins_.begin(), pins_.end(), [pin](const RCPtr<IFilter> &p) { return p.get() == pin; });
}

HRESULT BaseFilter::UnplugAll() {
  const std::vector<RCPtr<IFilter>> copy = pins_;
  for (const RCPtr<IFilter> &pin : copy) {
    const HRESULT hr = UnplugPin(pin.get());
    if (!Check(hr >= 0, CheckSites::kUnplugAllFailed)) return hr;
  }
  return 0;
}

HRESULT BaseFilter::SetStartPosition(int64_t position) {
  startPosition_ = position;
  HRESULT remembered = 0;
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    const HRESULT hr = pin->SetStartPosition(position);
    if (!Check(hr >= 0, CheckSites::kPinRefusedPosition)) return hr;
    if (hr != 0) remembered = hr;
  }
  positionSet_ = true;
  return remembered;
}

HRESULT BaseFilter::NotifyEvent(int event) {
  const bool counted = (modeFlags_ & 2u) != 0;
  if (event == kEventStart) {
    if (counted && startCount_++ != 0) return 0;
    return Start();
  }
  if (event == kEventStop) {
    if (counted && startCount_-- != 1) return 0;
    return Stop();
  }
  if (event == kEventPush) return Push();
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    const HRESULT hr = pin->NotifyEvent(event);
    if (!Check(hr >= 0, CheckSites::kPinRefusedEvent)) return hr;
  }
  return 0;
}

HRESULT BaseFilter::Start() {
  if (!Check(state_ == kStopped, CheckSites::kFilterStartNotStopped)) return E_UNEXPECTED;
  if (!Check(positionSet_, CheckSites::kFilterStartWithoutPosition)) return E_UNEXPECTED;
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    const HRESULT hr = pin->NotifyEvent(kEventStart);
    if (!Check(hr >= 0, CheckSites::kPinRefusedStart)) return hr;
  }
  state_ = kRunning;
  return 0;
}

HRESULT BaseFilter::Stop() {
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    Check(pin->NotifyEvent(kEventStop) >= 0, CheckSites::kPinRefusedStop);
  }
  state_ = kStopped;
  positionSet_ = false;
  return 0;
}

HRESULT BaseFilter::WriteSample(AV::IMediaSample *sample) {
  if (!Check(state_ == kRunning, CheckSites::kFilterWriteNotRunning)) return E_UNEXPECTED;
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    const HRESULT hr = pin->WriteSample(sample);
    if (!Check(hr >= 0, CheckSites::kPinRefusedSample)) return hr;
  }
  return 0;
}

HRESULT BaseFilter::PlugPin(IFilter *pin) {
  if (!Check(pin != nullptr && pin != this, CheckSites::kPlugInvalidPin)) return E_INVALIDARG;
  if (!Check(state_ != kRunning, CheckSites::kPlugWhileRunning)) return E_FAIL;
  const bool plugged = Find(pin) != pins_.end();
  if (!Check(!plugged, CheckSites::kPlugTwice)) return E_INVALIDARG;
  pins_.emplace_back(pin);
  return 0;
}

HRESULT BaseFilter::UnplugPin(IFilter *pin) {
  if (!Check(state_ != kRunning, CheckSites::kUnplugWhileRunning)) return E_FAIL;
  const auto it = Find(pin);
  if (!Check(it != pins_.end(), CheckSites::kUnplugUnknownPin)) return E_INVALIDARG;
  const RCPtr<IFilter> keep = *it;  // released after the list no longer holds it
  pins_.erase(it);
  return 0;
}

bool BaseFilter::CheckPins() {
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    if (!pin->CheckPins()) return false;
  }
  return true;
}

HRESULT BaseFilter::IsNoMoreData(int, int) {
  Check(false, CheckSites::kFilterIsNoMoreData);
  return 1;
}

HRESULT BaseFilter::QueryNoMoreData(int a, int b) { return IsNoMoreData(a, b); }

const void *BaseFilter::GetWaveFormat() {
  Check(false, CheckSites::kFilterGetWaveFormat);
  return nullptr;
}

HRESULT BaseFilter::QueryDownstream(int a, int b) {
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    const HRESULT hr = pin->QueryDownstream(a, b);
    if (hr >= 0) return hr;
  }
  return E_NOINTERFACE;
}

HRESULT BaseFilter::Push() {
  Check(false, CheckSites::kFilterPush);
  return 1;
}
