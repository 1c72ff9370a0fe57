#!/usr/bin/env python3
# splitnames.py - splits tests/data/names/all.txt at random, with a fixed seed, into a
# tuning half (tuning.txt) and a held-out half (heldout.txt).
#
#   python3 tools/splitnames.py             write both halves
#   python3 tools/splitnames.py --check     exit 1 if they differ from what it writes
#
# Each kind (bone, morph, frame) is shuffled and halved on its own, so both halves hold
# every kind. A line starting with '#==' in all.txt begins a new batch, split on its own
# with the same seed: names added in a later batch never move a name of an earlier one
# from one half to the other. The vocabulary is tuned on the tuning half only; the
# held-out half measures it. Standard library only.
import os
import random
import sys

SEED = 20240613
DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'data', 'names')
KINDS = ('bone', 'morph', 'frame')


def batches(lines):
    rows = [[]]
    for line in lines:
        line = line.rstrip('\n')
        if line.startswith('#=='):
            rows.append([])
        elif line.strip() and not line.startswith('#'):
            rows[-1].append(line)
    return [b for b in rows if b]


def split(lines):
    """The rows of the tuning half and of the held-out half, in that order."""
    tune, held = [], []
    for rows in batches(lines):
        rng = random.Random(SEED)
        for kind in KINDS:
            names = [r for r in rows if r.split('\t', 1)[0] == kind]
            rng.shuffle(names)
            half = (len(names) + 1) // 2
            tune += names[:half]
            held += names[half:]
    return tune, held


def halves():
    with open(os.path.join(DIR, 'all.txt'), encoding='utf-8') as f:
        tune, held = split(f)
    head = ('# %s half of all.txt, split by tools/splitnames.py (random.Random(%d), each '
            'kind of each batch shuffled and halved). Do not edit; rerun the tool.\n')
    return (head % ('Tuning', SEED) + '\n'.join(tune) + '\n',
            head % ('Held-out', SEED) + '\n'.join(held) + '\n')


def main(argv):
    files = dict(zip(('tuning.txt', 'heldout.txt'), halves()))
    for name, text in files.items():
        path = os.path.join(DIR, name)
        if len(argv) == 2 and argv[1] == '--check':
            try:
                with open(path, encoding='utf-8') as f:
                    same = f.read() == text
            except OSError:
                same = False
            if not same:
                print('splitnames: %s differs; rerun tools/splitnames.py' % path, file=sys.stderr)
                return 1
        elif len(argv) == 1:
            with open(path, 'w', encoding='utf-8', newline='\n') as f:
                f.write(text)
        else:
            print('usage: splitnames.py [--check]', file=sys.stderr)
            return 2
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
