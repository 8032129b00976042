// Pentax's maker note (Pentax, Asahi, and Pentax cameras sold by Ricoh and
// Samsung): its tags and the words of its enumerations. Names and words from
// ExifTool's "Pentax Tags" (exiftool.org/TagNames/Pentax.html, version 12.57),
// written as ExifTool describes the tags. Blocks of other fields (camera
// settings, lens and flash information, shake reduction ...) are one row
// each; the lens type (0x003F) shows its series and number, not the lens's
// name.
#include "MakerTables.h"

namespace {

// The tags of the Pentax note. Multi-valued numbers decode as many values as
// the tag holds (Dim, at most 4); longer arrays show their first value.
constexpr TEXIFTagHeader PentaxTags[] = {
    {0x0000, 4, "Pentax Version", ""},
    {0x0001, 1, "Pentax Model Type", ""},
    {0x0002, 2, "Preview Image Size", ""},
    {0x0003, 1, "Preview Image Length", ""},
    {0x0004, 1, "Preview Image Start", ""},
    {0x0005, 1, "Pentax Model ID", ""},
    {0x0006, 1, "Date", ""},
    {0x0007, 1, "Time", ""},
    {0x0008, 1, "Quality", ""},
    {0x0009, 1, "Pentax Image Size", ""},
    {0x000B, 1, "Picture Mode", ""},
    {0x000C, 1, "Flash Mode", ""},
    {0x000D, 1, "Focus Mode", ""},
    {0x000E, 1, "AF Point Selected", ""},
    {0x000F, 1, "AF Points In Focus", ""},
    {0x0010, 1, "Focus Position", ""},
    {0x0012, 1, "Exposure Time", ""},
    {0x0013, 1, "F Number", ""},
    {0x0014, 1, "ISO", ""},
    {0x0015, 1, "Light Reading", ""},
    {0x0016, 1, "Exposure Compensation", ""},
    {0x0017, 1, "Metering Mode", ""},
    {0x0018, 1, "Auto Bracketing", ""},
    {0x0019, 1, "White Balance", ""},
    {0x001A, 1, "White Balance Mode", ""},
    {0x001B, 1, "Blue Balance", ""},
    {0x001C, 1, "Red Balance", ""},
    {0x001D, 1, "Focal Length", ""},
    {0x001E, 1, "Digital Zoom", ""},
    {0x001F, 1, "Saturation", ""},
    {0x0020, 1, "Contrast", ""},
    {0x0021, 1, "Sharpness", ""},
    {0x0022, 1, "World Time Location", ""},
    {0x0023, 1, "Hometown City", ""},
    {0x0024, 1, "Destination City", ""},
    {0x0025, 1, "Hometown DST", ""},
    {0x0026, 1, "Destination DST", ""},
    {0x0027, 1, "DSP Firmware Version", ""},
    {0x0028, 1, "CPU Firmware Version", ""},
    {0x0029, 1, "Frame Number", ""},
    {0x002D, 1, "Effective LV", ""},
    {0x0032, 1, "Image Editing", ""},
    {0x0033, 3, "Picture Mode", ""},
    {0x0034, 4, "Drive Mode", ""},
    {0x0035, 2, "Sensor Size", ""},
    {0x0037, 1, "Color Space", ""},
    {0x0038, 2, "Image Area Offset", ""},
    {0x0039, 2, "Raw Image Size", ""},
    {0x003C, 1, "AF Points In Focus", ""},
    {0x003D, 1, "Data Scaling", ""},
    {0x003E, 4, "Preview Image Borders", ""},
    {0x003F, 2, "Lens Type", ""},
    {0x0040, 1, "Sensitivity Adjust", ""},
    {0x0041, 1, "Image Edit Count", ""},
    {0x0047, 1, "Camera Temperature", ""},
    {0x0048, 1, "AE Lock", ""},
    {0x0049, 1, "Noise Reduction", ""},
    {0x004D, 1, "Flash Exposure Comp", ""},
    {0x004F, 1, "Image Tone", ""},
    {0x0050, 1, "Color Temperature", ""},
    {0x0053, 1, "Color Temp Daylight", ""},
    {0x0054, 1, "Color Temp Shade", ""},
    {0x0055, 1, "Color Temp Cloudy", ""},
    {0x0056, 1, "Color Temp Tungsten", ""},
    {0x0057, 1, "Color Temp Fluorescent D", ""},
    {0x0058, 1, "Color Temp Fluorescent N", ""},
    {0x0059, 1, "Color Temp Fluorescent W", ""},
    {0x005A, 1, "Color Temp Flash", ""},
    {0x005C, 1, "Shake Reduction Info", ""},
    {0x005D, 1, "Shutter Count", ""},
    {0x0060, 1, "Face Info", ""},
    {0x0062, 1, "Raw Development Process", ""},
    {0x0067, 1, "Hue", ""},
    {0x0068, 1, "AWB Info", ""},
    {0x0069, 1, "Dynamic Range Expansion", ""},
    {0x006B, 1, "Time Info", ""},
    {0x006C, 2, "High/Low Key Adj", ""},
    {0x006D, 2, "Contrast Highlight", ""},
    {0x006E, 2, "Contrast Shadow", ""},
    {0x006F, 1, "Contrast Highlight/Shadow Adj", ""},
    {0x0070, 1, "Fine Sharpness", ""},
    {0x0071, 1, "High ISO Noise Reduction", ""},
    {0x0072, 1, "AF Adjustment", ""},
    {0x0073, 1, "Monochrome Filter Effect", ""},
    {0x0074, 1, "Monochrome Toning", ""},
    {0x0076, 2, "Face Detect", ""},
    {0x0077, 2, "Face Detect Frame Size", ""},
    {0x0079, 1, "Shadow Correction", ""},
    {0x007A, 2, "ISO Auto Parameters", ""},
    {0x007B, 1, "Cross Process", ""},
    {0x007D, 1, "Lens Corr", ""},
    {0x007E, 1, "White Level", ""},
    {0x007F, 1, "Bleach Bypass Toning", ""},
    {0x0080, 1, "Aspect Ratio", ""},
    {0x0082, 4, "Blur Control", ""},
    {0x0085, 1, "HDR", ""},
    {0x0087, 1, "Shutter Type", ""},
    {0x0088, 1, "Neutral Density Filter", ""},
    {0x008B, 1, "ISO", ""},
    {0x0092, 2, "Interval Shooting", ""},
    {0x0095, 2, "Skin Tone Correction", ""},
    {0x0096, 2, "Clarity Control", ""},
    {0x0200, 4, "Black Point", ""},
    {0x0201, 4, "White Point", ""},
    {0x0203, 1, "Color Matrix A", ""},
    {0x0204, 1, "Color Matrix B", ""},
    {0x0205, 1, "Camera Settings", ""},
    {0x0206, 1, "AE Info", ""},
    {0x0207, 1, "Lens Info", ""},
    {0x0208, 1, "Flash Info", ""},
    {0x0209, 1, "AE Metering Segments", ""},
    {0x020A, 1, "Flash Metering Segments", ""},
    {0x020B, 1, "Slave Flash Metering Segments", ""},
    {0x020D, 4, "WB RGGB Levels Daylight", ""},
    {0x020E, 4, "WB RGGB Levels Shade", ""},
    {0x020F, 4, "WB RGGB Levels Cloudy", ""},
    {0x0210, 4, "WB RGGB Levels Tungsten", ""},
    {0x0211, 4, "WB RGGB Levels Fluorescent D", ""},
    {0x0212, 4, "WB RGGB Levels Fluorescent N", ""},
    {0x0213, 4, "WB RGGB Levels Fluorescent W", ""},
    {0x0214, 4, "WB RGGB Levels Flash", ""},
    {0x0215, 1, "Camera Info", ""},
    {0x0216, 1, "Battery Info", ""},
    {0x021B, 1, "Saturation Info", ""},
    {0x021C, 1, "Color Matrix A2", ""},
    {0x021D, 1, "Color Matrix B2", ""},
    {0x021F, 1, "AF Info", ""},
    {0x0220, 1, "Huffman Table", ""},
    {0x0221, 1, "Kelvin WB", ""},
    {0x0222, 1, "Color Info", ""},
    {0x0224, 1, "EV Step Info", ""},
    {0x0226, 1, "Shot Info", ""},
    {0x0227, 1, "Face Pos", ""},
    {0x0228, 1, "Face Size", ""},
    {0x0229, 1, "Serial Number", ""},
    {0x022A, 1, "Filter Info", ""},
    {0x022B, 1, "Level Info", ""},
    {0x022D, 1, "WB Levels", ""},
    {0x022E, 1, "Artist", ""},
    {0x022F, 1, "Copyright", ""},
    {0x0230, 1, "Firmware Version", ""},
    {0x0231, 4, "Contrast Detect AF Area", ""},
    {0x0235, 1, "Cross Process Params", ""},
    {0x0239, 1, "Lens Info Q", ""},
    {0x023F, 1, "Camera Model Name", ""},
    {0x0243, 1, "Pixel Shift Info", ""},
    {0x0245, 1, "AF Point Info", ""},
    {0x03FE, 1, "Data Dump", ""},
    {0x03FF, 1, "Temp Info", ""},
    {0x0402, 1, "Tone Curve", ""},
    {0x0403, 1, "Tone Curves", ""},
    {0x0405, 1, "Unknown Block", ""},
    {0x0E00, 1, "Print Image Matching", ""},
};
static_assert(InTagOrder(PentaxTags));

// 0x0008 Quality
constexpr TWord PentaxQuality[] = {
    {0, "Good"}, {1, "Better"}, {2, "Best"}, {3, "TIFF"}, {4, "RAW"}, {5, "Premium"},
    {7, "RAW (pixel shift enabled)"}, {8, "Dynamic Pixel Shift"}, {65535, "n/a"},
};

// 0x0009 Pentax Image Size
constexpr TWord PentaxImageSize[] = {
    {0, "640x480"}, {1, "Full"}, {2, "1024x768"}, {3, "1280x960"}, {4, "1600x1200"}, {5, "2048x1536"},
    {8, "2560x1920 or 2304x1728"}, {9, "3072x2304"}, {10, "3264x2448"}, {19, "320x240"}, {20, "2288x1712"},
    {21, "2592x1944"}, {22, "2304x1728 or 2592x1944"}, {23, "3056x2296"}, {25, "2816x2212 or 2816x2112"},
    {27, "3648x2736"}, {29, "4000x3000"}, {30, "4288x3216"}, {31, "4608x3456"}, {129, "1920x1080"},
    {135, "4608x2592"}, {257, "3216x3216"},
};

// 0x000C Flash Mode
constexpr TWord PentaxFlashMode[] = {
    {0, "Auto, Did not fire"}, {1, "Off, Did not fire"}, {2, "On, Did not fire"},
    {3, "Auto, Did not fire, Red-eye reduction"}, {5, "On, Did not fire, Wireless (Master)"},
    {256, "Auto, Fired"}, {258, "On, Fired"}, {259, "Auto, Fired, Red-eye reduction"},
    {260, "On, Red-eye reduction"}, {261, "On, Wireless (Master)"}, {262, "On, Wireless (Control)"},
    {264, "On, Soft"}, {265, "On, Slow-sync"}, {266, "On, Slow-sync, Red-eye reduction"},
    {267, "On, Trailing-curtain Sync"},
};

// 0x000D Focus Mode
constexpr TWord PentaxFocusMode[] = {
    {0, "Normal"}, {1, "Macro"}, {2, "Infinity"}, {3, "Manual"}, {4, "Super Macro"}, {5, "Pan Focus"},
    {16, "AF-S (Focus-priority)"}, {17, "AF-C (Focus-priority)"}, {18, "AF-A (Focus-priority)"},
    {32, "Contrast-detect (Focus-priority)"}, {33, "Tracking Contrast-detect (Focus-priority)"},
    {272, "AF-S (Release-priority)"}, {273, "AF-C (Release-priority)"}, {274, "AF-A (Release-priority)"},
    {288, "Contrast-detect (Release-priority)"},
};

// 0x0014 ISO
constexpr TWord PentaxISO[] = {
    {3, "50"}, {4, "64"}, {5, "80"}, {6, "100"}, {7, "125"}, {8, "160"}, {9, "200"}, {10, "250"}, {11, "320"},
    {12, "400"}, {13, "500"}, {14, "640"}, {15, "800"}, {16, "1000"}, {17, "1250"}, {18, "1600"},
    {19, "2000"}, {20, "2500"}, {21, "3200"}, {22, "4000"}, {23, "5000"}, {24, "6400"}, {25, "8000"},
    {26, "10000"}, {27, "12800"}, {28, "16000"}, {29, "20000"}, {30, "25600"}, {31, "32000"}, {32, "40000"},
    {33, "51200"}, {34, "64000"}, {35, "80000"}, {36, "102400"}, {37, "128000"}, {38, "160000"},
    {39, "204800"}, {40, "256000"}, {41, "320000"}, {42, "409600"}, {43, "512000"}, {44, "640000"},
    {45, "819200"}, {50, "50"}, {100, "100"}, {200, "200"}, {258, "50"}, {259, "70"}, {260, "100"},
    {261, "140"}, {262, "200"}, {263, "280"}, {264, "400"}, {265, "560"}, {266, "800"}, {267, "1100"},
    {268, "1600"}, {269, "2200"}, {270, "3200"}, {271, "4500"}, {272, "6400"}, {273, "9000"}, {274, "12800"},
    {275, "18000"}, {276, "25600"}, {277, "36000"}, {278, "51200"}, {279, "72000"}, {280, "102400"},
    {281, "144000"}, {282, "204800"}, {283, "288000"}, {284, "409600"}, {285, "576000"}, {286, "819200"},
    {400, "400"}, {800, "800"}, {1600, "1600"}, {3200, "3200"}, {65534, "Auto 2"}, {65535, "Auto"},
};

// 0x0017 Metering Mode
constexpr TWord PentaxMeteringMode[] = {{0, "Multi-segment"}, {1, "Center-weighted average"}, {2, "Spot"}};

// 0x0019 White Balance
constexpr TWord PentaxWhiteBalance[] = {
    {0, "Auto"}, {1, "Daylight"}, {2, "Shade"}, {3, "Fluorescent"}, {4, "Tungsten"}, {5, "Manual"},
    {6, "Daylight Fluorescent"}, {7, "Day White Fluorescent"}, {8, "White Fluorescent"}, {9, "Flash"},
    {10, "Cloudy"}, {11, "Warm White Fluorescent"}, {14, "Multi Auto"}, {15, "Color Temperature Enhancement"},
    {17, "Kelvin"}, {65534, "Unknown"}, {65535, "User-Selected"},
};

// 0x001A White Balance Mode
constexpr TWord PentaxWhiteBalanceMode[] = {
    {1, "Auto (Daylight)"}, {2, "Auto (Shade)"}, {3, "Auto (Flash)"}, {4, "Auto (Tungsten)"},
    {6, "Auto (Daylight Fluorescent)"}, {7, "Auto (Day White Fluorescent)"}, {8, "Auto (White Fluorescent)"},
    {10, "Auto (Cloudy)"}, {65534, "Unknown"}, {65535, "User-Selected"},
};

// 0x001F Saturation
constexpr TWord PentaxSaturation[] = {
    {0, "-2 (low)"}, {1, "0 (normal)"}, {2, "+2 (high)"}, {3, "-1 (medium low)"}, {4, "+1 (medium high)"},
    {5, "-3 (very low)"}, {6, "+3 (very high)"}, {7, "-4 (minimum)"}, {8, "+4 (maximum)"}, {65535, "None"},
};

// 0x0020 Contrast
constexpr TWord PentaxContrast[] = {
    {0, "-2 (low)"}, {1, "0 (normal)"}, {2, "+2 (high)"}, {3, "-1 (medium low)"}, {4, "+1 (medium high)"},
    {5, "-3 (very low)"}, {6, "+3 (very high)"}, {7, "-4 (minimum)"}, {8, "+4 (maximum)"}, {65535, "n/a"},
};

// 0x0021 Sharpness
constexpr TWord PentaxSharpness[] = {
    {0, "-2 (soft)"}, {1, "0 (normal)"}, {2, "+2 (hard)"}, {3, "-1 (medium soft)"}, {4, "+1 (medium hard)"},
    {5, "-3 (very soft)"}, {6, "+3 (very hard)"}, {7, "-4 (minimum)"}, {8, "+4 (maximum)"},
};

// 0x0022 World Time Location
constexpr TWord PentaxWorldTimeLocation[] = {{0, "Hometown"}, {1, "Destination"}};

// 0x0025 Hometown DST and 0x0026 Destination DST
constexpr TWord PentaxNoYes[] = {{0, "No"}, {1, "Yes"}};

// 0x0037 Color Space
constexpr TWord PentaxColorSpace[] = {{0, "sRGB"}, {1, "Adobe RGB"}};

// 0x0048 AE Lock, 0x0049 Noise Reduction and 0x006F Contrast Highlight/Shadow Adj
constexpr TWord PentaxOffOn[] = {{0, "Off"}, {1, "On"}};

// 0x004F Image Tone
constexpr TWord PentaxImageTone[] = {
    {0, "Natural"}, {1, "Bright"}, {2, "Portrait"}, {3, "Landscape"}, {4, "Vibrant"}, {5, "Monochrome"},
    {6, "Muted"}, {7, "Reversal Film"}, {8, "Bleach Bypass"}, {9, "Radiant"}, {10, "Cross Processing"},
    {11, "Flat"},
};

// 0x0067 Hue
constexpr TWord PentaxHue[] = {
    {0, "-2"}, {1, "Normal"}, {2, "2"}, {3, "-1"}, {4, "1"}, {5, "-3"}, {6, "3"}, {7, "-4"}, {8, "4"},
    {65535, "None"},
};

// 0x0071 High ISO Noise Reduction
constexpr TWord PentaxHighISONoiseReduction[] = {
    {0, "Off"}, {1, "Weakest"}, {2, "Weak"}, {3, "Strong"}, {4, "Medium"}, {255, "Auto"},
};

// 0x0073 Monochrome Filter Effect
constexpr TWord PentaxMonochromeFilterEffect[] = {
    {1, "Green"}, {2, "Yellow"}, {3, "Orange"}, {4, "Red"}, {5, "Magenta"}, {6, "Blue"}, {7, "Cyan"},
    {8, "Infrared"}, {65535, "None"},
};

// 0x0074 Monochrome Toning
constexpr TWord PentaxMonochromeToning[] = {
    {0, "-4"}, {1, "-3"}, {2, "-2"}, {3, "-1"}, {4, "0"}, {5, "1"}, {6, "2"}, {7, "3"}, {8, "4"},
    {65535, "None"},
};

// 0x007B Cross Process
constexpr TWord PentaxCrossProcess[] = {
    {0, "Off"}, {1, "Random"}, {2, "Preset 1"}, {3, "Preset 2"}, {4, "Preset 3"}, {33, "Favorite 1"},
    {34, "Favorite 2"}, {35, "Favorite 3"},
};

// 0x007F Bleach Bypass Toning
constexpr TWord PentaxBleachBypassToning[] = {
    {0, "Off"}, {1, "Green"}, {2, "Yellow"}, {3, "Orange"}, {4, "Red"}, {5, "Magenta"}, {6, "Purple"},
    {7, "Blue"}, {8, "Cyan"}, {65535, "n/a"},
};

// 0x0080 Aspect Ratio
constexpr TWord PentaxAspectRatio[] = {{0, "4:3"}, {1, "3:2"}, {2, "16:9"}, {3, "1:1"}};

// 0x0085 HDR
constexpr TWord PentaxHDR[] = {
    {0, "Off"}, {1, "HDR Auto"}, {2, "HDR 1"}, {3, "HDR 2"}, {4, "HDR 3"}, {5, "HDR Advanced"},
};

// 0x0087 Shutter Type
constexpr TWord PentaxShutterType[] = {{0, "Normal"}, {1, "Electronic"}};

// The tags of Pentax's note that have words.
constexpr TTagWords PentaxWords[] = {
    {0x0008, PentaxQuality},
    {0x0009, PentaxImageSize},
    {0x000C, PentaxFlashMode},
    {0x000D, PentaxFocusMode},
    {0x0014, PentaxISO},
    {0x0017, PentaxMeteringMode},
    {0x0019, PentaxWhiteBalance},
    {0x001A, PentaxWhiteBalanceMode},
    {0x001F, PentaxSaturation},
    {0x0020, PentaxContrast},
    {0x0021, PentaxSharpness},
    {0x0022, PentaxWorldTimeLocation},
    {0x0025, PentaxNoYes},
    {0x0026, PentaxNoYes},
    {0x0037, PentaxColorSpace},
    {0x0048, PentaxOffOn},
    {0x0049, PentaxOffOn},
    {0x004F, PentaxImageTone},
    {0x0067, PentaxHue},
    {0x006F, PentaxOffOn},
    {0x0071, PentaxHighISONoiseReduction},
    {0x0073, PentaxMonochromeFilterEffect},
    {0x0074, PentaxMonochromeToning},
    {0x007B, PentaxCrossProcess},
    {0x007F, PentaxBleachBypassToning},
    {0x0080, PentaxAspectRatio},
    {0x0085, PentaxHDR},
    {0x0087, PentaxShutterType},
};
static_assert(InTagOrder(PentaxWords));

}  // namespace

constexpr TTagTable PentaxTable{PentaxTags};
constexpr TTagWordsTable PentaxWordsTable{PentaxWords};
