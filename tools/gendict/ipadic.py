# ipadic.py - the readings of proper names (people, and the words the IPA dictionary
# files as proper) from MeCab's IPA dictionary (Debian package mecab-ipadic, its source
# CSV files), so that a name no dictionary glosses is written in the romaji of its
# reading (霊夢 Reimu), not in its kanji's meanings.
import glob
import os

from . import kana

IPADIC = '/usr/share/mecab/dic/ipadic'
# People: the names a model is given (its character). They are read in the model's own
# name only, where a proper name is at home; places would more than double the entries
# (and the pages a run maps) for names models seldom bear.
FILES = ('Noun.name.csv',)


def load(path=IPADIC):
    """[(surface, reading in katakana, cost)] of the proper names, in file order."""
    out = []
    for name in FILES:
        for f in sorted(glob.glob(os.path.join(path, name))):
            with open(f, encoding='euc_jp', errors='replace') as fh:
                for line in fh:
                    c = line.rstrip('\n').split(',')
                    if len(c) >= 12 and c[4] == '名詞' and c[5] == '固有名詞':
                        out.append((c[0], c[11], int(c[3])))
    return out


def names(entries):
    """{surface: [romaji]} of the names written with kanji (names in kana are read as
    kana anyway); of several readings the commonest (lowest cost) first."""
    best = {}
    for surface, reading, cost in entries:
        if len(surface) < 2 or not all(kana.iskanji(c) for c in surface):
            continue
        r = kana.hepburn(reading)
        if not r:
            continue
        had = best.setdefault(surface, [])
        if all(r != x[1] for x in had):
            had.append((cost, r))
    return {s: [r for _, r in sorted(v)[:2]] for s, v in best.items()}
