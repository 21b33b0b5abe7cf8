"""The ISDN call monitor with the real exe and the scripted provider: LISTEN_REQ, offered calls in the
tooltip and the call log (more at once than two, a number's control bytes written as '?'), no call
answered, disconnects answered (a damaged one too) and the release at "&Exit"; a balloon and an
event-log record for every logged call, with the caller named from the phone book by the dialing
location, the balloons switched off from the tray menu."""
import datetime
import glob
import os
import re
import struct
import subprocess
import time

from capi_record import CONNECT, DISCONNECT, IND, LISTEN, REQ, RESP, write_scenario
from harness import EVENT_LOG_DEBUG, PREFIX, WINCTL, WINE_RUN, Monitor, check, run_scenarios, wait_until, \
    wine_env, wine_reg, windows_path, winctl

APPL_ID = 7
EARLIER_LINE = b"IN 1 2 2005-03-01 14:05:09\r\n"

# Three controllers; four calls in progress at once, one from a number that holds a line feed, a blank
# and Ctrl+Z. The network clears the second with a damaged DISCONNECT_IND (12 bytes: header and PLCI,
# no Reason), then the others; a fifth call comes when none is in progress.
SCENARIO = r"""
controllers 3
register 0 %d
connect_ind    plci=0x101 called=4711 calling=815                after=300ms
connect_ind    plci=0x202 called=4712 calling=%%s%%n%%x           after=300ms
connect_ind    plci=0x301 called=4713 calling=12\x0a3\x204\x1a5 after=300ms
connect_ind    plci=0x102 called=4714 calling=999                after=300ms
raw            0c00 0700 0482 6300 0202 0000                     after=300ms
disconnect_ind plci=0x101 reason=0x3490                          after=300ms
disconnect_ind plci=0x301 reason=0x3490                          after=300ms
disconnect_ind plci=0x102 reason=0x3490                          after=300ms
connect_ind    plci=0x103 called=4715 calling=816                after=300ms
""" % APPL_ID
# Called and calling number of each call as the tooltip shows them and the log holds them.
SHOWN = [("4711", "815"), ("4712", "%s%n%x"), ("4713", "12?3?4?5"), ("4714", "999"), ("4715", "816")]
# The calls in progress from the start: four come, the damaged hang-up frees the second, three more end,
# one more comes.
CALLS_IN_PROGRESS = [0, 1, 2, 3, 4, 3, 2, 1, 0, 1]


def check_listen(record):
    check(record.index("CAPI_REGISTER 3072 2 7 2048 ") >= 0, "registration parameters differ: %s" % record.lines())
    listens = [m for m in record.put() if m.command == LISTEN]
    check(len(listens) == 3, "expected LISTEN_REQ to three controllers, got %r" % listens)
    for controller, message in enumerate(listens, start=1):
        check(message.subcommand == REQ and message.number == 0 and message.appl_id == APPL_ID,
              "LISTEN_REQ header wrong: %r" % message)
        # Controller, InfoMask, CIPmask, CIPmask2, then empty calling number and subaddress.
        expected = struct.pack("<IIII", controller, 0x40, 0x1FFF03FF, 0) + b"\0\0"
        check(message.params == expected, "LISTEN_REQ %d is %s, expected %s" % (
            controller, message.params.hex(), expected.hex()))


def check_responses(record):
    put = record.put()
    check(all(m.appl_id == APPL_ID for m in put), "a message carries a foreign ApplId: %r" % put)
    connect_resp = [m for m in put if m.is_(CONNECT, RESP)]
    check(not connect_resp, "the monitor answered an offered call: %r" % connect_resp)
    disconnect_ind = [m for m in record.delivered() if m.is_(DISCONNECT, IND)]
    disconnect_resp = [m for m in put if m.is_(DISCONNECT, RESP)]
    check(len(disconnect_ind) == 4 and len(disconnect_ind[0].data) == 12,
          "the damaged DISCONNECT_IND was not delivered first: %r" % disconnect_ind)
    check([(m.address(), m.number, len(m.params)) for m in disconnect_resp] ==
          [(m.address(), m.number, 4) for m in disconnect_ind],
          "DISCONNECT_RESP %r do not answer DISCONNECT_IND %r" % (disconnect_resp, disconnect_ind))


