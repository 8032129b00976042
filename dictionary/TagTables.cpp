// The twelve dictionary tables of the standard directories and of the seven
// makers read from the beginning: which tags each directory knows, their
// names and units. Names are shown letter for letter as stored here.
#include "EXIF_Defs.h"
#include "MakerNotes.h"
#include "TagLookup.h"

bool TEXIFTag::IsEmpty() const {
  for (double Number : NumericValue)
    if (Number != 0) return false;
  return Header.Tag == 0 && Header.Dim == 0 && Typ == 0 && Header.Name.empty() &&
         Header.Units.empty() && StringValue.empty();
}

// Directory pointers of IFD 0 and of the EXIF sub-IFD; their entries go to the
// pointer list, never to a tab.
constexpr std::array<TEXIFTagHeader, 5> DirectoryPointerTags{{
    {0x8769, 1, "EXIF Sub IFD", ""},
    {0x8825, 1, "GPS IFD", ""},
    {0xA005, 1, "EXIF Interoperability IFD", ""},
    {0x927C, 1, "Maker Note", ""},
    {0x9286, 1, "Comment", ""},
}};

// IFD 0, also used for IFD 1 (the thumbnail's directory).
constexpr std::array<TEXIFTagHeader, 30> IFD0Tags{{
    {0x0100, 1, "Image Width", " px"},
    {0x0101, 1, "Image Height", " px"},
    {0x0102, 1, "Bits Per Sample", ""},
    {0x0103, 1, "Compression", ""},
    {0x0106, 1, "Photometric Interpretation", ""},
    {0x0112, 1, "Orientation", ""},
    {0x0115, 1, "Samples Per Pixel", ""},
    {0x011C, 1, "Planar Configuration", ""},
    {0x0212, 1, "YCbCr SubSampling", ""},
    {0x0213, 1, "YCbCr Positioning", ""},
    {0x011A, 1, "X Resolution", " px"},
    {0x011B, 1, "Y Resolution", " px"},
    {0x0128, 1, "Resolution Unit", ""},
    {0x0111, 1, "Strip Offsets", ""},
    {0x0116, 1, "Rows Per Strip", ""},
    {0x0117, 1, "Strip Byte Conunts", ""},
    {0x0201, 1, "Jpeg IF Offset", ""},
    {0x0202, 1, "Jpeg IF Byte Count", ""},
    {0x012D, 1, "Transfer Function", ""},
    {0x013E, 1, "White Point Chromaticity", ""},
    {0x013F, 1, "Chromaticities of Primaries", ""},
    {0x0211, 1, "Color Space Transformation Matrix Coefficients", ""},
    {0x0214, 1, "Black and White Reference Values", ""},
    {0x0132, 1, "Datetime", ""},
    {0x010E, 1, "Image Description", ""},
    {0x010F, 1, "Equipment Make", ""},
    {0x0110, 1, "Camera Model", ""},
    {0x0131, 1, "Software", ""},
    {0x013B, 1, "Artist", ""},
    {0x8298, 1, "Copyright", ""},
}};

// The EXIF sub-IFD.
constexpr std::array<TEXIFTagHeader, 52> EXIFTags{{
    {0x9000, 1, "EXIF Version", ""},
    {0xA000, 1, "FlashPix Version", ""},
    {0xA001, 1, "Color Space", ""},
    {0x9101, 1, "Components Configuration", ""},
    {0x9102, 1, "Compression Mode", " bits per pixel"},
    {0xA002, 1, "Image Width", " px"},
    {0xA003, 1, "Image Height", " px"},
    {0xA004, 1, "Audio File", ""},
    {0x9003, 1, "Datetime Original", ""},
    {0x9004, 1, "Datetime Digitized", ""},
    {0x9290, 1, "Datetime Subseconds", ""},
    {0x9291, 1, "Datetime Original Subseconds", ""},
    {0x9292, 1, "Datetime Digitized Subseconds", ""},
    {0x829A, 1, "Exposure Time", " s"},
    {0x829D, 1, "F-Number", ""},
    {0x8822, 1, "Exposure Program", ""},
    {0x8824, 1, "Spectral Sensitivity", ""},
    {0x8827, 1, "ISO Speed Ratings", ""},
    {0x8828, 1, "Optoelectric Conversion Factor", ""},
    {0x9201, 1, "Shutter Speed", " APEX"},
    {0x9202, 1, "Aperture", " APEX"},
    {0x9203, 1, "Brightness", ""},
    {0x9204, 1, "Exposure Bias", "EV"},
    {0x9205, 1, "Max Aperture Value", " APEX"},
    {0x9206, 1, "Subject Distance", " m"},
    {0x9207, 1, "Metering Mode", ""},
    {0x9208, 1, "Light Source", ""},
    {0x9209, 1, "Flash Mode", ""},
    {0x920A, 1, "Focal Length", " mm"},
    {0x9214, 1, "Subject Area", ""},
    {0xA20B, 1, "Flash Energy", " BCPS"},
    {0xA20C, 1, "Spatial Frequency Response", ""},
    {0xA20E, 1, "Focal Plane X Resolution", ""},
    {0xA20F, 1, "Focal Plane Y Resolution", ""},
    {0xA210, 1, "Focal Plane Resolution Unit", ""},
    {0xA215, 1, "Exposure Index", ""},
    {0xA217, 1, "Sensing Method", ""},
    {0xA301, 1, "Scene Type", ""},
    {0xA302, 1, "CFA Pattern", ""},
    {0xA401, 1, "Custom Image Processing", ""},
    {0xA402, 1, "Exposure Mode", ""},
    {0xA403, 1, "White Balance", ""},
    {0xA404, 1, "Digital Zoom Ratio", ""},
    {0xA405, 1, "Focal Length In 35mm Film", " mm"},
    {0xA406, 1, "Scene Capture Type", ""},
    {0xA407, 1, "Gain Control", ""},
    {0xA408, 1, "Contrast", ""},
    {0xA409, 1, "Saturation", ""},
    {0xA40A, 1, "Sharpness", ""},
    {0xA40B, 1, "Device Settings Description", ""},
    {0xA40C, 1, "Subject Distance Range", ""},
    {0xA420, 1, "Unique Image ID", ""},
}};

