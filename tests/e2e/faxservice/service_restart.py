"""The fax service with the real exe and the simulator service, on a machine without an ISDN driver (a
fax server with modems only). The server starts before the monitor, as at boot: it creates the channel's
objects and the monitor opens them, and its texts reach the tooltip while start-up's box still waits for
the user. Then the service stops and starts again while the monitor runs: the poller sees both changes in
its 30 s cycles, reconnects the channel, and the listener, still waiting, shows the new server's texts.
Each change the poller sees becomes an event-log record. A server whose objects come late (a foreign
object sat on the mapping's name) is connected in the first poller cycle after they exist."""
from harness import EVENT_LOG_DEBUG, WM_CLOSE, Monitor, check, hold_mutex, run_scenarios, winctl
from simulator import Simulator, remove_service

CYCLE_TIMEOUT = 45  # one 30 s poll and Wine's slack
MAP = "Global\\TelvaroFaxServerMAP_TelvaroFaxServer"


def texts_flow_again_after_service_restart(folder):
    # The texts repeat, so that some surely follow the poller's first cycle.
    first = Simulator(folder, "first", "post Fax received from 4711\npause 500\n"
                                       "post Cover page 100% %s%n%x\npause 500\nrepeat\n").start()
    try:
        monitor = Monitor(folder, provider="none", env=EVENT_LOG_DEBUG).start()
        poller = monitor.wait_trace(r"^worker poller: started$")
        running = monitor.wait_trace(r"^tray: icon 147$", after=poller)
        running = monitor.wait_trace(r"^tray: tip \[Telvaro Fax Server Running\]$", after=running)
        check(not monitor.has_trace(r"^Open service failed"), "the probe did not find the service")
        monitor.wait_trace(r"^tray: tip \[ Fax received from 4711 \]$", after=running)
        monitor.wait_trace(r"^tray: tip \[ Cover page 100% %s%n%x \]$", after=running)
        # All that while the box about the missing driver has been waiting for an answer.
        code, box = winctl("msgbox", 5000)
        check(code == 0 and box.endswith("|No CAPI drivers Installed"), "the start-up box is not shown: %s" % box)
        first.wait_line("acknowledged Fax received from 4711")
        first.wait_line("acknowledged Cover page 100% %s%n%x")
        check(not [line for line in first.lines() if line.startswith(("error", "rejected", "unacknowledged"))],
              "the simulator logged a failure:\n  " + "\n  ".join(first.lines()))

        first.stop()
        first.wait_line("stopped")
        stopped = monitor.wait_trace(r"^tray: icon 153$", after=running, timeout=CYCLE_TIMEOUT)
        stopped = monitor.wait_trace(r"^tray: tip \[Telvaro Fax Stopped\]$", after=stopped)

        # The monitor runs all along, so the new server opens the objects the monitor still holds.
        second = Simulator(folder, "second", "post Sending fax to 0815 ...\npause 1000\nrepeat\n").start()
        again = monitor.wait_trace(r"^tray: icon 147$", after=stopped, timeout=CYCLE_TIMEOUT)
        again = monitor.wait_trace(r"^tray: tip \[Telvaro Fax Server Running\]$", after=again)
        connected = monitor.wait_trace(r"^poller: channel connected$", after=again)
        monitor.wait_trace(r"^tray: tip \[ Sending fax to 0815 \.\.\. \]$", after=connected)
        second.wait_line("acknowledged Sending fax to 0815 ...")
        check(not monitor.has_trace(r"^worker listener: stopped"), "the listener ended while the service was away")
        monitor.wait_trace(r"^ReportEvent information \[The fax service TelvaroFaxService is running\.\]$", after=again)
        records = [line for line in monitor.traces() if line.startswith("ReportEvent ")]
        check(records == ["ReportEvent %s [The fax service TelvaroFaxService %s.]" % change for change in
                          (("information", "is running"), ("warning", "has stopped"), ("information", "is running"))],
              "event records: %r" % records)

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
        check(not monitor.has_trace(r"^worker \S+: stopped, exit code 170$"), "a worker was terminated")
    finally:
        remove_service()


def channel_comes_up_when_the_server_makes_it(folder):
    # A foreign object on the mapping's name: neither the server nor the monitor can make the channel.
    squatter = hold_mutex(MAP, 8000)
    late = Simulator(folder, "late", "post Objects made at last\npause 500\nrepeat\n").start()
    try:
        late.wait_line("error mapping 6")
        monitor = Monitor(folder).start()
        code, box = winctl("msgbox", 20000)
        check(code == 0 and box.endswith("|Can Not connect to telvarofax service"), "unexpected box: %s" % box)
        first = monitor.wait_trace(r"^poller: channel not connected$")
        check(not monitor.has_trace(r"^tray: tip \[ "), "a server text before the channel was there")
        squatter.wait()
        late.wait_line("opened")
        connected = monitor.wait_trace(r"^poller: channel connected$", after=first, timeout=CYCLE_TIMEOUT)
        monitor.wait_trace(r"^tray: tip \[ Objects made at last \]$", after=connected)
        monitor.end()
    finally:
        squatter.kill()
        remove_service()


run_scenarios(texts_flow_again_after_service_restart, channel_comes_up_when_the_server_makes_it)
