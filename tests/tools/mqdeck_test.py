#!/usr/bin/env python3
"""The mqdeck tool run as a program on real files.

usage: mqdeck_test.py MQDECK [RUNNER...]   (RUNNER, e.g. wine, starts MQDECK)
"""
import json
import os
import random
import subprocess
import sys
import tempfile
import unittest

MQDECK = None
RUNNER = []

KEYS = ["box", "pos", "mark", "section", "number", "question", "answer", "info"]
UNDEFINED_IN_CP1252 = {0x81, 0x8D, 0x8F, 0x90, 0x9D}
OVERWRITE = ("Couldn't find a card.If you proceed the file willbe over written. "
             "Please ensureyou're using a right file!")
INVALID_SECTION = "Invalid section number found! Set number to section 1!"


def cp1252(data):
    """Windows' own decoding: the five undefined bytes become C1 controls."""
    return "".join(chr(b) if b in UNDEFINED_IN_CP1252 else bytes([b]).decode("cp1252")
                   for b in data)


def card(mark, section, number, question=b"", answer=b"", info=b""):
    """One card as the program's writer lays it out."""
    def field(tag, value):
        return b"<" + tag + b">" + value + b"</" + tag + b">\r\n"
    return (b"<C>\r\n" + field(b"M", mark) + field(b"S", str(section).encode()) +
            field(b"N", str(number).encode()) + field(b"Q", question) +
            field(b"A", answer) + field(b"I", info) + b"</C>\r\n")


def normalised(cards):
    """What a dump looks like after a save: marks and numbers from the positions."""
    return [dict(c, mark="+" if c["pos"] == 1 else "-", number=c["pos"]) for c in cards]


class MqdeckTest(unittest.TestCase):
    def setUp(self):
        self._dir = tempfile.TemporaryDirectory(prefix="mqdeck-test-")
        self.dir = self._dir.name

    def tearDown(self):
        self._dir.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def file(self, name, data):
        path = self.path(name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def run_tool(self, *args):
        # Files, not pipes: a runner's helper processes (the wineserver) may hold a
        # pipe open long after the tool has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run(RUNNER + [MQDECK] + list(args), stdout=out, stderr=err,
                                  timeout=600).returncode
            out.seek(0)
            err.seek(0)
            out, err = out.read(), err.read()
        err = err.decode("utf-8").replace("\r\n", "\n")  # boxes are converted too
        for line in err.splitlines():  # no sanitizer or other stray report
            self.assertTrue(line.startswith(("mqdeck: ", "usage:", "       ")), err)
        return code, out, err

    def dump(self, path):
        code, out, err = self.run_tool("dump", path)
        self.assertEqual(code, 0, err)
        cards = []
        for raw in out.split(b"\n")[:-1]:
            self.assertFalse(any(b < 0x20 for b in raw), raw)
            value = json.loads(raw.decode("utf-8"))
            self.assertEqual(list(value), KEYS)
            cards.append(value)
        self.assertTrue(out == b"" or out.endswith(b"\n"))
        return cards, err

    def write(self, source, target):
        code, out, err = self.run_tool("write", source, target)
        self.assertEqual(out, b"")
        return code, err


class Arguments(MqdeckTest):
    def test_wrong_arguments_exit_2(self):
        for args in ([], ["dump"], ["dump", "a", "b"], ["write", "a"], ["load", "a"]):
            code, out, err = self.run_tool(*args)
            self.assertEqual((code, out), (2, b""), args)
            self.assertIn("usage", err)

    def test_unreadable_or_empty_input_exits_1(self):
        empty = self.file("empty.txt", b"")
        for source in (self.path("missing.txt"), empty, self.dir):
            for args in (["dump", source], ["write", source, self.path("out.txt")]):
                code, out, err = self.run_tool(*args)
                self.assertEqual((code, out), (1, b""), args)
                self.assertTrue(err, args)
        self.assertFalse(os.path.exists(self.path("out.txt")))


