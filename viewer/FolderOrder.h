// The order in which the window steps through the photos of a folder:
// names in natural order, as file managers sort them, the same whatever the
// locale. Plain C++, so that it is tested without the window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Natural order of two file names, given as their bytes: runs of ASCII digits
// compare as whole numbers (p2 before p10), ASCII letters without regard to
// case, and every other byte by its unsigned value (so UTF-8 names sort by
// code point). Names that this leaves equal (a01 and a1, A and a) are ordered
// by their bytes, so no two different names are ever equal.
bool NaturalLess(std::string_view A, std::string_view B);

// The name among Names that comes right after Current in natural order
// (Forward) or right before it; nothing at either end. Current itself need
// not be among Names (a file that was removed or is not offered).
std::optional<std::string> NeighbourName(const std::vector<std::string>& Names, std::string_view Current,
                                         bool Forward);
