#include "CRefCounter.h"

CRefCounter::~CRefCounter() { listeners_.UnlinkAll(); }

void CRefCounter::Release() {
  const int decremented = --count_;
  if (decremented <= 0) RunZeroCountProtocol(decremented);
}

void CRefCounter::RunZeroCountProtocol(int decremented) {
  if (listeners_.IsEmpty()) {
    DeleteThis();
    return;
  }
  // Hold one count while listeners run, so their own references taken and
  // dropped cannot start the protocol again.
  count_ = decremented + 1;
  for (DeleteNotify *l = listeners_.First(); l; l = LinkedList<DeleteNotify>::Next(l))
    l->OnLastRelease(*this);
  if (--count_ > 0) return;  // a listener kept the object alive
  for (DeleteNotify *l = listeners_.First(); l; l = LinkedList<DeleteNotify>::Next(l))
    l->OnDelete(*this);
  DeleteThis();
}
