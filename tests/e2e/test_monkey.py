"""Random learning and editing commands on the real program, for a bounded time:
after every step the dialog must answer, and at the end the saved deck must hold
exactly the cards the inserts and deletes left.

MQ_MONKEY_SEED replays a run (the seed is printed); MQ_MONKEY_STEPS fixes the
number of steps instead of MQ_MONKEY_SECONDS (30 by default)."""

import os
import random
import sys
import time
import unittest
from collections import Counter

from harness import MF_CHECKED, ProgramTestCase
from test_program import (ANSWER, BACK, COUNTS, DELETE, EDIT, GET_NEW_CARD, INFO,
                          INFO_CAPTION, INSERT, MOVE, NEXT, PREVIOUS, QUESTION, RADIOS, SAVE,
                          SHOW, card_file)

BOX_0, BOX_6 = 1005, 1011
# Typed answers, and the Enter that checks what was typed and then moves the card.
TYPE_ANSWER, ANSWER_ENTERED = 40024, 40027

# Every question differs, so a deleted card is known by the question it showed.
CARDS = {box: [(b"q%d%d" % (box, n), b"a%d%d" % (box, n), b"i%d%d" % (box, n))
               for n in range(size)]
         for box, size in {0: 2, 1: 3, 2: 2, 3: 1, 4: 1, 5: 2, 6: 1}.items()}
DECK = card_file(CARDS)
PLACEHOLDER = (b"empty question", b"empty answer", b"empty info")

# The editing commands come up more often, so that edit mode is on for a while.
COMMANDS = [MOVE, SHOW, NEXT, BACK, *RADIOS, BOX_0, BOX_6, GET_NEW_CARD, PREVIOUS, INFO,
            EDIT, EDIT, INSERT, INSERT, DELETE, DELETE, TYPE_ANSWER, ANSWER_ENTERED]
# Commands that cannot take a card from one box to another: whatever the visible
# counts of boxes 1 to 5 do is cards made or removed.
IN_PLACE = {SHOW, NEXT, PREVIOUS, INFO, EDIT, INSERT, DELETE, *RADIOS, BOX_0, BOX_6, TYPE_ANSWER}
BOXES = {"Edit Mode:", "Info", INFO_CAPTION}


class MonkeyTest(ProgramTestCase):

    maxDiff = None

    def state(self):
        return {"counts": [int(self.text(c) or b"-1") for c in COUNTS],
                "edit": bool(self.menu_state(EDIT) & MF_CHECKED),
                "outer": bool((self.menu_state(BOX_0) | self.menu_state(BOX_6)) & MF_CHECKED)}

    def answer_boxes(self, where):
        for _ in range(3):
            captions = [c.decode("cp1252") for c in self.probe.ok("boxes")]
            if not captions:
                return
            for caption in captions:
                self.assertIn(caption, BOXES, where)
                self.answer(caption, "ok")
            self.probe.ok("ping")
        self.fail("boxes keep coming " + where)

    def test_random_commands_keep_every_card_that_was_not_deleted(self):
        seed = int(os.environ.get("MQ_MONKEY_SEED") or random.randrange(1 << 32))
        steps = int(os.environ.get("MQ_MONKEY_STEPS") or 0)
        seconds = float(os.environ.get("MQ_MONKEY_SECONDS") or 30)
        sys.stderr.write("\nmonkey: MQ_MONKEY_SEED=%d " % seed)
        rng = random.Random(seed)

        deck = self.workdir / "Affe.mqf"
        deck.write_bytes(DECK)
        program = self.start_and_wait_for_dialog()
        self.keys("ctrl+o")
        self.type_file_name("Open", deck)
        self.wait_for_title(b"Mnemoquill: Affe")

        made, deleted, log = 0, [], []
        before = self.state()
        deadline = time.monotonic() + seconds
        while (len(log) < steps) if steps else (time.monotonic() < deadline):
            command = rng.choice(COMMANDS)
            log.append(command)
            where = "seed %d, step %d: %r" % (seed, len(log), log[-8:])
            shown = (self.text(QUESTION), self.text(ANSWER)) if command in (DELETE, EDIT) else None
            selected = ([self.checked(r) for r in RADIOS].index(True)
                        if command == DELETE and not before["outer"] else None)

            self.probe.ok("command", command)
            self.probe.ok("ping")  # the command is taken after this one...
            self.probe.ok("ping")  # ...and over, or its box is up, by now
            self.answer_boxes(where)
            self.assertIsNone(program.process.poll(), where)
            after = self.state()
            change = sum(after["counts"]) - sum(before["counts"])
            if command not in IN_PLACE:
                before = after
                continue

            # The cards this command made or removed, and whether boxes 1 to 5
            # counted them; boxes 0 and 6 show no count.
            editing, nothing_shown = before["edit"], shown and shown[1] == b"no cards."
            counted = not before["outer"]
            made_now = gone = False
            if command == INSERT:
                made_now = editing
            elif command == DELETE:
                gone = editing and (before["counts"][selected] > 0 if counted
                                    else not nothing_shown)
            elif command == EDIT:
                # Edit mode with nothing shown starts with a fresh card.
                made_now = not editing and nothing_shown
            elif command in RADIOS:
                # An empty box chosen in edit mode gets a card to write on.
                counted = True
                made_now = editing and not before["counts"][RADIOS.index(command)]
            elif command in (BOX_0, BOX_6):
                counted = False
                # Cards already there show a question; a fresh one shows empty panes.
                made_now = editing and (self.text(QUESTION), self.text(ANSWER)) == (b"", b"")
            self.assertEqual(change, made_now - gone if counted else 0, where)
            made += made_now
            if gone:
                deleted.append(shown[0])
            before = after

        sys.stderr.write("(%d steps, %d made, %d deleted) ... " % (len(log), made, len(deleted)))
        # The mode is kept for the user: the tests after this one start without it.
        if self.menu_state(TYPE_ANSWER) & MF_CHECKED:
            self.probe.ok("command", TYPE_ANSWER)
            self.probe.ok("ping")
        self.probe.ok("command", SAVE)
        self.box("Save ?")
        self.answer("Save ?", "yes")
        self.probe.ok("ping")
        saved = self.dump_cards(deck)

        by_question = {card[0]: card for cards in CARDS.values() for card in cards}
        expected = Counter(card for cards in CARDS.values() for card in cards)
        expected[PLACEHOLDER] += made
        # A fresh card shows empty panes until it is shown again.
        expected.subtract(by_question.get(q, PLACEHOLDER) for q in deleted)
        got = Counter(tuple(c[k].encode("cp1252") for k in ("question", "answer", "info"))
                      for c in saved)
        where = "seed %d after %d steps" % (seed, len(log))
        self.assertEqual(dict(got), {card: n for card, n in expected.items() if n}, where)
        self.assertEqual([sum(1 for c in saved if c["box"] == box) for box in range(1, 6)],
                         before["counts"], where)


if __name__ == "__main__":
    unittest.main()
