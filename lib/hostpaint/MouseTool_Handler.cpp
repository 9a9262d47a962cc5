#include "MouseTool_Handler.h"

void MouseTool_Handler::Dispatch(int event, int x, int y, unsigned flags) {
  if (!active_) return OfferToAll(event, x, y, flags);
  // A capturing tool sees the event alone; the one that lets go of the
  // capture passes the same event on to the others, and no tool sees it twice.
  RCPtr<MouseTool> active = active_;
  active->OnEvent(event, x, y, flags);
  if (active->IsCapturing()) return;
  const std::vector<RCPtr<MouseTool>> tools = tools_;  // a tool may change the list
  for (const RCPtr<MouseTool> &tool : tools)
    if (tool != active) tool->OnEvent(event, x, y, flags);
  active_.Reset();
}

void MouseTool_Handler::OfferToAll(int event, int x, int y, unsigned flags) {
  const std::vector<RCPtr<MouseTool>> tools = tools_;
  for (const RCPtr<MouseTool> &tool : tools) {
    tool->OnEvent(event, x, y, flags);
    if (tool->IsCapturing()) {
      active_ = tool;
      return;
    }
  }
}

void MouseTool_Handler::ReleaseTools() {
  active_.Reset();
  tools_.clear();
}
