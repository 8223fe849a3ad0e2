#!/usr/bin/env python3
"""Runs the spreadsheet converter on a folder of CSV outputs and reads the book back as the
zip archive it is: sheet names and order, number and text cells; then checks that each
failure exits non-zero with a one-line reason and leaves an older book as it was."""
import os
import re
import subprocess
import sys
import tempfile
import zipfile
import xml.etree.ElementTree as ET

CSVBOOK = sys.argv[1]
NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
      "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships"}
failures = []


def check(cond, what):
    if not cond:
        failures.append(what)
        print("FAIL:", what)


def run(arg, lang="ja_JP.UTF-8"):
    env = dict(os.environ, LANG=lang, LC_ALL="")
    return subprocess.run([CSVBOOK, arg], capture_output=True, env=env, timeout=120)


def read_book(path):
    with zipfile.ZipFile(path) as z:
        wb = ET.fromstring(z.read("xl/workbook.xml"))
        names = [s.get("name") for s in wb.find("m:sheets", NS)]
        shared = []
        if "xl/sharedStrings.xml" in z.namelist():
            for si in ET.fromstring(z.read("xl/sharedStrings.xml")).findall("m:si", NS):
                shared.append("".join(t.text or "" for t in si.iter("{%s}t" % NS["m"])))
        sheets = []
        for i in range(len(names)):
            ws = ET.fromstring(z.read("xl/worksheets/sheet%d.xml" % (i + 1)))
            cells = {}
            for c in ws.iter("{%s}c" % NS["m"]):
                v = c.find("m:v", NS)
                if c.get("t") == "s":
                    cells[c.get("r")] = shared[int(v.text)]
                elif c.get("t") == "inlineStr":
                    cells[c.get("r")] = "".join(t.text or "" for t in c.iter("{%s}t" % NS["m"]))
                else:
                    cells[c.get("r")] = float(v.text)
            sheets.append(cells)
        return names, sheets


with tempfile.TemporaryDirectory() as tmp:
    out = os.path.join(tmp, "out")
    os.mkdir(out)
    with open(os.path.join(out, "b_numbers.csv"), "wb") as f:
        f.write(b"EpochNo,Delta,Time\r\n1,12.5,00:00:30\r\n2,-3e2,\r\n")
    with open(os.path.join(out, "a_text.CSV"), "wb") as f:
        f.write(b'"Name, first","say ""hi""",,x\r\n')
    with open(os.path.join(out, "c_japanese.csv"), "wb") as f:
        f.write("被検者名,睡眠段階\r\n田中,12\r\n".encode("cp932"))
    long_name = "0123456789" * 4
    with open(os.path.join(out, long_name + ".csv"), "wb") as f:
        f.write(b"7\r\n")
    with open(os.path.join(out, "notes.txt"), "wb") as f:
        f.write(b"1,2,3\r\n")
    book_xls = os.path.join(out, "night.xls")
    book = os.path.join(out, "night.xlsx")
    r = run('"%s","%s",0' % (out, book_xls))
    check(r.returncode == 0, "converter succeeds: %r" % r.stderr)
    check(os.path.exists(book) and not os.path.exists(book_xls), "the .xls name becomes .xlsx")
    names, sheets = read_book(book)
    check(names == [long_name[:31], "a_text", "b_numbers", "c_japanese"], "sheets in name order: %r" % names)
    longsheet, text, numbers, japanese = sheets
    check(text == {"A1": "Name, first", "B1": 'say "hi"', "D1": "x"}, "quoted cells, empty cell left out: %r" % text)
    check(numbers.get("A2") == 1.0 and numbers.get("B2") == 12.5 and numbers.get("B3") == -300.0,
          "numbers are number cells: %r" % numbers)
    check(numbers.get("C2") == "00:00:30" and numbers.get("A1") == "EpochNo", "other cells are text: %r" % numbers)
    check("C3" not in numbers, "an empty cell is no cell")
    check(japanese == {"A1": "被検者名", "B1": "睡眠段階", "A2": "田中", "B2": 12.0}, "CP932 texts: %r" % japanese)
    check(longsheet == {"A1": 7.0}, "the long-named file's sheet")
    leftovers = [n for n in os.listdir(out) if ".partial" in n]
    check(not leftovers, "no partial book left: %r" % leftovers)

    good = open(book, "rb").read()

    def fails_keeping(arg, what):
        r = run(arg)
        reason = r.stderr.decode("utf-8", "replace")
        check(r.returncode != 0, what + ": non-zero exit")
        check(reason.count("\n") == 1 and len(reason.strip()) > 0, what + ": one-line reason %r" % reason)
        check(open(book, "rb").read() == good, what + ": the older book is intact")
        return reason

    empty = os.path.join(tmp, "empty")
    os.mkdir(empty)
    with open(os.path.join(empty, "only.txt"), "wb") as f:
        f.write(b"1\r\n")
    reason = fails_keeping('"%s","%s",0' % (empty, book), "no CSV file")
    check("no CSV" in reason, "no CSV file named in the reason")

    wide = os.path.join(tmp, "wide")
    os.mkdir(wide)
    with open(os.path.join(wide, "wide.csv"), "wb") as f:
        f.write(b"1" + b",1" * 16384 + b"\r\n")
    reason = fails_keeping('"%s","%s",1' % (wide, book), "a file beyond a sheet's limits")
    check("wide.csv" in reason, "the file is named in the reason")

    unwritable = os.path.join(tmp, "missing", "dir", "night.xlsx")
    r = run('"%s","%s",0' % (out, unwritable))
    check(r.returncode != 0 and r.stderr.decode().count("\n") == 1, "an unwritable book fails with a reason")
    check(open(book, "rb").read() == good, "an unwritable book leaves the older one")

    r = run("nonsense")
    check(r.returncode != 0, "a malformed request fails")

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
