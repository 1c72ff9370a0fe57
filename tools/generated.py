# generated.py - what every generator of a checked-in file shares: print the file, or
# with --check FILE compare it with what is checked in (CI fails on a stale file).
import sys


def stale(tool, path, text, encoding, source):
    """1 with a message when the file at path is not text, else 0."""
    try:
        with open(path, encoding=encoding, newline='') as f:
            current = f.read()
    except OSError as e:
        print('%s: %s' % (tool, e), file=sys.stderr)
        return 1
    if current != text:
        print('%s: %s differs from what %s generates; regenerate it' % (tool, path, source),
              file=sys.stderr)
        return 1
    return 0


def main(argv, tool, text, encoding='ascii', source=None):
    """No arguments: text to standard output. --check FILE: 0 when FILE holds text.
    source names the generator in messages (tools/<tool>.py unless given)."""
    source = source or 'tools/%s.py' % tool
    if len(argv) == 3 and argv[1] == '--check':
        return stale(tool, argv[2], text, encoding, source)
    if len(argv) != 1:
        print('usage: %s [--check FILE]' % source, file=sys.stderr)
        return 2
    sys.stdout.write(text)
    return 0
