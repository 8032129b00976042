// lumentag-dump as a program: exit codes, messages, and the real corpus.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Corpus.h"
#include "ExifWriter.h"
#include "JpegMaker.h"
#include "MetadataWriter.h"
#include "DecimalComma.h"
#include "ProgressLine.h"
#include "TempDir.h"
#include "nlohmann/json.hpp"

namespace fs = std::filesystem;

namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// Runs a shell command line; DUMP in it stands for lumentag-dump.
TRun RunShell(std::string Command) {
  // One file per process: ctest runs the tests of this program side by side.
  const std::string ErrFile = std::filesystem::temp_directory_path() /
                              ("lumentag-dump-test-" + std::to_string(::getpid()) + ".err");
  for (size_t At = Command.find("DUMP"); At != std::string::npos; At = Command.find("DUMP", At))
    Command.replace(At, 4, LUMENTAG_DUMP);
  Command = "{ " + Command + "; } 2>" + ErrFile;
  TRun Run;
  FILE* Pipe = ::popen(Command.c_str(), "r");
  std::array<char, 4096> Chunk;
  while (const size_t Got = std::fread(Chunk.data(), 1, Chunk.size(), Pipe)) Run.Out.append(Chunk.data(), Got);
  const int Raw = ::pclose(Pipe);
  Run.Status = WIFEXITED(Raw) ? WEXITSTATUS(Raw) : -1;
  std::ifstream Err(ErrFile);
  Run.Err.assign(std::istreambuf_iterator<char>(Err), {});
  std::filesystem::remove(ErrFile);
  return Run;
}

// Runs lumentag-dump with Arguments (already quoted for the shell).
TRun RunDump(const std::string& Arguments) { return RunShell("DUMP " + Arguments); }

TEST(DumpTool, UsageAndMissingFiles) {
  const TTempDir Dir;
  for (const char* Usage : {"", "--bogus x", "--json", "-j 0 x", "-j", "--jobs=1025 x", "-jx x", "--json --csv x"})
    EXPECT_EQ(RunDump(Usage).Status, 2) << Usage;

  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon");
  const std::string Good = Dir.Write("good.tif", TiffBlock(Ifd0));
  const TRun Run = RunDump("/nonexistent/a.jpg " + Good + " /");
  EXPECT_EQ(Run.Status, 1);
  EXPECT_EQ(Run.Out, "== " + Good +
                         "\n[IFD 0]\n0x10F\tEquipment Make\tCanon\n[EXIF Sub IFD]\n"
                         "[EXIF Interoperability IFD]\n[Maker Note]\n[IFD 1]\n[GPS]\n[Thumbnail]\n"
                         "[XMP]\n[IPTC]\n[Comment]\n");
  EXPECT_EQ(Run.Err,
            "lumentag-dump: /nonexistent/a.jpg: No such file or directory\n"
            "lumentag-dump: /: Is a directory\n");

  const TRun Unreadable = RunDump("/proc/self/mem");
  EXPECT_EQ(Unreadable.Status, 1);
  EXPECT_EQ(Unreadable.Out, "");
  EXPECT_NE(Unreadable.Err.find("lumentag-dump: /proc/self/mem: Cannot"), std::string::npos);

  const TRun Json = RunDump("--json " + Good + " /nonexistent");
  EXPECT_EQ(Json.Status, 1);
  const nlohmann::json Files = nlohmann::json::parse(Json.Out);
  ASSERT_EQ(Files.size(), 1u);
  EXPECT_EQ(Files[0]["ifd0"][0]["value"], "Canon");
}

