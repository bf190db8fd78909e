#include "base/settings_folder.h"

#include <exception>

namespace lb {
namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// "C:\Apps\" -> "C:\Apps"; a drive root keeps its backslash ("C:\").
std::string ProbeFolder(const std::string& folderWithSlash) {
  if (folderWithSlash.size() <= 1) return folderWithSlash;
  if (folderWithSlash.size() == 3 && folderWithSlash[1] == ':') return folderWithSlash;
  return folderWithSlash.substr(0, folderWithSlash.size() - 1);
}

constexpr const char* kFallbackCompanyName = "BRIMLEX";
constexpr const char* kFallbackProductName = "Lock Beacon";

}  // namespace

ProgramNames ReadProgramNames(const IStartupPlatform& platform, const std::string& exePath) {
  try {
    const VersionBlock version = platform.ReadVersionBlock(exePath);
    return {version.companyName, version.productName};
  } catch (const std::exception&) {
    return {kFallbackCompanyName, kFallbackProductName};
  }
}

std::string ChooseSettingsFolder(IStartupPlatform& platform, const std::string& exePath,
                                 const std::string& companyName, const std::string& productName) {
  const std::string exeFolder = FolderOf(exePath);
  if (!exeFolder.empty() && platform.IsFolderWritable(ProbeFolder(exeFolder))) return exeFolder;

  const std::string company = platform.AppDataFolder() + "\\" + companyName;
  platform.CreateFolder(company);
  const std::string product = company + "\\" + productName;
  platform.CreateFolder(product);
  return product + "\\";
}

}  // namespace lb
