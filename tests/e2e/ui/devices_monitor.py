"""The Devices Monitor dialog of the real exe: opened from the tray on the tab its command asks for,
only once at a time (a second command brings it to the front on its tab), closed with OK or Cancel and
opened again; its tab keys; the call log listed on its "Call Monitor" tab (live, searched and counted,
sorted, copied and exported as CSV, the selected calls or all), the chart of calls in progress and their number as text on its "Activity Monitor" tab,
resizing, and what empty tabs say; a screenshot of every tab is written to <build>/screenshots, and nothing
on it is cut, once more under a black high-contrast scheme ("-high-contrast"). With TFM_DPI set (e.g. 144)
the dialog runs at that display scaling and the screenshots' names end in "-144dpi"."""
import os
import re
import subprocess
import time

from harness import (windows_path, BUILD, DPI, SOURCE, WM_LBUTTONDBLCLK, Failure, Monitor, check, child,
                     run_scenarios, tray_event, wine_reg, winctl)

TITLE = "Telvaro Fax Devices Monitor"
DIALOG_CLASS = "#32770"
CONTAINER_ID = 1031
TAB_STRIP_ID = 100
TREE_ID = 1083
VK_RIGHT = 0x27
VK_HOME = 0x24
VK_DOWN = 0x28
VK_MULTIPLY = 0x6A
VK_CONTROL = 0x11
VK_SHIFT = 0x10
VK_TAB = 0x09
VK_PRIOR = 0x21
VK_NEXT = 0x22
TCM_GETCURSEL = 0x130B
CALL_LIST_ID = 1064
CALL_SEARCH_ID = 1065
CALL_COUNT_ID = 1066
VK_ESCAPE = 0x1B
CALLS_IN_PROGRESS_ID = 1099
INTERNATIONAL = "HKCU\\Control Panel\\International"
MODEM_KEYS = ["HKLM\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}\\" + n
              for n in ("0000", "0001")]
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


def selected_tab(strip):
    code, out = winctl("send", strip, TCM_GETCURSEL, 0, 0)
    check(code == 0, "the tab strip did not answer")
    return int(out)


def rect(window):
    code, out = winctl("rect", window)
    check(code == 0, "the rectangle of %d could not be read" % window)
    return tuple(int(v) for v in out.split())


def visible_texts(page):
    """The texts of the page's visible children."""
    return [winctl("text", int(h))[1] for h in winctl("visible-children", page)[1].split()]


# A model named outside code page 1252, as a driver of a Russian or Chinese maker installs it.
WIDE_MODEL = "Модем ISDN 通話"


def import_sample_modems():
    fixture = windows_path(os.path.join(SOURCE, "tools", "fixtures", "sample-modems.reg"))
    check(wine_reg("import", fixture)[0] == 0, "the sample modems could not be imported")
    key = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}\\0001"
    check(wine_reg("add", key, "/v", "Model", "/d", WIDE_MODEL, "/f")[0] == 0, "the modem could not be renamed")


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


def screenshot(dialog, name, min_bytes=1000):
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
    check(os.path.getsize(path) > min_bytes, "the screenshot %s is empty" % path)
    return path


