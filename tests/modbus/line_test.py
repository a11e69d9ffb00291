"""The Modbus line end to end, on 127.0.0.1 only: the console over a Modbus line against qxflow-sim
and against a pymodbus server, qxflow-sim read and written by mbpoll, and the line's faults. Each
case runs the same console script on the simulated line and on the Modbus line and compares what
the view did (connection changes, writes, wizard states, the release and its notice, each kind in
its own order); values and timing aside, the transcripts must agree.

usage: /usr/bin/python3 line_test.py BIN_DIR CASE"""
import os
import queue
import re
import socket
import subprocess
import sys
import tempfile
import threading
import time

BIN = sys.argv[1] if len(sys.argv) > 1 else "."
DESCRIPTION = os.path.join(BIN, "devices", "flowmonitor.json")
HERE = os.path.dirname(os.path.abspath(__file__))
# Lines of a transcript that show what the view did, whatever the values and the timing.
COMPARED = re.compile(r"^(connection|write|state|release|released|detailed|message|ok|FAIL)\b")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Server:
    """A server process whose output lines are collected as they come; stopped on leaving."""

    def __init__(self, argv):
        self.lines = queue.Queue()
        self.seen = []
        self.process = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))

    def wait_for(self, prefix, timeout=10):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            try:
                line = self.lines.get(timeout=max(0.0, end - time.monotonic()))
            except queue.Empty:
                break
            self.seen.append(line)
            if line.startswith(prefix):
                return line
        raise AssertionError(f"server never said {prefix!r}; it said {self.seen}")

    def drain(self):
        while not self.lines.empty():
            self.seen.append(self.lines.get())
        return self.seen

    def send(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def qxflow_sim(*commands):
    argv = [os.path.join(BIN, "qxflow-sim"), "--listen", "127.0.0.1:0"]
    for c in commands:
        argv += ["-c", c]
    server = Server(argv)
    port = int(server.wait_for("listening").rsplit(":", 1)[1])
    return server, port


def pymodbus(*settings):
    port = free_port()
    argv = ["/usr/bin/python3", os.path.join(HERE, "pymodbus_device.py"), "--port", str(port),
            "--description", DESCRIPTION]
    for s in settings:
        argv += ["--set", s]
    server = Server(argv)
    server.wait_for("listening")
    return server, port


def console(script, on_start=None, timeout=60):
    """Runs a script through qxflow-run; on_start runs once the console runs."""
    with tempfile.NamedTemporaryFile("w", suffix=".qxs", delete=False) as f:
        f.write(script)
    try:
        run = subprocess.Popen([os.path.join(BIN, "qxflow-run"), f.name], stdout=subprocess.PIPE, text=True)
        if on_start:
            on_start()
        out, _ = run.communicate(timeout=timeout)
        return out.splitlines()
    finally:
        os.unlink(f.name)
        if "run" in locals() and run.poll() is None:
            run.kill()


def on_simulator(script):
    """The script as the simulated line runs it."""
    return console(script)


def on_modbus(script, port, line_options=""):
    """The same script over a Modbus line: the line comes first, the simulator's commands go."""
    kept = [l for l in script.splitlines() if not l.startswith("sim ")]
    return console(f"line modbus 127.0.0.1:{port} {line_options}\n" + "\n".join(kept) + "\n")


def compared(lines):
    """Each kind of line in its own order: which of two answers comes first is timing."""
    kinds = {}
    for line in lines:
        if COMPARED.match(line):
            kinds.setdefault(line.split()[0], []).append(line)
    return kinds


def check_same(simulated, modbus):
    a, b = compared(simulated), compared(modbus)
    if a != b:
        raise AssertionError("the lines differ\n--- simulated line\n" + "\n".join(simulated) +
                             "\n--- Modbus line\n" + "\n".join(modbus))
    if sum(l == "released" for l in b) > 1:
        raise AssertionError("the release notice came more than once:\n" + "\n".join(modbus))


SETUP = """trace state on
device fw=1 category=match
create
init device
register-callback
set-toolbar
"""

# A max/min teach-in from end to end; the flow changes at 1000 ms and 5500 ms.
TEACH_IN = SETUP + """sim flow 300
wait 1000
click ComTeachMaxMin
sim flow 780
wait 3500
click ComTMax
wait 1000
sim flow 240
wait 4500
click ComTMin
wait 4500
expect field mTeachState 0
release
wait 1000
"""

QUICK_2_CODES = ["4", "1", "0", "2", "0", "5", "0", "0", "0"]


def case_teach_in_qxflow_sim():
    simulated = on_simulator(TEACH_IN)
    server, port = qxflow_sim("flow 300")
    with server:
        modbus = console(f"line modbus 127.0.0.1:{port}\n" +
                         "\n".join(l for l in TEACH_IN.splitlines() if not l.startswith("sim ")) + "\n",
                         on_start=lambda: (server.wait_for("client connected"), server.send("at 1000 flow 780"),
                                           server.send("at 5500 flow 240")))
        device_writes = [l for l in server.drain() if l.startswith("write")]
    check_same(simulated, modbus)
    assert device_writes == [f'write QUICK_2="{c}"' for c in QUICK_2_CODES], device_writes


def case_teach_in_pymodbus():
    # The server only holds registers: with the flow at 780 below the stored maximum of 800 the
    # teach-in runs through without the device acting, and writes the simulator's codes.
    simulated = [l for l in on_simulator(TEACH_IN) if l.startswith("write")]
    server, port = pymodbus("PROINFLOW_RAW=780", "PROINTEMP=24.5")
    with server:
        modbus = on_modbus(TEACH_IN, port)
        script = SETUP + """wait 1500
expect param PROINFLOW_RAW "780"
expect param PROINTEMP "24.5"
expect param TEACHDO_QUICK " 0 %"
slide mSliderTP 75
click ComSetPara
wait 1500
release
wait 1000
"""
        settings = on_modbus(script, port)
        time.sleep(0.2)
        device_writes = [l for l in server.drain() if l.startswith("write")]
    assert [l for l in modbus if l.startswith("write")] == simulated, modbus
    assert simulated == [f'write QUICK_2="{c}"' for c in QUICK_2_CODES], simulated
    assert 'write SWPOINT="75"' in settings and not any(l.startswith("FAIL") for l in settings), settings
    assert device_writes == [f"write 9 {c}" for c in QUICK_2_CODES] + ["write 4 75"], device_writes


def mbpoll(port, first, count=None, write=None, expect_ok=True):
    """Reads `count` holding registers from `first` (numbered from 1, as mbpoll does), or writes one."""
    argv = ["mbpoll", "-m", "tcp", "-a", "1", "-t", "4", "-1", "-p", str(port), "-r", str(first)]
    argv += ["-c", str(count)] if count else []
    argv += ["127.0.0.1"] + ([str(write)] if write is not None else [])
    run = subprocess.run(argv, capture_output=True, text=True, timeout=20)
    if expect_ok:
        assert run.returncode == 0, run.stdout + run.stderr
    return run.stdout + run.stderr, [int(v) for v in re.findall(r"^\[\d+\]:\s+(-?\d+)", run.stdout, re.M)]


def case_mbpoll():
    server, port = qxflow_sim("flow 300", "temp 24.5")
    with server:
        _, values = mbpoll(port, 1, count=10)
        # DELTAFLOW_NEW (the second register) depends on when the flow settles; the rest is fixed.
        assert values[:1] + values[2:] == [300, 0, 245, 60, 450, 2, 800, 100, 0], values
        mbpoll(port, 10, write=1)  # QUICK_2 := 1 teaches the present flow as maximum
        server.wait_for('write QUICK_2="1"')
        server.send("show TEACH_MAX")
        server.wait_for("TEACH_MAX = 300")
        assert mbpoll(port, 8, count=1)[1] == [300]
        # The flow is read-only: the write gets an exception and changes nothing.
        text, _ = mbpoll(port, 1, write=5, expect_ok=False)
        assert "Illegal data address" in text, text
        assert mbpoll(port, 1, count=1)[1] == [300]


FAULT_SETUP = """create
init device
register-callback
set-toolbar
"""


def fault_case(script, server_commands, at_connect=(), line_options=""):
    simulated = on_simulator(script)
    server, port = qxflow_sim(*server_commands)
    with server:
        def timed():
            server.wait_for("client connected")
            for c in at_connect:
                server.send(c)
        modbus = console(f"line modbus 127.0.0.1:{port} {line_options}\n" +
                         "\n".join(l for l in script.splitlines() if not l.startswith("sim ")) + "\n",
                         on_start=timed if at_connect else None)
    check_same(simulated, modbus)
    return modbus


def case_server_stopped_mid_poll():
    # The first read never gets its answer; released while it is in flight; then the device goes.
    out = fault_case(FAULT_SETUP + """wait 25
sim latency 5000
wait 575
expect jobs 1
release
wait 800
sim abort
wait 1000
""", ["mute on"], at_connect=["at 1400 quit"], line_options="timeout=5000")
    assert "connection DISCONNECTED ABORT" in out and out.count("released") == 1, out


def failed_first_read(server_controls, line_options=""):
    """The first read fails (on the simulator by `sim fail`, on Modbus by the server's fault) and
    the release asked while it is in flight still ends with one notice."""
    out = fault_case("sim latency 300\nsim fail read\n" + FAULT_SETUP + """wait 450
expect jobs 1
release
wait 1500
""", server_controls, line_options=line_options)
    assert "connection DISCONNECTED" in out and out.count("released") == 1, out


def case_no_answer():
    failed_first_read(["mute on"], line_options="timeout=1000")


def case_exception_answer():
    failed_first_read(["latency 700", "fail read"])


def case_refused():
    simulated = on_simulator("sim connect fail\n" + FAULT_SETUP + "release\nwait 500\n")
    modbus = on_modbus(FAULT_SETUP + "release\nwait 500\n", free_port())
    check_same(simulated, modbus)
    assert "connection CONNECT FAILED" in modbus and modbus.count("released") == 1, modbus


def case_reconnect():
    out = fault_case(FAULT_SETUP + """wait 1500
sim abort
wait 1500
expect connected false
press Poll
wait 1500
expect connected true
press Poll
wait 1500
expect connected false
release
""", [], at_connect=["at 1500 abort"])
    assert out.count("connection CONNECTED") == 2 and "connection DISCONNECTED ABORT" in out, out


CASES = {name[len("case_"):]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in CASES:
        sys.exit(f"usage: line_test.py BIN_DIR {{{','.join(CASES)}}}")
    CASES[sys.argv[2]]()
    print("passed", sys.argv[2])
