// Whole files into memory.
#pragma once

#include <optional>
#include <string>

#include "ByteBuffer.h"

// True when FileName names an existing file that is not a directory.
bool FileExists(const std::string& FileName);

// Reads a whole file. Returns nothing when no file of that name exists (no
// such path, or a folder), as FileExists would say. A file that exists but
// cannot be read throws std::runtime_error with the message
//   Cannot open file "NAME". <system reason>   or
//   Cannot read file "NAME". <system reason>
std::optional<TByteBuffer> ReadExistingFile(const std::string& FileName);

// The same, but a missing file throws too.
TByteBuffer ReadWholeFile(const std::string& FileName);
