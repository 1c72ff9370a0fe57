# edict.py - words from EDICT (Debian package edict, EDRDG licence, CC BY-SA 4.0): the
# Japanese word, its forms in names, and its English in a form names can use.
import difflib
import re

from . import kana

EDICT = '/usr/share/edict/edict'

ENTRY = re.compile(r'^(\S+)(?: \[(\S+)\])? /(.*)/$')
SENSE = re.compile(r'^((?:\([^)]*\) ?)*)(.*)$')

# Senses to leave alone: archaic, obsolete, vulgar, rare, sensitive or derogatory words,
# irregular spellings, and the kinds of word that are no names (particles, prefixes,
# counters, idioms, expressions).
BAD_TAGS = {'arch', 'obs', 'obsc', 'vulg', 'X', 'sens', 'derog', 'rare', 'oK', 'ik', 'iK',
            'ok', 'io', 'int', 'conj', 'prt', 'aux', 'aux-v', 'aux-adj', 'pref', 'ctr',
            'pn', 'id', 'yoji', 'exp'}
ADJ_TAGS = {'adj-i', 'adj-na', 'adj-no', 'adj-t', 'adj-f', 'adj-pn', 'adv', 'adv-to'}
NOUN_TAGS = {'n', 'n-adv', 'n-t', 'n-suf', 'n-pref', 'suf'}

# Dictionary-form ending -> ending of the i-stem (the noun form: 驚く 驚き) and of the
# past (驚いた).
VERB_ENDINGS = {
    'v5k': ('く', 'き', 'いた'), 'v5g': ('ぐ', 'ぎ', 'いだ'), 'v5s': ('す', 'し', 'した'),
    'v5t': ('つ', 'ち', 'った'), 'v5n': ('ぬ', 'に', 'んだ'), 'v5b': ('ぶ', 'び', 'んだ'),
    'v5m': ('む', 'み', 'んだ'), 'v5r': ('る', 'り', 'った'), 'v5u': ('う', 'い', 'った'),
    'v1': ('る', '', 'た'),
}

# Grammar notes, and a product's data-sheet words, which name no part of a model.
SKIP_GLOSS = re.compile(r'\b(counter|suffix|prefix|kana|kanji|abbr|honorific|etc|'
                        r'usu|esp|e\.g|i\.e|lit|fig|spe(?:c|cification)s?)\b')
# A state reads as its adjective (being linked: linked, feeling sick: sick).
LEAD = re.compile(r"^(to |a |an |the |one's |someone's |something's |oneself |being "
                  r"|feeling (?!of ))+")
INNER = {"one's", "someone's", "something's", 'oneself', 'the', 'a', 'an'}  # open one's eyes wide


def senses(body):
    """[(tags, [glosses])] of an entry's body, in order; tags apply to their sense."""
    out = []
    tags = set()
    for part in body.split('/'):
        if part in ('(P)', '') or part.startswith('EntL'):
            continue
        m = SENSE.match(part)
        lead = re.findall(r'\(([^)]*)\)', m.group(1))
        if any(t.isdigit() for t in lead) or not out:
            tags = set()
            out.append((tags, []))
        for t in lead:
            tags.update(x for x in t.split(',') if not x.isdigit())
        out[-1][1].append(m.group(2).strip())
    return out


def load(path=EDICT):
    """[(word, reading or None, body)] in file order."""
    out = []
    with open(path, encoding='euc_jp', errors='replace') as f:
        for n, line in enumerate(f):
            m = ENTRY.match(line.rstrip('\n'))
            if n and m:
                out.append((m.group(1), m.group(2), m.group(3)))
    return out


def english(gloss, words, verb=False, reading=''):
    """A gloss as plain English words for a name ('bare feet'), or None: not plain
    words of the word list, more than three words, or a proper name. A word that is
    the entry's own reading in romaji (zori for ぞうり, naginata) counts as English."""
    g = re.sub(r'\([^)]*\)', ' ', gloss)
    g = re.sub(r'\s+', ' ', g).strip()
    if not g or SKIP_GLOSS.search(g.lower()):
        return None
    if all(w[:1].isupper() for w in g.split()):
        return None  # Zambia, New York
    g = LEAD.sub('', g.lower())
    if verb:
        g = re.sub(r'^(be|become|get|make|feel) (?=\w)', '', g)
    g = LEAD.sub('', g)
    out = [w for w in g.replace('-', ' ').split() if w not in INNER]
    # A name says 'head top' where a gloss says 'top of the head'.
    if len(out) == 3 and out[1] == 'of':
        out = [out[2], out[0]]
    if not out or len(out) > 3:
        return None
    native = skel(kana.romaji(reading)) if reading else None
    if any(not w.isascii() or not w.isalpha()
           or w not in words and (len(w) < 4 or skel(w) != native) for w in out):
        return None
    return ' '.join(out)


