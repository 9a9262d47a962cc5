#pragma once

#include "general/CRefCounter.h"

// The product's identity, so the shell can show it without knowing the
// product. Every string is constant, null-terminated and owned by the object.
class IApplicationInfo : public virtual CRefCounter {
 public:
  virtual const wchar_t *GetProductName() = 0;
  virtual const wchar_t *GetVersion() = 0;
  // Maker and product.
  virtual const wchar_t *GetTitle() = 0;
  // The maker's web site, a URL beginning with "http://".
  virtual const wchar_t *GetSiteAddress() = 0;
};
