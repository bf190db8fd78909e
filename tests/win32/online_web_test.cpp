// PostForm, the check and the update store on Windows, against the stand-in web server.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>

#include "base/client_identity_win.h"
#include "base/identity.h"
#include "base/machine_identifier.h"
#include "base/server_host.h"
#include "base/sha256_win.h"
#include "online/update_check_win.h"
#include "online/update_notice.h"
#include "online/update_store_win.h"
#include "online/web_client_win.h"
#include "platform/app_error.h"
#include "platform/wide_text_win.h"
#include "support/standin_server_win.h"
#include "ui/handles_win.h"

namespace lb {
namespace {

using test::StandinServer;

struct SessionTraits {
  using Type = HINTERNET;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::WinHttpCloseHandle(h); }
};
using UniqueInternetSession = UniqueHandle<SessionTraits>;

constexpr const char* kValidReply =
    "<version>9.9</version>\r\n<url>https://www.example.test/download/</url>\r\n"
    "<notes></notes>\r\n<result>1</result>\r\n";

std::string CheckAddress(const char* scheme, const StandinServer& server) {
  return std::string(scheme) + "://" + server.Host() + kCheckPath;
}

// A registry key of the test's own under HKCU, removed again at the end.
class TestStoreKey {
 public:
  TestStoreKey()
      : path_(L"Software\\LockBeaconTests\\Update-" + std::to_wstring(::GetCurrentProcessId()) +
              L"-" + std::to_wstring(std::random_device{}())) {}
  ~TestStoreKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); }
  TestStoreKey(const TestStoreKey&) = delete;
  TestStoreKey& operator=(const TestStoreKey&) = delete;
  [[nodiscard]] const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

// The real platform, with the update store at the test's own key.
class TestCheckPlatform : public Win32CheckPlatform {
 public:
  explicit TestCheckPlatform(const std::wstring& key) : store(key) {}
  IUpdateStore& OpenUpdateStore() override { return store; }
  RegistryUpdateStore store;
};

TEST(PostFormOnWindows, HttpsPostsAUtf8FormAndReturnsTheReply) {
  const StandinServer server;
  const std::string reply = PostForm(
      CheckAddress("https", server),
      {"cmd=check", "appname=BRIMLEX - Lock Beacon", "local=de-DE", "text=G\xC3\xBCnter & Co=1"},
      5000);
  EXPECT_EQ(reply, kValidReply);

  const auto logged = server.LogWith({"\"scheme\": \"https\"", "/php/check2.php"});
  ASSERT_EQ(logged.size(), 1u) << ::testing::PrintToString(server.Log());
  EXPECT_NE(
      logged[0].find("\"fields\": [[\"cmd\", \"check\"], [\"appname\", \"BRIMLEX - Lock "
                     "Beacon\"], [\"local\", \"de-DE\"], [\"text\", \"G\xC3\xBCnter & Co=1\"]]"),
      std::string::npos)
      << logged[0];
  EXPECT_NE(logged[0].find("application/x-www-form-urlencoded; charset=UTF-8"), std::string::npos);
  EXPECT_NE(logged[0].find("\"connection\": \"close\""), std::string::npos) << logged[0];
}

TEST(PostFormOnWindows, GzipAndDeclaredCharsetAreDecoded) {
  const StandinServer server(
      {"--gzip", "--charset", "iso-8859-1", "--reply", "<version>caf\\u00e9</version>\\r\\n"});
  EXPECT_EQ(PostForm(CheckAddress("https", server), {"cmd=check"}, 5000),
            "<version>caf\xC3\xA9</version>\r\n");
  EXPECT_EQ(PostForm(CheckAddress("http", server), {"cmd=check"}, 5000),
            "<version>caf\xC3\xA9</version>\r\n");
}

TEST(PostFormOnWindows, HttpErrorStatusIsAReplyOverHttpsAndAFailureOverHttp) {
  const StandinServer server({"--https", "status:404", "--http", "status:500"});
  const std::string page = PostForm(CheckAddress("https", server), {"cmd=check"}, 5000);
  EXPECT_NE(page.find("<h1>404</h1>"), std::string::npos) << page;
  try {
    static_cast<void>(PostForm(CheckAddress("http", server), {"cmd=check"}, 5000));
    ADD_FAILURE() << "an HTTP error status must raise over plain HTTP";
  } catch (const WebRequestError& error) {
    EXPECT_NE(std::string(error.what()).find("500"), std::string::npos) << error.what();
  }
}

