#!/usr/bin/env python3
# gendict_test.py - the dictionary generator on small hand-made inputs (no Debian
# dictionary needed): the hand-written source, glosses, word forms, loanwords, which
# entries are kept, precedence, and the file the program reads.
#
#   python3 tests/unit/gendict_test.py
import os
import sys
import unittest

sys.dont_write_bytecode = True  # the test leaves nothing in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
from tools.gendict import cedict, edict, kana, kanjidic, output, vocab  # noqa: E402

WORDS = {'vest', 'best', 'cable', 'surprised', 'surprise', 'line', 'of', 'sight', 'gaze',
         'bare', 'feet', 'new', 'zambia', 'japanese', 'clothes', 'blank', 'hair', 'head',
         'shout', 'cry', 'thick', 'fat', 'before', 'ahead', 'tip', 'end', 'elementary',
         'naked', 'sweet', 'sweetly', 'broad', 'broadly', 'laugh', 'smile', 'equipment',
         'device', 'body'}


def entry(word, reading, body):
    return (word, reading, body)


class HandSource(unittest.TestCase):
    def test_fields_kinds_and_alternatives(self):
        got = vocab.parsehand('# comment\n\nmb  W  視線\tgaze | line  of sight\n'
                              'bmf S 左 L\n')
        self.assertEqual([(e.kinds, e.cls, e.japanese, e.english) for e in got],
                         [('bm', 'W', '視線', ['gaze', 'line of sight']),
                          ('bmf', 'S', '左', ['L'])])

    def test_a_full_width_space_belongs_to_the_japanese(self):
        got = vocab.parsehand('bmf W 前　髪 bangs\n')
        self.assertEqual(got[0].japanese, '前　髪')

    def test_malformed_lines_and_repeated_keys_are_refused_with_their_line(self):
        for text in ('bmf W 髪\n', 'x W 髪 hair\n', 'bmf Q 髪 hair\n', 'bmf W 髪 hair |\n',
                     'b W 髪 hair\nbm W 髪 hair2\n'):
            with self.assertRaises(ValueError) as cm:
                vocab.parsehand(text, 'in')
            self.assertIn('in:', str(cm.exception))
        # Other kinds or another class make another key.
        self.assertEqual(len(vocab.parsehand('b N 腰 waist\nf N 腰 Waist\nbmf W 腰 waist\n')), 3)


