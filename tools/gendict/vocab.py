# vocab.py - the entries of the dictionary: the hand-written MMD vocabulary of
# tools/namedict.in over words from EDICT and kanji from KANJIDIC.
import re

from . import edict, english, kana, kanjidic

CLASSES = 'NSWK'  # whole names, sides, words, kanji fallbacks
KINDS = 'bmf'     # bones, morphs, display frames
HANDKINDS = KINDS + 'n'  # and the model's own name, in the hand-written entries
LANGS = 'jc'      # for names read as Japanese only, as Chinese only; neither: both
MAX_ALTERNATIVES = 3
VERBLIKE = set(edict.VERB_ENDINGS) | {'adj-i'}
# Digits and letters a name keeps as they are (アホ毛２ is Ahoge2, not AhogeTwo).
NUMERAL = re.compile('[0-9A-Za-z\uff10-\uff19\uff21-\uff3a\uff41-\uff5a]')


class Entry:
    def __init__(self, kinds, cls, japanese, english, lang=''):
        self.kinds, self.cls, self.japanese, self.english = kinds, cls, japanese, english
        self.lang = lang

    def key(self):
        return (CLASSES.index(self.cls), self.japanese, LANGS.find(self.lang), self.kinds)

    def __repr__(self):
        return 'Entry(%r, %r, %r, %r, %r)' % (self.kinds, self.cls, self.japanese,
                                              self.english, self.lang)


def covers(lang, other):
    """An entry of language lang replaces the generated ones of language other."""
    return lang == '' or lang == other


def parsehand(text, where='namedict.in', seen=None):
    """Entries of the hand-written source: 'kinds class japanese english [| other]...'
    a line, fields apart by ASCII blanks; '#' begins a comment line. The kinds may add
    j or c: the entry is for names read as Japanese, or as Chinese, only. Raises
    ValueError naming the line of a malformed entry."""
    out = []
    seen = {} if seen is None else seen  # (kind, language, class, japanese) -> where
    for n, line in enumerate(text.split('\n'), 1):
        s = line.strip(' \t\r')
        if not s or s.startswith('#'):
            continue
        f = re.split(r'[ \t]+', s, 3)
        lang = ''.join(c for c in LANGS if c in f[0]) if len(f) == 4 else ''
        if (len(f) != 4 or not set(f[0]) & set(HANDKINDS) or set(f[0]) - set(HANDKINDS + LANGS)
                or len(lang) > 1 or f[1] not in CLASSES):
            raise ValueError('%s:%d: expected "kinds class japanese english"' % (where, n))
        alts = [re.sub(r'\s+', ' ', a.strip()) for a in f[3].split('|')]
        if any(not a for a in alts):
            raise ValueError('%s:%d: empty English' % (where, n))
        kinds = ''.join(k for k in HANDKINDS if k in f[0])
        for k in kinds:
            key = (k, lang, f[1], f[2])
            if seen.setdefault(key, (where, n)) != (where, n):
                raise ValueError('%s:%d: %s %s already given on %s:%d'
                                 % ((where, n, f[1], f[2]) + seen[key]))
        out.append(Entry(kinds, f[1], f[2], alts, lang))
    return out


def plainkana(word):
    """A word of kana alone long enough to stand as a word: a loanword of two
    katakana or more; of hiragana, three or more (shorter ones would match inside
    names of kana that are sounds, not words)."""
    if all(kana.iskata(c) for c in word):
        return len(word) >= 2
    if all(kana.ishira(c) or c == 'ー' for c in word):
        return len(word) >= 3
    return None


