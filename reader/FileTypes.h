// The kinds of file the viewer offers to open, as its open dialog lists
// them: each entry a description and the patterns it stands for. The first,
// "All", is chosen when the dialog opens; it also takes kinds of file its
// description does not name. The dump tool's walk through folders and the
// window's next and previous photo take the files this entry offers.
#pragma once

#include <array>
#include <string_view>

struct TFileTypeFilter {
  std::string_view Description;
  std::string_view Patterns;  // "*.ext" patterns separated by blanks
};

inline constexpr std::array<TFileTypeFilter, 12> OpenFileFilters{{
    {"All (*.png;*.gif;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)",
     "*.png *.gif *.jpg *.jpeg *.bmp *.ico *.emf *.wmf *.tif *.tiff *.heic *.heif *.hif *.avif *.webp "
     "*.cr2 *.cr3 *.nef *.nrw *.arw *.sr2 *.srf *.dng *.orf *.rw2 *.rwl *.pef *.srw *.erf *.3fr *.iiq *.mos *.raf"},
    {"Portable Network Graphics (*.png)", "*.png"},
    {"CompuServe GIF Image (*.gif)", "*.gif"},
    {"JPEG Image File (*.jpg)", "*.jpg *.jpeg"},
    {"Bitmaps (*.bmp)", "*.bmp"},
    {"Icons (*.ico)", "*.ico"},
    {"Enhanced Metafiles (*.emf)", "*.emf"},
    {"Metafiles (*.wmf)", "*.wmf"},
    {"TIFFs (*.tif; *.tiff)", "*.tiff *.tif"},
    {"HEIF Images (*.heic; *.heif; *.hif; *.avif)", "*.heic *.heif *.hif *.avif"},
    {"WebP Images (*.webp)", "*.webp"},
    // Cameras' raw files, TIFF-structured ones, Canon's CR3 and Fujifilm's
    // RAF: the patterns that end the "All" entry's.
    {"Camera Raw (*.cr2; *.cr3; *.nef; *.arw; *.dng; *.orf; *.rw2; *.pef; *.raf; …)",
     "*.cr2 *.cr3 *.nef *.nrw *.arw *.sr2 *.srf *.dng *.orf *.rw2 *.rwl *.pef *.srw *.erf *.3fr *.iiq *.mos *.raf"},
}};

// Whether FileName ends in an extension of the "All" entry, compared without
// regard to case ("IMG_0001.JPG", "photo.heic"). A name that is only an
// extension (".jpg") is not taken.
bool IsOfferedFileName(std::string_view FileName);
