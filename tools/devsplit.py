#!/usr/bin/env python3
# devsplit.py - splits a list of real model names (kind TAB japanese TAB ...) into a part
# the vocabulary may be tuned on and a part kept unseen until the names are measured.
#
#   python3 tools/devsplit.py tune   devnames.tsv > tune.tsv
#   python3 tools/devsplit.py unseen devnames.tsv > unseen.tsv
#
# A name's part follows from a hash of its kind and Japanese text alone, so a longer list
# of the same names keeps every name where it was, and nobody has to look at the unseen
# part to split it. Standard library only.
import hashlib
import sys

SALT = 'namewright unseen 2026-12'
UNSEEN_PERCENT = 35


def unseen(kind, japanese):
    h = hashlib.sha256(('%s\t%s\t%s' % (SALT, kind, japanese)).encode('utf-8')).digest()
    return int.from_bytes(h[:4], 'big') % 100 < UNSEEN_PERCENT


def main(argv):
    if len(argv) != 3 or argv[1] not in ('tune', 'unseen'):
        sys.stderr.write('usage: devsplit.py tune|unseen FILE\n')
        return 2
    want = argv[1] == 'unseen'
    with open(argv[2], encoding='utf-8') as f:
        for line in f:
            if line.startswith('#') or not line.strip():
                continue
            kind, jp = line.split('\t', 2)[:2]
            if unseen(kind, jp) == want:
                sys.stdout.write(line)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
