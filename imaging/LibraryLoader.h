// Shared libraries loaded when they are first needed. A library linked into
// a program is loaded at every start of it, whatever the run does; the
// picture decoders' libraries (libpng and zlib, libwebp, libheif and its
// codecs) are needed only when a picture of their kind is decoded. Each is
// opened with dlopen, its functions are looked up into a table, and it stays
// loaded for the rest of the process.
#pragma once

#include <string>

class TLibraryLoader {
 public:
  // Opens the library Name ("libpng16.so.16").
  explicit TLibraryLoader(const char* Name);

  // Looks Symbol up into Function, which has the type of the function's
  // declaration (decltype(&png_read_row)); null when the library has no such
  // function.
  template <typename TFunction>
  void Find(TFunction& Function, const char* Symbol) {
    Function = reinterpret_cast<TFunction>(Lookup(Symbol));
  }

  // Why the library or one of its functions could not be found, or an
  // empty string when all were. A library that failed is closed again.
  std::string Finish();

 private:
  void* Lookup(const char* Symbol);

  std::string FName;
  void* FHandle;
  std::string FFailure;
};