def keeprare(form, eng, thing, sound=False, verb=False):
    """A word EDICT does not mark common is kept when it is short (two characters, three
    with kana: 輪っか), a loanword (names are full of them), a thing worn or held, a
    part of the body or a sound-symbolic word of up to six characters (麦わら帽子,
    ふくらはぎ, きょとん), or a verb or an adjective of up to five (引っ込め), as
    expressions are named by them. Long rare words of other kinds, and rare compounds of
    three kanji, would seldom be met in a name and could swallow two words that are."""
    if len(form) <= 2 or all(kana.iskata(c) for c in form):
        return True
    if len(form) == 3 and not all(kana.iskanji(c) for c in form):
        return True
    return len(form) <= 6 and (sound or thing(eng)) or len(form) <= 5 and verb


# Kanji of place and size that follow a part in the names of models (目上 eyes up,
# 手先 hand tip, 口大 mouth big, 舌根元 tongue root), where EDICT reads the pair as a
# word of its own (目上 superior, 手先 underling, 舌根).
PLACES = set('上下中前後横大小内外縦先根')
# And the moves of a part in morph names (肩上げ shoulders up, 口寄せ mouth gather), where
# EDICT has a word of another sense (a tuck, spiritualism); a verb before them (立ち上がり)
# keeps EDICT's word.
ACTIONS = ('上げ', '下げ', '寄せ', '上がり', '下がり', '広げ', '開き', '閉じ')


def edictwords(entries, words, thing, parts=frozenset(), adjs=None):
    """Japanese -> English of the EDICT words a name may hold, with their forms:
    {japanese: [english]}. Of several entries for one word, the common one (P) wins,
    then the earlier; a headword wins over a kana reading. A reading is a word too when
    the word is usually written in kana (uk), or when it is a common word of three kana
    or more (わらい). Single kanji are left to KANJIDIC and the hand-written words;
    a part of parts (the hand-written words) followed by a kanji of PLACES is left to
    those two."""
    best = {}  # japanese -> (rank, english)
    for order, (word, reading, body) in enumerate(entries):
        sl = edict.senses(body)
        if not sl or sl[0][0] & edict.BAD_TAGS:
            continue
        eng = edict.glosses(word, sl, words, thing, reading, adjs)
        if not eng:
            continue
        common = '(P)' in body
        tags = sl[0][0]
        bare = word.replace('・', '')
        nkanji = sum(kana.iskanji(c) for c in bare)
        # The past and -me forms for words of feeling and looks: a verb or an
        # adjective of one kanji (驚いた, 太め), as expressions are named.
        more = nkanji == 1 and bool(tags & VERBLIKE)
        cands = [(0, f) for f in edict.forms(bare, tags, more)]
        if nkanji == 0 and 'on-mim' in tags and all(kana.ishira(c) for c in bare):
            cands.append((3, kana.tokata(bare)))  # sounds in katakana too (ワクワク)
        if reading and ('uk' in tags or (common and len(reading) >= 3)):
            cands += [(1 if 'uk' in tags else 2, f) for f in edict.forms(reading, tags)]
            # Models write kana words in katakana too (ヨダレ, ハテナ); after every
            # spelling EDICT gives, so a loanword of the same sound keeps its own.
            # Sounds, common nouns and things worn or of the body only: another
            # word in katakana would match inside loanwords.
            noun = common and tags & edict.NOUN_TAGS and not tags & VERBLIKE
            if 'uk' in tags and ('on-mim' in tags or noun or thing(eng[0])):
                cands += [(3, kana.tokata(f)) for f in edict.forms(reading, tags)
                          if len(f) >= 3 and all(kana.ishira(c) for c in f)]
        for src, form in cands:
            if len(form) == 1 and kana.iskanji(form):
                continue
            if nkanji == 0 or src:
                if plainkana(form) is False:
                    continue
            if '左' in form or '右' in form or not kana.fits(form) or NUMERAL.search(form):
                continue
            if form[-1] in PLACES and form[:-1] in parts:
                continue
            if any(form.endswith(a) and form[:-len(a)] in parts
                   and not kana.ishira(form[-len(a) - 1]) for a in ACTIONS):
                continue  # 肩上げ is the shoulders up, not a tuck; 立ち上がり stays
            if not common and not keeprare(form, eng[0], thing, 'on-mim' in tags,
                                           bool(tags & VERBLIKE)):
                continue
            rank = (src, not common, order)
            if form not in best or rank < best[form][0]:
                best[form] = (rank, eng[:MAX_ALTERNATIVES])
    return {k: v[1] for k, v in best.items()}


