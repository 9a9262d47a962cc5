#pragma once

#include "CheckSites.h"

// The link carried by every member of an intrusive list. `back` points at the
// pointer that points at this link (the previous member's `next` or the list
// head), so a member unlinks itself in constant time without the list.
class LinkedListElement {
 public:
  LinkedListElement() = default;
  LinkedListElement(const LinkedListElement &) = delete;
  LinkedListElement &operator=(const LinkedListElement &) = delete;

  bool IsLinked() const { return next != nullptr || back != nullptr; }

  void Remove() {
    if (next) next->back = back;
    if (back) *back = next;
    next = nullptr;
    back = nullptr;
  }

  LinkedListElement *next = nullptr;
  LinkedListElement **back = nullptr;

 protected:
  ~LinkedListElement() { Remove(); }
};

// The check sites of a list of T; specialised where a list is used.
template <class T>
struct LinkedListSites;

// An intrusive list of T (T derives from LinkedListElement). It owns nothing:
// members are neither allocated nor freed by it. New members go to the front.
template <class T>
class LinkedList {
 public:
  LinkedList() = default;
  LinkedList(const LinkedList &) = delete;
  LinkedList &operator=(const LinkedList &) = delete;

  void Add(T *member) {
    LinkedListElement *link = member;
    if (!Check(!link->IsLinked(), LinkedListSites<T>::kLinkedTwice)) return;
    link->next = head_;
    link->back = &head_;
    if (head_) head_->back = &link->next;
    head_ = link;
  }

  T *First() const { return static_cast<T *>(head_); }
  static T *Next(const T *member) { return static_cast<T *>(member->next); }
  bool IsEmpty() const { return head_ == nullptr; }

  // Unlinks every member (both link fields null) without calling anything.
  void UnlinkAll() {
    while (head_) head_->Remove();
  }

 private:
  LinkedListElement *head_ = nullptr;
};

template <class T>
class LinkedListIterator {
 public:
  explicit LinkedListIterator(const LinkedList<T> &list) : current_(list.First()) {}

  T *operator*() const {
    Check(current_ != nullptr, LinkedListSites<T>::kPastEnd);
    return current_;
  }
  LinkedListIterator &operator++() {
    current_ = LinkedList<T>::Next(current_);
    return *this;
  }
  bool AtEnd() const { return current_ == nullptr; }

 private:
  T *current_;
};
