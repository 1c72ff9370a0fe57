// translit.cpp - renders Japanese bone names word by word in English for the console.
#include "names/translit.h"

#include <array>
#include <cstring>

#include "names/namelist.h"

namespace {

struct Word {
  const char* jp;  // Shift-JIS bytes
  const char* en;  // always ends in one space
};

// Tried in this order at every byte: a longer word must come before the words it
// contains (足首 before 足, 全ての親 before 親).
constexpr std::array<Word, 73> words{{
    {"\x8D\xB6", "Left "},                                  // 左
    {"\x89\x45", "Right "},                                 // 右
    {"\x97\xBC", "Both "},                                  // 両
    {"\x91\x4F", "Front "},                                 // 前
    {"\x8C\xE3", "Back "},                                  // 後
    {"\x91\xAB\x8E\xF1", "Ankle "},                         // 足首
    {"\x91\xAB", "Leg "},                                   // 足
    {"\x8E\xE8\x8E\xF1", "Wrist "},                         // 手首
    {"\x8E\xE8", "Hand "},                                  // 手
    {"\x8E\xF1", "Neck "},                                  // 首
    {"\x9D\x80", "Twist "},                                 // 捩
    {"\x8E\xB2", "Axis "},                                  // 軸
    {"\x96\x58\x8E\x71", "Hat "},                           // 帽子
    {"\x93\xAA", "Head "},                                  // 頭
    {"\x83\x41\x83\x7A", "Aho "},                           // アホ
    {"\x96\xD1", "Hair "},                                  // 毛
    {"\x83\x7C\x83\x6A\x83\x65", "Ponytail "},              // ポニテ
    {"\x83\x63\x83\x43\x83\x93\x83\x65", "Twintail "},      // ツインテ
    {"\x94\xAF", "Hair "},                                  // 髪
    {"\x8A\xE7", "Face "},                                  // 顔
    {"\x96\xDA", "Eye "},                                   // 目
    {"\x93\xB5", "Pupil "},                                 // 瞳
    {"\x8C\xF5", "Light "},                                 // 光
    {"\x90\xE3", "Tongue "},                                // 舌
    {"\x82\xA0\x82\xB2", "Chin "},                          // あご
    {"\x8A\x7B", "Chin "},                                  // 顎
    {"\x8C\xA8", "Shoulder "},                              // 肩
    {"\x8D\xBD\x8D\x9C", "Collar "},                        // 鎖骨
    {"\x98\x72", "Arm "},                                   // 腕
    {"\x90\x65\x8E\x77", "Thumb "},                         // 親指
    {"\x90\x6C\x8E\x77", "Fore "},                          // 人指
    {"\x92\x86\x8E\x77", "Middle "},                        // 中指
    {"\x96\xF2\x8E\x77", "Ring "},                          // 薬指
    {"\x8F\xAC\x8E\x77", "Little "},                        // 小指
    {"\x8E\x77", "Finger "},                                // 指
    {"\x8F\xE3\x94\xBC\x90\x67", "Upper Body "},            // 上半身
    {"\x89\xBA\x94\xBC\x90\x67", "Lower Body "},            // 下半身
    {"\x91\xB3", "Sleeve "},                                // 袖
    {"\x90\x9E", "Hem "},                                   // 裾
    {"\x82\xE0\x82\xE0", "Thigh "},                         // もも
    {"\x95\x49", "Elbow "},                                 // 肘
    {"\x82\xD0\x82\xB6", "Elbow "},                         // ひじ
    {"\x82\xD0\x82\xB4", "Knee "},                          // ひざ
    {"\x8F\xFC\x82\xE8", "Accessory "},                     // 飾り
    {"\x8B\xB9", "Chest "},                                 // 胸
    {"\x93\xFB", "Brest "},                                 // 乳
    {"\x8D\x98", "Waist "},                                 // 腰
    {"\x89\x48", "Wing "},                                  // 羽
    {"\x97\x83", "Wing "},                                  // 翼
    {"\x95\x9E", "Clothes "},                               // 服
    {"\x83\x5A\x81\x5B\x83\x89\x81\x5B", "Sailor "},        // セーラー
    {"\x83\x58\x83\x4A\x81\x5B\x83\x67", "Skirt "},         // スカート
    {"\xBD\xB6\xB0\xC4", "Skirt "},                         // ｽｶｰﾄ (half-width)
    {"\xC8\xB8\xC0\xB2", "Necktie "},                       // ﾈｸﾀｲ (half-width)
    {"\xCF\xCC\xD7\xB0", "Muffler "},                       // ﾏﾌﾗｰ (half-width)
    {"\x8D\xDE\x8E\xBF", "Material "},                      // 材質
    {"\x82\xC2\x82\xDC\x90\xE6", "Toe "},                   // つま先
    {"\x90\xE6", "Top "},                                   // 先
    {"\x95\xE2\x8F\x95", "Aux "},                           // 補助
    {"\x83\x5F\x83\x7E\x81\x5B", "Dummy "},                 // ダミー
    {"\x83\x8A\x83\x7B\x83\x93", "Ribbon "},                // リボン
    {"\x83\x7D\x83\x43\x83\x4E", "Microphone "},            // マイク
    {"\x83\x52\x81\x5B\x83\x67", "Coat "},                  // コート
    {"\x83\x81\x83\x4B\x83\x6C", "Glasses "},               // メガネ
    {"\x8A\xE1\x8B\xBE", "Glasses "},                       // 眼鏡
    {"\x89\xD4", "Flower "},                                // 花
    {"\x82\x68\x82\x6A", "IK "},                            // ＩＫ (full-width)
    {"\x95\x5C\x8F\xEE", "Expression "},                    // 表情
    {"\x91\x80\x8D\xEC\x92\x86\x90\x53", "View Center "},   // 操作中心
    {"\x83\x5A\x83\x93\x83\x5E\x81\x5B", "Center "},        // センター
    {"\x83\x4F\x83\x8B\x81\x5B\x83\x75", "Groove "},        // グルーブ
    {"\x91\x53\x82\xC4\x82\xCC\x90\x65", "Mother bone "},   // 全ての親
    {"\x90\x65", "Parent "},                                // 親
}};

// Text bytes the rendering may hold: the buffer less the two closing zero bytes.
constexpr int kTextMax = ENG_BUFSIZE - 2;

// Length of word w when the name continues with it at p, else 0.
int wordat(const char* p, const char* w) {
  int i = 0;
  for (; w[i] != 0; i++) {
    if (p[i] != w[i]) return 0;
  }
  return i;
}

}  // namespace