// The kind of failure that ends a request to `address`; a reply is a test failure.
WebFailure FailureOf(const std::string& address, int timeoutMs) {
  try {
    const std::string reply = PostForm(address, {"cmd=check"}, timeoutMs);
    ADD_FAILURE() << address << " answered " << reply.size() << " bytes";
  } catch (const WebRequestError& error) {
    return error.Kind();
  }
  return WebFailure::Transport;
}

// A server that takes the request and never answers: the request ends as timed out.
TEST(PostFormOnWindows, AnUnansweredRequestEndsAfterTheTimeOut) {
  const StandinServer server({"--https", "hang", "--http", "hang"});
  for (const char* scheme : {"https", "http"}) {
    EXPECT_EQ(FailureOf(CheckAddress(scheme, server), 1500), WebFailure::TimedOut) << scheme;
  }
}

// A port where nothing listens: no connection could be made, the one failure after which the
// check and the feedback try plain HTTP.
TEST(PostFormOnWindows, AClosedPortFailsOnBothTransportsWithoutAConnection) {
  // The port of a server that has just ended: nothing listens there any more.
  int port = 0;
  {
    const StandinServer server;
    port = server.Port();
  }
  // The ended server's sockets close with its process, at a moment nothing here announces.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  for (const char* scheme : {"https", "http"}) {
    const std::string address =
        std::string(scheme) + "://localhost:" + std::to_string(port) + kCheckPath;
    EXPECT_EQ(FailureOf(address, 3000), WebFailure::NoConnection) << scheme;
  }
  // Nothing listens on the HTTPS port of the server's own address either.
  const StandinServer blocked({"--https", "no-port"});
  EXPECT_EQ(FailureOf(CheckAddress("https", blocked), 3000), WebFailure::NoConnection);
  EXPECT_EQ(PostForm(CheckAddress("http", blocked), {"cmd=check"}, 3000), kValidReply);
}

// Servers that misbehave: each attempt ends, and with the kind of failure that says why. (How
// long each took and how much memory it cost is measured by tools/measure-hostile.sh.)
TEST(PostFormOnWindows, MisbehavingServersEndTheAttemptWithTheirKindOfFailure) {
  const struct {
    std::vector<std::string> server;
    std::vector<const char*> schemes;
    WebFailure kind;
  } cases[] = {
      // One byte every second: no single wait runs out, the attempt's three seconds do.
      {{"--https", "trickle", "--http", "trickle", "--trickle-interval", "1"},
       {"https", "http"},
       WebFailure::TimedOut},
      // One byte after ten seconds: the wait for it ends with the attempt.
      {{"--https", "trickle", "--http", "trickle", "--trickle-interval", "10"},
       {"https", "http"},
       WebFailure::TimedOut},
      {{"--https", "huge", "--http", "huge"}, {"https", "http"}, WebFailure::TooLarge},
      {{"--https", "huge-declared", "--http", "huge-declared"},
       {"https", "http"},
       WebFailure::TooLarge},
      {{"--https", "gzip-bomb", "--http", "gzip-bomb"}, {"https", "http"}, WebFailure::TooLarge},
      {{"--certificate", "untrusted"}, {"https"}, WebFailure::Certificate},
      {{"--certificate", "other-host"}, {"https"}, WebFailure::Certificate},
      // A connection accepted and closed before the secure channel stands: it was made, so this
      // is no failure to connect.
      {{"--https", "refuse"}, {"https"}, WebFailure::Certificate},
  };
  for (const auto& c : cases) {
    const StandinServer server(c.server);
    for (const char* scheme : c.schemes) {
      EXPECT_EQ(FailureOf(CheckAddress(scheme, server), 1500), c.kind)
          << ::testing::PrintToString(c.server) << " " << scheme;
    }
  }
}

// The user's proxy settings as Windows keeps them, in the binary value that the proxy settings
// page writes (HKCU\...\Internet Settings\Connections, DefaultConnectionSettings): a header
// (format 0x46, a counter, the flags: 2 a proxy typed in, 4 a set-up script, 8 automatic
// detection), then the proxy, the bypass list and the script's address, each as a length and
// its bytes. The value the prefix had is put back at the end.
class ScopedUserProxy {
 public:
  static constexpr DWORD kProxyTypedIn = 2;
  static constexpr DWORD kAutoDetect = 8;

