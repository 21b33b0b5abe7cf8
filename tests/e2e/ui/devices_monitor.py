"""The Devices Monitor dialog of the real exe: opened from the tray, only once at a time, closed with
OK or Cancel and opened again; the call log listed on its "Call Monitor" tab (live, sorted, copied and
exported) and the scrolling chart of its "Activity Monitor" tab; a screenshot of every tab is written to
<build>/screenshots."""
import os
import re
import subprocess
import time

from harness import (windows_path, BUILD, SOURCE, TRAY_CALLBACK, WM_LBUTTONDBLCLK, Failure, Monitor, check, child,
                     run_scenarios, wine_reg, winctl)

ICON_ID = 128
TITLE = "Telvaro Fax Devices Monitor"
DIALOG_CLASS = "#32770"
CONTAINER_ID = 1031
TAB_STRIP_ID = 100
TREE_ID = 1083
VK_RIGHT = 0x27
VK_HOME = 0x24
VK_DOWN = 0x28
VK_MULTIPLY = 0x6A
SHOTS = os.path.join(BUILD, "screenshots")


def wine_draws_captions():
    """Without a window manager on the virtual display nobody draws the captions: let Wine do it."""
    wine_reg("add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Decorated", "/d", "N", "/f")


def expand_tree(page, *keys):
    """Opens tree nodes with the keyboard (the page itself leaves every node collapsed)."""
    winctl("keys", child(page, TREE_ID, "the page"), *keys)


def visible_page(container):
    """The page of the container that is shown (its tab strip is not a page)."""
    code, out = winctl("visible-children", container)
    check(code == 0, "the container's children could not be listed")
    pages = [int(h) for h in out.split()]
    check(len(pages) == 2, "expected the tab strip and one shown page, got %d windows" % len(pages))
    return pages[-1]


def import_sample_modems():
    fixture = windows_path(os.path.join(SOURCE, "tools", "fixtures", "sample-modems.reg"))
    check(wine_reg("import", fixture)[0] == 0, "the sample modems could not be imported")


def start_with_two_controllers(folder):
    scenario = windows_path(os.path.join(SOURCE, "tools", "capi-scripted", "demo.scenario"))
    monitor = Monitor(folder, provider="scripted", env={"TFM_CAPI_SCENARIO": scenario}).start()
    monitor.wait_trace(r"^tray: icon 153$")
    return monitor


def find_dialog():
    code, out = winctl("find", DIALOG_CLASS, 20000, TITLE)
    check(code == 0, "the Devices Monitor dialog did not show")
    return int(out)


def screenshot(dialog, name):
    """Crops the dialog out of the X screen into a PNG file."""
    if not os.environ.get("DISPLAY"):
        raise Failure("no X display to take screenshots from")
    code, out = winctl("rect", dialog)
    check(code == 0, "the dialog's rectangle could not be read")
    x, y, width, height = (int(v) for v in out.split())
    os.makedirs(SHOTS, exist_ok=True)
    path = os.path.join(SHOTS, name + ".png")
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage", path],
                   check=True, timeout=30)
    check(os.path.getsize(path) > 1000, "the screenshot %s is empty" % path)


