#include "PictureLocation.h"

std::string_view PictureFormatName(TPictureFormat Format) {
  switch (Format) {
    case TPictureFormat::PNG: return "PNG";
    case TPictureFormat::WebP: return "WebP";
    case TPictureFormat::HEIF: return "HEIF";
    case TPictureFormat::JPEG: break;
  }
  return "JPEG";
}