def check_calls_in_progress(monitor):
    pattern = re.compile(r"^capi: (\d+) calls in progress$")
    counts = [int(m.group(1)) for m in map(pattern.match, monitor.traces()) if m]
    check(counts[:len(CALLS_IN_PROGRESS)] == CALLS_IN_PROGRESS,
          "calls in progress went %r, expected %r" % (counts, CALLS_IN_PROGRESS))


def read_file(path):
    with open(path, "rb") as f:
        return f.read()


def check_call_log(folder):
    log = os.path.join(folder, "ISDNCall.log")
    # The tooltip is set just before the line is written: the last call's line may still be on its way.
    wait_until(lambda: read_file(log).count(b"\n") >= 1 + len(SHOWN), "not every call's line was written", 10)
    content = read_file(log)
    check(content.startswith(EARLIER_LINE), "the earlier line of the call log is gone: %r" % content)
    stamp = rb"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"
    pattern = b"".join(re.escape(("IN %s %s " % call).encode()) + stamp + rb"\r\n" for call in SHOWN)
    match = re.fullmatch(pattern, content[len(EARLIER_LINE):])
    check(match is not None, "unexpected call log: %r" % content)
    now = datetime.datetime.now()
    for text in match.groups():
        when = datetime.datetime.strptime(text.decode(), "%Y-%m-%d %H:%M:%S")
        check(abs((now - when).total_seconds()) < 120, "time stamp %s is not the local time %s" % (when, now))


def calls_are_shown_logged_and_answered(folder):
    with open(os.path.join(folder, "ISDNCall.log"), "wb") as f:
        f.write(EARLIER_LINE)
    env, record = write_scenario(folder, SCENARIO)
    monitor = Monitor(folder, provider="scripted", env=env).start()
    shown = 0
    for called, calling in SHOWN:
        tip = "incoming call from %s to %s" % (calling, called)
        shown = monitor.wait_trace(r"^tray: tip \[%s\]$" % re.escape(tip), after=shown)
    check_calls_in_progress(monitor)
    check_listen(record)
    check_responses(record)
    check_call_log(folder)

    monitor.end()
    release = "CAPI_RELEASE %d -> 0x0" % APPL_ID
    check(record.count("CAPI_RELEASE ") == 1 and record.index(release) >= 0,
          "expected one release of id %d: %s" % (APPL_ID, record.lines()))
    check(not any(line.startswith("CAPI_GET_MESSAGE") for line in record.lines()[record.index(release):]),
          "the monitor polled after releasing its registration")


SETTINGS_KEY = "HKCU\\Software\\Telvaro\\Fax Server Monitor"
CALL_NOTIFICATIONS_COMMAND = 40003


def shown_balloons():
    return [line for line in winctl("tray-tips")[1].splitlines() if line.startswith("balloon ")]


TELEPHONY_KEY = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony"
# Written by hand, as a user keeps it: a remark, a broken line, the number international and spaced.
PHONE_BOOK = "\ufeff# Kunden\r\nno separator\r\n+49 30 1555123;\"Müller GmbH\"\r\n".encode()


def phone_book_path():
    """The phone book in the prefix's %APPDATA% (the roaming folder of the prefix's one user)."""
    users = [p for p in glob.glob(os.path.join(PREFIX, "drive_c", "users", "*")) if not p.endswith("Public")]
    check(len(users) == 1, "the prefix's user folder is not known: %r" % users)
    return os.path.join(users[0], "AppData", "Roaming", "Telvaro", "Fax Server Monitor", "phonebook.csv")


def set_dialing_location():
    """Berlin, Germany: location 1 in country 49 with area code 30 (Wine lists the countries)."""
    for key, name, kind, value in [("Locations", "CurrentID", "REG_DWORD", "1"),
                                   ("Locations\\Location1", "Country", "REG_DWORD", "49"),
                                   ("Locations\\Location1", "AreaCode", "REG_SZ", "30")]:
        wine_reg("add", TELEPHONY_KEY + "\\" + key, "/v", name, "/t", kind, "/d", value, "/f")


