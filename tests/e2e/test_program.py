"""End-to-end tests of Mnemoquill.exe under Wine: real windows, real keys, real files."""

import datetime
import time
import unittest

from harness import MF_CHECKED, MF_GRAYED, ProgramTestCase, wait_until

# Control and menu ids of dialog 102 and menu 107.
QUESTION, ANSWER = 1000, 1001
MOVE, SHOW, NEXT, BACK = 1002, 1003, 1004, 1013
RADIOS = (1006, 1007, 1008, 1009, 1010)
COUNTS = (1030, 1031, 1032, 1033, 1034)
OPEN, NEW, SAVE, SAVE_AS, INFO = 1017, 1035, 40008, 40013, 40003
RECENT_1, RECENT_2 = 40101, 40102
GET_NEW_CARD, EDIT, PREVIOUS, INSERT, DELETE = 40002, 40009, 40010, 40012, 40011
EDIT_POPUP, NAVIGATE_POPUP = 1, 2

INFO_CAPTION = "Mnemoquill Info; 0.0.5.4 BETA"


def today():
    """The day a card placed today is dated with, as the card file spells it."""
    return datetime.date.today().isoformat().encode()


def card_file(boxes):
    """A card file exactly as the program writes it: {box: [(q, a, i[, day]), ...]}."""
    out = b""
    for box in sorted(boxes):
        for position, (question, answer, info, *day) in enumerate(boxes[box], start=1):
            out += (b"<C>\r\n<M>%s</M>\r\n<S>%d</S>\r\n<N>%d</N>\r\n<Q>%s</Q>\r\n"
                    b"<A>%s</A>\r\n<I>%s</I>\r\n") % (
                b"+" if position == 1 else b"-", box, position, question, answer, info)
            out += b"".join(b"<D>%s</D>\r\n" % d for d in day) + b"</C>\r\n"
    return out


# Box 1 leads with a question in code page 1252, so the panes must keep its bytes.
DECK = card_file({
    0: [(b"neu", b"new", b"frisch")],
    1: [(b"Gr\xfc\xdfe", b"greetings", b"Plural"), (b"Baum", b"tree", b"Nomen")],
    2: [(b"Haus", b"house", b"Nomen")],
    3: [(b"laufen", b"run", b"Verb"), (b"gehen", b"go", b"Verb"), (b"sehen", b"see", b"Verb")],
})

# Nothing in box 1: the dialog opens on the no-card display.
DECK_WITHOUT_BOX_1 = card_file({2: [(b"Haus", b"house", b"Nomen")]})


