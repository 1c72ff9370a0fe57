// pmxread.cpp - the checking pass over a PMX model: counts, name offsets, names to fill.
//
// File layout, all little-endian:
//   "PMX " | version f32 | globals count u8 | globals | 4 texts (model names, comments)
//   | vertices | faces | textures | materials | bones | morphs | frames | bodies | joints
//   | (PMX 2.1: soft bodies, read for their names only with Fill.everyKind)
// A text is an i32 byte length and the bytes; each block is an i32 count and elements.
#include <cstring>

#include "io/binfile.h"
#include "io/rfcheck.h"
#include "names/dict.h"
#include "names/namegen.h"
#include "names/namelist.h"
#include "names/rules.h"
#include "names/translit.h"
#include "pmx/pmx.h"
#include "pmx/pmxmodel.h"
#include "pmx/pmxname.h"
#include "setup/settings.h"
#include "text/console.h"
#include "text/sjis.h"

static_assert(PMX_MAXBONES <= NAMES_BONES && PMX_MAXMORPHS <= NAMES_MORPHS &&
                  PMX_MAXFRAMES <= NAMES_FRAMES,
              "every name a model holds can be known as taken");

namespace {

PmxName nameJ, nameE;
char repbuf[REP_BUFSIZE];
char showbuf[4 * PMX_NAMEMAX + 8];

// Reports a text field that could not be read; -1 then.
int textfailed(int r, const PmxName* n) {
  if (r == PN_OK) return 0;
  if (r == PN_ENDED) return rcended();
  if (rcindex() < 0) {
    conprintf("Err: illegal text length %d in the %s. \n", n->stored, rckind());
  } else {
    conprintf("Err: illegal text length %d at %s %d. \n", n->stored, rckind(), rcindex());
  }
  return rcbroken();
}

int gettext(PmxName* n) { return textfailed(pmxgetname(n, pmxModel.encoding), n); }

// Texts the reader does not look at (comments, paths, names of other elements).
PmxName skipped;
int skiptext() { return gettext(&skipped); }

// A block's element count, a signed i32 (the PMD reader's counts are unsigned and of
// other widths); -1 (reported) when the file ends in it.
int getcount(int32_t* n, const char* kind) {
  *n = rfgetlong();
  rcat(kind, -1);
  return rfeof() ? rccountended(kind) : 0;
}

int badcount(const char* kind, int32_t n) {
  conprintf("Err: illegal %s count %d. \n", kind, n);
  return rcbroken();
}

// A count inside an element (IK links, morph offsets, frame items).
int getinner(int32_t* n, const char* what) {
  *n = rfgetlong();
  if (rfeof()) return rcended();
  if (*n < 0) {
    conprintf("Err: illegal %s count %d at %s %d. \n", what, *n, rckind(), rcindex());
    return rcbroken();
  }
  return 0;
}

// Index sizes are 1, 2 or 4; anything else would make every index read fail.
int checkglobals() {
  if (pmxModel.encoding > 1) {
    conprintf("Err: unknown text encoding %d in the header. \n", pmxModel.encoding);
    return rcbroken();
  }
  const uint8_t sizes[6] = {pmxModel.vertexIndexSize, pmxModel.textureIndexSize,
                            pmxModel.materialIndexSize, pmxModel.boneIndexSize,
                            pmxModel.morphIndexSize, pmxModel.rigidBodyIndexSize};
  for (uint8_t s : sizes) {
    if (s != 1 && s != 2 && s != 4) {
      conprintf("Err: illegal index size %d in the header. \n", s);
      return rcbroken();
    }
  }
  return 0;
}

int header() {
  rcat("header", -1);
  static constexpr char magic[3] = {'P', 'M', 'X'};
  if (rcmagic(magic) != 0) return 2;
  rfgetc();
  conprintf("PMX Ver %4.2f \n", static_cast<double>(pmxModel.version = rfgetfloat()));
  int globals = rfgetc();
  if (globals < 8) {
    conprintf("Illegal file format at %06X=(%02X) \n", rftell(), globals);
    return 2;
  }
  uint8_t g[8];
  for (uint8_t& v : g) v = static_cast<uint8_t>(rfgetc());
  pmxskip(globals - 8);
  if (rfeof()) return rcended();
  pmxModel.encoding = g[0];
  pmxModel.additionalUvCount = g[1];
  pmxModel.vertexIndexSize = g[2];
  pmxModel.textureIndexSize = g[3];
  pmxModel.materialIndexSize = g[4];
  pmxModel.boneIndexSize = g[5];
  pmxModel.morphIndexSize = g[6];
  pmxModel.rigidBodyIndexSize = g[7];
  return checkglobals();
}

char srcbuf[PMX_UTF8MAX];
const char* srcJ;  // the Japanese name as the file spells it, with a dictionary

// An English name the record keeps (en, or its own when en is null), so that the names
// generated for other records differ from it. Only with a dictionary; not when every
// English name is to be replaced.
void keepname(NameKind kind, const char* en) {
  if (!dicthas() || Force.display != 0) return;
  if (en == nullptr) {
    pmxnamesjis(&nameE, pmxModel.encoding);
    en = nameE.sjis;
  }
  nametaken(kind, en, nameJ.sjis, srcJ);
}

// With a dictionary, the Japanese name tells the model's language, and a name that
// will be generated and never moves (a standard one, one the user's rules give) is
// taken before the writer generates the others.
void notejapanese(NameKind kind) {
  if (!dicthas()) return;
  if (kind != NameKind::bone) pmxnamesjis(&nameJ, pmxModel.encoding);
  srcJ = pmxnameutf8(&nameJ, pmxModel.encoding, srcbuf);
  namenote(nameJ.sjis, srcJ);
  if (nameE.stored == 0 || Force.display != 0) namereserve(kind, nameJ.sjis, srcJ);
}

// Adds 1 to the counter when the English name is vacant or its rules change it.
void countenglish(NameKind kind, int (*rules)(char*, const char*), int32_t& counter) {
  notejapanese(kind);
  if (nameE.stored == 0) {
    counter++;
    return;
  }
  if (rules == nullptr) {
    keepname(kind, nullptr);
    return;
  }
  pmxnamesjis(&nameE, pmxModel.encoding);
  // The other kinds keep an author's name whose text Shift-JIS cannot hold: the rules
  // would give back '_' for what it lacks.
  if (!isbasekind(kind) && !pmxnameexact(&nameE, pmxModel.encoding)) {
    keepname(kind, nameE.sjis);
    return;
  }
  repbuf[0] = 0;
  rules(repbuf, nameE.sjis);
  if (ruleschanged(kind, nameE.sjis, repbuf)) {
    counter++;
    if (repbuf[0] != 0) keepname(kind, repbuf);
  } else {
    keepname(kind, nameE.sjis);
  }
}

// The two name fields of an element of the other kinds (materials, rigid bodies, joints,
// soft bodies). With Fill.everyKind the first limit elements get their offset recorded
// and their English name counted, under the bone rules.
int kindnames(NameKind kind, int i, int32_t* offsets, int limit, int32_t* stored) {
  if (Fill.everyKind == 0 || i >= limit) return skiptext() != 0 || skiptext() != 0 ? -1 : 0;
  offsets[i] = rftell();
  *stored = i + 1;
  if (gettext(&nameJ) != 0 || gettext(&nameE) != 0) return -1;
  countenglish(kind, benrep, pmxModel.kindChangeCount);
  return 0;
}

// Shows a model name when it is not empty, and cuts its Shift-JIS form to 20 bytes
// without leaving half a character.
void modelname(PmxName* n, bool show) {
  if (pmxnameempty(n, pmxModel.encoding)) return;
  pmxnamesjis(n, pmxModel.encoding);
  if (show) conprintf("Model: %s \n", n->sjis);
  if (strlen(n->sjis) <= 20) return;
  int i = 0;
  bool lone = false;
  while (i < 20) {
    if (names::isleadbyte(n->sjis[i])) {
      lone = i == 19;
      i += 2;
    } else {
      i++;
    }
  }
  n->sjis[20] = 0;
  if (lone) {
    n->sjis[19] = 0;
    if (Info.displayLevel >= 1) conputs("(>20 DBCS-trancated) ");
  }
}

int modelnames() {
  const bool every = Fill.everyKind != 0;
  if (every) {
    pmxModel.modelNameOffset = rftell();
    pmxModel.storedModelName = 1;
  }
  if (gettext(&nameJ) != 0 || gettext(&nameE) != 0) return -1;
  if (every) countenglish(NameKind::model, benrep, pmxModel.kindChangeCount);
  modelname(&nameE, !langjapanese());
  modelname(&nameJ, langjapanese());
  if (skiptext() != 0 || skiptext() != 0) return -1;
  return 0;
}

int vertices() {
  int32_t n;
  if (getcount(&n, "vertex") != 0) return -1;
  conprintf("%d Vertices.\n", n);
  if (n < 0) return badcount("vertex", n);
  const int b = pmxModel.boneIndexSize;
  for (int i = 0; i < n; i++) {
    rcat("vertex", i);
    if (rcendcheck() != 0) return -1;
    pmxskip(32 + 16 * pmxModel.additionalUvCount);
    int type = rfgetc();
    if (type < 0) return rcended();
    switch (type) {
      case 0: pmxskip(b); break;
      case 1: pmxskip(2 * b + 4); break;
      case 2: pmxskip(4 * b + 16); break;
      case 3: pmxskip(2 * b + 4 + 36); break;
      case 4: pmxskip(4 * b + 16); break;
      default:
        conprintf("Err: illegal DEF type %d. \n", static_cast<int8_t>(type));
        return rcbroken();
    }
    pmxskip(4);  // edge scale
  }
  return 0;
}

int faces() {
  int32_t n;
  if (getcount(&n, "surface") != 0) return -1;
  conprintf("%d Surfaces.\n", n / 3);
  if (n < 0) return badcount("surface", n);
  if (n % 3 != 0) {
    conprintf("Err: num of surface data (=%d) is not multiples of 3. \n", n);
    return rcbroken();
  }
  for (int i = 0; i < n / 3; i++) {
    rcat("surface", i);
    if (rcendcheck() != 0) return -1;
    pmxskip(3 * pmxModel.vertexIndexSize);
  }
  return 0;
}

int textures() {
  int32_t n;
  if (getcount(&n, "texture") != 0) return -1;
  conprintf("%d Textures.\n", n);
  if (n < 0) return badcount("texture", n);
  for (int i = 0; i < n; i++) {
    rcat("texture", i);
    if (rcendcheck() != 0 || skiptext() != 0) return -1;
  }
  return 0;
}

int materials() {
  int32_t n;
  if (getcount(&n, "material") != 0) return -1;
  conprintf("%d Materials.\n", n);
  if (n < 0) return badcount("material", n);
  pmxModel.materialCount = n;
  const int t = pmxModel.textureIndexSize;
  for (int i = 0; i < n; i++) {
    rcat("material", i);
    if (rcendcheck() != 0 || kindnames(NameKind::material, i, pmxModel.materialNameOffset, PMX_MAXMATERIALS,
                                     &pmxModel.storedMaterialCount) != 0) {
      return -1;
    }
    // colours, drawing flags, edge, texture and sphere indices, sphere mode
    pmxskip(44 + 1 + 20 + 2 * t + 1);
    int toon = rfgetc();
    if (toon < 0) return rcended();
    if (toon > 1) {
      conprintf("Err: unknown toon sharing mode at matrial %d. \n", i);
      return rcbroken();
    }
    pmxskip(toon == 0 ? t : 1);
    if (skiptext() != 0) return -1;  // memo
    int32_t faceVertices = rfgetlong();
    if (rfeof()) return rcended();
    if (faceVertices % 3 != 0) {
      conprintf("Err: illegal material-related vertex number at matrial %d. \n", i);
      return rcbroken();
    }
  }
  return 0;
}

// The twist bones whose fixed axis matters, in both encodings.
constexpr const char16_t* twistW[8] = {
    u"\u5DE6\u8155\u6369", u"\u5DE6\u624B\u6369", u"\u53F3\u8155\u6369", u"\u53F3\u624B\u6369",
    u"arm twist_L",        u"wrist twist_L",      u"arm twist_R",        u"wrist twist_R"};
constexpr const char* twist8[8] = {
    "\xE5\xB7\xA6\xE8\x85\x95\xE6\x8D\xA9", "\xE5\xB7\xA6\xE6\x89\x8B\xE6\x8D\xA9",
    "\xE5\x8F\xB3\xE8\x85\x95\xE6\x8D\xA9", "\xE5\x8F\xB3\xE6\x89\x8B\xE6\x8D\xA9",
    "arm twist_L", "wrist twist_L", "arm twist_R", "wrist twist_R"};

bool istwist() {
  for (int k = 0; k < 8; k++) {
    const PmxName& n = k < 4 ? nameJ : nameE;
    if (pmxModel.encoding == 0 ? unistrmatch(n.units, twistW[k]) == 0
                               : strcmp(reinterpret_cast<const char*>(n.raw), twist8[k]) == 0) {
      return true;
    }
  }
  return false;
}

void showtwist() {
  if (langjapanese()) {
    conprintf("(found:[%s])\n", nameJ.sjis);
    return;
  }
  if (Lang.japanese && Lang.utf8Console) {
    sjis2utf8c(showbuf, nameJ.sjis);
  } else {
    sjis2eng(showbuf, nameJ.sjis);
  }
  conprintf("(found:[%s])\n", showbuf);
}

int bones() {
  int32_t n;
  if (getcount(&n, "bone") != 0) return -1;
  pmxModel.boneCount = n;
  conprintf("%d Bones.\n", n);
  if (n < 0) return badcount("bone", n);
  const int b = pmxModel.boneIndexSize;
  for (int i = 0; i < n; i++) {
    rcat("bone", i);
    if (rcendcheck() != 0) return -1;
    if (i < PMX_MAXBONES) {
      pmxModel.boneNameOffset[i] = rftell();
      pmxModel.storedBoneCount = i + 1;
    }
    if (gettext(&nameJ) != 0) return -1;
    pmxnamesjis(&nameJ, pmxModel.encoding);
    if (gettext(&nameE) != 0) return -1;
    countenglish(NameKind::bone, benrep, pmxModel.nameChangeCount);
    pmxskip(12 + b + 4);  // position, parent, layer
    int flags = rfgetshort() & 0xFFFF;
    pmxskip((flags & 0x0001) ? b : 12);
    if (flags & 0x0300) pmxskip(b + 4);
    if (flags & 0x0400) {
      pmxskip(12);
      if (istwist()) showtwist();
    }
    if (flags & 0x0800) pmxskip(24);
    if (flags & 0x2000) pmxskip(4);
    if (flags & 0x0020) {
      pmxskip(b + 8);  // target, loop count, limit angle
      int32_t links;
      if (getinner(&links, "IK link") != 0) return -1;
      for (int k = 0; k < links; k++) {
        if (rfeof()) return rcended();
        pmxskip(b);
        if (rfgetc() == 1) pmxskip(24);
      }
    }
  }
  return 0;
}

// Bytes of one morph offset by kind; 0 for an unknown kind.
int offsetsize(int kind) {
  const int v = pmxModel.vertexIndexSize, m = pmxModel.morphIndexSize;
  switch (kind) {
    case 0: return m + 4;                             // group
    case 1: return v + 12;                            // vertex
    case 2: return pmxModel.boneIndexSize + 28;       // bone
    case 3: case 4: case 5: case 6: case 7: return v + 16;  // UV
    case 8: return pmxModel.materialIndexSize + 113;  // material
    case 9: return m + 4;                             // flip
    case 10: return pmxModel.rigidBodyIndexSize + 25; // impulse
    default: return 0;
  }
}

int morphs() {
  int32_t n;
  if (getcount(&n, "morph") != 0) return -1;
  pmxModel.morphCount = n;
  conprintf("%d Morphs.\n", n);
  if (n < 0) return badcount("morph", n);
  for (int i = 0; i < n; i++) {
    rcat("morph", i);
    if (rcendcheck() != 0) return -1;
    if (i < PMX_MAXMORPHS) {
      pmxModel.morphNameOffset[i] = rftell();
      pmxModel.storedMorphCount = i + 1;
    }
    if (gettext(&nameJ) != 0 || gettext(&nameE) != 0) return -1;
    countenglish(NameKind::morph, menrep, pmxModel.nameChangeCount);
    pmxskip(1);  // panel
    int kind = rfgetc();
    if (kind < 0) return rcended();
    if (kind > 10) {
      conprintf("Err: unknown morph kind at morph %d. \n", i);
      return rcbroken();
    }
    int32_t offsets;
    if (getinner(&offsets, "morph offset") != 0) return -1;
    if (pmxskip(static_cast<int64_t>(offsets) * offsetsize(kind)) != 0) return rcended();
  }
  return 0;
}

int frames() {
  int32_t n;
  if (getcount(&n, "display frame") != 0) return -1;
  pmxModel.frameCount = n;
  conprintf("%d Frames.\n", n);
  if (n < 0) return badcount("display frame", n);
  for (int i = 0; i < n; i++) {
    rcat("display frame", i);
    if (rcendcheck() != 0) return -1;
    if (i < PMX_MAXFRAMES) {
      pmxModel.frameNameOffset[i] = rftell();
      pmxModel.storedFrameCount = i + 1;
    }
    if (gettext(&nameJ) != 0 || gettext(&nameE) != 0) return -1;
    countenglish(NameKind::frame, nullptr, pmxModel.nameChangeCount);
    pmxskip(1);  // special frame
    int32_t items;
    if (getinner(&items, "frame element") != 0) return -1;
    for (int k = 0; k < items; k++) {
      if (rfeof()) return rcended();
      int type = rfgetc();
      pmxskip(type == 0 ? pmxModel.boneIndexSize : pmxModel.morphIndexSize);
    }
  }
  return 0;
}

int bodies() {
  int32_t n;
  if (getcount(&n, "rigid body") != 0) return -1;
  conprintf("%d Rigid-bodies.\n", n);
  if (n < 0) return badcount("rigid body", n);
  pmxModel.bodyCount = n;
  for (int i = 0; i < n; i++) {
    rcat("rigid body", i);
    if (rcendcheck() != 0 ||
        kindnames(NameKind::body, i, pmxModel.bodyNameOffset, PMX_MAXBODIES, &pmxModel.storedBodyCount) != 0) {
      return -1;
    }
    // bone, group, non-collision mask, shape, 14 floats, physics mode
    pmxskip(pmxModel.boneIndexSize + 1 + 2 + 1 + 56 + 1);
  }
  return 0;
}

int joints() {
  int32_t n;
  if (getcount(&n, "joint") != 0) return -1;
  conprintf("%d Joints.\n", n);
  if (n < 0) return badcount("joint", n);
  pmxModel.jointCount = n;
  for (int i = 0; i < n; i++) {
    rcat("joint", i);
    if (rcendcheck() != 0 ||
        kindnames(NameKind::joint, i, pmxModel.jointNameOffset, PMX_MAXJOINTS, &pmxModel.storedJointCount) != 0) {
      return -1;
    }
    int type = rfgetc();
    if (type < 0) return rcended();
    if (type > 5) {
      conprintf("Err: joint type %d unsupported at joint %d. \n", type, i);
      return rcbroken();
    }
    pmxskip(2 * pmxModel.rigidBodyIndexSize + 96);
  }
  // The last joint must be whole too: nothing after it would notice.
  if (rfeof()) return rcended();
  return 0;
}

// PMX 2.1 soft bodies, read for their names only:
//   names | shape u8 | material index | group u8 | mask u16 | flags u8 | B-link distance,
//   clusters, mass, margin, aero model (5 x 4) | config 12 f32 | cluster 6 f32
//   | iterations 4 i32 | material 3 f32 | anchors i32, each rigid body index, vertex
//   index, near mode u8 | pins i32, each vertex index
// Bytes of a soft body between its names and its anchors, besides the material index.
constexpr int SOFTBODY_FIXED = 1 + 1 + 2 + 1 + 20 + 48 + 24 + 16 + 12;

// A block that cannot be read as soft bodies is not an error of the model (the bytes
// after the joints are copied as they are either way): it only keeps its names as found.
int softfailed(int i, int32_t countBefore) {
  conprintf("Soft bodies not understood at soft body %d: their names are left as they are. \n", i);
  pmxModel.kindChangeCount = countBefore;
  return -1;
}

int softbodies() {
  const int32_t before = pmxModel.kindChangeCount;
  const int enc = pmxModel.encoding;
  const int v = pmxModel.vertexIndexSize;
  const int anchorSize = pmxModel.rigidBodyIndexSize + v + 1;
  int32_t n = rfgetlong();
  if (rfeof() || n < 0) return softfailed(0, before);
  conprintf("%d Soft-bodies.\n", n);
  for (int i = 0; i < n; i++) {
    if (rfeof()) return softfailed(i, before);
    const bool kept = i < PMX_MAXSOFTBODIES;
    if (kept) pmxModel.softBodyNameOffset[i] = rftell();
    if (pmxgetname(&nameJ, enc) != PN_OK || pmxgetname(&nameE, enc) != PN_OK) {
      return softfailed(i, before);
    }
    if (kept) countenglish(NameKind::softbody, benrep, pmxModel.kindChangeCount);
    if (pmxskip(SOFTBODY_FIXED + pmxModel.materialIndexSize) != 0) return softfailed(i, before);
    int32_t anchors = rfgetlong();
    if (rfeof() || anchors < 0 || pmxskip(static_cast<int64_t>(anchors) * anchorSize) != 0) {
      return softfailed(i, before);
    }
    int32_t pins = rfgetlong();
    if (rfeof() || pins < 0 || pmxskip(static_cast<int64_t>(pins) * v) != 0) {
      return softfailed(i, before);
    }
  }
  pmxModel.softBodyCount = n;
  pmxModel.storedSoftBodyCount = n < PMX_MAXSOFTBODIES ? n : PMX_MAXSOFTBODIES;
  return 0;
}

// Whatever follows the joints: counted, and dumped on request.
void trailing() {
  conputs("OK. \n");
  const int32_t start = rftell();
  int c = rfgetc();
  if (c < 0) {
    rcwhole();
    conputs("PMX 2.0: correctly read-in: OK. \n");
    conputs("done. \n");
    return;
  }
  conputs("PMX 2.1: reading extended data ...\n");
  // The soft bodies are read first, then the block once more for the count and the dump.
  if (Fill.everyKind != 0 && pmxModel.version > 2.05f) {
    if (rfseek(start) != 0) {
      conputs("done. \n");
      return;
    }
    softbodies();
    if (rfeof() || rfseek(start) != 0) {
      conputs("done. \n");
      return;
    }
    c = rfgetc();
  }
  const int level = Info.displayLevel;
  if (level >= 2) conputs("Unrecognized data bytes found. \n");
  static constexpr char hex[] = "0123456789ABCDEF";
  char line[16 * 3 + 2];
  int fill = 0;
  long count = 0;
  uint8_t chunk[1024];
  int32_t got = 1;
  chunk[0] = static_cast<uint8_t>(c);
  while (got > 0) {
    count += got;
    for (int k = 0; level >= 1 && k < got; k++) {
      line[fill++] = hex[chunk[k] >> 4];
      line[fill++] = hex[chunk[k] & 15];
      line[fill++] = ' ';
      if (fill == 48) {
        line[fill++] = '\n';
        conwrite(line, static_cast<size_t>(fill));
        fill = 0;
      }
    }
    got = rfeof() ? 0 : rfread(chunk, sizeof chunk);
  }
  if (level >= 1) {
    conwrite(line, static_cast<size_t>(fill));
    conputs("\n");
    conputs(level >= 2 ? "Unrecognized block: " : "SoftBody block: ");
    conprintf("Total %ld bytes.\n", count);
  }
  rcwhole();
  conputs("done. \n");
}

void resetmodel() {
  namesreset();
  pmxModel.boneCount = pmxModel.morphCount = pmxModel.frameCount = 0;
  pmxModel.storedBoneCount = pmxModel.storedMorphCount = pmxModel.storedFrameCount = 0;
  pmxModel.materialCount = pmxModel.bodyCount = pmxModel.jointCount = pmxModel.softBodyCount = 0;
  pmxModel.storedModelName = 0;
  pmxModel.storedMaterialCount = pmxModel.storedBodyCount = 0;
  pmxModel.storedJointCount = pmxModel.storedSoftBodyCount = 0;
  pmxModel.kindChangeCount = 0;
}

}  // namespace

int pmdinforead(const char* pathA, const char16_t* pathW, int useW) {
  resetmodel();
  if (rcopen(pathA, pathW, useW) != 0) return -1;
  int r = header();
  if (r == 2) {
    rcbroken();
    rfclose();
    return 2;
  }
  if (r == 0 && modelnames() == 0 && vertices() == 0 && faces() == 0 && textures() == 0 &&
      materials() == 0 && bones() == 0 && morphs() == 0 && frames() == 0 && bodies() == 0 &&
      joints() == 0) {
    trailing();
  }
  rfclose();
  conputs("\n");
  return 0;
}

int pmdinforeadA(const char* path) { return pmdinforead(path, nullptr, 0); }
int pmdinforeadW(const char16_t* path) { return pmdinforead(nullptr, path, 1); }
int pmdinforeadstatus() { return rcstatus(); }
