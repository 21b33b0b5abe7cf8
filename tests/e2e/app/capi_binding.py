"""How start-up reacts to the COMMON-ISDN-API provider it finds beside the exe or in the system."""
from harness import WM_CLOSE, Monitor, check, run_scenarios, winctl


def expect_fax_service_workers_only(monitor):
    """The fax service is watched without a driver: poller and listener run, the ISDN monitor does not."""
    monitor.wait_trace(r"^worker poller: started$")
    monitor.wait_trace(r"^worker listener: started$")
    check(not monitor.has_trace(r"^worker isdn-monitor"), "the ISDN monitor was started without a driver")


def expect_missing_driver_message(monitor):
    code, box = winctl("msgbox", 20000)
    check(code == 0, "no message box appeared")
    check(box == "Telvaro Fax Server Monitor|No CAPI drivers Installed", "unexpected message box: " + box)
    monitor.wait_trace(r"^tray: icon 153$")
    # The box waits for the user; monitoring does not.
    check(monitor.wait_trace(r"^worker poller: started$") < monitor.wait_trace(r"^notice: No CAPI drivers Installed$"),
          "the workers started only after the box")
    expect_fax_service_workers_only(monitor)


def library_missing_shows_message(folder):
    monitor = Monitor(folder, provider="none").start()
    expect_missing_driver_message(monitor)
    monitor.end(WM_CLOSE)


def eight_entry_points_show_message(folder):
    monitor = Monitor(folder, provider="eight").start()
    expect_missing_driver_message(monitor)
    check(monitor.has_trace(r"^capi: entry point CAPI_GET_SERIAL_NUMBER missing"), "missing entry point not traced")
    monitor.end(WM_CLOSE)


def provider_without_driver_is_silent(folder):
    # Wine's own capi2032.dll reports "not installed" when no ISDN controller is present.
    monitor = Monitor(folder, provider="wine").start()
    monitor.wait_trace(r"^capi: no driver installed")
    code, _ = winctl("no-msgbox", 3000)
    check(code == 0, "a message box appeared although the library loaded")
    expect_fax_service_workers_only(monitor)
    monitor.end(WM_CLOSE)


run_scenarios(library_missing_shows_message, eight_entry_points_show_message, provider_without_driver_is_silent)
