#pragma once

#include "LinkedList.h"

// The one reference-counting base of every counted class. Always inherit it
// virtually, so an object implementing several counted interfaces carries one
// count. Single-threaded: counts are plain integers.
class CRefCounter {
 public:
  // A listener told when a watched object's count reaches zero. First pass
  // (OnLastRelease): the object is whole and may be kept alive by taking a new
  // reference. Second pass (OnDelete): deletion is final.
  class DeleteNotify : public LinkedListElement {
   public:
    virtual void OnLastRelease(CRefCounter &) {}
    virtual void OnDelete(CRefCounter &) {}

   protected:
    ~DeleteNotify() = default;
  };

  CRefCounter() = default;
  // Copying a counted object never copies its count or its listeners.
  CRefCounter(const CRefCounter &) {}
  CRefCounter &operator=(const CRefCounter &) { return *this; }
  virtual ~CRefCounter();

  void AddRef() { ++count_; }
  void Release();
  int RefCount() const { return count_; }

  // Links the listener at the front: the last one added is told first.
  void AddDeleteNotify(DeleteNotify *listener) { listeners_.Add(listener); }

  virtual void DeleteThis() { delete this; }

 private:
  void RunZeroCountProtocol(int decremented);

  LinkedList<DeleteNotify> listeners_;
  int count_ = 0;
};

template <>
struct LinkedListSites<CRefCounter::DeleteNotify> {
  static constexpr const CheckSite &kLinkedTwice = CheckSites::kDeleteNotifyLinkedTwice;
  static constexpr const CheckSite &kPastEnd = CheckSites::kDeleteNotifyPastEnd;
};
