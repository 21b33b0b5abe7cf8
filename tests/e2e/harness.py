"""End-to-end harness: runs the real TelvaroMonitor.exe under Wine and watches it from outside.

Each Monitor runs from a folder of its own (the call log and the provider DLL live beside the exe),
in the build's Wine prefix; the tests run strictly one at a time (ctest resource lock), and every
scenario starts from a prefix with no program running. What the monitor shows the user is followed
through its trace lines (OutputDebugStringW; Wine 8 hands the text on to OutputDebugStringA in the
process's ANSI code page and prints it on its warn+seh channel) and through tools/winctl.exe, which
finds and drives windows. With EVENT_LOG_DEBUG in its environment, the records
the monitor hands to the event log are among its trace lines too, as "ReportEvent <type> [text]".
"""
import os
import re
import shutil
import subprocess
import sys
import threading
import time

BUILD = os.environ.get("TFM_BUILD_DIR") or os.path.join(os.path.dirname(__file__), "..", "..", "build", "windows")
SOURCE = os.environ.get("TFM_SOURCE_DIR") or os.path.join(os.path.dirname(__file__), "..", "..")
WINE_RUN = os.path.join(SOURCE, "scripts", "wine-run")
WINCTL = os.path.join(BUILD, "tools", "winctl", "winctl.exe")
EXE = os.path.join(BUILD, "TelvaroMonitor.exe")
# TFM_DPI (e.g. 144) runs the scenarios at that display scaling, in a prefix of their own whose
# LogPixels says so from before the monitor starts.
DPI = int(os.environ.get("TFM_DPI", "96"))
PREFIX = (os.environ.get("TFM_WINEPREFIX") or os.path.join(BUILD, "wineprefix")) + ("" if DPI == 96 else "-%ddpi" % DPI)

WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
WM_CONTEXTMENU = 0x007B
WM_LBUTTONUP = 0x0202
WM_LBUTTONDBLCLK = 0x0203
WM_RBUTTONUP = 0x0205
NIN_SELECT = 0x0400
NIN_KEYSELECT = 0x0401
NIN_BALLOONUSERCLICK = 0x0405
TRAY_CALLBACK = 0x0464
TRAY_ICON_ID = 128
VK_ESCAPE = 0x1B
EXIT_COMMAND = 32775

# Provider choices: a capi2032.dll of ours beside the exe, Wine's own, or none loadable at all.
PROVIDERS = {
    "complete": "tools/capi-complete/capi2032.dll",
    "eight": "tools/capi-eight/capi2032.dll",
    "scripted": "tools/capi-scripted/capi2032.dll",
}

# The monitor calls OutputDebugStringW. Wine 8 converts the text to the process's ANSI code page and
# passes it to OutputDebugStringA, which it prints on the seh channel (a program's own call of
# OutputDebugStringA is printed on the debugstr channel).
_DEBUGSTR = re.compile(r':(?:seh|debugstr):OutputDebugStringA "(.*)"\s*$')
# Wine prints each record's strings on the debug class that matches its type.
# A long record is cut by Wine, which then prints "..." after the closing quote.
_REPORT_EVENT = re.compile(r'(trace|warn|err):eventlog:ReportEventW L"(.*)"(?:\.\.\.)?\s*$')
_EVENT_TYPES = {"trace": "information", "warn": "warning", "err": "error"}
TRACE_DEBUG = "-all,warn+debugstr,warn+seh"
EVENT_LOG_DEBUG = {"WINEDEBUG": TRACE_DEBUG + ",+eventlog"}
# Every scenario runs the monitor from a folder whose name holds Cyrillic, CJK and Devanagari letters:
# outside any single ANSI code page, so that a path narrowed to 8 bits anywhere loses the call log.
UNICODE_FOLDER_SUFFIX = "-Звонки-通話-कॉल"
# The ANSI code page Wine gives a process for the language of its LC_ALL or LANG (1252 otherwise).
_ANSI_CODE_PAGES = {"ru": "cp1251", "ja": "cp932", "hi": "utf-8"}


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def _unescape(text, code_page="cp1252"):
    """Undoes Wine's escaping of an 8-bit text (C escapes, \\xNN and octal) and reads its bytes in the
    process's code page."""
    raw = text.encode("latin-1", "backslashreplace").decode("unicode_escape").encode("latin-1")
    return raw.decode(code_page, "replace").rstrip("\n")


