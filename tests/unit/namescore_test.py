#!/usr/bin/env python3
# namescore_test.py - the measurement of generated names (tools/namescore.py) and the
# split of the reference names (tools/splitnames.py), on small inputs of their own.
#
#   python3 tests/unit/namescore_test.py
import contextlib
import io
import os
import stat
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # the test leaves nothing in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import namescore as ns  # noqa: E402
import splitnames  # noqa: E402


class Words(unittest.TestCase):
    def test_split_as_a_modeller_writes(self):
        self.assertEqual(ns.words('IKParent_L'), ['ik', 'l', 'parent'])
        self.assertEqual(ns.words('arm twist1_R'), ['1', 'arm', 'r', 'twist'])
        self.assertEqual(ns.words('Hair-02.x'), ['02', 'hair', 'x'])
        self.assertEqual(ns.words('XEyes'), ['eyes', 'x'])
        self.assertEqual(ns.words('HighlightOFF'), ['highlight', 'off'])
        self.assertEqual(ns.words('LeftHairRight'), ['hair', 'l', 'r'])
        self.assertEqual(ns.words('_ __'), [])

    def test_other_signs_are_words_of_their_own(self):
        self.assertEqual(ns.words('close><'), ['<', '>', 'close'])
        self.assertEqual(ns.words('Bangs[1]'), ['1', '[', ']', 'bangs'])
        self.assertEqual(ns.words('髪Hair'), ['hair', '髪'])


class Matching(unittest.TestCase):
    def test_order_case_separators_and_sides_ignored(self):
        for gen in ('Hair1_L', 'L_Hair1', 'LeftHair1', 'hair 1 left', 'HAIR_1_L'):
            self.assertTrue(ns.matches(gen, 'Hair1_L'), gen)

    def test_words_numbers_and_signs_count(self):
        for gen in ('Hair1_R', 'Hair01_L', 'Hair_L', 'HairTip1_L', 'Hairs1_L', 'Hair1_L_'):
            self.assertEqual(ns.matches(gen, 'Hair1_L'), gen == 'Hair1_L_', gen)
        self.assertFalse(ns.matches('Twintail', 'TwinTail'))
        self.assertFalse(ns.matches('close', 'close><'))

    def test_standard_names_only_exact(self):
        self.assertTrue(ns.matches('arm_L', '=arm_L'))
        for gen in ('Arm_L', 'arm_Left', 'L_arm', 'arm L'):
            self.assertFalse(ns.matches(gen, '=arm_L'), gen)


ROWS = [('bone', '左髪１', ['Hair1_L']),
        ('bone', '左腕', ['=arm_L']),
        ('bone', '剣', ['Sword']),
        ('morph', 'まばたき', ['=blink']),
        ('morph', '涙', ['Tears', 'Tear']),
        ('frame', '表情', ['=Exp'])]


class Score(unittest.TestCase):
    def test_tally_per_kind(self):
        got = {('bone', '左髪１'): 'LeftHair1', ('bone', '左腕'): 'Arm_L',
               ('bone', '剣'): 'Ken\u00e9', ('morph', 'まばたき'): 'blink',
               ('morph', '涙'): 'Tear', ('frame', '表情'): ''}
        tally, misses = ns.score(ROWS, got)
        self.assertEqual(tally['bone'], dict(names=3, match=1, bad=1, std=1, stdexact=0))
        self.assertEqual(tally['morph'], dict(names=2, match=2, bad=0, std=1, stdexact=1))
        self.assertEqual(tally['frame'], dict(names=1, match=0, bad=1, std=1, stdexact=0))
        self.assertEqual([m[1] for m in misses], ['左腕', '剣', '表情'])


