#pragma once
// The stand-in for the maker's web server (tools/standin_server.py), run from a test under Wine:
// a Python process on the build machine, listening on 127.0.0.1 at a free port for HTTPS and
// plain HTTP at once. Its test CA is trusted in the machine root store of the private test
// prefix only (Wine's WinHTTP trusts the roots it finds there).
#include <windows.h>
// The certificate store needs the types of windows.h first.
#include <wincrypt.h>

#include <atomic>
#include <chrono>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "online/web_client_win.h"
#include "platform/wide_text_win.h"

namespace lb::test {

class StandinServer {
 public:
  // `arguments`: the server's options ("--https", "refuse", ...). Waits until it listens.
  explicit StandinServer(const std::vector<std::string>& arguments = {}) {
    static std::atomic<unsigned> counter{0};
    const std::string root = std::string(LOCKBEACON_BINARY_DIR) + "/standin";
    folder_ = root + "/" + std::to_string(::GetCurrentProcessId()) + "-" +
              std::to_string(std::random_device{}()) + "-" + std::to_string(counter++);
    ::CreateDirectoryW(ToWide(Windows(root)).c_str(), nullptr);
    ::CreateDirectoryW(ToWide(Windows(folder_)).c_str(), nullptr);
    caFolder_ = root + "/ca";

    std::string command =
        "python3 " + Quote(std::string(LOCKBEACON_SOURCE_DIR) + "/tools/standin_server.py");
    for (const std::string& argument : std::vector<std::string>{
             "--port-file", folder_ + "/port", "--host-file", folder_ + "/host", "--log",
             folder_ + "/log", "--ca-dir", caFolder_}) {
      command += " " + Quote(argument);
    }
    for (const std::string& argument : arguments) {
      // "--proxy": a forwarding proxy beside the server, whose port ProxyPort() tells.
      command +=
          " " + (argument == "--proxy" ? "--proxy-port-file " + Quote(folder_ + "/proxy-port")
                                       : Quote(argument));
    }

    // A program of the build machine: Wine runs it as a process of its own, without a handle
    // to wait on, so the server is told to stop at the end instead.
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION process{};
    std::wstring line = ToWide(command);
    if (!::CreateProcessW(L"Z:\\usr\\bin\\python3", line.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &startup, &process)) {
      throw std::runtime_error("python3 could not be started");
    }
    if (process.hThread) ::CloseHandle(process.hThread);
    if (process.hProcess) ::CloseHandle(process.hProcess);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
      const std::string text = ReadWhole(folder_ + "/port");
      if (!text.empty()) {
        port_ = std::stoi(text);
        host_ = ReadWhole(folder_ + "/host");  // written before the port
        break;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        throw std::runtime_error("the stand-in server did not start");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    TrustTestCa();
  }

  ~StandinServer() {
    try {
      lb::PostForm("http://" + host_ + "/stop", {}, 3000);
    } catch (...) {
    }
  }
  StandinServer(const StandinServer&) = delete;
  StandinServer& operator=(const StandinServer&) = delete;

  [[nodiscard]] int Port() const { return port_; }
  // The port of the forwarding proxy on 127.0.0.1 (started with "--proxy"; written before the
  // server's port), 0 without one.
  [[nodiscard]] int ProxyPort() const {
    const std::string text = ReadWhole(folder_ + "/proxy-port");
    return text.empty() ? 0 : std::stoi(text);
  }
  // The host text of the program: "localhost:<port>", a name, since HTTPS needs one for its
  // certificate; with "--https no-port" a loopback address of the server's own, without a port
  // (HTTPS on 443, where nothing listens, plain HTTP on 80).
  [[nodiscard]] const std::string& Host() const { return host_; }

  // The log, one JSON line per request (or refused connection).
  [[nodiscard]] std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadWhole(folder_ + "/log"));
    for (std::string line; std::getline(log, line);) {
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }
  // The logged lines that contain every one of `parts`.
  [[nodiscard]] std::vector<std::string> LogWith(const std::vector<std::string>& parts) const {
    std::vector<std::string> found;
    for (const std::string& line : Log()) {
      bool all = true;
      for (const std::string& part : parts) all = all && line.find(part) != std::string::npos;
      if (all) found.push_back(line);
    }
    return found;
  }

 private:
  static std::string Windows(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    return path;
  }

  // A file of the build machine, read whole; empty when it is missing.
  static std::string ReadWhole(const std::string& unixPath) {
    const HANDLE file = ::CreateFileW(ToWide(Windows(unixPath)).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
      bytes.append(buffer, read);
    }
    ::CloseHandle(file);
    return bytes;
  }

  static std::string Quote(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
      return argument;
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
      if (c == '\\') {
        ++backslashes;
        continue;
      }
      quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
      backslashes = 0;
      quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
  }

  // Adds the test CA to the machine root store of this (private) prefix, once per process.
  void TrustTestCa() const {
    static std::atomic<bool> trusted{false};
    if (trusted.exchange(true)) return;
    const std::string der = ReadWhole(caFolder_ + "/ca.der");
    const HCERTSTORE store =
        ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (store == nullptr) throw std::runtime_error("the root store cannot be opened");
    const BOOL added = ::CertAddEncodedCertificateToStore(
        store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
        static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(store, 0);
    if (!added) throw std::runtime_error("the test CA cannot be trusted");
  }

  std::string folder_;
  std::string caFolder_;
  std::string host_;
  int port_ = 0;
};

}  // namespace lb::test
