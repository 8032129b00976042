// A locale whose numbers have a decimal comma, for tests of the number
// formats: the German one the test build compiles into its folder (found
// through LOCPATH), or one of the system's. Tests skip themselves when none
// is installed.
#pragma once

#include <clocale>

class TDecimalCommaLocale {
 public:
  // Switches LC_NUMERIC to the locale, when there is one.
  TDecimalCommaLocale() {
    for (const char* Candidate : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
      if (std::setlocale(LC_NUMERIC, Candidate) != nullptr) {
        FName = Candidate;
        return;
      }
  }
  // Back to the C locale's numbers.
  ~TDecimalCommaLocale() { std::setlocale(LC_NUMERIC, "C"); }
  TDecimalCommaLocale(const TDecimalCommaLocale&) = delete;
  TDecimalCommaLocale& operator=(const TDecimalCommaLocale&) = delete;

  // The locale's name; null when none with a decimal comma is installed.
  const char* Name() const { return FName; }

 private:
  const char* FName = nullptr;
};
