// MD5 as RFC 1321 defines it: 64-byte blocks, the message padded with a one
// bit, zeros and its length in bits (64-bit little-endian), four rounds of
// sixteen steps each, words little-endian.
#include "Md5.h"

#include <bit>

namespace {

// The per-step shift amounts, by round (RFC 1321, section 3.4).
constexpr uint32_t Shifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// T[i] = floor(2^32 * abs(sin(i + 1))), the table of RFC 1321, section 3.4.
constexpr uint32_t Sines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

struct TState {
  uint32_t A = 0x67452301, B = 0xefcdab89, C = 0x98badcfe, D = 0x10325476;
};

void Transform(TState& State, const uint8_t (&Block)[64]) {
  uint32_t Words[16];
  for (int Index = 0; Index < 16; ++Index)
    Words[Index] = uint32_t{Block[4 * Index]} | uint32_t{Block[4 * Index + 1]} << 8 |
                   uint32_t{Block[4 * Index + 2]} << 16 | uint32_t{Block[4 * Index + 3]} << 24;
  uint32_t A = State.A, B = State.B, C = State.C, D = State.D;
  for (uint32_t Step = 0; Step < 64; ++Step) {
    const uint32_t Round = Step / 16;
    uint32_t Mixed, Word;
    switch (Round) {
      case 0: Mixed = (B & C) | (~B & D), Word = Step; break;
      case 1: Mixed = (D & B) | (~D & C), Word = (5 * Step + 1) % 16; break;
      case 2: Mixed = B ^ C ^ D, Word = (3 * Step + 5) % 16; break;
      default: Mixed = C ^ (B | ~D), Word = (7 * Step) % 16; break;
    }
    const uint32_t Next = B + std::rotl(A + Mixed + Sines[Step] + Words[Word], static_cast<int>(Shifts[Round][Step % 4]));
    A = D;
    D = C;
    C = B;
    B = Next;
  }
  State.A += A;
  State.B += B;
  State.C += C;
  State.D += D;
}

}  // namespace

std::array<uint8_t, 16> Md5(std::span<const uint8_t> Bytes) {
  TState State;
  uint8_t Block[64];
  size_t Done = 0;
  for (; Bytes.size() - Done >= 64; Done += 64) {
    std::copy(Bytes.begin() + static_cast<std::ptrdiff_t>(Done), Bytes.begin() + static_cast<std::ptrdiff_t>(Done + 64),
              Block);
    Transform(State, Block);
  }
  // The last bytes, the one bit, zeros, and the length in bits: one block or two.
  const size_t Left = Bytes.size() - Done;
  uint8_t Tail[128] = {};
  std::copy(Bytes.begin() + static_cast<std::ptrdiff_t>(Done), Bytes.end(), Tail);
  Tail[Left] = 0x80;
  const size_t TailSize = Left < 56 ? 64 : 128;
  const uint64_t Bits = static_cast<uint64_t>(Bytes.size()) * 8;
  for (size_t Index = 0; Index < 8; ++Index) Tail[TailSize - 8 + Index] = static_cast<uint8_t>(Bits >> (8 * Index));
  for (size_t At = 0; At < TailSize; At += 64) {
    std::copy(Tail + At, Tail + At + 64, Block);
    Transform(State, Block);
  }
  std::array<uint8_t, 16> Digest{};
  const uint32_t Words[4] = {State.A, State.B, State.C, State.D};
  for (size_t Index = 0; Index < 16; ++Index) Digest[Index] = static_cast<uint8_t>(Words[Index / 4] >> (8 * (Index % 4)));
  return Digest;
}

std::string Md5Hex(std::span<const uint8_t> Bytes) {
  constexpr char Digits[] = "0123456789ABCDEF";
  std::string Hex;
  for (const uint8_t Byte : Md5(Bytes)) {
    Hex += Digits[Byte >> 4];
    Hex += Digits[Byte & 15];
  }
  return Hex;
}
