#!/usr/bin/env python3
"""The mqdeck tool run as a program on real files.

usage: mqdeck_test.py MQDECK [RUNNER...]   (RUNNER, e.g. wine, starts MQDECK)
"""
import json
import xml.etree.ElementTree as ElementTree
import os
import random
import subprocess
import sys
import tempfile
import unittest

SAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "samples",
                      "latin.mqf")

MQDECK = None
RUNNER = []

KEYS = ["box", "pos", "mark", "section", "number", "question", "answer", "info"]
BOM = b"\xef\xbb\xbf"  # begins every UTF-8 card file
UNDEFINED_IN_CP1252 = {0x81, 0x8D, 0x8F, 0x90, 0x9D}
OVERWRITE = ("Couldn't find a card.If you proceed the file willbe over written. "
             "Please ensureyou're using a right file!")
INVALID_SECTION = "Invalid section number found! Set number to section 1!"


def cp1252(data):
    """Windows' own decoding: the five undefined bytes become C1 controls."""
    return "".join(chr(b) if b in UNDEFINED_IN_CP1252 else bytes([b]).decode("cp1252")
                   for b in data)


def card(mark, section, number, question=b"", answer=b"", info=b"", day=None):
    """One card as the program's writer lays it out."""
    def field(tag, value):
        return b"<" + tag + b">" + value + b"</" + tag + b">\r\n"
    return (b"<C>\r\n" + field(b"M", mark) + field(b"S", str(section).encode()) +
            field(b"N", str(number).encode()) + field(b"Q", question) +
            field(b"A", answer) + field(b"I", info) + (day and field(b"D", day) or b"") +
            b"</C>\r\n")


# Days around 2026-03-10 for a --today of that day: box 2 rests 1 day, box 3 rests 3.
SCHEDULED = (card(b"+", 0, 1, b"new") + card(b"-", 0, 2, b"old", day=b"2020-01-01") +
             card(b"+", 1, 1, b"no day") +
             card(b"+", 2, 1, b"before", day=b"2026-03-08") +
             card(b"-", 2, 2, b"on", day=b"2026-03-09") +
             card(b"-", 2, 3, b"after", day=b"2026-03-10") +
             card(b"+", 3, 1, b"before", day=b"2026-03-06") +
             card(b"-", 3, 2, b"on", day=b"2026-03-07") +
             card(b"-", 3, 3, b"after", day=b"2026-03-09") +
             card(b"-", 3, 4, b"future, counts as today", day=b"2026-04-01") +
             card(b"+", 6, 1, b"learned", day=b"2020-01-01"))

# The learning history as the program saves it, after the last card; on the second
# day typed answers were right on the first try.
HISTORY = b"<H>\r\n2026-03-08 3 1 2\r\n2026-03-10 0 2 0 3\r\n</H>\r\n"


def new_cards(texts):
    """The card file an import saves: every card new (box 0), in the given order."""
    return b"".join(card(b"+" if i == 0 else b"-", 0, i + 1, *t) for i, t in enumerate(texts))


def to_cp1252(text):
    return b"".join(bytes([ord(c)]) if ord(c) in UNDEFINED_IN_CP1252 else c.encode("cp1252")
                    for c in text)


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

    def run_tool(self, *args, env=None):
        # Files, not pipes: a runner's helper processes (the wineserver) may hold a
        # pipe open long after the tool has ended.
        env = {k: v for k, v in dict(os.environ, **(env or {})).items() if v is not None}
        for _ in range(2):
            with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
                code = subprocess.run(RUNNER + [MQDECK] + list(args), stdout=out, stderr=err,
                                      env=env, timeout=600).returncode
                out.seek(0)
                err.seek(0)
                out, err = out.read(), err.read()
            err = err.decode("utf-8").replace("\r\n", "\n")  # boxes are converted too
            # A Wine server that went away between runs is the runner's, not the tool's.
            if not (RUNNER and err.startswith("wine client error")):
                break
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
            self.assertEqual(list(value), KEYS + ["date"] * ("date" in value))
            cards.append(value)
        self.assertTrue(out == b"" or out.endswith(b"\n"))
        return cards, err

    def texts(self, path):
        """The question, answer and info of every card, in box order."""
        return [tuple(to_cp1252(c[k]) for k in ("question", "answer", "info"))
                for c in self.dump(path)[0]]

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def write(self, source, target):
        code, out, err = self.run_tool("write", source, target)
        self.assertEqual(out, b"")
        return code, err


