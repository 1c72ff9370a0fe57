#!/usr/bin/env python3
# judge.py - blind judging of generated English names: a sheet for a judge who does not
# know which build wrote which name, and the figures from the judge's scores.
#
#   python3 tools/judge.py draw NAMES.tsv SEED bone=100 morph=120 ... > sample.tsv
#   python3 tools/judge.py sheet sample.tsv A.out B.out SEED sheet.tsv key.tsv
#   python3 tools/judge.py score sheet-scored.tsv key.tsv
#
# draw: a random sample of "kind TAB japanese ..." lines, so many of each kind.
# sheet: one row per name, its candidates (the names each build wrote, as "kind TAB
#   japanese TAB english" lines) in a random order per row, equal names shown once;
#   the key says which build wrote which candidate. A judge fills one score per
#   candidate: 2 good, 1 understandable, 0 bad.
# score: per build and kind, the share of names scored 2 and scored 0.
# Standard library only.
import csv
import random
import sys


def readtsv(path):
    with open(path, encoding='utf-8') as f:
        return [l.rstrip('\n').split('\t') for l in f if l.strip() and not l.startswith('#')]


def draw(args):
    rows = readtsv(args[0])
    rng = random.Random(int(args[1]))
    out = []
    for want in args[2:]:
        kind, n = want.split('=')
        pool = [r for r in rows if r[0] == kind]
        rng.shuffle(pool)
        out += pool[:int(n)]
    for r in out:
        print('\t'.join(r[:2]))
    return 0


def sheet(args):
    sample, outs, seed, sheetpath, keypath = args[0], args[1:-3], args[-3], args[-2], args[-1]
    rows = readtsv(sample)
    gens = []
    for o in outs:
        got = {(r[0], r[1]): r[2] if len(r) > 2 else '' for r in readtsv(o)}
        gens.append(got)
    rng = random.Random(int(seed))
    with open(sheetpath, 'w', encoding='utf-8', newline='') as s, \
            open(keypath, 'w', encoding='utf-8', newline='') as k:
        sw, kw = csv.writer(s, delimiter='\t'), csv.writer(k, delimiter='\t')
        sw.writerow(['row', 'kind', 'name', 'candidate 1', 'candidate 2', 'candidate 3',
                     'score 1', 'score 2', 'score 3'])
        for i, r in enumerate(rows, 1):
            cands = []
            for g in gens:
                e = g.get((r[0], r[1]), '')
                if e not in cands:
                    cands.append(e)
            rng.shuffle(cands)
            sw.writerow([i, r[0], r[1]] + cands + [''] * (3 - len(cands)) + ['', '', ''])
            kw.writerow([i] + [cands.index(g.get((r[0], r[1]), '')) + 1 for g in gens])
    return 0


def score(args):
    with open(args[0], encoding='utf-8', newline='') as f:
        sheetrows = list(csv.reader(f, delimiter='\t'))[1:]
    with open(args[1], encoding='utf-8', newline='') as f:
        key = {r[0]: [int(x) for x in r[1:]] for r in csv.reader(f, delimiter='\t')}
    builds = len(next(iter(key.values())))
    tally = {}  # (build, kind) -> [names, good, bad]
    for r in sheetrows:
        scores = r[6:9]
        for b, col in enumerate(key[r[0]]):
            s = scores[col - 1].strip()
            if s not in ('0', '1', '2'):
                sys.exit('judge: row %s has no score for candidate %d' % (r[0], col))
            for kind in (r[1], 'all'):
                t = tally.setdefault((b, kind), [0, 0, 0])
                t[0] += 1
                t[1] += s == '2'
                t[2] += s == '0'
    for (b, kind), (n, good, bad) in sorted(tally.items()):
        print('build %d  %-8s %4d names: good %5.1f%%  bad %4.1f%%'
              % (b + 1, kind, n, 100.0 * good / n, 100.0 * bad / n))
    return 0


def main(argv):
    cmds = {'draw': draw, 'sheet': sheet, 'score': score}
    if len(argv) < 2 or argv[1] not in cmds:
        sys.stderr.write(__doc__ if __doc__ else 'usage: judge.py draw|sheet|score ...\n')
        return 2
    return cmds[argv[1]](argv[2:])


if __name__ == '__main__':
    sys.exit(main(sys.argv))
