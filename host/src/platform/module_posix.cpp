// Platform file (ELF systems): loads the plug-in module with dlopen, finds
// its resources in the ELF section ".rsrc" (the .res image the build embeds)
// and its defined dynamic symbols in ".dynsym".
#include "loader/ModuleFile.h"
#include "pello/host/Keyboard.h"
#include "pello/host/PluginModule.h"
#include "pello/host/ResourceFile.h"

#include <dlfcn.h>
#include <elf.h>

#include <cstring>
#include <fstream>

namespace pello::host {

namespace {

std::vector<std::uint8_t> readFile(const std::filesystem::path &path, bool &ok) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  ok = static_cast<bool>(in);
  if (!ok) return {};
  // One read of the whole file: the host loads the module on every start.
  const std::streamoff size = in.tellg();
  std::vector<std::uint8_t> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ok = static_cast<bool>(in) || bytes.empty();
  return bytes;
}

// The sections of an ELF image of either class; bounds-checked throughout.
struct ElfSections {
  struct Section {
    std::string name;
    std::uint32_t type = 0;
    std::uint64_t offset = 0, size = 0, entrySize = 0;
    std::uint32_t link = 0;
  };
  std::vector<Section> sections;
  bool is64 = true;

  template <class Ehdr, class Shdr> bool read(const std::vector<std::uint8_t> &image, std::string &error) {
    if (image.size() < sizeof(Ehdr)) {
      error = "truncated ELF header";
      return false;
    }
    Ehdr header;
    std::memcpy(&header, image.data(), sizeof header);
    std::uint64_t count = header.e_shnum;
    if (header.e_shoff == 0 || count == 0 || header.e_shentsize != sizeof(Shdr) ||
        header.e_shoff > image.size() || count > (image.size() - header.e_shoff) / sizeof(Shdr)) {
      error = "no readable section table";
      return false;
    }
    std::vector<Shdr> raw(count);
    std::memcpy(raw.data(), image.data() + header.e_shoff, count * sizeof(Shdr));
    for (const Shdr &s : raw) {
      Section section;
      section.type = s.sh_type;
      section.offset = s.sh_offset;
      section.size = s.sh_type == SHT_NOBITS ? 0 : s.sh_size;
      section.entrySize = s.sh_entsize;
      section.link = s.sh_link;
      if (section.offset > image.size() || section.size > image.size() - section.offset) {
        error = "a section runs past the end of the file";
        return false;
      }
      sections.push_back(section);
    }
    if (header.e_shstrndx < count) {
      const Section &names = sections[header.e_shstrndx];
      for (std::size_t i = 0; i < count; ++i)
        sections[i].name = stringAt(image, names, raw[i].sh_name);
    }
    return true;
  }

  static std::string stringAt(const std::vector<std::uint8_t> &image, const Section &table,
                              std::uint64_t at) {
    if (at >= table.size) return {};
    const char *start = reinterpret_cast<const char *>(image.data() + table.offset + at);
    return std::string(start, strnlen(start, table.size - at));
  }

  const Section *named(std::string_view name) const {
    for (const Section &s : sections)
      if (s.name == name) return &s;
    return nullptr;
  }

  template <class Sym>
  std::vector<std::string> definedDynamicSymbols(const std::vector<std::uint8_t> &image) const {
    std::vector<std::string> out;
    for (const Section &s : sections) {
      if (s.type != SHT_DYNSYM || s.link >= sections.size()) continue;
      const Section &strings = sections[s.link];
      for (std::uint64_t at = sizeof(Sym); at + sizeof(Sym) <= s.size; at += sizeof(Sym)) {
        Sym sym;
        std::memcpy(&sym, image.data() + s.offset + at, sizeof sym);
        if (sym.st_shndx == SHN_UNDEF) continue;
        std::string name = stringAt(image, strings, sym.st_name);
        if (!name.empty()) out.push_back(std::move(name));
      }
    }
    return out;
  }
};

// dlopen searches the library path for a name without a slash; a module
// named in the current folder ("PelloPalette.aip") is meant as that file.
std::string dlopenName(const std::filesystem::path &path) {
  const std::string name = path.string();
  return name.find('/') == std::string::npos ? "./" + name : name;
}

class PosixModule : public PluginModule {
public:
  PosixModule(std::filesystem::path path, ResourceTable resources, PiPLInfo pipl,
              std::vector<std::string> names)
      : path_(std::move(path)), resources_(std::move(resources)), pipl_(std::move(pipl)),
        names_(std::move(names)) {}
  ~PosixModule() override {
    if (handle_) dlclose(handle_);
  }

  bool open(std::string &error) {
    // The plug-in resolves GetKeyboardState from the executable.
    (void)keyboardEntryPoint();
    handle_ = dlopen(dlopenName(path_).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
      const char *why = dlerror();
      error = std::string("the library does not load: ") + (why ? why : "unknown reason");
      return false;
    }
    bool exported = false;
    for (const std::string &name : names_)
      exported = exported || name == pipl_.entryPoint;
    void *symbol = exported ? dlsym(handle_, pipl_.entryPoint.c_str()) : nullptr;
    if (!symbol) {
      error =
          "the entry point \"" + pipl_.entryPoint + "\" that the PiPL names is not exported by the module";
      return false;
    }
    entry_ = reinterpret_cast<SPPluginMainProc>(symbol);
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
  void *handle_ = nullptr;
  SPPluginMainProc entry_ = nullptr;
};

} // namespace

std::unique_ptr<PluginModule> PluginModule::open(const std::filesystem::path &path, std::string &error) {
  const std::string where = path.string() + ": ";
  if (const std::string problem = moduleFileProblem(path); !problem.empty()) {
    error = where + problem;
    return nullptr;
  }
  bool readable = false;
  std::vector<std::uint8_t> image = readFile(path, readable);
  if (!readable) {
    error = where + "cannot read the file";
    return nullptr;
  }
  if (image.size() < EI_NIDENT || std::memcmp(image.data(), ELFMAG, SELFMAG) != 0) {
    error = where + "not an ELF module";
    return nullptr;
  }
  ElfSections elf;
  std::string why;
  elf.is64 = image[EI_CLASS] == ELFCLASS64;
  bool ok =
      elf.is64 ? elf.read<Elf64_Ehdr, Elf64_Shdr>(image, why) : elf.read<Elf32_Ehdr, Elf32_Shdr>(image, why);
  if (!ok) {
    error = where + "damaged ELF module: " + why;
    return nullptr;
  }
  const ElfSections::Section *rsrc = elf.named(".rsrc");
  if (!rsrc) {
    error = where + "no .rsrc section: the module carries no resources, so no PiPL";
    return nullptr;
  }
  std::vector<ResourceEntry> entries;
  if (!parseResFile(image.data() + rsrc->offset, rsrc->size, entries, why)) {
    error = where + "the .rsrc section is not a valid .res image: " + why;
    return nullptr;
  }
  ResourceTable resources(std::move(entries));
  PiPLInfo pipl;
  if (!readPiPL(resources, pipl, why)) {
    error = where + why;
    return nullptr;
  }
  std::vector<std::string> names =
      elf.is64 ? elf.definedDynamicSymbols<Elf64_Sym>(image) : elf.definedDynamicSymbols<Elf32_Sym>(image);
  auto module = std::make_unique<PosixModule>(path, std::move(resources), std::move(pipl), std::move(names));
  if (!module->open(why)) {
    error = where + why;
    return nullptr;
  }
  return module;
}

bool libraryResident(const std::filesystem::path &path) {
  void *handle = dlopen(dlopenName(path).c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  dlclose(handle);
  return true;
}

} // namespace pello::host
