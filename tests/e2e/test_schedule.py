"""End-to-end tests of the schedule under Wine: the due counts of a deck dated
relative to today, Due Cards Only walking exactly the due cards, a Move dating
its card and counting it and nothing else, and the Schedule dialog changing a box's days."""

import datetime
import unittest

from harness import MF_CHECKED, ProgramTestCase, wait_until
from test_program import MOVE, NEXT, QUESTION, RADIOS

DUE_ONLY, SCHEDULE = 40018, 40019
DUE_FIELDS = [1040, 1041, 1042, 1043, 1044]
DUE_LINE = 1045
ROW_LABELS = [1046, 1047]
BOX_2_DAYS = 1052


def dated_file(boxes):
    """A card file as the program writes it: {box: [(question, days before today or
    None), ...]}; the answer and info are derived from the question."""
    today = datetime.date.today()
    out = b""
    for box in sorted(boxes):
        for position, (question, age) in enumerate(boxes[box], start=1):
            out += (b"<C>\r\n<M>%s</M>\r\n<S>%d</S>\r\n<N>%d</N>\r\n<Q>%s</Q>\r\n"
                    b"<A>%s!</A>\r\n<I>%s.</I>\r\n") % (
                b"+" if position == 1 else b"-", box, position, question, question, question)
            if age is not None:
                out += b"<D>%s</D>\r\n" % (today - datetime.timedelta(days=age)).isoformat().encode()
            out += b"</C>\r\n"
    return out


class ScheduleTest(ProgramTestCase):

    def due_fields(self):
        return [self.text(c) for c in DUE_FIELDS]

    def wait_for_question(self, question):
        self.wait_for_text(QUESTION, question)

    def test_due_cards_are_counted_walked_dated_and_follow_the_schedule(self):
        deck = self.workdir / "dated.mqf"
        deck.write_bytes(dated_file({
            0: [(b"new", None)],
            1: [(b"a", 0)],
            2: [(b"b", 1), (b"c", 0), (b"d", 3)],
            3: [(b"e", 3)],
            4: [(b"f", 0)],
        }))
        self.start_and_wait_for_dialog(str(deck))
        self.wait_for_title(b"Mnemoquill: dated")
        self.assertEqual(self.due_fields(), [b"1", b"2", b"1", b"0", b"0"])
        self.assertEqual(self.text(DUE_LINE), b"4 due today")
        self.assertEqual([self.text(c) for c in ROW_LABELS], [b"cards", b"due"])

        # Box 2 through Due Cards Only: b and d, never c.
        self.click_control(RADIOS[1])
        self.wait_for_question(b"b")
        self.keys("ctrl+d")
        wait_until(lambda: self.menu_state(DUE_ONLY) & MF_CHECKED)
        self.assertTrue(self.menu_state(DUE_ONLY) & MF_CHECKED)
        shown = []
        for _ in range(4):
            self.probe.ok("command", NEXT)
            wait_until(lambda: self.text(QUESTION) != (shown[-1] if shown else b"b"))
            shown.append(self.text(QUESTION))
        self.assertEqual(shown, [b"d", b"b", b"d", b"b"])

        # Move dates b today in box 3: b is no longer due, and nothing else changes
        # but today's count of cards moved up.
        self.probe.ok("command", MOVE)
        self.wait_for_question(b"d")
        self.assertEqual(self.due_fields(), [b"1", b"1", b"1", b"0", b"0"])
        self.keys("ctrl+s")
        self.box("Save ?")
        self.answer("Save ?", "yes")
        self.text(QUESTION)
        self.assertEqual(deck.read_bytes(), dated_file({
            0: [(b"new", None)],
            1: [(b"a", 0)],
            2: [(b"d", 3), (b"c", 0)],
            3: [(b"e", 3), (b"b", 0)],
            4: [(b"f", 0)],
        }) + b"<H>\r\n%s 1 0 0\r\n</H>\r\n" % datetime.date.today().isoformat().encode())

        # The Schedule dialog refuses a word and keeps the days it takes.
        self.probe.ok("command", SCHEDULE)
        self.box("Schedule")
        self.assertEqual(self.probe.ok("field", "Schedule", BOX_2_DAYS)[0], b"1")
        self.focus(self.x_window("Schedule"))
        self.session.xdotool("key", "--delay", "80", "Tab")
        self.session.xdotool("type", "--delay", "60", "two")
        self.probe.ok("answer", "Schedule", "ok")
        self.assertEqual(self.box("Mnemoquill")[2],
                         b"Box 2: please enter a whole number of days from 0 to 3650.")
        self.answer("Mnemoquill", "ok")
        self.focus(self.x_window("Schedule"))
        self.session.xdotool("key", "--delay", "80", "ctrl+a", "BackSpace")
        self.session.xdotool("type", "--delay", "60", "0")
        wait_until(lambda: self.probe.ok("field", "Schedule", BOX_2_DAYS)[0] == b"0")
        self.answer("Schedule", "ok")
        wait_until(lambda: self.due_fields()[1] == b"2")
        self.assertEqual(self.due_fields(), [b"1", b"2", b"1", b"0", b"0"])
        self.assertEqual(self.text(DUE_LINE), b"4 due today")


if __name__ == "__main__":
    unittest.main()
