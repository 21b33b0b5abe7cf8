"""The tray icon's mouse and keyboard events and the shell restart, driven from outside the real exe. The
icon asks for NOTIFYICON_VERSION_4, and the events are posted to the frame in that form (Wine's own tray
relays mouse messages only)."""
import os
import re

from capi_record import write_scenario
from harness import (NIN_BALLOONUSERCLICK, NIN_KEYSELECT, NIN_SELECT, VK_ESCAPE, WM_CLOSE, WM_CONTEXTMENU,
                     WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONUP, Monitor, check, run_scenarios, tray_event,
                     wait_until, winctl)

ICON_ID = 128
VK_C, VK_E, VK_M = 0x43, 0x45, 0x4D
DIALOG_TITLE = "Telvaro Fax Devices Monitor"
CALL_LIST_ID = 1064
LVM_GETNEXTITEM, LVM_GETSELECTEDCOUNT, LVNI_SELECTED = 0x100C, 0x1032, 2


def open_menu(frame, x, y):
    """The context menu at the icon's anchor, as the shell asks for it after a right click or the
    context-menu key; returns the menu window."""
    tray_event(frame, WM_CONTEXTMENU, x, y)
    code, menu = winctl("popup-menu", 10000)
    check(code == 0, "no popup menu became visible")
    return int(menu)


def close_dialog(monitor, showing, after):
    opened = monitor.wait_trace(r'^devices monitor: open with 4 tabs, showing "%s"$' % showing, after=after)
    code, dialog = winctl("find", "#32770", 20000, DIALOG_TITLE)
    check(code == 0, "the Devices Monitor did not show")
    winctl("command", int(dialog), 1)  # OK
    return monitor.wait_trace(r"^devices monitor: closed$", after=opened)


def menu_opens_at_the_icon_and_every_item_has_its_own_key(folder):
    monitor = Monitor(folder).start()
    monitor.wait_trace(r"^tray: install id=128 .* added, version 4$")
    monitor.wait_trace(r"^tray: icon 153$")
    frame = monitor.frame()
    # A right click: its button-up alone shows nothing, the context menu that follows opens at the anchor.
    tray_event(frame, WM_RBUTTONUP, 300, 200)
    menu = open_menu(frame, 300, 200)
    code, out = winctl("rect", menu)
    x, y, width, height = (int(v) for v in out.split())
    check(abs(x - 300) <= 3 and abs(y + height - 200) <= 3, "the menu is not at the icon: %s" % out)
    winctl("keys", menu, VK_ESCAPE)
    winctl("wait-gone", menu, 5000)
    check(len([l for l in monitor.traces() if l.startswith("tray: menu shown")]) == 1,
          "the button-up showed a menu of its own")
    check(monitor.running(), "dismissing the menu ended the program")
    # From the keyboard (Shift+F10 or the Apps key on the icon): each access key chooses its item at once.
    index = 0
    for key, tab in ((VK_C, "ISDN Devices"), (VK_M, "Call Monitor")):
        winctl("keys", open_menu(frame, 200, 150), key)
        index = close_dialog(monitor, tab, index)
    winctl("keys", open_menu(frame, 200, 150), VK_E)
    check(monitor.wait_exit(10) == 0, "choosing Exit did not end the program")


