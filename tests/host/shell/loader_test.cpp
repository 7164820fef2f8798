// The loader: a module's resources read from its file, the PiPL checks, and
// the entry point resolved by the name the PiPL gives, on copies of a test
// module (the built plug-in's own PiPL: tests/plugin/shell).
#include "pello/host/Plugin.h"
#include "pello/host/PluginModule.h"
#include "pello/host/ResourceFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <unistd.h>

#if defined(_WIN32)
#include <windows.h>
#endif

using namespace pello::host;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes &b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void put32(Bytes &b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
void pad4(Bytes &b) {
  while (b.size() % 4)
    b.push_back(0);
}
void putNameOrId(Bytes &b, const std::string &name, int id) {
  if (name.empty()) {
    put16(b, 0xFFFF);
    put16(b, static_cast<unsigned>(id));
    return;
  }
  for (char c : name)
    put16(b, static_cast<unsigned char>(c));
  put16(b, 0);
}

// One RESOURCEHEADER and its data, as rc writes it.
void putResource(Bytes &out, const std::string &typeName, int typeId, int id, const Bytes &data) {
  Bytes header;
  putNameOrId(header, typeName, typeId);
  putNameOrId(header, "", id);
  pad4(header);
  put32(header, 0);      // DataVersion
  put16(header, 0x1030); // MemoryFlags
  put16(header, 1033);   // LanguageId
  put32(header, 0);      // Version
  put32(header, 0);      // Characteristics
  put32(out, static_cast<std::uint32_t>(data.size()));
  put32(out, static_cast<std::uint32_t>(header.size() + 8));
  out.insert(out.end(), header.begin(), header.end());
  out.insert(out.end(), data.begin(), data.end());
  pad4(out);
}

Bytes resFile(const std::vector<std::pair<int, Bytes>> &pipls, const std::string &piplType = "PIPL") {
  Bytes out;
  putResource(out, "", 0, 0, {}); // the empty first entry
  for (const auto &[id, data] : pipls)
    putResource(out, piplType, 0, id, data);
  return out;
}

struct PiPLFields {
  std::uint32_t kind = 0x53504541; // 'SPEA'
  std::int32_t version = 2;
  std::string entry = "PluginMain";
  bool withKind = true, withVersion = true, withEntry = true;
};

Bytes pipl(const PiPLFields &fields) {
  Bytes b;
  put16(b, 1);
  put32(b, 0);
  put32(b, fields.withKind + fields.withVersion + fields.withEntry);
  auto property = [&](std::uint32_t key, const Bytes &data) {
    put32(b, 0x41444245); // 'ADBE'
    put32(b, key);
    put32(b, 0);
    put32(b, static_cast<std::uint32_t>(data.size()));
    Bytes padded = data;
    pad4(padded);
    b.insert(b.end(), padded.begin(), padded.end());
  };
  Bytes kind, version, entry(fields.entry.begin(), fields.entry.end());
  put32(kind, fields.kind);
  put32(version, static_cast<std::uint32_t>(fields.version));
  entry.push_back(0);
  if (fields.withKind) property(0x6B696E64, kind);
  if (fields.withVersion) property(0x69767273, version);
  if (fields.withEntry) property(0x77783836, entry);
  return b;
}

std::filesystem::path scratch(const std::string &name) {
  auto dir = std::filesystem::temp_directory_path() / ("pello-loader-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir / name;
}

#if defined(_WIN32)
// Windows: a copy of the test DLL carrying the resources of `res`, written
// into its resource section with UpdateResource.
std::filesystem::path moduleWith(const Bytes &res, const std::string &name) {
  std::filesystem::path out = scratch(name + ".dll");
  std::filesystem::copy_file(PELLO_TEST_MODULE_PATH, out, std::filesystem::copy_options::overwrite_existing);
  std::vector<ResourceEntry> entries;
  std::string error;
  EXPECT_TRUE(parseResFile(res.data(), res.size(), entries, error)) << error;
  HANDLE update = BeginUpdateResourceW(out.wstring().c_str(), FALSE);
  EXPECT_NE(update, nullptr) << out;
  for (const ResourceEntry &entry : entries) {
    std::wstring typeName(entry.type.name.begin(), entry.type.name.end());
    LPCWSTR type = typeName.empty() ? MAKEINTRESOURCEW(entry.type.number) : typeName.c_str();
    EXPECT_TRUE(UpdateResourceW(update, type, MAKEINTRESOURCEW(entry.id), entry.language,
                                const_cast<std::uint8_t *>(entry.data.data()),
                                static_cast<DWORD>(entry.data.size())));
  }
  EXPECT_TRUE(EndUpdateResourceW(update, FALSE)) << out;
  return out;
}
#else
// A copy of the test module carrying `res` as its .rsrc section.
std::filesystem::path moduleWith(const Bytes &res, const std::string &name) {
  std::filesystem::path resPath = scratch(name + ".res"), out = scratch(name + ".so");
  std::ofstream(resPath, std::ios::binary).write(reinterpret_cast<const char *>(res.data()), res.size());
  std::string command = std::string(PELLO_OBJCOPY) + " --add-section .rsrc=" + resPath.string() +
                        " --set-section-flags .rsrc=noload,readonly " + PELLO_TEST_MODULE_PATH + " " +
                        out.string();
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return out;
}
#endif

std::string refusal(const std::filesystem::path &path) {
  std::string error;
  auto module = PluginModule::open(path, error);
  EXPECT_EQ(module, nullptr) << path;
  return error;
}

class LoaderTest : public ::testing::Test {
protected:
  ~LoaderTest() override {
    std::error_code ec;
    std::filesystem::remove_all(scratch("").parent_path(), ec);
  }
};

} // namespace

TEST_F(LoaderTest, ModulesWithoutAUsablePiPLAreRefusedWithTheReason) {
  EXPECT_NE(refusal(scratch("missing.aip")).find("no such file"), std::string::npos);
  // A folder is refused before anything reads it.
  std::filesystem::create_directories(scratch("folder.aip"));
  EXPECT_NE(refusal(scratch("folder.aip")).find("a folder, not a module file"), std::string::npos);

  std::ofstream(scratch("text.aip")) << "not a library";
#if defined(_WIN32)
  EXPECT_NE(refusal(scratch("text.aip")).find("not a PE module"), std::string::npos);
#else
  EXPECT_NE(refusal(scratch("text.aip")).find("not an ELF module"), std::string::npos);
#endif

  EXPECT_NE(refusal(PELLO_TEST_MODULE_PATH).find("no .rsrc section"), std::string::npos);

#if defined(_WIN32)
  // Windows: the system reads the DLL's resource directory, so there is no
  // .res image to truncate; and a resource section is never empty, so the
  // module without a PiPL carries one under another id.
  EXPECT_NE(refusal(moduleWith(resFile({{16001, pipl({})}}), "nopipl")).find("no PiPL"), std::string::npos);
#else
  Bytes truncated = resFile({{16000, pipl({})}});
  truncated.resize(truncated.size() - 10);
  EXPECT_NE(refusal(moduleWith(truncated, "truncated")).find("not a valid .res"), std::string::npos);

  EXPECT_NE(refusal(moduleWith(resFile({}), "nopipl")).find("no PiPL"), std::string::npos);
#endif

  PiPLFields wrongKind;
  wrongKind.kind = 0x41525059; // 'ARPY'
  EXPECT_NE(refusal(moduleWith(resFile({{16000, pipl(wrongKind)}}), "kind")).find("kind 'ARPY', not 'SPEA'"),
            std::string::npos);

  PiPLFields wrongVersion;
  wrongVersion.version = 3;
  EXPECT_NE(
      refusal(moduleWith(resFile({{16000, pipl(wrongVersion)}}), "version")).find("interface version 3"),
      std::string::npos);

  PiPLFields noEntry;
  noEntry.withEntry = false;
  EXPECT_NE(refusal(moduleWith(resFile({{16000, pipl(noEntry)}}), "noentry")).find("names no entry point"),
            std::string::npos);

  PiPLFields missingEntry;
  missingEntry.entry = "AbsentMain";
  EXPECT_NE(refusal(moduleWith(resFile({{16000, pipl(missingEntry)}}), "absent"))
                .find("\"AbsentMain\" that the PiPL names is not exported"),
            std::string::npos);
}

TEST_F(LoaderTest, TheEntryPointIsTheOneThePiPLNames) {
  PiPLFields other;
  other.entry = "OtherMain";
  // Type names compare without regard to case, as on Windows.
  std::filesystem::path path = moduleWith(resFile({{16000, pipl(other)}}, "PiPL"), "other");
  std::string error;
  auto module = PluginModule::open(path, error);
  ASSERT_NE(module, nullptr) << error;
  EXPECT_EQ(module->entry()("caller", "selector", nullptr), 7);

  std::filesystem::path standard = moduleWith(resFile({{16000, pipl({})}}), "standard");
  module = PluginModule::open(standard, error);
  ASSERT_NE(module, nullptr) << error;
  EXPECT_EQ(module->entry()("caller", "selector", nullptr), 42);
}

TEST_F(LoaderTest, ThePluginComponentReportsARefusal) {
  Host host;
  Plugin &plugin = host.get<Plugin>();
  EXPECT_EQ(plugin.load(PELLO_TEST_MODULE_PATH), kHostLoadError);
  EXPECT_NE(plugin.lastError().find("no .rsrc section"), std::string::npos);
  EXPECT_FALSE(plugin.loaded());
  EXPECT_EQ(plugin.startup(), kHostNotLoadedError);
}

// A module made of a resource table only.
class TableModule : public PluginModule {
public:
  explicit TableModule(ResourceTable table) : table_(std::move(table)) {}
  SPPluginMainProc entry() const override { return nullptr; }
  const PiPLInfo &pipl() const override { return pipl_; }
  const std::filesystem::path &path() const override { return path_; }
  const Bytes *resource(const ResourceType &type, int id) const override { return table_.find(type, id); }
  std::vector<int> resourceIds(const ResourceType &type) const override { return table_.ids(type); }
  std::vector<std::string> exportedNames() const override { return {}; }

private:
  ResourceTable table_;
  PiPLInfo pipl_;
  std::filesystem::path path_;
};

TEST(ResourceFile, StringTableBlocksHoldSixteenStrings) {
  // Block 1004 holds strings 16048 to 16063: 16051 is "-108", 16052 has a
  // character beyond ASCII, the others are empty (absent).
  Bytes block;
  for (int i = 0; i < 16; ++i) {
    std::vector<unsigned> units;
    if (i == 3) units = {'-', '1', '0', '8'};
    if (i == 4) units = {'c', 'a', 'f', 0xE9u};
    put16(block, static_cast<unsigned>(units.size()));
    for (unsigned unit : units)
      put16(block, unit);
  }
  Bytes res;
  putResource(res, "", 0, 0, {});
  putResource(res, "", kRtString, 1004, block);
  putResource(res, "PIPL", 0, 16000, pipl({}));
  std::vector<ResourceEntry> entries;
  std::string error;
  ASSERT_TRUE(parseResFile(res.data(), res.size(), entries, error)) << error;
  ASSERT_EQ(entries.size(), 2u) << "the empty first entry is no resource";
  EXPECT_EQ(entries[0].language, 1033);

  TableModule module{ResourceTable(std::move(entries))};
  EXPECT_EQ(resourceString(module, 16051), "-108");
  EXPECT_EQ(resourceString(module, 16052), "caf\xC3\xA9");
  EXPECT_EQ(resourceString(module, 16050), std::nullopt);
  EXPECT_EQ(resourceString(module, 16064), std::nullopt) << "block 1005 is absent";
  EXPECT_EQ(module.resourceIds(ResourceType::named("pipl")), std::vector<int>{16000});
}
