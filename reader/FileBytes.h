// Whole files into memory.
#pragma once

#include <cstdint>
#include <string>

#include "ByteBuffer.h"

// True when FileName names an existing file that is not a directory.
bool FileExists(const std::string& FileName);

// Reads a whole file. Throws std::runtime_error with the message
// Cannot open file "NAME". <system reason>   when it cannot be opened, and
// Cannot read file "NAME". <system reason>   when reading fails.
TByteBuffer ReadWholeFile(const std::string& FileName);