def tray_opens_one_dialog_and_it_opens_again(folder):
    import_sample_modems()
    wine_draws_captions()
    monitor = start_with_two_controllers(folder)
    frame = monitor.frame()

    winctl("post", frame, TRAY_CALLBACK, ICON_ID, WM_LBUTTONDBLCLK)
    opened = monitor.wait_trace(r'^devices monitor: open with \d+ tabs, showing "ISDN Devices"$')
    isdn = re.match(r"^isdn page: (\d+) nodes$", monitor.traces()[monitor.wait_trace(r"^isdn page: ")])
    check(int(isdn.group(1)) > 3, "the ISDN page shows no controller")
    monitor.wait_trace(r"^modem page: 16 nodes$")
    dialog = find_dialog()

    # "&Call Monitor" while the dialog is open: noted, but no second dialog.
    winctl("command", frame, 40002)
    monitor.wait_trace(r"^command: devices monitor \(dialog already open\)$", after=opened)
    check(winctl("count", DIALOG_CLASS, TITLE) == (0, "1"), "a second command opened another dialog")

    screenshot(dialog, "devices-monitor-isdn")
    container = child(dialog, CONTAINER_ID, "the dialog")
    expand_tree(visible_page(container), VK_HOME, VK_MULTIPLY, VK_DOWN, VK_DOWN, VK_DOWN, VK_MULTIPLY)
    screenshot(dialog, "devices-monitor-isdn-expanded")
    strip = child(container, TAB_STRIP_ID, "the tab container")
    winctl("keys", strip, VK_RIGHT)
    expand_tree(visible_page(container), VK_HOME, VK_MULTIPLY)
    screenshot(dialog, "devices-monitor-modems")

    winctl("command", dialog, 1)  # OK
    closed = monitor.wait_trace(r"^devices monitor: closed$", after=opened)
    check(winctl("wait-gone", dialog, 5000)[0] == 0, "OK did not close the dialog")

    # "&Call Monitor" opens the same dialog, again on its first tab; Cancel closes it too.
    winctl("command", frame, 40002)
    reopened = monitor.wait_trace(r'^devices monitor: open with \d+ tabs, showing "ISDN Devices"$', after=closed)
    dialog = find_dialog()
    winctl("command", dialog, 2)  # Cancel
    monitor.wait_trace(r"^devices monitor: closed$", after=reopened)
    check(winctl("wait-gone", dialog, 5000)[0] == 0, "Cancel did not close the dialog")
    monitor.end()


def pixels(path):
    return subprocess.run(["convert", path, "rgb:-"], check=True, capture_output=True, timeout=30).stdout


def call_log_and_activity_tabs(folder):
    wine_draws_captions()
    calls = ["IN 4711 0301555123 2005-03-01 14:05:09", "IN 4712  2005-03-02 08:00:00",
             "IN 4711 0171999888 2005-03-02 17:45:30"]
    with open(os.path.join(folder, "ISDNCall.log"), "w", newline="\r\n") as log:
        log.write("".join(call + "\n" for call in calls))
    monitor = start_with_two_controllers(folder)
    winctl("command", monitor.frame(), 40002)
    opened = monitor.wait_trace(r'^devices monitor: open with 4 tabs, showing "ISDN Devices"$')
    rows = re.match(r"^call page: (\d+) rows$", monitor.traces()[monitor.wait_trace(r"^call page: ")])
    check(int(rows.group(1)) >= len(calls), "the call page lists %s rows" % rows.group(1))
    dialog = find_dialog()
    strip = child(child(dialog, CONTAINER_ID, "the dialog"), TAB_STRIP_ID, "the tab container")
    winctl("keys", strip, VK_RIGHT, VK_RIGHT)
    screenshot(dialog, "devices-monitor-calls")

    # One sample a second: two pictures some seconds apart differ where the trace has moved on.
    winctl("keys", strip, VK_RIGHT)
    time.sleep(3)
    screenshot(dialog, "devices-monitor-activity-early")
    time.sleep(4)
    screenshot(dialog, "devices-monitor-activity")
    check(pixels(os.path.join(SHOTS, "devices-monitor-activity-early.png")) !=
          pixels(os.path.join(SHOTS, "devices-monitor-activity.png")), "the activity chart did not move")

    winctl("command", dialog, 1)  # OK
    monitor.wait_trace(r"^devices monitor: closed$", after=opened)
    monitor.end()


CALL_LIST_ID = 1064
LVM_GETITEMCOUNT, LVM_GETHEADER, LVM_GETTOPINDEX, LVM_GETCOUNTPERPAGE = 0x1004, 0x101F, 0x1027, 0x1028
WM_LBUTTONDOWN, WM_LBUTTONUP = 0x201, 0x202
COPY, SELECT_ALL, EXPORT = 40020, 40021, 40022


