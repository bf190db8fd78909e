#include "base/sha256_win.h"

#include <windows.h>
// BCrypt's types need those of windows.h first.
#include <bcrypt.h>

#include <string>

#include "platform/app_error.h"
#include "platform/system_library_win.h"

namespace lb {
namespace {

using OpenAlgorithmProvider = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG);
using CloseAlgorithmProvider = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, ULONG);
using CreateHash = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE*, PUCHAR, ULONG, PUCHAR,
                                     ULONG, ULONG);
using HashData = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using FinishHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using DestroyHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE);

// The functions of bcrypt.dll that a digest needs, all there or none.
struct BCryptFunctions {
  OpenAlgorithmProvider open =
      SystemProc<OpenAlgorithmProvider>(L"bcrypt.dll", "BCryptOpenAlgorithmProvider");
  CloseAlgorithmProvider close =
      SystemProc<CloseAlgorithmProvider>(L"bcrypt.dll", "BCryptCloseAlgorithmProvider");
  CreateHash create = SystemProc<CreateHash>(L"bcrypt.dll", "BCryptCreateHash");
  HashData hash = SystemProc<HashData>(L"bcrypt.dll", "BCryptHashData");
  FinishHash finish = SystemProc<FinishHash>(L"bcrypt.dll", "BCryptFinishHash");
  DestroyHash destroy = SystemProc<DestroyHash>(L"bcrypt.dll", "BCryptDestroyHash");

  [[nodiscard]] bool Complete() const {
    return open && close && create && hash && finish && destroy;
  }
};

bool Succeeded(NTSTATUS status) { return status >= 0; }

[[noreturn]] void Fail(const char* step, NTSTATUS status) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string code;
  for (int shift = 28; shift >= 0; shift -= 4) {
    code += kHex[(static_cast<unsigned long>(status) >> shift) & 0xFu];
  }
  throw AppError(std::string("SHA-256: ") + step + " failed (0x" + code + ")");
}

}  // namespace

Sha256Digest Sha256(std::string_view bytes) {
  static const BCryptFunctions bcrypt;
  if (!bcrypt.Complete()) throw AppError("SHA-256: bcrypt.dll is not available");

  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (const NTSTATUS status = bcrypt.open(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
      !Succeeded(status)) {
    Fail("opening the algorithm", status);
  }
  // The hash object's memory is the provider's own (null buffer, Windows 7 and later).
  BCRYPT_HASH_HANDLE hash = nullptr;
  NTSTATUS status = bcrypt.create(algorithm, &hash, nullptr, 0, nullptr, 0, 0);
  Sha256Digest digest{};
  const char* failedStep = "creating the hash";
  if (Succeeded(status)) {
    // BCryptHashData takes a non-const pointer but only reads the input.
    status = bcrypt.hash(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                         static_cast<ULONG>(bytes.size()), 0);
    failedStep = "hashing";
    if (Succeeded(status)) {
      status = bcrypt.finish(hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
      failedStep = "finishing the hash";
    }
    bcrypt.destroy(hash);
  }
  bcrypt.close(algorithm, 0);
  if (!Succeeded(status)) Fail(failedStep, status);
  return digest;
}

}  // namespace lb