class Arguments(MqdeckTest):
    def test_wrong_arguments_exit_2(self):
        for args, why in (([], "no command"), (["dump"], "too few"), (["dump", "a", "b"], "too many"),
                          (["write", "a"], "too few"), (["load", "a"], "unknown command load"),
                          (["import", "a"], "give IN and OUT"),
                          (["import", "--into", "d", "a", "b"], "give IN only"),
                          (["import", "--keep-duplicates", "a", "b"], "goes with --into"),
                          (["import", "--bogus", "a", "b"], "unknown option --bogus"),
                          (["export", "a", "b", "--format"], "--format needs a value"),
                          (["export", "--format=xml", "a", "b"], 'unknown format "xml"'),
                          (["check", "-x", "a"], "unknown option -x"),
                          (["stats", "--today", "2026-02-29", "a"],
                           'date YYYY-MM-DD, not "2026-02-29"'),
                          (["stats", "--forecast=0", "a"], 'from 1 to 3650, not "0"'),
                          (["merge", "a", "b"], "-o OUT names the merged card file"),
                          (["merge", "a", "-o", "c"], "too few")):
            code, out, err = self.run_tool(*args)
            self.assertEqual((code, out), (2, b""), args)
            self.assertIn(why, err)
            self.assertIn("usage: mqdeck", err)

    def test_help_describes_every_option(self):
        options = ["--replace", "--into", "--keep-duplicates", "--format"]
        for args, expected in ((["--help"], options + ["dump", "write", "check", "stats", "--today",
                                                       "--forecast", "defaults"]),
                               (["import", "--help"], options[:3]),
                               (["export", "--help"], ["tsv", "csv", "anki"]),
                               (["check", "--help"], ["Exit status"])):
            code, out, err = self.run_tool(*args)
            self.assertEqual((code, err), (0, ""), args)
            for text in expected:
                self.assertIn(text.encode(), out, args)

    def test_missing_empty_or_folder_input_fails(self):
        missing, empty, folder = self.path("missing.txt"), self.file("empty.txt", b""), self.dir
        out = self.path("out.txt")
        for args, code, why in ((["dump", missing], 1, "cannot open"),
                                (["write", folder, out], 1, "is a folder"),
                                (["import", empty, out], 1, "holds no cards"),
                                (["export", missing, out], 1, "cannot open"),
                                (["stats", folder], 1, "is a folder"),
                                (["check", missing], 2, "cannot open"),
                                (["check", empty], 1, ""),
                                (["import", "--into", empty, self.file("in.txt", b"q\n")], 1,
                                 "holds no text"),
                                (["import", "--into", self.file("notes.txt", b"no cards"),
                                  self.path("in.txt")], 1, "holds no card file: left as it is")):
            told, _, err = self.run_tool(*args)
            self.assertEqual(told, code, args)
            self.assertIn(why, err)
        self.assertFalse(os.path.exists(out))
        self.assertEqual(self.read(self.path("notes.txt")), b"no cards")

    def test_unwritable_output_fails_and_keeps_what_was_there(self):
        # The save itself keeps an old file on every failure (the unit tests inject
        # them); a folder in the output's place, or a missing folder, stops it here
        # before anything is written.
        deck = self.file("deck.txt", card(b"+", 1, 1, b"q", b"a"))
        text = self.file("in.txt", b"new\tcard\n")
        os.mkdir(self.path("folder"))
        box = "mqdeck: MQMessage: CreateFileHandle ERR: , err#: "
        for args, in_folder in ((["write", deck], box + "5\n"), (["import", text], box + "5\n"),
                                (["export", deck], "is a folder")):
            for target, why in ((self.path("folder"), in_folder),
                                (self.path(os.path.join("no-dir", "x")), box)):
                code, out, err = self.run_tool(*args, target)
                self.assertEqual((code, out), (1, b""), args)
                self.assertIn(why, err)
        self.assertTrue(os.path.isdir(self.path("folder")))
        self.assertEqual(sorted(os.listdir(self.dir)), ["deck.txt", "folder", "in.txt"])