def list_number(list_window, message):
    code, out = winctl("send", list_window, message, 0, 0)
    check(code == 0, "the call list did not answer message 0x%X" % message)
    return int(out)


def click_header(list_window, x):
    header = list_number(list_window, LVM_GETHEADER)
    for message in (WM_LBUTTONDOWN, WM_LBUTTONUP):
        winctl("post", header, message, 1 if message == WM_LBUTTONDOWN else 0, (8 << 16) | x)


def copied_callers(monitor, page, after):
    winctl("command", page, SELECT_ALL)
    winctl("command", page, COPY)
    copied = monitor.wait_trace(r"^call page: 4 rows copied$", after=after)
    code, text = winctl("clipboard")
    check(code == 0, "the clipboard holds no text")
    return copied, [line.split("\t")[1] for line in text.splitlines() if line]


def call_list_is_live_sorted_copied_and_exported(folder):
    """A call that comes while the dialog is open is listed at once, the newest in view; a header click
    sorts (again: the other way), the selected rows reach the clipboard and a CSV file."""
    with open(os.path.join(folder, "ISDNCall.log"), "w", newline="\r\n") as log:
        log.write("IN 4711 0301555123 2005-03-01 14:05:09\nIN 4712  2005-03-02 08:00:00\n"
                  "IN 4711 0171999888 2005-03-02 17:45:30\n")
    scenario = os.path.join(folder, "one-call.scenario")
    with open(scenario, "w") as out:
        out.write("controllers 1\nconnect_ind plci=0x101 called=4711 calling=815 after=8s\n")
    monitor = Monitor(folder, provider="scripted", env={"TFM_CAPI_SCENARIO": windows_path(scenario)}).start()
    winctl("command", monitor.frame(), 40002)
    opened = monitor.wait_trace(r"^call page: 3 rows$")
    code, out = winctl("descendant", find_dialog(), CALL_LIST_ID)
    check(code == 0, "the dialog has no call list")
    list_window = int(out)
    page = int(re.search(r"parent=(\d+)", winctl("info", list_window)[1]).group(1))
    live = monitor.wait_trace(r"^call page: 1 calls listed live, 4 rows$", after=opened, timeout=30)
    check(list_number(list_window, LVM_GETITEMCOUNT) == 4, "the call heard is not listed")
    top, per_page = list_number(list_window, LVM_GETTOPINDEX), list_number(list_window, LVM_GETCOUNTPERPAGE)
    check(top <= 3 < top + per_page, "the newest call is not in view")

    click_header(list_window, 100)  # "Caller Id"
    sorted_up = monitor.wait_trace(r"^call page: sorted by column 1 ascending$", after=live)
    copied, callers = copied_callers(monitor, page, sorted_up)
    check(callers == ["", "0171999888", "0301555123", "815"], "copied in the wrong order: %r" % callers)
    click_header(list_window, 100)
    sorted_down = monitor.wait_trace(r"^call page: sorted by column 1 descending$", after=copied)
    copied, callers = copied_callers(monitor, page, sorted_down)
    check(callers == ["815", "0301555123", "0171999888", ""], "not sorted the other way: %r" % callers)

    csv_path = os.path.join(folder, "exported.csv")
    winctl("post", page, 0x111, EXPORT, 0)  # WM_COMMAND
    check(winctl("save-as", "Export Calls", windows_path(csv_path), 20000)[0] == 0, "the save dialog was not driven")
    monitor.wait_trace(r"^call page: 4 rows exported$", after=copied)
    with open(csv_path, newline="") as exported:
        text = exported.read()
    check(text.startswith("Call Type,Caller Id,Called MSN,Date,Time\r\nIN,815,4711,"), "CSV: %r" % text[:120])
    check(text.endswith("IN,,4712,2005-03-02,08:00:00\r\n") and text.count("\r\n") == 5, "CSV: %r" % text)
    winctl("command", find_dialog(), 1)  # OK
    monitor.end()


run_scenarios(tray_opens_one_dialog_and_it_opens_again, call_log_and_activity_tabs,
              call_list_is_live_sorted_copied_and_exported)
