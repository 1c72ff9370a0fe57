// bigdict.cpp - nwbigdict: a compiled dictionary several times the size of another, for
// timing the load of a larger one than the text tables can hold.
//
//   nwbigdict <namedict.bin> <forms> <output.bin>
//
// Writes every entry of the compiled file in `forms` forms (1 to 8): as it is, and with
// its Japanese followed by one more character (甲, 乙, 丙, ...), each form with its own
// copy of the English, so that the file grows about `forms` times (entries, texts and
// bytes) while its first characters stay those of the original. A form that would pass
// the length of a Japanese text is left out. The output is laid out as the compiler lays
// it out (names/dictbin.h): sorted, its heads found by their slot, its checksum set.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "names/dict.h"
#include "names/dictbin.h"
#include "names/reading.h"

using namespace dict;

namespace {

struct Item {
  std::string jp;
  uint32_t order;  // form-major position in the original: keeps its groups' order
  uint32_t form;
  uint32_t en, enlen;  // in the original's text
  unsigned char flags;
};

uint32_t firstchar(const std::string& s) {
  int bytes = 0;
  return codeat(reinterpret_cast<const unsigned char*>(s.data()), static_cast<int>(s.size()),
                &bytes);
}

}  // namespace

int main(int argc, char** argv) {
  const int forms = argc == 4 ? atoi(argv[2]) : 0;
  if (forms < 1 || forms > 8) {
    fputs("usage: nwbigdict <namedict.bin> <forms 1-8> <output.bin>\n", stderr);
    return 2;
  }
  FILE* f = fopen(argv[1], "rb");
  if (f == nullptr) {
    fprintf(stderr, "nwbigdict: cannot open %s\n", argv[1]);
    return 1;
  }
  std::vector<unsigned char> in;
  unsigned char buf[65536];
  for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) in.insert(in.end(), buf, buf + n);
  fclose(f);
  if (in.size() < kBinHeader || memcmp(in.data(), kBinMagic, sizeof kBinMagic) != 0 ||
      le32(&in[8]) != kBinVersion || le64(&in[16]) != in.size()) {
    fprintf(stderr, "nwbigdict: %s is not a compiled dictionary of this version\n", argv[1]);
    return 1;
  }
  const uint32_t entries = le32(&in[36]), heads = le32(&in[40]), textBytes = le32(&in[48]);
  const BinLayout from = binlayout(entries, heads, textBytes);
  if (from.end != in.size()) {
    fprintf(stderr, "nwbigdict: %s does not add up\n", argv[1]);
    return 1;
  }
  const unsigned char* text = in.data() + from.text;

  static const char* const kMore[8] = {"", "甲", "乙", "丙", "丁", "戊", "己", "庚"};
  std::vector<Item> items;
  items.reserve(static_cast<size_t>(entries) * static_cast<size_t>(forms));
  for (int form = 0; form < forms; form++) {
    for (uint32_t i = 0; i < entries; i++) {
      const unsigned char* e = in.data() + from.entries + uint64_t{i} * kBinEntry;
      std::string jp(reinterpret_cast<const char*>(text + le32(e)), e[10]);
      jp += kMore[form];
      if (jp.size() > static_cast<size_t>(DICT_JPBYTES)) continue;
      items.push_back(Item{jp, static_cast<uint32_t>(form) * entries + i,
                           static_cast<uint32_t>(form), le32(e + 4),
                           static_cast<uint32_t>(e[8] | e[9] << 8), e[11]});
    }
  }
  // By the bytes of the Japanese, a shorter text first, a group in its original order.
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    return a.jp != b.jp ? a.jp < b.jp : a.order < b.order;
  });
  uint32_t firsts = 0;
  for (size_t i = 0; i < items.size(); i++) {
    if (i == 0 || firstchar(items[i - 1].jp) != firstchar(items[i].jp)) firsts++;
  }
  uint32_t outHeads = 8;
  while (outHeads < 2 * firsts) outHeads <<= 1;

  const auto n = static_cast<uint32_t>(items.size());
  std::vector<unsigned char> body(binlayout(n, outHeads, 0).text, 0);
  std::string outText;
  std::unordered_map<uint64_t, uint32_t> english;  // form and original offset: new offset
  BinLayout l = binlayout(n, outHeads, 0);
  unsigned char* head = nullptr;
  uint32_t jpAt = 0;
  for (uint32_t i = 0; i < n; i++) {
    const Item& x = items[i];
    if (i == 0 || firstchar(items[i - 1].jp) != firstchar(x.jp)) {
      const uint32_t cp = firstchar(x.jp);
      uint32_t s = headslot(cp, outHeads);
      while (le32(&body[l.heads + uint64_t{s} * kBinHead]) != 0) s = (s + 1) & (outHeads - 1);
      head = &body[l.heads + uint64_t{s} * kBinHead];
      put32(head, cp);
      put32(head + 4, i);
    }
    put32(head + 8, i + 1);
    if (i == 0 || items[i - 1].jp != x.jp) {
      jpAt = static_cast<uint32_t>(outText.size());
      outText += x.jp;
    }
    const uint64_t key = uint64_t{x.form} << 32 | x.en;
    auto found = english.find(key);
    if (found == english.end()) {
      found = english.emplace(key, static_cast<uint32_t>(outText.size())).first;
      outText.append(reinterpret_cast<const char*>(text + x.en), x.enlen);
    }
    unsigned char* e = &body[l.entries + uint64_t{i} * kBinEntry];
    put32(e, jpAt);
    put32(e + 4, found->second);
    e[8] = static_cast<unsigned char>(x.enlen);
    e[9] = static_cast<unsigned char>(x.enlen >> 8);
    e[10] = static_cast<unsigned char>(x.jp.size());
    e[11] = x.flags;
  }
  l = binlayout(n, outHeads, static_cast<uint32_t>(outText.size()));
  std::vector<unsigned char> out(l.end, 0);
  memcpy(out.data(), body.data(), body.size());
  memcpy(out.data() + l.text, outText.data(), outText.size());
  memcpy(out.data(), kBinMagic, sizeof kBinMagic);
  put32(&out[8], kBinVersion);
  put32(&out[12], kBinHeader);
  put64(&out[16], l.end);
  put64(&out[24], 0);  // compiled from no text
  put32(&out[36], n);
  put32(&out[40], outHeads);
  put32(&out[48], static_cast<uint32_t>(outText.size()));
  DictSum sum;
  dictsumstart(&sum);
  dictsumadd(&sum, out.data(), out.size());
  put32(&out[kBinChecksumAt], dictsumend(&sum));

  FILE* o = fopen(argv[3], "wb");
  if (o == nullptr || fwrite(out.data(), 1, out.size(), o) != out.size() || fclose(o) != 0) {
    fprintf(stderr, "nwbigdict: cannot write %s\n", argv[3]);
    return 1;
  }
  printf("%s: %u entries, %zu bytes (from %u entries, %zu bytes)\n", argv[3], n, out.size(),
         entries, in.size());
  return 0;
}