class CommandLine(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, text):
        path = os.path.join(self.dir, name)
        with open(path, 'w', encoding='utf-8') as f:
            f.write(text)
        return path

    def run_main(self, *args):
        out, err = io.StringIO(), io.StringIO()
        with contextlib.redirect_stdout(out), contextlib.redirect_stderr(err):
            code = ns.main(['namescore.py'] + list(args))
        return code, out.getvalue() + err.getvalue()

    def refs(self, name='tuning.txt'):
        return self.write(name, '# refs\nbone\t剣\tSword|Blade\nbone\t盾\tShield\n'
                                'morph\tまばたき\t=blink\n')

    def test_target_met_and_missed(self):
        refs = self.refs()
        good = self.write('good', 'bone\t剣\tBlade\nbone\t盾\tShield\nmorph\tまばたき\tblink\n')
        code, out = self.run_main(refs, good, '--target', '90')
        self.assertEqual(code, 0, out)
        self.assertIn('bone     2 names: 100.0% match', out)
        half = self.write('half', 'bone\t剣\tKen\nbone\t盾\tShield\nmorph\tまばたき\tblink\n')
        code, out = self.run_main(refs, half, '--target', '50')
        self.assertEqual(code, 0, out)
        code, out = self.run_main(refs, half, '--target', '90')
        self.assertEqual(code, 1)
        self.assertNotIn('Ken', out)  # misses only on request

    def test_non_ascii_or_inexact_standard_fails_at_any_share(self):
        refs = self.refs()
        for gen in ('bone\t剣\tSword\nbone\t盾\tShield\u3000\nmorph\tまばたき\tblink\n',
                    'bone\t剣\tSword\nbone\t盾\tShield\nmorph\tまばたき\tBlink\n'):
            code, out = self.run_main(refs, self.write('gen', gen), '--target', '50')
            self.assertEqual(code, 1, gen)

    def test_misses_listed_on_the_tuning_half_only(self):
        gen = self.write('gen', 'bone\t剣\tKen\n')
        code, out = self.run_main(self.refs(), gen, '--misses')
        self.assertEqual(code, 0)
        self.assertIn('剣 -> Ken', out)
        self.assertIn('盾 -> None', out)
        code, out = self.run_main(self.refs('heldout.txt'), gen, '--misses')
        self.assertEqual(code, 2)
        self.assertNotIn('Ken', out)

    def test_malformed_references_refused(self):
        for text in ('bone\t剣\n', 'bones\t剣\tSword\n', 'bone\t剣\tA|B|C|D|E\n',
                     'bone\t剣\tSw\u00f6rd\n'):
            code, _ = self.run_main(self.write('bad.txt', text), os.devnull)
            self.assertEqual(code, 2, text)

    @unittest.skipIf(os.name != 'posix', 'the stand-in generator is a shell script')
    def test_generates_through_the_program(self):
        prog = self.write('gen.sh', '#!/bin/sh\n'
                          '[ "$1 $3" = "--dict --alias" ] || exit 3\n'
                          'while IFS="\t" read -r k j; do printf "%s\t%s\tShield\n" "$k" "$j"; done\n')
        os.chmod(prog, stat.S_IRWXU)
        dic = self.write('dict.txt', '')
        code, out = self.run_main(self.refs(), '--generate', prog, '--dict', dic,
                                  '--alias', dic, '--target', '40')
        self.assertEqual(code, 1, out)
        self.assertIn('bone     2 names:  50.0% match', out)
        code, out = self.run_main(self.refs(), '--generate', prog, '--dict',
                                  os.path.join(self.dir, 'none.txt'))
        self.assertEqual(code, 77, out)


class Split(unittest.TestCase):
    NAMES = ['%s\tname%d\tRef%d' % (kind, i, i) for kind in splitnames.KINDS for i in range(9)]

    def test_a_later_batch_moves_no_earlier_name(self):
        first = splitnames.split(self.NAMES)
        more = ['bone\tnew%d\tNew%d' % (i, i) for i in range(7)]
        tune, held = splitnames.split(self.NAMES + ['#== later'] + more)
        self.assertEqual(tune[:len(first[0])], first[0])
        self.assertEqual(held[:len(first[1])], first[1])
        self.assertEqual(sorted(tune[len(first[0]):] + held[len(first[1]):]), sorted(more))
        self.assertEqual(len(tune) - len(first[0]), 4)  # each kind of a batch halved



if __name__ == '__main__':
    unittest.main()