  ScopedUserProxy(DWORD flags, const std::string& proxy, const std::string& bypass) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                      nullptr);
    DWORD size = 0;
    if (::RegQueryValueExW(key_, kValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
      saved_.emplace(size, '\0');
      ::RegQueryValueExW(key_, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(saved_->data()),
                         &size);
    }
    std::string blob;
    const auto number = [&](DWORD value) {
      blob.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    const auto text = [&](const std::string& value) {
      number(static_cast<DWORD>(value.size()));
      blob += value;
    };
    number(0x46);
    number(1);
    number(flags);
    text(proxy);
    text(bypass);
    text("");
    blob.append(32, '\0');
    ::RegSetValueExW(key_, kValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(blob.data()),
                     static_cast<DWORD>(blob.size()));
  }
  ~ScopedUserProxy() {
    if (saved_) {
      ::RegSetValueExW(key_, kValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(saved_->data()),
                       static_cast<DWORD>(saved_->size()));
    } else {
      ::RegDeleteValueW(key_, kValue);
    }
    ::RegCloseKey(key_);
  }
  ScopedUserProxy(const ScopedUserProxy&) = delete;
  ScopedUserProxy& operator=(const ScopedUserProxy&) = delete;

 private:
  static constexpr const wchar_t* kKey =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
  static constexpr const wchar_t* kValue = L"DefaultConnectionSettings";
  HKEY key_ = nullptr;
  std::optional<std::string> saved_;
};

// Behind a company proxy: the requests go through the proxy the user set, over both transports,
// also when automatic detection is on and finds nothing; a host on the bypass list goes direct.
// (WinHTTP resolves the user's proxy itself on Windows 8.1 and later; Wine takes that as "no
// proxy", so the way that reads the user's settings is the one tried here.)
TEST(PostFormOnWindows, GoesThroughTheUsersProxy) {
  const StandinServer server({"--proxy"});
  ASSERT_NE(server.ProxyPort(), 0);
  const std::string proxy = "127.0.0.1:" + std::to_string(server.ProxyPort());
  const std::string target = "\"target\": \"localhost:" + std::to_string(server.Port()) + "\"";
  const struct {
    const char* what;
    DWORD flags;
    const char* bypass;
    bool throughProxy;
  } cases[] = {
      {"a proxy typed in", ScopedUserProxy::kProxyTypedIn, "", true},
      {"automatic detection that finds nothing, then the proxy typed in",
       ScopedUserProxy::kProxyTypedIn | ScopedUserProxy::kAutoDetect, "", true},
      {"the host on the bypass list", ScopedUserProxy::kProxyTypedIn, "localhost;*.example.test",
       false},
  };
  for (const auto& one : cases) {
    const ScopedUserProxy settings(one.flags, proxy, one.bypass);
    for (const char* scheme : {"https", "http"}) {
      const std::size_t before = server.LogWith({"\"proxy\""}).size();
      EXPECT_EQ(PostForm(CheckAddress(scheme, server), {"cmd=check"}, 5000,
                         ProxyLookUp::FromUserSettings),
                kValidReply)
          << one.what << ", " << scheme;
      const auto proxied = server.LogWith({"\"proxy\"", target});
      EXPECT_EQ(proxied.size() - before, one.throughProxy ? 1u : 0u)
          << one.what << ", " << scheme << ": " << ::testing::PrintToString(server.Log());
      if (one.throughProxy && !proxied.empty()) {
        EXPECT_NE(proxied.back().find(std::string(scheme) == "https" ? "CONNECT" : "POST"),
                  std::string::npos)
            << proxied.back();
      }
    }
  }
}

TEST(PostFormOnWindows, OffersTls12And13) {
  DWORD protocols = 0;
  const UniqueInternetSession session(OpenWebSession(1000, &protocols));
  ASSERT_NE(session.get(), nullptr);
  EXPECT_EQ(protocols, static_cast<DWORD>(WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | 0x2000))
      << std::hex << protocols;  // TLS 1.2 and TLS 1.3
}

