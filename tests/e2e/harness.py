"""Runs Mnemoquill.exe under Wine on a virtual X display and looks at it from the
outside: through mqprobe.exe (window texts, states, message boxes) and xdotool
(real key presses and mouse clicks).

Environment:
  MQ_BUILD_DIR        the Windows build folder (shell/Mnemoquill.exe and
                      tests/e2e/probe/mqprobe.exe under it); required
  MQ_E2E_DISPLAY      an X display to use instead of starting an own Xvfb
  MQ_E2E_WINEPREFIX   the Wine prefix to run in; by default a private one in
                      ~/.cache/mnemoquill, copied once from WINEPREFIX (or the
                      shared default prefix) or created with wineboot. Private,
                      so that the single-instance test meets no other program's
                      windows and "wineserver -k" ends only this suite's processes.
                      With the own Xvfb, the prefix is set to unmanaged X windows.
"""

import json
import os
import re
import select
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path, PureWindowsPath

SHARED_PREFIX = Path.home() / ".cache" / "mnemoquill" / "wineprefix"
PRIVATE_PREFIX = Path.home() / ".cache" / "mnemoquill" / "e2e-wineprefix"

# Windows' own numbers, as the probe reports them.
MF_GRAYED = 0x1
MF_CHECKED = 0x8


# The five bytes code page 1252 leaves undefined stand for the C1 controls of the
# same value, as Windows maps them; Python's codec knows no character for them.
CP1252_GAPS = {chr(b): bytes([b]) for b in (0x81, 0x8D, 0x8F, 0x90, 0x9D)}


def to_cp1252(text):
    """A text as the code page 1252 bytes a narrow call would give; "?" stands for
    a character the code page lacks, as it does there."""
    return b"".join(CP1252_GAPS.get(c) or c.encode("cp1252", "replace") for c in text)


def from_cp1252(data):
    return "".join(chr(b) if chr(b) in CP1252_GAPS else bytes([b]).decode("cp1252")
                   for b in data)


def unescape(text):
    """The probe's escaped UTF-8 back to a text."""
    return re.sub(rb"\\x([0-9a-f]{2})", lambda m: bytes([int(m.group(1), 16)]),
                  text.encode("ascii")).decode("utf-8")


def escape(text):
    """An argument for the probe, escaped the way it unescapes: a str as it is,
    bytes as code page 1252."""
    text = from_cp1252(text) if isinstance(text, bytes) else str(text)
    return "".join(chr(b) if 0x20 <= b <= 0x7E and b != 0x5C else "\\x%02x" % b
                   for b in text.encode("utf-8"))


