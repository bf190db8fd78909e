#pragma once
// What the update check tells the server about the machine it runs on.
#include <windows.h>

#include <string>
#include <string_view>

namespace lb {

// "Windows 10 (Version 10.0, Build 19045, 64-bit Edition)": gathered once, at program start.
std::string OSDescription();

// The operating system's major version number (6 for Vista to 8.1, 10 for 10 and 11).
[[nodiscard]] int OsMajorVersion();

// The start-up locale's ISO 639 language and ISO 3166 country codes ("en-US"); "xx" when the
// locale is not installed or the lookup fails in any way.
std::string UserLocaleName();
// The same for a given locale (for tests).
std::string LocaleNameOf(LCID locale);

// MachineGuid under HKLM\SOFTWARE\Microsoft\Cryptography, from the 64-bit view of the registry
// (also in a 32-bit process). Empty when the key or the value is missing; throws AppError when
// the value is not text. Read afresh at each call.
std::string ReadMachineGuid();
// The same lookup at another place (for tests).
std::string ReadMachineGuidAt(HKEY root, const wchar_t* subkey);

// The identifier the update check sends for this machine: MachineIdentifierFrom
// (base/machine_identifier.h) of ReadMachineGuid and `productName`, SHA-256 by the system's
// BCrypt. Empty when the machine has no MachineGuid; throws AppError when the value is not text
// or the digest cannot be made.
std::string MachineIdentifier(std::string_view productName);

}  // namespace lb
