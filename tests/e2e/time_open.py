"""How long the real program under Wine takes to open a 100,000-card deck: from
pressing OK in the Open dialog to the window title naming the deck. Prints the
figure; asserts nothing about it. Not part of the test command (it takes about a
minute): run it as

    MQ_BUILD_DIR=build/win python3 tests/e2e/time_open.py [DECK] [RUNS]

DECK defaults to (or, given as "", is) a generated deck shaped like the
benchmark's, about 27 MB.
"""

import os
import random
import sys
import time
import unittest
from pathlib import Path

from harness import ProgramTestCase, wait_until

WORDS = [b"domus", b"house", b"via", b"road", b"aqua", b"water", b"terra", b"earth", b"amicus",
         b"friend", b"liber", b"book", b"der", b"die", b"das", b"Stra\xdfe", b"M\xe4dchen",
         b"B\xfccher", b"sch\xf6n", b"caf\xe9", b"na\xefve", b"\x80", b"Pr\xfcfung", b"to",
         b"be", b"the", b"of", b"a", b"noun", b"verb", b"(f.)", b"(m.)", b"(n.)", b"plural",
         b"genitive", b"accusative", b"irregular", b"see also", b"e.g.", b"100", b"1."]


def generated_deck(cards=100000):
    """A deck as the benchmark generates it: language texts, mostly low boxes."""
    rng = random.Random(20240611)

    def phrase(low, high):
        return b" ".join(rng.choice(WORDS) for _ in range(rng.randint(low, high)))

    boxes = {box: [] for box in range(7)}
    for _ in range(cards):
        box = rng.choices(range(7), weights=(30, 25, 15, 10, 8, 7, 5))[0]
        answer = phrase(6, 34)
        if rng.random() < 0.1:
            answer += b"\r\n" + phrase(3, 12)
        boxes[box].append((phrase(2, 12), answer, phrase(2, 14)))
    out = []
    for box, cards_of_box in boxes.items():
        for position, (question, answer, info) in enumerate(cards_of_box, start=1):
            out.append(b"<C>\r\n<M>%s</M>\r\n<S>%d</S>\r\n<N>%d</N>\r\n<Q>%s</Q>\r\n"
                       b"<A>%s</A>\r\n<I>%s</I>\r\n</C>\r\n" % (
                           b"+" if position == 1 else b"-", box, position, question, answer,
                           info))
    return b"".join(out)


class OpenTiming(ProgramTestCase):
    deck = None
    runs = 3

    def test_time_from_ok_to_title(self):
        path = self.workdir / "Grosses.Deck.mqf"
        if self.deck:
            path.write_bytes(Path(self.deck).read_bytes())
        else:
            path.write_bytes(generated_deck())
        size = path.stat().st_size
        figures = []
        for _ in range(self.runs):
            program = self.start_and_wait_for_dialog()
            self.keys("ctrl+o")
            self.box("Open")
            window = self.x_window("Open")
            self.focus(window)
            self.session.xdotool("type", "--delay", "20", self.windows_path(path))
            wait_until(lambda: self.probe.ok("field", "Open", 1148)[0] ==
                       self.windows_path(path).encode("cp1252"), timeout=5)
            start = time.monotonic()
            self.session.xdotool("key", "Return")
            # Asked as fast as the probe answers: a few milliseconds per question.
            while self.title() != b"Mnemoquill: Grosses.Deck" and \
                    time.monotonic() - start < 120:
                pass
            figures.append(time.monotonic() - start)
            self.assertEqual(self.title(), b"Mnemoquill: Grosses.Deck")
            program.stop()
            wait_until(lambda: not self.probe.call("main")[0], timeout=10)
        print("\nopening %.1f MB (%s): %s s from OK to the title; best %.2f s"
              % (size / 1e6, path.name, ", ".join("%.2f" % f for f in figures),
                 min(figures)), file=sys.stderr)


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1]:
        OpenTiming.deck = os.path.abspath(sys.argv[1])
    if len(sys.argv) > 2:
        OpenTiming.runs = int(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