def kanjientries(kanji, words):
    """Kanji -> [english] from KANJIDIC, for the kanji that convert to Shift-JIS."""
    out = {}
    for ch, meanings, freq in kanji:
        if len(ch) != 1 or not kana.iskanji(ch) or not kana.fits(ch):
            continue
        m = kanjidic.meaning(meanings, words)
        if m:
            out[ch] = m
    return out


def otherkana(hand):
    """The hand-written words of hiragana also in katakana and the other way round
    (にやり: ニヤリ), after all the hand-written entries, so that a word written in
    both keeps its own."""
    out = []
    for e in hand:
        w = e.japanese
        if e.cls != 'W' or len(w) < 3:
            continue  # two kana would match inside the other kana's loanwords
        if all(kana.ishira(c) or c == 'ー' for c in w):
            other = ''.join(c if c == 'ー' else chr(ord(c) + 0x60) for c in w)
        elif all(kana.iskata(c) for c in w) and all('\u30a1' <= c <= '\u30f6' or c == 'ー'
                                                    for c in w) and 'ー' not in w:
            other = ''.join(chr(ord(c) - 0x60) for c in w)
        else:
            continue
        out.append(Entry(e.kinds, e.cls, other, e.english, e.lang))
    return out


SMALL_VOWEL = {'a': 'ぁ', 'i': 'ぃ', 'u': 'ぅ', 'e': 'ぇ', 'o': 'ぉ'}


def soundforms(hand):
    """The hand-written sounds and words of expressions in kana, as names cut or
    draw them out: ぷくっ as ぷく or ぷくー, むす as むすっ, ドヤ as ドヤァ (a small vowel),
    and a doubled sound once (キラキラ: キラ).
    Words of morphs alone (not the parts and loanwords all kinds share), after every
    written entry."""
    out = []
    for e in hand:
        w = e.japanese
        if (e.cls == 'W' and 'm' in e.kinds and len(w) == 4 and w[:2] == w[2:]
                and all(kana.ishira(c) or kana.iskata(c) for c in w)):
            out.append(Entry('m', 'W', w[:2], e.english, e.lang))  # もぐもぐ as 口もぐ says it
        if e.cls != 'W' or e.kinds != 'm' or len(w) < 2:
            continue
        if not (all(kana.ishira(c) or c == 'ー' for c in w) or all(kana.iskata(c) for c in w)):
            continue
        kata = any(kana.iskata(c) and c != 'ー' for c in w)
        tsu = 'ッ' if kata else 'っ'
        if w[-1] in 'っッ':
            out.append(Entry('m', 'W', w[:-1] + 'ー', e.english, e.lang))
            if len(w) >= 4:  # two kana left would match inside other words
                out.append(Entry('m', 'W', w[:-1], e.english, e.lang))
            continue
        forms = [w + tsu]
        vowel = kana.romaji(w[-1])[-1:]
        if vowel in SMALL_VOWEL and w[-1] != 'ー':
            small = SMALL_VOWEL[vowel]
            forms.append(w + (kana.tokata(small) if kata else small))
        out += [Entry('m', 'W', f, e.english, e.lang) for f in forms]
    return out