class Glosses(unittest.TestCase):
    def test_plain_words_only(self):
        self.assertEqual(edict.english('to be surprised', WORDS, verb=True), 'surprised')
        # Possessives and articles go; 'x of y' reads as a name does.
        self.assertEqual(edict.english("one's line of sight", WORDS), 'sight line')
        self.assertEqual(edict.english('top of the head', WORDS | {'top'}), 'head top')
        self.assertEqual(edict.english("to open one's eyes wide", WORDS | {'open', 'eyes', 'wide'},
                                       verb=True), 'open eyes wide')
        self.assertEqual(edict.english('bare feet (e.g. of a child)', WORDS), 'bare feet')
        # A state as its adjective; a feeling of something stays a noun.
        self.assertEqual(edict.english('being linked (to)', WORDS | {'linked'}), 'linked')
        self.assertEqual(edict.english('feeling sick', WORDS | {'sick'}), 'sick')
        self.assertEqual(edict.english('feeling of relief', WORDS | {'relief', 'feeling'}),
                         'relief feeling')
        self.assertEqual(edict.english('being', WORDS | {'being'}), 'being')
        self.assertIsNone(edict.english('bare feet, etc.', WORDS))
        self.assertIsNone(edict.english('Zambia', WORDS))          # a proper name
        self.assertIsNone(edict.english('new-fangled', WORDS))     # not in the word list
        self.assertIsNone(edict.english('line of sight of head', WORDS))  # too long

    def test_the_reading_in_romaji_counts_as_english_after_english(self):
        self.assertEqual(edict.english('zori (Japanese sandals)', WORDS, reading='ぞうり'), 'zori')
        self.assertIsNone(edict.english('zori', WORDS, reading='げた'))
        sl = edict.senses('(n) boryokudan/gangster organization')
        self.assertEqual(edict.glosses('暴力団', sl, WORDS | {'gangster', 'organization'},
                                       reading='ぼうりょくだん'),
                         ['gangster organization', 'boryokudan'])

    def test_senses_and_their_tags(self):
        sl = edict.senses('(n,vs) (1) blink (of eyes)/wink/(n) (2) twinkling/(P)')
        self.assertEqual(sl, [({'n', 'vs'}, ['blink (of eyes)', 'wink']),
                              ({'n'}, ['twinkling'])])

    def test_a_word_takes_its_first_sense_then_one_of_the_next(self):
        sl = edict.senses('(n) (1) equipment/device/(n) (2) body/(n) (3) smile')
        self.assertEqual(edict.glosses('装置', sl, WORDS), ['equipment', 'device', 'body'])
        sl = edict.senses('(arch) (n) (1) head/(n) (2) tip/end')
        self.assertEqual(edict.glosses('先', sl, WORDS), ['tip', 'end'])

    def test_loanword_takes_the_gloss_it_sounds_like_a_thing_first(self):
        sl = edict.senses('(adj-na) (1) best/(n) (2) vest/(P)')
        self.assertEqual(edict.glosses('ベスト', sl, WORDS, lambda e: e == 'vest')[0], 'vest')
        sl = edict.senses('(n) (1) smile/(n) (2) surprise/head')
        # Sounding like none of them, it keeps the order of its senses.
        self.assertEqual(edict.glosses('ケーブル', sl, WORDS), ['smile', 'surprise'])

    def test_adverb_of_a_sound_gives_its_adjective(self):
        sl = edict.senses('(adv,on-mim) blankly')
        self.assertEqual(edict.glosses('きょとん', sl, WORDS), ['blank'])
        # With WordNet's adjectives: the adjective the adverb comes from, not a noun
        # hidden in it (gently is no gent), nor the -ly of an adjective (orderly).
        words = WORDS | {'gent', 'gentle', 'noisy', 'order', 'orderly', 'trudging'}
        adjs = {'blank', 'gentle', 'noisy', 'orderly'}
        self.assertEqual(edict.adverb('blankly', words, adjs), 'blank')
        self.assertEqual(edict.adverb('gently', words, adjs), 'gentle')
        self.assertEqual(edict.adverb('noisily', words, adjs), 'noisy')
        self.assertIsNone(edict.adverb('orderly', words, adjs))
        self.assertEqual(edict.adverb('trudgingly', words, adjs), 'trudging')
        sl = edict.senses('(adv,on-mim) gently/softly')
        self.assertEqual(edict.glosses('ふんわり', sl, words, adjs=adjs), ['gentle'])


class Forms(unittest.TestCase):
    def test_verbs_and_adjectives(self):
        self.assertEqual(edict.forms('驚く', {'v5k'}), ['驚く', '驚き'])
        self.assertEqual(edict.forms('驚く', {'v5k', 'vi'}, True), ['驚く', '驚き', '驚いた', '驚いて'])
        self.assertEqual(edict.forms('閉じる', {'v1'}, True), ['閉じる', '閉じ', '閉じた', '閉じて'])
        self.assertEqual(edict.forms('泳ぐ', {'v5g'}, True), ['泳ぐ', '泳ぎ', '泳いだ', '泳いで'])
        self.assertEqual(edict.forms('叫ぶ', {'v5b'}), ['叫ぶ', '叫び'])
        self.assertEqual(edict.forms('太い', {'adj-i'}, True), ['太い', '太く', '太め', '太そう'])
        self.assertEqual(edict.forms('髪', {'n'}, True), ['髪'])

    def test_romaji_and_what_fits(self):
        self.assertEqual(kana.romaji('ケーブル'), 'keburu')
        self.assertEqual(kana.romaji('しゃ'), 'shiya')  # rough, for sounds only
        self.assertTrue(kana.fits('髪'))
        self.assertTrue(kana.fits('♡发'))               # no Shift-JIS code needed
        self.assertTrue(kana.fits('あ' * 32))
        self.assertFalse(kana.fits('あ' * 33))
        self.assertFalse(kana.fits('髪\x7f'))

    def test_the_romaji_of_a_reading_as_the_program_spells_kana(self):
        for reading, want in (('ハツネ', 'hatsune'), ('キョウコ', 'kyouko'), ('シャーリー', 'shari'),
                              ('マッチ', 'matchi'), ('イッセイ', 'issei'), ('ジュン', 'jun'),
                              ('ハツネ１', '')):
            self.assertEqual(kana.hepburn(reading), want, reading)


