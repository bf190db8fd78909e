#pragma once
// Everything the main window's logic needs from the platform, handed to it in one piece. The
// Win32 program fills it with the real implementations; tests with fakes.
#include "i18n/language_platform.h"
#include "indicator/full_screen.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/keyboard.h"
#include "platform/message_dialogs.h"
#include "platform/shell.h"
#include "platform/sound_player.h"
#include "platform/startup_entry.h"
#include "platform/startup_platform.h"

namespace lb {

struct AppPlatform {
  IStartupPlatform& startup;
  IFileSystem& files;
  const ICodePage& codePage;
  const ILanguagePlatform& language;
  const IKeyboard& keyboard;
  ISoundPlayer& sound;
  IShell& shell;
  IMessageDialogs& messages;
  IStartupEntry& startupEntry;  // "Start with Windows"
  // What is in front of the user (full-screen programs); none: nothing ever is.
  const IFullScreenProbe* fullScreen = nullptr;
};

}  // namespace lb
