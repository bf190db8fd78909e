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

std::string RestartScriptText(std::string_view programPath, int osMajorVersion) {
  std::string text;
  const auto line = [&](std::string_view content) {
    text += content;
    text += "\r\n";
  };
  line("@ECHO OFF");
  line("ECHO This file was created automatically to restart the program.");
  line("ECHO It is safe to delete this file.");
  line(osMajorVersion >= 6 ? "timeout 1" : "ping 192.0.2.2 -n 1 -w 1000 > nul");
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
                                              const ICodePage& codePage) {
  return codePage.Encode(RestartScriptText(programPath, osMajorVersion));
}

}  // namespace lb