// The Interoperability IFD.
constexpr std::array<TEXIFTagHeader, 4> InteropTags{{
    {0x0001, 1, "Interoperability Index", ""},
    {0x0002, 1, "Interoperability Version", ""},
    {0x1001, 1, "Related Image Width", " px"},
    {0x1002, 1, "Related Image Length", " px"},
}};

// Canon maker note; 0x0001 and 0x0004 are settings arrays unpacked item by item.
constexpr std::array<TEXIFTagHeader, 7> CanonTags{{
    {0x0001, 1, "Camera Settings 1", ""},
    {0x0004, 1, "Camera Settings 2", ""},
    {0x0006, 1, "Image Type", ""},
    {0x0007, 1, "Firmware Version", ""},
    {0x0008, 1, "Image Number", ""},
    {0x0009, 1, "Owner Name", ""},
    {0x0012, 1, "Camera Serial Number", ""},
}};

// Nikon maker note.
constexpr std::array<TEXIFTagHeader, 14> NikonTags{{
    {0x0003, 1, "Quality", ""},
    {0x0004, 1, "Color Mode", ""},
    {0x0005, 1, "Image Adjustment", ""},
    {0x0006, 1, "CCD Sensitivity", ""},
    {0x0007, 1, "White Balance", ""},
    {0x0008, 1, "Focus", ""},
    {0x000A, 1, "Digital Zoom", ""},
    {0x000B, 1, "Converter", ""},
    {0x000F, 1, "ISO selection", ""},
    {0x0080, 1, "Image Adjustment", ""},
    {0x0082, 1, "Auxilitary Lens", ""},
    {0x0085, 1, "Manual Focus Distance", ""},
    {0x0086, 1, "Digital Zoom", " x"},
    {0x0088, 1, "AF Focus Position", ""},
}};

// Olympus maker note.
constexpr std::array<TEXIFTagHeader, 9> OlympusTags{{
    {0x0200, 1, "Special Mode", ""},
    {0x0201, 1, "JPEG Quality", ""},
    {0x0202, 1, "Macro", ""},
    {0x0204, 1, "Digital Zoom", ""},
    {0x0207, 1, "Firmware Version", ""},
    {0x0208, 1, "Picture Info Data", ""},
    {0x0209, 1, "Camera ID", ""},
    {0x1004, 1, "Flash Mode", ""},
    {0x1006, 1, "Bracket", ""},
}};

// Panasonic maker note.
constexpr std::array<TEXIFTagHeader, 14> PanasonicTags{{
    {0x0001, 1, "Image Quality", ""},
    {0x0002, 1, "Version", ""},
    {0x0003, 1, "White Balance", ""},
    {0x0007, 1, "Focus Mode", ""},
    {0x000F, 1, "Spot Mode", ""},
    {0x001A, 1, "Image Stabilizer", ""},
    {0x001C, 1, "Macro Mode", ""},
    {0x001F, 1, "Shooting Mode", ""},
    {0x0020, 1, "Audio", ""},
    {0x0023, 1, "White Balance Adjust", " 1/3EV"},
    {0x0024, 1, "Flash Bias", ""},
    {0x0028, 1, "Color Effect", ""},
    {0x002C, 1, "Contrast", ""},
    {0x002D, 1, "Noise Reducton", ""},
}};