TEST(UpdateCheckOnWindows, InvalidUtf8IsStoredWithReplacementCharacters) {
  const StandinServer server({"--https", "bad-utf8"});
  const TestStoreKey key;
  TestCheckPlatform platform(key.Path());
  UpdateCheckResults results;
  UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
  checker.Execute();
  // The status is valid, so the reply is: what is no UTF-8 is stored as U+FFFD.
  EXPECT_FALSE(checker.CheckErrors());
  EXPECT_EQ(platform.store.ReadString("CurrentVersion"), "9.9\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(platform.store.ReadString("LastUpdateCheckCount"), "1");
  EXPECT_FALSE(results.updatePending);  // "9.9??" is no number
}

TEST(UpdateCheckOnWindows, HttpsAnswerIsStoredAndOffered) {
  const StandinServer server;
  const TestStoreKey key;
  TestCheckPlatform platform(key.Path());
  UpdateCheckResults results;
  UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
  checker.Execute();

  EXPECT_FALSE(checker.CheckErrors());
  EXPECT_TRUE(results.checkDone.load());
  EXPECT_TRUE(results.updatePending);
  EXPECT_EQ(results.offeredVersion, "9.9");
  EXPECT_EQ(platform.store.ReadString("LastUpdateCheckCount"), "1");
  EXPECT_EQ(platform.store.ReadString("LastUpdateCheck"), TodayShortDate());
  EXPECT_EQ(UnscrambleText(platform.store.ReadString("CurrentURL").value_or("")),
            "https://www.example.test/download/");

  const auto logged = server.LogWith({"\"scheme\": \"https\"", "[\"cmd\", \"check\"]"});
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_NE(logged[0].find("[\"os\", \"Windows"), std::string::npos) << logged[0];
  // The machine's identifier goes as its digest, never as it stands.
  const std::string identifier = MachineIdentifier(AppIdentity().productName);
  EXPECT_NE(logged[0].find("[\"guid\", \"" + identifier + "\"]"), std::string::npos) << logged[0];
  EXPECT_EQ(logged[0].find(ReadMachineGuid()), std::string::npos) << logged[0];
  EXPECT_EQ(server.LogWith({"\"scheme\": \"http\""}).size(), 0u);
}

TEST(UpdateCheckOnWindows, AnHttpsPortThatRefusesConnectionsThenHttpAnswers) {
  const StandinServer server({"--https", "no-port"});
  const TestStoreKey key;
  TestCheckPlatform platform(key.Path());
  UpdateCheckResults results;
  UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
  checker.Execute();

  EXPECT_FALSE(checker.CheckErrors());
  EXPECT_TRUE(results.updatePending);
  EXPECT_EQ(server.LogWith({"\"scheme\": \"http\"", "[\"cmd\", \"check\"]"}).size(), 1u);
  EXPECT_EQ(platform.store.ReadString("LastUpdateCheckCount"), "1");
}

// A connection that the server accepts and closes at once was made: whoever closed it may be
// waiting for the plain request.
TEST(UpdateCheckOnWindows, AConnectionClosedAtOnceEndsTheCheck) {
  const StandinServer server({"--https", "refuse"});
  const TestStoreKey key;
  TestCheckPlatform platform(key.Path());
  UpdateCheckResults results;
  UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
  checker.Execute();

  EXPECT_TRUE(checker.CheckErrors());
  EXPECT_FALSE(results.updatePending);
  EXPECT_EQ(server.LogWith({"\"scheme\": \"https\"", "\"refused\": true"}).size(), 1u);
  EXPECT_TRUE(server.LogWith({"\"scheme\": \"http\""}).empty());
  EXPECT_EQ(platform.store.ReadString("LastUpdateCheckCount"), std::nullopt);
}

// Someone on the way blocks the HTTPS port and answers the plain request with an offer that
// leads elsewhere: the offer counts, but the notice opens only the maker's own download page.
TEST(UpdateCheckOnWindows, AForeignAddressOfferedInClearLeadsOnlyToTheMakersDownloadPage) {
  const StandinServer server(
      {"--https", "no-port", "--url", "http://attacker.test/LockBeacon-9.9-setup.exe"});
  const TestStoreKey key;
  TestCheckPlatform platform(key.Path());
  UpdateCheckResults results;
  UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
  checker.Execute();

  EXPECT_FALSE(checker.CheckErrors());
  ASSERT_TRUE(results.updatePending);
  EXPECT_EQ(results.downloadUrl, "http://attacker.test/LockBeacon-9.9-setup.exe");
  // The test build reads the host from the environment as the C runtime keeps it.
  char saved[256] = {};
  std::size_t savedSize = 0;
  ::getenv_s(&savedSize, saved, sizeof saved, "LOCKBEACON_SERVER_HOST");
  ::_putenv_s("LOCKBEACON_SERVER_HOST", server.Host().c_str());
  const std::string page = DownloadPageAddress();
  ::_putenv_s("LOCKBEACON_SERVER_HOST", saved);
  EXPECT_EQ(page, "https://" + server.Host() + "/download/");
  EXPECT_EQ(NoticeAddressToOpen(results.downloadUrl, server.Host(), page), page);
}

TEST(UpdateCheckOnWindows, AnUnansweredRequestEndsTheCheckWithinItsTimeOutsAndStoresNothing) {
  const StandinServer server({"--https", "hang", "--http", "hang"});
  const TestStoreKey key;
  TestCheckPlatform platform(key.Path());
  UpdateCheckResults results;
  UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
  checker.Execute();

  // One request, which ends at its time-out: a time-out on a connection that was made is
  // never followed by a plain request.
  EXPECT_EQ(server.LogWith({"\"scheme\": \"https\"", "[\"cmd\", \"check\"]"}).size(), 1u);
  EXPECT_TRUE(server.LogWith({"\"scheme\": \"http\""}).empty());
  EXPECT_TRUE(checker.CheckErrors());
  EXPECT_TRUE(results.checkDone.load());
  EXPECT_FALSE(results.updatePending);
  EXPECT_EQ(platform.store.ReadString("LastUpdateCheck"), std::nullopt);
  EXPECT_EQ(platform.store.ReadString("LastUpdateCheckCount"), std::nullopt);
}

// Someone on the way answers TLS with a certificate of their own and offers an update over
// plain HTTP: the refused certificate ends the check. No plain request, no notice, nothing stored.
TEST(UpdateCheckOnWindows, ARefusedCertificateEndsTheCheckWithoutAPlainRequest) {
  for (const char* certificate : {"untrusted", "other-host"}) {
    const StandinServer server(
        {"--certificate", certificate, "--url", "http://attacker.test/LockBeacon-9.9-setup.exe"});
    const TestStoreKey key;
    TestCheckPlatform platform(key.Path());
    UpdateCheckResults results;
    UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
    checker.Execute();

    // The secure attempt never reached the request, and nothing followed it.
    EXPECT_TRUE(server.LogWith({"\"scheme\": \"https\"", "[\"cmd\", \"check\"]"}).empty())
        << certificate;
    EXPECT_TRUE(server.LogWith({"\"scheme\": \"http\""}).empty()) << certificate;
    EXPECT_TRUE(checker.CheckErrors()) << certificate;
    EXPECT_TRUE(results.checkDone.load());
    EXPECT_FALSE(results.updatePending) << certificate;
    EXPECT_EQ(results.downloadUrl, "") << certificate;
    for (const char* name :
         {"LastUpdateCheck", "LastUpdateCheckCount", "CurrentVersion", "CurrentURL"}) {
      EXPECT_EQ(platform.store.ReadString(name), std::nullopt) << certificate << " " << name;
    }
  }
}

TEST(UpdateCheckOnWindows, HostileRepliesStoreNothing) {
  for (const char* mode : {"huge", "gzip-bomb", "long-value"}) {
    const StandinServer server({"--https", mode, "--http", mode});
    const TestStoreKey key;
    TestCheckPlatform platform(key.Path());
    platform.store.WriteString("CurrentURL", ScrambleText("https://old.example.test/"));
    UpdateCheckResults results;
    UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
    checker.Execute();

    EXPECT_TRUE(checker.CheckErrors()) << mode;
    EXPECT_FALSE(results.updatePending) << mode;
    EXPECT_EQ(results.offeredVersion, "") << mode;
    EXPECT_EQ(results.downloadUrl, "https://old.example.test/") << mode;
    EXPECT_EQ(platform.store.ReadString("LastUpdateCheck"), std::nullopt) << mode;
    EXPECT_EQ(platform.store.ReadString("CurrentVersion"), std::nullopt) << mode;
    EXPECT_EQ(UnscrambleText(platform.store.ReadString("CurrentURL").value_or("")),
              "https://old.example.test/")
        << mode;
  }
}

TEST(UpdateCheckOnWindows, HttpErrorPagesAreNotValidReplies) {
  const StandinServer server({"--https", "status:404", "--http", "status:500"});
  const TestStoreKey key;
  TestCheckPlatform platform(key.Path());
  UpdateCheckResults results;
  UpdateCheck checker(platform, {server.Host(), "BRIMLEX - Lock Beacon", "5.1"}, results);
  checker.Execute();
  // The HTTPS error page is a reply (not retried) that fails the validity rules.
  EXPECT_TRUE(checker.CheckErrors());
  EXPECT_EQ(server.LogWith({"\"scheme\": \"http\""}).size(), 0u);
  EXPECT_EQ(platform.store.ReadString("LastUpdateCheckCount"), std::nullopt);
}

TEST(UpdateStoreOnWindows, KeepsTextValuesUnderHkcu) {
  const TestStoreKey key;
  {
    RegistryUpdateStore store(key.Path());
    EXPECT_EQ(store.ReadString("ShowUpdate"), std::nullopt);
    store.WriteString("LastUpdateCheck", "14.03.2025");
    store.WriteString("CurrentVersion", "G\xC3\xBCnter");
  }
  RegistryUpdateStore reopened(key.Path());
  EXPECT_EQ(reopened.ReadString("LastUpdateCheck"), "14.03.2025");
  EXPECT_EQ(reopened.ReadString("CurrentVersion"), "G\xC3\xBCnter");

  // The values live in the subkey Settings, as REG_SZ.
  wchar_t text[64];
  DWORD size = sizeof text;
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, (key.Path() + L"\\Settings").c_str(),
                           L"LastUpdateCheck", RRF_RT_REG_SZ, nullptr, text, &size),
            ERROR_SUCCESS);

  // A value of another type cannot be read as text: the check takes the default.
  const DWORD number = 3;
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, (key.Path() + L"\\Settings").c_str(),
                              L"LastUpdateCheckCount", REG_DWORD, &number, sizeof number),
            ERROR_SUCCESS);
  EXPECT_THROW(static_cast<void>(reopened.ReadString("LastUpdateCheckCount")), AppError);
  EXPECT_EQ(ReadStoreInteger(reopened, "LastUpdateCheckCount", 0), 0);
}

