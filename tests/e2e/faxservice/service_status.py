"""The fax service's state in the tray and the server's texts in the tooltip, with the real exe and the
simulator service; and that the workers end at once when told to, however busy."""
import re
import time

from harness import EXIT_COMMAND, WM_CLOSE, WM_COMMAND, Monitor, check, run_scenarios, wait_until, winctl
from simulator import Simulator, remove_service

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


def running_service_shows_server_texts(folder):
    # The server starts before the monitor, as at boot: it creates the channel's objects and the
    # monitor opens them. Its texts repeat, so that some surely follow the poller's first cycle.
    server = Simulator(folder, "server", "post Fax received from 4711\npause 500\n"
                                         "post Cover page 100% %s%n%x\npause 500\nrepeat\n").start()
    try:
        monitor = Monitor(folder).start()
        poller = monitor.wait_trace(r"^worker poller: started$")
        icon = monitor.wait_trace(r"^tray: icon 147$", after=poller)
        running = monitor.wait_trace(r"^tray: tip \[Telvaro Fax Server Running\]$", after=icon)
        check(not monitor.has_trace(r"^Open service failed"), "the probe did not find the service")
        monitor.wait_trace(r"^tray: tip \[ Fax received from 4711 \]$", after=running)
        monitor.wait_trace(r"^tray: tip \[ Cover page 100% %s%n%x \]$", after=running)
        server.wait_line("acknowledged Fax received from 4711")
        server.wait_line("acknowledged Cover page 100% %s%n%x")
        check(not [line for line in server.lines() if line.startswith(("error", "rejected", "unacknowledged"))],
              "the simulator logged a failure:\n  " + "\n  ".join(server.lines()))
        # Everything running, the Devices Monitor open: the close ends the dialog, removes the icon (Wine
        # alone takes about 2 s for that) and stops every worker without terminating one.
        frame = monitor.frame()
        winctl("command", frame, 40001)
        monitor.wait_trace(r"^command: devices monitor \(dialog closed\)$")
        winctl("post", frame, WM_CLOSE, 0, 0)
        check(monitor.wait_exit(15) == 0, "the monitor did not end cleanly")
        closing = monitor.wait_trace(r"^frame: closing after the dialog$")
        print("exit with the service and the dialog took %.2f s"
              % monitor.seconds_between(closing, monitor.wait_trace(r"^exit$", after=closing)))
        check(monitor.has_trace(r"^tray: removed$"), "the icon was not removed")
        codes = worker_exit_codes(monitor)
        check(codes == ENDED_BY_THEMSELVES, "unexpected worker exit codes: %s" % codes)
    finally:
        remove_service()


run_scenarios(stopped_icon_without_service_and_quick_exit, running_service_shows_server_texts)