def handforms(hand, entries):
    """The forms of the hand-written verbs and adjectives, with their English (太い
    thick: 太く thick), as EDICT's part of speech gives them. A hand-written stem of a
    verb brings the verb's other forms too (下げ down: 下げる, 下げた, 下げて down, not
    EDICT's hang), the verb of a common entry first."""
    tags, stems = {}, {}
    for word, reading, body in entries:
        sl = edict.senses(body)
        if not sl:
            continue
        if word not in tags:
            tags[word] = sl[0][0]
        verb = sl[0][0] & set(edict.VERB_ENDINGS)
        if not verb or sl[0][0] & edict.BAD_TAGS:
            continue
        # A verb usually written in kana (すぼめる) by its reading too.
        for w in [word] + ([reading] if reading and 'uk' in sl[0][0] else []):
            fs = edict.forms(w, verb, True)
            if len(fs) > 1 and len(fs[1]) >= 2:
                rank = '(P)' not in body
                if fs[1] not in stems or rank < stems[fs[1]][0]:
                    stems[fs[1]] = (rank, fs)
    out = []
    for e in hand:
        if e.cls != 'W':
            continue
        if e.japanese in tags:
            more = sum(kana.iskanji(c) for c in e.japanese) == 1
            for f in edict.forms(e.japanese, tags[e.japanese], more)[1:]:
                out.append(Entry(e.kinds, e.cls, f, e.english, e.lang))
        # Two kana are as often a noun (かみ hair, not かむ's stem).
        if e.japanese in stems and (len(e.japanese) >= 3 or any(map(kana.iskanji, e.japanese))):
            for f in stems[e.japanese][1]:
                if f != e.japanese:
                    out.append(Entry(e.kinds, e.cls, f, e.english, e.lang))
    return out


def build(hand, edictentries, kanji, words, worn, chinese=None, adjs=None, propers=None):
    """All entries, hand-written ones over generated ones of the same Japanese text,
    kinds and language, sorted: [Entry]. EDICT's words and KANJIDIC's kanji are for
    names read as Japanese, CC-CEDICT's words (chinese: {form: [english]}) for names
    read as Chinese; the readings of proper names (propers: {name: [romaji]}) for the
    model's own name (kind n)."""
    thing = lambda e: english.isthing(e, worn)
    gen = {}  # (class, japanese, language) -> [kinds, english]
    parts = {e.japanese for e in hand if e.cls == 'W'}
    for jp, eng in edictwords(edictentries, words, thing, parts, adjs).items():
        gen[('W', jp, 'j')] = [KINDS, eng]
    for jp, eng in kanjientries(kanji, words).items():
        gen[('K', jp, 'j')] = [KINDS, eng]
    for jp, eng in (chinese or {}).items():
        gen[('K' if len(jp) == 1 else 'W', jp, 'c')] = [KINDS, eng]
    names = {}  # a generated entry of the model's names alone, beside the others
    for jp, eng in (propers or {}).items():
        names[('W', jp, 'j')] = ['n', eng]
    out = []
    taken = {}  # (class, japanese, language) -> kinds given by the hand-written entries
    written = hand + otherkana(hand)
    for e in written + handforms(hand, edictentries) + soundforms(written):
        had = taken.get((e.cls, e.japanese, e.lang), '')
        kinds = ''.join(k for k in e.kinds if k not in had)
        if not kinds:
            continue  # a written entry wins over the spellings and forms derived from others
        taken[(e.cls, e.japanese, e.lang)] = had + kinds
        out.append(Entry(kinds, e.cls, e.japanese, e.english, e.lang))
        # A hand-written word, kanji or side replaces what the dictionaries say of it,
        # in its language (both, when it names none).
        for cls in ('W', 'K') if e.cls in 'WKS' else ():
            for lang in LANGS:
                g = gen.get((cls, e.japanese, lang))
                if g and covers(e.lang, lang):
                    g[0] = ''.join(k for k in g[0] if k not in kinds)
        g = names.get((e.cls, e.japanese, 'j'))
        if g and covers(e.lang, 'j'):
            g[0] = ''.join(k for k in g[0] if k not in kinds)
    for (cls, jp, lang), (kinds, eng) in list(gen.items()) + list(names.items()):
        if kinds:
            out.append(Entry(kinds, cls, jp, eng, lang))
    out.sort(key=Entry.key)
    return out
