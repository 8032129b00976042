// The picture benchmarks' side of lumentag-bench's main(): the work its
// child processes do, and the summary printed after the runs.
#pragma once

#include <map>
#include <optional>
#include <string>

// Runs the child task that the command line names (lumentag-bench --child
// TASK FILE) and gives its exit status. For any other command line, starts
// the process that will start the measured children, while this one is
// still small, and gives nothing.
std::optional<int> RunPictureChild(int Argc, char** Argv);

// Prints the picture ratios and the costs of the child processes; Times
// holds each benchmark's median time, in milliseconds, by name.
void PrintPictureResults(const std::map<std::string, double>& Times);
