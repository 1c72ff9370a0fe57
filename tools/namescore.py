#!/usr/bin/env python3
# namescore.py - how many generated English names match the references of
# tests/data/names (all.txt, tuning.txt or heldout.txt).
#
#   python3 tools/namescore.py REFS GENERATED [--misses] [--target PCT]
#   python3 tools/namescore.py REFS --generate NWNAMEGEN [--dict FILE] [--alias FILE]
#                              [--misses] [--target PCT]
#
# GENERATED holds lines "kind TAB japanese TAB english" as nwnamegen prints them ('-'
# reads standard input); with --generate, the names of REFS are passed through that
# program here. A generated name matches a reference when both have the same words:
# split at separators (space _ - .), where a lower-case letter meets a capital, before
# the last capital of a run followed by a lower-case letter (IKParent is IK Parent),
# and where letters meet digits; case ignored, order ignored, Left/Right the same as
# L/R. Any other sign counts as a word of its own. A reference starting with '=' is a
# standard name: only the same string matches it.
#
# Prints per kind the share of matching names, the names that are not printable ASCII
# and the standard names not given exactly; --misses lists the names that miss (refused
# on the held-out half, which is never tuned on). With --target, exit 1 when a kind is
# below PCT per cent, a name is not printable ASCII or a standard name is not exact.
# Exit 77 when --dict names a file that does not exist (the measurement is skipped).
# Standard library only.
import argparse
import os
import subprocess
import sys

KINDS = ('bone', 'morph', 'frame', 'material', 'rigid')
SEPARATORS = ' _-.'
SIDES = {'left': 'l', 'right': 'r'}


def words(name):
    """The words of a name, lower case, sides spelled L/R, sorted."""
    out = []
    cur = ''

    def flush():
        nonlocal cur
        if cur:
            w = cur.lower()
            out.append(SIDES.get(w, w))
        cur = ''

    for i, c in enumerate(name):
        if c in SEPARATORS:
            flush()
        elif c.isascii() and c.isalnum():
            if cur:
                p = cur[-1]
                nxt = name[i + 1] if i + 1 < len(name) else ''
                if (p.isdigit() != c.isdigit()
                        or (p.islower() and c.isupper())
                        or (p.isupper() and c.isupper() and nxt.isascii() and nxt.islower())):
                    flush()
            cur += c
        else:
            flush()
            out.append(c)
    flush()
    return sorted(out)


def matches(generated, ref):
    if ref.startswith('='):
        return generated == ref[1:]
    return words(generated) == words(ref)


def printable(name):
    return name != '' and all(' ' <= c <= '~' for c in name)


def readrefs(path):
    """[(kind, japanese, [refs])] in file order; raises ValueError on a bad line."""
    rows = []
    with open(path, encoding='utf-8') as f:
        for n, line in enumerate(f, 1):
            line = line.rstrip('\r\n')
            if not line.strip() or line.startswith('#'):
                continue
            cols = line.split('\t')
            if len(cols) != 3 or cols[0] not in KINDS or not cols[1] or not cols[2]:
                raise ValueError('%s:%d: not "kind TAB japanese TAB ref|ref..."' % (path, n))
            refs = cols[2].split('|')
            if not 1 <= len(refs) <= 4 or not all(printable(r) for r in refs):
                raise ValueError('%s:%d: one to four printable ASCII references' % (path, n))
            rows.append((cols[0], cols[1], refs))
    return rows


def readgenerated(lines):
    got = {}
    for line in lines:
        line = line.rstrip('\r\n')
        if not line or line.startswith('#'):
            continue
        cols = line.split('\t')
        if len(cols) >= 3:
            got[(cols[0], cols[1])] = cols[2]
    return got


def score(rows, got):
    """Per kind: names, matches, not printable ASCII, standard, standard exact; misses."""
    tally = {k: dict(names=0, match=0, bad=0, std=0, stdexact=0) for k in KINDS}
    misses = []
    for kind, jp, refs in rows:
        t = tally[kind]
        gen = got.get((kind, jp))
        t['names'] += 1
        if gen is None or not printable(gen):
            t['bad'] += 1
        if any(r.startswith('=') for r in refs):
            t['std'] += 1
            t['stdexact'] += gen is not None and any(r.startswith('=') and gen == r[1:] for r in refs)
        if gen is not None and any(matches(gen, r) for r in refs):
            t['match'] += 1
        else:
            misses.append((kind, jp, gen, refs))
    return tally, misses


def generate(rows, program, dictpath, aliaspath):
    cmd = [program]
    if dictpath:
        cmd += ['--dict', dictpath]
    if aliaspath:
        cmd += ['--alias', aliaspath]
    text = ''.join('%s\t%s\n' % (kind, jp) for kind, jp, _ in rows)
    run = subprocess.run(cmd, input=text.encode('utf-8'), stdout=subprocess.PIPE)
    if run.returncode != 0:
        raise RuntimeError('%s exited with %d' % (' '.join(cmd), run.returncode))
    return run.stdout.decode('utf-8', errors='replace').splitlines()


def main(argv):
    ap = argparse.ArgumentParser(prog='namescore.py', description='Scores generated names.')
    ap.add_argument('refs')
    ap.add_argument('generated', nargs='?')
    ap.add_argument('--generate', metavar='NWNAMEGEN')
    ap.add_argument('--dict')
    ap.add_argument('--alias')
    ap.add_argument('--misses', action='store_true')
    ap.add_argument('--target', type=float)
    a = ap.parse_args(argv[1:])
    if (a.generated is None) == (a.generate is None):
        ap.error('give GENERATED or --generate')
    if a.misses and os.path.basename(a.refs) == 'heldout.txt':
        print('namescore: the misses of the held-out half are not shown', file=sys.stderr)
        return 2
    try:
        rows = readrefs(a.refs)
    except (OSError, ValueError) as e:
        print('namescore: %s' % e, file=sys.stderr)
        return 2
    if a.generate is not None:
        if a.dict and not os.path.exists(a.dict):
            print('namescore: skipped, no dictionary %s' % a.dict)
            return 77
        try:
            lines = generate(rows, a.generate, a.dict, a.alias)
        except (OSError, RuntimeError) as e:
            print('namescore: %s' % e, file=sys.stderr)
            return 2
    elif a.generated == '-':
        lines = sys.stdin.read().splitlines()
    else:
        with open(a.generated, encoding='utf-8', errors='replace') as f:
            lines = f.read().splitlines()
    tally, misses = score(rows, readgenerated(lines))

    if a.misses:
        for kind, jp, gen, refs in misses:
            print('miss %-5s %s -> %s   [%s]' % (kind, jp, gen, '|'.join(refs)))
    ok = True
    for kind in KINDS:
        t = tally[kind]
        if t['names'] == 0:
            continue
        share = 100.0 * t['match'] / t['names']
        line = '%-5s %4d names: %5.1f%% match, %d not printable ASCII, %d/%d standard exact' % (
            kind, t['names'], share, t['bad'], t['stdexact'], t['std'])
        if a.target is not None:
            line += ' (target %.0f%%)' % a.target
            if share < a.target or t['bad'] or t['stdexact'] != t['std']:
                ok = False
                line += '  FAILS'
        print(line)
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main(sys.argv))
