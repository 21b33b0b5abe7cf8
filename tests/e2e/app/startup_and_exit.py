"""Start-up, the single-instance guard and the two ways to end the program, with the real exe."""
from harness import WM_CLOSE, Monitor, check, run_scenarios, winctl


def starts_hidden_with_stopped_icon(folder):
    monitor = Monitor(folder).start()
    install = monitor.wait_trace(r"^tray: install id=128 tip=\[Telvaro Fax Server Monitor\] added$")
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


run_scenarios(starts_hidden_with_stopped_icon, second_copy_exits_at_once)
