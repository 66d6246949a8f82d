"""End-to-end tests of the learning history and the Progress window under Wine:
Moves, a Back and a Get New Card counted in the saved file as mqdeck stats tells
them, and the window opened with Ctrl+G beside the dialog and closed with Esc."""

import datetime
import subprocess
import tempfile
import unittest

from harness import ProgramTestCase
from test_program import BACK, GET_NEW_CARD, MOVE, QUESTION, RADIOS
from test_schedule import dated_file


class ProgressTest(ProgramTestCase):

    def stats_history(self, path):
        """The lines `mqdeck stats --history` adds for the days learned."""
        with tempfile.TemporaryFile() as out:
            code = subprocess.run(
                ["wine", str(self.session.mqdeck()), "stats", "--history", path.name],
                cwd=path.parent, env=self.session.env, stdin=subprocess.DEVNULL, stdout=out,
                stderr=subprocess.DEVNULL, timeout=60).returncode
            out.seek(0)
            lines = out.read().decode().splitlines()
        self.assertEqual(code, 0)
        return [line for line in lines if " up " in line]

    def test_learning_is_counted_saved_and_shown_beside_the_dialog(self):
        deck = self.workdir / "history.mqf"
        deck.write_bytes(dated_file({0: [(b"new", None)], 1: [(b"a", 0), (b"b", 0)],
                                     2: [(b"c", 5), (b"d", 5)]}))
        self.start_and_wait_for_dialog(str(deck))
        self.wait_for_title(b"Mnemoquill: history")
        self.wait_for_text(QUESTION, b"a")
        self.probe.ok("command", MOVE)
        self.wait_for_text(QUESTION, b"b")
        self.probe.ok("command", MOVE)
        self.click_control(RADIOS[1])
        self.wait_for_text(QUESTION, b"c")
        self.probe.ok("command", BACK)
        self.wait_for_text(QUESTION, b"d")
        self.probe.ok("command", GET_NEW_CARD)
        self.wait_for_text(QUESTION, b"c")  # box 1, the new card behind c

        # Ctrl+G: a window of its own, owned by the dialog, to its right.
        self.keys("ctrl+g")
        owner, kind, left, top, _, _, _ = self.probe.ok("window", "Progress", 15000)
        self.assertEqual((owner, kind), (b"dialog", b"MnemoquillProgress"))
        dialog_right = int(self.probe.ok("rect", 0)[2])
        self.assertGreaterEqual(int(left), dialog_right)
        self.keys("Escape", caption="Progress")
        self.probe.ok("window-gone", "Progress", 10000)
        # Opened and closed again, it leaves nothing to undo or save but the learning.
        self.keys("ctrl+g")
        self.probe.ok("window", "Progress", 15000)
        self.keys("Escape", caption="Progress")
        self.probe.ok("window-gone", "Progress", 10000)

        self.keys("ctrl+s")
        self.box("Save ?")
        self.answer("Save ?", "yes")
        self.text(QUESTION)
        today = datetime.date.today().isoformat()
        self.assertEqual(deck.read_bytes(), dated_file({
            1: [(b"c", 0), (b"new", 0)], 2: [(b"d", 5), (b"a", 0), (b"b", 0)],
        }) + b"<H>\r\n%s 2 1 1\r\n</H>\r\n" % today.encode())
        self.assertEqual(self.stats_history(deck), ["%s up 2 back 1 new 1" % today])


if __name__ == "__main__":
    unittest.main()