TEST(DumpTool, ImageOption) {
  const TTempDir Dir;
  TIfd Ifd0;
  Ifd0.Short(0x0112, {8});
  const std::string Turned =
      Dir.Write("turned.jpg", InsertAfterSoi(MakeJpeg(30, 20), {ExifSegment(TiffBlock(Ifd0))}));
  const std::string Tiff = Dir.Write("image.tif", TiffBlock(Ifd0));
  const TRun Run = RunDump("--image " + Turned + " " + Tiff);
  EXPECT_EQ(Run.Status, 0);
  EXPECT_NE(Run.Out.find("[GPS]\n[Image]\n20 x 30\n[Thumbnail]\n"), std::string::npos) << Run.Out;
  EXPECT_NE(Run.Out.find("[GPS]\n[Image]\n[Thumbnail]\n"), std::string::npos) << Run.Out;
  const TRun Json = RunDump("--json --image " + Turned);
  EXPECT_EQ(nlohmann::json::parse(Json.Out)[0]["image"], (nlohmann::json{{"width", 20}, {"height", 30}}));
  // Without the option there is no such section.
  EXPECT_EQ(RunDump(Turned).Out.find("[Image]"), std::string::npos);
}

// The picture decoders' libraries are loaded only when a picture of their
// kind is decoded: reading a HEIF file's tags loads none of them, showing its
// picture loads libheif (the dynamic loader lists what it loads).
TEST(DumpTool, DecoderLibrariesLoadedWhenNeeded) {
  const std::string Heic = std::string(LUMENTAG_TEST_DATA) + "/quadrants-irot-orientation6.heic";
  const TRun Tags = RunShell("LD_DEBUG=libs DUMP " + Heic);
  for (const char* Library : {"libheif", "libpng", "libwebp", "libz."})
    EXPECT_EQ(Tags.Err.find(Library), std::string::npos) << Library;
  const TRun Picture = RunShell("LD_DEBUG=libs DUMP --image " + Heic);
  EXPECT_NE(Picture.Err.find("libheif.so"), std::string::npos);
  EXPECT_NE(Picture.Out.find("[Image]\n48 x 64\n"), std::string::npos) << Picture.Out;
}

// "-" reads standard input, once: named again, it stands for the same bytes.
TEST(DumpTool, StandardInput) {
  const TTempDir Dir;
  TIfd Ifd0;
  Ifd0.Short(0x0112, {6});
  const std::string Photo =
      Dir.Write("stdin.jpg", InsertAfterSoi(MakeJpeg(30, 20), {ExifSegment(TiffBlock(Ifd0))}));
  const TRun FromFile = RunDump("--image '" + Photo + "'");
  const TRun FromStdin = RunDump("--image - - < '" + Photo + "'");
  EXPECT_EQ(FromStdin.Status, 0) << FromStdin.Err;
  const std::string Sections = FromFile.Out.substr(FromFile.Out.find('\n'));
  EXPECT_NE(Sections.find("[Image]\n20 x 30\n"), std::string::npos);
  EXPECT_EQ(FromStdin.Out, "== -" + Sections + "== -" + Sections);
  // A "-" after a failed one fails the same way.
  const TRun Folder = RunDump("- - < /");
  const std::string Failed = "lumentag-dump: -: Cannot read standard input. Is a directory\n";
  EXPECT_EQ(Folder.Err, Failed + Failed);
  EXPECT_EQ(Folder.Status, 1);
}

