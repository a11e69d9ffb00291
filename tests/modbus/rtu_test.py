"""The serial line end to end on pseudo-terminals this test makes: the console's `line rtu` on one
terminal, qxflow-sim --listen-rtu or a pymodbus serial server on another, and this test between
the two, passing the bytes on, or closing the console's end as a pulled adapter would. Each case
runs a console script on the simulated line and on the serial line and compares what the view
did, as line_test.py does for TCP.

usage: /usr/bin/python3 rtu_test.py BIN_DIR CASE"""
import os
import select
import subprocess
import sys
import tempfile
import threading
import tty

import line_test
from line_test import FAULT_SETUP, QUICK_2_CODES, SETUP, TEACH_IN, Server, check_same, console, on_simulator

BIN = line_test.BIN


class Wire:
    """Two pseudo-terminals joined: `device` is the far end's terminal, `port` the console's. The
    bytes pass both ways until the wire is cut; cutting closes the console's side (a hang-up)."""

    def __init__(self):
        self.masters, self.slaves, self.paths = [], [], []
        for _ in range(2):
            master, slave = os.openpty()
            tty.setraw(slave)
            self.masters.append(master)
            self.slaves.append(slave)
            self.paths.append(os.ttyname(slave))
        self.device, self.port = self.paths
        self.cut_now = threading.Event()
        self.stopped = threading.Event()
        self.thread = threading.Thread(target=self._pass, daemon=True)
        self.thread.start()

    def _pass(self):
        far = {self.masters[0]: self.masters[1], self.masters[1]: self.masters[0]}
        while not self.stopped.is_set() and not self.cut_now.is_set():
            ready, _, _ = select.select(list(far), [], [], 0.05)
            for fd in ready:
                try:
                    data = os.read(fd, 4096)
                except OSError:
                    continue
                if data:
                    os.write(far[fd], data)
        if self.cut_now.is_set():
            os.close(self.masters[1])
            os.close(self.slaves[1])
            self.masters[1] = self.slaves[1] = -1

    def cut(self):
        self.cut_now.set()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stopped.set()
        self.thread.join(timeout=5)
        for fd in self.masters + self.slaves:
            if fd >= 0:
                os.close(fd)


def qxflow_sim(wire, *commands):
    argv = [os.path.join(BIN, "qxflow-sim"), "--listen-rtu", wire.device, "baud=19200", "parity=E"]
    for c in commands:
        argv += ["-c", c]
    server = Server(argv)
    server.wait_for("listening rtu")
    return server


def on_rtu(script, wire, line_options="", on_start=None, parity="E"):
    kept = [l for l in script.splitlines() if not l.startswith("sim ")]
    return console(f"line rtu {wire.port} baud=19200 parity={parity} {line_options}\n" + "\n".join(kept) +
                   "\n", on_start=on_start)


def case_teach_in_qxflow_sim():
    simulated = on_simulator(TEACH_IN)
    with Wire() as wire:
        server = qxflow_sim(wire, "flow 300")
        with server:
            # The flow changes on the device's clock from the console's first request on.
            serial = on_rtu(TEACH_IN, wire, on_start=lambda: (server.wait_for("client connected"),
                                                                server.send("at 1000 flow 780"),
                                                                server.send("at 5500 flow 240")))
            device_writes = [l for l in server.drain() if l.startswith("write")]
    check_same(simulated, serial)
    assert device_writes == [f'write QUICK_2="{c}"' for c in QUICK_2_CODES], device_writes


def case_teach_in_pymodbus():
    simulated = [l for l in on_simulator(TEACH_IN) if l.startswith("write")]
    with Wire() as wire:
        server = Server(["/usr/bin/python3", os.path.join(line_test.HERE, "pymodbus_device.py"), "--serial",
                         wire.device, "--description", line_test.DESCRIPTION, "--set", "PROINFLOW_RAW=780",
                         "--set", "PROINTEMP=24.5"])
        with server:
            server.wait_for("listening")
            serial = on_rtu(TEACH_IN, wire, parity="N")
            device_writes = [l for l in server.drain() if l.startswith("write")]
    assert [l for l in serial if l.startswith("write")] == simulated, serial
    assert not any(l.startswith("FAIL") for l in serial), serial
    assert device_writes == [f"write 9 {c}" for c in QUICK_2_CODES], device_writes


def failed_first_read(server_commands, line_options=""):
    """The first read fails (the simulator's `sim fail`, the serial device's fault) and the job
    answers FAILED; the view drops the connection as after any failed job."""
    script = "sim latency 300\nsim fail read\n" + FAULT_SETUP + """wait 450
expect jobs 1
release
wait 1500
"""
    simulated = on_simulator(script)
    with Wire() as wire:
        server = qxflow_sim(wire, *server_commands)
        with server:
            serial = on_rtu(script, wire, line_options)
    check_same(simulated, serial)
    assert "connection DISCONNECTED" in serial and serial.count("released") == 1, serial


def case_bad_crc():
    failed_first_read(["latency 700", "garble"])


def case_late_answer():
    failed_first_read(["latency 1300"], line_options="timeout=1000")


def case_no_answer():
    failed_first_read(["mute on"], line_options="timeout=1000")


def case_far_end_closed():
    script = FAULT_SETUP + """wait 1500
sim abort
wait 2000
expect connected false
release
"""
    simulated = on_simulator(script)
    with Wire() as wire:
        server = qxflow_sim(wire)
        with server:
            timer = threading.Timer(1.5, wire.cut)
            serial = on_rtu(script, wire, on_start=timer.start)
            timer.cancel()
    check_same(simulated, serial)
    assert "connection DISCONNECTED ABORT" in serial, serial


def case_cannot_open():
    script = FAULT_SETUP + "release\nwait 500\n"
    simulated = on_simulator("sim connect fail\n" + script)
    with tempfile.TemporaryDirectory() as folder:
        missing = os.path.join(folder, "ttyQX9")
        run = subprocess.run([os.path.join(BIN, "qxflow-run")],
                             input=f"registry Debug dword:1\ntrace debug on\nline rtu {missing}\n" + script,
                             capture_output=True, text=True, timeout=60)
    out = run.stdout.splitlines()
    check_same(simulated, out)
    assert "connection CONNECT FAILED" in out, out
    assert any(l.startswith("debug ") and f"the connection cannot be made: {missing}: No such file or directory"
               in l for l in out), out


def case_show_line():
    with Wire() as wire:
        server = qxflow_sim(wire)
        with server:
            out = on_rtu(FAULT_SETUP + "wait 2500\nshow line\nrelease\nwait 500\n", wire)
    line = next(l for l in out if l.startswith("line = "))
    head, counts = line.split(" requests=")[0], dict(w.split("=") for w in ("requests=" + line.split(" requests=")[1]).split())
    assert head == f"line = rtu {wire.port}", line
    assert int(counts["requests"]) >= 2 and counts["answers"] == counts["requests"], line
    assert counts["timeouts"] == counts["exceptions"] == counts["malformed"] == counts["reconnects"] == "0", line
    assert counts["p50"] != "-" and counts["p99"] != "-", line


CASES = {name[len("case_"):]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in CASES:
        sys.exit(f"usage: rtu_test.py BIN_DIR {{{','.join(CASES)}}}")
    CASES[sys.argv[2]]()
    print("passed", sys.argv[2])
