"""End-to-end tests of Type the Answer under Wine: the mode switched on, answers
typed into the entry and checked with Enter, the verdict read back from the result
line, Enter again pressing the button the verdict suggests, and the mode kept after
a restart."""

import unittest

from harness import MF_CHECKED, ProgramTestCase, wait_until
from test_program import ANSWER, COUNTS, QUESTION, RADIOS, card_file

TYPE_ANSWER = 40024
ENTRY, RESULT = 1060, 1061

# Box 2 front to back, so that Back has a box to send a card to.
DECK = card_file({2: [(b"eins", b"one", b"Zahl"),
                      (b"Haus", b"house", b"Nomen"),
                      (b"porta", b"gate, door", b"noun"),
                      (b"Elite", b"\xe9lite", b"Nomen"),
                      (b"Hund", b"dog", b"Tier")]})


class TypedAnswerTest(ProgramTestCase):

    def counts(self):
        return [int(self.text(c) or b"-1") for c in COUNTS[:2]]

    def check(self, question, typed, verdict, revealed, counts):
        """Types an answer to the card in front, checks it with Enter, and with Enter
        again presses the button the verdict suggests."""
        self.wait_for_text(QUESTION, question)
        self.assertEqual((self.text(ENTRY), self.text(RESULT)), (b"", b""))
        self.type_text(typed)
        self.wait_for_text(ENTRY, typed)
        self.keys("Return")
        self.wait_for_text(RESULT, verdict)
        self.assertEqual(self.utext(ANSWER), revealed)
        self.keys("Return")
        wait_until(lambda: self.counts() == counts)
        self.assertEqual(self.counts(), counts)

    def test_typed_answers_are_judged_and_enter_presses_the_suggested_button(self):
        deck = self.workdir / "Woerter.mqf"
        deck.write_bytes(DECK)
        self.start_and_wait_for_dialog(str(deck))
        self.probe.ok("command", RADIOS[1])
        self.wait_for_text(QUESTION, b"eins")
        self.assertFalse(self.menu_state(TYPE_ANSWER) & MF_CHECKED)
        self.keys("ctrl+e")
        wait_until(lambda: self.menu_state(TYPE_ANSWER) & MF_CHECKED)

        self.check(b"eins", "One", "Right.", "one", [0, 4])  # Move
        self.check(b"Haus", "hause", "Almost: house", "house", [1, 3])  # Back
        self.check(b"porta", "door", "Right.", "gate, door", [1, 2])
        self.check(b"Elite", "elite", "Right, mind the accent: \u00e9lite", "\u00e9lite", [1, 1])
        self.check(b"Hund", "cat", "Wrong: dog", "dog", [2, 0])
        # Box 2 ran empty: nothing left to type for.
        wait_until(lambda: self.text(RESULT) == b"")
        self.assertEqual(self.text(ENTRY), b"")

        self.probe.ok("close")
        self.box("Save ?")
        self.answer("Save ?", "no")
        wait_until(lambda: not self.probe.call("main")[0])
        self.start_and_wait_for_dialog(str(deck))
        self.wait_for_title(b"Mnemoquill: Woerter")
        self.assertTrue(self.menu_state(TYPE_ANSWER) & MF_CHECKED)
        self.assertEqual((self.text(ENTRY), self.text(RESULT)), (b"", b""))
        # The tests after this one share the prefix and expect the dialog as it was.
        self.probe.ok("command", TYPE_ANSWER)
        wait_until(lambda: not self.menu_state(TYPE_ANSWER) & MF_CHECKED)


if __name__ == "__main__":
    unittest.main()
