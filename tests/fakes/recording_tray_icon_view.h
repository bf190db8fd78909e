#pragma once
// The notification-area icon as the tests see it: every look it was told to show, with its
// tooltip.
#include <string>
#include <vector>

#include "indicator/tray_lamps.h"

namespace lb::test {

class RecordingTrayIconView : public ITrayIconView {
 public:
  struct Shown {
    TrayLook look;
    std::string tooltip;
  };
  std::vector<Shown> shown;

  void ShowTrayLook(const TrayLook& look, const std::string& tooltip) override {
    shown.push_back({look, tooltip});
  }
  [[nodiscard]] const TrayLook& Look() const { return shown.back().look; }
};

}  // namespace lb::test
