#pragma once

#include <vector>

#include "CRefCounter.h"

// A counted vector, shared through RCPtr (sample blocks travel as rcvector<short>).
template <class T>
class rcvector : public std::vector<T>, public virtual CRefCounter {
 public:
  using std::vector<T>::vector;
};