class Dump(MqdeckTest):
    def test_cards_in_box_order_with_their_own_fields(self):
        data = (card(b"+", 1, 1, b"domus", b"house", b"noun", b"2026-03-09") +
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
        self.assertEqual([c.get("date") for c in cards], [None, "2026-03-09", None, None])
        self.assertEqual(cards[3]["answer"], "\u20ac \u00e4 \u0081")
        self.assertEqual(cards[3]["info"], "\x01\x1f")

        code, out, _ = self.run_tool("dump", self.path("deck.txt"))
        lines = out.split(b"\n")
        self.assertEqual(lines[1], b'{"box":1,"pos":1,"mark":"+","section":1,"number":1,'
                                   b'"question":"domus","answer":"house","info":"noun",'
                                   b'"date":"2026-03-09"}')
        self.assertIn(b'"question":"say \\"hi\\"\\r\\nback\\\\slash\\ttab"', lines[3])
        self.assertIn(b'"info":"\\u0001\\u001f"', lines[3])

    def test_every_byte_of_either_kind_of_file(self):
        text = bytes(b for b in range(1, 256) if b != ord("<"))
        utf8 = "Łódź 東京 €".encode()
        for head, question, expected in (
                (b"", text, cp1252(text)),
                # Bytes that are no UTF-8 are kept by the reader, but JSON cannot hold
                # them: one U+FFFD for each broken character, as the panes show them.
                (BOM, utf8 + b" \xff\xe4\xb8 \x80", "Łódź 東京 € \ufffd\ufffd \ufffd")):
            # The text ends at its first NUL: the second card is never seen.
            data = head + card(b"+", 2, 1, question) + b"\0" + card(b"+", 3, 1, b"hidden")
            cards, _ = self.dump(self.file("bytes.txt", data))
            self.assertEqual(len(cards), 1)
            self.assertEqual(cards[0]["question"], expected)

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
        cp1252_deck = (card(b"+", 0, 1, b"q0") + card(b"+", 1, 1, b"a\r\nb", b"\x80", b"i") +
                       card(b"-", 1, 2) + card(b"+", 5, 1, b"five"))
        # A UTF-8 deck stays one, even when every text would fit code page 1252.
        # Days are kept as they were read.
        for data in (cp1252_deck, SCHEDULED + HISTORY,
                     BOM + card(b"+", 0, 1, "Łódź".encode(), b"\xff", b"\xe4\xb8"),
                     BOM + card(b"+", 0, 1, b"caf\xc3\xa9")):
            source = self.file("deck.txt", data)
            target = self.file("out.mqf", b"old content, replaced whole" * 1000)
            self.assertEqual(self.write(source, target), (0, ""))
            self.assertEqual(self.read(target), data)
            self.assertEqual(sorted(os.listdir(self.dir)), ["deck.txt", "out.mqf"])

        # A hand-edited file comes out as the program would save it.
        edited = self.file("edited.txt", card(b"-", 2, 8, b"x") + card(b"+", 2, 3, b"y") +
                           card(b"+", 0, 4, b"z"))
        self.assertEqual(self.write(edited, target), (0, ""))
        with open(target, "rb") as f:
            self.assertEqual(f.read(), card(b"+", 0, 1, b"z") + card(b"+", 2, 1, b"y") +
                             card(b"-", 2, 2, b"x"))

        # A name no code page holds reaches the file whole, saved and read back.
        named = self.path("Λεξιλόγιο 日本.mqf")
        self.assertEqual(self.write(edited, named), (0, ""))
        self.assertEqual(self.read(named), self.read(target))
        self.assertEqual(self.dump(named), self.dump(target))


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
                data = (BOM if case % 4 == 1 else b"") + data
                self.check_round_trip(self.file("random.bin", data))

    def test_very_large_file(self):
        rng = random.Random(7)
        words = [b"domus", b"house", b"Stra\xdfe", b"\x80uro", b"caf\xe9", b"line\r\nbreak"]

        def text():
            return b" ".join(rng.choice(words) for _ in range(rng.randrange(1, 30)))

        groups = {}
        for box in (3, 1, 0, 6, 2, 5, 4):  # the file holds the boxes out of order
            cards = []
            size = 0  # kept as it grows: summing the list each time took most of the test
            while size < 3 * 1024 * 1024:
                position = len(cards) + 1
                cards.append(card(b"+" if position == 1 else b"-", box, position, text(),
                                  text(), b"%d" % position))
                size += len(cards[-1])
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


POLISH = "ok\tfine\nä\tb\nŁódź 東京\tcafé\n".encode()


class Import(MqdeckTest):
    SUMMARY = "{} imported, {} skipped as duplicates, {} replaced, {} ignored\n"
    UNCLOSED = ("line {}: the quote that begins a field is never closed: the field is taken as "
                "it stands, up to the next separator")
    # name, file, options, the cards' texts (or the card file) or the error, counts: the
    # summary's, then the start of the line on quotes kept and the lines of quotes left open
    CASES = [
        ("trainer export",
         b"#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#deck column:3\n"
         b"#tags column:6\nf2Kq\tBasic\tLatin\t<b>domus</b> &amp; villa<br>d.\t"
         b"the house<div>&quot;home&quot;</div><div>casa</div>\tnoun latin\n"
         b'"a""b"\tBasic\tLatin\tx&lt;y&gt;z &euro;&#150;\t"one<BR />two\t2"\t\n'
         b'g1\tBasic\tJapanese\t"geisha" &amp; more\t"Shut up!", "Be quiet!"\t\n',
         [], [(b"domus & villa\r\nd.", b'the house\r\n"home"\r\ncasa', b""),
              (b"x<y>z \x80\x96", b"one\r\ntwo\t2", b""),
              (b'"geisha" & more', b'"Shut up!", "Be quiet!"', b"")],
         ("3 cards", 0, "0 characters", "0 extra columns", "2 fields begin with a quote but are "
          "not quoted: taken as they stand, quotes included\n")),
        ("tab list with quoted phrases",
         b'"professional name" used by hostesses and geisha\tgeisha name\n'
         b'damare\t"Shut up!", "Be quiet!"\n"a ""b""\r\nc"\t"x"\n',
         [], [(b'"professional name" used by hostesses and geisha', b"geisha name", b""),
              (b"damare", b'"Shut up!", "Be quiet!"', b""), (b'a "b"\r\nc', b"x", b"")],
         ("3 cards", 0, "0 characters", "0 extra columns", "2 fields begin with a quote")),
        ("spreadsheet in code page 1252",
         b'Wort,Bedeutung,Info\r\n"Stra\xdfe, Weg","sagt ""hallo""\r\nund geht",\x80 5\r\n'
         b'"zwei\nZeilen",plain,"a,b"\r\n',
         [], [(b"Wort", b"Bedeutung", b"Info"),
              (b"Stra\xdfe, Weg", b'sagt "hallo"\r\nund geht', b"\x80 5"),
              (b"zwei\r\nZeilen", b"plain", b"a,b")],
         ("3 cards", 0, "0 characters", "0 extra columns")),
        ("outside code page 1252", POLISH, [],
         BOM + new_cards([(b"ok", b"fine", b""), ("ä".encode(), b"b", b""),
                          ("Łódź 東京".encode(), "café".encode(), b"")]),
         ("3 cards", 0, "0 characters", "0 extra columns")),
        ("no UTF-8 after a mark", BOM + POLISH + b"\xc3\xa4\xff\tx\n", [],
         "line 4, column 2: the byte 0xFF is not UTF-8", None),
        ("replaced", BOM + POLISH + b"\xc3\xa4\xff\tx\n", ["--replace"],
         [(b"ok", b"fine", b""), (b"\xe4", b"b", b""), (b"?\xf3d? ??", b"caf\xe9", b""),
          (b"\xe4?", b"x", b"")],
         ("4 cards", 0, "5 characters", "0 extra columns")),
        ("semicolons, mark, empty lines, extra columns",
         b"\xef\xbb\xbf\r\nHaus;house, home;noun;x;y\r\n\r\nonly a question\r\n"
         b'"Tor" (das);gate;"n"oun\r\n', [],
         [(b"Haus", b"house, home", b"noun"), (b"only a question", b"", b""),
          (b'"Tor" (das)', b"gate", b'"n"oun')],
         ("3 cards", 0, "0 characters", "2 extra columns", "2 fields begin with a quote")),
        ("named separator", b"#separator:pipe\n#deck column:2\na|deck|b|c\n", [],
         [(b"a", b"b", b"c")], ("1 card", 0, "0 characters", "0 extra columns")),
        ("entity outside code page 1252", b"#html:true\nq\tnot &#x4E2D; here\n", [],
         BOM + new_cards([(b"q", "not 中 here".encode(), b"")]),
         ("1 card", 0, "0 characters", "0 extra columns")),
        ("lines ended by CR, stray quotes", b'say "hi",a\r"b;c",d\r"hi" there,"y"z\r', [],
         [(b'say "hi"', b"a", b""), (b"b;c", b"d", b""), (b'"hi" there', b'"y"z', b"")],
         ("3 cards", 0, "0 characters", "0 extra columns", "2 fields begin with a quote")),
        ("unknown separator", b"#separator:dots\na.b\n", [],
         'line 1: unknown separator "dots"', None),
        ("card file tag", b"q1\ta1\nq2\tsee </A> here\n", [],
         'line 2: a field holds the card file tag "</A>"', None),
        ("quotes left open", b'"open\tc\nd\te\nf\t"g\n', [],
         [(b'"open', b"c", b""), (b"d", b"e", b""), (b"f", b'"g', b"")],
         ("3 cards", 0, "0 characters", "0 extra columns", "2 fields begin with a quote", 3)),
        ("day tag", b"q1\ta1\tdue <D>soon\n", [], 'line 1: a field holds the card file tag "<D>"',
         None),
    ]

    def test_delimited_files(self):
        for name, data, options, expected, counts in self.CASES:
            with self.subTest(name):
                target = self.path(name + ".mqf")
                code, out, err = self.run_tool("import", *options, self.file("in.txt", data),
                                               target)
                if isinstance(expected, str):
                    self.assertEqual((code, out), (1, b""))
                    self.assertIn(expected, err)
                    self.assertFalse(os.path.exists(target))
                else:
                    data = expected if isinstance(expected, bytes) else new_cards(expected)
                    summary, _, note = out.decode().partition("\n")
                    self.assertEqual((code, summary + "\n"), (0, self.SUMMARY.format(*counts)))
                    self.assertTrue(note.startswith(counts[4]) if counts[4:] else
                                    "quote" not in note, note)
                    self.assertEqual(err, "".join("mqdeck: %s: %s\n" % (self.path("in.txt"),
                                                                         self.UNCLOSED.format(n))
                                                  for n in counts[5:]))
                    self.assertEqual(self.read(target), data)
                    self.assertEqual("is UTF-8" in note, data.startswith(BOM), note)

    def test_into_a_deck_skips_what_it_holds(self):
        deck = self.file("deck.mqf", card(b"+", 0, 1, b"amo", b"I love \x80") +
                         card(b"+", 2, 1, b"domus", b"house", b"noun \xe9") + HISTORY)
        source = self.file("new.txt", b"domus\thouse\tother\nvia\troad\nvia\troad\namo\tI like\n")
        # Compared with the deck's texts decoded, and turning it UTF-8 keeps them.
        polish = self.file("polish.txt", "Łódź\tcity\ndomus\thouse\namo\tI love €\n".encode())
        for text, options, counts, note in (
                (source, [], ("3 cards", 1, "0 characters", "0 extra columns"), ""),
                (source, ["--keep-duplicates"], ("4 cards", 0, "0 characters", "0 extra columns"),
                 ""),
                (polish, [], ("1 card", 2, "0 characters", "0 extra columns"),
                 deck + " is now UTF-8, with a byte-order mark: code page 1252 lacks some of its "
                 "characters\n")):
            code, out, err = self.run_tool("import", text, "--into", deck, *options)
            self.assertEqual((code, err, out.decode()),
                             (0, "", self.SUMMARY.format(*counts) + note))
        new = [("via", "road"), ("via", "road"), ("amo", "I like")]
        box0 = [("amo", "I love €")] + new + [("domus", "house", "other")] + new + [("Łódź", "city")]
        self.assertEqual(self.read(deck), BOM + new_cards(
            [tuple(t.encode() for t in c) for c in box0]) +
            card(b"+", 2, 1, b"domus", b"house", "noun é".encode()) + HISTORY)


def generated_deck(count, utf8=False):
    """Cards whose texts hold everything the three formats have to get across, and
    their texts in the order of the boxes; a UTF-8 deck also holds characters code
    page 1252 lacks."""
    rng = random.Random(11)
    pieces = [b"domus", b"Stra\xdfe", b"caf\xe9", b"\x80", b"\x81", b"\x9f", b"\xa0", b"a,b",
              b"x;y", b'"q"', b'"', b"\t", b"\r\n", b"#", b"<b>", b"&amp;", b"&", b"<", b">", b" "]
    if utf8:
        pieces = [cp1252(p).encode() for p in pieces] + ["Łódź 東京 😀\ufeff".encode()]
    texts = [tuple(b"".join(rng.choice(pieces) for _ in range(rng.randrange(6)))
                   for _ in range(3)) for _ in range(count)]
    data = b"".join(card(b"+" if i < 7 else b"-", i % 7, i // 7 + 1, *t)
                    for i, t in enumerate(texts))
    return (BOM if utf8 else b"") + data, [t for box in range(7) for t in texts[box::7]]


class Export(MqdeckTest):
    def test_each_format_byte_for_byte(self):
        deck = self.file("deck.mqf", card(b"+", 3, 1, b"x,y;z", b"l1\r\nl2", b"<b>&amp; \x80") +
                         card(b"+", 0, 1, b"#1", b"a\tb", b'say "hi"'))
        # A leading U+FEFF is quoted, else import would take it for a byte-order mark.
        utf8 = self.file("utf8.mqf", BOM + card(b"+", 0, 1, "\ufeffŁódź".encode(),
                                                   "東京 €".encode() + b"\xff", b"\xe9"))
        for source, options, expected in (
                (deck, [], b'"#1"\t"a\tb"\t"say ""hi"""\r\n'
                           b'x,y;z\t"l1\r\nl2"\t<b>&amp; \xe2\x82\xac\r\n'),
                (deck, ["--format", "csv"], b'\xef\xbb\xbf"#1","a\tb","say ""hi"""\r\n'
                                            b'"x,y;z","l1\r\nl2","<b>&amp; \xe2\x82\xac"\r\n'),
                (deck, ["--format=anki"], b"#separator:tab\r\n#html:true\r\n#tags column:4\r\n"
                                          b"&#35;1\ta&#9;b\tsay &quot;hi&quot;\tmnemoquill::box0\r\n"
                                          b"x,y;z\tl1<br>l2\t&lt;b&gt;&amp;amp; \xe2\x82\xac\t"
                                          b"mnemoquill::box3\r\n"),
                (utf8, [], '"\ufeffŁódź"\t東京 €\ufffd\t\ufffd\r\n'.encode())):
            code, out, err = self.run_tool("export", source, self.path("out.txt"), *options)
            self.assertEqual((code, out, err), (0, b"", ""), options)
            self.assertEqual(self.read(self.path("out.txt")), expected, options)

    def test_export_then_import_gives_the_same_cards(self):
        data, texts = generated_deck(10000)
        utf8, utf8_texts = generated_deck(3000, utf8=True)
        for deck, expected, head in ((SAMPLE, self.texts(SAMPLE), b""),
                                     (self.file("large.mqf", data), texts, b""),
                                     (self.file("utf8.mqf", utf8), utf8_texts, BOM)):
            for form in ("tsv", "csv", "anki"):
                with self.subTest(deck=os.path.basename(deck), format=form):
                    exported, back = self.path("deck." + form), self.path("back.mqf")
                    self.assertEqual(self.run_tool("export", "--format", form, deck, exported),
                                     (0, b"", ""))
                    self.assertEqual(self.run_tool("import", exported, back)[0], 0)
                    self.assertEqual(self.read(back), head + new_cards(expected))


class Check(MqdeckTest):
    CASES = [  # file, findings as (line or "line:column", part of the text), cards per box
        (b"notes\r\n" + card(b"+", 2, 1, b"a", b"b", b"c") + b"stray\r\n"
         b"<C><M>+</M><S>9</S><N>x3</N><Q>q</Q><A>a</C>\r\n"
         b"<C><M>+</M><S>2</S><N>1</N><Q>r</Q><A></A><I></I></C>\r\n"
         b"<C><S>3</S><N>1</N><Q>s</Q><A>t</A><I>u</I></C",
         [(1, 'text outside any card is ignored: "notes"'),
          (10, 'text outside any card is ignored: "stray"'),
          (11, 'fields missing, the defaults are taken: "<I>" (empty info), '
               '"<A>" without "</A>" (empty answer)'),
          (11, "section 9 is no box 0 to 6: the card goes to box 1"),
          (11, 'number "x3" reads as 0'),
          (12, 'box 2 has 2 cards marked "+" (lines 2, 12): the one of line 2 leads it'),
          (12, "box 2: number 1 is on more than one card (lines 2, 12)"),
          (13, 'the card ends in "</C" without its ">"'),
          (13, '"<M>" (mark "-")'),
          (13, 'box 3 has no card marked "+": the card of line 13')], [0, 1, 2, 1, 0, 0, 0]),
        (card(b"+", 1, 1, b"x", b"y", b"z") + b"<C><M>+</M><S>4</S><N>1</N>\r\n"
         b"<Q>open <C><M>+</M><S>5</S><N>1</N><Q>w</Q>",
         [(9, 'the card has no end ("</C>")'), (9, '"<A>" (empty answer)'),
          (10, 'the card has no end ("</C>")'),
          (10, 'a "<C>" inside the card of line 9, before its end: neither card has an end'),
          (10, '"<A>" (empty answer)')], [0, 1, 0, 0, 1, 1, 0]),
        # A day that is no date is reported; a good one is no stray text.
        (card(b"+", 2, 1, day=b"2026-13-45") + card(b"+", 0, 1, day=b"x") +
         card(b"+", 3, 1, day=b"2026-03-07"),
         [(8, 'day "2026-13-45" is no date YYYY-MM-DD: the card is read without a day, so it '
              'counts as due'),
          (17, 'day "x" is no date YYYY-MM-DD: the card is read without a day')],
         [1, 0, 1, 1, 0, 0, 0]),
        # The learning history is no stray text; a day in it that does not read is told.
        (card(b"+", 1, 1) + b"<H>\r\n2026-03-08 3 1 2\r\n2026-02-30 1 1 1\r\n</H>\r\nafter\r\n",
         [(11, 'a day of the learning history that is no "YYYY-MM-DD U B N [R]" (cards moved '
               'up, sent back, drawn new, right on the first try) is ignored: "2026-02-30 1 1 1"'),
          (13, 'text outside any card is ignored: "after"')], [0, 1, 0, 0, 0, 0, 0]),
        (b"just text\r\n", [(1, 'no card ("<C>") at all: the program asks "Overwrite?"')],
         [1, 0, 0, 0, 0, 0, 0]),
        (None, [], [8, 3, 2, 1, 0, 0, 0]),
        # Columns count characters, the byte-order mark too; one finding a line.
        (BOM + b"\x80" + card(b"+", 1, 1, "Łódź".encode() + b"\xff\xfe", b"\xe9\xe9",
                              "東京".encode() + b"\xe4\xb8"),
         [("1:2", "the byte 80 is no UTF-8 (kept as it is)"),
          (1, 'text outside any card is ignored: "\ufffd"'),
          ("5:8", "the bytes FF FE are no UTF-8"), ("6:4", "the bytes E9 E9 are no UTF-8"),
          ("7:6", "the bytes E4 B8 are no UTF-8")], [0, 1, 0, 0, 0, 0, 0]),
    ]

    def test_findings_with_line_numbers(self):
        for data, findings, counts in self.CASES:
            path = SAMPLE if data is None else self.file("hand-made.mqf", data)
            with self.subTest(path=path, findings=findings):
                code, out, err = self.run_tool("check", path)
                self.assertEqual((code, err), (1 if findings else 0, ""))
                lines = out.decode().splitlines()
                self.assertEqual(len(lines), len(findings) + 1, lines)
                for (line, text), told in zip(findings, lines):
                    self.assertTrue(told.startswith("%s:%s: " % (path, line)), told)
                    self.assertIn(text, told)
                self.assertEqual(lines[-1], path + ": " + ", ".join(
                    "box %d: %d" % b for b in enumerate(counts)) + " (%d card%s)" % (sum(counts), "s" * (sum(counts) != 1)))


class Stats(MqdeckTest):
    def test_bars_fit_the_terminal_width(self):
        boxes = {0: 40, 1: 20, 2: 1, 6: 4}
        deck = self.file("deck.mqf", b"".join(card(b"+", box, i + 1, b"q%d" % i)
                                              for box, n in boxes.items() for i in range(n)))
        for columns, width in (("40", 40), ("120", 120), (None, 80)):
            code, out, err = self.run_tool("stats", deck, env={"COLUMNS": columns})
            self.assertEqual((code, err), (0, ""))
            room = width - len("box 0 40 ") - 1  # the last column stays free
            self.assertEqual(out.decode().splitlines(), [
                "box 0 40 " + "#" * room, "box 1 20 " + "#" * (room // 2) + "  (20 due)",
                "box 2  1 " + "#" * max(1, round(room / 40)) + "  (1 due)",
                "box 3  0  (0 due)", "box 4  0  (0 due)", "box 5  0  (0 due)",
                "box 6  4 " + "#" * round(room / 10),
                "learning (boxes 1 to 6): 25", "learned (box 6): 4", "all boxes: 65",
                "due today: 21"])

    def test_due_cards_from_a_given_day(self):
        deck = self.file("deck.mqf", SCHEDULED + HISTORY)
        # Box 3 is the fullest: its due count takes room from every bar.
        code, out, err = self.run_tool("stats", "--today", "2026-03-10", "--forecast", "5",
                                       "--history", deck, env={"COLUMNS": "30"})
        self.assertEqual((code, err), (0, ""))
        self.assertEqual(out.decode().splitlines(), [
            "box 0 2 ######", "box 1 1 ###  (1 due)", "box 2 3 #########  (2 due)",
            "box 3 4 ############  (2 due)", "box 4 0  (0 due)", "box 5 0  (0 due)",
            "box 6 1 ###", "learning (boxes 1 to 6): 9", "learned (box 6): 1", "all boxes: 11",
            "due today: 5",
            "2026-03-10 5", "2026-03-11 1", "2026-03-12 1", "2026-03-13 1", "2026-03-14 0",
            "2026-03-08 up 3 back 1 new 2", "2026-03-10 up 0 back 2 new 0 right 3"])


class Merge(MqdeckTest):
    def test_three_way_two_way_and_inputs_that_do_not_read(self):
        base = self.file("base.mqf", card(b"+", 1, 1, b"a") + card(b"-", 1, 2, b"b") +
                         card(b"-", 1, 3, b"c"))
        # Mine moved a up; theirs dated b anew and deleted c; a card added on each.
        mine = self.file("mine.mqf", card(b"+", 1, 1, b"b") + card(b"-", 1, 2, b"c") +
                         card(b"+", 2, 1, b"a", day=b"2026-12-07") + card(b"+", 0, 1, b"mine"))
        theirs = self.file("theirs.mqf", card(b"+", 1, 1, b"a") +
                           card(b"-", 1, 2, b"b", day=b"2026-12-08") +
                           card(b"+", 3, 1, b"theirs"))
        out = self.path("out.mqf")
        line = (b"1 learned here, 1 learned there, 2 added, 1 removed, "
                b"0 edited on both sides (both kept)\n")
        self.assertEqual(self.run_tool("merge", mine, theirs, "--base", base, "-o", out),
                         (0, line, ""))
        self.assertEqual([(c["box"], c["question"], c.get("date")) for c in self.dump(out)[0]],
                         [(0, "mine", None), (1, "b", "2026-12-08"), (2, "a", "2026-12-07"),
                          (3, "theirs", None)])
        # Without the base nothing is deleted, and b's day on theirs is the later.
        self.assertEqual(self.run_tool("merge", mine, theirs, "--dry-run"),
                         (0, line.replace(b"2 added, 1 removed", b"3 added, 0 removed"), ""))
        notes = self.file("notes.mqf", b"no cards")
        for other, why in ((self.path("missing.mqf"), "cannot open"),
                           (notes, "holds no card file")):
            code, _, err = self.run_tool("merge", mine, other, "-o", self.path("new.mqf"))
            self.assertEqual(code, 1)
            self.assertIn(why, err)
        self.assertFalse(os.path.exists(self.path("new.mqf")))


class Chart(MqdeckTest):
    def test_three_titled_charts_in_well_formed_svg(self):
        # A name Windows allows too, with what XML must escape and a non-ASCII letter.
        deck = self.file("Verbs & Ärger's.mqf", SCHEDULED + HISTORY)
        svg = self.path("chart.svg")
        self.assertEqual(self.run_tool("chart", "--today", "2026-03-10", deck, svg), (0, b"", ""))
        root = ElementTree.parse(svg).getroot()
        ns = "{http://www.w3.org/2000/svg}"
        self.assertEqual([t.text for t in root.iter(ns + "title")],
                         ["Boxes", "Due in the next 30 days", "Learned per day"])
        texts = [t.text for t in root.iter(ns + "text")]
        self.assertEqual(texts[:2], ["Verbs & Ärger's", "2026-03-10"])
        # Box 0's count, today's due cards, and the day of the history with 6 cards.
        for shown in ("2", "5", "6", "today"):
            self.assertIn(shown, texts)
        code, _, err = self.run_tool("chart", "--today", "10.3.2026", deck, svg)
        self.assertEqual(code, 2)
        self.assertIn("--today wants a date", err)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    MQDECK = os.path.abspath(sys.argv[1])
    RUNNER = sys.argv[2:]
    if RUNNER and os.path.basename(RUNNER[0]).startswith("wine"):
        # A Wine program started after the server has gone waits seconds for it and
        # its services: keep them up from one run of the tool to the next.
        subprocess.run([os.environ.get("WINESERVER", "wineserver"), "-p10"], check=False)
    unittest.main(argv=sys.argv[:1], verbosity=2)
