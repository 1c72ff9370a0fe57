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
//    40  4  slots S (a power of two, at least twice the Japanese texts)
//    44  4  log2 of the prefix bits P (6 to 32)
//    48  4  text bytes T
//    52 12  zero
//   slots     S x u32   the first entry of a Japanese text + 1, 0 for an empty slot;
//                       open addressing from hash & (S - 1), one slot on when taken
//   prefixes  P/8 bytes bit prefixbit(h) set for the hash of every leading part (whole
//                       characters) of every Japanese text, the whole text included
//   entries   E x 12    grouped by Japanese text (sorted by its bytes), each group
//                       newest line first:
//                         0 4  offset of the Japanese in the text section
//                         4 4  offset of the English
//                         8 2  English bytes (1 to 1024)
//                        10 1  Japanese bytes (1 to 128)
//                        11 1  bits 0-2 kinds (b m f), 3-4 language (0 both, 1 j, 2 c),
//                              5-6 class (0 N, 1 W, 2 K, 3 S), 7 zero
//   text      T bytes   the texts, Japanese in the normal form, English printable ASCII
//
// The hash is the 32-bit FNV-1a of the Japanese bytes (names/dictentry.h).
#pragma once
#include <cstddef>
#include <cstdint>

namespace dict {

constexpr unsigned char kBinMagic[8] = {'N', 'W', 'D', 'I', 'C', 'T', 0x1A, 0x0A};
constexpr uint32_t kBinVersion = 1;
constexpr uint32_t kBinHeader = 64;
constexpr uint32_t kBinEntry = 12;
constexpr uint32_t kBinChecksumAt = 32;
constexpr uint32_t kBinEntriesMax = 1u << 30;
constexpr int kBinPrefixLog2Min = 6;
constexpr int kBinPrefixLog2Max = 32;

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
  uint64_t slots, prefixes, entries, text, end;  // offsets; end = the file's size
};
inline BinLayout binlayout(uint32_t entries, uint32_t slots, int prefixLog2, uint32_t text) {
  BinLayout l{};
  l.slots = kBinHeader;
  l.prefixes = align8(l.slots + uint64_t{slots} * 4);
  l.entries = align8(l.prefixes + ((uint64_t{1} << prefixLog2) >> 3));
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
