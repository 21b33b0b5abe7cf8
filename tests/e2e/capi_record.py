"""Reads the scripted provider's record (TFM_CAPI_RECORD): what the monitor put and fetched."""
import os
import re

_PUT = re.compile(r"^CAPI_PUT_MESSAGE \d+ ([0-9a-f]+) -> 0x0$")
_GET = re.compile(r"^CAPI_GET_MESSAGE \d+ -> 0 ([0-9a-f]+)$")

CONNECT_IND = (0x02, 0x82)
CONNECT_RESP = (0x02, 0x83)
DISCONNECT_IND = (0x04, 0x82)
DISCONNECT_RESP = (0x04, 0x83)


def windows_path(path):
    """The Z: path under which Wine sees a Linux path."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def _lines(path):
    if not os.path.exists(path):
        return []
    with open(path, errors="replace") as record:
        return record.read().splitlines()


def _messages(path, pattern, kinds):
    out = []
    for line in _lines(path):
        match = pattern.match(line)
        if match:
            data = bytes.fromhex(match.group(1))
            if len(data) >= 12 and (data[4], data[5]) in kinds:
                out.append(data)
    return out


def kind(message):
    return message[4], message[5]


def puts(path, *kinds):
    """Messages of the given (command, subcommand) kinds the provider accepted from the monitor, in order."""
    return _messages(path, _PUT, kinds)


def delivered(path, *kinds):
    """Messages of the given kinds the monitor fetched, in order."""
    return _messages(path, _GET, kinds)


def address(message):
    return int.from_bytes(message[8:12], "little")


def releases(path):
    return [line for line in _lines(path) if line.startswith("CAPI_RELEASE ")]
