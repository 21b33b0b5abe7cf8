"""The fax server simulator as the Wine service "TelvaroFaxService", driven through tools/faxsim/faxsim-service."""
import os
import subprocess

from harness import BUILD, PREFIX, SOURCE, check, wait_until

SERVICE_SCRIPT = os.path.join(SOURCE, "tools", "faxsim", "faxsim-service")
FAXSIM = os.path.join(BUILD, "tools", "faxsim", "faxsim.exe")
RUNNING = "4"
STOPPED = "1"


def service(*args, timeout=90):
    """Runs faxsim-service on the test prefix; returns its stdout, fails the scenario when it fails."""
    result = subprocess.run([SERVICE_SCRIPT, "--prefix", PREFIX, "--exe", FAXSIM, *args], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True, timeout=timeout)
    check(result.returncode == 0, "faxsim-service %s failed: %s" % (" ".join(args), result.stderr.strip()))
    return result.stdout.strip()


class Simulator:
    """One registration of the simulator service with a script and a log in the scenario's folder."""

    def __init__(self, folder, name, script):
        self.script = os.path.join(folder, name + ".script")
        self.log = os.path.join(folder, name + ".log")
        with open(self.script, "w") as out:
            out.write(script)
        service("install", self.script, self.log)

    def start(self):
        service("start")
        return self

    def stop(self):
        service("stop")

    def lines(self):
        try:
            with open(self.log, newline="") as log:
                return [line.rstrip("\r\n") for line in log]
        except FileNotFoundError:
            return []

    def wait_line(self, line, timeout=20):
        wait_until(lambda: line in self.lines(), "the simulator's log has no line %r" % line, timeout)


def remove_service():
    service("delete")
