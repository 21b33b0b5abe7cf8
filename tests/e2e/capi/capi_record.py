"""Reads what the scripted COMMON-ISDN-API provider recorded, and writes its scenario files.

The provider appends one line per call to the file named by TFM_CAPI_RECORD, with the bytes of every
message it was given or delivered as hex:
  CAPI_PUT_MESSAGE <applId> <hex> -> 0x<result>
  CAPI_GET_MESSAGE <applId> -> 0 <hex>
"""
import os
import struct

REQ, CONF, IND, RESP = 0x80, 0x81, 0x82, 0x83
CONNECT, DISCONNECT, LISTEN = 0x02, 0x04, 0x05


def windows_path(path):
    """Wine maps the Linux root to drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Message:
    """One wire message: the 8-byte header and the parameter bytes behind it."""

    def __init__(self, data):
        self.data = data
        self.length, self.appl_id, self.command, self.subcommand, self.number = struct.unpack_from("<HHBBH", data)
        self.params = data[8:]

    def is_(self, command, subcommand):
        return self.command == command and self.subcommand == subcommand

    def address(self):
        """Controller, PLCI or NCCI: the first parameter of every message."""
        return struct.unpack_from("<I", self.params)[0]

    def __repr__(self):
        return "Message(%s)" % self.data.hex()


class Record:
    def __init__(self, path):
        self.path = path

    def lines(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path, "r", errors="replace") as f:
            return [line.rstrip("\n") for line in f]

    def count(self, prefix):
        return sum(1 for line in self.lines() if line.startswith(prefix))

    def index(self, prefix):
        """Index of the first line that starts with prefix, or -1."""
        return next((i for i, line in enumerate(self.lines()) if line.startswith(prefix)), -1)

    def put(self):
        """Messages the monitor handed to CAPI_PUT_MESSAGE, in order."""
        return [Message(bytes.fromhex(line.split()[2])) for line in self.lines()
                if line.startswith("CAPI_PUT_MESSAGE ")]

    def delivered(self):
        """Messages the provider delivered through CAPI_GET_MESSAGE, in order."""
        return [Message(bytes.fromhex(line.split()[4])) for line in self.lines()
                if line.startswith("CAPI_GET_MESSAGE ") and line.split()[3] == "0"]


def write_scenario(folder, text):
    """Writes a scenario file into folder; returns the environment that makes the provider play it."""
    path = os.path.join(folder, "line.scenario")
    with open(path, "w") as f:
        f.write(text)
    record = os.path.join(folder, "capi.record")
    env = {"TFM_CAPI_SCENARIO": windows_path(path), "TFM_CAPI_RECORD": windows_path(record)}
    return env, Record(record)