def record_strings(monitor, sentence):
    """The strings of the information record that starts with the sentence: Wine prints one line each."""
    head = "ReportEvent information ["
    lines = monitor.traces()
    lines = [line for line in lines[lines.index(head + sentence + "]"):] if line.startswith(head)]
    return [line[len(head):-1] for line in lines[:5]]


def balloons_until_switched_off_and_event_records(folder):
    # A value of another type than REG_DWORD counts as no choice made: the balloons are on.
    wine_reg("add", SETTINGS_KEY, "/v", "CallNotifications", "/t", "REG_SZ", "/d", "0", "/f")
    set_dialing_location()
    book = phone_book_path()
    os.makedirs(os.path.dirname(book), exist_ok=True)
    with open(book, "wb") as f:
        f.write(PHONE_BOOK)
    # A local call (no area code) from a number the book holds internationally, a withheld one, and one
    # the balloons are off for.
    env, _ = write_scenario(folder, "controllers 1\nconnect_ind plci=0x101 called=4711 calling=1555123 after=1s\n"
                                    "connect_ind plci=0x202 called=4711 calling= after=5s\n"
                                    "connect_ind plci=0x303 called= calling=816 after=15s\n")
    monitor = Monitor(folder, provider="scripted", env=dict(env, **EVENT_LOG_DEBUG)).start()
    monitor.wait_trace(r"^tray: balloon \[The phone book has lines that cannot be read\] "
                       r"\[Line 2: no ';' or ',' after the number\.\]$")
    named = "Incoming call from Müller GmbH (1555123) to 4711"
    monitor.wait_trace(r"^tray: tip \[%s\]$" % re.escape(monitor.as_traced(named[0].lower() + named[1:])))
    monitor.wait_trace(r"^tray: balloon \[Telvaro Fax Server Monitor\] \[%s\]$" % re.escape(monitor.as_traced(named)))
    monitor.wait_trace(r"^ReportEvent information \[%s\]$" % re.escape(named))
    strings = record_strings(monitor, named)
    check(strings[1:4] == ["1555123", "4711", "Müller GmbH"] and
          re.fullmatch(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", strings[4]), "the call's record carries %r" % strings)
    withheld = "Incoming call from withheld to 4711"
    monitor.wait_trace(r"^tray: tip \[incoming call from withheld to 4711\]$")
    monitor.wait_trace(r"^tray: balloon \[Telvaro Fax Server Monitor\] \[%s\]$" % withheld)
    wait_until(lambda: "balloon " + withheld in shown_balloons(), "the shell shows no balloon of the withheld call",
               30, 0.5)
    monitor.wait_trace(r"^ReportEvent information \[%s\]$" % withheld)
    check(record_strings(monitor, withheld)[1:4] == ["", "4711", ""], "the withheld call's record carries %r"
          % record_strings(monitor, withheld))

    winctl("command", monitor.frame(), CALL_NOTIFICATIONS_COMMAND)
    monitor.wait_trace(r"^call notifications: off$")
    stored = wine_reg("query", SETTINGS_KEY, "/v", "CallNotifications")[1]
    check(re.search(r"CallNotifications\s+REG_DWORD\s+0x0\s*$", stored, re.MULTILINE), "not stored: %r" % stored)
    second = "Incoming call from 816 to this line"
    monitor.wait_trace(r"^ReportEvent information \[%s\]$" % second, timeout=40)
    time.sleep(3)  # the shell shows a balloon about 2 s after it was asked to
    check(not monitor.has_trace(r"^tray: balloon .*816") and not any("816" in b for b in shown_balloons()),
          "a balloon came while they were switched off")
    monitor.end()
    wine_reg("delete", SETTINGS_KEY, "/f")
    wine_reg("delete", TELEPHONY_KEY + "\\Locations", "/v", "CurrentID", "/f")
    wine_reg("delete", TELEPHONY_KEY + "\\Locations\\Location1", "/f")
    os.remove(book)


# Three calls one after the other while the call log is held by another program.
LOCKED_CALLS = [("4711", "815"), ("4712", "816"), ("4713", "817")]
LOCKED_SCENARIO = "controllers 1\n" + "".join(
    "connect_ind plci=0x%x called=%s calling=%s after=500ms\ndisconnect_ind plci=0x%x reason=0x3490 after=300ms\n"
    % (0x101 + i, called, calling, 0x101 + i) for i, (called, calling) in enumerate(LOCKED_CALLS))
CALL_MONITOR_COMMAND = 40002
CALL_LIST_ID = 1064


def call_page_texts(dialog):
    code, out = winctl("descendant", dialog, CALL_LIST_ID)
    check(code == 0, "the dialog has no call list")
    page = int(re.search(r"parent=(\d+)", winctl("info", int(out))[1]).group(1))
    return [winctl("text", int(h))[1] for h in winctl("visible-children", page)[1].split()]


def calls_wait_in_memory_while_the_log_is_locked(folder):
    """Another program holds ISDNCall.log without sharing while calls come: the user is told once (a
    balloon and a warning record) where the file is and that the calls are kept, the Call Monitor tab
    says why it cannot list them, and once the lock ends every call's line arrives, in order, once."""
    log = os.path.join(folder, "ISDNCall.log")
    with open(log, "wb") as f:
        f.write(EARLIER_LINE)
    lock = subprocess.Popen([WINE_RUN, WINCTL, "lock-file", windows_path(log), "120"],
                            env=wine_env({"WINEDEBUG": "-all"}), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True)
    try:
        check(lock.stdout.readline().strip() == "locked", "the call log could not be locked")
        env, _ = write_scenario(folder, LOCKED_SCENARIO)
        monitor = Monitor(folder, provider="scripted", env=dict(env, **EVENT_LOG_DEBUG)).start()
        for called, calling in LOCKED_CALLS:
            monitor.wait_trace(r"^tray: tip \[incoming call from %s to %s\]$" % (calling, called))
        monitor.wait_trace(r"^call log: not written, error 32; lines kept until it can be$")
        winctl("command", monitor.frame(), CALL_MONITOR_COMMAND)
        monitor.wait_trace(r"^call page: the call log cannot be read, error 32$")
        dialog = int(winctl("find", "#32770", 20000, "Telvaro Fax Devices Monitor")[1])
        path = windows_path(log)
        texts = call_page_texts(dialog)
        check(any(t.startswith("The call log %s cannot be read: " % path) for t in texts),
              "the Call Monitor tab says %r" % texts)
        winctl("command", dialog, 1)  # OK
    finally:
        lock.stdin.close()
        lock.wait(30)
    monitor.wait_trace(r"^call log: written again, 3 kept lines written, 0 dropped$", timeout=10)
    content = read_file(log)
    stamp = rb" \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\r\n"
    pattern = re.escape(EARLIER_LINE) + b"".join(
        b"IN " + called.encode() + b" " + calling.encode() + stamp for called, calling in LOCKED_CALLS)
    check(re.fullmatch(pattern, content) is not None, "the kept calls were not logged in order once: %r" % content)

    kept = "The calls are kept and will be written to %s as soon as it can be written." % path
    balloons = [l for l in monitor.traces() if l.startswith("tray: balloon [The call log cannot be written]")]
    check(len(balloons) == 1 and balloons[0].endswith(" %s]" % monitor.as_traced(kept)), "the balloons were %r" % balloons)
    warnings = [l for l in monitor.traces() if l.startswith("ReportEvent warning [The call log ")]
    check(len(warnings) == 1 and warnings[0].startswith("ReportEvent warning [The call log %s could not be written: "
                                                        % path), "the warning records were %r" % warnings)
    written = "The call log %s can be written again: the 3 calls kept meanwhile have been written to it." % path
    monitor.wait_trace(r"^ReportEvent information \[%s\]$" % re.escape(written))
    for called, calling in LOCKED_CALLS:  # each call told once, when it came
        told = [l for l in monitor.traces() if l == "ReportEvent information [Incoming call from %s to %s]"
                % (calling, called)]
        check(len(told) == 1, "call %s was told %d times" % (calling, len(told)))
    monitor.end()


run_scenarios(calls_are_shown_logged_and_answered, balloons_until_switched_off_and_event_records,
              calls_wait_in_memory_while_the_log_is_locked)
