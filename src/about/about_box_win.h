#pragma once
// The About box on Win32: a black tool window with the falling letters in its margins and a
// card in the middle (logo, program icon, product line, "OK", "Info" with its menu, the link to
// the maker's home page). The rules live in about_box.h and matrix_rain.h; this file draws and
// turns messages into calls of them.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "about/about_box.h"
#include "about/matrix_rain.h"
#include "base/server_host.h"
#include "platform/file_system_win.h"
#include "platform/timer.h"
#include "platform/timer_host_win.h"
#include "ui/handles_win.h"
#include "ui/modal_dialog_win.h"

namespace lb {

// Opens the About box over `owner` (which is disabled meanwhile) and returns when it has
// closed. The "About..." menu command calls this.
void ShowAboutBox(HWND owner);

struct AboutBoxOptions {
  std::string exeFolder;            // where "license.txt" is looked for; ends in a backslash
  std::string host = ServerHost();  // of the pages it opens, and the link's text
  HMODULE pictures = nullptr;       // holds the logo and the icon; null: the box's own module
};

class AboutCard;

// What the About box's menu and link ask of the system: the shell and a message box, owned by
// the box.
class AboutShell final : public IAboutShell {
 public:
  void SetOwner(HWND owner) noexcept { owner_ = owner; }
  void OpenAddress(const std::string& address) override;
  void OpenInNotepad(const std::string& path) override;
  void ShowError(const std::string& caption, const std::string& text) override;

 private:
  HWND owner_ = nullptr;
};

class AboutBox final : public ModalDialog, private IRainCanvas {
 public:
  static constexpr const wchar_t* kClassName = L"LockBeaconAbout";
  static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
  // Design sizes at 96 dots per inch.
  static constexpr Size kClientSize{446, 374};
  static constexpr Rect kCardRect{48, 42, 48 + 350, 42 + 291};

  // Creates the box, hidden, centred on the screen, with its rain started. Throws AppError when
  // the window cannot be created.
  AboutBox(HINSTANCE instance, HWND owner, AboutBoxOptions options);
  ~AboutBox() override;

  // ShowModal, Show and Close come from ModalDialog; closing stops the rain first.

  // What the box shows, for tests.
  [[nodiscard]] std::wstring Caption() const;
  [[nodiscard]] const std::string& ProductLineText() const { return productLine_; }
  [[nodiscard]] RECT CardRectOnScreen() const;
  [[nodiscard]] HWND CardWindow() const;
  [[nodiscard]] HWND OkButton() const { return okButton_; }
  [[nodiscard]] HWND InfoButton() const { return infoButton_; }
  [[nodiscard]] const MatrixRain& Rain() const { return *rain_; }
  // The logo as drawn at the present DPI; empty when the resource is missing.
  [[nodiscard]] const DibSection& Logo() const { return logo_; }

  // The handlers of the buttons, the menu items and the link.
  void OnOk();
  void OnInfo();
  void OnAcknowledgements() { actions_.OnAcknowledgements(); }
  void OnHowToUninstall() { actions_.OnHowToUninstall(); }
  void OnLicense() { actions_.OnLicense(); }
  void OnHomeLinkClick() { actions_.OnHomeLinkClick(); }

 private:
  friend class AboutCard;
  enum : int { kOkId = IDOK, kInfoId = 100, kAcknowledgementsId = 200, kUninstallId, kLicenseId };
  static constexpr int kRainTimerId = 1;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Mouse events of the window and of the card, at screen positions.
  void OnMouseDown(AboutPart part, MouseButton button, POINT screen);
  void OnMouseMove(POINT screen);
  void OnMouseUp();
  void OnCommand(int id);
  void DrawButton(const DRAWITEMSTRUCT& item) const;

  // Fonts, logo, icon, positions and sizes for the window's DPI.
  void LayOut(int dpi) override;
  void LoadLogo();
  [[nodiscard]] HWND FirstFocus() const override { return okButton_; }
  void OnClosing() noexcept override {
    rainTimer_.reset();
    timers_.Detach();
  }
  void OnRainTimer();

  // IRainCanvas: draws on the window while a step runs (dc_ is set by RunRain).
  void FillBlack(int left, int top, int width, int height) override;
  void DrawGlyph(int x, int y, char glyph, Color color) override;
  template <typename Action>
  void RunRain(Action action);

  HMODULE pictures_;
  WindowTimerHost timers_;  // the rain's timer; outlives rainTimer_
  Win32FileSystem files_;
  AboutShell shell_;
  AboutActions actions_;
  std::string productLine_;
  std::string linkText_;
  std::unique_ptr<IRandom> random_;
  std::unique_ptr<MatrixRain> rain_;
  std::unique_ptr<Timer> rainTimer_;
  HDC dc_ = nullptr;
  UniqueFont rainFont_;
  UniqueFont textFont_;  // Tahoma 12 pt: product line and buttons
  UniqueFont linkFont_;  // MS Sans Serif 8 pt, underlined
  UniqueIcon icon_;
  DibSection logo_;
  UniqueMenu infoMenu_;
  std::unique_ptr<AboutCard> card_;
  HWND okButton_ = nullptr;  // children of the card: destroyed with it
  HWND infoButton_ = nullptr;
  HWND tooltip_ = nullptr;
  AboutDrag drag_;
  PopupGuard popupGuard_;
};

}  // namespace lb
