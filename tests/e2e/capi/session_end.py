"""Windows ending the session: the query is answered at once with consent, WM_ENDSESSION releases the
COMMON-ISDN-API registration exactly once before it returns, and the program then ends by itself."""
import time

from capi_record import write_scenario
from harness import Monitor, check, run_scenarios, winctl

WM_QUERYENDSESSION = 0x0011
WM_ENDSESSION = 0x0016
APPL_ID = 5


def send_timed(frame, message, wparam):
    """Sends a message to the frame; returns (result, milliseconds the frame took to answer). The send
    fails, and with it the check, when the frame takes more than winctl's 5 s limit."""
    code, out = winctl("send-timed", frame, message, wparam, 0)
    check(code == 0, "sending message 0x%x failed" % message)
    result, elapsed = out.split()
    return int(result), int(elapsed)


def still_polling(record):
    before = record.count("CAPI_GET_MESSAGE")
    time.sleep(0.5)
    return record.count("CAPI_GET_MESSAGE") > before


def session_end_releases_once(folder):
    env, record = write_scenario(folder, "controllers 1\nregister 0 %d\n" % APPL_ID)
    monitor = Monitor(folder, provider="scripted", env=env).start()
    monitor.wait_trace(r"^capi: LISTEN_REQ sent to 1 controllers$")
    frame = monitor.frame()

    result, elapsed = send_timed(frame, WM_QUERYENDSESSION, 0)
    check(result == 1, "WM_QUERYENDSESSION answered %d, not consent" % result)
    check(elapsed < 500, "WM_QUERYENDSESSION took %d ms" % elapsed)
    # Another program may still veto the end: WM_ENDSESSION with wParam 0 says the session goes on.
    send_timed(frame, WM_ENDSESSION, 0)
    check(record.count("CAPI_RELEASE") == 0, "the registration was released although the session goes on")
    check(still_polling(record), "the monitor stopped polling although the session goes on")

    send_timed(frame, WM_ENDSESSION, 1)
    released = record.count("CAPI_RELEASE %d -> 0x0" % APPL_ID)
    check(released == 1, "%d releases when WM_ENDSESSION returned: %s" % (released, record.lines()))
    # Measured from the handler's own trace: Wine's removal of a notification icon alone takes about
    # two seconds, which the send's total time would count.
    start = monitor.wait_trace(r"^session end$")
    release = monitor.wait_trace(r"^Release Capi AppID\. %d$" % APPL_ID, after=start)
    seconds = monitor.seconds_between(start, release)
    check(seconds < 2, "the release came %.2f s after the session end began" % seconds)
    check(release < monitor.wait_trace(r"^tray: removed$", after=start), "the icon went before the release")

    # Windows does not always end the process (Wine never does): it closes itself, without a second release.
    check(monitor.wait_exit(10) == 0, "the monitor did not end by itself after the session end")
    check(record.count("CAPI_RELEASE") == 1, "the registration was released again at exit: %s" % record.lines())


run_scenarios(session_end_releases_once)
