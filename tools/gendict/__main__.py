# gendict - writes data/namedict.txt, the dictionary of English names the program
# reads beneath the user's rules.
#
#   python3 -m tools.gendict > data/namedict.txt          regenerate (from the repo root)
#   python3 -m tools.gendict --check data/namedict.txt    exit 1 when the file is stale
#
# Sources (Debian packages): edict (/usr/share/edict/edict) and kanjidic
# (/usr/share/edict/kanjidic), EDRDG licence, CC BY-SA 4.0; wamerican (which English
# words are words); wordnet-base (which nouns are things a model wears or holds). The
# hand-written MMD vocabulary is tools/namedict.in: its entries win over the
# dictionaries'. Standard library only; the output depends on the input files alone.
import os
import sys

from . import edict, english, kanjidic, output, vocab

HAND = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'namedict.in')


def generate():
    with open(HAND, encoding='utf-8') as f:
        try:
            hand = vocab.parsehand(f.read(), 'tools/namedict.in')
        except ValueError as e:
            sys.exit('gendict: %s' % e)
    for e in hand:
        p = output.problem(e)
        if p:
            sys.exit('gendict: tools/namedict.in: %s: %s' % (e.japanese, p))
    entries = vocab.build(hand, edict.load(), kanjidic.load(), english.loadwords(),
                          english.loadworn())
    # What the dictionaries give and the program could not read is left out.
    return output.text([e for e in entries if not output.problem(e)])


def main(argv):
    sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    import generated
    return generated.main(argv, 'gendict', generate(), 'utf-8', 'python3 -m tools.gendict')


if __name__ == '__main__':
    sys.exit(main(sys.argv))
