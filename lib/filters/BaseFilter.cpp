#include "BaseFilter.h"

#include <algorithm>

#include "general/AssertionRecord.h"

BaseFilter::~BaseFilter() {
  if (state_ == kRunning) Check(BaseFilter::Stop() == 0, "BaseFilter", 18, "BaseFilter::~BaseFilter");
  Check(pins_.empty(), "BaseFilter", 21, "BaseFilter::~BaseFilter");
}

std::vector<RCPtr<IFilter>>::iterator BaseFilter::Find(IFilter *pin) {
  return std::find_if(pins_.begin(), pins_.end(), [pin](const RCPtr<IFilter> &p) { return p.get() == pin; });
}

HRESULT BaseFilter::UnplugAll() {
  const std::vector<RCPtr<IFilter>> copy = pins_;
  for (const RCPtr<IFilter> &pin : copy) {
    const HRESULT hr = UnplugPin(pin.get());
    if (!Check(hr >= 0, "BaseFilter", 33, "BaseFilter::UnplugAll")) return hr;
  }
  return 0;
}

HRESULT BaseFilter::SetStartPosition(int64_t position) {
  startPosition_ = position;
  HRESULT remembered = 0;
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    const HRESULT hr = pin->SetStartPosition(position);
    if (!Check(hr >= 0, "BaseFilter", 51, "BaseFilter::SetStartPosition")) return hr;
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
    if (!Check(hr >= 0, "BaseFilter", 97, "BaseFilter::NotifyEvent")) return hr;
  }
  return 0;
}

HRESULT BaseFilter::Start() {
  if (!Check(state_ == kStopped, "BaseFilter", 110, "BaseFilter::Start")) return E_UNEXPECTED;
  if (!Check(positionSet_, "BaseFilter", 112, "BaseFilter::Start")) return E_UNEXPECTED;
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    const HRESULT hr = pin->NotifyEvent(kEventStart);
    if (!Check(hr >= 0, "BaseFilter", 117, "BaseFilter::Start")) return hr;
  }
  state_ = kRunning;
  return 0;
}

HRESULT BaseFilter::Stop() {
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    Check(pin->NotifyEvent(kEventStop) >= 0, "BaseFilter", 136, "BaseFilter::Stop");
  }
  state_ = kStopped;
  positionSet_ = false;
  return 0;
}

HRESULT BaseFilter::WriteSample(AV::IMediaSample *sample) {
  if (!Check(state_ == kRunning, "BaseFilter", 150, "BaseFilter::WriteSample")) return E_UNEXPECTED;
  for (size_t i = 0; i < pins_.size(); ++i) {
    const RCPtr<IFilter> pin = pins_[i];
    const HRESULT hr = pin->WriteSample(sample);
    if (!Check(hr >= 0, "BaseFilter", 155, "BaseFilter::WriteSample")) return hr;
  }
  return 0;
}

HRESULT BaseFilter::PlugPin(IFilter *pin) {
  if (!Check(pin != nullptr && pin != this, "BaseFilter", 171, "BaseFilter::PlugPin")) return E_INVALIDARG;
  if (!Check(state_ != kRunning, "BaseFilter", 177, "BaseFilter::PlugPin")) return E_FAIL;
  const bool plugged = Find(pin) != pins_.end();
  if (!Check(!plugged, "BaseFilter", 182, "BaseFilter::PlugPin")) return E_INVALIDARG;
  pins_.emplace_back(pin);
  return 0;
}

HRESULT BaseFilter::UnplugPin(IFilter *pin) {
  if (!Check(state_ != kRunning, "BaseFilter", 199, "BaseFilter::UnplugPin")) return E_FAIL;
  const auto it = Find(pin);
  if (!Check(it != pins_.end(), "BaseFilter", 206, "BaseFilter::UnplugPin")) return E_INVALIDARG;
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
  Check(false, "BaseFilter", 246, "BaseFilter::IsNoMoreData");
  return 1;
}

HRESULT BaseFilter::QueryNoMoreData(int a, int b) { return IsNoMoreData(a, b); }

const void *BaseFilter::GetWaveFormat() {
  Check(false, "BaseFilter", 235, "BaseFilter::GetWaveFormat");
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
  Check(false, "BaseFilter", 240, "BaseFilter::Push");
  return 1;
}
