#include "platform/restart_handover.h"

#include <utility>

namespace lb {
namespace {

std::function<void()>& Handover() {
  static std::function<void()> handover;
  return handover;
}

}  // namespace

void SetRestartHandover(std::function<void()> handover) { Handover() = std::move(handover); }

void HandOverForRestart() {
  if (Handover()) Handover()();
}

}  // namespace lb
