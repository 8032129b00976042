// The tables each maker's row of the maker table points at: the tag tables
// and words of the seven makers read from the beginning (TagTables.cpp,
// MakerNoteValueText.cpp) and those of Apple, Sony, Samsung and Pentax (a
// file each). Private to the dictionary.
#pragma once

#include "TagLookup.h"
#include "Words.h"

extern const TTagWordsTable NikonWordsTable;
extern const TTagWordsTable OlympusWordsTable;
extern const TTagWordsTable PanasonicWordsTable;
extern const TTagWordsTable FujiWordsTable;
extern const TTagWordsTable CasioWordsTable;

// AppleNotes.cpp
extern const TTagTable AppleTable;
extern const TTagWordsTable AppleWordsTable;

// SonyNotes.cpp
extern const TTagTable SonyTable;
extern const TTagWordsTable SonyWordsTable;
extern const TTagTextTable SonyTextsTable;

// SamsungNotes.cpp
extern const TTagTable SamsungTable;
extern const TTagWordsTable SamsungWordsTable;

// PentaxNotes.cpp
extern const TTagTable PentaxTable;
extern const TTagWordsTable PentaxWordsTable;