def wait_until(condition, timeout=15.0, interval=0.2):
    """The condition's last value, once it is truthy or the time is up."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


class ProbeError(AssertionError):
    pass


class Session:
    """One X display and one Wine prefix, shared by all tests of a run."""

    def __init__(self, fresh_in=None):
        """fresh_in: a folder in which to run on a fresh copy of the private prefix,
        for tests that change the prefix itself (installers)."""
        build = os.environ.get("MQ_BUILD_DIR")
        if not build:
            raise unittest.SkipTest("MQ_BUILD_DIR is not set")
        self.build = Path(build)
        self.exe = Path(build, "shell", "Mnemoquill.exe").resolve()
        self.probe_exe = Path(build, "tests", "e2e", "probe", "mqprobe.exe").resolve()
        for tool in ("wine", "wineserver", "xdotool"):
            if not shutil.which(tool):
                raise unittest.SkipTest(tool + " is not installed")
        for exe in (self.exe, self.probe_exe):
            if not exe.is_file():
                raise FileNotFoundError(exe)
        self.xvfb = None
        self.env = dict(os.environ)
        # No menu entries or file associations of the installer's shortcuts in
        # the real desktop's menus.
        self.env.update(WINEARCH=os.environ.get("WINEARCH", "win32"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        prefix = self.private_prefix()
        if fresh_in:
            prefix = self._fresh_copy(prefix, Path(fresh_in) / "prefix")
        self.prefix = prefix
        self.env["WINEPREFIX"] = str(prefix)
        self.env["DISPLAY"] = os.environ.get("MQ_E2E_DISPLAY") or self._start_xvfb()
        if self.xvfb:
            # No window manager runs on the own display, and Wine would wait two
            # seconds for one whenever a managed window (every message box) closes.
            subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v",
                            "Managed", "/d", "N", "/f"], env=self.env, timeout=120,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wineserver_kill()  # leftovers of an interrupted run

    def private_prefix(self):
        prefix = Path(os.environ.get("MQ_E2E_WINEPREFIX", PRIVATE_PREFIX))
        if (prefix / "system.reg").is_file():
            return prefix
        template = Path(os.environ.get("WINEPREFIX", SHARED_PREFIX))
        if (template / "system.reg").is_file() and template != prefix:
            shutil.copytree(template, prefix, symlinks=True)
        else:
            prefix.mkdir(parents=True, exist_ok=True)
            env = dict(self.env, WINEPREFIX=str(prefix))
            subprocess.run(["wineboot", "-i"], env=env, check=True, timeout=300,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=env, timeout=300)
        return prefix

    @staticmethod
    def _fresh_copy(template, prefix):
        shutil.copytree(template, prefix, symlinks=True)
        # The user's shell folders (Documents, Desktop...) link into the real home;
        # the copy gets folders of its own.
        for folder in (prefix / "drive_c" / "users").glob("*/*"):
            if folder.is_symlink():
                folder.unlink()
                folder.mkdir()
        # Nor does it remember where a program's file dialogs were last: they start
        # in the working folder, as on a new machine.
        user_reg = prefix / "user.reg"
        sections = re.split(r"\n(?=\[)", user_reg.read_text(encoding="latin-1"))
        user_reg.write_text("\n".join(s for s in sections if "\\\\ComDlg32\\\\" not in
                                      s.split("\n", 1)[0]), encoding="latin-1")
        return prefix

    def unix_path(self, windows_path):
        """Where a path of the Windows side lies in this prefix (C: or Z:)."""
        path = PureWindowsPath(windows_path)
        drive = (self.prefix / "dosdevices" / path.drive.lower()).resolve()
        return drive.joinpath(*path.parts[1:])

    def _start_xvfb(self):
        if not shutil.which("Xvfb"):
            raise unittest.SkipTest("Xvfb is not installed")
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        # Xvfb writes the number and the line end separately; closing the pipe
        # before the line end arrives kills it.
        answer = b""
        while not answer.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], 30)
            chunk = os.read(read_end, 64) if ready else b""
            if not chunk:
                break
            answer += chunk
        os.close(read_end)
        number = answer.decode().strip()
        if not number:
            self.xvfb.kill()
            raise RuntimeError("Xvfb did not start")
        return ":" + number

    def wineserver_kill(self):
        subprocess.run(["wineserver", "-k"], env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        self.wineserver_kill()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(timeout=10)

    def mqdeck(self):
        """The card tool of the same build, which reads card files as the program does."""
        found = sorted(self.build.glob("tools/**/mqdeck.exe"))
        if not found:
            raise FileNotFoundError(self.build / "tools" / "mqdeck.exe")
        return found[0].resolve()

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=30,
                              stdout=subprocess.PIPE, text=True).stdout.strip()


class Probe:
    """The long-lived mqprobe.exe: one command line in, one answer line out."""

    def __init__(self, session):
        self.process = subprocess.Popen(
            ["wine", str(session.probe_exe)], env=session.env, stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.buffer = b""

    def _readline(self, timeout):
        deadline = time.monotonic() + timeout
        while b"\n" not in self.buffer:
            left = deadline - time.monotonic()
            ready, _, _ = select.select([self.process.stdout], [], [], max(left, 0))
            if not ready:
                raise ProbeError("the probe gave no answer in time")
            chunk = os.read(self.process.stdout.fileno(), 4096)
            if not chunk:
                raise ProbeError("the probe ended")
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.rstrip(b"\r").decode("ascii")

    def ucall(self, *args):
        """(ok, fields) with each field a str."""
        line = "\t".join(escape(a) for a in args) + "\n"
        self.process.stdin.write(line.encode("ascii"))
        self.process.stdin.flush()
        status, *fields = self._readline(timeout=60).split("\t")
        return status == "ok", [unescape(f) for f in fields]

    def call(self, *args):
        """(ok, fields) with each field as code page 1252 bytes."""
        ok, fields = self.ucall(*args)
        return ok, [to_cp1252(f) for f in fields]

    def uok(self, *args):
        ok, fields = self.ucall(*args)
        if not ok:
            raise ProbeError("probe %r failed: %r" % (args, fields))
        return fields

    def ok(self, *args):
        return [to_cp1252(f) for f in self.uok(*args)]

    def close(self):
        try:
            self.process.stdin.write(b"quit\n")
            self.process.stdin.close()
            self.process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()


class Program:
    """One run of Mnemoquill.exe in a working folder of its own."""

    def __init__(self, session, workdir, exe=None):
        self.session = session
        self.exe = exe or session.exe
        self.workdir = Path(workdir)
        self.stdout_path = self.workdir.parent / (self.workdir.name + ".stdout")
        self.process = None

    def start(self, *args):
        with open(self.stdout_path, "wb") as out:
            self.process = subprocess.Popen(
                ["wine", str(self.exe), *args], cwd=self.workdir, env=self.session.env,
                stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)
        return self

    def stdout(self):
        return self.stdout_path.read_bytes()

    def wait(self, timeout=30):
        return self.process.wait(timeout=timeout)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)


class ProgramTestCase(unittest.TestCase):
    """Each test gets a fresh working folder and starts the program there."""

    session = None
    probe = None

    @classmethod
    def setUpClass(cls):
        cls.session = Session()
        try:
            cls.probe = Probe(cls.session)
        except BaseException:
            cls.session.close()  # tearDownClass does not run after a failed setUpClass
            raise

    @classmethod
    def tearDownClass(cls):
        cls.probe.close()
        cls.session.close()

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="mq-e2e-")
        self.workdir = Path(self.tmp.name, "work")
        self.workdir.mkdir()
        self.programs = []
        # Every test starts with no recent card files and no record of unsaved
        # changes (a program a test killed leaves one), as on a new machine.
        self.probe.ok("forget-recent")
        shutil.rmtree(self.session.unix_path(self.probe.uok("recovery-folder")[0]),
                      ignore_errors=True)

    def tearDown(self):
        for program in self.programs:
            program.stop()
        # A dialog of a killed program can linger until its process is gone.
        wait_until(lambda: not self.probe.call("main")[0], timeout=10)
        self.tmp.cleanup()

    # --- starting and finding the program ---

    def start_program(self, *args, workdir=None, exe=None):
        workdir = workdir or self.workdir
        workdir.mkdir(exist_ok=True)
        program = Program(self.session, workdir, exe).start(*args)
        self.programs.append(program)
        return program

    def start_and_wait_for_dialog(self, *args):
        program = self.start_program(*args)
        self.probe.ok("dialog", 20000)
        return program

    def windows_path(self, path):
        """The path as the Windows program sees it (Wine maps / to drive Z:)."""
        return "Z:" + str(Path(path).resolve()).replace("/", "\\")

    def dump_cards(self, path):
        """Every card of a card file, boxes 0 to 6 front to back, as `mqdeck dump` gives
        them: dicts with box, pos, mark, section, number, question, answer and info."""
        path = Path(path)
        # Output to a file, not a pipe: the wineserver may hold a pipe open long after
        # the tool has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run(["wine", str(self.session.mqdeck()), "dump", path.name],
                                  cwd=path.parent, env=self.session.env, stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=err, timeout=60).returncode
            out.seek(0)
            err.seek(0)
            output, errors = out.read(), err.read()
        self.assertEqual(code, 0, errors)
        return [json.loads(line) for line in output.decode("utf-8").splitlines()]

    # --- reading the dialog ---

    def text(self, control_id):
        return self.probe.ok("text", control_id)[0]

    def utext(self, control_id):
        return self.probe.uok("text", control_id)[0]

    def enabled(self, control_id):
        return self.probe.ok("enabled", control_id)[0] == b"1"

    def checked(self, control_id):
        return self.probe.ok("checked", control_id)[0] == b"1"

    def title(self):
        return self.probe.ok("title")[0]

    def utitle(self):
        return self.probe.uok("title")[0]

    def menu_state(self, command_id):
        return int(self.probe.ok("menu", command_id)[0])

    def popup_state(self, position):
        return int(self.probe.ok("menu-pos", position)[0])

    def wait_for_text(self, control_id, expected, timeout=15):
        """`expected` as bytes (code page 1252) or as a str."""
        read = self.utext if isinstance(expected, str) else self.text
        wait_until(lambda: read(control_id) == expected, timeout)
        self.assertEqual(read(control_id), expected)

    def wait_for_title(self, expected, timeout=15):
        read = self.utitle if isinstance(expected, str) else self.title
        wait_until(lambda: read() == expected, timeout)
        self.assertEqual(read(), expected)

    # --- message boxes ---

    def box(self, caption, timeout_ms=15000):
        """(owner, buttons, text) of the box with this caption, once it shows; the
        text as code page 1252 bytes."""
        owner, buttons, text = self.ubox(caption, timeout_ms)
        return owner, buttons, to_cp1252(text)

    def ubox(self, caption, timeout_ms=15000):
        """box() with the text as a str."""
        owner, buttons, text = self.probe.uok("box", caption, timeout_ms)
        return owner, buttons.split(","), text

    def answer(self, caption, button):
        self.probe.ok("answer", caption, button)
        self.probe.ok("gone", caption, 10000)

    def assert_no_box(self, caption, within_ms=1500):
        ok, fields = self.probe.call("no-box", caption, within_ms)
        self.assertTrue(ok, "unexpected box %r: %r" % (caption, fields))

    # --- real input through X ---

    def x_window(self, caption=""):
        """The X window of the dialog, or of the dialog-class window with this caption."""
        return self.probe.ok("x11", caption)[0].decode()

    def focus(self, window):
        """Focuses an X window. On a loaded machine a window that Windows already
        shows may not be viewable in X yet, and X refuses the focus until it is."""
        for _ in range(20):
            try:
                return self.session.xdotool("windowfocus", "--sync", window)
            except subprocess.CalledProcessError:
                time.sleep(0.5)
        return self.session.xdotool("windowfocus", "--sync", window)

    def keys(self, *keys, caption=""):
        """Presses keys the way a user does, with the window's X window focused."""
        self.focus(self.x_window(caption))
        self.session.xdotool("key", "--delay", "80", *keys)

    def type_text(self, text, read=None, caption=""):
        """Types into whatever control of the dialog (or the window with this
        caption) has the keyboard focus. Given `read`, which gives that control's
        text, each character outside ASCII goes on its own and is typed again until
        it shows: xdotool types such a character by remapping a spare key, and on a
        loaded machine the key can arrive before the map does, and the character is
        lost. A person would type it again."""
        window = self.x_window(caption)
        self.focus(window)
        if read is None:
            self.session.xdotool("type", "--delay", "60", text)
            return
        done = ""
        for piece in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]", text):
            for _ in range(5):
                self.session.xdotool("type", "--delay", "60", piece)
                if wait_until(lambda: read() == done + piece, timeout=2):
                    break
                # Whatever came instead is taken back first.
                shown = read()
                if shown.startswith(done) and len(shown) > len(done):
                    self.focus(window)
                    self.session.xdotool("key", *["BackSpace"] * (len(shown) - len(done)))
                    wait_until(lambda: read() == done, timeout=2)
            done += piece

    def click_control(self, control_id):
        left, top, right, bottom = (int(v) for v in self.probe.ok("rect", control_id))
        x, y = str((left + right) // 2), str((top + bottom) // 2)
        # A synchronous move onto the spot where the pointer already is waits for a
        # motion that never comes (15 s), as when the same button is clicked twice.
        here = dict(line.split("=") for line in
                    self.session.xdotool("getmouselocation", "--shell").splitlines())
        if (here.get("X"), here.get("Y")) != (x, y):
            self.session.xdotool("mousemove", "--sync", x, y)
        self.session.xdotool("click", "1")

    def type_file_name(self, caption, path):
        """Types `path` into the Open or Save As dialog like a user and confirms; a
        plain str is typed as it is (a name in the folder the dialog shows)."""
        self.box(caption)
        window = self.x_window(caption)
        name_field = 1148  # the file name combo box of the explorer-style dialogs
        typed = path if isinstance(path, str) else self.windows_path(path)
        field = lambda: self.probe.uok("field", caption, name_field)[0]
        for _ in range(3):
            self.focus(window)
            self.session.xdotool("key", "ctrl+a", "BackSpace")
            self.type_text(typed, read=field, caption=caption)
            if wait_until(lambda: field() == typed, timeout=3):
                break
        self.assertEqual(self.probe.uok("field", caption, name_field)[0], typed)
        self.session.xdotool("key", "Return")
        self.probe.ok("gone", caption, 15000)
