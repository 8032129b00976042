// lumentag-dump's command line.
#pragma once

#include <string>
#include <vector>

enum class TOutputFormat { ofText, ofJson, ofJsonLines, ofCsv };

struct TDumpOptions {
  TOutputFormat Format = TOutputFormat::ofText;
  bool Image = false;
  bool Recursive = false;
  bool Progress = true;  // when standard error is a terminal
  unsigned Jobs = 0;     // 0: one for each core
  std::vector<std::string> Files;
};

extern const char* const DumpUsage;

// Reads the command line into Options. --help and --version print their
// text and end the program. False for a usage error, which has been
// reported (but for the usage line, the caller's to print).
bool ParseDumpOptions(int Argc, char** Argv, TDumpOptions& Options);
