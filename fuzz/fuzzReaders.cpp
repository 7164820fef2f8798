// Fuzzes the readers of what pello-host is handed: the input's bytes are
// read as a document, as a session file and as a preferences file. None may
// crash (a value nested without bound used to overflow the stack in each),
// and what they accept must hold together:
//   - a document read is written and read again to the same text;
//   - an expectation's value prints as the transcript prints it;
//   - a preferences file loaded and saved loads again without a warning.
#include "SessionScript.h"
#include "Transcript.h"
#include "pello/host/DocumentJson.h"
#include "pello/host/Host.h"
#include "pello/host/Preferences.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace pello;

[[noreturn]] void fail(const std::string &what) {
  std::fprintf(stderr, "fuzz_readers: %s\n", what.c_str());
  std::abort();
}

// An empty folder of this process: a session's relative paths find nothing in it.
const fs::path &scratch() {
  static const fs::path folder = [] {
    fs::path f = fs::temp_directory_path() / ("pello-fuzz-readers-" + std::to_string(::getpid()));
    fs::create_directories(f);
    return f;
  }();
  return folder;
}

void document(std::string_view text) {
  std::string written;
  try {
    written = host::formatDocument(host::parseDocument(text));
  } catch (const host::DocumentFormatError &) {
    return;
  }
  std::string again;
  try {
    again = host::formatDocument(host::parseDocument(written));
  } catch (const host::DocumentFormatError &e) {
    fail(std::string("a document as written is refused: ") + e.what());
  }
  if (again != written) fail("a document written and read again changed:\n" + written + "\n" + again);
}

void session(const fs::path &file) {
  cli::Session read;
  try {
    read = cli::loadSessionFile(file);
  } catch (const cli::SessionError &) {
    return;
  }
  for (const cli::Step &step : read.steps)
    if (!step.value.is_null()) (void)cli::Transcript::valueText(step.value);
}

void preferences(const fs::path &file) {
  static host::Host host;
  {
    host::Preferences loaded(host);
    loaded.setFile(file);
    if (!loaded.warnings().empty()) return;
  } // saved here
  host::Preferences again(host);
  again.setFile(file);
  if (!again.warnings().empty()) fail("saved preferences load with a warning: " + again.warnings().front());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  document(text);
  const fs::path file = scratch() / "input.json";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  session(file);
  preferences(file);
  return 0;
}
