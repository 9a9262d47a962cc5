#pragma once

#include <map>

#include "CRefCounter.h"
#include "Delegate.h"
#include "EventHandleHolder.h"
#include "EventLoopNode.h"
#include "RCPtr.h"
#include "UninitResident.h"
#include "win/user.h"

// The program's only loop, on the program thread. It services window
// messages (chosen message ids may be taken by a hook before translate and
// dispatch) and event handles (each with a node called when it is signalled).
// Messages come first: after one handle has been serviced the loop looks at
// the queue again before it waits on the handles, so a handle that stays
// signalled cannot starve the messages. Hooks and handles are added before
// Run; Run waits only on the handles present when it starts.
class EventLoop : public virtual CRefCounter {
 public:
  // A message hook. Called with the message and a flag the loop has set to
  // false; setting it to true consumes the message. Registered for ordered
  // tear-down: from its uninit on it calls nothing.
  class MessageNode : public virtual CRefCounter {
   public:
    using Hook = Delegate<void(const tagMSG &, bool *)>;
    MessageNode(UninitCaller *root, const Hook &hook);

    const Hook &Handler() const { return hook_; }

   private:
    void Uninit() { hook_.Clear(); }

    Hook hook_;
    UninitResident resident_;
  };

  // At most one hook per message id; a second one is refused.
  void AddMessage(const RCPtr<MessageNode> &node, UINT id);
  // At most 64 handles; a node already present gets the new holder.
  void AddEventHandle(const RCPtr<EventLoopNode> &node, const RCPtr<EventHandleHolder> &holder);
  // Returns once Stop has been called (noticed after the message or handle
  // being serviced) or a wait has failed.
  void Run();
  void Stop() { running_ = false; }

 private:
  void Drain();
  bool OfferToHook(const MSG &msg);

  std::map<UINT, RCPtr<MessageNode>> messageHooks_;
  std::map<RCPtr<EventLoopNode>, RCPtr<EventHandleHolder>> handleNodes_;
  bool running_ = false;
};
