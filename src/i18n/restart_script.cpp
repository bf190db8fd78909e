#include "i18n/restart_script.h"

namespace lb {

std::string RestartScriptPath(std::string_view settingsFolder) {
  std::string path(settingsFolder);
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  return path + kRestartScriptName;
}

std::string BatchProgramCommand(std::string_view programPath) {
  std::string command = "\"";
  for (const char c : programPath) {
    if (c == '%') command += '%';
    command += c;
  }
  return command + "\"";
}

std::string RestartScriptText(std::string_view programPath, int osMajorVersion,
                              std::string_view systemFolder) {
  std::string system(systemFolder);
  if (!system.empty() && (system.back() == '\\' || system.back() == '/')) system.pop_back();
  std::string text;
  const auto line = [&](std::string_view content) {
    text += content;
    text += "\r\n";
  };
  line("@ECHO OFF");
  line("ECHO This file was created automatically to restart the program.");
  line("ECHO It is safe to delete this file.");
  line(osMajorVersion >= 6 ? BatchProgramCommand(system + "\\timeout.exe") + " 1"
                           : BatchProgramCommand(system + "\\ping.exe") +
                                 " 192.0.2.2 -n 1 -w 1000 > nul");
  line(BatchProgramCommand(programPath));
  return text;
}

ScriptLaunch RestartScriptLaunch(std::string_view scriptPath, std::string_view workingFolder) {
  const bool network = workingFolder.starts_with("\\\\");
  const std::size_t slash = scriptPath.find_last_of("\\/");
  const std::string script = network || slash == std::string_view::npos
                                 ? "\"\"" + std::string(scriptPath) + "\"\""
                                 : ".\\" + std::string(scriptPath.substr(slash + 1));
  return {.commandLine = "cmd.exe /d /v:off /c " + script, .inWorkingFolder = !network};
}

std::optional<std::string> RestartScriptBytes(std::string_view programPath, int osMajorVersion,
                                              std::string_view systemFolder,
                                              const ICodePage& codePage) {
  return codePage.Encode(RestartScriptText(programPath, osMajorVersion, systemFolder));
}

}  // namespace lb
