// pv37-profile: shows, checks and creates the configuration system's data
// folder (config.ini and the profile files) from the command line.

#include <sys/stat.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ProfileDescriber.h"
#include "RepairReport.h"
#include "model/FixedText.h"
#include "platform/Folders.h"
#include "platform/Text.h"
#include "store/ConfigFile.h"
#include "store/IniFile.h"
#include "store/ProfileFile.h"
#include "store/ProfileName.h"

namespace {

constexpr int kExitFine = 0;
constexpr int kExitRepairsFound = 1;
constexpr int kExitUsage = 2;

constexpr char kHelp[] =
    "Usage: pv37-profile <command> <path> [--slot N]\n"
    "\n"
    "Shows, checks and creates the Tolvane PV37 data folder: config.ini and the\n"
    "profile files in its Profiles folder.\n"
    "\n"
    "Commands:\n"
    "  init  <data folder>  create the folder with the first-run files: config.ini,\n"
    "                       Profiles/ and the four default profiles. Files that\n"
    "                       exist are kept; only what is missing is added.\n"
    "  show  <path>         print in plain words what the files hold: settings, the\n"
    "                       four mode slots with their named profiles, and for each\n"
    "                       profile its linked programs, lighting and every key that\n"
    "                       is not default.\n"
    "  check <path>         say what loading would repair, and why. Changes nothing.\n"
    "\n"
    "<path> is a data folder, a config.ini, or one profile file (*.ini).\n"
    "\n"
    "Options:\n"
    "  --slot N    for a single profile file: the mode slot 0..3 whose default\n"
    "              colours the repair uses (default 0).\n"
    "  -h, --help  show this help.\n"
    "\n"
    "Exit status: 0 fine, 1 check found something to repair, 2 usage or file error.\n";

enum class PathKind { kMissing, kDataFolder, kConfigFile, kProfileFile, kOther };

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string FolderOf(const std::string& file) {
  const std::size_t slash = file.rfind('/');
  return slash == std::string::npos ? std::string("./") : file.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& file) {
  const std::size_t slash = file.rfind('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

PathKind KindOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return PathKind::kMissing;
  if (S_ISDIR(info.st_mode)) return PathKind::kDataFolder;
  if (!S_ISREG(info.st_mode)) return PathKind::kOther;
  if (platform::EqualsNoCase(FileNameOf(path), "config.ini")) return PathKind::kConfigFile;
  return PathKind::kProfileFile;
}

int Fail(const std::string& message) {
  std::cerr << "pv37-profile: " << message << "\n";
  return kExitUsage;
}

// Reads config.ini as the service would, without writing anything.
std::unique_ptr<ConfigRecord> ReadConfigOnly(const std::string& dataFolder) {
  auto record = std::make_unique<ConfigRecord>();
  ResetConfig(*record);
  IniDocument doc = IniFile(ConfigPath(dataFolder)).Load();
  std::vector<int> created;
  ReadConfigDocument(doc, *record, created);
  RepairConfig(*record);
  return record;
}

// Reads a profile file as the service would (reset, read, repair), without writing.
std::unique_ptr<ProfileBlock> ReadProfileOnly(const std::string& path, int slot) {
  auto block = std::make_unique<ProfileBlock>();
  ResetProfile(*block);
  ReadProfileDocument(IniFile(path).Load(), *block);
  RepairProfile(*block, slot);
  return block;
}

std::string ProfileTitle(const std::string& path, std::u16string_view name) {
  return "Profile \"" + platform::Utf16ToUtf8(name) + "\" (" + path + ")";
}

void ShowProfileFile(ProfileDescriber& describer, const std::string& path, int slot) {
  const IniDocument doc = IniFile(path).Load();
  const std::u16string name = doc.ReadString(u"GROUP", u"CurrentProfileName", u"");
  describer.DescribeProfile(*ReadProfileOnly(path, slot), ProfileTitle(path, name));
}

int Show(const std::string& path, PathKind kind, int slot) {
  ProfileDescriber describer(std::cout);
  if (kind == PathKind::kProfileFile) {
    ShowProfileFile(describer, path, slot);
    return kExitFine;
  }
  const std::string dataFolder = kind == PathKind::kDataFolder ? WithSlash(path) : FolderOf(path);
  if (KindOf(ConfigPath(dataFolder)) != PathKind::kConfigFile)
    return Fail("there is no config.ini in \"" + dataFolder + "\" (\"init\" creates one)");
  const auto record = ReadConfigOnly(dataFolder);
  describer.DescribeConfig(*record);
  for (int s = 0; s < kSlotCount; ++s) {
    const std::u16string name(FixedText(record->slots[s].profileName));
    std::cout << "\n";
    if (const auto problem = ProfileNameProblem(name)) {
      std::cout << "Slot " << s << ": no profile file (" << *problem << ")\n";
      continue;
    }
    const std::string file = ProfilePath(dataFolder, name);
    if (KindOf(file) != PathKind::kProfileFile) {
      std::cout << ProfileTitle(file, name) << "\n  The file is missing; the profile has its "
                << "reset values.\n";
      continue;
    }
    ShowProfileFile(describer, file, s);
  }
  return kExitFine;
}

int Check(const std::string& path, PathKind kind, int slot) {
  RepairReport report(std::cout);
  if (kind == PathKind::kProfileFile)
    report.CheckProfile(path, slot, std::nullopt);
  else
    report.CheckDataFolder(kind == PathKind::kDataFolder ? WithSlash(path) : FolderOf(path));
  if (report.Repairs() == 0) {
    std::cout << "Nothing to repair.\n";
    return kExitFine;
  }
  std::cout << report.Repairs() << (report.Repairs() == 1 ? " repair.\n" : " repairs.\n");
  return kExitRepairsFound;
}

int Init(const std::string& path) {
  const std::string dataFolder = WithSlash(path);
  if (!platform::EnsureFolder(dataFolder + "Profiles/"))
    return Fail("cannot create the folder \"" + dataFolder + "Profiles/\"");
  auto record = std::make_unique<ConfigRecord>();
  ResetConfig(*record);
  const StoreResult loaded = LoadConfig(*record, dataFolder);
  if (!loaded) return Fail(loaded.message);
  std::cout << "Data folder ready: " << dataFolder << "\n  " << ConfigPath(dataFolder) << "\n";
  for (const auto& slot : record->slots)
    std::cout << "  " << ProfilePath(dataFolder, FixedText(slot.profileName)) << "\n";
  return kExitFine;
}

std::optional<int> ParseSlot(const std::string& text) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '3') return std::nullopt;
  return text[0] - '0';
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  int slot = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::cout << kHelp;
      return kExitFine;
    }
    if (arg == "--slot") {
      const auto parsed = i + 1 < argc ? ParseSlot(argv[++i]) : std::nullopt;
      if (!parsed) return Fail("--slot takes a mode slot from 0 to 3");
      slot = *parsed;
      continue;
    }
    if (arg.starts_with("-")) return Fail("unknown option \"" + arg + "\" (see --help)");
    positional.push_back(arg);
  }
  if (positional.size() != 2)
    return Fail(positional.empty() ? "no command given (see --help)"
                                   : "a command takes exactly one path (see --help)");
  const std::string& command = positional[0];
  const std::string& path = positional[1];
  if (command == "init") return Init(path);
  if (command != "show" && command != "check")
    return Fail("unknown command \"" + command + "\" (see --help)");
  const PathKind kind = KindOf(path);
  if (kind == PathKind::kMissing) return Fail("\"" + path + "\" does not exist");
  if (kind == PathKind::kOther) return Fail("\"" + path + "\" is neither a folder nor a file");
  return command == "show" ? Show(path, kind, slot) : Check(path, kind, slot);
}
