"""A fax service that stops and starts again while the monitor runs: the poller sees both changes in its
30 s cycles, reconnects the channel, and the listener, still waiting, shows the new server's texts."""
from harness import Monitor, check, run_scenarios
from simulator import Simulator, remove_service

CYCLE_TIMEOUT = 45  # one 30 s poll and Wine's slack


def texts_flow_again_after_service_restart(folder):
    first = Simulator(folder, "first", "post Fax received from 4711\npause 1000\nrepeat\n").start()
    try:
        monitor = Monitor(folder).start()
        poller = monitor.wait_trace(r"^worker poller: started$")
        running = monitor.wait_trace(r"^tray: icon 147$", after=poller)
        monitor.wait_trace(r"^tray: tip \[ Fax received from 4711 \]$", after=running)
        first.wait_line("acknowledged Fax received from 4711")

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

        monitor.end(timeout=15)
    finally:
        remove_service()


run_scenarios(texts_flow_again_after_service_restart)
