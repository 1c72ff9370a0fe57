# kana.py - what the generator needs to know about Japanese script: classes of
# characters, Hepburn romaji (to tell how much a loanword sounds like an English word)
# and the test every Japanese text of the dictionary must pass.
import unicodedata

MAX_JAPANESE = 32  # characters the program keeps of a Japanese text


def iskanji(ch):
    return '\u4e00' <= ch <= '\u9fff' or ch in '々〆'


def iskata(ch):
    return '\u30a1' <= ch <= '\u30fa' or ch == 'ー'


def ishira(ch):
    return '\u3041' <= ch <= '\u3096'


def tokata(text):
    """Hiragana text in katakana (the long mark and other signs as they are)."""
    return ''.join(chr(ord(c) + 0x60) if ishira(c) else c for c in text)


def fits(text):
    """The text fits the program's Japanese field: printable, at most MAX_JAPANESE
    characters."""
    return (0 < len(text) <= MAX_JAPANESE
            and all(unicodedata.category(c)[0] != 'C' for c in text))


_ROWS = {
    '': 'aiueo', 'k': 'かきくけこ', 's': 'さしすせそ', 't': 'たちつてと', 'n': 'なにぬねの',
    'h': 'はひふへほ', 'm': 'まみむめも', 'y': 'や_ゆ_よ', 'r': 'らりるれろ', 'w': 'わ___を',
    'g': 'がぎぐげご', 'z': 'ざじずぜぞ', 'd': 'だぢづでど', 'b': 'ばびぶべぼ', 'p': 'ぱぴぷぺぽ',
}
_ODD = {'し': 'shi', 'ち': 'chi', 'つ': 'tsu', 'ふ': 'fu', 'じ': 'ji', 'ぢ': 'ji', 'づ': 'zu',
        'を': 'o', 'ん': 'n', 'ゔ': 'vu'}
ROMAJI = {}
for _c, _row in _ROWS.items():
    for _v, _k in zip('aiueo', 'あいうえお' if _c == '' else _row):
        if _k != '_':
            ROMAJI[_k] = _ODD.get(_k, _c + _v)
ROMAJI.update({k: v for k, v in _ODD.items() if k not in ROMAJI})
for _small, _big in zip('ぁぃぅぇぉゃゅょゎ', 'あいうえおやゆよわ'):
    ROMAJI[_small] = ROMAJI[_big]


def romaji(text):
    """Rough Hepburn romaji of kana text (katakana read as hiragana), long marks and
    small tsu dropped: enough to compare sounds, not to write names."""
    out = []
    for ch in unicodedata.normalize('NFKC', text):
        if iskata(ch) and ch != 'ー':
            ch = chr(ord(ch) - 0x60)
        out.append(ROMAJI.get(ch, ''))
    return ''.join(out)


_SMALL_Y = {'ゃ': 'a', 'ゅ': 'u', 'ょ': 'o'}


def hepburn(text):
    """The Hepburn romaji of a reading in kana, as the program spells the kana of a name
    (しゃ sha, っ doubles the next consonant, ん n, the long mark dropped), or '' when the
    text holds anything but kana."""
    out = ''
    double = False
    for ch in text:
        if iskata(ch) and ch != 'ー':
            ch = chr(ord(ch) - 0x60)
        if ch == 'ー':
            continue
        if ch == 'っ':
            double = True
            continue
        if ch in _SMALL_Y and out.endswith('i') and len(out) >= 2:
            stem = out[:-1]
            out = stem + ('' if stem.endswith(('sh', 'ch', 'j')) else 'y') + _SMALL_Y[ch]
            continue
        r = ROMAJI.get(ch)
        if r is None:
            return ''
        if double and r[0] not in 'aiueon':
            out += 't' if r[0] == 'c' else r[0]
        double = False
        out += r
    return out
