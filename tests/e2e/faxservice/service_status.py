"""No fax service: the stopped icon in the tray, and how fast the workers end when the poller sleeps and
the listener waits (the running service and its texts are service_restart.py's)."""
import re
import time

from harness import EXIT_COMMAND, WM_COMMAND, Monitor, check, run_scenarios, wait_until, winctl
from simulator import remove_service

ENDED_BY_THEMSELVES = {"isdn-monitor": 0, "listener": 0, "poller": 0}
# What the end of the program may take once the workers are told to stop: their wake-up, the
# registration's release, and Wine ending the process. (Removing the icon comes before.)
SHUTDOWN_LIMIT_S = 1.0


def worker_exit_codes(monitor):
    codes = {}
    for line in monitor.traces():
        match = re.match(r"^worker (\S+): stopped, exit code (\d+)$", line)
        if match:
            codes[match.group(1)] = int(match.group(2))
    return codes


def exit_and_time_shutdown(monitor):
    """Chooses Exit; returns the seconds from the workers' stop to the end of the process."""
    winctl("post", monitor.frame(), WM_COMMAND, EXIT_COMMAND, 0)
    wait_until(lambda: monitor.has_trace(r"^workers: stopping$"), "Exit did not stop the workers", 10, 0.02)
    stopping = time.time()
    wait_until(lambda: not monitor.running(), "the monitor did not end after stopping its workers", 20, 0.02)
    return time.time() - stopping


def stopped_icon_without_service_and_quick_exit(folder):
    remove_service()
    monitor = Monitor(folder).start()
    poller = monitor.wait_trace(r"^worker poller: started$")
    monitor.wait_trace(r"^Open service failed with error :1060$", after=poller)
    monitor.wait_trace(r"^tray: icon 153$", after=poller)
    monitor.wait_trace(r"^tray: tip \[Telvaro Fax Stopped\]$", after=poller)
    check(not monitor.has_trace(r"^tray: icon 147$"), "the running icon showed without a service")

    # The poller now sleeps its 30 s and the listener waits on the server event: the stop wakes both.
    seconds = exit_and_time_shutdown(monitor)
    print("shutdown took %.2f s after the workers were told to stop" % seconds)
    check(monitor.process.returncode == 0, "exit code after Exit is not 0")
    codes = worker_exit_codes(monitor)
    check(codes == ENDED_BY_THEMSELVES, "unexpected worker exit codes: %s" % codes)
    check(seconds < SHUTDOWN_LIMIT_S, "shutdown took %.2f s, more than %.2f s" % (seconds, SHUTDOWN_LIMIT_S))


run_scenarios(stopped_icon_without_service_and_quick_exit)
