// Samsung's maker note in the EXIF format of its newer cameras and phones
// ("Type 2"): its tags and the words of its enumerations. Names and words
// from ExifTool's "Samsung Type2 Tags" (exiftool.org/TagNames/Samsung.html,
// version 12.57), written as ExifTool describes the tags; blocks of other
// fields (orientation, picture wizard, the preview's directory) are one row
// each.
#include "MakerTables.h"

namespace {

// The tags of the Samsung note. Multi-valued numbers decode as many values as
// the tag holds (Dim); longer arrays show their first value.
constexpr TEXIFTagHeader SamsungTags[] = {
    {0x0001, 1, "Maker Note Version", ""},
    {0x0002, 1, "Device Type", ""},
    {0x0003, 1, "Samsung Model ID", ""},
    {0x0011, 1, "Orientation Info", ""},
    {0x0020, 2, "Smart Album Color", ""},
    {0x0021, 1, "Picture Wizard", ""},
    {0x0030, 1, "Local Location Name", ""},
    {0x0031, 1, "Location Name", ""},
    {0x0035, 1, "Preview IFD", ""},
    {0x0040, 1, "Raw Data Byte Order", ""},
    {0x0041, 1, "White Balance Setup", ""},
    {0x0043, 1, "Camera Temperature", ""},
    {0x0050, 1, "Raw Data CFA Pattern", ""},
    {0x0100, 1, "Face Detect", ""},
    {0x0120, 1, "Face Recognition", ""},
    {0x0123, 1, "Face Name", ""},
    {0xA001, 1, "Firmware Name", ""},
    {0xA002, 1, "Serial Number", ""},
    {0xA003, 1, "Lens Type", ""},
    {0xA004, 1, "Lens Firmware", ""},
    {0xA005, 1, "Internal Lens Serial Number", ""},
    {0xA010, 1, "Sensor Areas", ""},
    {0xA011, 1, "Color Space", ""},
    {0xA012, 1, "Smart Range", ""},
    {0xA013, 1, "Exposure Compensation", ""},
    {0xA014, 1, "ISO", ""},
    {0xA018, 1, "Exposure Time", ""},
    {0xA019, 1, "F Number", ""},
    {0xA01A, 1, "Focal Length In 35mm Format", ""},
    {0xA020, 1, "Encryption Key", ""},
    {0xA021, 4, "WB RGGB Levels Uncorrected", ""},
    {0xA022, 4, "WB RGGB Levels Auto", ""},
    {0xA023, 4, "WB RGGB Levels Illuminator 1", ""},
    {0xA024, 4, "WB RGGB Levels Illuminator 2", ""},
    {0xA025, 1, "Highlight Linearity Limit", ""},
    {0xA028, 4, "WB RGGB Levels Black", ""},
    {0xA030, 1, "Color Matrix", ""},
    {0xA031, 1, "Color Matrix SRGB", ""},
    {0xA032, 1, "Color Matrix Adobe RGB", ""},
    {0xA033, 4, "Cb Cr Matrix Default", ""},
    {0xA034, 4, "Cb Cr Matrix", ""},
    {0xA035, 2, "Cb Cr Gain Default", ""},
    {0xA036, 2, "Cb Cr Gain", ""},
    {0xA040, 1, "Tone Curve SRGB Default", ""},
    {0xA041, 1, "Tone Curve Adobe RGB Default", ""},
    {0xA042, 1, "Tone Curve SRGB", ""},
    {0xA043, 1, "Tone Curve Adobe RGB", ""},
    {0xA048, 1, "Raw Data", ""},
    {0xA050, 1, "Distortion", ""},
    {0xA051, 1, "Chromatic Aberration", ""},
    {0xA052, 1, "Vignetting", ""},
    {0xA053, 1, "Vignetting Correction", ""},
    {0xA054, 1, "Vignetting Setting", ""},
};
static_assert(InTagOrder(SamsungTags));

// 0x0002 Device Type
constexpr TWord SamsungDeviceType[] = {
    {4096, "Compact Digital Camera"}, {8192, "High-end NX Camera"}, {12288, "HXM Video Camera"},
    {73728, "Cell Phone"}, {3145728, "SMX Video Camera"},
};

// 0x0003 Samsung Model ID
constexpr TWord SamsungModelID[] = {
    {16781340, "NX10"}, {16781862, "HMX-S15BP"}, {16781875, "HMX-Q10"}, {16781876, "HMX-H304"},
    {16782092, "NX100"}, {16782119, "NX11"}, {24121419, "ES65, ES67 / VLUU ES65, ES67 / SL50"},
    {24121422, "ES70, ES71 / VLUU ES70, ES71 / SL600"}, {24121426, "ES73 / VLUU ES73 / SL605"},
    {24121429, "ES25, ES27 / VLUU ES25, ES27 / SL45"}, {24122112, "ES28 / VLUU ES28"},
    {24122115, "ES74,ES75,ES78 / VLUU ES75,ES78"}, {33558598, "PL150 / VLUU PL150 / TL210 / PL151"},
    {33558600, "PL100 / TL205 / VLUU PL100 / PL101"}, {33559313, "PL120,PL121 / VLUU PL120,PL121"},
    {33559317, "PL170,PL171 / VLUUPL170,PL171"}, {33559326, "PL210, PL211 / VLUU PL210, PL211"},
    {40899351, "PL20,PL21 / VLUU PL20,PL21"}, {44040219, "WP10 / VLUU WP10 / AQ100"},
    {50331648, "Various Models (0x3000000)"}, {60817432, "Various Models (0x3a00018)"},
    {67112991, "ST1000 / ST1100 / VLUU ST1000 / CL65"}, {67112994, "ST550 / VLUU ST550 / TL225"},
    {67112997, "Various Models (0x4001025)"}, {67113022, "VLUU ST5500, ST5500, CL80"},
    {67113025, "VLUU ST5000, ST5000, TL240"}, {67113027, "ST70 / VLUU ST70 / ST71"},
    {67113738, "Various Models (0x400130a)"}, {67113742, "ST90,ST91 / VLUU ST90,ST91"},
    {67113747, "VLUU ST95, ST95"}, {77594645, "VLUU ST60"}, {77599579, "ST30, ST65 / VLUU ST65 / ST67"},
    {83886080, "Various Models (0x5000000)"}, {83890232, "Various Models (0x5001038)"},
    {83890234, "WB650 / VLUU WB650 / WB660"}, {83890236, "WB600 / VLUU WB600 / WB610"},
    {83891006, "WB150 / WB150F / WB152 / WB152F / WB151"}, {94371855, "WB5000 / HZ25W"},
    {94371870, "WB5500 / VLUU WB5500 / HZ50W"}, {100667446, "EX1"}, {117445404, "VLUU SH100, SH100"},
    {655519746, "SMX-C20N"},
};

// 0x0040 Raw Data Byte Order
constexpr TWord SamsungRawDataByteOrder[] = {
    {0, "Little-endian (Intel, II)"}, {1, "Big-endian (Motorola, MM)"},
};

// 0x0041 White Balance Setup
constexpr TWord SamsungWhiteBalanceSetup[] = {{0, "Auto"}, {1, "Manual"}};

// 0x0050 Raw Data CFA Pattern
constexpr TWord SamsungRawDataCFAPattern[] = {{0, "Unchanged"}, {1, "Swap"}, {65535, "Roll"}};

// 0x0100 Face Detect, 0x0120 Face Recognition and 0xA012 Smart Range
constexpr TWord SamsungOffOn[] = {{0, "Off"}, {1, "On"}};

// 0xA003 Lens Type
constexpr TWord SamsungLensType[] = {
    {0, "Built-in or Manual Lens"}, {1, "Samsung NX 30mm F2 Pancake"}, {2, "Samsung NX 18-55mm F3.5-5.6 OIS"},
    {3, "Samsung NX 50-200mm F4-5.6 ED OIS"}, {4, "Samsung NX 20-50mm F3.5-5.6 ED"},
    {5, "Samsung NX 20mm F2.8 Pancake"}, {6, "Samsung NX 18-200mm F3.5-6.3 ED OIS"},
    {7, "Samsung NX 60mm F2.8 Macro ED OIS SSA"}, {8, "Samsung NX 16mm F2.4 Pancake"},
    {9, "Samsung NX 85mm F1.4 ED SSA"}, {10, "Samsung NX 45mm F1.8"}, {11, "Samsung NX 45mm F1.8 2D/3D"},
    {12, "Samsung NX 12-24mm F4-5.6 ED"}, {13, "Samsung NX 16-50mm F2-2.8 S ED OIS"},
    {14, "Samsung NX 10mm F3.5 Fisheye"}, {15, "Samsung NX 16-50mm F3.5-5.6 Power Zoom ED OIS"},
    {20, "Samsung NX 50-150mm F2.8 S ED OIS"}, {21, "Samsung NX 300mm F2.8 ED OIS"},
};

// 0xA011 Color Space
constexpr TWord SamsungColorSpace[] = {{0, "sRGB"}, {1, "Adobe RGB"}};

// The tags of Samsung's note that have words.
constexpr TTagWords SamsungWords[] = {
    {0x0002, SamsungDeviceType},
    {0x0003, SamsungModelID},
    {0x0040, SamsungRawDataByteOrder},
    {0x0041, SamsungWhiteBalanceSetup},
    {0x0050, SamsungRawDataCFAPattern},
    {0x0100, SamsungOffOn},
    {0x0120, SamsungOffOn},
    {0xA003, SamsungLensType},
    {0xA011, SamsungColorSpace},
    {0xA012, SamsungOffOn},
};
static_assert(InTagOrder(SamsungWords));

}  // namespace

constexpr TTagTable SamsungTable{SamsungTags};
constexpr TTagWordsTable SamsungWordsTable{SamsungWords};
