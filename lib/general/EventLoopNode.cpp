#include "EventLoopNode.h"

EventLoopNode::EventLoopNode(UninitCaller *root, const Delegate<void()> &handler)
    : handler_(handler), resident_(root, this, MakeDelegate<void()>(this, &EventLoopNode::Uninit)) {}