// Standard input is held once however often "-" is named: its bytes, and
// not much more, at the peak (a copy for each use made it three times).
TEST(DumpTool, StandardInputHeldOnce) {
  const TTempDir Dir;
  constexpr long InputKiB = 384 << 10;
  const std::string Input = Dir.Write("big.jpg", MakeJpeg(30, 20));
  fs::resize_file(Input, InputKiB * 1024);  // zeros after the photo, a sparse file
  const pid_t Child = ::fork();
  if (Child == 0) {
    const int In = ::open(Input.c_str(), O_RDONLY);
    const int Null = ::open("/dev/null", O_WRONLY);
    ::dup2(In, STDIN_FILENO);
    ::dup2(Null, STDOUT_FILENO);
    ::execl(LUMENTAG_DUMP, LUMENTAG_DUMP, "-j", "1", "--image", "-", "-", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int Status = 0;
  rusage Usage{};
  ASSERT_EQ(::wait4(Child, &Status, 0, &Usage), Child);
  EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
  EXPECT_LT(Usage.ru_maxrss, InputKiB + (128 << 10)) << "KiB at the peak";
}

// Decimals take the separator of the locale the environment names.
TEST(DumpTool, NumbersInTheUsersLocale) {
  const TTempDir Dir;
  std::string Comma;
  if (const TDecimalCommaLocale Locale; Locale.Name() != nullptr) Comma = Locale.Name();
  if (Comma.empty()) GTEST_SKIP() << "no locale with a decimal comma is installed";
  auto Exif = std::make_shared<TIfd>();
  Exif->Rational(0x829A, {{1, 125}});
  TIfd Ifd0;
  Ifd0.SubIfd(0x8769, Exif);
  const std::string File = Dir.Write("locale.tif", TiffBlock(Ifd0));
  const std::pair<std::string, std::string> Cases[] = {
      {"", "0.008f"},
      {"LC_ALL=" + Comma, "0,008f"},
      {"LANG=" + Comma, "0,008f"},
      {"LANG=" + Comma + " LC_NUMERIC=C.UTF-8", "0.008f"},
      {"LANG=C LC_ALL=" + Comma, "0,008f"},
  };
  for (const auto& [Environment, Number] : Cases) {
    const TRun Run = RunShell("env -u LC_ALL -u LC_NUMERIC -u LANG " + Environment + " DUMP '" + File + "'");
    EXPECT_NE(Run.Out.find("Exposure Time\t" + Number), std::string::npos) << Environment << "\n" << Run.Out;
  }
}

// Output that cannot be written is an error, with its reason.
TEST(DumpTool, WriteErrors) {
  const TTempDir Dir;
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon");
  const std::string File = Dir.Write("write.tif", TiffBlock(Ifd0));
  std::string Many;  // more than a pipe holds (64 KiB): some 150 KB of output
  for (int Index = 0; Index < 1000; ++Index) Many += " '" + File + "'";
  const std::string Full = "lumentag-dump: write error: No space left on device\n";
  struct TCase {
    std::string Command;
    std::string Err;
  };
  // The closed pipe's case ends with the tool's status on stderr.
  const TCase Cases[] = {
      {"DUMP" + Many + " > /dev/full; echo status $? >&2", Full + "status 1\n"},
      {"DUMP --json" + Many + " > /dev/full; echo status $? >&2", Full + "status 1\n"},
      {"trap '' PIPE; (DUMP" + Many + "; echo status $? >&2) | true",
       "lumentag-dump: write error: Broken pipe\nstatus 1\n"},
      // SIGPIPE at its default, a closed pipe ends the tool quietly by it.
      {"(env --default-signal=PIPE DUMP" + Many + "; echo status $? >&2) | true", "status 141\n"},
  };
  for (const TCase& Case : Cases) EXPECT_EQ(RunShell(Case.Command).Err, Case.Err) << Case.Command.substr(0, 40);
}

// The files of the text output, from its "== FILE" lines.
std::vector<std::string> FilesPrinted(const std::string& Text) {
  std::vector<std::string> Files;
  std::istringstream Lines(Text);
  for (std::string Line; std::getline(Lines, Line);)
    if (Line.starts_with("== ")) Files.push_back(Line.substr(3));
  return Files;
}

TBytes SmallTiff() {
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon");
  return TiffBlock(Ifd0);
}

// Entries in the byte order of their names, a folder's files at its place;
// only the extensions the open dialog offers, in any case; an operand is
// read whatever its name.
TEST(DumpTool, WalkOrder) {
  const TTempDir Dir;
  const std::string Root = Dir.Path("photos");
  for (const char* Folder : {"/a", "/c", "/d/e"}) fs::create_directories(Root + Folder);
  for (const char* Name : {"b.jpg", "a.JPG", "a.jpg", "A.tif", "_x.heic", "a-b.jpg", "a/z.jpg", "a/y.png",
                           "d/e/f.webp", "notes.txt", ".jpg"})
    Dir.Write(std::string("photos/") + Name, SmallTiff());
  const TRun Run = RunDump("-r '" + Root + "/notes.txt' '" + Root + "'");
  EXPECT_EQ(Run.Status, 0) << Run.Err;
  std::vector<std::string> Expected{Root + "/notes.txt"};
  for (const char* Name : {"A.tif", "_x.heic", "a/y.png", "a/z.jpg", "a-b.jpg", "a.JPG", "a.jpg", "b.jpg", "d/e/f.webp"})
    Expected.push_back(Root + "/" + Name);
  EXPECT_EQ(FilesPrinted(Run.Out), Expected);
  // Without -r a folder is no file to read.
  const TRun Flat = RunDump("'" + Root + "/'");
  EXPECT_EQ(Flat.Status, 1);
  EXPECT_EQ(Flat.Err, "lumentag-dump: " + Root + "/: Is a directory\n");
}

// A walk spares the sidecar lookups only in folders without a name ending
// in ".xmp": the sidecars of others are read, whatever the case of their
// extension.
TEST(DumpTool, WalkReadsSidecars) {
  const TTempDir Dir;
  const std::string Root = Dir.Path("photos");
  for (const char* Folder : {"/plain", "/upper"}) fs::create_directories(Root + Folder);
  const std::string Packet = XmpPacket("<rdf:Description xmp:Rating='5'/>");
  for (const char* Name : {"upper/a.jpg", "b.jpg", "plain/c.jpg"}) Dir.Write(std::string("photos/") + Name, SmallTiff());
  Dir.Write("photos/upper/a.jpg.XMP", TBytes(Packet.begin(), Packet.end()));
  Dir.Write("photos/b.xmp", TBytes(Packet.begin(), Packet.end()));
  const TRun Run = RunDump("-r '" + Root + "'");
  const std::string Rating = "[XMP]\nxmp:Rating\tRating (sidecar)\t5\n";
  size_t Found = 0;
  for (size_t At = Run.Out.find(Rating); At != std::string::npos; At = Run.Out.find(Rating, At + 1)) ++Found;
  EXPECT_EQ(Found, 2u) << Run.Out;
}

// Links to files are read, links to folders are not followed; files that
// cannot be read are reported in the walk's order, and the walk goes on.
TEST(DumpTool, LinksAndSpecialFilesInATree) {
  const TTempDir Dir;
  const std::string Root = Dir.Path("photos");
  fs::create_directories(Root + "/locked");
  fs::create_directories(Dir.Path("outside"));
  Dir.Write("photos/good.jpg", SmallTiff());
  Dir.Write("photos/locked/hidden.jpg", SmallTiff());
  Dir.Write("outside/photo.tif", SmallTiff());
  fs::create_symlink("../outside/photo.tif", Root + "/link.jpg");
  fs::create_symlink("../outside", Root + "/folderlink");
  fs::create_symlink("../outside", Root + "/folderlink.jpg");
  fs::create_symlink("nowhere.jpg", Root + "/dead.jpg");
  fs::create_symlink("loop.jpg", Root + "/loop.jpg");
  fs::create_symlink("/proc/self/mem", Root + "/mem.jpg");
  ASSERT_EQ(::mkfifo((Root + "/pipe.jpg").c_str(), 0600), 0);
  ::chmod((Root + "/locked").c_str(), 0);
  const bool Locked = ::access((Root + "/locked").c_str(), R_OK) != 0;  // root reads it all the same
  const TRun Run = RunDump("-r '" + Root + "'");
  ::chmod((Root + "/locked").c_str(), 0700);
  EXPECT_EQ(Run.Status, 1);
  std::vector<std::string> Read{Root + "/good.jpg", Root + "/link.jpg"};
  if (!Locked) Read.push_back(Root + "/locked/hidden.jpg");
  EXPECT_EQ(FilesPrinted(Run.Out), Read);
  const std::string Prefix = "lumentag-dump: " + Root;
  EXPECT_EQ(Run.Err, Prefix + "/dead.jpg: No such file or directory\n" +
                         (Locked ? Prefix + "/locked: Permission denied\n" : "") + Prefix +
                         "/loop.jpg: Too many levels of symbolic links\n" + Prefix + "/mem.jpg: Cannot read file \"" +
                         Root + "/mem.jpg\". Input/output error\n" + Prefix + "/pipe.jpg: Cannot open file \"" + Root +
                         "/pipe.jpg\". Not a regular file\n");
  // A folder named on the command line through a link is walked.
  EXPECT_EQ(FilesPrinted(RunDump("-r '" + Root + "/folderlink'").Out),
            std::vector<std::string>{Root + "/folderlink/photo.tif"});
}

// Every format prints the same for any number of jobs, errors included;
// each JSON line is an element of the JSON array.
TEST(DumpTool, SameOutputForAnyNumberOfJobs) {
  const TTempDir Dir;
  TIfd Ifd0;
  Ifd0.Ascii(0x010F, "Canon").Short(0x0112, {6});
  const TBytes Photo = InsertAfterSoi(MakeJpeg(32, 16), {ExifSegment(TiffBlock(Ifd0)), CommentSegment("note")});
  const TBytes Kinds[] = {Photo, SmallTiff(), {'n', 'o', 'n', 'e'}};
  for (int Index = 0; Index < 48; ++Index) {
    const std::string Name = "photos/" + std::to_string(Index % 5) + "/" + std::to_string(Index) + ".jpg";
    fs::create_directories(fs::path(Dir.Path(Name)).parent_path());
    if (Index % 11 == 3) {
      fs::create_symlink("missing", Dir.Path(Name));
    } else {
      Dir.Write(Name, Kinds[Index % 3]);
    }
  }
  const std::string Root = "'" + Dir.Path("photos") + "'";
  for (const char* Format : {"", "--json", "--jsonl", "--csv", "--image --json"}) {
    SCOPED_TRACE(Format);
    const TRun One = RunDump(std::string("-r -j 1 ") + Format + " " + Root);
    EXPECT_EQ(One.Status, 1);
    EXPECT_NE(One.Err, "");
    for (const char* Jobs : {"2", "8"}) {
      const TRun Many = RunDump(std::string("-r -j ") + Jobs + " " + Format + " " + Root);
      EXPECT_EQ(Many.Out, One.Out) << Jobs;
      EXPECT_EQ(Many.Err, One.Err) << Jobs;
      EXPECT_EQ(Many.Status, One.Status) << Jobs;
    }
  }
  const nlohmann::json Array = nlohmann::json::parse(RunDump("-r --json " + Root).Out);
  std::istringstream Lines(RunDump("-r --jsonl " + Root).Out);
  size_t Index = 0;
  for (std::string Line; std::getline(Lines, Line); ++Index) {
    ASSERT_LT(Index, Array.size());
    EXPECT_EQ(nlohmann::json::parse(Line), Array[Index]);
  }
  EXPECT_EQ(Index, Array.size());
}

TEST(DumpTool, ProgressText) {
  EXPECT_EQ(ProgressText(1234, 5520, 41000.4), "1,234 / 5,520 files, 41,000 files/s");
  EXPECT_EQ(ProgressText(0, 2, 0), "0 / 2 files, 0 files/s");
  EXPECT_EQ(GroupedThousands(1234567890), "1,234,567,890");
  EXPECT_EQ(GroupedThousands(999), "999");
}

TEST(DumpTool, WholeCorpus) {
  SKIP_WITHOUT_CORPUS();
  std::string Arguments;
  for (const std::string& File : CorpusFiles()) Arguments += " '" + File + "'";
  const TRun Text = RunDump(Arguments);
  EXPECT_EQ(Text.Status, 0) << Text.Err;
  EXPECT_EQ(Text.Err, "");
  const TRun Json = RunDump("--json" + Arguments);
  EXPECT_EQ(Json.Status, 0);
  EXPECT_EQ(nlohmann::json::parse(Json.Out).size(), CorpusFiles().size());
  // The corpus as a folder: the same files in the same order.
  EXPECT_EQ(RunDump("-r '" + CorpusDir() + "'").Out, Text.Out);
}

}  // namespace
