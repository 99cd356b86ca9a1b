#!/usr/bin/env python3
"""Reads spreadsheet files written beside reports back with a strict CSV reader and checks
that every value equals the report's, in the report's own notation, and that the run's
description stands the same on every record.

Usage: check_spreadsheets.py CASE_FOLDER...   (each holds expected/ and args)"""

import csv
import glob
import os
import sys

DESCRIPTION = ["run", "data_file", "date_or_model_run", "stations", "weights", "ratio"]


class Fault(Exception):
    pass


def records(path):
    raw = open(path, "rb").read()
    lines = raw.split(b"\r\n")
    if lines[-1] != b"" or any(b"\n" in line for line in lines):
        raise Fault(path + ": a record does not end with CR LF")
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f, strict=True))
    header, body = rows[0], rows[1:]
    if header[:6] != DESCRIPTION:
        raise Fault(path + ": the description columns are " + str(header[:6]))
    if any(len(row) != len(header) for row in body):
        raise Fault(path + ": a record has not as many fields as the header")
    described = {tuple(row[:6]) for row in body}
    if len(described) != 1:
        raise Fault(path + ": the description differs between records")
    return header, body


def general(text):
    """A value as the report writes a double: six significant digits."""
    return "%g" % float(text)


def fixed(text):
    return "%.2f" % float(text)


def same(path, where, report_cell, csv_cell, notation):
    if report_cell.strip() in ("", "M") and csv_cell == "":
        return
    if csv_cell == "" or notation(csv_cell) != report_cell.strip():
        raise Fault("%s, %s: the report has %r, the spreadsheet %r" % (path, where, report_cell, csv_cell))


def columns(line, widths):
    """Cells of a line whose values were padded to `widths`; the last takes the rest."""
    cells, at = [], 0
    for width in widths:
        cells.append(line[at:at + width])
        at += width
    cells.append(line[at:])
    return cells


def check_blend(folder, stem, report, option):
    lines = open(report).read().split("\n")
    daily_path = os.path.join(folder, stem + ".csv")
    header, body = records(daily_path)
    if len(body) != 7:
        raise Fault(daily_path + ": not seven days")
    for day, row in enumerate(body, 1):
        cells = columns(lines[3 + day], [7, 12, 12, 12, 12, 12])
        if cells[0].strip() != row[6] or row[6] != str(day):
            raise Fault(daily_path + ": day %d" % day)
        for k in range(6):
            same(daily_path, "day %d, %s" % (day, header[7 + k]), cells[1 + k], row[7 + k], general)
    hourly_path = os.path.join(folder, stem + "-hourly.csv")
    header, body = records(hourly_path)
    report_rows = [l for l in lines[15:] if l.strip() and not l.startswith("HR")]
    if len(body) != len(report_rows) or len(body) != 30:
        raise Fault(hourly_path + ": not the report's 30 hours")
    for row, line in zip(body, report_rows):
        cells = columns(line, [6, 8, 10])
        if cells[0].strip() != row[6]:
            raise Fault(hourly_path + ": hour " + row[6])
        same(hourly_path, "hour %s cloud" % row[6], cells[1], row[7], fixed)
        same(hourly_path, "hour %s direction" % row[6], cells[2], row[8], fixed)
        same(hourly_path, "hour %s speed" % row[6], cells[3], row[10], fixed)
        if (row[8] == "") != (row[9] == "") or (row[8] and abs(float(row[8]) * 10 - float(row[9])) > 1e-9):
            raise Fault(hourly_path + ": hour %s: degrees are not ten times the tens" % row[6])
    return body[0][:6]


def check_table(folder, stem, report, option):
    path = os.path.join(folder, stem + ".csv")
    header, body = records(path)
    report_rows = [l.split() for l in open(report).read().split("\n")[1:] if l.strip()]
    if len(body) != len(report_rows):
        raise Fault(path + ": %d records for %d report rows" % (len(body), len(report_rows)))
    # The spreadsheet's columns of the report's, in the report's order.
    names = [n for n in header[6:] if n != "wind_dir_tens"]
    for row, cells in zip(body, report_rows):
        values = dict(zip(header, row))
        if values["hour"] != cells[0]:
            raise Fault(path + ": hour " + values["hour"])
        for name, cell in zip(names[1:], cells[1:]):
            same(path, "hour %s, %s" % (cells[0], name), cell, values[name], general)
        if "wind_dir_tens" in values and (values["wind_dir_tens"] == "") != (values["wind_dir_deg"] == ""):
            raise Fault(path + ": hour %s: tens without degrees or degrees without tens" % cells[0])
        if "wind_dir_tens" in values and values["wind_dir_tens"] and abs(float(values["wind_dir_tens"]) * 10 - float(values["wind_dir_deg"])) > 1e-9:
            raise Fault(path + ": hour %s: tens are not a tenth of the degrees" % cells[0])
    return body[0][:6]


def check_case(folder):
    words = open(os.path.join(folder, "args")).read().split()
    expected = os.path.join(folder, "expected")
    checked = 0
    for report in sorted(glob.glob(os.path.join(expected, "*.out"))):
        stem = os.path.basename(report)[:-4]
        if not os.path.isfile(os.path.join(expected, stem + ".csv")):
            continue
        blend = os.path.isfile(os.path.join(expected, stem + "-hourly.csv"))
        description = (check_blend if blend else check_table)(expected, stem, report, None)
        data_name = description[1]
        if description[0] not in list("123456") or data_name[:-3].rstrip(".") != stem:
            raise Fault("%s: the description %s names another run or file" % (report, description))
        runs = [words[i + 1:i + 3] for i, word in enumerate(words) if word == "run"]
        if runs and [description[0], data_name] not in runs:
            raise Fault("%s: the description %s is not one of the runs %s" % (report, description, runs))
        if blend and (not description[3] or not description[4] or not description[5]):
            raise Fault(report + ": option 1 without its stations, weights or ratio")
        checked += 1
    if checked == 0:
        raise Fault(folder + ": no spreadsheet beside a report")
    return checked


def main(folders):
    faults, checked = [], 0
    for folder in folders:
        try:
            checked += check_case(folder)
        except Fault as fault:
            faults.append(str(fault))
    for fault in faults:
        print(fault)
    print("%d reports read back, %d faults" % (checked, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
