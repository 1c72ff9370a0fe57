# kanjidic.py - the meaning of each kanji from KANJIDIC (Debian package kanjidic, EDRDG
# licence, CC BY-SA 4.0), for the kanji no word covers.
import re

from . import edict

KANJIDIC = '/usr/share/edict/kanjidic'


def load(path=KANJIDIC):
    """[(kanji, [meanings], frequency rank or None)] in file order."""
    out = []
    with open(path, encoding='euc_jp', errors='replace') as f:
        for n, line in enumerate(f):
            if n == 0 or not line.strip():
                continue
            ch = line.split(' ', 1)[0]
            freq = re.search(r' F(\d+) ', line)
            meanings = re.findall(r'\{([^}]*)\}', line)
            out.append((ch, meanings, int(freq.group(1)) if freq else None))
    return out


def meaning(meanings, words):
    """The first meaning that is one or two plain words (a kanji is one piece of a
    name: 'line', not 'line of sight'), failing that the first of three, or None; with
    the next such meaning as an alternative."""
    out = []
    # 'hair of the head' says hair
    meanings = [re.sub(r' (of|for|in|on) .*', '', m) for m in meanings]
    for limit in (2, 3):
        for m in meanings:
            # 'be amazed' says amazed; 'be' alone is what a cut left.
            e = edict.english(m, words, verb=m.startswith(('to ', 'be ')))
            if e and e != 'be' and len(e.split()) <= limit and e not in out:
                out.append(e)
        if out:
            break
    return out[:2]
