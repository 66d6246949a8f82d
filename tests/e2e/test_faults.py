"""The real program saving while the disk, the file or its folder works against it:
a failed save leaves the old file as it was and the program answering; a save that
writing in place allows succeeds; once the fault is gone, saving works again.

Run through faults.sh, which runs it as an ordinary user (file modes mean nothing
to Wine run as root) and names a small file system to fill in MQ_E2E_SMALL_DISK."""

import errno
import os
import shutil
import tempfile
import unittest
from pathlib import Path

from harness import ProgramTestCase
from test_learning import saved_cards
from test_program import QUESTION, card_file

DECK_CARDS = {1: [(b"Baum", b"tree", b"Nomen"), (b"gehen", b"go", b"Verb")],
              2: [(b"Haus", b"house", b"Nomen")]}
DECK = card_file(DECK_CARDS)
# What the file holds once the deck is open, so that a save shows in its bytes.
OLD = card_file({3: [(b"alt", b"old", b"vorher")]})


def fill(folder):
    """Fills the file system with one file, to the last byte."""
    with open(folder / "filler", "wb", buffering=0) as filler:
        for size in (65536, 1):
            try:
                while True:
                    filler.write(b"\0" * size)
            except OSError as error:
                if error.errno != errno.ENOSPC:
                    raise


def rename_folder(folder, back=False):
    moved = folder.with_name(folder.name + "-moved")
    (moved.rename(folder) if back else folder.rename(moved))


# name: (inject, remove, the box of the first save or None when it must succeed,
#        where the old file is while the fault lasts)
CASES = {
    # The copy cannot go beside the file, but the file itself can be written.
    "read_only_folder": (lambda t, deck: deck.parent.chmod(0o555),
                         lambda t, deck: deck.parent.chmod(0o755), None, None),
    "read_only_file": (lambda t, deck: deck.chmod(0o444), lambda t, deck: deck.chmod(0o644),
                       b"CreateFileHandle ERR: , err#: 5", None),
    "full_disk": (lambda t, deck: fill(deck.parent),
                  lambda t, deck: (deck.parent / "filler").unlink(),
                  b"WriteFile-Fehler, err#: 112", None),
    # Held for reading and writing, but not to be renamed over: written in place.
    "held_without_delete_sharing": (lambda t, deck: t.probe.ok("hold", t.windows_path(deck)),
                                    lambda t, deck: t.probe.ok("release"), None, None),
    # The folder still takes a new file.
    "deleted_after_open": (lambda t, deck: deck.unlink(), lambda t, deck: None, None, None),
    "folder_renamed_after_open": (lambda t, deck: rename_folder(deck.parent),
                                  lambda t, deck: rename_folder(deck.parent, back=True),
                                  b"CreateFileHandle ERR: , err#: 3", "Lektion-moved"),
}
NEEDS_MODES = ("read_only_folder", "read_only_file")


class FaultTest(ProgramTestCase):

    def save(self):
        self.keys("ctrl+s")
        self.box("Save ?")
        self.answer("Save ?", "yes")
        # The program writes before it takes the next message: once it answers,
        # the save is over or its box is up.
        self.probe.ok("ping")
        # The file was written behind the program's back, so a save that reaches
        # it asks first; this test wants it replaced.
        if b"Mnemoquill" in self.probe.ok("boxes"):
            self.assertTrue(self.box("Mnemoquill")[2].startswith(
                b"The card file was changed by another program since it was opened."))
            self.answer("Mnemoquill", "1071")  # Replace
            self.probe.ok("ping")

    def run_case(self, name):
        inject, remove, box_text, moved_folder = CASES[name]
        if name in NEEDS_MODES and os.geteuid() == 0:
            self.skipTest("Wine run as root ignores file modes")
        if name == "full_disk":
            if not os.environ.get("MQ_E2E_SMALL_DISK"):
                self.skipTest("no small file system to fill (MQ_E2E_SMALL_DISK)")
            root = Path(tempfile.mkdtemp(dir=os.environ["MQ_E2E_SMALL_DISK"]))
            self.addCleanup(shutil.rmtree, root, True)
        else:
            root = Path(self.tmp.name)
        deck = root / "Lektion" / "Latein.mqf"
        deck.parent.mkdir()
        deck.write_bytes(DECK)
        self.start_and_wait_for_dialog()
        self.keys("ctrl+o")
        self.type_file_name("Open", deck)
        self.wait_for_title(b"Mnemoquill: Latein")
        deck.write_bytes(OLD)

        self.addCleanup(lambda: deck.parent.exists() and deck.parent.chmod(0o755))
        self.addCleanup(self.probe.call, "release")
        inject(self, deck)
        # Where the old file is while the fault lasts, and the mode it must keep.
        old = deck.parent.with_name(moved_folder) / deck.name if moved_folder else deck
        mode = old.stat().st_mode if old.exists() else None
        self.save()
        if box_text:
            self.assertEqual(self.box("MQMessage"), ("none", ["OK"], box_text))
            self.answer("MQMessage", "ok")
            self.assertEqual(old.read_bytes(), OLD)
            self.assertEqual(old.stat().st_mode, mode)
            if moved_folder:
                self.assertFalse(deck.parent.exists(), "the folder was made again")
        else:
            self.assert_no_box("MQMessage", within_ms=300)
            self.assertEqual(deck.read_bytes(), DECK)
            self.assertEqual(deck.stat().st_mode, mode or deck.stat().st_mode)
        self.assertEqual(self.text(QUESTION), b"Baum")  # still answering, same card
        # No copy is left behind, whatever happened: neither beside the file nor in
        # the temporary folder, where it goes when the file's folder takes none.
        leftovers = {p.name for p in old.parent.iterdir()} - {deck.name, "filler"}
        users = Path(self.session.env["WINEPREFIX"], "drive_c", "users")
        leftovers.update(str(p) for p in users.glob("*/Temp/~mqsave*"))
        self.assertEqual(leftovers, set())

        remove(self, deck)
        mode = deck.stat().st_mode
        self.save()
        self.assert_no_box("MQMessage", within_ms=300)
        self.assertEqual(self.dump_cards(deck), saved_cards(
            {box: [tuple(t.decode() for t in card) for card in cards]
             for box, cards in DECK_CARDS.items()}))
        self.assertEqual(deck.stat().st_mode, mode)
        self.assertEqual({p.name for p in deck.parent.iterdir()}, {deck.name})


for case in CASES:
    setattr(FaultTest, "test_save_with_" + case, lambda self, case=case: self.run_case(case))


if __name__ == "__main__":
    unittest.main()