class Dump(MqdeckTest):
    def test_cards_in_box_order_with_their_own_fields(self):
        data = (card(b"+", 1, 1, b"domus", b"house", b"noun") +
                card(b"-", 3, 1, b'say "hi"\r\nback\\slash\ttab', b"\x80 \xe4 \x81", b"\x01\x1f") +
                card(b"-", 1, 2, b"", b"", b"") +
                card(b"+", 0, 9, b"new", b"neu", b""))
        cards, err = self.dump(self.file("deck.txt", data))
        self.assertEqual(err, "")
        self.assertEqual([(c["box"], c["pos"], c["question"]) for c in cards],
                         [(0, 1, "new"), (1, 1, "domus"), (1, 2, ""),
                          (3, 1, 'say "hi"\r\nback\\slash\ttab')])
        self.assertEqual(cards[0], dict(box=0, pos=1, mark="+", section=0, number=9,
                                        question="new", answer="neu", info=""))
        self.assertEqual(cards[3]["answer"], "\u20ac \u00e4 \u0081")
        self.assertEqual(cards[3]["info"], "\x01\x1f")

        code, out, _ = self.run_tool("dump", self.path("deck.txt"))
        lines = out.split(b"\n")
        self.assertEqual(lines[1], b'{"box":1,"pos":1,"mark":"+","section":1,"number":1,'
                                   b'"question":"domus","answer":"house","info":"noun"}')
        self.assertIn(b'"question":"say \\"hi\\"\\r\\nback\\\\slash\\ttab"', lines[3])
        self.assertIn(b'"info":"\\u0001\\u001f"', lines[3])

    def test_every_byte_is_converted_from_code_page_1252(self):
        text = bytes(b for b in range(1, 256) if b != ord("<"))
        # The text ends at its first NUL: the second card is never seen.
        data = card(b"+", 2, 1, text) + b"\0" + card(b"+", 3, 1, b"hidden")
        cards, _ = self.dump(self.file("bytes.txt", data))
        self.assertEqual(len(cards), 1)
        self.assertEqual(cards[0]["question"], cp1252(text))
        self.assertEqual(cp1252(b"\x80\x8d\x8f\x90\x9d\x9f"), "\u20ac\x8d\x8f\x90\x9d\u0178")

    def test_hand_edited_file_is_ordered_and_repaired(self):
        data = (b"notes before the first card\r\n" +
                card(b"-", 2, 1, b"one") + card(b"+", 2, 2, b"two") + card(b"-", 2, 3, b"three") +
                card(b"-", 7, 5, b"seven") + card(b"+", 6, 1, b"six") +
                b"<C><Q>only a question</Q></C>" +
                b"<C><S>4</S><N>2</N><Q>cut</Q></C")  # the last ">" is lost
        cards, err = self.dump(self.file("edited.txt", data))
        self.assertEqual(err, "mqdeck: " + INVALID_SECTION + "\n")
        self.assertEqual([(c["box"], c["question"]) for c in cards],
                         [(0, "only a question"), (1, "seven"), (2, "two"), (2, "three"),
                          (2, "one"), (4, "cut"), (6, "six")])
        self.assertEqual(cards[0], dict(box=0, pos=1, mark="-", section=0, number=0,
                                        question="only a question", answer="", info=""))
        self.assertEqual((cards[1]["section"], cards[1]["number"]), (1, 5))

    def test_text_without_a_card_is_read_as_one_blank_card(self):
        cards, err = self.dump(self.file("plain.txt", b"just some text\r\n"))
        self.assertEqual(err, "mqdeck: Overwrite?: " + OVERWRITE + "\n")
        self.assertEqual(cards, [dict(box=0, pos=1, mark="-", section=0, number=0,
                                      question="", answer="", info="")])