def tray_opens_one_dialog_and_it_opens_again(folder):
    import_sample_modems()
    wine_draws_captions()
    monitor = start_with_two_controllers(folder)
    frame = monitor.frame()

    tray_event(frame, WM_LBUTTONDBLCLK)
    opened = monitor.wait_trace(r'^devices monitor: open with \d+ tabs, showing "ISDN Devices"$')
    isdn = re.match(r"^isdn page: (\d+) nodes$", monitor.traces()[monitor.wait_trace(r"^isdn page: ")])
    check(int(isdn.group(1)) > 3, "the ISDN page shows no controller")
    monitor.wait_trace(r"^modem page: 16 nodes$")
    dialog = find_dialog()

    # "&Call Monitor" while the dialog is open brings it to the front on its tab; no second dialog.
    container = child(dialog, CONTAINER_ID, "the dialog")
    strip = child(container, TAB_STRIP_ID, "the tab container")
    for command, tab, title in ((40002, 2, "Call Monitor"), (40001, 0, "ISDN Devices")):
        winctl("command", frame, command)
        again = monitor.wait_trace(r"^command: devices monitor \(dialog already open\)$", after=opened)
        monitor.wait_trace(r'^devices monitor: to the front, showing "%s"$' % title, after=again)
        check(selected_tab(strip) == tab, "command %d did not select tab %d" % (command, tab))
    check(winctl("count", DIALOG_CLASS, TITLE) == (0, "1"), "a second command opened another dialog")

    screenshot(dialog, "devices-monitor-isdn")
    expand_tree(visible_page(container), VK_HOME, VK_MULTIPLY, VK_DOWN, VK_DOWN, VK_DOWN, VK_MULTIPLY)
    screenshot(dialog, "devices-monitor-isdn-expanded")
    winctl("keys", strip, VK_RIGHT)
    expand_tree(visible_page(container), VK_HOME, VK_MULTIPLY)
    code, texts = winctl("tree-texts", child(visible_page(container), TREE_ID, "the modem page"))
    check(code == 0 and "Modem name :" + WIDE_MODEL in [t.strip() for t in texts.splitlines()],
          "the Modems tab does not name %s: %r" % (WIDE_MODEL, texts))
    screenshot(dialog, "devices-monitor-modems")

    # The tab keys work wherever the focus is, and wrap around.
    for keys, tab in (((VK_CONTROL, VK_NEXT), 2), ((VK_CONTROL, VK_SHIFT, VK_TAB), 1), ((VK_CONTROL, VK_PRIOR), 0),
                      ((VK_CONTROL, VK_PRIOR), 3), ((VK_CONTROL, VK_TAB), 0)):
        check(winctl("chord", dialog, *keys)[0] == 0, "the keys %r could not be typed" % (keys,))
        check(selected_tab(strip) == tab, "the keys %r did not select tab %d" % (keys, tab))
    screenshot(dialog, "devices-monitor-tab-focus")

    winctl("command", dialog, 1)  # OK
    closed = monitor.wait_trace(r"^devices monitor: closed$", after=opened)
    check(winctl("wait-gone", dialog, 5000)[0] == 0, "OK did not close the dialog")

    # "&Call Monitor" opens it on the "Call Monitor" tab; Cancel closes it too.
    winctl("command", frame, 40002)
    reopened = monitor.wait_trace(r'^devices monitor: open with \d+ tabs, showing "Call Monitor"$', after=closed)
    dialog = find_dialog()
    winctl("command", dialog, 2)  # Cancel
    monitor.wait_trace(r"^devices monitor: closed$", after=reopened)
    check(winctl("wait-gone", dialog, 5000)[0] == 0, "Cancel did not close the dialog")
    monitor.end()


def trace_rows(path, width):
    """The rows of a chart picture that hold pixels of the trace's colour (white), inside its sunken edge
    (whose highlight is white as well)."""
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True,
                          timeout=30).stdout
    height = len(data) // 3 // width
    inside = range(4, width - 4)
    return {y for y in range(4, height - 4)
            if any(data[3 * (y * width + x):3 * (y * width + x) + 3] == b"\xff\xff\xff" for x in inside)}


def find_chart(page):
    for handle in winctl("visible-children", page)[1].split():
        if "class=TfmStripChart" in winctl("info", handle)[1]:
            return int(handle)
    raise Failure("the activity page shows no chart")


def resizing_follows_and_stops_at_the_template_size(dialog, container):
    x, y, width, height = rect(dialog)
    content = child(visible_page(container), CALL_LIST_ID, "the call page")
    before = rect(content)
    winctl("size", dialog, width + 200, height + 120)
    time.sleep(0.5)  # the moved controls paint after the size
    after = rect(content)
    check(after[2:] == (before[2] + 200, before[3] + 120), "the list did not follow: %r, then %r" % (before, after))
    screenshot(dialog, "devices-monitor-calls-larger")
    winctl("size", dialog, 100, 100)
    check(rect(dialog)[2:] == (width, height), "the dialog became smaller than its template: %r" % (rect(dialog),))
    check(rect(content) == before, "the list did not come back to its size: %r" % (rect(content),))


