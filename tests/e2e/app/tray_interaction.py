"""The tray icon's mouse messages and the shell restart, driven from outside the real exe."""
import re

from capi_record import write_scenario
from harness import (TRAY_CALLBACK, VK_ESCAPE, WM_CLOSE, WM_LBUTTONDBLCLK, WM_RBUTTONUP, Monitor, check,
                     run_scenarios, winctl)

ICON_ID = 128
VK_E = 0x45


def right_click_shows_menu_and_exit_ends(folder):
    monitor = Monitor(folder).start()
    monitor.wait_trace(r"^tray: icon 153$")
    frame = monitor.frame()
    winctl("post", frame, TRAY_CALLBACK, ICON_ID, WM_RBUTTONUP)
    monitor.wait_trace(r"^tray: menu shown$")
    code, menu = winctl("popup-menu", 10000)
    check(code == 0, "no popup menu became visible")
    winctl("keys", menu, VK_ESCAPE)
    winctl("wait-gone", menu, 5000)
    check(monitor.running(), "dismissing the menu ended the program")
    # Choosing "&Exit" by its mnemonic arrives at the frame as command 32775.
    winctl("post", frame, TRAY_CALLBACK, ICON_ID, WM_RBUTTONUP)
    code, menu = winctl("popup-menu", 10000)
    check(code == 0, "the menu did not show a second time")
    winctl("keys", menu, VK_E)
    check(monitor.wait_exit(10) == 0, "choosing Exit did not end the program")


def double_click_runs_default_command(folder):
    monitor = Monitor(folder).start()
    monitor.wait_trace(r"^tray: icon 153$")
    frame = monitor.frame()
    winctl("post", frame, TRAY_CALLBACK, 999, WM_LBUTTONDBLCLK)  # not our icon: ignored
    winctl("post", frame, TRAY_CALLBACK, ICON_ID, WM_LBUTTONDBLCLK)
    index = monitor.wait_trace(r"^tray: default command 40001$")
    monitor.wait_trace(r"^command: devices monitor", after=index)
    check(len([l for l in monitor.traces() if l.startswith("tray: default command")]) == 1,
          "a foreign icon id reached the default command")
    winctl("command", frame, 40002)
    monitor.wait_trace(r"^command: devices monitor \(dialog already open\)$", after=index + 2)
    # Closing while the dialog that the double-click opened still runs: the dialog ends first, and the
    # frame and its tray go only once the modal loop and the tray callback have returned.
    winctl("post", frame, WM_CLOSE, 0, 0)
    check(monitor.wait_exit(10) == 0, "the monitor did not end cleanly with the dialog open")
    closed = monitor.wait_trace(r"^devices monitor: closed$")
    check(closed < monitor.wait_trace(r"^tray: removed$"), "the icon went before the dialog had ended")


def current_tip(monitor):
    """The tooltip as the monitor last set it, read from its trace."""
    tip = None
    for line in monitor.traces():
        match = re.match(r"^tray: (?:install id=\d+ )?tip=?\s?\[(.*)\]", line)
        if match:
            tip = match.group(1)
    return tip


def shell_restart_puts_icon_back(folder):
    monitor = Monitor(folder).start()
    monitor.wait_trace(r"^tray: tip \[Telvaro Fax Stopped\]$")  # the poller's first cycle
    frame = monitor.frame()
    check(winctl("tray-exists", frame, ICON_ID)[0] == 0, "the shell does not know the icon after start-up")
    check(winctl("tray-delete", frame, ICON_ID)[0] == 0, "the icon could not be removed from outside")
    check(winctl("tray-exists", frame, ICON_ID)[0] != 0, "the icon is still there after its removal")
    tip = current_tip(monitor)
    winctl("broadcast", "TaskbarCreated")
    monitor.wait_trace(r"^tray: re-add tip=\[%s\] added$" % re.escape(tip))
    check(winctl("tray-exists", frame, ICON_ID)[0] == 0, "the icon did not come back")
    monitor.end()


def stray_taskbar_created_keeps_tooltip_following(folder):
    # Any program may send "TaskbarCreated" while the icon is still there; the tooltip must go on
    # following the program, as the shell shows it.
    env, _ = write_scenario(folder, "controllers 1\nconnect_ind plci=0x101 called=4711 calling=0815 after=8s\n")
    monitor = Monitor(folder, provider="scripted", env=env).start()
    monitor.wait_trace(r"^tray: tip \[Telvaro Fax Stopped\]$")
    frame = monitor.frame()
    winctl("broadcast", "TaskbarCreated")
    readd = monitor.wait_trace(r"^tray: re-add tip=\[Telvaro Fax Stopped\] added$")
    call = monitor.wait_trace(r"^tray: tip \[incoming call from 0815 to 4711\]", timeout=30)
    check(readd < call, "the call came before the stray broadcast")
    check(monitor.traces()[call].endswith("]"), "the tooltip was only stored: " + monitor.traces()[call])
    code, tips = winctl("tray-tips")
    check(code == 0 and "incoming call from 0815 to 4711" in tips.splitlines(),
          "the shell's tooltip is not the program's: %r" % tips)
    winctl("post", frame, WM_CLOSE, 0, 0)
    check(monitor.wait_exit(10) == 0, "the monitor did not end")


run_scenarios(right_click_shows_menu_and_exit_ends, double_click_runs_default_command, shell_restart_puts_icon_back,
              stray_taskbar_created_keeps_tooltip_following)
