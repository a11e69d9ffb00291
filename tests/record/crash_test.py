#!/usr/bin/env python3
"""A recording process killed with SIGKILL in the middle of its run: the file it leaves opens and
holds every row up to the last commit.

usage: crash_test.py QXFLOW_RUN CASE
  note_commits    a note commits at once: after the kill the file holds the note and exactly the
                  samples a run of the same commands that ends normally holds at that point
  seconds_commit  without any event the samples still reach the file once a second of the
                  frame's clock: a minute of polling shows up while the process waits, and stays
                  after the kill
The console reads its commands from a pipe, so it is alive and waiting when it is killed.
"""
import os
import shutil
import signal
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time

RUN, CASE = sys.argv[1], sys.argv[2]
SETUP = """device lang=1033
record crash.qxrec
create
init device
set-toolbar
sim flow 300
sim temp 21
wait 5000
sim flow 500
wait 3000
sim abort
wait 1000
press Poll
wait 100
press Poll
wait 2400
note checkpoint
"""


def fail(why):
    print("FAIL:", why)
    sys.exit(1)


def rows(path, sql, read_only=False):
    db = sqlite3.connect("file:%s?mode=ro" % path if read_only else path, timeout=5, uri=read_only)
    try:
        return db.execute(sql).fetchall()
    finally:
        db.close()


def samples_of(path):
    """The file's samples unpacked from their blocks as docs/recording.md lays them out:
    (t_ms, [flow, temperature, switch point, taught max, taught min, temperature switch point])
    with None where a value is absent."""
    samples = []
    for count, data in rows(path, "SELECT count, data FROM sample_blocks ORDER BY rowid", read_only=True):
        at, t, last = 0, 0, [None] * 6
        for _ in range(count):
            zigzag, shift = 0, 0
            while True:
                byte = data[at]
                at += 1
                zigzag |= (byte & 0x7F) << shift
                shift += 7
                if not byte & 0x80:
                    break
            # Times wrap around at 64 bits, as the writer's unsigned arithmetic does.
            t = (t + ((zigzag >> 1) ^ -(zigzag & 1))) % 2**64
            t = t - 2**64 if t >= 2**63 else t
            present, fresh = data[at], data[at + 1]
            at += 2
            values = []
            for bit in range(6):
                if fresh & 1 << bit:
                    values.append(struct.unpack_from("<d", data, at)[0])
                    at += 8
                else:
                    values.append(last[bit] if present & 1 << bit else None)
            samples.append((t, values))
            last = values
        if at != len(data):
            fail("a block holds more than its %d samples" % count)
    return samples


def poll(path, sql, done, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            got = rows(path, sql, read_only=True)
            if done(got):
                return got
        except sqlite3.Error:
            pass
        time.sleep(0.05)
    fail("the file never showed what was committed: " + sql)


def reference_points(folder):
    """The chart's points at the note, from a run of the same commands that ends normally."""
    script = os.path.join(folder, "reference.qxs")
    with open(script, "w") as f:
        f.write(SETUP.replace("crash.qxrec", "reference.qxrec") + "show chart PC1 points\n")
    out = subprocess.run([RUN, script], capture_output=True, text=True, timeout=30, cwd=folder)
    if out.returncode != 0:
        fail("the reference run failed: " + out.stdout + out.stderr)
    for line in out.stdout.splitlines():
        if line.startswith("chart PC1 points = "):
            return int(line.split("=")[1])
    fail("no point count: " + out.stdout)


def main():
    with tempfile.TemporaryDirectory() as folder:
        expected = reference_points(folder)
        path = os.path.join(folder, "crash.qxrec")
        child = subprocess.Popen([RUN], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, cwd=folder, text=True)
        try:
            child.stdin.write(SETUP)
            child.stdin.flush()
            poll(path, "SELECT text FROM events WHERE kind = 'note'", lambda r: r == [("checkpoint",)])
            if CASE == "seconds_commit":
                child.stdin.write("press Poll\nwait 60000\n")
                child.stdin.flush()
                # A sample a second at the default poll: the last minute's reach the file bar the
                # one still waiting for its second.
                poll(path, "SELECT total(count) FROM sample_blocks", lambda r: r[0][0] >= expected + 59)
            if child.poll() is not None:
                fail("the console ended before it was killed")
            os.kill(child.pid, signal.SIGKILL)
            child.wait(timeout=10)
        finally:
            if child.poll() is None:
                child.kill()
                child.wait()
        if child.returncode != -signal.SIGKILL:
            fail("the console was not killed: %s" % child.returncode)

        if not os.path.exists(path + "-wal"):
            fail("no write-ahead log beside the recording")
        # Open a copy, as a viewer on another machine would get it: the file and its log, read
        # only, so that the log is read as the crash left it and never folded into the file.
        os.mkdir(os.path.join(folder, "copy"))
        for suffix in ("", "-wal"):
            shutil.copyfile(path + suffix, os.path.join(folder, "copy", "crash.qxrec" + suffix))
        path = os.path.join(folder, "copy", "crash.qxrec")
        if rows(path, "PRAGMA integrity_check", read_only=True) != [("ok",)]:
            fail("the recording is damaged")
        if rows(path, "PRAGMA user_version", read_only=True) != [(2,)]:
            fail("not a recording of layout 2")
        unpacked = samples_of(path)
        if os.path.getsize(path + "-wal") == 0:
            fail("the log was folded into the file before it was read")
        samples = len(unpacked)
        holes = sum(1 for _, values in unpacked if values[0] is None and values[1] is None)
        device = rows(path, "SELECT value FROM run WHERE key = 'device_name'", read_only=True)
        if device != [("FM1",)]:
            fail("run: %s" % device)
        if holes < 1:
            fail("the lost connection left no hole")
        if CASE == "note_commits" and samples != expected:
            fail("%d samples after the kill, the chart held %d at the note" % (samples, expected))
        if CASE == "seconds_commit" and samples < expected + 59:
            fail("%d samples after the kill, expected at least %d" % (samples, expected + 59))
        writes = rows(path, "SELECT count(*) FROM events WHERE kind = 'write'", read_only=True)[0][0]
        print("ok: %d samples (%d holes), %d writes, the note" % (samples, holes, writes))


main()