def call_log_activity_and_resizing(folder):
    wine_draws_captions()
    calls = ["IN 4711 0301555123 2005-03-01 14:05:09", "IN 4712  2005-03-02 08:00:00",
             "IN 4711 0171999888 2005-03-02 17:45:30"]
    with open(os.path.join(folder, "ISDNCall.log"), "w", newline="\r\n") as log:
        log.write("".join(call + "\n" for call in calls))
    # One call, late enough for a picture of the idle chart first.
    scenario = os.path.join(folder, "late-call.scenario")
    with open(scenario, "w") as out:
        out.write("controllers 1\nconnect_ind plci=0x101 called=4711 calling=815 after=30s\n"
                  "disconnect_ind plci=0x101 reason=0x3490 after=4s\n")
    monitor = Monitor(folder, provider="scripted", env={"TFM_CAPI_SCENARIO": windows_path(scenario)}).start()
    winctl("command", monitor.frame(), 40002)
    opened = monitor.wait_trace(r'^devices monitor: open with 4 tabs, showing "Call Monitor"$')
    rows = re.match(r"^call page: (\d+) rows$", monitor.traces()[monitor.wait_trace(r"^call page: ")])
    check(int(rows.group(1)) >= len(calls), "the call page lists %s rows" % rows.group(1))
    dialog = find_dialog()
    container = child(dialog, CONTAINER_ID, "the dialog")
    strip = child(container, TAB_STRIP_ID, "the tab container")
    screenshot(dialog, "devices-monitor-calls")
    resizing_follows_and_stops_at_the_template_size(dialog, container)

    # One sample a second of the calls in progress: a flat line at zero until the call comes.
    winctl("keys", strip, VK_RIGHT)
    chart = find_chart(visible_page(container))
    width = rect(chart)[2]
    time.sleep(3)
    page = visible_page(container)
    calls_text = lambda: winctl("text", child(page, CALLS_IN_PROGRESS_ID, "the activity page"))[1]
    check(calls_text() == "Calls in progress: 0", "the idle activity tab says %r" % calls_text())
    idle = trace_rows(screenshot(chart, "devices-monitor-activity-idle", 0), width)
    check(not monitor.has_trace(r"^tray: tip \[incoming call"), "the call came before the idle chart was taken")
    monitor.wait_trace(r"^tray: tip \[incoming call from 815 to 4711\]$", after=opened, timeout=40)
    time.sleep(2)
    busy = trace_rows(screenshot(chart, "devices-monitor-activity", 0), width)
    check(calls_text() == "Calls in progress: 1", "during the call the activity tab says %r" % calls_text())
    check(len(idle) == 1, "the idle chart is not a flat line: rows %s" % sorted(idle))
    check(len(busy) > 5 and idle < busy, "the chart did not rise with the call: rows %s" % sorted(busy))

    winctl("command", dialog, 1)  # OK
    monitor.wait_trace(r"^devices monitor: closed$", after=opened)
    monitor.end()


def empty_device_tabs_say_why(folder):
    for key in MODEM_KEYS:
        wine_reg("delete", key, "/f")
    monitor = Monitor(folder, provider="none").start()
    winctl("command", monitor.frame(), 40001)
    monitor.wait_trace(r"^modem page: 0 nodes$")
    container = child(find_dialog(), CONTAINER_ID, "the dialog")
    strip = child(container, TAB_STRIP_ID, "the tab container")
    for text in ("No COMMON-ISDN-API driver is installed.", "No modems are installed."):
        page = visible_page(container)
        check(text in visible_texts(page), "the tab says %r, not %r" % (visible_texts(page), text))
        check("visible=0" in winctl("info", child(page, TREE_ID, "the page"))[1], "the empty tree is shown")
        winctl("keys", strip, VK_RIGHT)
    texts = visible_texts(visible_page(container))
    check("No calls have been logged yet." in texts, "the empty call page says %r" % texts)
    monitor.end()


LVM_GETITEMCOUNT, LVM_GETHEADER, LVM_GETTOPINDEX, LVM_GETCOUNTPERPAGE = 0x1004, 0x101F, 0x1027, 0x1028
WM_LBUTTONDOWN, WM_LBUTTONUP = 0x201, 0x202
COPY, SELECT_ALL, EXPORT = 40020, 40021, 40022
EXPORT_SELECTED, EXPORT_ALL = 1001, 1002


def list_number(list_window, message):
    code, out = winctl("send", list_window, message, 0, 0)
    check(code == 0, "the call list did not answer message 0x%X" % message)
    return int(out)


def click_header(list_window, x):
    header = list_number(list_window, LVM_GETHEADER)
    for message in (WM_LBUTTONDOWN, WM_LBUTTONUP):
        winctl("post", header, message, 1 if message == WM_LBUTTONDOWN else 0, (8 << 16) | x)