def keyboard_and_double_click_run_the_default_command(folder):
    monitor = Monitor(folder).start()
    monitor.wait_trace(r"^tray: icon 153$")
    frame = monitor.frame()
    tray_event(frame, WM_LBUTTONUP)  # a single click: its NIN_SELECT does nothing
    tray_event(frame, NIN_SELECT)
    tray_event(frame, NIN_KEYSELECT, icon=999)  # not our icon: ignored
    tray_event(frame, NIN_KEYSELECT)  # Space or Enter on the icon
    index = monitor.wait_trace(r"^tray: default command 40001$")
    monitor.wait_trace(r"^command: devices monitor \(dialog closed\)$", after=index)
    check(len([l for l in monitor.traces() if l.startswith("tray: default command")]) == 1,
          "a single click or a foreign icon id reached the default command")
    # Enter (NIN_SELECT without a click) and a double-click while the dialog runs bring it to the front.
    for event in (NIN_SELECT, WM_LBUTTONDBLCLK):
        tray_event(frame, event)
        index = monitor.wait_trace(r"^command: devices monitor \(dialog already open\)$", after=index + 1)
    # Closing while the dialog that the keyboard opened still runs: the dialog ends first, and the frame
    # and its tray go only once the modal loop and the tray callback have returned.
    winctl("post", frame, WM_CLOSE, 0, 0)
    check(monitor.wait_exit(10) == 0, "the monitor did not end cleanly with the dialog open")
    closed = monitor.wait_trace(r"^devices monitor: closed$")
    check(closed < monitor.wait_trace(r"^tray: removed$"), "the icon went before the dialog had ended")


def balloon_click_shows_its_call(folder):
    """A click on a call's balloon opens the Call Monitor tab with that call selected, the newest of the
    same numbers."""
    log = os.path.join(folder, "ISDNCall.log")
    with open(log, "w", newline="\r\n") as out:
        out.write("IN 4711 0815 2005-03-01 14:05:09\nIN 4712 0301555123 2005-03-02 08:00:00\n")
    env, _ = write_scenario(folder, "controllers 1\nconnect_ind plci=0x101 called=4711 calling=0815 after=3s\n")
    monitor = Monitor(folder, provider="scripted", env=env).start()
    monitor.wait_trace(r"^tray: balloon \[Telvaro Fax Server Monitor\] \[Incoming call from 0815 to 4711\]$",
                       timeout=30)
    wait_until(lambda: open(log).read().count("\n") == 3, "the call's line was not written")
    tray_event(monitor.frame(), NIN_BALLOONUSERCLICK)
    monitor.wait_trace(r'^devices monitor: open with 4 tabs, showing "Call Monitor"$')
    monitor.wait_trace(r"^call page: call of 0815 at \d{4}-\d\d-\d\d \d\d:\d\d:\d\d selected$")
    code, dialog = winctl("find", "#32770", 20000, DIALOG_TITLE)
    code, calls = winctl("descendant", int(dialog), CALL_LIST_ID)
    check(code == 0, "the dialog has no call list")
    selected = [winctl("send", int(calls), message, wparam, lparam)[1]
                for message, wparam, lparam in ((LVM_GETSELECTEDCOUNT, 0, 0), (LVM_GETNEXTITEM, -1, LVNI_SELECTED))]
    check(selected == ["1", "2"], "the call heard is not the one selected: %r" % selected)
    winctl("command", int(dialog), 1)  # OK
    monitor.end()


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
    monitor.wait_trace(r"^tray: re-add tip=\[%s\] added, version 4$" % re.escape(tip))
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
    readd = monitor.wait_trace(r"^tray: re-add tip=\[Telvaro Fax Stopped\] added, version 4$")
    call = monitor.wait_trace(r"^tray: tip \[incoming call from 0815 to 4711\]", timeout=30)
    check(readd < call, "the call came before the stray broadcast")
    check(monitor.traces()[call].endswith("]"), "the tooltip was only stored: " + monitor.traces()[call])
    code, tips = winctl("tray-tips")
    check(code == 0 and "incoming call from 0815 to 4711" in tips.splitlines(),
          "the shell's tooltip is not the program's: %r" % tips)
    winctl("post", frame, WM_CLOSE, 0, 0)
    check(monitor.wait_exit(10) == 0, "the monitor did not end")


run_scenarios(menu_opens_at_the_icon_and_every_item_has_its_own_key, keyboard_and_double_click_run_the_default_command,
              balloon_click_shows_its_call, shell_restart_puts_icon_back, stray_taskbar_created_keeps_tooltip_following)
