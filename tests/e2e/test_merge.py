"""End-to-end tests of merging under Wine: a card file changed by another process
while the program learned is merged on Save, or replaced, or left; a conflicted
copy a sync client left beside a deck is merged into it at the open and goes to
the Recycle Bin (under Wine: out of its folder)."""

import unittest

from harness import ProgramTestCase, wait_until
from test_program import MOVE, SAVE, card_file

CAPTION = "Mnemoquill"
MERGE, REPLACE = "1070", "1071"
START = {1: [b"a", b"b", b"c", b"d"], 2: [b"e", b"f"], 3: [b"g"], 5: [b"h"]}


def deck_bytes(boxes):
    """A card is its question, or its question and its day."""
    def full(card):
        question, *day = card if isinstance(card, tuple) else (card,)
        return (question, question + b"!", b"", *day)
    return card_file({box: [full(card) for card in cards] for box, cards in boxes.items()})


# What another computer saved meanwhile: e moved up, a card added, h deleted.
THEIRS = {1: [b"a", b"b", b"c", b"d"], 2: [b"f"], 3: [b"g", (b"e", b"2026-12-01")],
          4: [b"added"]}


class MergeTest(ProgramTestCase):

    maxDiff = None

    def setUp(self):
        super().setUp()
        self.deck = self.workdir / "Deck.mqf"
        self.deck.write_bytes(deck_bytes(START))

    def command(self, command_id):
        self.probe.ok("command", command_id)
        self.probe.ok("ping")

    def boxes(self):
        cards = self.dump_cards(self.deck)
        return {box: sorted(c["question"] for c in cards if c["box"] == box) for box in range(7)
                if any(c["box"] == box for c in cards)}

    def learn_here_while_changed_there(self):
        """Two Moves here (a and b up to box 2), THEIRS saved behind the program's
        back, then Save: the text of the question it asks."""
        self.start_and_wait_for_dialog(str(self.deck))
        self.wait_for_title(b"Mnemoquill: Deck")
        self.command(MOVE)
        self.command(MOVE)
        self.deck.write_bytes(deck_bytes(THEIRS))
        self.command(SAVE)
        self.box("Save ?")
        self.answer("Save ?", "yes")
        owner, buttons, text = self.ubox(CAPTION)
        self.assertEqual((owner, buttons), ("dialog", ["&Merge", "&Replace", "Cancel"]))
        return text

    def test_merge_keeps_both_sides_learning_and_sums_it_up(self):
        text = self.learn_here_while_changed_there()
        self.assertTrue(text.startswith(
            "The card file was changed by another program since it was opened."), text)
        self.answer(CAPTION, MERGE)
        summary = self.ubox(CAPTION)[2]
        self.assertEqual(summary, "2 learned here, 1 learned there, 1 added, 1 removed, "
                                  "0 edited on both sides (both kept)")
        self.answer(CAPTION, "ok")
        self.probe.ok("ping")
        self.assertEqual(self.boxes(), {1: ["c", "d"], 2: ["a", "b", "f"], 3: ["e", "g"],
                                        4: ["added"]})
        # Saved: the next Save asks nothing about the file.
        self.command(SAVE)
        self.box("Save ?")
        self.answer("Save ?", "yes")
        self.assert_no_box(CAPTION)

    def test_replace_saves_the_program_deck_and_cancel_saves_nothing(self):
        self.learn_here_while_changed_there()
        theirs = self.deck.read_bytes()
        self.answer(CAPTION, "cancel")
        self.probe.ok("ping")
        self.assertEqual(self.deck.read_bytes(), theirs)
        self.command(SAVE)
        self.box("Save ?")
        self.answer("Save ?", "yes")
        self.box(CAPTION)
        self.answer(CAPTION, REPLACE)
        self.probe.ok("ping")
        self.assertEqual(self.boxes(), {1: ["c", "d"], 2: ["a", "b", "e", "f"], 3: ["g"],
                                        5: ["h"]})

    def test_a_conflicted_copy_is_merged_at_the_open_and_goes(self):
        copy = self.workdir / "Deck-LAPTOP.mqf"
        copy.write_bytes(deck_bytes({1: [b"b", b"c", b"d"], 2: [b"e", b"f", (b"a", b"2026-12-01")],
                                     3: [b"g"], 5: [b"h"], 0: [b"new"]}))
        lookalike = self.workdir / "Deck-GREEK.mqf"
        lookalike.write_bytes(deck_bytes({1: [b"alpha", b"beta", b"gamma"]}))
        self.start_and_wait_for_dialog(str(self.deck))
        owner, buttons, text = self.ubox(CAPTION)
        self.assertIn("Deck-LAPTOP.mqf", text)
        self.assertNotIn("Deck-GREEK.mqf", text)
        self.answer(CAPTION, "yes")
        self.assertEqual(self.ubox(CAPTION)[2], "0 learned here, 1 learned there, 1 added, "
                                                "0 removed, 0 edited on both sides (both kept)")
        self.answer(CAPTION, "ok")
        wait_until(lambda: not copy.exists())
        self.assertFalse(copy.exists())
        self.assertTrue(lookalike.exists())
        self.assertEqual(self.boxes(), {0: ["new"], 1: ["b", "c", "d"], 2: ["a", "e", "f"],
                                        3: ["g"], 5: ["h"]})


if __name__ == "__main__":
    unittest.main()