def copied_callers(monitor, page, after, rows=4):
    winctl("command", page, SELECT_ALL)
    winctl("command", page, COPY)
    copied = monitor.wait_trace(r"^call page: %d rows copied$" % rows, after=after)
    code, text = winctl("clipboard")
    check(code == 0, "the clipboard holds no text")
    return copied, [line.split("\t")[1] for line in text.splitlines() if line]


def typed_search_keeps_its_calls(monitor, page, after):
    """Types "0301" into the search box, as the keyboard does, and reads the count and the rows kept; Esc
    clears the search again."""
    search = child(page, CALL_SEARCH_ID, "the call page")
    winctl("keys", search, *(ord(c) for c in "0301"))
    searched = monitor.wait_trace(r"^call page: 1 of 4 rows for the search$", after=after)
    count = winctl("text", child(page, CALL_COUNT_ID, "the call page"))[1]
    check(count == "1 of 4 calls", "the count under the list says %r" % count)
    copied, callers = copied_callers(monitor, page, searched, rows=1)
    check(callers == ["0301555123"], "the search kept %r" % callers)
    winctl("keys", search, VK_ESCAPE)
    return monitor.wait_trace(r"^call page: 4 of 4 rows for the search$", after=copied)


def export_csv(monitor, folder, page, button, rows, after):
    """Exports with one row selected, answers the question with the button, saves; the file's text."""
    csv_path = os.path.join(folder, "exported-%d.csv" % rows)
    winctl("post", page, 0x111, EXPORT, 0)  # WM_COMMAND: the "Export..." button
    code, question = winctl("find", DIALOG_CLASS, 20000, "Telvaro Fax Server Monitor")
    check(code == 0, "no question which calls to export")
    winctl("command", int(question), button)
    check(winctl("save-as", "Export Calls", windows_path(csv_path), 20000)[0] == 0, "the save dialog was not driven")
    exported = monitor.wait_trace(r"^call page: %d rows exported$" % rows, after=after)
    with open(csv_path, encoding="utf-8", newline="") as csv:
        return csv.read(), exported


def user_list_separator(separator):
    """Sets the list separator of the prefix's user (as Region settings do); returns the one it had."""
    code, out = wine_reg("query", INTERNATIONAL, "/v", "sList")
    check(code == 0, "the user's list separator could not be read")
    had = re.search(r"sList\s+REG_SZ\s+(\S*)", out).group(1)
    check(wine_reg("add", INTERNATIONAL, "/v", "sList", "/d", separator, "/f")[0] == 0,
          "the user's list separator could not be set")
    return had


def call_list_is_live_sorted_copied_and_exported(folder):
    """A call that comes while the dialog is open is listed at once, the newest in view; a header click
    sorts (again: the other way), the selected rows reach the clipboard and a CSV file separated by the
    user's list separator (a German user's here), its numbers kept as text."""
    had = user_list_separator(";")
    try:
        copied_and_exported(folder)
    finally:
        user_list_separator(had)


def copied_and_exported(folder):
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
    check(callers == ["", "815", "0171999888", "0301555123"], "copied in the wrong order: %r" % callers)
    click_header(list_window, 100)
    sorted_down = monitor.wait_trace(r"^call page: sorted by column 1 descending$", after=copied)
    copied, callers = copied_callers(monitor, page, sorted_down)
    check(callers == ["0301555123", "0171999888", "815", ""], "not sorted the other way: %r" % callers)

    searched = typed_search_keeps_its_calls(monitor, page, copied)
    check(winctl("text", child(page, CALL_COUNT_ID, "the call page"))[1] == "4 calls", "Esc left the search set")

    # One row selected (the first, as sorted): the user is asked, and that call or all of them are exported.
    first = '\ufeffCall Type;Caller Id;Called MSN;Date;Time;Name\r\nIN;"\t0301555123";"\t4711";2005-03-01;14:05:09;\r\n'
    winctl("keys", list_window, VK_HOME)
    text, exported = export_csv(monitor, folder, page, EXPORT_SELECTED, 1, searched)
    check(text == first, "CSV of the selected call: %r" % text)
    text, exported = export_csv(monitor, folder, page, EXPORT_ALL, 4, exported)
    check(text.startswith(first) and text.endswith('\r\nIN;;"\t4712";2005-03-02;08:00:00;\r\n')
          and text.count("\r\n") == 5 and 'IN;"\t815";"\t4711";' in text, "CSV: %r" % text)
    winctl("command", find_dialog(), 1)  # OK
    # Opened again, the list reads the log beside the exe: the call heard live was written there.
    closed = monitor.wait_trace(r"^devices monitor: closed$", after=live)
    winctl("command", monitor.frame(), 40002)
    monitor.wait_trace(r"^call page: 4 rows$", after=closed)
    winctl("command", find_dialog(), 1)  # OK
    monitor.end()


