// Fuzzes the plug-in's readers of host data.
//   mode 0: the error text list. The host hands the plug-in a list made of
//           the input's entries; a startup whose menu item the host refuses
//           with a code from the input makes the error dialog look the code
//           up: code entries parsed as numbers through the host's
//           StringToAIReal or taken as four characters.
//   mode 1: the preferences file, byte for byte.
//   mode 2: preference values of any type and size under the palette's keys.
// Each run ends with a shutdown after which nothing may be left.
#include "KeepModuleLoaded.h"
#include "pello/harness/ErrorTextListModule.h"
#include "pello/host/PluginModule.h"
#include "pello/validate/HostSession.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

using namespace pello::host;
using namespace pello::validate;

namespace {

constexpr std::size_t kMaxEntries = 120;

void errorList(const std::uint8_t *data, std::size_t size) {
  if (size < 4) return;
  const ASErr code = static_cast<ASErr>((std::uint32_t(data[0]) << 24) | (std::uint32_t(data[1]) << 16) |
                                        (std::uint32_t(data[2]) << 8) | data[3]);
  std::vector<std::u16string> entries(1);
  for (std::size_t at = 4; at < size && entries.size() <= kMaxEntries; ++at) {
    if (data[at] == '\n') {
      entries.emplace_back();
      continue;
    }
    // 0xFF takes the next two bytes as one UTF-16 unit.
    if (data[at] == 0xFF && at + 2 < size) {
      entries.back() += static_cast<char16_t>((data[at + 1] << 8) | data[at + 2]);
      at += 2;
      continue;
    }
    entries.back() += static_cast<char16_t>(data[at]);
  }
  CheckContext context = pello::fuzz::abortingContext();
  HostSession session(context);
  if (!session.load()) return;
  pello::fuzz::resetPluginState(session.plugin);
  pello::harness::ErrorTextListModule module(*session.plugin.module(), entries);
  const SPPluginRef self = session.plugin.ref();
  session.dialogs.setModuleLookup(
      [&](SPPluginRef plugin) -> const PluginModule * { return plugin == self ? &module : nullptr; });
  session.host.faults().failAlways("AIMenu::AddMenuItem", code);
  const ASErr result = session.plugin.startup();
  context.expect(result == code,
                 "startup returned " + codeText(result) + ", not the host's " + codeText(code));
  const auto dialogs = session.errorDialogs();
  const bool shown = code != kASNoError && code != kASStopError && code != kSPSuiteNotFoundError;
  // A four-character code is shown as its characters: compared only when
  // they are all printable (a zero byte ends the text).
  bool printable = true;
  for (char c : codeText(code))
    printable = printable && c >= 0x20 && c < 0x7F;
  if (shown && printable && !dialogs.empty()) {
    for (const ItemInfo &item : dialogs.back().items)
      if (item.id == pello::harness::kErrorCodeItem)
        context.expect(item.text == codeText(code),
                       "the error dialog shows the code as \"" + item.text + "\"");
  }
  context.expect(shown || dialogs.empty(), "an error dialog for " + codeText(code));
  session.finish();
}

void preferencesFile(const std::uint8_t *data, std::size_t size) {
  static const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("pello-fuzz-prefs-" + std::to_string(::getpid()) + ".json");
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  }
  CheckContext context = pello::fuzz::abortingContext();
  HostSession session(context, file);
  if (!session.load()) return;
  pello::fuzz::resetPluginState(session.plugin);
  if (!session.start()) return;
  session.finish();
}

void preferenceValues(const std::uint8_t *data, std::size_t size) {
  static const char *const kKeys[] = {pello::harness::kDockGroupKey, pello::harness::kDockCodeKey,
                                      pello::harness::kLocationKey, pello::harness::kVisibleKey, "other"};
  CheckContext context = pello::fuzz::abortingContext();
  HostSession session(context);
  Preferences &prefs = session.preferences;
  std::size_t at = 0;
  const auto byte = [&] { return at < size ? data[at++] : std::uint8_t{0}; };
  const auto word = [&] {
    std::uint32_t w = 0;
    for (int i = 0; i < 4; ++i)
      w = (w << 8) | byte();
    return static_cast<std::int32_t>(w);
  };
  while (at < size) {
    const std::string key = kKeys[byte() % std::size(kKeys)];
    const std::string prefix = byte() % 8 == 0 ? "pello" : pello::harness::kPreferencePrefix;
    switch (byte() % 4) {
    case 0: {
      std::size_t length = byte();
      if (length == 255) length = 40000;
      std::string value;
      for (std::size_t i = 0; i < length; ++i)
        value += static_cast<char>(at < size ? data[at++] : 'x');
      prefs.putString(prefix, key, value);
      break;
    }
    case 1:
      prefs.putInteger(prefix, key, word());
      break;
    case 2:
      prefs.putBoolean(prefix, key, byte() & 1);
      break;
    default: {
      const std::int32_t h = word();
      prefs.putPoint(prefix, key, ASPoint{h, word()});
      break;
    }
    }
  }
  if (!session.load()) return;
  pello::fuzz::resetPluginState(session.plugin);
  if (!session.start()) return;
  session.click(3);
  session.finish();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  pello::fuzz::keepModuleLoaded(PELLO_PLUGIN_PATH);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0) return 0;
  switch (data[0] % 3) {
  case 0:
    errorList(data + 1, size - 1);
    break;
  case 1:
    preferencesFile(data + 1, size - 1);
    break;
  default:
    preferenceValues(data + 1, size - 1);
    break;
  }
  return 0;
}