class MnemoquillTest(ProgramTestCase):

    # --- helpers that run a user's steps ---

    def write_deck(self, name, content):
        path = self.workdir / name
        path.write_bytes(content)
        return path

    def open_through_dialog(self, path, title):
        self.keys("ctrl+o")
        self.type_file_name("Open", path)
        self.wait_for_title(title)

    def assert_menu_grayed(self, command_id, grayed=True):
        self.assertEqual(bool(self.menu_state(command_id) & MF_GRAYED), grayed,
                         "menu item %d" % command_id)

    # --- start-up and closing ---

    def test_fresh_start_shows_the_template_in_its_no_file_state(self):
        program = self.start_and_wait_for_dialog()

        self.assertEqual(self.title(), b"Mnemoquill")
        labels = {NEXT: b"N&ext", SHOW: b"&Show", MOVE: b"&Move", BACK: b"&Back",
                  1012: b"Boxes", 1014: b"." * 86}
        labels.update({radio: b"Box&%d" % n for n, radio in enumerate(RADIOS, start=1)})
        for control_id, label in labels.items():
            self.assertEqual(self.text(control_id), label, "control %d" % control_id)
        for control_id in (QUESTION, ANSWER) + COUNTS:
            self.assertEqual(self.text(control_id), b"", "control %d" % control_id)

        for control_id in (MOVE, SHOW, NEXT, BACK) + RADIOS + COUNTS:
            self.assertFalse(self.enabled(control_id), "control %d" % control_id)
        self.assertEqual([self.checked(r) for r in RADIOS], [True] + [False] * 4)

        # File (New, Open, Save, Save As) and Help (2) usable; Save As grayed until
        # a card file is current; Edit and Navigate grayed as a whole.
        self.assertEqual(self.popup_state(0) & 0xFF0F, 0x0400)
        self.assert_menu_grayed(SAVE_AS)
        self.assertEqual(self.popup_state(3) & 0xFF0F, 0x0200)
        self.assertEqual(self.popup_state(EDIT_POPUP) & MF_GRAYED, MF_GRAYED)
        self.assertEqual(self.popup_state(NAVIGATE_POPUP) & MF_GRAYED, MF_GRAYED)
        for grayed in (GET_NEW_CARD, INSERT, DELETE, PREVIOUS):
            self.assert_menu_grayed(grayed)
        self.assertFalse(self.menu_state(EDIT) & MF_CHECKED)

        stdout = wait_until(program.stdout, timeout=10)
        self.assertRegex(stdout.decode("ascii"),
                         r"\AAccelManager\.cpp:AccelManager: \d+: constructor\r?\n\Z")

    def test_closing_without_a_card_file_asks_nothing_and_exits_zero(self):
        program = self.start_and_wait_for_dialog()
        self.probe.ok("close")
        self.assert_no_box("Save ?")
        self.assertEqual(program.wait(), 0)
        self.assertEqual(list(self.workdir.iterdir()), [])  # accels.txt is never created

    def test_second_start_exits_at_once_and_brings_the_first_to_the_foreground(self):
        first = self.start_and_wait_for_dialog()
        self.probe.ok("foreign-window")  # something else has the foreground now

        self.probe.ok("minimize")

        second = self.start_program(workdir=self.workdir.parent / "second")
        self.assertEqual(second.wait(timeout=20), 0)
        self.assertEqual(second.stdout(), b"")  # no AccelManager: it read no accels.txt
        self.probe.ok("wait-foreground", 10000)  # the dialog itself, restored
        self.assertIsNone(first.process.poll())

    def test_a_deck_on_the_command_line_opens_relative_to_the_working_folder(self):
        (self.workdir / "Meine Decks").mkdir()
        self.write_deck("Meine Decks/Latein.mqf", DECK)
        self.start_and_wait_for_dialog("Meine Decks\\Latein.mqf")
        self.wait_for_title(b"Mnemoquill: Latein")
        self.assertEqual(self.text(QUESTION), b"Gr\xfc\xdfe")
        self.assertEqual((self.workdir / "mq_tmp.txt").read_bytes(), DECK)

    def test_a_second_start_given_a_deck_hands_it_to_the_running_program(self):
        first_deck = self.write_deck("Latein.mqf", DECK)
        first = self.start_and_wait_for_dialog(self.windows_path(first_deck))
        self.wait_for_title(b"Mnemoquill: Latein")
        self.probe.ok("minimize")

        # Named relative to a working folder of its own.
        elsewhere = self.workdir.parent / "second"
        elsewhere.mkdir()
        (elsewhere / "Haus.mqf").write_bytes(DECK_WITHOUT_BOX_1)
        second = self.start_program("Haus.mqf", workdir=elsewhere)
        self.assertEqual(second.wait(timeout=20), 0)  # without waiting for the question
        self.assertEqual(second.stdout(), b"")

        self.assertEqual(self.box("Save ?")[2], b"Save CardFile?")
        self.answer("Save ?", "no")
        self.wait_for_title(b"Mnemoquill: Haus")
        self.assertEqual(self.text(ANSWER), b"no cards.")
        self.probe.ok("wait-foreground", 10000)
        self.assertEqual(self.probe.ok("dialogs")[0], b"1")
        self.assertIsNone(first.process.poll())

    def test_recent_files_reopen_in_their_order_after_a_restart(self):
        latein = self.write_deck("Latein.mqf", DECK)
        haus = self.write_deck("Haus.mqf", DECK_WITHOUT_BOX_1)
        program = self.start_and_wait_for_dialog(self.windows_path(latein))
        self.wait_for_title(b"Mnemoquill: Latein")
        self.keys("ctrl+o")
        self.box("Save ?")
        self.answer("Save ?", "no")
        self.type_file_name("Open", haus)
        self.wait_for_title(b"Mnemoquill: Haus")
        self.probe.ok("close")
        self.box("Save ?")
        self.answer("Save ?", "no")
        self.assertEqual(program.wait(), 0)

        self.start_and_wait_for_dialog()
        # New, Open, Save, Save As, the separator and two card files.
        self.assertEqual(self.popup_state(0) >> 8, 7)
        self.probe.ok("command", RECENT_2)
        self.wait_for_title(b"Mnemoquill: Latein")
        self.probe.ok("command", RECENT_2)
        self.box("Save ?")
        self.answer("Save ?", "no")
        self.wait_for_title(b"Mnemoquill: Haus")
        self.assertEqual(self.text(ANSWER), b"no cards.")

    def test_alt_f4_asks_the_save_question_and_exits_zero_on_no(self):
        deck = self.write_deck("Latein.mqf", DECK)
        program = self.start_and_wait_for_dialog()
        self.open_through_dialog(deck, b"Mnemoquill: Latein")
        deck.write_bytes(b"changed on disk")

        self.keys("alt+F4")
        owner, buttons, text = self.box("Save ?")
        self.assertEqual((owner, buttons, text), ("none", ["&Yes", "&No"], b"Save CardFile ?"))
        self.answer("Save ?", "no")
        self.assertEqual(program.wait(), 0)
        self.assertEqual(deck.read_bytes(), b"changed on disk")

    def test_closing_the_main_window_saves_on_yes_and_exits_zero(self):
        deck = self.write_deck("Latein.mqf", DECK)
        program = self.start_and_wait_for_dialog()
        self.open_through_dialog(deck, b"Mnemoquill: Latein")
        deck.write_bytes(b"")

        self.probe.ok("close-main")
        self.box("Save ?")
        self.answer("Save ?", "yes")
        # Emptied by another program since it was opened: replaced only on Replace.
        self.box("Mnemoquill")
        self.answer("Mnemoquill", "1071")
        self.assertEqual(program.wait(), 0)
        self.assertEqual(deck.read_bytes(), DECK)

    def test_a_close_whose_save_fails_keeps_the_dialog_and_no_then_exits_zero(self):
        folder = self.workdir / "Decks"
        folder.mkdir()
        deck = folder / "Latein.mqf"
        deck.write_bytes(DECK)
        program = self.start_and_wait_for_dialog()
        self.open_through_dialog(deck, b"Mnemoquill: Latein")
        folder.rename(self.workdir / "Moved")

        self.probe.ok("close")
        self.box("Save ?")
        self.answer("Save ?", "yes")
        self.assertEqual(self.box("MQMessage")[2], b"CreateFileHandle ERR: , err#: 3")
        self.answer("MQMessage", "ok")
        self.assertEqual(self.title(), b"Mnemoquill: Latein")
        self.assertIsNone(program.process.poll())

        self.probe.ok("close")
        self.box("Save ?")
        self.answer("Save ?", "no")
        self.assertEqual(program.wait(), 0)
        self.assertEqual((self.workdir / "Moved" / "Latein.mqf").read_bytes(), DECK)

    # --- files ---

    def test_long_paths_files_held_open_and_save_as_all_save(self):
        # A 255-character path: its folder leaves no room for a longer name beside it.
        room = 255 - len(self.windows_path(self.workdir)) - len("\\x.mqf")
        folder = self.workdir / ("d" * (room // 2)) / ("e" * (room - room // 2 - 2))
        folder.mkdir(parents=True)
        deck = folder / "x.mqf"
        self.assertEqual(len(self.windows_path(deck)), 255)
        deck.write_bytes(DECK)
        self.start_and_wait_for_dialog()
        self.open_through_dialog(deck, b"Mnemoquill: x")

        for hold in (False, True):
            deck.write_bytes(b"changed on disk")
            if hold:  # shared for reading and writing, not for renaming
                self.probe.ok("hold", self.windows_path(deck))
            self.keys("ctrl+s")
            self.box("Save ?")
            self.answer("Save ?", "yes")
            self.box("Mnemoquill")  # changed by another program: Replace
            self.answer("Mnemoquill", "1071")
            self.assertTrue(wait_until(lambda: deck.read_bytes() == DECK, timeout=10))
            self.assert_no_box("MQMessage", within_ms=500)
        self.probe.ok("release")
        self.assertEqual(sorted(p.name for p in folder.iterdir()), ["x.mqf"])

        self.assert_menu_grayed(SAVE_AS, False)
        self.keys("ctrl+shift+s")
        self.type_file_name("Save As", self.workdir / "Kopie")
        self.wait_for_title(b"Mnemoquill: Kopie")
        self.assertEqual((self.workdir / "Kopie.txt").read_bytes(), DECK)

    def test_a_file_of_many_bad_sections_gives_one_notice(self):
        bad = b"".join(b"<C><S>9</S><N>%d</N><Q>q%d</Q></C>\r\n" % (n, n) for n in range(200))
        deck = self.write_deck("Kaputt.mqf", bad)
        self.start_and_wait_for_dialog()
        self.keys("ctrl+o")
        self.type_file_name("Open", deck)
        self.assertEqual(self.box("Error")[2],
                         b"Invalid section number found! Set number to section 1!")
        self.answer("Error", "ok")
        self.wait_for_title(b"Mnemoquill: Kaputt")
        self.assert_no_box("Error")
        self.assertEqual(self.text(COUNTS[0]), b"200")


    def test_open_through_the_open_dialog_shows_the_front_card_of_box_1(self):
        deck = self.write_deck("Latein.Lektion1.mqf", DECK)
        self.start_and_wait_for_dialog()
        self.open_through_dialog(deck, b"Mnemoquill: Latein.Lektion1")

        self.assertEqual(self.text(QUESTION), b"Gr\xfc\xdfe")
        self.assertEqual(self.text(ANSWER), b"Plural")
        self.assertEqual([self.text(c) for c in COUNTS], [b"2", b"1", b"3", b"0", b"0"])
        self.assertEqual((self.workdir / "mq_tmp.txt").read_bytes(), DECK)

        self.assertEqual([self.enabled(c) for c in (MOVE, SHOW, NEXT, BACK)],
                         [True, True, True, False])
        self.assertTrue(all(self.enabled(r) for r in RADIOS))
        self.assertTrue(self.checked(RADIOS[0]))
        self.assertFalse(self.popup_state(EDIT_POPUP) & MF_GRAYED)
        self.assertFalse(self.popup_state(NAVIGATE_POPUP) & MF_GRAYED)
        self.assert_menu_grayed(GET_NEW_CARD, False)

    def test_opening_a_missing_file_reports_it_and_changes_nothing(self):
        self.start_and_wait_for_dialog()
        self.keys("ctrl+o")
        self.type_file_name("Open", self.workdir / "fehlt.mqf")

        owner, buttons, text = self.box("Sorry.")
        self.assertEqual(owner, "dialog")
        self.assertEqual(buttons, ["OK", "Cancel"])
        self.assertEqual(text, b"Anyhow, I can't open this file properly.\n"
                               b"OK proceeds with violated datas.\nCancel is a good idea.")
        self.answer("Sorry.", "cancel")

        self.assertEqual(self.title(), b"Mnemoquill")
        self.assertEqual(self.popup_state(EDIT_POPUP) & MF_GRAYED, MF_GRAYED)
        self.assertEqual((self.workdir / "mq_tmp.txt").read_bytes(), b"")

    def test_save_answered_yes_writes_the_deck_back_and_no_writes_nothing(self):
        deck = self.write_deck("Latein.mqf", DECK)
        self.start_and_wait_for_dialog()
        self.open_through_dialog(deck, b"Mnemoquill: Latein")

        deck.write_bytes(b"changed on disk")
        self.keys("ctrl+s")
        self.assertEqual(self.box("Save ?")[1:], (["&Yes", "&No"], b"Save CardFile ?"))
        self.answer("Save ?", "no")
        self.assertEqual(deck.read_bytes(), b"changed on disk")

        self.keys("ctrl+s")
        self.box("Save ?")
        self.answer("Save ?", "yes")
        # Another program wrote the file since it was opened: the save asks first.
        self.box("Mnemoquill")
        self.answer("Mnemoquill", "1071")  # Replace
        self.assertTrue(wait_until(lambda: deck.read_bytes() == DECK, timeout=10))

    def test_new_card_file_gets_the_default_extension_and_is_written_on_save(self):
        self.start_and_wait_for_dialog()
        self.keys("ctrl+n")
        self.type_file_name("Save As", self.workdir / "Vokabeln")
        self.wait_for_title(b"Mnemoquill: Vokabeln")
        self.assertEqual([self.text(c) for c in COUNTS], [b"0"] * 5)
        self.assertEqual(self.text(ANSWER), b"no cards.")
        self.assertFalse((self.workdir / "Vokabeln.txt").exists())  # named, not yet written

        # Edit mode on an empty box inserts a card and puts the caret in its question.
        self.probe.ok("command", EDIT)
        self.assertEqual(self.box("Edit Mode:"),
                         ("dialog", ["OK"], b"Switch off by clicking edit again."))
        self.answer("Edit Mode:", "ok")
        self.wait_for_text(COUNTS[0], b"1")
        self.type_text("Frage")
        self.wait_for_text(QUESTION, b"Frage")

        self.keys("ctrl+s")
        self.box("Save ?")
        self.answer("Save ?", "yes")
        saved = self.workdir / "Vokabeln.txt"
        expected = card_file({1: [(b"Frage", b"empty answer", b"empty info", today())]})
        self.assertTrue(wait_until(lambda: saved.exists() and saved.read_bytes() == expected,
                                   timeout=10), saved.exists() and saved.read_bytes())

    # --- keyboard ---

    def test_info_box_through_the_help_menu(self):
        self.start_and_wait_for_dialog()
        self.keys("alt+h", "i")

        owner, buttons, text = self.box(INFO_CAPTION)
        self.assertEqual((owner, buttons), ("dialog", ["OK"]))
        lines = text.split(b"\n")
        self.assertEqual(lines[0], b"Mnemoquill")
        self.assertEqual(lines[2], b"Testunterst\xfctzung durch das Mnemoquill-Testteam")
        self.assertEqual(lines[5],
                         b"F\xfcr weitere Hilfeinformationen lesen sie bitte die Liesmich.txt.")
        self.assertRegex(lines[6].decode("ascii"),
                         r"^Built :[A-Z][a-z]{2} [ \d]\d \d{4}::\d\d:\d\d:\d\d$")
        self.assertEqual(lines[7:], [b"Label:  V_0_0_5_4_BBETA"])
        self.answer(INFO_CAPTION, "ok")

    def test_accels_txt_mapping_wins_over_the_accelerator_table(self):
        # In a folder named in another script, where the program keeps its files too.
        self.workdir = self.workdir.parent / "Рабочая папка"
        self.workdir.mkdir()
        (self.workdir / "accels.txt").write_bytes(b"FCONTROL :: S :: s\r\n")
        deck = self.write_deck("Latein.mqf", DECK)
        self.start_and_wait_for_dialog()
        self.open_through_dialog(deck, b"Mnemoquill: Latein")
        self.click_control(NEXT)  # a button has the focus, so a character is a mnemonic
        self.wait_for_text(QUESTION, b"Baum")

        self.keys("ctrl+s")
        self.wait_for_text(SHOW, b"&Info")  # the s of "&Show"
        self.assertEqual(self.text(ANSWER), b"tree")
        self.assert_no_box("Save ?")
        self.assertEqual((self.workdir / "accels.txt").read_bytes(), b"FCONTROL :: S :: s\r\n")
        self.assertEqual((self.workdir / "mq_tmp.txt").read_bytes(), DECK)

    def test_alt_s_is_dropped_while_show_is_disabled(self):
        deck = self.write_deck("Haus.mqf", DECK_WITHOUT_BOX_1)
        self.start_and_wait_for_dialog()
        self.open_through_dialog(deck, b"Mnemoquill: Haus")
        self.wait_for_text(ANSWER, b"no cards.")
        self.assertFalse(self.enabled(SHOW))

        self.keys("alt+s")
        time.sleep(1.0)
        self.assertEqual((self.text(SHOW), self.text(ANSWER)), (b"&Show", b"no cards."))

        # The same key does reach Show once there is a card to show.
        self.click_control(RADIOS[1])
        self.wait_for_text(QUESTION, b"Haus")
        self.keys("alt+s")
        self.wait_for_text(SHOW, b"&Info")
        self.assertEqual(self.text(ANSWER), b"house")


if __name__ == "__main__":
    unittest.main()
