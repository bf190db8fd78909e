#include "indicator/tray_icon_keeper.h"

namespace lb {

TrayIconKeeper::TrayIconKeeper(INotifyArea& area, ITimerHost& timers, int timerId)
    : area_(area), retry_(timers, timerId, [this] { return TryAgain(); }) {}

void TrayIconKeeper::Add() {
  shown_ = area_.AddIcon();
  if (shown_) {
    area_.SetIconVersion();
    retry_.Stop();
  } else {
    retry_.Start();
  }
}

void TrayIconKeeper::Changed() {
  if (shown_) {
    if (area_.ModifyIcon()) return;
    // The shell lost the icon, or refused for now: it is tried again.
    shown_ = false;
    retry_.Start();
    return;
  }
  // The next attempt shows the new look anyway.
  if (retry_.Running()) return;
  if (!TryAgain()) retry_.Start();
}

bool TrayIconKeeper::TryAgain() {
  if (area_.ModifyIcon()) {
    shown_ = true;
  } else {
    shown_ = area_.AddIcon();
  }
  if (shown_) area_.SetIconVersion();
  return shown_;
}

}  // namespace lb
