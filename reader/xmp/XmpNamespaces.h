// The usual prefixes of the namespaces XMP packets use. Private to the XMP
// reader.
#pragma once

#include <string_view>

// The usual prefix of a namespace; empty for a namespace the table does not
// list, whose document's own prefix is then used.
std::string_view UsualPrefix(std::string_view Namespace);
