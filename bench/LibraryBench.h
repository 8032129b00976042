// A photo library at once (lumentag-bench --library [FOLDER...]): the
// corpus's photos repeated to a tree of 10,000 files in a temporary folder
// (hard links where the file system allows), read by lumentag-dump -r as
// text, JSON Lines and CSV with one job and with two, against the floor (the
// same walk, opening, asking the type and size of, and reading the first
// 64 KiB of each file) and against exiftool -fast -j -r and exiv2 -pa on the
// same tree; then the peak memory of lumentag-dump -r on 100,000 files.
#pragma once

#include <string>
#include <vector>

// Runs the measures and prints them; Photos are the files to repeat. The
// child spawner must have been started.
int RunLibraryBench(const std::vector<std::string>& Photos);
