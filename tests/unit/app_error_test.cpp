// The text of the application's error report.
#include "platform/app_error.h"

#include <gtest/gtest.h>

namespace lb {
namespace {

TEST(FormatErrorReportTest, AddsAPeriodOnlyAfterACharacterThatSortsAfterIt) {
  const struct {
    const char* message;
    const char* report;
  } cases[] = {
      {"Unable to write to C:\\x\\settings.ini", "Unable to write to C:\\x\\settings.ini."},
      {"x.ini", "x.ini."},
      {"Done.", "Done."},
      {"Failed!", "Failed!"},                     // "!" sorts before "."
      {"Why?", "Why?."},                          // "?" sorts after "."
      {"Value 1", "Value 1."},                    // digits sort after "."
      {"a-", "a-"},                               // "-" sorts before "."
      {"a/", "a/."},                              // "/" directly after "."
      {"Fehler: \xC3\xBC", "Fehler: \xC3\xBC."},  // any non-ASCII character sorts after "."
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatErrorReport(c.message), c.report) << c.message;
}

}  // namespace
}  // namespace lb
