"""The Devices Monitor dialog of the real exe: opened from the tray, only once at a time, closed with
OK or Cancel and opened again; the call log listed on its "Call Monitor" tab and the scrolling chart of
its "Activity Monitor" tab; a screenshot of every tab is written to <build>/screenshots, and nothing on
it is cut. With TFM_DPI set (e.g. 144) the dialog runs at that display scaling and the screenshots'
names end in "-144dpi"."""
import os
import re
import subprocess
import time

from harness import (windows_path, BUILD, DPI, SOURCE, TRAY_CALLBACK, WINE_RUN, WM_LBUTTONDBLCLK, Failure, Monitor, check, child,
                     run_scenarios, wine_env, winctl)

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


def wine_reg(*args):
    """Runs Wine's reg.exe in the prefix; returns its exit code."""
    return subprocess.run([WINE_RUN, "reg", *args], env=wine_env({"WINEDEBUG": "-all"}), stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=60).returncode


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
    check(wine_reg("import", fixture) == 0, "the sample modems could not be imported")


def start_with_two_controllers(folder):
    scenario = windows_path(os.path.join(SOURCE, "tools", "capi-scripted", "demo.scenario"))
    monitor = Monitor(folder, provider="scripted", env={"TFM_CAPI_SCENARIO": scenario}).start()
    monitor.wait_trace(r"^tray: icon 153$")
    return monitor


def find_dialog():
    code, out = winctl("find", DIALOG_CLASS, 20000, TITLE)
    check(code == 0, "the Devices Monitor dialog did not show")
    return int(out)


def shot_path(name):
    return os.path.join(SHOTS, name + ("" if DPI == 96 else "-%ddpi" % DPI) + ".png")


def screenshot(dialog, name):
    """Crops the dialog out of the X screen into a PNG file, once no window of the shown tab is cut."""
    code, out = winctl("fits", dialog)
    check(code == 0, "on %s: %s" % (name, out))
    if not os.environ.get("DISPLAY"):
        raise Failure("no X display to take screenshots from")
    code, out = winctl("rect", dialog)
    check(code == 0, "the dialog's rectangle could not be read")
    x, y, width, height = (int(v) for v in out.split())
    os.makedirs(SHOTS, exist_ok=True)
    path = shot_path(name)
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
    check(pixels(shot_path("devices-monitor-activity-early")) != pixels(shot_path("devices-monitor-activity")),
          "the activity chart did not move")

    winctl("command", dialog, 1)  # OK
    monitor.wait_trace(r"^devices monitor: closed$", after=opened)
    monitor.end()


def call_logged_meanwhile_shows_after_reopening(folder):
    scenario = os.path.join(folder, "one-call.scenario")
    with open(scenario, "w") as out:
        out.write("controllers 1\nconnect_ind plci=0x101 called=4711 calling=815 after=10s\n")
    monitor = Monitor(folder, provider="scripted", env={"TFM_CAPI_SCENARIO": windows_path(scenario)}).start()
    frame = monitor.frame()
    winctl("command", frame, 40001)
    first = monitor.wait_trace(r"^call page: 0 rows$")
    winctl("command", find_dialog(), 2)  # Cancel
    closed = monitor.wait_trace(r"^devices monitor: closed$", after=first)
    call = monitor.wait_trace(r"^tray: tip \[incoming call from 815 to 4711\]$", timeout=30)
    check(call > closed, "the call came in before the dialog was closed")
    winctl("command", frame, 40001)
    monitor.wait_trace(r"^call page: 1 rows$", after=call)
    winctl("command", find_dialog(), 1)  # OK
    monitor.end()


if DPI == 96:
    run_scenarios(tray_opens_one_dialog_and_it_opens_again, call_log_and_activity_tabs,
                  call_logged_meanwhile_shows_after_reopening)
else:  # every tab once more, at the other scaling
    run_scenarios(tray_opens_one_dialog_and_it_opens_again, call_log_and_activity_tabs)
