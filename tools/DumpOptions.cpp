#include "DumpOptions.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>

const char* const DumpUsage =
    "usage: lumentag-dump [-r] [-j N] [--json | --jsonl | --csv] [--image] [--no-progress]\n"
    "                     [--] FILE...\n";

namespace {

constexpr const char* Help =
    "\n"
    "Reads the EXIF metadata of each JPEG, TIFF, PNG, WebP, HEIF or AVIF FILE as\n"
    "the Lumentag viewer does and prints what its tabs would show: the tags of\n"
    "IFD 0, the EXIF Sub IFD, the EXIF Interoperability IFD, the maker note,\n"
    "IFD 1 and GPS (number, name and value, separated by a tab), the size of the\n"
    "thumbnail, the XMP values of the file and of a sidecar beside it (path, name\n"
    "and value), the IPTC datasets (record:dataset, name and value) and the JPEG\n"
    "comment.\n"
    "A FILE of - reads standard input (once; up to 1 GiB).\n"
    "\n"
    "Options:\n"
    "  -r, --recursive  read the files under a FILE that is a folder: its entries\n"
    "                   in the byte order of their names, each subfolder at its\n"
    "                   place; only the extensions the viewer's open dialog\n"
    "                   offers; links to folders are not followed\n"
    "  -j, --jobs N     read with N threads (1 to 1024; default: one for each\n"
    "                   core); the output is the same for every N\n"
    "  --json           print one JSON array, one object per file, with the\n"
    "                   decoded numbers and texts of every record\n"
    "  --jsonl          print each file's JSON object on a line of its own\n"
    "  --csv            print the header file,section,tag,name,value and a line\n"
    "                   per row of every tag, XMP and IPTC section\n"
    "  --image          add the size of the picture on the Image tab, turned by\n"
    "                   its orientation (none when it cannot be decoded)\n"
    "  --no-progress    never show the progress line that standard error shows\n"
    "                   when it is a terminal and more than one file is read\n"
    "  --               end the options: every later argument is a FILE\n"
    "  --help           print this help and exit\n"
    "  --version        print the version and exit\n"
    "\n"
    "A file that is missing or cannot be read is reported on standard error, and\n"
    "the others are still read.\n"
    "\n"
    "Exit status:\n"
    "  0  every file was read and all output was written\n"
    "  1  a file was missing or could not be read (or a folder could not be\n"
    "     listed), or standard output could not be written\n"
    "  2  a usage error\n";

constexpr const char* Version = "lumentag-dump " LUMENTAG_VERSION "\n";

constexpr unsigned MaxJobs = 1024;

// --help and --version answer at once, whatever else the command line holds,
// and end the program: with status 0, or 1 when the text could not be written.
[[noreturn]] void PrintAndExit(const std::string& Text) {
  std::cout << Text << std::flush;
  if (std::cout) std::exit(0);
  std::cerr << "lumentag-dump: write error: " << std::strerror(errno) << '\n';
  std::exit(1);
}

bool ParseJobs(std::string_view Text, unsigned& Jobs) {
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Jobs);
  if (Error == std::errc() && End == Text.data() + Text.size() && Jobs >= 1 && Jobs <= MaxJobs) return true;
  std::cerr << "lumentag-dump: not a number of jobs from 1 to " << MaxJobs << ": '" << Text << "'\n";
  return false;
}

bool SetFormat(TDumpOptions& Options, TOutputFormat Format, bool& FormatSet) {
  if (FormatSet && Options.Format != Format) {
    std::cerr << "lumentag-dump: --json, --jsonl and --csv exclude each other\n";
    return false;
  }
  Options.Format = Format;
  FormatSet = true;
  return true;
}

}  // namespace

bool ParseDumpOptions(int Argc, char** Argv, TDumpOptions& Options) {
  bool OptionsEnded = false;
  bool FormatSet = false;
  for (int Index = 1; Index < Argc; ++Index) {
    const std::string_view Argument = Argv[Index];
    if (OptionsEnded || Argument.size() < 2 || Argument[0] != '-') {
      Options.Files.emplace_back(Argument);
    } else if (Argument == "--") {
      OptionsEnded = true;
    } else if (Argument == "--help") {
      PrintAndExit(std::string(DumpUsage) + Help);
    } else if (Argument == "--version") {
      PrintAndExit(Version);
    } else if (Argument == "--json" || Argument == "--jsonl" || Argument == "--csv") {
      const TOutputFormat Format = Argument == "--json"    ? TOutputFormat::ofJson
                                   : Argument == "--jsonl" ? TOutputFormat::ofJsonLines
                                                           : TOutputFormat::ofCsv;
      if (!SetFormat(Options, Format, FormatSet)) return false;
    } else if (Argument == "--image") {
      Options.Image = true;
    } else if (Argument == "-r" || Argument == "--recursive") {
      Options.Recursive = true;
    } else if (Argument == "--no-progress") {
      Options.Progress = false;
    } else if (Argument == "-j" || Argument == "--jobs") {
      if (Index + 1 == Argc) {
        std::cerr << "lumentag-dump: " << Argument << " needs a number of jobs\n";
        return false;
      }
      if (!ParseJobs(Argv[++Index], Options.Jobs)) return false;
    } else if (Argument.starts_with("--jobs=") || (Argument.starts_with("-j") && !Argument.starts_with("--"))) {
      const size_t Value = Argument.starts_with("--") ? std::string_view("--jobs=").size() : 2;
      if (!ParseJobs(Argument.substr(Value), Options.Jobs)) return false;
    } else {
      std::cerr << "lumentag-dump: unknown option " << Argument << '\n';
      return false;
    }
  }
  return !Options.Files.empty();
}
