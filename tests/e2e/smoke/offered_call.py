"""One offered call through the scripted provider: the tooltip names it, ISDNCall.log gets its line,
the monitor sends no answer to it and releases its registration at exit. Run on the 64-bit exe here and
on the 32-bit one by tools/ci/wine32."""
import os
import re

from capi_record import CONNECT, DISCONNECT, RESP, of_kind, write_scenario
from harness import WM_CLOSE, Monitor, check, run_scenarios, wait_until

SCENARIO = """controllers 1
connect_ind    plci=0x101 called=4711 calling=0815123 after=300ms
disconnect_ind plci=0x101 reason=0x3490                after=300ms
"""


def call_is_shown_and_logged(folder):
    env, record = write_scenario(folder, SCENARIO)
    monitor = Monitor(folder, provider="scripted", env=env).start()
    monitor.wait_trace(r"^tray: tip \[incoming call from 0815123 to 4711\]$")
    wait_until(lambda: of_kind(record.put(), DISCONNECT, RESP), "the DISCONNECT_IND was not answered", 10)
    check(len(of_kind(record.put(), DISCONNECT, RESP)) == 1, "the DISCONNECT_IND was not answered once")
    with open(os.path.join(folder, "ISDNCall.log")) as log:
        lines = log.read().splitlines()
    check(len(lines) == 1 and re.fullmatch(r"IN 4711 0815123 \d{4}-\d\d-\d\d \d\d:\d\d:\d\d", lines[0]),
          "call log: %r" % lines)
    check(not of_kind(record.put(), CONNECT, RESP), "the monitor answered the offered call")
    monitor.end(WM_CLOSE, timeout=15)
    check(record.releases() == ["CAPI_RELEASE 1 -> 0x0"], "release: %r" % record.releases())


run_scenarios(call_is_shown_and_logged)
