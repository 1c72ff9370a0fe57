#!/usr/bin/env python3
# genalias_test.py - the rule generator's own pieces, on small hand-made inputs (no
# dictionary needed): spelling variants, word forms, glosses, ranking, the review.
#
#   python3 tests/unit/genalias_test.py
import os
import sys
import unittest

sys.dont_write_bytecode = True  # the test leaves nothing in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
import genalias as g  # noqa: E402

WORDS = {'vest', 'best', 'headset', 'thorium', 'blank', 'blankly', 'surprised', 'new',
         'zambia', 'japanese', 'clothes', 'center', 'of', 'gravity', 'bag'}
ROMAJI = {'ベ': 'be', 'ス': 'su', 'ト': 'to', 'ヘ': 'he', 'ッド': 'ddo', 'セ': 'se',
          'ット': 'tto', 'ッ': '', 'ド': 'do'}


class Spellings(unittest.TestCase):
    def test_halfwidth_katakana_with_voiced_marks(self):
        self.assertEqual(g.halfwidth('ケーブル'), 'ｹｰﾌﾞﾙ')
        self.assertEqual(g.halfwidth('パニエ'), 'ﾊﾟﾆｴ')
        self.assertEqual(g.halfwidth('ヴォ'), 'ｳﾞｫ')
        self.assertIsNone(g.halfwidth('ヶ'))      # no half-width form
        self.assertIsNone(g.halfwidth('ケーブル線'))

    def test_other_kana(self):
        self.assertEqual(g.otherkana('びっくり'), 'ビックリ')
        self.assertEqual(g.otherkana('ニヤリ'), 'にやり')
        self.assertIsNone(g.otherkana('ケーブル'))  # the long mark has no hiragana
        self.assertIsNone(g.otherkana('笑い'))

    def test_small_tsu_before_a_pair(self):
        rules = [('しゅ', 'shu', ''), ('ちゃ', 'cha', ''), ('ティ', 'ti', ''), ('にゃ', 'nya', ''),
                 ('っしゅ', 'sshu', ''), ('ウィ', 'wi', ''), ('ボーン', 'Bone', ''), 'words']
        self.assertEqual(dict(g.doubled(rules)), {'っちゃ': 'tcha', 'ッティ': 'tti'})


class Forms(unittest.TestCase):
    def test_verbs_and_adjectives(self):
        self.assertEqual(g.forms('驚く', {'v5k'}), ['驚く', '驚き'])
        self.assertEqual(g.forms('驚く', {'v5k'}, True), ['驚く', '驚き', '驚いた'])
        self.assertEqual(g.forms('閉じる', {'v1'}, True), ['閉じる', '閉じ', '閉じた'])
        self.assertEqual(g.forms('飛ぶ', {'v5b'}, True), ['飛ぶ', '飛び', '飛んだ'])
        self.assertEqual(g.forms('太い', {'adj-i'}, True), ['太い', '太く', '太め'])
        self.assertEqual(g.forms('恐ろしい', {'adj-i'}, True), ['恐ろしい', '恐ろしく'])
        self.assertEqual(g.forms('髪', {'n'}, True), ['髪'])


class Glosses(unittest.TestCase):
    def test_plain_short_english_only(self):
        self.assertEqual(g.english('to be surprised', WORDS, verb=True), 'Surprised')
        self.assertEqual(g.english('centre of gravity (center)', WORDS), None)
        self.assertEqual(g.english('center of gravity', WORDS), 'CenterOfGravity')
        self.assertEqual(g.english('Japanese clothes', WORDS), 'JapaneseClothes')
        self.assertIsNone(g.english('Zambia', WORDS))           # a proper name
        self.assertIsNone(g.english('new-fangled', WORDS))     # not a word of the list

    def test_loanword_takes_the_gloss_it_sounds_like_a_thing_first(self):
        wordnet = {('vest', 'noun'): {6}, ('best', 'adj'): {0}, ('best', 'noun'): {7}}
        senses = [({'adj-na'}, ['best']), ({'n'}, ['vest'])]
        self.assertEqual(g.entryname('ベスト', senses, WORDS, wordnet, ROMAJI)[0], 'Vest')

    def test_adverb_gives_its_adjective(self):
        senses = [({'adv', 'on-mim'}, ['blankly'])]
        got = g.entryname('きょとん', senses, WORDS, {('blank', 'adj'): {0}}, ROMAJI)
        self.assertEqual(got[:2], ('Blank', 'adj'))


class Ranking(unittest.TestCase):
    def test_sections_want_their_own_words(self):
        cable = g.Word('ケーブル', 'Cable', common=True, cls='part', kana=True, worn=True)
        sad = g.Word('悲しい', 'Sad', common=True, cls='look', basic=True)
        self.assertGreater(g.score('bone', cable), g.score('bone', sad))
        self.assertGreater(g.score('morph', sad), g.score('morph', cable))

    def test_a_rare_thing_worn_beats_a_common_word_of_nothing_worn(self):
        headset = g.Word('ヘッドセット', 'Headset', cls='part', kana=True, worn=True)
        thorium = g.Word('トリウム', 'Thorium', common=True, cls='part', kana=True)
        self.assertGreater(g.score('bone', headset), g.score('bone', thorium))

    def test_hand_written_spellings_first_and_half_width_after(self):
        full = g.Word('ケーブル', 'Cable', common=True, cls='part', kana=True)
        hand = g.Word('ﾎﾞｰﾝ', 'Bone', hand=True)
        self.assertGreater(g.score('bone', hand), g.score('bone', full))
        self.assertLess(g.score('bone', full.variant('ｹｰﾌﾞﾙ', half=True)), g.score('bone', full))

    def test_pick_leaves_out_shadowing_and_redundant_words(self):
        words = [g.Word('紙袋', 'PaperBag', common=True), g.Word('ティー', 'Tee', common=True),
                 g.Word('ティ', 'Tea', common=True), g.Word('衣装', 'Costume', common=True),
                 g.Word('衣装', 'Clothing', cls='look')]
        render = {'紙袋': 'PaperBag'}.get
        got = g.pickwords(words, 'bone', 10, {'テ': ['ティ']}, lambda t: render(t, '?'))
        self.assertEqual(got, [('衣装', 'Costume', ''), ('ティー', 'Tee', '')])
        self.assertEqual(len(g.pickwords(words, 'bone', 1, {}, lambda t: '?')), 1)


class Review(unittest.TestCase):
    def section(self, rules):
        sec = g.Section()
        for src, rep in rules:
            sec.add(g.sjis(src), g.sjis(rep), '')
        sec.index()
        return sec

    def test_flags_glued_dictionary_words_romaji_and_the_catch_all(self):
        sec = self.section([('？', '_'), ('わ', 'wa'), ('ら', 'ra'), ('い', 'i'), ('調', 'Tune'),
                            ('整', 'Organize'), ('頬', 'Cheek'), ('赤', 'Red'), ('笑', 'Smile'),
                            ('左', '_L')])
        heads = {'調整'}
        self.assertEqual(g.review(sec, '調整', heads), ('G', '調=Tune 整=Organize'))
        self.assertEqual(g.review(sec, '頬赤左', heads)[0], '')   # not a dictionary word
        self.assertEqual(g.review(sec, '笑わらい', heads)[0], 'R')
        self.assertEqual(g.review(sec, 'わらい', heads)[0], '')    # romaji alone is honest
        self.assertEqual(g.review(sec, '黌', heads)[0], '_')


if __name__ == '__main__':
    unittest.main()
