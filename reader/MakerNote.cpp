// The maker-note walk. Filled in with the maker-note layouts.
#include "EXIF_Intf.h"

void TEXIF::ReadMakerNote() {}