// The walk goes byte by byte (a word may match across a character boundary). When the
// rendering reaches the buffer, it ends before the first word, digit or character
// that would not fit whole.
void sjis2eng(char* out, const char* name) {
  int n = 0;
  const char* p = name;
  while (*p != 0) {
    const char* add = nullptr;
    int addlen = 0;
    int step = 0;
    for (const Word& w : words) {
      step = wordat(p, w.jp);
      if (step != 0) {
        add = w.en;
        addlen = static_cast<int>(strlen(w.en));
        break;
      }
    }
    char digit[2];
    if (add == nullptr) {
      unsigned char b0 = static_cast<unsigned char>(p[0]);
      unsigned char b1 = static_cast<unsigned char>(p[1]);
      if (b0 == 0x82 && b1 >= 0x4F && b1 <= 0x58) {  // full-width ０ to ９
        digit[0] = static_cast<char>(b1 - 0x1F);
        digit[1] = ' ';
        add = digit;
        addlen = 2;
        step = 2;
      } else {
        add = p;
        addlen = 1;
        step = 1;
        // A lead byte is kept only with room for its trail byte too.
        if (n + 2 > kTextMax && names::isleadbyte(b0) && b1 != 0) break;
      }
    }
    if (n + addlen > kTextMax) break;
    memcpy(out + n, add, static_cast<size_t>(addlen));
    n += addlen;
    p += step;
  }
  if (n > 0 && out[n - 1] == ' ') n--;
  out[n] = 0;
  out[n + 1] = 0;
}
