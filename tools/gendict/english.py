# english.py - what the generator knows of English: the word list (Debian package
# wamerican) and, from WordNet (wordnet-base), which nouns name things a character
# model is made of, wears or holds.
import os

WORDS = '/usr/share/dict/american-english'
WORDNET = '/usr/share/wordnet'

# Noun synsets under which lie the things of a model: coverings (clothes, hair too),
# parts of the body, adornments, fasteners, strips and cords, fabric, containers,
# implements, weapons, instruments of music, microphones, glasses, watches.
WORN = {'covering', 'body_part', 'decoration', 'fastener', 'strip', 'line', 'fabric',
        'container', 'implement', 'weapon', 'musical_instrument', 'transducer',
        'optical_instrument', 'timepiece'}


def loadwords(path=WORDS):
    words = set()
    with open(path, encoding='utf-8') as f:
        for line in f:
            w = line.strip()
            if w.isalpha() and w.isascii():
                words.add(w.lower())
    return words


def loadworn(path=WORDNET):
    """Nouns one of whose two commonest senses lies under a synset of WORN."""
    words, up = {}, {}
    with open(os.path.join(path, 'data.noun'), encoding='latin-1') as f:
        for line in f:
            if line.startswith(' '):
                continue
            fl = line.split()
            n = int(fl[3], 16)
            words[fl[0]] = {fl[4 + 2 * i].lower() for i in range(n)}
            i = 4 + 2 * n
            ptrs = fl[i + 1:i + 1 + 4 * int(fl[i])]
            up[fl[0]] = [ptrs[k + 1] for k in range(0, len(ptrs), 4)
                         if ptrs[k] in ('@', '@i') and ptrs[k + 2] == 'n']
    under = {}

    def worn(off):
        if off not in under:
            under[off] = False  # a cycle, should WordNet have one, ends here
            under[off] = bool(words[off] & WORN) or any(worn(o) for o in up[off])
        return under[off]

    out = set()
    with open(os.path.join(path, 'index.noun'), encoding='latin-1') as f:
        for line in f:
            if line.startswith(' '):
                continue
            fl = line.split()
            ptrs = int(fl[3])
            if any(worn(o) for o in fl[6 + ptrs:8 + ptrs]):
                out.add(fl[0].replace('_', ' '))
    return out


def loadadjectives(path=WORDNET):
    """WordNet's adjectives (an adverb in -ly gives one: gently, gentle)."""
    out = set()
    with open(os.path.join(path, 'index.adj'), encoding='latin-1') as f:
        for line in f:
            if not line.startswith(' '):
                out.add(line.split()[0].replace('_', ' '))
    return out


def isthing(text, worn):
    """The English (its last word, or that word's singular) names a worn or held thing."""
    w = text.split()[-1]
    return text in worn or any(b in worn for b in (w, w[:-1], w[:-2], w[:-3] + 'y'))
