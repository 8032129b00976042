// The files the reading benchmarks run over: the shared corpus of photos and
// every file of the folders given on the command line.
#pragma once

#include <string>
#include <vector>

const std::vector<std::string>& BenchFiles();
void AddBenchFolder(const std::string& Folder);
