#include "shell/ModalLoop.h"

#include <algorithm>

#include "shell/ShellState.h"

namespace platform::shell {

namespace {

std::vector<ModalLoop *> &Stack() { return Shell().modals; }

}  // namespace

bool ModalLoop::Run() {
  wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!wake_) return false;
  Stack().push_back(this);
  Draw();
  while (!closed_) {
    std::vector<PhoneInput> input;
    input.swap(queued_);
    for (const PhoneInput &i : input)
      if (!closed_) Handle(i);
    if (closed_ || !queued_.empty()) continue;
    if (MsgWaitForMultipleObjectsEx(1, &wake_, INFINITE, 0, 0) == WAIT_FAILED) closed_ = true;
  }
  std::erase(Stack(), this);
  CloseHandle(wake_);
  wake_ = nullptr;
  return true;
}

ModalLoop *ModalLoop::Open() { return Stack().empty() ? nullptr : Stack().back(); }

void ModalLoop::Deliver(const PhoneInput &input) {
  queued_.push_back(input);
  SetEvent(wake_);
}

void ModalLoop::CloseAll() {
  for (ModalLoop *modal : Stack()) {
    modal->closed_ = true;
    SetEvent(modal->wake_);
  }
}

}  // namespace platform::shell