TEST(ClientIdentityOnWindows, MachineGuidFromThe64BitView) {
  const std::string guid = ReadMachineGuid();
  EXPECT_EQ(guid.size(), 36u) << guid;

  const TestStoreKey key;
  EXPECT_EQ(ReadMachineGuidAt(HKEY_CURRENT_USER, key.Path().c_str()), "");  // no such key
  const DWORD number = 7;
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key.Path().c_str(), L"MachineGuid", REG_DWORD,
                              &number, sizeof number),
            ERROR_SUCCESS);
  EXPECT_THROW(static_cast<void>(ReadMachineGuidAt(HKEY_CURRENT_USER, key.Path().c_str())),
               AppError);
}

TEST(ClientIdentityOnWindows, Sha256OfKnownInputs) {
  EXPECT_EQ(DigestAsGuidText(Sha256("abc")), "ba7816bf-8f01-cfea-4141-40de5dae2223");
  EXPECT_EQ(DigestAsGuidText(Sha256("")), "e3b0c442-98fc-1c14-9afb-f4c8996fb924");
  const Sha256Digest abc = Sha256("abc");
  EXPECT_EQ(abc[31], 0xAD);  // ...f20015ad: all 32 bytes are written
  EXPECT_EQ(abc[16], 0xB0);
}

