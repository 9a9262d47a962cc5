#include "AssertionRecord.h"

AssertionRecord *AssertionRecord::installed = nullptr;
