// lumentag-dump [--json] [--image] [--] FILE...   (FILE - is standard input)
// Loads each file as the viewer's open command does and prints what the tag,
// thumbnail and comment tabs would show; with --image also the size of the
// picture on the Image tab.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "DumpFormat.h"
#include "FileBytes.h"

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
    "value, separated by a tab), the size of the thumbnail, the XMP values of the\n"
    "file and of a sidecar beside it (path, name and value), the IPTC datasets\n"
    "(record:dataset, name and value) and the JPEG comment.\n"
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

// Standard output through a buffer of our own, so that a write that fails (a
// full disk, a closed pipe) is seen, with its reason, instead of the output
// being lost without a word.
class TOutputBuffer : public std::streambuf {
 public:
  TOutputBuffer() { setp(FBuffer, FBuffer + sizeof FBuffer); }
  // The errno of the first write that failed; 0 while all went well.
  int Error() const { return FError; }

 protected:
  int_type overflow(int_type Char) override {
    if (!Drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(Char, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(Char);
      pbump(1);
    }
    return traits_type::not_eof(Char);
  }
  int sync() override { return Drain() ? 0 : -1; }

 private:
  bool Drain() {
    const char* Next = pbase();
    while (FError == 0 && Next < pptr()) {
      const ssize_t Written = ::write(STDOUT_FILENO, Next, static_cast<size_t>(pptr() - Next));
      if (Written < 0 && errno == EINTR) continue;
      if (Written < 0) FError = errno;
      else Next += Written;
    }
    setp(FBuffer, FBuffer + sizeof FBuffer);
    return FError == 0;
  }

  char FBuffer[65536];
  int FError = 0;
};

// Standard input, read once: "-" named again stands for the same bytes.
constexpr int64_t MaxStandardInput = int64_t{1} << 30;

struct TStandardInput {
  bool Read = false;
  TByteBuffer Bytes;
};

TByteBuffer ReadStandardInput(TStandardInput& Input) {
  if (!Input.Read) {
    Input.Read = true;
    uint8_t Chunk[65536];
    for (;;) {
      const ssize_t Got = ::read(STDIN_FILENO, Chunk, sizeof Chunk);
      if (Got < 0 && errno == EINTR) continue;
      if (Got < 0) throw std::runtime_error(std::string("Cannot read standard input. ") + std::strerror(errno));
      if (Got == 0) break;
      if (static_cast<int64_t>(Input.Bytes.size()) + Got > MaxStandardInput)
        throw std::runtime_error("Standard input holds more than 1 GiB");
      Input.Bytes.insert(Input.Bytes.end(), Chunk, Chunk + Got);
    }
  }
  return Input.Bytes;
}

// Loads FileName ("-": standard input) into Doc, with the size of its
// picture when Options ask for it; on failure says why on stderr.
std::optional<TDumpInput> Load(TEXIF& Doc, const std::string& FileName, const TOptions& Options,
                               TStandardInput& Stdin) {
  try {
    TDumpInput Input{FileName, Doc, Options.Image};
    if (FileName == "-") {
      TByteBuffer Bytes = ReadStandardInput(Stdin);
      Doc.LoadFromBytes(Bytes);
      if (Options.Image) Input.Image = ImageTabSize(Doc, Bytes);
      return Input;
    }
    Doc.LoadExistingFile(FileName);
    if (Options.Image) Input.Image = ImageTabSize(Doc);
    return Input;
  } catch (const EFileOpenError& Error) {
    // A name that is no file at all says only why, as a shell does.
    std::cerr << "lumentag-dump: " << FileName << ": " << (Error.NoFile() ? Error.Reason() : Error.what()) << '\n';
    return std::nullopt;
  } catch (const std::exception& Error) {
    std::cerr << "lumentag-dump: " << FileName << ": " << Error.what() << '\n';
    return std::nullopt;
  }
}

// Writes one file's part of the output: its sections, or its JSON object.
void Write(std::ostream& Out, const TDumpInput& Input, const TOptions& Options, bool FirstInArray) {
  if (!Options.Json) {
    WriteDumpText(Out, Input);
    return;
  }
  Out << (FirstInArray ? "[\n" : ",\n");
  WriteDumpJson(Out, Input);
}


// Numbers are the only thing the locale changes in the output: their decimal
// separator. Only that category is loaded, and not at all when the
// environment names the C locale (C, POSIX, C.UTF-8 ...), whose separator the
// program starts with: finding a locale reads files, which costs a short run
// more than its work.
void UseTheLocalesNumbers() {
  const auto Named = [](const char* Variable) {
    const char* Value = std::getenv(Variable);
    return Value != nullptr && Value[0] != '\0' ? Value : nullptr;
  };
  const char* Locale = Named("LC_ALL");
  if (Locale == nullptr) Locale = Named("LC_NUMERIC");
  if (Locale == nullptr) Locale = Named("LANG");
  if (Locale == nullptr) return;
  const std::string_view Name(Locale);
  if (Name == "C" || Name == "POSIX" || Name.starts_with("C.")) return;
  std::setlocale(LC_NUMERIC, "");
}

}  // namespace

int main(int Argc, char** Argv) {
  UseTheLocalesNumbers();
  TOptions Options;
  if (!ParseOptions(Argc, Argv, Options)) {
    std::cerr << Usage;
    return 2;
  }
  TOutputBuffer Buffer;
  std::ostream Out(&Buffer);
  TEXIF Doc;
  TStandardInput Stdin;
  bool AllLoaded = true;
  size_t Written = 0;
  for (const std::string& FileName : Options.Files) {
    const std::optional<TDumpInput> Input = Load(Doc, FileName, Options, Stdin);
    if (!Input) {
      AllLoaded = false;
      continue;
    }
    Write(Out, *Input, Options, Written++ == 0);
    if (!Out) break;
  }
  if (Options.Json && Out) Out << (Written == 0 ? "[]\n" : "\n]\n");
  if (!Out.flush() || Buffer.Error() != 0) {
    std::cerr << "lumentag-dump: write error: " << std::strerror(Buffer.Error()) << '\n';
    return 1;
  }
  return AllLoaded ? 0 : 1;
}
