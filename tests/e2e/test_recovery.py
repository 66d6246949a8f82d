"""End-to-end tests of the recovery record and the change check under Wine: the
program ended at once (as by a crash or the Task Manager) brings its unsaved steps
back, or drops them, at the next start; a card file changed by another process is
not overwritten without a question; and a crash run kills the program at random
moments of a scripted session and recovers each time.

MQ_CRASH_SEED replays a crash run (the seed is printed); MQ_CRASH_KILLS sets how
many times the program is killed (8 by default)."""

import os
import random
import sys
import time
import unittest
from collections import Counter

from harness import ProgramTestCase, wait_until
from test_program import BACK, COUNTS, GET_NEW_CARD, MOVE, NEXT, RADIOS, SAVE, card_file

CAPTION = "Mnemoquill"

# Boxes 0 to 6; every question differs, so each card is known by it.
START = {0: [b"n%d" % i for i in range(6)], 1: [b"a", b"b", b"c", b"d"], 2: [b"e", b"f"],
         3: [b"g"], 5: [b"h"], 6: [b"i"]}


def deck_bytes(boxes):
    return card_file({box: [(q, q + b"!", q + b".") for q in cards]
                      for box, cards in boxes.items()})


class RecoveryTest(ProgramTestCase):

    maxDiff = None

    def setUp(self):
        super().setUp()  # which empties the recovery folder
        self.folder = self.session.unix_path(self.probe.uok("recovery-folder")[0])
        self.deck = self.workdir / "Deck.mqf"
        self.deck.write_bytes(deck_bytes(START))

    def counts(self):
        return [int(self.text(c) or b"-1") for c in COUNTS]

    def command(self, command_id):
        self.probe.ok("command", command_id)
        self.probe.ok("ping")

    def open_deck(self):
        self.start_and_wait_for_dialog(str(self.deck))
        self.wait_for_title(b"Mnemoquill: Deck")
        # The title comes first; the commands are taken once the deck's card shows.
        wait_until(lambda: self.enabled(MOVE))
        self.probe.ok("ping")

    def crash(self):
        self.probe.ok("terminate")
        for program in self.programs:
            program.wait(timeout=20)

    def restart_and_answer(self, answer):
        """The text of the question the next start asks, answered."""
        self.start_and_wait_for_dialog()
        text = self.ubox(CAPTION)[2]
        self.answer(CAPTION, answer)
        return text

    def saved_boxes(self):
        cards = self.dump_cards(self.deck)
        return {box: sorted(c["question"].encode() for c in cards if c["box"] == box)
                for box in range(7)}

    def answer_shown(self, caption, button):
        self.box(caption)
        self.answer(caption, button)

    def save(self):
        self.command(SAVE)
        self.answer_shown("Save ?", "yes")
        self.probe.ok("ping")

    def test_killed_after_moves_yes_brings_them_back_and_the_next_save_keeps_them(self):
        self.open_deck()
        for _ in range(3):
            self.command(MOVE)
        self.command(GET_NEW_CARD)
        counts = self.counts()
        self.assertEqual(counts, [2, 5, 1, 0, 1])
        self.crash()

        text = self.restart_and_answer("yes")
        self.assertTrue(text.startswith("Mnemoquill was not closed properly."), text)
        self.assertIn(self.windows_path(self.deck), text)
        self.assertIn("has 4 unsaved changes, the last at ", text)
        self.wait_for_title(b"Mnemoquill: Deck")
        wait_until(lambda: self.counts() == counts)
        self.assertEqual(self.counts(), counts)
        # Unsaved still: the file is as it was until the save question's Yes.
        self.assertEqual(self.deck.read_bytes(), deck_bytes(START))
        self.save()
        self.assertEqual([len(self.saved_boxes()[b]) for b in range(1, 6)], counts)
        self.assertFalse(any(self.folder.glob("*.mqr")))

    def test_killed_after_moves_no_leaves_the_file_and_the_next_start_asks_nothing(self):
        self.open_deck()
        self.command(MOVE)
        self.command(MOVE)
        self.crash()
        self.restart_and_answer("no")
        self.assertEqual(self.deck.read_bytes(), deck_bytes(START))
        self.probe.ok("close")
        for program in self.programs:
            program.wait(timeout=20)
        self.start_and_wait_for_dialog()
        self.assert_no_box(CAPTION)
        self.assertFalse(any(self.folder.glob("*.mqr")))

    def test_a_card_appended_by_another_process_is_asked_about_before_a_save(self):
        self.open_deck()
        self.command(MOVE)
        appended = self.deck.read_bytes() + deck_bytes({4: [b"appended"]})
        with open(self.deck, "ab") as out:
            out.write(deck_bytes({4: [b"appended"]}))

        self.command(SAVE)
        self.answer_shown("Save ?", "yes")
        owner, buttons, text = self.ubox(CAPTION)
        self.assertEqual(owner, "dialog")
        self.assertTrue(text.startswith(
            "The card file was changed by another program since it was opened."), text)
        self.answer(CAPTION, "cancel")
        self.assertEqual(self.deck.read_bytes(), appended)

        self.command(SAVE)
        self.answer_shown("Save ?", "yes")
        self.answer_shown(CAPTION, "1071")  # Replace
        self.probe.ok("ping")
        saved = self.saved_boxes()
        self.assertEqual(saved[4], [])
        self.assertEqual(saved[2], [b"a", b"e", b"f"])

    def test_crash_run_recovers_every_time_and_saves_what_the_steps_made(self):
        seed = int(os.environ.get("MQ_CRASH_SEED") or random.randrange(1 << 32))
        kills = int(os.environ.get("MQ_CRASH_KILLS") or 8)
        sys.stderr.write("\ncrash run: MQ_CRASH_SEED=%d ... " % seed)
        rng = random.Random(seed)
        model = {box: list(START.get(box, [])) for box in range(7)}
        saved = {box: list(cards) for box, cards in model.items()}
        selected, dirty, steps, log = 1, False, 0, []
        self.open_deck()
        for kill in range(kills + 1):
            where = "seed %d, kill %d: %r" % (seed, kill, log)
            self.command(RADIOS[selected - 1])
            for _ in range(rng.randint(2, 7)):
                steps += 1
                choices = [NEXT, RADIOS[0], RADIOS[2], RADIOS[4]]
                if model[selected]:
                    choices += [MOVE, MOVE] + ([BACK] if selected > 1 else [])
                if model[0]:
                    choices.append(GET_NEW_CARD)
                step = rng.choice(choices + ([SAVE] if dirty else []))
                if step == SAVE:
                    self.save()
                    saved = {box: list(cards) for box, cards in model.items()}
                    dirty = False
                    continue
                self.command(step)
                log.append(step)
                if step in RADIOS:
                    selected = RADIOS.index(step) + 1
                elif step == NEXT and model[selected]:
                    model[selected].append(model[selected].pop(0))
                elif step in (MOVE, BACK):
                    target = 1 if step == BACK else min(selected + 1, 6)
                    model[target].append(model[selected].pop(0))
                    dirty = True
                elif step == GET_NEW_CARD:
                    # The new card shows in box 1, which it selects.
                    model[1].append(model[0].pop(0))
                    selected, dirty = 1, True
            where = "seed %d, kill %d: %r" % (seed, kill, log)
            self.assertEqual(self.counts(), [len(model[b]) for b in range(1, 6)], where)
            if kill == kills:
                break
            # Sometimes right after the step, sometimes after the record's flush.
            time.sleep(rng.choice([0, 0, 0.3, 2.5]))
            self.crash()
            if dirty:
                self.restart_and_answer("yes")
                self.wait_for_title(b"Mnemoquill: Deck")
            else:
                # Only turned since the last save: the file's order comes back.
                model = {box: list(cards) for box, cards in saved.items()}
                self.open_deck()
                self.assert_no_box(CAPTION, within_ms=500)
            wait_until(lambda: self.counts() == [len(model[b]) for b in range(1, 6)])
            self.assertEqual(self.counts(), [len(model[b]) for b in range(1, 6)], where)

        self.save()
        sys.stderr.write("(%d steps) " % steps)
        cards = self.dump_cards(self.deck)
        self.assertEqual({b: [c["question"].encode() for c in cards if c["box"] == b]
                          for b in range(7)}, model, "seed %d" % seed)
        self.assertEqual(Counter(q for cards in model.values() for q in cards),
                         Counter(q for cards in START.values() for q in cards))


if __name__ == "__main__":
    unittest.main()
