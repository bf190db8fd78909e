// The cost of the translation lookup: loading a language file (decoding and indexing it once)
// and one Translate call, which is a hash lookup whatever the file's size and wherever the
// entry stands in it.
#include <benchmark/benchmark.h>

#include <string>

#include "i18n/language_file.h"
#include "i18n/text_catalogue.h"

namespace {

// A language file with an entry for every catalogue text, after `extraEntries` other entries.
std::string LanguageFile(int extraEntries) {
  std::string file =
      "; Lock Beacon language file\r\n{INFO:Translated By}Lock Beacon contributors\r\n";
  for (int i = 0; i < extraEntries; ++i) {
    file += "{Other text " + std::to_string(i) + "}Anderer Text " + std::to_string(i) + "\r\n";
  }
  for (const lb::CatalogueText& text : lb::kTextCatalogue) {
    file += "{" + std::string(text.english) + "}" + std::string(text.english) + " (de)\r\n";
  }
  return file;
}

void BM_LoadLanguageFile(benchmark::State& state) {
  const std::string file = LanguageFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    lb::LanguageTable table(lb::DecodeLanguageFileText(file));
    benchmark::DoNotOptimize(table);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_LoadLanguageFile)->Arg(0)->Arg(100000);

// The last entry of the file: a line-by-line search would pass every other line first.
void BM_TranslateLastEntry(benchmark::State& state) {
  const lb::LanguageTable table(
      lb::DecodeLanguageFileText(LanguageFile(static_cast<int>(state.range(0)))));
  for (auto _ : state) benchmark::DoNotOptimize(table.Translate("File not found!"));
}
BENCHMARK(BM_TranslateLastEntry)->Arg(0)->Arg(1000)->Arg(100000);

void BM_TranslateMissingEntry(benchmark::State& state) {
  const lb::LanguageTable table(lb::DecodeLanguageFileText(LanguageFile(0)));
  for (auto _ : state) benchmark::DoNotOptimize(table.Translate("Not in the file"));
}
BENCHMARK(BM_TranslateMissingEntry);

}  // namespace
