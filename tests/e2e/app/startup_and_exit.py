"""Start-up, the single-instance guard and the two ways to end the program, with the real exe; what other
programs of the session do to the channel's names never freezes it."""
import os
import re
import time

from capi_record import write_scenario
from harness import WM_CLOSE, Monitor, ascii_run_folder, check, hold_mutex, run_scenarios, wait_until, winctl

RACE_MUTEX = "Global\\IPC_RACE_MUTEX{5E2B7A41-0C93-4D6E-8F12-7A3C9B0D4E58}"
MAP = "Global\\TelvaroFaxServerMAP_TelvaroFaxServer"
SERVER_EVENT = "Global\\SERVEREVENT_TelvaroFaxServer"
WM_NULL = 0x0000


def starts_hidden_with_stopped_icon(folder):
    monitor = Monitor(folder).start()
    install = monitor.wait_trace(r"^tray: install id=128 tip=\[Telvaro Fax Server Monitor\] added, version 4$")
    monitor.wait_trace(r"^tray: icon 153$", after=install)
    check(monitor.has_trace(r"^guard: Local\\TelvaroFaxGuard$"), "the guard name does not carry Local\\")
    frame = monitor.frame()
    code, info = winctl("info", frame)
    check(code == 0 and "visible=0" in info, "the frame is visible: " + info)
    code, popup = winctl("find", "TelvaroMonitorNotifier", 5000)
    check(code == 0, "the notification popup window does not exist")
    code, info = winctl("info", popup)
    check("visible=0" in info and ("owner=%d" % frame) in info, "popup not hidden or not owned by the frame: " + info)
    monitor.wait_trace(r"^workers: running$")
    monitor.end()
    check(monitor.has_trace(r"^tray: removed$"), "the icon was not removed")


def second_copy_exits_at_once(folder):
    first = Monitor(folder).start()
    first.wait_trace(r"^tray: icon 153$")
    second = Monitor(folder).start()
    check(second.wait_exit(15) == 0, "the second copy did not end with exit code 0")
    check(second.has_trace(r"already held, exiting$"), "the second copy did not see the guard")
    check(not second.has_trace(r"^tray: install"), "the second copy created a tray icon")
    check(first.running(), "the first copy ended")
    first.end(WM_CLOSE)
    check(first.has_trace(r"^tray: removed$"), "the icon was not removed")


def read_log(folder):
    try:
        with open(os.path.join(folder, "ISDNCall.log"), "rb") as log:
            return log.read()
    except FileNotFoundError:
        return b""


def race_mutex_held_by_another_program_never_freezes(folder):
    # A hung fax service holds the race mutex: start-up waits a moment for it, then goes on, and the box
    # that says the service could not be reached comes only once calls are being logged.
    holder = hold_mutex(RACE_MUTEX, 60000)
    try:
        env, _ = write_scenario(folder, "controllers 1\nconnect_ind plci=0x101 called=4711 calling=815 after=300ms\n")
        monitor = Monitor(folder, provider="scripted", env=env).start()
        busy = monitor.wait_trace(r"^channel: race mutex busy for \d+ ms$")
        monitor.wait_trace(r"^tray: tip \[incoming call from 815 to 4711\]$", after=busy)
        wait_until(lambda: re.fullmatch(rb"IN 4711 815 [-0-9]{10} [:0-9]{8}\r\n", read_log(folder)),
                   "the call was not logged while the box waited")
        code, box = winctl("msgbox", 20000)
        check(code == 0 and box == "Telvaro Fax Server Monitor|Can Not connect to telvarofax service",
              "unexpected message box: %s" % box)
        notice = monitor.wait_trace(r"^notice: Can Not connect")
        check(monitor.wait_trace(r"^worker isdn-monitor: started$") < notice, "the box came before the ISDN monitor")
        monitor.end()
    finally:
        holder.kill()


def server_event_left_signalled_is_answered_once_a_period(folder):
    # On a Russian Windows the 8-bit server writes in code page 1251: "Привет" is CF F0 E8 E2 E5 F2. Wine
    # takes code page 1251 from LC_ALL even where the locale is not generated, but then reads Linux
    # file names as ASCII: this copy runs from a folder named in ASCII.
    folder = ascii_run_folder(folder)
    monitor = Monitor(folder, env={"LANG": "ru_RU.UTF-8", "LC_ALL": "ru_RU.UTF-8"}).start()
    monitor.wait_trace(r"^workers: running$")
    check(winctl("signal-bytes", MAP, SERVER_EVENT, "CFF0E8E2E5F2")[0] == 0, "the server's text could not be posted")
    first = monitor.wait_trace(r"^tray: tip \[ Привет \]$")
    code, tips = winctl("tray-tips")
    check(code == 0 and "Привет" in [line.strip() for line in tips.splitlines()], "the tooltip does not read Привет: %r" % tips)
    time.sleep(2)
    shown = len([line for line in monitor.traces()[first:] if line == "tray: tip [ Привет ]"])
    # One text a 100 ms wait period at most, whatever the server's event does (it spun thousands before).
    check(shown <= 2 / 0.1 + 10, "the text was shown %d times in about 2 s" % shown)
    check(winctl("send", monitor.frame(), WM_NULL, 0, 0)[0] == 0, "the frame does not answer")
    monitor.end()


run_scenarios(starts_hidden_with_stopped_icon, second_copy_exits_at_once,
              race_mutex_held_by_another_program_never_freezes, server_event_left_signalled_is_answered_once_a_period)
