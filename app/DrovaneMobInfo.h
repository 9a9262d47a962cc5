#pragma once

#include "IApplicationInfo.h"
#include "base/Version.h"

// This product's identity; no state.
class DrovaneMobInfo : public IApplicationInfo {
 public:
  const wchar_t *GetProductName() override { return L"Drovane"; }
  const wchar_t *GetVersion() override { return drovane::kFileVersion; }
  const wchar_t *GetTitle() override { return L"Quorla Drovane"; }
  const wchar_t *GetSiteAddress() override { return L"http://drovane.quorla.org"; }
};