class Words(unittest.TestCase):
    ENTRIES = [
        entry('叫ぶ', 'さけぶ', '(v5b,vi) (1) to shout/to cry/(P)'),
        entry('先', 'さき', '(n) (1) before/ahead/(P)'),
        entry('先', 'さき', '(n) (1) tip/(P)'),
        entry('髪型', 'かみがた', '(n) hair/(P)'),
        entry('長髪型頭', 'ながかみ', '(n) hair'),               # rare and long
        entry('長髪型', None, '(n) hair'),                       # rare, three kanji
        entry('輪っか', None, '(n) head'),                       # rare, three with kana
        entry('ケーブル', None, '(n) cable/(P)'),
        entry('瞬き', 'まばたき', '(n,vs) (1) blink/wink'),
        entry('素足', 'すあし', '(uk) (n) bare feet'),
        entry('あほ', None, '(n) smile/(P)'),                    # two hiragana
        entry('左手', 'ひだりて', '(n) left hand/(P)'),
        entry('老婆', 'ろうば', '(n) (derog) head'),
        entry('にっこり', None, '(adv,on-mim) sweetly (smiling)/broadly (grinning)/(P)'),
    ]

    def test_what_is_kept_and_in_which_spellings(self):
        got = vocab.edictwords(self.ENTRIES, WORDS, lambda e: False)
        self.assertEqual(got['叫ぶ'], ['shout', 'cry'])
        self.assertEqual(got['叫び'], ['shout', 'cry'])       # the noun form
        self.assertEqual(got['さけび'], ['shout', 'cry'])     # a common word's reading
        self.assertEqual(got['すあし'], ['bare feet'])        # usually written in kana
        self.assertEqual(got['ケーブル'], ['cable'])
        self.assertEqual(got['にっこり'], ['sweet', 'broad'])
        self.assertEqual(got['輪っか'], ['head'])
        for absent in ('先', '長髪型頭', '長髪型', 'あほ', '左手', '老婆', 'まばたき'):
            self.assertNotIn(absent, got)                     # see the entries' notes

    def test_names_keep_their_digits_and_a_part_keeps_its_place(self):
        entries = [entry('２', 'に', '(num) two/(P)'), entry('アホ毛２', None, '(n) hair/(P)'),
                   entry('目上', None, '(n) superior/(P)'), entry('目線上', None, '(n) line/(P)'),
                   entry('目元', None, '(n) head/(P)'), entry('上目', None, '(n) before/(P)'),
                   entry('舌根', None, '(n) tongue/(P)'), entry('肩上げ', None, '(n) tuck/(P)'),
                   entry('口寄せ', None, '(n) spiritualism/(P)'),
                   entry('立ち上がり', None, '(n) rise/(P)')]
        got = vocab.edictwords(entries, WORDS | {'two', 'superior', 'tongue', 'tuck', 'rise',
                                                 'spiritualism'},
                               lambda e: False, {'目', '目線', '舌', '肩', '口', '立ち'})
        self.assertEqual(sorted(got), ['上目', '目元', '立ち上がり'])

    def test_a_thing_worn_of_four_characters_is_kept_though_rare(self):
        got = vocab.edictwords(self.ENTRIES, WORDS, lambda e: e == 'hair')
        self.assertIn('長髪型頭', got)

    def test_kanji_take_a_short_meaning(self):
        self.assertEqual(kanjidic.meaning(['hair of the head'], WORDS), ['hair'])
        self.assertEqual(kanjidic.meaning(['elementary', 'naked', 'principle'], WORDS),
                         ['elementary', 'naked'])
        self.assertEqual(kanjidic.meaning(['be in agony', 'be surprised'], WORDS), ['surprised'])
        got = vocab.kanjientries([('素', ['elementary'], 660), ('♡', ['heart'], None),
                                  ('黌', ['xyzzy'], None)], WORDS)
        self.assertEqual(got, {'素': ['elementary']})


