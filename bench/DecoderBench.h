// The picture decoders' side of lumentag-bench: the PNG, WebP and HEIF
// decoders at screen size against their libraries' own decodes.
#pragma once

#include <map>
#include <optional>
#include <string>

// Runs the child task Task on File (lumentag-bench --child TASK FILE) when
// it is one of the decoders', and gives its exit status; nothing otherwise.
std::optional<int> RunDecoderChild(const std::string& Task, const std::string& File);

// Prints the decoders' ratios and the HEIF decoder's peak memory; Times
// holds each benchmark's median time, in milliseconds, by name.
void PrintDecoderResults(const std::map<std::string, double>& Times);
