#!/usr/bin/env python3
"""The commissioning report written by the console, read back with pdftotext and pdfinfo.

usage: report_test.py QXFLOW_RUN CASE
  english, german  a max/min teach-in with a note, then `report pdf`: the text names the device,
                   gives the taught limits and switch points as the device holds them (the
                   `device` queries of the same run), lists the teach codes written and the note,
                   in the model's language; the page is A4
  unwritable       `record` onto a folder is told on standard error and the run goes on to its
                   report; a report that cannot be written is a script error naming the file
"""
import os
import re
import subprocess
import sys
import tempfile

RUN, CASE = sys.argv[1], sys.argv[2]
TEACH_IN = """device fw=1 category=match lang={lang}
create
init device
register-callback
set-toolbar
sim flow 300
sim temp 24
wait 3000
click ComTeachMaxMin
wait 1000
sim flow 780
wait 4000
click ComTMax
wait 1000
sim flow 240
wait 4000
click ComTMin
wait 4000
note Sensor mounted 5 D after the bend, checked by A. Person
wait 1000
show device TEACH_MAX
show device TEACH_MIN
show device FLOWSP_RAW
show device TEACHDO_SWPOINT
show device SWPOINT
report pdf report.pdf
"""
WORDS = {
    "english": ["Commissioning report", "Taught maximum", "Taught minimum", "Flow switch point",
                "Temperature switch point", "Teach events", "Notes", "max/min teach",
                "Parameters as last read"],
    "german": ["Inbetriebnahmeprotokoll", "Geteachtes Maximum", "Geteachtes Minimum",
               "Strömungsschaltpunkt", "Temperaturschaltpunkt", "Teach-Ereignisse", "Notizen",
               "Max/Min-Teach", "Parameter, wie zuletzt gelesen"],
}


def fail(why, *outputs):
    print("FAIL:", why)
    for o in outputs:
        print(o)
    sys.exit(1)


def run(folder, text):
    script = os.path.join(folder, "run.qxs")
    with open(script, "w") as f:
        f.write(text)
    return subprocess.run([RUN, script], capture_output=True, text=True, timeout=60, cwd=folder)


def line_with(text, label):
    for line in text.splitlines():
        if label in line:
            return line
    fail("no line with " + label, text)


def main():
    with tempfile.TemporaryDirectory() as folder:
        if CASE == "unwritable":
            os.mkdir(os.path.join(folder, "taken.qxrec"))
            script = "record taken.qxrec\n" + TEACH_IN.format(lang=1033) + "report pdf no/such/folder/r.pdf\n"
            out = run(folder, script)
            if "recording " + os.path.join(folder, "taken.qxrec") not in out.stderr:
                fail("the unwritable recording was not told", out.stderr)
            if "exported report.pdf" not in out.stdout.splitlines():
                fail("the run did not go on to its report", out.stdout, out.stderr)
            if out.returncode != 2 or "no/such/folder/r.pdf" not in out.stdout.splitlines()[-1]:
                fail("a report that cannot be written is no script error naming it", out.stdout)
            print("ok")
            return

        lang = 1031 if CASE == "german" else 1033
        out = run(folder, TEACH_IN.format(lang=lang))
        if out.returncode != 0 or out.stdout.splitlines()[-1] != "exported report.pdf":
            fail("the run failed", out.stdout, out.stderr)
        device = dict(re.findall(r'^device (\w+) = "([^"]*)"$', out.stdout, re.M))
        pdf = os.path.join(folder, "report.pdf")
        info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True).stdout
        if not re.search(r"^Page size:\s+595(\.\d+)? x 84[12](\.\d+)? pts \(A4\)$", info, re.M):
            fail("not A4", info)
        text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True).stdout
        for word in WORDS[CASE]:
            if word not in text:
                fail("missing: " + word, text)
        if "FM1" not in text:
            fail("the device is not named", text)
        taught_max = WORDS[CASE][1]
        for label, param, unit in [(taught_max, "TEACH_MAX", "Bit"), (WORDS[CASE][2], "TEACH_MIN", "Bit"),
                                   (WORDS[CASE][3], "FLOWSP_RAW", "Bit"), (WORDS[CASE][4], "SWPOINT", "°C")]:
            line = line_with(text, label)
            if not re.search(r"\b%s %s\b" % (re.escape(device[param]), re.escape(unit)), line):
                fail("%s is not %s %s as the device holds it: %s" % (label, device[param], unit, line), text)
        if device["TEACH_MAX"] != "780" or device["TEACH_MIN"] != "240":
            fail("the device holds other values than the script set: %s" % device)
        for code in ["4", "1", "2", "5"]:
            if 'write QUICK_2="%s"' % code not in text:
                fail("the teach code %s is not listed" % code, text)
        if "Sensor mounted 5 D after the bend, checked by A. Person" not in text:
            fail("the note is missing", text)
        other = WORDS["english" if CASE == "german" else "german"][0]
        if other in text:
            fail("the report mixes its languages", text)
        print("ok")


main()