// Fuji maker note (little-endian, offsets from the note's first byte).
constexpr std::array<TEXIFTagHeader, 16> FujiTags{{
    {0x0000, 1, "Version", ""},
    {0x1000, 1, "Quality", ""},
    {0x1001, 1, "Sharpness", ""},
    {0x1002, 1, "White Balance", ""},
    {0x1003, 1, "Color", ""},
    {0x1004, 1, "Tone", ""},
    {0x1010, 1, "Flash Mode", ""},
    {0x1011, 1, "Flash Strength", " EV"},
    {0x1020, 1, "Macro", ""},
    {0x1021, 1, "Focus Mode", ""},
    {0x1030, 1, "SlowSync", ""},
    {0x1031, 1, "Picture Mode", ""},
    {0x1100, 1, "ContTake/Bracket", ""},
    {0x1300, 1, "Blur Warning", ""},
    {0x1301, 1, "Focus Warning", ""},
    {0x1302, 1, "AE Warning", ""},
}};

// Casio maker note.
constexpr std::array<TEXIFTagHeader, 12> CasioTags{{
    {0x0001, 1, "Recording Mode", ""},
    {0x0002, 1, "Quality", ""},
    {0x0003, 1, "Focusing Mode", ""},
    {0x0004, 1, "Flash Mode", ""},
    {0x0005, 1, "Flash Intensity", ""},
    {0x0006, 1, "Object Distance", " mm"},
    {0x0007, 1, "White Balance", ""},
    {0x000A, 1, "Digital Zoom", ""},
    {0x000B, 1, "Sharpness", ""},
    {0x000C, 1, "Contrast", ""},
    {0x000D, 1, "Saturation", ""},
    {0x0014, 1, "CCD Sensitivity", ""},
}};

// Minolta maker note; 0x0001, 0x0003 and 0x0F00 are settings arrays.
constexpr std::array<TEXIFTagHeader, 5> MinoltaTags{{
    {0x0000, 1, "Signature", ""},
    {0x0001, 1, "Old Camera Settings", ""},
    {0x0003, 1, "New Camera Settings", ""},
    {0x0040, 1, "Compressed Image Size", " B"},
    {0x0F00, 1, "X Camera Settings", ""},
}};

// The GPS IFD; positions and the time stamp decode three rationals, the
// version its four bytes as one number.
constexpr std::array<TEXIFTagHeader, 31> GPSTags{{
    {0x0000, 4, "Version ID", ""},
    {0x0001, 1, "Latitude Ref", ""},
    {0x0002, 3, "Latitude", ""},
    {0x0003, 1, "Longiture Ref", ""},
    {0x0004, 3, "Longitude", ""},
    {0x0005, 1, "Altitude Ref", ""},
    {0x0006, 1, "Altitude", "m"},
    {0x0007, 3, "Timestamp", ""},
    {0x0008, 1, "Satellites", ""},
    {0x0009, 1, "Status", ""},
    {0x000A, 1, "Measure Mode", ""},
    {0x000B, 1, "DOP", ""},
    {0x000C, 1, "Speed Ref", ""},
    {0x000D, 1, "Speed", ""},
    {0x000E, 1, "Track Ref", ""},
    {0x000F, 1, "Track", ""},
    {0x0010, 1, "Image Direction Ref", ""},
    {0x0011, 1, "Image Direction", ""},
    {0x0012, 1, "Map Datum", ""},
    {0x0013, 1, "Dest Latitude Ref", ""},
    {0x0014, 3, "Dest Latitude", ""},
    {0x0015, 1, "Dest Longiture Ref", ""},
    {0x0016, 3, "Dest Longitude", ""},
    {0x0017, 1, "Dest Bearing Ref", ""},
    {0x0018, 1, "Dest Bearing", ""},
    {0x0019, 1, "Dest Distance Ref", ""},
    {0x001A, 1, "Dest Distance", ""},
    {0x001B, 1, "Processing Method", ""},
    {0x001C, 1, "Area Information", ""},
    {0x001D, 1, "Date Stamp", ""},
    {0x001E, 1, "Differential", ""},
}};

constexpr TTagTable DirectoryPointerTable{DirectoryPointerTags};
constexpr TTagTable IFD0Table{IFD0Tags};
constexpr TTagTable EXIFTable{EXIFTags};
constexpr TTagTable InteropTable{InteropTags};
constexpr TTagTable CanonTable{CanonTags};
constexpr TTagTable NikonTable{NikonTags};
constexpr TTagTable OlympusTable{OlympusTags};
constexpr TTagTable PanasonicTable{PanasonicTags};
constexpr TTagTable FujiTable{FujiTags};
constexpr TTagTable CasioTable{CasioTags};
constexpr TTagTable MinoltaTable{MinoltaTags};
constexpr TTagTable GPSTable{GPSTags};

const TTagTable& MakerNoteTags(TMakerNoteFormat Format) { return *MakerOf(Format).Tags; }

std::string_view MakerNoteFormatName(TMakerNoteFormat Format) { return MakerOf(Format).FormatName; }
