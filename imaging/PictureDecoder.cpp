#include "PictureDecoder.h"

EPictureError::EPictureError(std::string_view Format, std::string_view Reason)
    : std::runtime_error(std::string(Format) + " error: " + std::string(Reason)) {}
