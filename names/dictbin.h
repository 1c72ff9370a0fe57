// dictbin.h - the layout of "namedict.bin", the compiled dictionary: shared by the
// program, which maps it and reads it as it lies, and by nwdictc, which writes it.
//
// Every number is little-endian, every section starts at a multiple of 8 bytes, and
// nothing is left to a compiler's padding:
//
//   header, 64 bytes
//     0  8  magic "NWDICT" 0x1A 0x0A
//     8  4  format version (1)
//    12  4  header bytes (64)
//    16  8  file bytes
//    24  8  bytes of the text it was compiled from
//    32  4  checksum of every byte of the file but these four (dictsum)
//    36  4  entries E (at most 2^30)
//    40  4  heads H (a power of two, at least twice the first characters)
//    44  4  zero
//    48  4  text bytes T
//    52 12  zero
//   heads     H x 12    the entries whose Japanese begins with one character, found by
//                       headslot(code point), one slot on when taken:
//                         0 4  the character's code point, 0 for an empty slot
//                         4 4  its first entry
//                         8 4  the entry after its last
//   entries   E x 12    sorted by the bytes of their Japanese, the entries of one text
//                       newest line first:
//                         0 4  offset of the Japanese in the text section
//                         4 4  offset of the English
//                         8 2  English bytes (1 to 1024)
//                        10 1  Japanese bytes (1 to 128)
//                        11 1  bits 0-2 kinds (b m f), 3-4 language (0 both, 1 j, 2 c),
//                              5-6 class (0 N, 1 W, 2 K, 3 S), 7 kind n (model names)
//   text      T bytes   the texts, Japanese in the normal form, English printable ASCII
//
// A look-up narrows the entries of its first character by binary search as the text
// grows, so a run reads the entries of the characters its names use, near each other.
#pragma once
#include <cstddef>
#include <cstdint>

namespace dict {

constexpr unsigned char kBinMagic[8] = {'N', 'W', 'D', 'I', 'C', 'T', 0x1A, 0x0A};
constexpr uint32_t kBinVersion = 2;  // 2: kind n
constexpr uint32_t kBinHeader = 64;
constexpr uint32_t kBinEntry = 12;
constexpr uint32_t kBinChecksumAt = 32;
constexpr uint32_t kBinEntriesMax = 1u << 30;
constexpr uint32_t kBinHead = 12;
constexpr uint32_t kBinHeadsMax = 1u << 24;

// The first slot of a character in a heads table of h slots.
inline uint32_t headslot(uint32_t cp, uint32_t h) { return (cp * 0x9E3779B1u >> 7) & (h - 1); }

inline uint32_t le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline uint64_t le64(const unsigned char* p) {
  return static_cast<uint64_t>(le32(p)) | static_cast<uint64_t>(le32(p + 4)) << 32;
}
inline void put32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; i++) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
inline void put64(unsigned char* p, uint64_t v) {
  put32(p, static_cast<uint32_t>(v));
  put32(p + 4, static_cast<uint32_t>(v >> 32));
}
inline uint64_t align8(uint64_t n) { return (n + 7) & ~uint64_t{7}; }

// The file's sections as its header counts them.
struct BinLayout {
  uint64_t heads, entries, text, end;  // offsets; end = the file's size
};
inline BinLayout binlayout(uint32_t entries, uint32_t heads, uint32_t text) {
  BinLayout l{};
  l.heads = kBinHeader;
  l.entries = align8(l.heads + uint64_t{heads} * kBinHead);
  l.text = align8(l.entries + uint64_t{entries} * kBinEntry);
  l.end = align8(l.text + text);
  return l;
}

// The checksum, taken in pieces as the bytes come: four sums of 64-bit words and four
// sums of those sums (the words little-endian, at their place in the file), folded.
// The four bytes of the checksum itself count as zero.
struct DictSum {
  uint64_t a[4], b[4];
  uint64_t at;  // bytes taken
  unsigned char pending[32];
};
void dictsumstart(DictSum* s);
void dictsumadd(DictSum* s, const unsigned char* p, size_t n);
uint32_t dictsumend(DictSum* s);

}  // namespace dict

namespace dict {

// Compiles what the text layer holds (a dictionary text read whole by dictread) into the
// image of a compiled file, in static storage; textsize is the size of that text. 0, or
// -1 when the tables are empty.
int bincompile(uint64_t textsize, const unsigned char** image, uint64_t* size);

}  // namespace dict
