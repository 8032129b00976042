// Apple's maker note (iPhone, iPad): its tags and the words of its
// enumerations. Names and words from ExifTool's "Apple Tags"
// (exiftool.org/TagNames/Apple.html, the pages of versions 12.57 and later),
// written as ExifTool describes the tags; 0x0003 and 0x0040 to 0x0042 hold
// binary property lists and show their first bytes.
#include "MakerTables.h"

namespace {

// The tags of the Apple note. Multi-valued numbers decode as many values as
// the tag holds (Dim).
constexpr TEXIFTagHeader AppleTags[] = {
    {0x0001, 1, "Maker Note Version", ""},
    {0x0002, 1, "AE Matrix", ""},
    {0x0003, 1, "Run Time", ""},
    {0x0004, 1, "AE Stable", ""},
    {0x0005, 1, "AE Target", ""},
    {0x0006, 1, "AE Average", ""},
    {0x0007, 1, "AF Stable", ""},
    {0x0008, 3, "Acceleration Vector", ""},
    {0x000A, 1, "HDR Image Type", ""},
    {0x000B, 1, "Burst UUID", ""},
    {0x000C, 2, "Focus Distance Range", " m"},
    {0x000F, 1, "OIS Mode", ""},
    {0x0011, 1, "Content Identifier", ""},
    {0x0014, 1, "Image Capture Type", ""},
    {0x0015, 1, "Image Unique ID", ""},
    {0x0017, 1, "Live Photo Video Index", ""},
    {0x0019, 1, "Image Processing Flags", ""},
    {0x001A, 1, "Quality Hint", ""},
    {0x001D, 1, "Luminance Noise Amplitude", ""},
    {0x001F, 1, "Photos App Feature Flags", ""},
    {0x0020, 1, "Image Capture Request ID", ""},
    {0x0021, 1, "HDR Headroom", ""},
    {0x0023, 2, "AF Performance", ""},
    {0x0025, 1, "Scene Flags", ""},
    {0x0026, 1, "Signal To Noise Ratio Type", ""},
    {0x0027, 1, "Signal To Noise Ratio", ""},
    {0x002F, 1, "Focus Position", ""},
    {0x0030, 1, "HDR Gain", ""},
    {0x0038, 1, "AF Measured Depth", ""},
    {0x003D, 1, "AF Confidence", ""},
    {0x003E, 1, "Color Correction Matrix", ""},
    {0x003F, 1, "Green Ghost Mitigation Status", ""},
    {0x0040, 1, "Semantic Style", ""},
    {0x0041, 1, "Semantic Style Rendering Ver", ""},
    {0x0042, 1, "Semantic Style Preset", ""},
    {0x0045, 1, "Front Facing Camera", ""},
};
static_assert(InTagOrder(AppleTags));

// 0x0004 AE Stable, 0x0007 AF Stable and 0x0045 Front Facing Camera
constexpr TWord AppleNoYes[] = {{0, "No"}, {1, "Yes"}};

// 0x000A HDR Image Type
constexpr TWord AppleHDRImageType[] = {{3, "HDR Image"}, {4, "Original Image"}};

// 0x0014 Image Capture Type
constexpr TWord AppleImageCaptureType[] = {
    {1, "ProRAW"}, {2, "Portrait"}, {10, "Photo"}, {11, "Manual Focus"}, {12, "Scene"},
};

// The tags of Apple's note that have words.
constexpr TTagWords AppleWords[] = {
    {0x0004, AppleNoYes},
    {0x0007, AppleNoYes},
    {0x000A, AppleHDRImageType},
    {0x0014, AppleImageCaptureType},
    {0x0045, AppleNoYes},
};
static_assert(InTagOrder(AppleWords));

}  // namespace

constexpr TTagTable AppleTable{AppleTags};
constexpr TTagWordsTable AppleWordsTable{AppleWords};
