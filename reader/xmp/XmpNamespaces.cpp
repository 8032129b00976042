#include "XmpNamespaces.h"

#include <algorithm>
#include <array>

namespace {

struct TNamespacePrefix {
  std::string_view Namespace;
  std::string_view Prefix;
};

// Namespaces and their usual prefixes: Adobe's XMP documents, Parts 1 and 2
// (the XMP, Dublin Core, rights, media management, basic job, paged text,
// dynamic media, Photoshop, Camera Raw, EXIF, TIFF and structure types), the
// IPTC Photo Metadata Standard (Iptc4xmpCore, Iptc4xmpExt), CIPA's XMP for
// Exif 2.3 (exifEX), the Metadata Working Group's guidelines (mwg-rs, mwg-kw,
// mwg-coll), Google's photo formats (GPano, GImage, GAudio, GDepth,
// GCamera), and the namespace list of ExifTool's XMP tag reference for the
// rest. Sorted by namespace.
constexpr std::array<TNamespacePrefix, 57> NamespacePrefixes{{
    {"adobe:ns:meta/", "x"},
    {"http://cipa.jp/exif/1.0/", "exifEX"},
    {"http://creativecommons.org/ns#", "cc"},
    {"http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/", "Iptc4xmpCore"},
    {"http://iptc.org/std/Iptc4xmpExt/2008-02-29/", "Iptc4xmpExt"},
    {"http://ns.acdsee.com/iptc/1.0/", "acdsee"},
    {"http://ns.adobe.com/camera-raw-defaults/1.0/", "crd"},
    {"http://ns.adobe.com/camera-raw-saved-settings/1.0/", "crss"},
    {"http://ns.adobe.com/camera-raw-settings/1.0/", "crs"},
    {"http://ns.adobe.com/exif/1.0/", "exif"},
    {"http://ns.adobe.com/exif/1.0/aux/", "aux"},
    {"http://ns.adobe.com/hdr-gain-map/1.0/", "hdrgm"},
    {"http://ns.adobe.com/lightroom/1.0/", "lr"},
    {"http://ns.adobe.com/pdf/1.3/", "pdf"},
    {"http://ns.adobe.com/photoshop/1.0/", "photoshop"},
    {"http://ns.adobe.com/tiff/1.0/", "tiff"},
    {"http://ns.adobe.com/xap/1.0/", "xmp"},
    {"http://ns.adobe.com/xap/1.0/bj/", "xmpBJ"},
    {"http://ns.adobe.com/xap/1.0/g/", "xmpG"},
    {"http://ns.adobe.com/xap/1.0/g/img/", "xmpGImg"},
    {"http://ns.adobe.com/xap/1.0/mm/", "xmpMM"},
    {"http://ns.adobe.com/xap/1.0/rights/", "xmpRights"},
    {"http://ns.adobe.com/xap/1.0/sType/Dimensions#", "stDim"},
    {"http://ns.adobe.com/xap/1.0/sType/Font#", "stFnt"},
    {"http://ns.adobe.com/xap/1.0/sType/Job#", "stJob"},
    {"http://ns.adobe.com/xap/1.0/sType/ManifestItem#", "stMfs"},
    {"http://ns.adobe.com/xap/1.0/sType/ResourceEvent#", "stEvt"},
    {"http://ns.adobe.com/xap/1.0/sType/ResourceRef#", "stRef"},
    {"http://ns.adobe.com/xap/1.0/sType/Version#", "stVer"},
    {"http://ns.adobe.com/xap/1.0/t/pg/", "xmpTPg"},
    {"http://ns.adobe.com/xmp/1.0/DynamicMedia/", "xmpDM"},
    {"http://ns.adobe.com/xmp/Identifier/qual/1.0/", "xmpidq"},
    {"http://ns.adobe.com/xmp/note/", "xmpNote"},
    {"http://ns.adobe.com/xmp/sType/Area#", "stArea"},
    {"http://ns.apple.com/faceinfo/1.0/", "apple-fi"},
    {"http://ns.google.com/photos/1.0/audio/", "GAudio"},
    {"http://ns.google.com/photos/1.0/camera/", "GCamera"},
    {"http://ns.google.com/photos/1.0/container/", "Container"},
    {"http://ns.google.com/photos/1.0/container/item/", "Item"},
    {"http://ns.google.com/photos/1.0/depthmap/", "GDepth"},
    {"http://ns.google.com/photos/1.0/image/", "GImage"},
    {"http://ns.google.com/photos/1.0/panorama/", "GPano"},
    {"http://ns.microsoft.com/photo/1.0", "MicrosoftPhoto"},
    {"http://ns.microsoft.com/photo/1.0/", "MicrosoftPhoto"},
    {"http://ns.microsoft.com/photo/1.2/", "MP"},
    {"http://ns.microsoft.com/photo/1.2/t/Region#", "MPReg"},
    {"http://ns.microsoft.com/photo/1.2/t/RegionInfo#", "MPRI"},
    {"http://ns.useplus.org/ldf/xmp/1.0/", "plus"},
    {"http://purl.org/dc/elements/1.1/", "dc"},
    {"http://www.digikam.org/ns/1.0/", "digiKam"},
    {"http://www.dji.com/drone-dji/1.0/", "drone-dji"},
    {"http://www.metadataworkinggroup.com/schemas/collections/", "mwg-coll"},
    {"http://www.metadataworkinggroup.com/schemas/keywords/", "mwg-kw"},
    {"http://www.metadataworkinggroup.com/schemas/regions/", "mwg-rs"},
    {"http://www.w3.org/1999/02/22-rdf-syntax-ns#", "rdf"},
    {"http://www.w3.org/2000/01/rdf-schema#", "rdfs"},
    {"http://www.w3.org/XML/1998/namespace", "xml"},
}};

constexpr bool ByNamespace(const TNamespacePrefix& A, const TNamespacePrefix& B) { return A.Namespace < B.Namespace; }

static_assert(std::is_sorted(NamespacePrefixes.begin(), NamespacePrefixes.end(), ByNamespace));

}  // namespace

std::string_view UsualPrefix(std::string_view Namespace) {
  const TNamespacePrefix Key{Namespace, {}};
  const auto Found = std::lower_bound(NamespacePrefixes.begin(), NamespacePrefixes.end(), Key, ByNamespace);
  return Found != NamespacePrefixes.end() && Found->Namespace == Namespace ? Found->Prefix : std::string_view();
}
