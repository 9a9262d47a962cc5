#pragma once

#include <cstdint>

// 32-bit status codes of the sample stream: 0 success, negative failure.
// Spelled as the phone's headers spell them, so both may be included.
typedef int32_t HRESULT;

#ifndef S_OK
#define S_OK ((HRESULT)0)
#endif
#ifndef E_UNEXPECTED
#define E_UNEXPECTED ((HRESULT)0x8000FFFFL)
#endif
#ifndef E_FAIL
#define E_FAIL ((HRESULT)0x80004005L)
#endif
#ifndef E_INVALIDARG
#define E_INVALIDARG ((HRESULT)0x80070057L)
#endif
#ifndef E_NOINTERFACE
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#endif