class Building(unittest.TestCase):
    def test_hand_written_entries_win_and_everything_comes_sorted(self):
        hand = vocab.parsehand('b W 先 tip\nbmf S 左 L\nbmf W 素足 bare legs\n'
                               'b N 左腕 arm_L\n')
        kanji = [('先', ['before'], 1), ('左', ['left'], 1), ('素', ['elementary'], 1)]
        entries = [entry('素足', 'すあし', '(n) bare feet'), entry('叫ぶ', 'さけぶ', '(v5b) to shout')]
        got = [(e.kinds, e.cls, e.japanese, e.english)
               for e in vocab.build(hand, entries, kanji, WORDS, set())]
        self.assertEqual(got, [
            ('b', 'N', '左腕', ['arm_L']),
            ('bmf', 'S', '左', ['L']),
            ('b', 'W', '先', ['tip']),
            ('bmf', 'W', '叫び', ['shout']),
            ('bmf', 'W', '叫ぶ', ['shout']),
            ('bmf', 'W', '叫んだ', ['shout']),   # the past of a verb of one kanji
            ('bmf', 'W', '叫んで', ['shout']),   # and its -te form
            ('bmf', 'W', '素足', ['bare legs']),
            ('mf', 'K', '先', ['before']),      # the kinds the hand-written word leaves
            ('bmf', 'K', '素', ['elementary']),
        ])


    def test_hand_written_words_bring_their_forms_and_other_kana(self):
        hand = vocab.parsehand('bmf W 太い thick\nm W にやり grin\nm W ニヤリ smirk\n'
                               'bmf W へそ navel\nbmf W の -\n')
        entries = [entry('太い', 'ふとい', '(adj-i) fat/(P)'), entry('にやり', None, '(adv) broadly')]
        got = {(e.kinds, e.japanese): e.english
               for e in vocab.build(hand, entries, [], WORDS, set())}
        self.assertEqual(got[('bmf', '太く')], ['thick'])      # EDICT's fat gives way
        self.assertEqual(got[('bmf', '太そう')], ['thick'])
        self.assertEqual(got[('m', 'ニヤリ')], ['smirk'])     # written by hand: kept
        self.assertNotIn(('bmf', 'ヘソ'), got)                  # two kana: not mirrored
        self.assertEqual(got[('bmf', 'の')], ['-'])
        self.assertNotIn(('bmf', 'にやり'), got)                # the hand-written m only

    def test_a_hand_written_stem_brings_its_verb(self):
        hand = vocab.parsehand('m W 下げ down\nm W ひそめ frown\nbmf W かみ hair\n')
        entries = [entry('下げる', 'さげる', '(v1,vt) (1) to hang/(2) to lower/(P)'),
                   entry('顰める', 'ひそめる', '(uk) (v1,vt) to knit (brows)'),
                   entry('噛む', 'かむ', '(v5m,vt) (uk) to bite/(P)')]
        got = {(e.kinds, e.japanese): e.english
               for e in vocab.build(hand, entries, [], WORDS | {'hang', 'lower', 'bite'},
                                    {'down'})}
        self.assertEqual(got[('m', '下げる')], ['down'])        # not EDICT's hang (nor feathers)
        self.assertEqual(got[('m', '下げた')], ['down'])
        self.assertEqual(got[('m', '下げて')], ['down'])
        self.assertEqual(got[('m', 'ひそめる')], ['frown'])     # by the reading in kana
        self.assertNotIn(('bmf', 'かむ'), got)                  # two kana: a noun

    def test_sounds_of_morphs_are_cut_and_drawn_out_and_kana_words_come_in_katakana(self):
        hand = vocab.parsehand('m W ぷくっ puff\nm W ドヤ smug\nm W むー pout\n'
                               'm W ぷく pout\nbmf W アクセ accessory\nm W じとっ doubt\n'
                               'bmf W キラキラ sparkle\n')
        entries = [entry('涎', 'よだれ', '(uk) (n) drool/(P)'),
                   entry('ベスト', None, '(n) vest/(P)'), entry('べすと', None, '(uk) (n) best'),
                   entry('矢張り', 'やはり', '(uk) (adv) best/(P)'),
                   entry('わくわく', None, '(adv,on-mim) excited/(P)')]
        got = {(e.kinds, e.japanese): e.english
               for e in vocab.build(hand, entries, [], WORDS | {'drool', 'excited'}, set())}
        self.assertEqual(got[('m', 'ぷくっ')], ['puff'])
        self.assertEqual(got[('m', 'ぷく')], ['pout'])        # written by hand: kept
        self.assertEqual(got[('m', 'プクッ')], ['puff'])      # the other kana, cut too
        self.assertEqual(got[('m', 'ぷくー')], ['puff'])      # or drawn out
        self.assertEqual(got[('m', 'ドヤッ')], ['smug'])
        self.assertEqual(got[('m', 'ドヤァ')], ['smug'])      # a small vowel of its row
        self.assertEqual(got[('m', 'むーっ')], ['pout'])
        self.assertNotIn(('m', 'むーぅ'), got)                # no vowel after a long mark
        self.assertNotIn(('m', 'じと'), got)                  # two kana left: not cut
        self.assertNotIn(('m', 'アクセッ'), got)              # words of every kind are left
        self.assertEqual(got[('m', 'キラ')], ['sparkle'])     # a doubled sound once
        self.assertEqual(got[('m', 'きら')], ['sparkle'])
        self.assertEqual(got[('bmf', 'ヨダレ')], ['drool'])   # a noun usually in kana
        self.assertEqual(got[('bmf', 'ベスト')], ['vest'])    # a loanword keeps its sense
        self.assertNotIn(('bmf', 'ヤハリ'), got)              # an adverb is not mirrored
        self.assertEqual(got[('bmf', 'ワクワク')], ['excited'])  # but a sound is


