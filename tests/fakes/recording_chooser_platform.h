#pragma once
// The language chooser's surroundings for tests: records, in order, every step that "OK" takes.
#include <string>
#include <vector>

#include "i18n/language_chooser.h"

namespace lb::test {

class RecordingChooserPlatform : public IChooserPlatform {
 public:
  int osMajor = 10;
  std::string systemFolder = "C:\\WINDOWS\\system32";
  std::string programPath = "C:\\Program Files\\Lock Beacon\\LockBeacon.exe";
  std::vector<std::string> steps;  // "SetLanguageFile German.lang.txt", "ProcessMessages", ...
  std::vector<std::string> opened;

  void SetLanguageFile(const std::string& fileName) override {
    steps.push_back("SetLanguageFile " + fileName);
  }
  void ProcessMessages() override { steps.push_back("ProcessMessages"); }
  int OsMajorVersion() const override { return osMajor; }
  std::string SystemFolder() const override { return systemFolder; }
  std::string ProgramPath() const override { return programPath; }
  void StartScriptHidden(const std::string& scriptPath, const std::string& workingFolder) override {
    steps.push_back("StartScriptHidden " + scriptPath + " in " + workingFolder);
  }
  void Terminate() override { steps.push_back("Terminate"); }
  void OpenAddress(const std::string& address) override { opened.push_back(address); }
};

}  // namespace lb::test
