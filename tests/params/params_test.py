"""Parameter sets through the console on the simulated line: saved, compared after the device
changed, loaded back with one write job, and refused (another device, a value out of range, a
parameter the device lacks, a teach-in under way, no connection) without a write.

usage: /usr/bin/python3 params_test.py BIN_DIR CASE"""
import json
import os
import subprocess
import sys
import tempfile

BIN = sys.argv[1] if len(sys.argv) > 1 else "."

SETUP = """create
init device
register-callback
set-toolbar
wait 1500
"""


def run(script, folder):
    """The console's lines for `script`, run from `folder` (where the set files are)."""
    path = os.path.join(folder, "script.qxs")
    with open(path, "w", encoding="utf-8") as f:
        f.write(script)
    done = subprocess.run([os.path.join(BIN, "qxflow-run"), path], capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout.splitlines()


def ours(lines):
    """The lines of the parameter-set commands and the writes that reached the device."""
    return [l for l in lines if l.split(" ")[0] in ("saved", "differs", "compared", "loaded", "refused",
                                                     "failed", "write")]


def saved_set(folder, device=""):
    out = run(device + SETUP + "params save fm.json\nwait 200\n", folder)
    assert ours(out) == ["saved fm.json 20 parameters"], out
    with open(os.path.join(folder, "fm.json"), encoding="utf-8") as f:
        return json.load(f)


def rewrite(folder, change):
    with open(os.path.join(folder, "fm.json"), encoding="utf-8") as f:
        data = json.load(f)
    change(data)
    with open(os.path.join(folder, "fm.json"), "w", encoding="utf-8") as f:
        json.dump(data, f)


def case_save_compare_load():
    with tempfile.TemporaryDirectory() as folder:
        data = saved_set(folder)
        assert data["device"] == {"displayName": "FM1", "firmware": 1,
                                  "category": "2C4CD8B8-D509-4ECB-94A7-019F12569C8B",
                                  "description": data["device"]["description"]}, data["device"]
        values = {p["name"]: (p["value"], p["unit"]) for p in data["parameters"]}
        assert values["SWPOINT"] == ("60", "°C") and values["TEACHDO_QUICK"] == (" 0 %", "%"), values
        out = run(SETUP + """sim set SWPOINT 70
params compare fm.json
wait 200
params load fm.json
wait 200
expect device SWPOINT "60"
params compare fm.json
wait 200
expect jobs 0
""", folder)
        assert ours(out) == ['differs SWPOINT file="60" device="70"', "compared fm.json: 1 differences",
                             'write SWPOINT="60"', "loaded fm.json: 1 parameters",
                             "compared fm.json: 0 differences"], out
        assert "ok device SWPOINT" in out and "ok jobs" in out, out


def refused(change, script_before, why):
    with tempfile.TemporaryDirectory() as folder:
        saved_set(folder)
        rewrite(folder, change)
        out = run(SETUP + "sim set SWPOINT 70\n" + script_before + "params load fm.json\nwait 1500\n"
                  "expect device SWPOINT \"70\"\n", folder)
        mine = [l for l in ours(out) if not l.startswith("write QUICK_2")]
        assert mine == [f"refused fm.json: {why}"], out
        assert "ok device SWPOINT" in out, out


def no_change(data):
    pass


def case_other_device():
    refused(lambda d: d["device"].update(firmware=0), "", "the set is for another device")


def case_out_of_range():
    def change(d):
        next(p for p in d["parameters"] if p["name"] == "TEACHDO_SWPOINT")["value"] = "101"
    refused(change, "", 'TEACHDO_SWPOINT does not take "101"')


def case_unknown_parameter():
    refused(lambda d: d["parameters"].append({"name": "FLOW_GAIN", "value": "3", "unit": ""}), "",
            "the device has no parameter FLOW_GAIN")


def case_during_teach_in():
    refused(no_change, "click ComTeachMaxMin\nwait 200\n", "a teach-in is under way")


def case_not_connected():
    with tempfile.TemporaryDirectory() as folder:
        out = run("create\nparams save fm.json\n" + "init device\nregister-callback\nset-toolbar\nwait 1500\n"
                  "sim abort\nwait 100\nparams save fm.json\nwait 200\n", folder)
        assert ours(out) == ["refused fm.json: not connected", "refused fm.json: not connected"], out
        assert not os.path.exists(os.path.join(folder, "fm.json"))


CASES = {name[len("case_"):]: f for name, f in globals().items() if name.startswith("case_")}

if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in CASES:
        sys.exit(f"usage: params_test.py BIN_DIR {{{','.join(CASES)}}}")
    CASES[sys.argv[2]]()
    print("passed", sys.argv[2])