_WIDE_ESCAPE = re.compile(r'\\(?:([0-9a-fA-F]{4})|(.))')
_C_ESCAPES = {"n": "\n", "r": "\r", "t": "\t"}


def _unescape_wide(text):
    """Undoes Wine's escaping of a UTF-16 text: \\XXXX (four hex digits) for every unit outside
    printable ASCII, C escapes for the rest."""
    units = _WIDE_ESCAPE.sub(lambda m: chr(int(m.group(1), 16)) if m.group(1) else _C_ESCAPES.get(m.group(2), m.group(2)),
                             text)
    return units.encode("utf-16-le", "surrogatepass").decode("utf-16-le", "replace").rstrip("\n")


def ansi_code_page(env):
    """The Python codec of the ANSI code page Wine gives a process run with env."""
    locale = env.get("LC_ALL") or env.get("LANG") or ""
    return _ANSI_CODE_PAGES.get(locale[:2], "cp1252")


def wait_until(condition, what, timeout=20, interval=0.1):
    """Polls condition until it holds; fails the scenario with 'what' after timeout seconds."""
    deadline = time.time() + timeout
    while not condition():
        if time.time() >= deadline:
            raise Failure(what)
        time.sleep(interval)


def windows_path(path):
    """The path under which Wine's programs see a Linux path: the root is drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_env(extra=None):
    env = dict(os.environ)
    env["TFM_WINEPREFIX"] = PREFIX
    env.setdefault("WINEDEBUG", TRACE_DEBUG)
    if extra:
        env.update(extra)
    return env


def reset_prefix():
    """Ends every program of the prefix, so that a scenario starts from nothing."""
    subprocess.run(["wineserver", "-k"], env=dict(os.environ, WINEPREFIX=PREFIX),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=dict(os.environ, WINEPREFIX=PREFIX),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)


def winctl(*args, timeout=30):
    """Runs winctl.exe in the prefix; returns (exit code, stdout stripped)."""
    result = subprocess.run([WINE_RUN, WINCTL, *[str(a) for a in args]], env=wine_env({"WINEDEBUG": "-all"}),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, encoding="utf-8",
                            errors="replace", timeout=timeout)
    return result.returncode, result.stdout.strip()


def wine_reg(*args):
    """Runs Wine's reg.exe in the prefix; returns (exit code, stdout)."""
    result = subprocess.run([WINE_RUN, "reg", *args], env=wine_env({"WINEDEBUG": "-all"}), stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True, errors="replace", timeout=60)
    return result.returncode, result.stdout


def run_folder(name):
    """A folder of the scenario's own, named in several scripts; a run at another scaling has others, so
    that both can run at once."""
    folder = os.path.join(BUILD, "e2e-run", name + UNICODE_FOLDER_SUFFIX + ("" if DPI == 96 else "-%ddpi" % DPI))
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def ascii_run_folder(folder):
    """The scenario's folder without its letters outside ASCII, for a copy run under a locale that is
    not generated on the machine."""
    plain = folder.replace(UNICODE_FOLDER_SUFFIX, "")
    shutil.rmtree(plain, ignore_errors=True)
    os.makedirs(plain)
    return plain


