// The text of an XMP packet and the words of its names. Private to the XMP
// reader.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The packet as UTF-8 text: UTF-16 and UTF-32 (told by a byte order mark or
// by the zero bytes around the first character) converted, a UTF-8 byte
// order mark dropped, and the text cut at the first zero character and after
// the packet's trailer (<?xpacket end=...?>), so that padding of any kind
// after it is not read. Ill-formed UTF-16 or UTF-32 becomes U+FFFD.
std::string XmpPacketText(std::span<const uint8_t> Packet);

// Whether the first code unit of bytes in the encoding they announce is a
// byte order mark, a blank or "<".
bool StartsLikeXml(std::span<const uint8_t> First);

// A local name as words: a blank before each capital that follows a small
// letter or a digit, before the last capital of a run of them followed by a
// small letter, and before a digit that follows a letter; underscores become
// blanks and the first letter a capital ("DateTimeOriginal": "Date Time
// Original", "GPSLatitude": "GPS Latitude", "subject": "Subject").
std::string WordsOfName(std::string_view Local);

// Text without the blanks (space, tab, CR, LF) at its ends.
std::string_view TrimBlanks(std::string_view Text);