class Chinese(unittest.TestCase):
    def test_glosses_of_names_and_references_are_left_out(self):
        words = WORDS | {'skirt', 'hem', 'pendulum', 'arrange', 'empress', 'back', 'rear'}
        self.assertEqual(cedict.english(['(bound form) skirt'], words), ['skirt'])
        self.assertEqual(cedict.english(['surname Hou', 'variant of 後[hou4]', 'back; rear'],
                                        words), ['back', 'rear'])
        # A thing before a verb: a name names a thing.
        self.assertEqual(cedict.english(['(literary) hem', 'to arrange', 'a pendulum'], words),
                         ['pendulum', 'arrange'])

    def test_both_scripts_and_proper_names_left_out(self):
        words = WORDS | {'hair', 'send', 'out', 'skirt', 'cape'}
        entries = [('發', '发', 'fa1', ['to send out']), ('髮', '发', 'fa4', ['hair']),
                   ('髮', '发', 'Fa4', ['Fa (name)']), ('裙', '裙', 'qun2', ['skirt']),
                   ('披風', '披风', 'pi1 feng1', ['cape']), ('右侧', '右侧', 'you4 ce4', ['cape']),
                   ('一二三四五', '一二三四五', 'yi1', ['hair'])]
        self.assertEqual(cedict.chinesewords(entries, words), {
            '發': ['send out'], '发': ['send out', 'hair'], '髮': ['hair'],
            '裙': ['skirt'], '披風': ['cape'], '披风': ['cape']})