class Monitor:
    """One running copy of the monitor in a folder of its own."""

    def __init__(self, folder, provider="complete", env=None):
        self.folder = folder
        self.exe = os.path.join(folder, "TelvaroMonitor.exe")
        if not os.path.exists(self.exe):
            shutil.copy2(EXE, self.exe)
        overrides = "mscoree,mshtml="
        if provider in PROVIDERS:
            shutil.copy2(os.path.join(BUILD, PROVIDERS[provider]), os.path.join(folder, "capi2032.dll"))
            overrides += ";capi2032=n"
        elif provider == "none":
            overrides += ";capi2032=d"
        elif provider == "wine":
            overrides += ";capi2032=b"
        else:
            raise ValueError(provider)
        self.env = wine_env({"WINEDLLOVERRIDES": overrides, **(env or {})})
        self.code_page = ansi_code_page(self.env)
        self.lines = []
        self.arrivals = []  # time.monotonic() at which each trace line was read
        self._lock = threading.Lock()
        self.process = None

    def start(self):
        self.process = subprocess.Popen([WINE_RUN, self.exe], cwd=self.folder, env=self.env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True, errors="replace")
        threading.Thread(target=self._read, daemon=True).start()
        return self

    def _read(self):
        for raw in self.process.stderr:
            match = _DEBUGSTR.search(raw)
            event = _REPORT_EVENT.search(raw)
            if match or event:
                line = (_unescape(match.group(1), self.code_page) if match else
                        "ReportEvent %s [%s]" % (_EVENT_TYPES[event.group(1)], _unescape_wide(event.group(2))))
                with self._lock:
                    self.lines.append(line)
                    self.arrivals.append(time.monotonic())

    def as_traced(self, text):
        """The text as a trace line carries it: Wine prints the debugger output in the process's ANSI
        code page, so a letter outside it reads as '?' (the event log's records keep every letter)."""
        return text.encode(self.code_page, "replace").decode(self.code_page)

    def traces(self):
        with self._lock:
            return list(self.lines)

    def wait_trace(self, pattern, timeout=20, after=0):
        """Waits for a trace line matching the regex (searched from index 'after'); returns its index."""
        regex = re.compile(pattern)
        deadline = time.time() + timeout
        while True:
            ended = self.process.poll() is not None
            if ended:
                time.sleep(0.3)  # let the reader drain what the process wrote last
            for index, line in enumerate(self.traces()[after:], start=after):
                if regex.search(line):
                    return index
            if ended or time.time() >= deadline:
                raise Failure("no trace line matching %r; traces were:\n  %s" % (pattern, "\n  ".join(self.traces())))
            time.sleep(0.1)

    def seconds_between(self, first, second):
        """Seconds between the arrival of two trace lines, given by index."""
        with self._lock:
            return self.arrivals[second] - self.arrivals[first]

    def has_trace(self, pattern):
        regex = re.compile(pattern)
        return any(regex.search(line) for line in self.traces())

    def frame(self, timeout=20000):
        code, out = winctl("find", "TelvaroMonitorFrame", timeout)
        check(code == 0, "the monitor's frame window was not found")
        return int(out)

    def wait_exit(self, timeout=20):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the monitor did not end within %d s" % timeout)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def end(self, message=WM_COMMAND, timeout=10):
        """Ends the program through its frame ("&Exit" by default, or WM_CLOSE); it must exit with 0."""
        winctl("post", self.frame(), message, EXIT_COMMAND if message == WM_COMMAND else 0, 0)
        check(self.wait_exit(timeout) == 0, "the monitor did not end with exit code 0")


def tray_event(frame, event, x=0, y=0, icon=TRAY_ICON_ID):
    """Posts the icon's callback to the frame as the shell sends it at NOTIFYICON_VERSION_4: the icon's
    anchor in wParam, the event and the icon id in lParam. Wine's tray relays mouse messages only, so the
    keyboard's events are posted this way."""
    winctl("post", frame, TRAY_CALLBACK, (y & 0xFFFF) << 16 | (x & 0xFFFF), icon << 16 | event)


def child(parent, control_id, what):
    """The child window with the control id; fails the scenario when there is none."""
    code, out = winctl("child", parent, control_id)
    check(code == 0, "%s has no child %d" % (what, control_id))
    return int(out)


def hold_mutex(name, milliseconds):
    """Another program of the session holding a named mutex (or sitting on a channel object's name with
    one) for the milliseconds; returns its process once it holds the mutex."""
    holder = subprocess.Popen([WINE_RUN, WINCTL, "hold-mutex", name, str(milliseconds)],
                              env=wine_env({"WINEDEBUG": "-all"}), stdout=subprocess.PIPE, text=True)
    check(holder.stdout.readline().strip() == "held", "the mutex %s could not be taken" % name)
    return holder


def set_prefix_dpi():
    """Sets the prefix's display scaling to DPI, read by the programs started afterwards."""
    code, _ = wine_reg("add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(DPI), "/f")
    check(code == 0, "the prefix's display scaling could not be set")


def run_scenarios(*functions):
    """Runs each scenario from a clean prefix in a folder of its own; exits non-zero if any failed."""
    set_prefix_dpi()
    failed = 0
    for function in functions:
        name = function.__name__
        reset_prefix()
        started = time.time()
        try:
            function(run_folder(name))
            print("PASS %s (%.1f s)" % (name, time.time() - started))
        except Failure as failure:
            failed += 1
            print("FAIL %s: %s" % (name, failure))
        sys.stdout.flush()
    reset_prefix()
    sys.exit(1 if failed else 0)
