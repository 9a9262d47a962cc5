#include "EventLoop.h"

#include <vector>

namespace {

// Every kind of input wakes the wait.
constexpr DWORD kAnyInput =
    QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_SENDMESSAGE;

}  // namespace

EventLoop::MessageNode::MessageNode(UninitCaller *root, const Hook &hook)
    : hook_(hook), resident_(root, this, MakeDelegate<void()>(this, &MessageNode::Uninit)) {}

void EventLoop::AddMessage(const RCPtr<MessageNode> &node, UINT id) {
  if (!Check(messageHooks_.find(id) == messageHooks_.end(), CheckSites::kMessageHookTaken)) return;
  messageHooks_[id] = node;
}

void EventLoop::AddEventHandle(const RCPtr<EventLoopNode> &node, const RCPtr<EventHandleHolder> &holder) {
  if (!Check(handleNodes_.size() < MAXIMUM_WAIT_OBJECTS, CheckSites::kTooManyHandles)) return;
  handleNodes_[node] = holder;
}

void EventLoop::Run() {
  // The snapshot: built once, so servicing allocates nothing.
  std::vector<RCPtr<EventLoopNode>> nodes;
  std::vector<HANDLE> handles;
  nodes.reserve(handleNodes_.size());
  handles.reserve(handleNodes_.size());
  for (const auto &[node, holder] : handleNodes_) {
    nodes.push_back(node);
    // An empty holder is a misuse, recorded; it waits on no handle, so the
    // wait fails and ends the loop.
    EventHandleHolder *h = holder.CheckedGet();
    handles.push_back(h ? h->Get() : nullptr);
  }
  const DWORD count = static_cast<DWORD>(handles.size());

  running_ = true;
  bool allowHandles = true;
  for (;;) {
    bool queueWasEmpty = true;
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      queueWasEmpty = false;
      if (running_) Drain();
    }
    const DWORD waitCount = allowHandles ? count : 0;
    const DWORD result =
        MsgWaitForMultipleObjectsEx(waitCount, allowHandles ? handles.data() : nullptr,
                                    allowHandles && queueWasEmpty ? INFINITE : 0, queueWasEmpty ? kAnyInput : 0, 0);
    allowHandles = true;
    // Compared with the handles actually waited on: after a wait without
    // handles, WAIT_OBJECT_0 means input, not the first handle.
    if (result < waitCount) {
      allowHandles = false;
      if (EventLoopNode *node = nodes[result].CheckedGet()) node->Handler()();
    } else if (result == WAIT_FAILED) {
      break;
    }
    if (!running_) break;
  }
}

void EventLoop::Drain() {
  MSG msg;
  while (running_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (OfferToHook(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool EventLoop::OfferToHook(const MSG &msg) {
  auto it = messageHooks_.find(msg.message);
  if (it == messageHooks_.end()) return false;
  MessageNode *node = it->second.CheckedGet();
  if (!node) return false;
  bool handled = false;
  node->Handler()(msg, &handled);
  return handled;
}