class Languages(unittest.TestCase):
    def test_the_kinds_may_name_a_language(self):
        got = vocab.parsehand('bmfc W 后 back\nbmf W 后 queen\nbj W 先 tip\n')
        self.assertEqual([(e.kinds, e.lang, e.japanese) for e in got],
                         [('bmf', 'c', '后'), ('bmf', '', '后'), ('b', 'j', '先')])
        for text in ('bjc W 后 back\n', 'c W 后 back\n', 'bmfc W 后 back\nbc W 后 rear\n'):
            with self.assertRaises(ValueError):
                vocab.parsehand(text, 'in')

    def test_a_repeat_in_another_file_is_refused_with_both_places(self):
        seen = {}
        vocab.parsehand('bc W 后 back\n', 'a.in', seen)
        with self.assertRaises(ValueError) as cm:
            vocab.parsehand('\nbc W 后 rear\n', 'b.in', seen)
        self.assertIn('b.in:2', str(cm.exception))
        self.assertIn('a.in:1', str(cm.exception))

    def test_hand_written_entries_replace_the_generated_ones_of_their_language(self):
        hand = vocab.parsehand('bmfc W 后 back\nbmf W 先 tip\n')
        kanji = [('后', ['empress'], 1), ('先', ['before'], 1)]
        chinese = {'后': ['empress'], '先': ['first'], '裙': ['skirt'], '手套': ['glove']}
        got = [(e.kinds + e.lang, e.cls, e.japanese, e.english)
               for e in vocab.build(hand, [], kanji, WORDS | {'empress'}, set(), chinese)]
        self.assertEqual(got, [
            ('bmf', 'W', '先', ['tip']),       # both languages: CC-CEDICT's first gives way
            ('bmfc', 'W', '后', ['back']),
            ('bmfc', 'W', '手套', ['glove']),
            ('bmfj', 'K', '后', ['empress']),  # KANJIDIC's stays for Japanese names
            ('bmfc', 'K', '裙', ['skirt']),
        ])


class Output(unittest.TestCase):
    def test_problems(self):
        ok = vocab.Entry('bmf', 'W', '髪', ['hair', 'locks'])
        self.assertIsNone(output.problem(ok))
        self.assertIsNone(output.problem(vocab.Entry('b', 'W', '♡', ['heart'])))
        for bad in (vocab.Entry('b', 'W', '', ['heart']),
                    vocab.Entry('b', 'W', '髪', ['hair  do']),
                    vocab.Entry('b', 'W', '髪', ['héir']),
                    vocab.Entry('b', 'W', '#髪', ['hair']),
                    vocab.Entry('b', 'S', '左', ['left'])):
            self.assertIsNotNone(output.problem(bad), bad)

    def test_the_file_the_program_reads(self):
        text = output.text([vocab.Entry('bmf', 'W', '髪', ['hair', 'locks']),
                            vocab.Entry('bmf', 'W', '发', ['hair'], 'c')])
        body = [l for l in text.split('\n') if l and not l.startswith('#')]
        self.assertEqual(body, ['namewright-dictionary 2', 'bmf\tW\t髪\thair | locks',
                                'bmfc\tW\t发\thair'])
        self.assertIn('CC BY-SA 4.0', text)
        self.assertTrue(text.endswith('\n'))


if __name__ == '__main__':
    unittest.main()