def forms(word, tags, more=False):
    """The word and the forms names use: a verb's noun form (驚き), an adjective's -ku
    form (太く); with more, a verb's past and -te forms (驚いた, 驚いて) and an adjective's
    -me and -sou forms (太め, 眠そう), as the names of expressions use them."""
    out = [word]
    for t in sorted(tags):
        if t in VERB_ENDINGS:
            end, stem, past = VERB_ENDINGS[t]
            if word.endswith(end) and len(word) > 1:
                out.append(word[:-1] + stem)
                if more:  # the past and the -te form (驚いた, 驚いて)
                    out += [word[:-1] + past, word[:-1] + past[:-1] + ('て' if past[-1] == 'た' else 'で')]
        if t == 'adj-i' and word.endswith('い') and len(word) > 1:
            out.append(word[:-1] + 'く')
            if more:
                out += [word[:-1] + 'め', word[:-1] + 'そう']
    return [f for i, f in enumerate(out) if f not in out[:i] and f]


def skel(s):
    """The consonants of a word, as Japanese hears them (l as r, v as b)."""
    s = s.lower().replace('l', 'r').replace('v', 'b').replace('c', 'k').replace('q', 'k')
    s = re.sub('[aeiouyh ]', '', s)
    return re.sub(r'(.)\1+', r'\1', s)


def sounds(katakana, eng):
    """How much a katakana word sounds like an English word (0..1)."""
    a, b = skel(kana.romaji(katakana)), skel(eng)
    if not a or not b:
        return 0.0
    return difflib.SequenceMatcher(None, a, b).ratio()


def adverb(gloss, words, adjs=None):
    """The adjective of an adverb in -ly (blankly: blank, noisily: noisy, gently: gentle),
    as adjs (WordNet's adjectives) knows it; None when the adverb is an adjective itself
    (orderly) or has none. Without adjs, the adverb less its -ly."""
    if adjs is None:
        return english(gloss[:-2], words)
    if gloss in adjs:
        return None
    stem = gloss[:-2]
    for c in ([gloss[:-3] + 'y'] if gloss.endswith('ily') else []) + [stem, gloss[:-1] + 'e']:
        if c in adjs and c in words:
            return c
    # A participle is an adjective too (trudgingly: trudging), a noun is not (gently: gent).
    return english(stem, words) if stem.endswith(('ing', 'ed')) else None


def glosses(word, sl, words, thing=lambda e: False, reading='', adjs=None):
    """The English of an entry, best first: [english]. A word takes the plain glosses
    of its first usable sense, then the first of its second; a katakana loanword (not
    one usually written in kana or sound-symbolic) the glosses of its first three senses
    that sound like it, the one that sounds most alike first, a thing before a quality
    when they sound alike (ベスト: vest, not best), or when none does, as a word."""
    bare = word.replace('・', '')
    native = sl[0][0] & {'uk', 'on-mim'}
    loan = all(kana.iskata(c) for c in bare) and not native
    found = []  # (sense number, gloss number, english)
    for n, (tags, gl) in enumerate(sl[:3]):
        if tags & BAD_TAGS:
            continue
        verb = any(t in VERB_ENDINGS for t in tags)
        for k, g in enumerate(gl):
            e = None
            plain = re.sub(r'\([^)]*\)', '', g).strip()
            if tags & {'adv', 'adv-to'} and plain.endswith('ly') and not tags & NOUN_TAGS:
                e = adverb(plain, words, adjs)
            e = e or english(g, words, verb or ('vs' in tags and g.startswith('to ')),
                             reading or word)
            if e and all(e != f[2] for f in found):
                found.append((n, k, e))
    if not found:
        return []
    if loan:
        # Most loanwords sound like their first gloss; one that sounds like none
        # (ズボン: trousers, ヘアゴム: hair elastic) keeps the order of its senses.
        scored = [(round(sounds(bare, f[2]), 1), thing(f[2]), -f[0], -f[1], f[2]) for f in found]
        scored.sort(reverse=True)
        if scored[0][0] >= 0.5:
            return [s[4] for s in scored if s[0] >= 0.5]
    first = found[0][0]
    same = [f[2] for f in found if f[0] == first]
    later = [f[2] for f in found if f[0] > first][:1]
    # English before the romaji of the word itself (暴力団: gangster organization, not
    # boryokudan), which stays as an alternative.
    return sorted(same + later, key=lambda e: any(w not in words for w in e.split()))
