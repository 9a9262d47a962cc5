#pragma once

#include <vector>

#include "MouseTool.h"
#include "general/RCPtr.h"

// Keeps the pointer tools in the order added and hands each pointer event to
// them: to the capturing tool alone while it captures, otherwise to every
// tool in order until one starts capturing. UI thread only.
class MouseTool_Handler {
 public:
  void AddTool(RCPtr<MouseTool> tool) { tools_.push_back(std::move(tool)); }
  void Dispatch(int event, int x, int y, unsigned flags);
  // Drops every tool (tear-down, or before a new set is made).
  void ReleaseTools();

  const std::vector<RCPtr<MouseTool>> &Tools() const { return tools_; }
  const RCPtr<MouseTool> &Active() const { return active_; }

 protected:
  ~MouseTool_Handler() = default;

 private:
  void OfferToAll(int event, int x, int y, unsigned flags);

  RCPtr<MouseTool> active_;
  std::vector<RCPtr<MouseTool>> tools_;
};
