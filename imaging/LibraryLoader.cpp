#include "LibraryLoader.h"

#include <dlfcn.h>

TLibraryLoader::TLibraryLoader(const char* Name) : FName(Name), FHandle(dlopen(Name, RTLD_NOW | RTLD_LOCAL)) {
  if (FHandle == nullptr) {
    const char* Reason = dlerror();
    FFailure = Reason != nullptr ? Reason : FName + " cannot be loaded";
  }
}

void* TLibraryLoader::Lookup(const char* Symbol) {
  if (FHandle == nullptr) return nullptr;
  void* Function = dlsym(FHandle, Symbol);
  if (Function == nullptr) FFailure += (FFailure.empty() ? FName + " lacks " : ", ") + Symbol;
  return Function;
}

std::string TLibraryLoader::Finish() {
  if (!FFailure.empty() && FHandle != nullptr) dlclose(FHandle);
  return FFailure;
}
