"""End-to-end tests of learning and editing under Wine: a user's clicks, keys and
typing, checked on the dialog and, after saving, on the card file itself."""

import shutil
import unittest
from pathlib import Path

from harness import MF_CHECKED, MF_GRAYED, ProgramTestCase, wait_until
from test_program import (ANSWER, BACK, COUNTS, DELETE, EDIT, GET_NEW_CARD, INSERT, MOVE,
                          NEXT, PREVIOUS, QUESTION, RADIOS, SHOW, card_file, today)

BOX_0, BOX_6 = 1005, 1011
QUESTION_FIRST, ANSWER_FIRST, BOTH_WAYS = 40020, 40021, 40022
UNDO, REDO, FIND, FIND_NEXT = 40014, 40015, 40016, 40017
FIND_TEXT = 1050
SAMPLE = Path(__file__).resolve().parents[2] / "samples" / "latin.mqf"

# The sample deck's cards as (question, answer, info).
AMICUS = ("amicus", "friend", "noun, 2nd declension")
NEW_LATIN = [("aqua", "water", "noun, 1st declension"),
             ("bellum", "war", "noun, 2nd declension, neuter"),
             ("liber", "book", "noun, 2nd declension"),
             ("navis", "ship", "noun, 3rd declension"),
             ("porta", "gate, door", "noun, 1st declension"),
             ("videre", "to see", "verb, 2nd conjugation"),
             ("audire", "to hear", "verb, 4th conjugation")]
DOMUS = ("domus", "house", "noun, 4th declension")
PUELLA = ("puella", "girl", "noun, 1st declension")
AMARE = ("amare", "to love", "verb, 1st conjugation")
ROSA = ("rosa", "rose", "noun, 1st declension")
SERVUS = ("servus", "slave, servant", "noun, 2nd declension")
TERRA = ("terra", "earth, land", "noun, 1st declension\r\ne.g. terra firma")

# Box 0 is empty, so there is no new card to draw.
NUMBERS = card_file({
    1: [(b"eins", b"one", b"Zahl"), (b"zwei", b"two", b"Zahl")],
    2: [(b"rot", b"red", b"Farbe")],
    4: [(b"Hund", b"dog", b"Tier")],
})

PLACEHOLDERS = ("empty question", "empty answer", "empty info")


def saved_cards(boxes):
    """What mqdeck dumps of a deck the program saved: {box: [(q, a, i[, day]), ...]},
    each box front to back; the writer numbers and marks the cards by their place, and
    a card placed today carries today's day."""
    return [dict({"box": box, "pos": pos, "mark": "+" if pos == 1 else "-", "section": box,
                  "number": pos, "question": q, "answer": a, "info": i},
                 **({"date": day[0].decode()} if day else {}))
            for box in sorted(boxes) for pos, (q, a, i, *day) in enumerate(boxes[box], start=1)]


def placed_today(card):
    return card + (today(),)


def as_pane(text):
    return text.encode("cp1252")