class Write(MqdeckTest):
    def test_saves_byte_for_byte_what_the_program_saves(self):
        data = (card(b"+", 0, 1, b"q0") + card(b"+", 1, 1, b"a\r\nb", b"\x80", b"i") +
                card(b"-", 1, 2) + card(b"+", 5, 1, b"five"))
        source = self.file("deck.txt", data)
        target = self.file("out.mqf", b"old content, replaced whole" * 1000)
        self.assertEqual(self.write(source, target), (0, ""))
        with open(target, "rb") as f:
            self.assertEqual(f.read(), data)
        self.assertEqual(sorted(os.listdir(self.dir)), ["deck.txt", "out.mqf"])

        # A hand-edited file comes out as the program would save it.
        edited = self.file("edited.txt", card(b"-", 2, 8, b"x") + card(b"+", 2, 3, b"y") +
                           card(b"+", 0, 4, b"z"))
        self.assertEqual(self.write(edited, target), (0, ""))
        with open(target, "rb") as f:
            self.assertEqual(f.read(), card(b"+", 0, 1, b"z") + card(b"+", 2, 1, b"y") +
                             card(b"-", 2, 2, b"x"))

    def test_failed_save_exits_1_and_leaves_nothing_behind(self):
        source = self.file("deck.txt", card(b"+", 1, 1, b"q"))
        code, err = self.write(source, self.path(os.path.join("no-such-dir", "out.txt")))
        self.assertEqual(code, 1)
        self.assertIn("mqdeck: MQMessage: CreateFileHandle ERR: , err#: ", err)

        os.mkdir(self.path("taken"))
        code, err = self.write(source, self.path("taken"))
        self.assertEqual(code, 1)  # a folder cannot be written as a file: nothing is tried
        self.assertIn("mqdeck: MQMessage: CreateFileHandle ERR: , err#: 5", err)
        self.assertTrue(os.path.isdir(self.path("taken")))
        self.assertEqual(sorted(os.listdir(self.dir)), ["deck.txt", "taken"])


class Robustness(MqdeckTest):
    TAGS = [b"<C>", b"</C>", b"</C", b"<M>", b"</M>", b"<S>", b"</S>", b"<N>", b"</N>",
            b"<Q>", b"</Q>", b"<A>", b"</A>", b"<I>", b"</I>", b"+", b"-7", b"3", b"\r\n"]

    def check_round_trip(self, source):
        cards, _ = self.dump(source)
        self.assertGreaterEqual(len(cards), 1)  # the reader always makes a card
        target = self.path("saved.txt")
        self.assertEqual(self.write(source, target)[0], 0)
        if not any("<" in c[k] for c in cards for k in ("question", "answer", "info")):
            self.assertEqual(self.dump(target)[0], normalised(cards))

    def test_random_and_damaged_files(self):
        rng = random.Random(20240611)
        for case in range(24):
            with self.subTest(case=case):
                if case % 3 == 0:  # anything, NUL and 0x80-0x9F included
                    data = bytes(rng.randrange(256) for _ in range(rng.randrange(1, 5000)))
                elif case % 3 == 1:  # tags and text in any order, no NUL
                    data = b"".join(rng.choice(self.TAGS) if rng.random() < 0.5 else
                                    bytes(rng.randrange(1, 256) for _ in range(rng.randrange(8)))
                                    for _ in range(rng.randrange(1, 400)))
                else:  # a good file cut short or with a byte changed
                    data = bytearray(b"".join(card(b"+-"[i % 2:i % 2 + 1], i % 7, i,
                                                   b"q%d" % i, b"\x80\x9f") for i in range(40)))
                    data[rng.randrange(len(data))] = rng.randrange(1, 256)
                    data = bytes(data[:rng.randrange(1, len(data) + 1)])
                self.check_round_trip(self.file("random.bin", data))

    def test_very_large_file(self):
        rng = random.Random(7)
        words = [b"domus", b"house", b"Stra\xdfe", b"\x80uro", b"caf\xe9", b"line\r\nbreak"]

        def text():
            return b" ".join(rng.choice(words) for _ in range(rng.randrange(1, 30)))

        groups = {}
        for box in (3, 1, 0, 6, 2, 5, 4):  # the file holds the boxes out of order
            cards = []
            while sum(map(len, cards)) < 3 * 1024 * 1024:
                position = len(cards) + 1
                cards.append(card(b"+" if position == 1 else b"-", box, position, text(),
                                  text(), b"%d" % position))
            groups[box] = cards
        data = b"".join(b"".join(cards) for cards in groups.values())
        source = self.file("large.txt", data)

        code, out, err = self.run_tool("dump", source)
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(out.count(b"\n"), sum(map(len, groups.values())))
        last = json.loads(out[out.rindex(b"\n", 0, len(out) - 1) + 1:])
        self.assertEqual((last["box"], last["pos"]), (6, len(groups[6])))
        self.assertEqual(last["info"], str(last["pos"]))

        target = self.path("large-out.txt")
        self.assertEqual(self.write(source, target), (0, ""))
        with open(target, "rb") as f:
            self.assertEqual(f.read(), b"".join(b"".join(groups[box]) for box in range(7)))


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    MQDECK = os.path.abspath(sys.argv[1])
    RUNNER = sys.argv[2:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
