"""The console's Modbus line against a hostile peer on 127.0.0.1: a Modbus TCP server that answers
the read on connection correctly and then the first poll with one fault. Whatever the fault, the
poll's job answers "FAILED" (the view then drops the connection) or the line reports its loss,
before the script's bound is up, and a release asked while that poll is in flight completes.

usage: /usr/bin/python3 hostile_line_test.py BIN_DIR CASE"""
import json
import socket
import struct
import sys
import threading
import time

import line_test as line
from register_image import registers

# The bad reply comes this long after its request, so that the script's release finds the poll in
# flight; a fault that fails by the checks fails then, long before the response timeout.
HOLD = 1.5
CHECKED_TIMEOUT_MS = 10_000
# Faults only the response timeout can end.
TIMED_TIMEOUT_MS = 800


class HostilePeer:
    """Answers every request of any connection correctly until `good` requests are answered, then
    each one (each write, with `writes_only`) as `fault` says. Each connection's requests are
    served in order."""

    def __init__(self, fault, good=1, overrides=None, writes_only=False):
        with open(line.DESCRIPTION, encoding="utf-8") as f:
            self.tables = registers(json.load(f), overrides or {})
        self.fault, self.good, self.writes_only = fault, good, writes_only
        self.requests = 0
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.port = self.listener.getsockname()[1]
        self.stopped = threading.Event()
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while not self.stopped.is_set():
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return
            threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

    def _serve(self, conn):
        buffer = b""
        with conn:
            while not self.stopped.is_set():
                try:
                    data = conn.recv(4096)
                except OSError:
                    return
                if not data:
                    return
                buffer += data
                while len(buffer) >= 7:
                    size = 6 + struct.unpack(">H", buffer[4:6])[0]
                    if len(buffer) < size:
                        break
                    request, buffer = buffer[:size], buffer[size:]
                    self.requests += 1
                    reply = self.answer(request)
                    try:
                        if self.requests <= self.good or (self.writes_only and request[7] not in (6, 16)):
                            conn.sendall(reply)
                        elif not self.spoil(conn, reply):
                            return
                    except OSError:
                        return  # the line gave up on the reply

    def answer(self, request):
        tid, _, _, unit, function = struct.unpack(">HHHBB", request[:8])
        start, count = struct.unpack(">HH", request[8:12])
        if function in (3, 4):
            table = self.tables["holding" if function == 3 else "input"]
            values = [table.get(a, 0) for a in range(start, start + count)]
            pdu = struct.pack(">BB", function, 2 * count) + struct.pack(f">{count}H", *values)
        else:
            pdu = request[7:12]  # a write's echo: function, address, value or count
        return struct.pack(">HHHB", tid, 0, len(pdu) + 1, unit) + pdu

    def spoil(self, conn, reply):
        """Sends the fault's reply; False when the connection is to end."""
        tid, _, _, unit, function = struct.unpack(">HHHBB", reply[:8])
        time.sleep(HOLD)
        if self.fault == "transaction":
            conn.sendall(struct.pack(">H", (tid + 1) & 0xFFFF) + reply[2:])
        elif self.fault == "unit":
            conn.sendall(reply[:6] + bytes([unit + 1]) + reply[7:])
        elif self.fault == "protocol":
            conn.sendall(reply[:2] + b"\x00\x01" + reply[4:])
        elif self.fault == "function":
            conn.sendall(reply[:7] + bytes([4 if function == 3 else 3]) + reply[8:])
        elif self.fault == "byte_count":
            conn.sendall(reply[:8] + bytes([reply[8] - 2]) + reply[9:])
        elif self.fault == "length_zero":
            conn.sendall(reply[:4] + b"\x00\x00" + reply[6:])
        elif self.fault == "length_huge":
            conn.sendall(reply[:4] + b"\xff\xff" + reply[6:] + bytes(600))
        elif self.fault == "oversize":
            body = reply[7:] + bytes(300 - len(reply[7:]))
            conn.sendall(reply[:4] + struct.pack(">H", len(body) + 1) + bytes([unit]) + body)
        elif self.fault == "exception":
            conn.sendall(struct.pack(">HHHBBB", tid, 0, 3, unit, function | 0x80, 4))
        elif self.fault == "truncated":
            conn.sendall(reply[:-3])
        elif self.fault == "late":
            time.sleep(TIMED_TIMEOUT_MS / 1000)
            conn.sendall(reply)
        elif self.fault == "trickle":
            for b in reply:
                conn.sendall(bytes([b]))
                time.sleep(0.15)
        elif self.fault == "flood":
            # Stale copies of the answer as fast as the line takes them, until it goes away.
            stale = struct.pack(">H", (tid - 1) & 0xFFFF) + reply[2:]
            conn.settimeout(5)
            try:
                while not self.stopped.is_set():
                    conn.sendall(stale * 64)
            except OSError:
                pass
            return False
        elif self.fault == "close":
            return False
        elif self.fault == "value":
            conn.sendall(reply)
        else:
            raise AssertionError(f"no fault {self.fault}")
        return True

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stopped.set()
        self.listener.close()