COLOURS = "HKCU\\Control Panel\\Colors"
HIGH_CONTRAST = "HKCU\\Control Panel\\Accessibility\\HighContrast"
# The system colours of a black high-contrast scheme, as Windows writes them to the user's profile.
BLACK_SCHEME = {"Window": "0 0 0", "WindowText": "255 255 255", "ButtonFace": "0 0 0", "ButtonText": "255 255 255",
                "ButtonShadow": "128 128 128", "ButtonHilight": "255 255 255", "ButtonLight": "192 192 192",
                "ButtonDkShadow": "255 255 255", "Hilight": "26 235 255", "HilightText": "0 0 0",
                "GrayText": "63 242 63", "WindowFrame": "255 255 255", "Menu": "0 0 0", "MenuText": "255 255 255",
                "InfoWindow": "0 0 0", "InfoText": "255 255 255", "HotTrackingColor": "255 255 0"}
HIGH_CONTRAST_ON = "127"  # HCF_HIGHCONTRASTON and the flags Windows sets beside it
# Under a high-contrast theme Windows draws the common controls in the scheme's colours, not with the
# visual style's bitmaps; the prefix's visual style (Wine's "light") is turned off to match.
THEME_MANAGER = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager"


def registry_text(key, name):
    code, out = wine_reg("query", key, "/v", name)
    match = re.search(r"%s\s+REG_SZ\s+(.*)" % re.escape(name), out) if code == 0 else None
    return match.group(1).strip() if match else None


def set_registry_texts(key, values):
    """Sets (a text) or deletes (None) each value; returns the values they had."""
    had = {name: registry_text(key, name) for name in values}
    for name, text in values.items():
        if text is None:
            wine_reg("delete", key, "/v", name, "/f")
        else:
            check(wine_reg("add", key, "/v", name, "/d", text, "/f")[0] == 0, "%s\\%s could not be set" % (key, name))
    return had


def black_share(path):
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True,
                          timeout=30).stdout
    pixels = len(data) // 3
    return sum(1 for i in range(pixels) if data[3 * i:3 * i + 3] == b"\0\0\0") / pixels


def every_tab_in_high_contrast(folder):
    """The user's high-contrast theme, set in the prefix as Windows keeps it (the scheme's colours and the
    setting's flags): every tab is drawn in the system's colours, mostly the scheme's black."""
    had_colours = set_registry_texts(COLOURS, BLACK_SCHEME)
    had_flags = set_registry_texts(HIGH_CONTRAST, {"Flags": HIGH_CONTRAST_ON})
    had_style = set_registry_texts(THEME_MANAGER, {"ThemeActive": "0"})
    try:
        import_sample_modems()
        wine_draws_captions()
        monitor = start_with_two_controllers(folder)
        tray_event(monitor.frame(), WM_LBUTTONDBLCLK)
        monitor.wait_trace(r"^modem page: 16 nodes$")
        dialog = find_dialog()
        container = child(dialog, CONTAINER_ID, "the dialog")
        strip = child(container, TAB_STRIP_ID, "the tab container")
        for name in ("isdn", "modems", "calls", "activity"):
            path = screenshot(dialog, "devices-monitor-%s-high-contrast" % name)
            share = black_share(path)
            check(share > 0.5, "the %s tab is %.0f %% black under the black scheme" % (name, share * 100))
            winctl("keys", strip, VK_RIGHT)
        winctl("command", dialog, 1)  # OK
        monitor.end()
    finally:
        set_registry_texts(COLOURS, had_colours)
        set_registry_texts(HIGH_CONTRAST, had_flags)
        set_registry_texts(THEME_MANAGER, had_style)


if DPI == 96:
    run_scenarios(empty_device_tabs_say_why, tray_opens_one_dialog_and_it_opens_again, call_log_activity_and_resizing,
                  call_list_is_live_sorted_copied_and_exported, every_tab_in_high_contrast)
else:  # every tab once more, at the other scaling
    run_scenarios(tray_opens_one_dialog_and_it_opens_again, call_log_activity_and_resizing)