class LearningAndEditingTest(ProgramTestCase):

    # --- a user's steps ---

    def open_deck(self, path, title):
        self.keys("ctrl+o")
        self.type_file_name("Open", path)
        self.wait_for_title(title)

    def switch_edit_mode_on(self):
        self.probe.ok("command", EDIT)
        self.assertEqual(self.box("Edit Mode:"),
                         ("dialog", ["OK"], b"Switch off by clicking edit again."))
        self.answer("Edit Mode:", "ok")
        wait_until(lambda: self.menu_state(EDIT) & MF_CHECKED)

    def retype(self, pane, text):
        """Clicks into a pane and types over all of its text."""
        self.click_control(pane)
        for _ in range(3):
            self.keys("ctrl+End", "ctrl+shift+Home")
            self.type_text(text, read=lambda: self.utext(pane))
            if wait_until(lambda: self.utext(pane) == text, timeout=3):
                break
        self.wait_for_text(pane, text)

    def save_with_yes(self, path):
        self.keys("ctrl+s")
        self.assertEqual(self.box("Save ?"), ("none", ["&Yes", "&No"], b"Save CardFile ?"))
        self.answer("Save ?", "yes")
        # The program writes before it reads its next message, so once it answers
        # the probe again the file is complete.
        self.text(QUESTION)
        return self.dump_cards(path)

    # --- reading the dialog ---

    def counts(self):
        return [int(self.text(c) or b"-1") for c in COUNTS]

    def wait_for_counts(self, expected):
        wait_until(lambda: self.counts() == expected)
        self.assertEqual(self.counts(), expected)

    def learning_buttons(self):
        """Enabled states of Back, Move, Show and Next."""
        return tuple(self.enabled(c) for c in (BACK, MOVE, SHOW, NEXT))

    def radios_checked(self):
        return [self.checked(r) for r in RADIOS]

    def assert_card(self, question, pane, button=b"&Show"):
        # A click arrives as X input, after any probe message already waiting, and
        # Show leaves the question as it was: wait for all three.
        expected = (as_pane(question), as_pane(pane), button)
        shown = lambda: (self.text(QUESTION), self.text(ANSWER), self.text(SHOW))
        wait_until(lambda: shown() == expected)
        self.assertEqual(shown(), expected)

    def assert_grayed(self, command_id, grayed=True):
        self.assertEqual(bool(self.menu_state(command_id) & MF_GRAYED), grayed,
                         "menu item %d" % command_id)

    def assert_checked(self, command_id, checked=True):
        self.assertEqual(bool(self.menu_state(command_id) & MF_CHECKED), checked,
                         "menu item %d" % command_id)

    # --- scenarios ---

    def test_drilling_moves_cards_through_the_boxes_and_save_keeps_their_order(self):
        deck = self.workdir / "latin.mqf"
        shutil.copyfile(SAMPLE, deck)
        self.start_and_wait_for_dialog()
        self.open_deck(deck, b"Mnemoquill: latin")
        self.assert_card("domus", "noun, 4th declension")
        self.assertEqual(self.counts(), [3, 2, 1, 0, 0])

        self.click_control(SHOW)
        self.assert_card("domus", "house", b"&Info")
        self.click_control(SHOW)
        self.assert_card("domus", "noun, 4th declension", b"&Show")

        # Drawing from box 3 with an answer revealed: the new card joins the back of
        # box 1, which comes back at its front card with the info showing.
        self.click_control(RADIOS[2])
        self.assert_card("terra", TERRA[2])
        self.assertEqual(self.learning_buttons(), (True, True, True, True))
        self.click_control(SHOW)
        self.wait_for_text(SHOW, b"&Info")
        self.probe.ok("command", GET_NEW_CARD)
        self.wait_for_counts([4, 2, 1, 0, 0])
        self.assert_card("domus", "noun, 4th declension")
        self.assertEqual(self.radios_checked(), [True, False, False, False, False])
        self.assertEqual(self.learning_buttons(), (False, True, True, True))

        # Terra climbs from box 3 to box 6, the counts following it.
        self.click_control(RADIOS[2])
        self.wait_for_text(QUESTION, b"terra")
        self.click_control(MOVE)
        self.wait_for_counts([4, 2, 0, 1, 0])
        self.assertEqual((self.text(QUESTION), self.text(ANSWER)), (b"", b"no cards."))
        self.assertEqual(self.learning_buttons(), (False, False, False, False))
        self.assert_grayed(PREVIOUS)
        self.assert_grayed(GET_NEW_CARD, False)
        for radio, counts in ((RADIOS[3], [4, 2, 0, 0, 1]), (RADIOS[4], [4, 2, 0, 0, 0])):
            self.click_control(radio)
            self.wait_for_text(QUESTION, b"terra")
            self.assertEqual(self.learning_buttons(), (True, True, True, True))
            self.click_control(MOVE)
            self.wait_for_counts(counts)
            self.wait_for_text(ANSWER, b"no cards.")

        self.keys("ctrl+6")
        self.assert_card("terra", TERRA[2])
        self.assertEqual(self.radios_checked(), [False] * 5)
        self.assert_checked(BOX_6)
        self.assert_checked(BOX_0, False)
        self.assertEqual(self.learning_buttons(), (True, False, True, True))
        self.assert_grayed(GET_NEW_CARD)

        # Back from box 6 empties it; the revealed answer's caption stays.
        self.click_control(SHOW)
        self.wait_for_text(ANSWER, b"earth, land")
        self.click_control(BACK)
        self.wait_for_counts([5, 2, 0, 0, 0])
        self.assert_card("", "no cards.", b"&Info")
        self.assertEqual(self.learning_buttons(), (False, False, False, False))

        # Box 1 is now [domus, puella, amare, amicus, terra].
        self.click_control(RADIOS[0])
        self.assert_card("domus", "noun, 4th declension")
        self.assert_checked(BOX_6, False)
        self.click_control(NEXT)
        self.assert_card("puella", "noun, 1st declension")
        self.click_control(NEXT)
        self.assert_card("amare", "verb, 1st conjugation")
        self.keys("ctrl+p")
        self.assert_card("puella", "noun, 1st declension")

        self.click_control(RADIOS[1])
        self.assert_card("rosa", "noun, 1st declension")
        self.click_control(BACK)
        self.wait_for_counts([6, 1, 0, 0, 0])
        self.assert_card("servus", "noun, 2nd declension")

        self.assertEqual(self.save_with_yes(deck), saved_cards({
            0: NEW_LATIN,
            1: [PUELLA, AMARE, placed_today(AMICUS), placed_today(TERRA), DOMUS,
                placed_today(ROSA)],
            2: [SERVUS],
        }))

    def test_editing_stores_typed_texts_inserts_and_deletes_cards_and_saves_them(self):
        deck = self.workdir / "Zahlen.txt"
        deck.write_bytes(NUMBERS)
        self.start_and_wait_for_dialog()
        self.open_deck(deck, b"Mnemoquill: Zahlen")

        self.probe.ok("command", GET_NEW_CARD)
        self.assertEqual(self.box("Info"),
                         ("dialog", ["OK"], b"Es kann keine neue Karte gefunden werden."))
        self.answer("Info", "ok")
        self.assertEqual(self.counts(), [2, 1, 0, 1, 0])
        self.assert_card("eins", "Zahl")

        self.switch_edit_mode_on()
        self.assert_grayed(INSERT, False)
        self.assert_grayed(DELETE, False)
        self.assertEqual(self.learning_buttons(), (False, False, True, True))
        # The caret waits in the question pane; Next stores what was typed there.
        self.keys("ctrl+End", "ctrl+shift+Home")
        self.type_text("uno")
        self.wait_for_text(QUESTION, b"uno")
        self.click_control(NEXT)
        self.assert_card("zwei", "Zahl")

        # A card inserted in box 4 starts blank in front of Hund. The answer pane
        # types into the info until Show turns it to the answer.
        self.click_control(RADIOS[3])
        self.assert_card("Hund", "Tier")
        self.keys("ctrl+i")
        self.wait_for_counts([2, 1, 0, 2, 0])
        self.assert_card("", "")
        self.retype(QUESTION, "Katze")
        self.retype(ANSWER, "Tier, klein")
        self.click_control(SHOW)
        self.assert_card("Katze", "empty answer", b"&Info")
        self.retype(ANSWER, "cat")
        self.keys("ctrl+p")
        self.assert_card("Hund", "Tier")

        # Delete in box 1 leaves its other card; in box 2 it takes the only one,
        # and edit mode goes off with it.
        self.click_control(RADIOS[0])
        self.assert_card("zwei", "Zahl")
        self.probe.ok("command", DELETE)
        self.wait_for_counts([1, 1, 0, 2, 0])
        self.assert_card("uno", "Zahl")
        self.click_control(RADIOS[1])
        self.assert_card("rot", "Farbe")
        self.probe.ok("command", DELETE)
        self.wait_for_counts([1, 0, 0, 2, 0])
        self.assertEqual(self.text(ANSWER), b"no cards.")
        self.assert_checked(EDIT, False)
        self.assert_grayed(INSERT)
        self.assert_grayed(DELETE)
        self.assertEqual(self.learning_buttons(), (False, False, False, False))

        # Edit mode on an empty box gives it a card holding the placeholders...
        self.switch_edit_mode_on()
        self.wait_for_counts([1, 1, 0, 2, 0])
        self.assert_card("", "")
        self.click_control(SHOW)
        self.assert_card("", "empty answer", b"&Info")
        # ...and what is typed before edit mode goes off again is not stored.
        self.retype(QUESTION, "verloren")
        self.probe.ok("command", EDIT)
        self.assertTrue(wait_until(lambda: not self.menu_state(EDIT) & MF_CHECKED))
        self.assert_no_box("Edit Mode:", within_ms=500)

        self.assertEqual(self.save_with_yes(deck), saved_cards({
            1: [("uno", "one", "Zahl")],
            2: [placed_today(PLACEHOLDERS)],
            4: [("Hund", "dog", "Tier"), placed_today(("Katze", "cat", "Tier, klein"))],
        }))

    def test_answer_first_and_both_ways_show_store_and_come_back_after_a_restart(self):
        deck = self.workdir / "Zahlen.txt"
        deck.write_bytes(NUMBERS)
        self.start_and_wait_for_dialog(str(deck))
        self.assert_checked(QUESTION_FIRST)
        self.probe.ok("command", ANSWER_FIRST)
        self.assert_card("one", "Zahl")
        self.click_control(SHOW)
        self.assert_card("one", "eins", b"&Info")
        self.assert_checked(ANSWER_FIRST)
        self.assert_checked(QUESTION_FIRST, False)

        # What is typed into the upper pane is the answer.
        self.switch_edit_mode_on()
        self.retype(QUESTION, "uno")
        self.click_control(NEXT)
        self.assert_card("two", "Zahl")
        self.probe.ok("command", EDIT)
        self.assertEqual(self.save_with_yes(deck)[0:2], saved_cards({
            1: [("zwei", "two", "Zahl"), ("eins", "uno", "Zahl")]}))

        # Both ways: over a run of Nexts, the question above and the answer above.
        self.probe.ok("command", BOTH_WAYS)
        uppers = [self.text(QUESTION)]
        for _ in range(16):
            self.probe.ok("command", NEXT)
            wait_until(lambda: self.text(QUESTION) != uppers[-1])
            uppers.append(self.text(QUESTION))
        self.assertTrue({b"zwei", b"eins"} & set(uppers) and {b"two", b"uno"} & set(uppers),
                        uppers)

        self.probe.ok("close")
        self.box("Save ?")
        self.answer("Save ?", "no")
        wait_until(lambda: not self.probe.call("main")[0])
        self.start_and_wait_for_dialog()
        self.assert_checked(BOTH_WAYS)
        self.assert_checked(QUESTION_FIRST, False)

    def test_cards_inserted_into_a_new_file_are_saved_when_open_asks_and_come_back(self):
        self.start_and_wait_for_dialog()
        self.keys("ctrl+n")
        self.type_file_name("Save As", self.workdir / "Tiere")
        self.wait_for_title(b"Mnemoquill: Tiere")
        saved = self.workdir / "Tiere.txt"

        # Nothing to lose yet, so Open goes straight to its dialog.
        self.keys("ctrl+o")
        self.box("Open")
        self.assert_no_box("Save ?", within_ms=0)
        self.answer("Open", "cancel")

        self.switch_edit_mode_on()
        self.wait_for_counts([1, 0, 0, 0, 0])
        self.type_text("Hund")
        self.wait_for_text(QUESTION, b"Hund")
        self.retype(ANSWER, "Tier")
        self.click_control(SHOW)
        self.assert_card("Hund", "empty answer", b"&Info")
        self.retype(ANSWER, "dog")
        self.keys("ctrl+i")
        self.wait_for_counts([2, 0, 0, 0, 0])
        self.retype(QUESTION, "Katze")  # Yes to Open's question keeps it

        self.keys("ctrl+o")
        self.assertEqual(self.box("Save ?"), ("dialog", ["&Yes", "&No"], b"Save CardFile?"))
        self.answer("Save ?", "yes")
        self.type_file_name("Open", saved)
        self.assert_card("Katze", "empty info")
        self.assertEqual(self.counts(), [2, 0, 0, 0, 0])
        self.assertEqual((self.workdir / "mq_tmp.txt").read_bytes(), saved.read_bytes())
        self.assert_checked(EDIT, False)
        self.assertEqual(self.learning_buttons(), (False, True, True, True))

        self.click_control(NEXT)
        self.assert_card("Hund", "Tier")
        self.click_control(SHOW)
        self.assert_card("Hund", "dog", b"&Info")
        self.assertEqual(self.dump_cards(saved),
                         saved_cards({1: [placed_today(("Katze", "empty answer", "empty info")),
                                          placed_today(("Hund", "dog", "Tier"))]}))

    # --- decks in every script ---

    def test_a_utf8_deck_named_in_cyrillic_and_japanese_shows_every_script(self):
        scripts = [("ἐλεύθερος ῥόδον", "frei, Rose", "Griechisch"),
                   ("слово", "Wort", "русский"),
                   ("東京", "Tōkyō", "日本語"),
                   ("كتاب", "Buch", "العربية"),
                   ("😀 안녕", "hallo", "עברית")]
        deck = self.workdir / "Словарь 日本語.mqf"
        deck.write_bytes(b"\xef\xbb\xbf" + card_file(
            {1: [tuple(t.encode("utf-8") for t in card) for card in scripts]}))
        self.start_and_wait_for_dialog()
        self.open_deck(deck, "Mnemoquill: Словарь 日本語")
        for question, answer, info in scripts:
            self.wait_for_text(QUESTION, question)
            self.assertEqual(self.utext(ANSWER), info)
            self.click_control(SHOW)
            self.wait_for_text(ANSWER, answer)
            self.click_control(NEXT)
        self.assertEqual((self.workdir / "mq_tmp.txt").read_bytes(), deck.read_bytes())

    def test_a_code_page_1252_deck_stays_so_until_a_polish_answer_makes_it_utf8(self):
        deck = self.workdir / "Deutsch.txt"
        deck.write_bytes(card_file({1: [(b"Gr\xfc\xdfe", b"greetings", b"Plural"),
                                        (b"Baum", b"tree", b"Nomen")],
                                    2: [(b"caf\xe9", b"coffee", b"\x80 5 \x81")]}))
        self.start_and_wait_for_dialog()
        self.open_deck(deck, b"Mnemoquill: Deutsch")
        self.switch_edit_mode_on()
        self.retype(QUESTION, "Straße")
        self.click_control(NEXT)
        self.assert_card("Baum", "Nomen")
        self.save_with_yes(deck)
        self.assertEqual(deck.read_bytes(), card_file({
            1: [(b"Baum", b"tree", b"Nomen"), (b"Stra\xdfe", b"greetings", b"Plural")],
            2: [(b"caf\xe9", b"coffee", b"\x80 5 \x81")]}))

        self.click_control(SHOW)
        self.wait_for_text(ANSWER, b"tree")
        self.retype(ANSWER, "Łódź")
        self.click_control(NEXT)
        self.save_with_yes(deck)
        self.assertEqual(deck.read_bytes(), b"\xef\xbb\xbf" + card_file({
            1: [(b"Stra\xc3\x9fe", b"greetings", b"Plural"),
                (b"Baum", "Łódź".encode("utf-8"), b"Nomen")],
            2: [("café".encode("utf-8"), b"coffee", "€ 5 \x81".encode("utf-8"))]}))

    def test_a_new_file_under_a_greek_name_keeps_greek_typed_into_it(self):
        self.start_and_wait_for_dialog()
        self.keys("ctrl+n")
        self.type_file_name("Save As", self.workdir / "Λεξιλόγιο")
        self.wait_for_title("Mnemoquill: Λεξιλόγιο")
        self.switch_edit_mode_on()
        self.wait_for_counts([1, 0, 0, 0, 0])
        self.retype(QUESTION, "Καλημέρα")
        saved = self.workdir / "Λεξιλόγιο.txt"
        self.save_with_yes(saved)
        self.assertEqual(saved.read_bytes(), b"\xef\xbb\xbf" + card_file(
            {1: [("Καλημέρα".encode("utf-8"), b"empty answer", b"empty info", today())]}))

    def test_undo_takes_back_every_kind_of_step_and_redo_makes_it_again(self):
        deck = self.workdir / "Zahlen.txt"
        opened = card_file({
            0: [(b"drei", b"three", b"Zahl")],
            1: [(b"eins", b"one", b"Zahl"), (b"zwei", b"two", b"Zahl")],
            2: [(b"rot", b"red", b"Farbe")],
            4: [(b"Hund", b"dog", b"Tier")],
        })
        deck.write_bytes(opened)
        self.start_and_wait_for_dialog()
        self.open_deck(deck, b"Mnemoquill: Zahlen")
        self.assert_grayed(UNDO)
        self.assert_grayed(REDO)

        def undone(undo, counts, question, pane):
            undo()
            self.wait_for_counts(counts)
            self.assert_card(question, pane)

        # Move by the menu, Back and Get New Card by Ctrl+Z, each back where it was.
        self.click_control(MOVE)
        self.wait_for_counts([1, 2, 0, 1, 0])
        self.assert_grayed(UNDO, False)
        undone(lambda: self.probe.ok("command", UNDO), [2, 1, 0, 1, 0], "eins", "Zahl")
        self.assert_grayed(UNDO)
        self.assert_grayed(REDO, False)
        self.click_control(RADIOS[1])
        self.click_control(BACK)
        self.wait_for_counts([3, 0, 0, 1, 0])
        undone(lambda: self.keys("ctrl+z"), [2, 1, 0, 1, 0], "rot", "Farbe")
        self.assertEqual(self.radios_checked(), [False, True, False, False, False])
        self.probe.ok("command", GET_NEW_CARD)
        self.wait_for_counts([3, 1, 0, 1, 0])
        self.assertTrue(self.checked(RADIOS[0]))
        undone(lambda: self.keys("ctrl+z"), [2, 1, 0, 1, 0], "rot", "Farbe")
        self.assertEqual(self.radios_checked(), [False, True, False, False, False])

        # In edit mode: Delete undone; Ctrl+Z in a pane with typing is the pane's.
        self.click_control(RADIOS[0])
        self.assert_card("eins", "Zahl")
        self.switch_edit_mode_on()
        self.probe.ok("command", DELETE)
        self.wait_for_counts([1, 1, 0, 1, 0])
        undone(lambda: self.keys("ctrl+z"), [2, 1, 0, 1, 0], "eins", "Zahl")
        self.retype(QUESTION, "uno")
        self.keys("ctrl+z")
        self.wait_for_text(QUESTION, b"eins")
        self.assert_grayed(REDO, False)
        self.retype(QUESTION, "uno")
        self.click_control(NEXT)
        self.assert_card("zwei", "Zahl")
        undone(lambda: self.keys("ctrl+z"), [2, 1, 0, 1, 0], "eins", "Zahl")
        self.keys("ctrl+y")
        self.assert_card("zwei", "Zahl")
        self.click_control(NEXT)
        self.assert_card("uno", "Zahl")
        undone(lambda: self.keys("ctrl+z"), [2, 1, 0, 1, 0], "eins", "Zahl")
        self.probe.ok("command", EDIT)
        wait_until(lambda: not self.menu_state(EDIT) & MF_CHECKED)

        self.save_with_yes(deck)
        self.assertEqual(deck.read_bytes(), opened)

    def test_find_goes_up_through_every_box_and_says_when_a_text_is_nowhere(self):
        deck = self.workdir / "Tiere.txt"
        deck.write_bytes(card_file({box: [(b"x%d" % box, b"-", b"-"), (
            b"Katze %d" % box, b"cat", b"Tier")] + ([(b"\xc4RGER", b"anger", b"Nomen")]
                                                   if box == 3 else []) for box in range(7)}))
        self.start_and_wait_for_dialog()
        self.open_deck(deck, b"Mnemoquill: Tiere")
        self.keys("ctrl+f")
        self.assertEqual(self.box("Find"), ("dialog", ["Find Next", "Cancel"], b"Fi&nd what:"))
        self.keys("k", "a", "t", "z", "e", "Return", caption="Find")
        self.probe.ok("gone", "Find", 10000)
        self.assert_card("Katze 1", "Tier")
        for box in (2, 3, 4, 5, 6, 0, 1):
            self.keys("F3")
            self.assert_card("Katze %d" % box, "Tier")
            if 1 <= box <= 5:
                self.assertTrue(self.checked(RADIOS[box - 1]))
            else:
                self.assert_checked(BOX_0 if box == 0 else BOX_6)

        # The text searched last comes back selected; typing replaces it.
        self.keys("ctrl+f")
        self.box("Find")
        self.assertEqual(self.probe.uok("field", "Find", FIND_TEXT)[0], "katze")
        self.type_in_find("ärger")
        self.assert_card("\xc4RGER", "Nomen")
        self.assertTrue(self.checked(RADIOS[2]))

        self.keys("ctrl+f")
        self.type_in_find("Pferd")
        self.assertEqual(self.box("Mnemoquill"), ("dialog", ["OK"], b'Cannot find "Pferd".'))
        self.answer("Mnemoquill", "ok")
        self.assert_card("\xc4RGER", "Nomen")

    def type_in_find(self, text):
        self.box("Find")
        self.focus(self.x_window("Find"))
        self.session.xdotool("type", "--delay", "60", text)
        wait_until(lambda: self.probe.uok("field", "Find", FIND_TEXT)[0] == text)
        self.session.xdotool("key", "Return")
        self.probe.ok("gone", "Find", 10000)


if __name__ == "__main__":
    unittest.main()
