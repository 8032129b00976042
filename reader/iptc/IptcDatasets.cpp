#include "IptcDatasets.h"

#include <algorithm>
#include <array>

namespace {

// The datasets of the envelope record (1), the application record (2), and
// the pre-object, object and post-object data records (7, 8, 9), with their
// names and value formats as IPTC-NAA Information Interchange Model 4.2
// defines them (chapters 5 and 6; "binary" numbers are unsigned and
// big-endian). Sorted by record and dataset.
constexpr std::array<TIptcDatasetInfo, 77> IptcDatasets{{
    {1, 0, "Model Version", ifNumber},
    {1, 5, "Destination", ifText},
    {1, 20, "File Format", ifNumber},
    {1, 22, "File Format Version", ifNumber},
    {1, 30, "Service Identifier", ifText},
    {1, 40, "Envelope Number", ifText},
    {1, 50, "Product I.D.", ifText},
    {1, 60, "Envelope Priority", ifText},
    {1, 70, "Date Sent", ifDate},
    {1, 80, "Time Sent", ifTime},
    {1, 90, "Coded Character Set", ifCharset},
    {1, 100, "Unique Name of Object", ifText},
    {1, 120, "ARM Identifier", ifNumber},
    {1, 122, "ARM Version", ifNumber},
    {2, 0, "Record Version", ifNumber},
    {2, 3, "Object Type Reference", ifText},
    {2, 4, "Object Attribute Reference", ifText},
    {2, 5, "Object Name", ifText},
    {2, 7, "Edit Status", ifText},
    {2, 8, "Editorial Update", ifText},
    {2, 10, "Urgency", ifText},
    {2, 12, "Subject Reference", ifText},
    {2, 15, "Category", ifText},
    {2, 20, "Supplemental Category", ifText},
    {2, 22, "Fixture Identifier", ifText},
    {2, 25, "Keywords", ifText},
    {2, 26, "Content Location Code", ifText},
    {2, 27, "Content Location Name", ifText},
    {2, 30, "Release Date", ifDate},
    {2, 35, "Release Time", ifTime},
    {2, 37, "Expiration Date", ifDate},
    {2, 38, "Expiration Time", ifTime},
    {2, 40, "Special Instructions", ifText},
    {2, 42, "Action Advised", ifText},
    {2, 45, "Reference Service", ifText},
    {2, 47, "Reference Date", ifDate},
    {2, 50, "Reference Number", ifText},
    {2, 55, "Date Created", ifDate},
    {2, 60, "Time Created", ifTime},
    {2, 62, "Digital Creation Date", ifDate},
    {2, 63, "Digital Creation Time", ifTime},
    {2, 65, "Originating Program", ifText},
    {2, 70, "Program Version", ifText},
    {2, 75, "Object Cycle", ifText},
    {2, 80, "By-line", ifText},
    {2, 85, "By-line Title", ifText},
    {2, 90, "City", ifText},
    {2, 92, "Sub-location", ifText},
    {2, 95, "Province/State", ifText},
    {2, 100, "Country/Primary Location Code", ifText},
    {2, 101, "Country/Primary Location Name", ifText},
    {2, 103, "Original Transmission Reference", ifText},
    {2, 105, "Headline", ifText},
    {2, 110, "Credit", ifText},
    {2, 115, "Source", ifText},
    {2, 116, "Copyright Notice", ifText},
    {2, 118, "Contact", ifText},
    {2, 120, "Caption/Abstract", ifText},
    {2, 122, "Writer/Editor", ifText},
    {2, 125, "Rasterized Caption", ifBinary},
    {2, 130, "Image Type", ifText},
    {2, 131, "Image Orientation", ifText},
    {2, 135, "Language Identifier", ifText},
    {2, 150, "Audio Type", ifText},
    {2, 151, "Audio Sampling Rate", ifText},
    {2, 152, "Audio Sampling Resolution", ifText},
    {2, 153, "Audio Duration", ifText},
    {2, 154, "Audio Outcue", ifText},
    {2, 200, "ObjectData Preview File Format", ifNumber},
    {2, 201, "ObjectData Preview File Format Version", ifNumber},
    {2, 202, "ObjectData Preview Data", ifBinary},
    {7, 10, "Size Mode", ifNumber},
    {7, 20, "Max Subfile Size", ifNumber},
    {7, 90, "ObjectData Size Announced", ifNumber},
    {7, 95, "Maximum ObjectData Size", ifNumber},
    {8, 10, "Subfile", ifBinary},
    {9, 10, "Confirmed ObjectData Size", ifNumber},
}};

constexpr bool Before(const TIptcDatasetInfo& A, const TIptcDatasetInfo& B) {
  return A.Record != B.Record ? A.Record < B.Record : A.Dataset < B.Dataset;
}

static_assert(std::is_sorted(IptcDatasets.begin(), IptcDatasets.end(), Before));

}  // namespace

const TIptcDatasetInfo* FindIptcDataset(uint8_t Record, uint8_t Dataset) {
  const TIptcDatasetInfo Key{Record, Dataset, {}, ifText};
  const auto Found = std::lower_bound(IptcDatasets.begin(), IptcDatasets.end(), Key, Before);
  return Found != IptcDatasets.end() && Found->Record == Record && Found->Dataset == Dataset ? &*Found : nullptr;
}
