// lumentag-dump [--json] [--image] FILE...
// Loads each file as the viewer's open command does and prints what the tag,
// thumbnail and comment tabs would show; with --image also the size of the
// picture on the Image tab.
#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "DumpFormat.h"

namespace {

struct TOptions {
  bool Json = false;
  bool Image = false;
  std::vector<std::string> Files;
};

constexpr const char* Usage = "usage: lumentag-dump [--json] [--image] [--] FILE...\n";

constexpr const char* Help =
    "\n"
    "Reads the EXIF metadata of each JPEG or TIFF FILE as the Lumentag viewer does\n"
    "and prints what its tabs would show: the tags of IFD 0, the EXIF Sub IFD, the\n"
    "EXIF Interoperability IFD, the maker note, IFD 1 and GPS (number, name and\n"
    "value, separated by a tab), the size of the thumbnail and the JPEG comment.\n"
    "A FILE of - reads standard input (once; up to 1 GiB).\n"
    "\n"
    "Options:\n"
    "  --json     print one JSON array, one object per file, with the decoded\n"
    "             numbers and texts of every record\n"
    "  --image    add the size of the picture on the Image tab, turned by its\n"
    "             orientation (none when the file cannot be decoded as a JPEG\n"
    "             picture)\n"
    "  --         end the options: every later argument is a FILE\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  every file loaded and all output was written\n"
    "  1  a file was missing or could not be read, or standard output could not\n"
    "     be written\n"
    "  2  a usage error\n";

constexpr const char* Version = "lumentag-dump " LUMENTAG_VERSION "\n";

// --help and --version answer at once, whatever else the command line holds,
// and end the program: with status 0, or 1 when the text could not be written.
[[noreturn]] void PrintAndExit(const std::string& Text) {
  std::cout << Text << std::flush;
  if (std::cout) std::exit(0);
  std::cerr << "lumentag-dump: write error: " << std::strerror(errno) << '\n';
  std::exit(1);
}

bool ParseOptions(int Argc, char** Argv, TOptions& Options) {
  bool OptionsEnded = false;
  for (int Index = 1; Index < Argc; ++Index) {
    const std::string Argument = Argv[Index];
    if (!OptionsEnded && Argument == "--") {
      OptionsEnded = true;
    } else if (!OptionsEnded && Argument == "--help") {
      PrintAndExit(std::string(Usage) + Help);
    } else if (!OptionsEnded && Argument == "--version") {
      PrintAndExit(Version);
    } else if (!OptionsEnded && Argument == "--json") {
      Options.Json = true;
    } else if (!OptionsEnded && Argument == "--image") {
      Options.Image = true;
    } else if (!OptionsEnded && Argument.size() > 1 && Argument[0] == '-') {
      std::cerr << "lumentag-dump: unknown option " << Argument << '\n';
      return false;
    } else {
      Options.Files.push_back(Argument);
    }
  }
  return !Options.Files.empty();
}

// Why FileName is not a file the document can load; empty when it is one.
std::string MissingReason(const std::string& FileName) {
  struct stat Info{};
  if (::stat(FileName.c_str(), &Info) != 0) return std::strerror(errno);
  if (S_ISDIR(Info.st_mode)) return std::strerror(EISDIR);
  return {};
}

// Loads FileName into Doc; on failure says why on stderr and returns false.
bool Load(TEXIF& Doc, const std::string& FileName) {
  if (const std::string Reason = MissingReason(FileName); !Reason.empty()) {
    std::cerr << "lumentag-dump: " << FileName << ": " << Reason << '\n';
    return false;
  }
  try {
    Doc.LoadFromFile(FileName);
    return true;
  } catch (const std::exception& Error) {
    std::cerr << "lumentag-dump: " << FileName << ": " << Error.what() << '\n';
    return false;
  }
}

}  // namespace

int main(int Argc, char** Argv) {
  std::setlocale(LC_ALL, "");
  TOptions Options;
  if (!ParseOptions(Argc, Argv, Options)) {
    std::cerr << Usage;
    return 2;
  }
  TEXIF Doc;
  bool AllLoaded = true;
  nlohmann::json Files = nlohmann::json::array();
  for (const std::string& FileName : Options.Files) {
    if (!Load(Doc, FileName)) {
      AllLoaded = false;
      continue;
    }
    TDumpInput Input{FileName, Doc, Options.Image};
    if (Options.Image) Input.Image = ImageTabSize(Doc);
    if (Options.Json)
      Files.push_back(DumpJson(Input));
    else
      WriteDumpText(std::cout, Input);
  }
  if (Options.Json)
    std::cout << Files.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  return AllLoaded ? 0 : 1;
}
