// The About box apart from its rain: texts, dragging by the content, the "Info" menu's guard,
// and what the menu items and the link open.
#include "about/about_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/memory_file_system.h"
#include "i18n/language_file.h"
#include "i18n/translation.h"

namespace lb {
namespace {

// Every text comes from the catalogue by its English words; a text the catalogue lacks (or has
// empty) stays English.
TEST(AboutTexts, CaptionsComeFromTheCatalogueWithEnglishFallbacks) {
  const LanguageTable catalogue(
      "{About %s}Über %s\n{Info}\n{Acknowledgements...}Danksagungen...\n"
      "{License...}Lizenz...\n");
  const AboutCaptions captions = MakeAboutCaptions(
      "Lock Beacon", [&](std::string_view english) { return catalogue.Translate(english); });
  struct Case {
    const std::string& actual;
    const char* expected;
  };
  const Case cases[] = {
      {captions.title, "Über Lock Beacon"},
      {captions.ok, "OK"},
      {captions.info, "Info"},
      {captions.acknowledgements, "Danksagungen..."},
      {captions.uninstall, "How to uninstall..."},
      {captions.license, "Lizenz..."},
  };
  for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
  EXPECT_EQ(
      MakeAboutCaptions("Lock Beacon", [](std::string_view e) { return std::string(e); }).title,
      "About Lock Beacon");
}

TEST(AboutTexts, CaptionAndProductLine) {
  EXPECT_EQ(AboutCaption("About %s", "Lock Beacon"), "About Lock Beacon");
  EXPECT_EQ(AboutCaption("%s hakkında", "Lock Beacon"), "Lock Beacon hakkında");
  EXPECT_EQ(AboutCaption("Info", "Lock Beacon"), "Info");
  EXPECT_EQ(AboutCaption("%s: %s", "Lock Beacon"), "Lock Beacon: %s");
  EXPECT_EQ(ProductLine("Lock Beacon", "1.0"), "Lock Beacon 1.0");
}

TEST(AboutDragRule, LeftOrMiddleOnTheContentRightNever) {
  const AboutPart content[] = {AboutPart::Window, AboutPart::Card, AboutPart::Icon, AboutPart::Logo,
                               AboutPart::ProductLine};
  const AboutPart controls[] = {AboutPart::OkButton, AboutPart::InfoButton, AboutPart::Link};
  for (const AboutPart part : content) {
    SCOPED_TRACE(static_cast<int>(part));
    EXPECT_TRUE(StartsDrag(part, MouseButton::Left));
    EXPECT_TRUE(StartsDrag(part, MouseButton::Middle));
    EXPECT_FALSE(StartsDrag(part, MouseButton::Right));
  }
  for (const AboutPart part : controls) {
    SCOPED_TRACE(static_cast<int>(part));
    EXPECT_FALSE(StartsDrag(part, MouseButton::Left));
  }
}

TEST(AboutDrag, LeftOnTheLogoMovesTheWindowByTheCursorsTravel) {
  AboutDrag drag;
  const Rect bounds = Rect::FromPosSize(300, 200, 452, 400);
  drag.OnMouseDown(AboutPart::Logo, MouseButton::Left, {400, 250});
  ASSERT_TRUE(drag.Dragging());

  const auto first = drag.OnMouseMove({410, 245}, bounds);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(*first, Rect::FromPosSize(310, 195, 452, 400));
  // Each step counts from the previous one, not from the press.
  const auto second = drag.OnMouseMove({411, 245}, *first);
  EXPECT_EQ(second, Rect::FromPosSize(311, 195, 452, 400));

  drag.OnMouseUp();
  EXPECT_FALSE(drag.OnMouseMove({500, 500}, *second).has_value());
}

TEST(AboutDrag, RightOnTheCardStartsNoDrag) {
  AboutDrag drag;
  drag.OnMouseDown(AboutPart::Card, MouseButton::Right, {400, 250});
  EXPECT_FALSE(drag.Dragging());
  EXPECT_FALSE(drag.OnMouseMove({450, 300}, Rect::FromPosSize(0, 0, 10, 10)).has_value());
}

TEST(PopupGuard, AClickThatClosedTheMenuDoesNotReopenIt) {
  constexpr std::uintptr_t kInfo = 11;
  constexpr std::uintptr_t kMenu = 22;
  PopupGuard guard;
  ASSERT_TRUE(guard.ShouldOpen(kInfo, kMenu, 1000));
  guard.Closed(kInfo, kMenu, 5000);  // the menu was open until the click on the button

  EXPECT_FALSE(guard.ShouldOpen(kInfo, kMenu, 5099));
  // Refusing forgot the menu: the next click opens it, however soon.
  EXPECT_TRUE(guard.ShouldOpen(kInfo, kMenu, 5100));
}

TEST(PopupGuard, OpensAfterTheGuardTimeOrForAnotherButtonOrMenu) {
  PopupGuard guard;
  guard.Closed(1, 2, 5000);
  EXPECT_TRUE(guard.ShouldOpen(1, 2, 5100));
  EXPECT_TRUE(guard.ShouldOpen(3, 2, 5001));
  EXPECT_TRUE(guard.ShouldOpen(1, 4, 5001));
  // Nothing stored yet: the first click at tick 0 opens.
  EXPECT_TRUE(PopupGuard{}.ShouldOpen(0, 0, 0));
}

TEST(PopupGuard, TheTickCountWrappingRoundKeepsTheGuard) {
  PopupGuard guard;
  guard.Closed(1, 2, 0xFFFFFFF0u);
  EXPECT_FALSE(guard.ShouldOpen(1, 2, 0x10u));  // 32 ms later
}

class RecordingShell : public IAboutShell {
 public:
  std::vector<std::string> opened;
  std::vector<std::string> notepad;
  std::vector<std::pair<std::string, std::string>> errors;
  void OpenAddress(const std::string& address) override { opened.push_back(address); }
  void OpenInNotepad(const std::string& path) override { notepad.push_back(path); }
  void ShowError(const std::string& caption, const std::string& text) override {
    errors.emplace_back(caption, text);
  }
};

class AboutActionsTest : public ::testing::Test {
 protected:
  RecordingShell shell;
  test::MemoryFileSystem files;
  AboutActions actions{shell, files, "www.example.test", "C:\\Program Files\\Lock Beacon\\"};
};

TEST_F(AboutActionsTest, MenuItemsAndTheLinkOpenTheirPages) {
  actions.OnAcknowledgements();
  actions.OnHowToUninstall();
  actions.OnHomeLinkClick();
  EXPECT_EQ(shell.opened, (std::vector<std::string>{
                              "https://www.example.test/blog/credits-and-acknowledgements/",
                              "https://www.example.test/blog/how-to-uninstall-brimlex-software/",
                              "https://www.example.test/"}));
}

TEST_F(AboutActionsTest, LicenseOpensInNotepadWhenPresent) {
  files.files["C:\\Program Files\\Lock Beacon\\license.txt"] = "MIT";
  actions.OnLicense();
  EXPECT_EQ(shell.notepad, std::vector<std::string>{"C:\\Program Files\\Lock Beacon\\license.txt"});
  EXPECT_TRUE(shell.errors.empty());
}

TEST_F(AboutActionsTest, MissingLicenseSaysFileNotFound) {
  actions.OnLicense();
  EXPECT_TRUE(shell.notepad.empty());
  ASSERT_EQ(shell.errors.size(), 1u);
  EXPECT_EQ(shell.errors[0].first, Translate("License"));
  EXPECT_EQ(shell.errors[0].second, Translate("File not found!"));
}

}  // namespace
}  // namespace lb
