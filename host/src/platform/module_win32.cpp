// Platform file (Windows): reads the plug-in DLL's resources with
// FindResource / LoadResource while it is mapped as a data file, so that a
// DLL without a valid PiPL never runs any code; then loads it with
// LoadLibrary and resolves the entry point the PiPL names with
// GetProcAddress. The exported names come from the PE export directory of
// the loaded image.
#include "loader/ModuleFile.h"
#include "pello/host/PluginModule.h"
#include "pello/host/ResourceFile.h"
#include "platform/Platform.h"

#include <windows.h>

#include <cstring>
#include <fstream>

namespace pello::host {

namespace {

// The system's text for a Win32 error code, without the trailing line break.
std::string systemMessage(DWORD code) {
  char *text = nullptr;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<char *>(&text), 0, nullptr);
  std::string out = length && text ? std::string(text, length) : std::string();
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
    out.pop_back();
  return "error " + std::to_string(code) + (out.empty() ? std::string() : " (" + out + ")");
}

// The path as the loader wants it: absolute, with backslashes.
std::wstring loaderPath(const std::filesystem::path &path) {
  std::error_code ignored;
  std::filesystem::path full = std::filesystem::absolute(path, ignored);
  if (full.empty()) full = path;
  return full.make_preferred().wstring();
}

// A resource type or name as the resource functions take it: an ordinal
// (MAKEINTRESOURCE) or a string.
struct ResourceKey {
  int id = -1;
  std::wstring name;

  static ResourceKey of(LPCWSTR key) {
    ResourceKey out;
    if (IS_INTRESOURCE(key))
      out.id = static_cast<int>(reinterpret_cast<ULONG_PTR>(key));
    else
      out.name = key;
    return out;
  }
  LPCWSTR get() const { return id >= 0 ? MAKEINTRESOURCEW(id) : name.c_str(); }
  // Resource names are ASCII in practice; anything else becomes '?'.
  std::string narrow() const {
    std::string out;
    for (wchar_t c : name)
      out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
  }
};

// Every resource of a module mapped as a data file, in the order the
// resource directory lists them.
class ResourceReader {
public:
  explicit ResourceReader(HMODULE module) : module_(module) {}

  bool readAll(std::vector<ResourceEntry> &out) {
    out_ = &out;
    if (!EnumResourceTypesW(module_, onType, reinterpret_cast<LONG_PTR>(this))) {
      DWORD code = GetLastError();
      // A module without any resource reports that it has no section.
      if (code != ERROR_RESOURCE_DATA_NOT_FOUND && code != ERROR_RESOURCE_TYPE_NOT_FOUND) failed_ = true;
    }
    return !failed_;
  }

private:
  static BOOL CALLBACK onType(HMODULE module, LPWSTR type, LONG_PTR self) {
    auto *reader = reinterpret_cast<ResourceReader *>(self);
    reader->type_ = ResourceKey::of(type);
    EnumResourceNamesW(module, type, onName, self);
    return TRUE;
  }

  static BOOL CALLBACK onName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR self) {
    auto *reader = reinterpret_cast<ResourceReader *>(self);
    reader->name_ = ResourceKey::of(name);
    EnumResourceLanguagesW(module, type, name, onLanguage, self);
    return TRUE;
  }

  static BOOL CALLBACK onLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR self) {
    auto *reader = reinterpret_cast<ResourceReader *>(self);
    HRSRC found = FindResourceExW(module, type, name, language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes && size != 0) {
      reader->failed_ = true;
      return FALSE;
    }
    ResourceEntry entry;
    const ResourceKey &t = reader->type_;
    entry.type = t.id >= 0 ? ResourceType::id(t.id) : ResourceType::named(t.narrow());
    entry.id = reader->name_.id;
    if (entry.id < 0) entry.name = reader->name_.narrow();
    entry.language = language;
    const auto *first = static_cast<const std::uint8_t *>(bytes);
    if (size) entry.data.assign(first, first + size);
    reader->out_->push_back(std::move(entry));
    return TRUE;
  }

  HMODULE module_;
  std::vector<ResourceEntry> *out_ = nullptr;
  ResourceKey type_, name_;
  bool failed_ = false;
};