TEST(ClientIdentityOnWindows, TheIdentifierSentIsAStableDigestOfMachineGuid) {
  EXPECT_EQ(MachineIdentifierFrom("3f2504e0-4f89-11d3-9a0c-0305e82c3301", "Lock Beacon", Sha256),
            "8da46056-2936-e97a-86e1-e5fb76c1fe15");

  const std::string guid = ReadMachineGuid();
  ASSERT_FALSE(guid.empty());
  const std::string identifier = MachineIdentifier("Lock Beacon");
  EXPECT_EQ(identifier, MachineIdentifierFrom(guid, "Lock Beacon", Sha256));
  EXPECT_EQ(identifier, MachineIdentifier("Lock Beacon"));  // the same at every call
  EXPECT_EQ(identifier.size(), 36u);
  EXPECT_NE(identifier, guid);
  EXPECT_NE(identifier, MachineIdentifier("Another Product"));
}

TEST(ClientIdentityOnWindows, LocaleNameAndSystemDescription) {
  EXPECT_EQ(LocaleNameOf(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)),
            "en-US");
  EXPECT_EQ(LocaleNameOf(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)), "de-DE");
  EXPECT_EQ(LocaleNameOf(0x7C7C), "xx");
  EXPECT_EQ(UserLocaleName().size(), 5u) << UserLocaleName();

  const std::string os = OSDescription();
  EXPECT_TRUE(os.starts_with("Windows")) << os;
  EXPECT_NE(os.find("(Version "), std::string::npos) << os;
  EXPECT_TRUE(os.ends_with(", 64-bit Edition)")) << os;
}

}  // namespace
}  // namespace lb