def script(port, timeout_ms, bound_ms, extra=""):
    """The view connects and reads once (answered correctly), polls every 100 ms with the first poll
    going wrong, and is released while that poll is in flight; the script ends `bound_ms` later."""
    return f"""line modbus 127.0.0.1:{port} timeout={timeout_ms}
registry PollCycle dword:100
{extra}trace reads on
create
init device
register-callback
set-toolbar
wait 700
expect jobs 1
release
wait {bound_ms}
"""


def run(fault, timeout_ms, bound_ms, lost="connection DISCONNECTED", extra="", overrides=None, good=1):
    with HostilePeer(fault, good=good, overrides=overrides) as peer:
        out = line.console(script(peer.port, timeout_ms, bound_ms, extra))
    reads = [l for l in out if l.startswith("read ")]
    connections = [l for l in out if l.startswith("connection ")]
    assert "ok jobs" in out, out  # the release found the bad poll in flight
    assert len(reads) == good, "the bad reply was taken as an answer:\n" + "\n".join(out)
    assert connections == ["connection CONNECTED", lost], "\n".join(out)
    assert out.count("released") == 1, "the release did not complete in time:\n" + "\n".join(out)
    return out


def checked(fault):
    """A fault the reply's checks catch: the job fails when the reply comes, within a bound far
    below the response timeout."""
    return lambda: run(fault, CHECKED_TIMEOUT_MS, 2500)


def timed(fault):
    """A fault that leaves the reply unfinished: the job fails at the response timeout, which
    holds for the whole reply however its bytes come."""
    return lambda: run(fault, TIMED_TIMEOUT_MS, 2000)


CASES = {f: checked(f) for f in ["transaction", "unit", "protocol", "function", "byte_count", "length_zero",
                                  "length_huge", "oversize", "exception", "flood"]}
CASES.update({f: timed(f) for f in ["truncated", "late", "trickle"]})


def case_close():
    run("close", CHECKED_TIMEOUT_MS, 2500, lost="connection DISCONNECTED ABORT")


def case_value():
    # A flow the model refuses: the read fails and the log says what the device sent.
    for raw in (0xFFFF, 0x8000):
        out = run("value", CHECKED_TIMEOUT_MS, 2500, extra="registry Debug dword:1\ntrace debug on\n",
                  overrides={"PROINFLOW_RAW": raw}, good=0)
        assert any(l.startswith("debug ") and f"PROINFLOW_RAW: holding register 0 = 0x{raw:04X} ({raw})" in l
                   for l in out), out
    # Nor do the values that came with it reach the model (the view reads DELTAFLOW_RAW first).
    with HostilePeer("value", good=0, overrides={"PROINFLOW_RAW": 0xFFFF, "DELTAFLOW_RAW": 77}) as peer:
        out = line.console(f"""line modbus 127.0.0.1:{peer.port} timeout={CHECKED_TIMEOUT_MS}
create
init device
register-callback
set-toolbar
show param DELTAFLOW_RAW
wait 3000
expect connected false
show param DELTAFLOW_RAW
""")
    shown = [l for l in out if l.startswith("param")]
    assert "ok connected" in out and len(shown) == 2 and shown[0] == shown[1], out


def case_write_trickle():
    # A write confirmed a byte at a time: the job fails at the timeout, not when the last byte is in.
    with HostilePeer("trickle", writes_only=True) as peer:
        out = line.console(f"""line modbus 127.0.0.1:{peer.port} timeout={TIMED_TIMEOUT_MS}
registry PollCycle dword:100
create
init device
register-callback
set-toolbar
wait 300
slide mSliderTP 75
click ComSetPara
wait 450
expect jobs 1
release
wait 2000
""")
    assert "ok jobs" in out and not any(l.startswith("write") for l in out), out
    assert [l for l in out if l.startswith("connection")] == ["connection CONNECTED", "connection DISCONNECTED"], out
    assert out.count("released") == 1, out


CASES.update({"close": case_close, "value": case_value, "write_trickle": case_write_trickle})


def case_unreachable():
    # A device that takes no connection: the console ends with its script, not at the connect
    # timeout. The listener's queue is full, so the console's connection attempt hangs unanswered.
    with socket.create_server(("127.0.0.1", 0), backlog=0) as full:
        port = full.getsockname()[1]
        fillers = []
        try:
            for _ in range(8):
                s = socket.socket()
                s.setblocking(False)
                s.connect_ex(("127.0.0.1", port))
                fillers.append(s)
            out = line.console(f"line modbus 127.0.0.1:{port} connect-timeout=600000\ncreate\ninit device\n"
                               "register-callback\nset-toolbar\nwait 300\n", timeout=20)
            assert not any(l.startswith("connection") for l in out), out
        finally:
            for s in fillers:
                s.close()


CASES["unreachable"] = case_unreachable

if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in CASES:
        sys.exit(f"usage: hostile_line_test.py BIN_DIR {{{','.join(CASES)}}}")
    CASES[sys.argv[2]]()
    print("passed", sys.argv[2])
