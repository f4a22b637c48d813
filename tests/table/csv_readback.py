#!/usr/bin/env python3
"""A spreadsheet's reading of the CSV that tavix-cli writes.

csv_readback.py TAVIX_CLI FIXTURES: for every data file FIXTURES/model*.txt, runs
`tavix-cli retrieve FILE --csv -`, reads its standard output with Python's csv module as a
spreadsheet would, and finds every record of the data file in it: the record number, the time
(the data files are written year-month-day, the shipped date preference), and each value as a
number with one decimal, a sensor error (E<code>) as an empty cell.
"""
import csv
import io
import pathlib
import subprocess
import sys


def records(data_file):
    """The record lines of a data file: number, date, time and value words."""
    lines = data_file.read_text(encoding="utf-8").splitlines()[6:]
    for line in lines:
        words = line.split()
        if len(words) < 4:
            return
        yield int(words[0]), words[1], words[2], words[3:]


def check(cli, data_file):
    result = subprocess.run([cli, "retrieve", str(data_file), "--csv", "-"], capture_output=True, check=False)
    problems = []
    if result.returncode != 0:
        return [f"exit status {result.returncode}: {result.stderr.decode(errors='replace')}"]
    text = result.stdout.decode("utf-8")
    if "\r" in text or not text.endswith("\n"):
        problems.append("line ends are not LF")
    rows = list(csv.reader(io.StringIO(text, newline="")))
    header, body = rows[0], rows[1:]
    if header[:2] != ["Record", "Time"]:
        problems.append(f"header {header}")
    expected = list(records(data_file))
    if len(body) != len(expected):
        problems.append(f"{len(body)} rows for {len(expected)} records")
    for row, (number, date, time, values) in zip(body, expected):
        where = f"record {number}"
        if len(row) != len(header) or len(values) != len(header) - 2:
            problems.append(f"{where}: {len(row)} cells, {len(values)} values, header of {len(header)}")
            continue
        if int(row[0]) != number:
            problems.append(f"{where}: number {row[0]}")
        if row[1] != f"{date} {time}":
            problems.append(f"{where}: time {row[1]}")
        for cell, word in zip(row[2:], values):
            if word.startswith("E"):
                if cell != "":
                    problems.append(f"{where}: error {word} shown as {cell!r}")
            elif cell.count(".") != 1 or len(cell.split(".")[1]) != 1 or float(cell) != float(word):
                problems.append(f"{where}: value {word} shown as {cell!r}")
    return problems


def main():
    cli, fixtures = sys.argv[1], pathlib.Path(sys.argv[2])
    files = sorted(fixtures.glob("model*.txt"))
    if not files:
        print(f"no data files in {fixtures}")
        return 1
    failed = False
    for data_file in files:
        problems = check(cli, data_file)
        for p in problems:
            print(f"{data_file.name}: {p}")
        failed = failed or bool(problems)
        print(f"{data_file.name}: {'FAILED' if problems else 'every value found'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