// The names in the export directory of a loaded image.
std::vector<std::string> exportDirectoryNames(HMODULE module) {
  std::vector<std::string> out;
  const auto *base = reinterpret_cast<const std::uint8_t *>(module);
  const auto *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return out;
  const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return out;
  const DWORD imageSize = nt->OptionalHeader.SizeOfImage;
  if (nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_EXPORT) return out;
  const IMAGE_DATA_DIRECTORY &directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (directory.VirtualAddress == 0 || directory.Size < sizeof(IMAGE_EXPORT_DIRECTORY) ||
      directory.VirtualAddress > imageSize - sizeof(IMAGE_EXPORT_DIRECTORY))
    return out;
  const auto *exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + directory.VirtualAddress);
  if (exports->AddressOfNames > imageSize ||
      exports->NumberOfNames > (imageSize - exports->AddressOfNames) / 4)
    return out;
  const auto *names = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    if (names[i] >= imageSize) continue;
    const char *name = reinterpret_cast<const char *>(base + names[i]);
    out.emplace_back(name, strnlen(name, imageSize - names[i]));
  }
  return out;
}

class Win32Module : public PluginModule {
public:
  Win32Module(std::filesystem::path path, ResourceTable resources, PiPLInfo pipl)
      : path_(std::move(path)), resources_(std::move(resources)), pipl_(std::move(pipl)) {}
  ~Win32Module() override {
    if (handle_) FreeLibrary(handle_);
  }

  bool open(std::string &error) {
    handle_ = LoadLibraryW(loaderPath(path_).c_str());
    if (!handle_) {
      error = "the library does not load: " + systemMessage(GetLastError());
      return false;
    }
    names_ = exportDirectoryNames(handle_);
    bool exported = false;
    for (const std::string &name : names_)
      exported = exported || name == pipl_.entryPoint;
    FARPROC symbol = exported ? GetProcAddress(handle_, pipl_.entryPoint.c_str()) : nullptr;
    if (!symbol) {
      error =
          "the entry point \"" + pipl_.entryPoint + "\" that the PiPL names is not exported by the module";
      return false;
    }
    entry_ = reinterpret_cast<SPPluginMainProc>(reinterpret_cast<void *>(symbol));
    return true;
  }

  SPPluginMainProc entry() const override { return entry_; }
  const PiPLInfo &pipl() const override { return pipl_; }
  const std::filesystem::path &path() const override { return path_; }
  const std::vector<std::uint8_t> *resource(const ResourceType &type, int id) const override {
    return resources_.find(type, id);
  }
  std::vector<int> resourceIds(const ResourceType &type) const override { return resources_.ids(type); }
  std::vector<std::string> exportedNames() const override { return names_; }

private:
  std::filesystem::path path_;
  ResourceTable resources_;
  PiPLInfo pipl_;
  std::vector<std::string> names_;
  HMODULE handle_ = nullptr;
  SPPluginMainProc entry_ = nullptr;
};

} // namespace

std::unique_ptr<PluginModule> PluginModule::open(const std::filesystem::path &path, std::string &error) {
  const std::string where = path.string() + ": ";
  if (const std::string problem = moduleFileProblem(path); !problem.empty()) {
    error = where + problem;
    return nullptr;
  }
  char magic[2] = {};
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      error = where + "cannot read the file";
      return nullptr;
    }
    in.read(magic, sizeof magic);
  }
  if (magic[0] != 'M' || magic[1] != 'Z') {
    error = where + "not a PE module";
    return nullptr;
  }
  HMODULE data = LoadLibraryExW(loaderPath(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!data) {
    error = where + "damaged PE module: " + systemMessage(GetLastError());
    return nullptr;
  }
  std::vector<ResourceEntry> entries;
  bool read = ResourceReader(data).readAll(entries);
  FreeLibrary(data);
  if (!read) {
    error = where + "the module's resources cannot be read";
    return nullptr;
  }
  if (entries.empty()) {
    error = where + "no .rsrc section: the module carries no resources, so no PiPL";
    return nullptr;
  }
  ResourceTable resources(std::move(entries));
  PiPLInfo pipl;
  std::string why;
  if (!readPiPL(resources, pipl, why)) {
    error = where + why;
    return nullptr;
  }
  auto module = std::make_unique<Win32Module>(path, std::move(resources), std::move(pipl));
  if (!module->open(why)) {
    error = where + why;
    return nullptr;
  }
  return module;
}

bool libraryResident(const std::filesystem::path &path) {
  return GetModuleHandleW(loaderPath(path).c_str()) != nullptr;
}

} // namespace pello::host
