"""End-to-end test of the Windows installer under Wine, in a fresh prefix: a silent
install, the installed program started the way its Start-menu shortcut starts it
and the way a double-click on a deck does, a second install over the user's
folder, and silent uninstalls, also where another program has the deck type."""

import contextlib
import ntpath
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from harness import Probe, ProgramTestCase, Session, wait_until

ROOT = Path(__file__).resolve().parents[2]
SAMPLE = ROOT / "samples" / "latin.mqf"
VERSION = re.search(r"project\(Mnemoquill VERSION ([\d.]+)",
                    (ROOT / "CMakeLists.txt").read_text()).group(1)
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Mnemoquill"
PROGRAM_FILES = {"Mnemoquill.exe", "mqdeck.exe", "latin.mqf", "README.txt", "Uninstall.exe"}
SHORTCUT = "Mnemoquill.lnk"
DECK_TYPE = "Mnemoquill.Deck"


def read_shortcut(path):
    """(target, working folder) of a shell link file, as Windows paths."""
    data = Path(path).read_bytes()
    flags = struct.unpack_from("<I", data, 20)[0]
    pos = struct.unpack_from("<I", data, 0)[0]  # the header's size
    if flags & 0x01:  # an item id list
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    target = None
    if flags & 0x02:  # link info with the target's local path
        size, _, info_flags, _, base, _, suffix = struct.unpack_from("<7I", data, pos)
        if info_flags & 0x01:
            target = b"".join(data[pos + offset:].split(b"\0", 1)[0]
                              for offset in (base, suffix)).decode("cp1252")
        pos += size
    strings = {}
    width, encoding = (2, "utf-16-le") if flags & 0x80 else (1, "cp1252")
    for bit, name in ((0x04, "name"), (0x08, "relative"), (0x10, "workdir"),
                      (0x20, "arguments"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, pos)[0]
            # Wine counts the terminating NUL too.
            strings[name] = data[pos + 2:pos + 2 + count * width].decode(encoding).rstrip("\0")
            pos += 2 + count * width
    return target, strings.get("workdir")


class InstallerTest(ProgramTestCase):
    """The steps build on each other and run in the order of their names."""

    @classmethod
    def setUpClass(cls):
        if not os.environ.get("MQ_BUILD_DIR"):
            raise unittest.SkipTest("MQ_BUILD_DIR is not set")
        build = Path(os.environ["MQ_BUILD_DIR"])
        found = sorted(build.glob("packages/Mnemoquill-*-win*-setup.exe"))
        if not found:
            raise FileNotFoundError(build / "packages" / "Mnemoquill-VERSION-win32-setup.exe"
                                    " (scripts/package.sh or cpack in the build folder makes it)")
        cls.installer = found[-1].resolve()
        cls.prefix_tmp = tempfile.TemporaryDirectory(prefix="mq-install-")
        cls.session = Session(fresh_in=cls.prefix_tmp.name)
        try:
            cls.probe = Probe(cls.session)
            cls.install_seconds = cls.run_windows(str(cls.installer), "/S")
        except BaseException:
            cls.session.close()
            cls.prefix_tmp.cleanup()
            raise

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        cls.prefix_tmp.cleanup()

    # --- the Windows side ---

    @classmethod
    def run_windows(cls, *command, cwd=None):
        """Runs a program in the prefix to its end; how many seconds it took."""
        start = time.monotonic()
        code = subprocess.run(["wine", *command], env=cls.session.env, timeout=300, cwd=cwd,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode
        assert code == 0, "%r ended with %d" % (command, code)
        return time.monotonic() - start

    def registry(self, key):
        """The values of a registry key by name, the default one as "(Default)", or
        None without the key."""
        # Output to a file: the wineserver may hold a pipe open after reg has ended.
        with tempfile.TemporaryFile() as out:
            code = subprocess.run(["wine", "reg", "query", key], env=self.session.env,
                                  stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=subprocess.DEVNULL, timeout=120).returncode
            out.seek(0)
            text = out.read().decode("utf-8", "replace")
        if code != 0:
            return None
        return dict(re.findall(r"^[ \t]+(\S+)[ \t]+REG_\w+[ \t]*(.*?)\r?$", text, re.M))

    def uninstall_entry(self):
        return self.registry(UNINSTALL_KEY)

    def deck_type(self):
        """What HKCR\\.mqf names, as the shell reads it; None without the key."""
        values = self.registry(r"HKCR\.mqf")
        return values and values.get("(Default)")

    def give_deck_type_to(self, prog_id):
        """Registers .mqf for another program, as its installer would."""
        for key, value in ((r"HKCR\%s\shell\open\command" % prog_id, "notepad.exe %1"),
                           (r"HKCR\.mqf", prog_id)):
            self.run_windows("reg", "add", key, "/ve", "/d", value, "/f")

    def uninstall(self):
        """Uninstalls silently and waits until the uninstaller is done."""
        folder = self.uninstall_entry()["InstallLocation"]
        start = time.monotonic()
        self.run_windows(ntpath.join(folder, "Uninstall.exe"), "/S")
        # The uninstaller runs from a copy of itself in the temporary folder and
        # returns at once; its last step removes its Add/Remove Programs entry.
        wait_until(lambda: self.uninstall_entry() is None, timeout=120)
        return time.monotonic() - start

    @contextlib.contextmanager
    def double_click(self):
        """The program as a double-click on a deck starts it, ended at the end: the
        shell's open verb (ShellExecute, here through Wine's start) runs the
        command of the deck's type, which must keep a path with a space whole."""
        deck = self.workdir / "my decks" / "latin.mqf"
        deck.parent.mkdir()
        deck.write_bytes(SAMPLE.read_bytes())
        try:
            self.run_windows("start", "/unix", str(deck), cwd=self.workdir)
            self.probe.ok("dialog", 60000)
            yield
        finally:
            subprocess.run(["wine", "taskkill", "/f", "/im", "Mnemoquill.exe"],
                           env=self.session.env, timeout=60, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_until(lambda: not self.probe.call("main")[0], timeout=10)

    def user_home(self):
        (home,) = [p for p in (self.session.prefix / "drive_c" / "users").iterdir()
                   if p.name != "Public"]
        return home

    def start_menu_shortcut(self):
        return (self.user_home() / "AppData" / "Roaming" / "Microsoft" / "Windows" /
                "Start Menu" / "Programs" / SHORTCUT)

    def desktop_shortcut(self):
        return self.user_home() / "Desktop" / SHORTCUT

    def user_folder(self):
        return self.session.unix_path(read_shortcut(self.start_menu_shortcut())[1])

    # --- the steps ---

    def test_1_silent_install_puts_files_shortcuts_and_entry_in_place(self):
        print("\ninstall: %.1f s" % self.install_seconds, file=sys.stderr)
        entry = self.uninstall_entry()
        self.assertIsNotNone(entry, "no Add/Remove Programs entry")
        folder = entry["InstallLocation"]
        # The 64-bit package too installs where 64-bit programs go, not under
        # Program Files (x86), and its entry is in the 64-bit registry.
        self.assertEqual(folder, r"C:\Program Files\Mnemoquill")
        program_folder = self.session.unix_path(folder)
        self.assertEqual({p.name for p in program_folder.iterdir()}, PROGRAM_FILES)
        exe = ntpath.join(folder, "Mnemoquill.exe")
        self.assertEqual(
            {k: entry.get(k) for k in ("DisplayName", "DisplayVersion", "Publisher",
                                       "DisplayIcon", "UninstallString")},
            {"DisplayName": "Mnemoquill", "DisplayVersion": VERSION,
             "Publisher": "Mnemoquill-Team", "DisplayIcon": exe + ",0",
             "UninstallString": '"%s"' % ntpath.join(folder, "Uninstall.exe")})
        readme = (program_folder / "README.txt").read_bytes()
        self.assertTrue(readme.startswith(b"# Mnemoquill\r\n"))
        self.assertNotIn(b"\n", readme.replace(b"\r\n", b""))

        # The shortcut starts the program in the user's folder, which has the sample;
        # the desktop shortcut is there only when asked for.
        target, workdir = read_shortcut(self.start_menu_shortcut())
        self.assertEqual((target.lower(), workdir.split("\\")[-2:]),
                         (exe.lower(), ["Documents", "Mnemoquill"]))
        self.assertEqual((self.user_folder() / "latin.mqf").read_bytes(), SAMPLE.read_bytes())
        self.assertFalse(self.desktop_shortcut().exists())

        # Decks are of Mnemoquill's type, with its icon and its open command.
        self.assertEqual(self.deck_type(), DECK_TYPE)
        deck_key = r"HKCR\%s" % DECK_TYPE
        self.assertEqual(self.registry(deck_key + r"\DefaultIcon"), {"(Default)": '"%s",0' % exe})
        self.assertEqual(self.registry(deck_key + r"\shell\open\command"),
                         {"(Default)": '"%s" "%%1"' % exe})

        # Both programs carry the version as Explorer's Properties read it.
        quad = ".".join((VERSION.split(".") + ["0"] * 4)[:4])
        for name, description in (("Mnemoquill.exe", b"Mnemoquill flash-card trainer"),
                                  ("mqdeck.exe", b"Mnemoquill card tool")):
            fields = self.probe.ok("version", ntpath.join(folder, name))
            self.assertEqual(fields[:5], [quad.encode(), VERSION.encode(), VERSION.encode(),
                                          b"Mnemoquill", description], name)
            self.assertEqual(fields[5:], [b"Mnemoquill-Team", b"Copyright \xa9 2026 Mnemoquill-Team"])

    def test_2_program_starts_from_the_shortcut_and_opens_the_sample_deck(self):
        target, workdir = read_shortcut(self.start_menu_shortcut())
        user_folder = self.session.unix_path(workdir)
        program = self.start_program(workdir=user_folder, exe=target)
        self.probe.ok("dialog", 60000)
        # The manifest brings in the side-by-side common controls 6.
        comctl32 = self.probe.ok("module", "comctl32.dll")[0].decode().lower()
        self.assertIn("common-controls_6595b64144ccf1df_6.", comctl32)

        # By its bare name: the Open dialog starts in the working folder.
        self.keys("ctrl+o")
        self.type_file_name("Open", "latin.mqf")
        self.wait_for_title(b"Mnemoquill: latin")
        self.assertEqual((user_folder / "mq_tmp.txt").read_bytes(), SAMPLE.read_bytes())
        self.probe.ok("close")
        self.box("Save ?")
        self.answer("Save ?", "no")
        self.assertEqual(program.wait(), 0)

    def test_2_double_click_starts_the_installed_program(self):
        with self.double_click():
            program = self.probe.ok("module", "Mnemoquill.exe")[0].decode()
            installed = ntpath.join(self.uninstall_entry()["InstallLocation"], "Mnemoquill.exe")
            self.assertEqual(program.lower(), installed.lower())

    def test_2_double_click_opens_the_deck(self):
        # Passes once the program opens a deck named on its command line.
        with self.double_click():
            wait_until(lambda: self.title().endswith(b": latin"))
            self.assertTrue(self.title().endswith(b": latin"), self.title())

    def test_3_reinstall_with_desktop_shortcut_keeps_decks_and_uninstall_leaves_only_them(self):
        user_folder = self.user_folder()
        changed = SAMPLE.read_bytes() + b"<C>\r\n<Q>added</Q>\r\n</C>\r\n"
        (user_folder / "latin.mqf").write_bytes(changed)
        (user_folder / "mine.mqf").write_bytes(b"<C>\r\n<Q>mine</Q>\r\n</C>\r\n")
        self.run_windows(str(self.installer), "/S", "/DESKTOP")
        self.assertEqual((user_folder / "latin.mqf").read_bytes(), changed)
        self.assertEqual(read_shortcut(self.desktop_shortcut()),
                         read_shortcut(self.start_menu_shortcut()))

        program_folder = self.session.unix_path(self.uninstall_entry()["InstallLocation"])
        print("\nuninstall: %.1f s" % self.uninstall(), file=sys.stderr)
        self.assertFalse(program_folder.exists())
        self.assertFalse(self.start_menu_shortcut().exists())
        self.assertFalse(self.desktop_shortcut().exists())
        self.assertIsNone(self.registry(r"HKCR\.mqf"))
        self.assertIsNone(self.registry(r"HKCR\%s" % DECK_TYPE))
        self.assertEqual(sorted(p.name for p in user_folder.iterdir()),
                         ["latin.mqf", "mine.mqf", "mq_tmp.txt"])
        self.assertEqual((user_folder / "latin.mqf").read_bytes(), changed)

    def test_4_uninstall_leaves_the_deck_type_to_the_program_that_has_it(self):
        # Another program took .mqf after the install.
        self.run_windows(str(self.installer), "/S")
        self.give_deck_type_to("Other.Deck")
        self.uninstall()
        self.assertEqual(self.deck_type(), "Other.Deck")
        self.assertIsNone(self.registry(r"HKCR\%s" % DECK_TYPE))

        # It had .mqf before the install, and gets it back.
        self.run_windows(str(self.installer), "/S")
        self.assertEqual(self.deck_type(), DECK_TYPE)
        self.uninstall()
        self.assertEqual(self.deck_type(), "Other.Deck")
