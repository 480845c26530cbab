#!/usr/bin/env python3
"""Overall shares from the table text_coverage.py prints (its standard output saved to a file):
reference characters found over all files the direct route reads, and over the Japanese ones
(names starting with "jp_"), each weighted by the file's reference characters. With a figures
file (tests/e2e/text_coverage.tsv) the stored shares are summed the same way for comparison.
Usage: text_coverage_summary.py TABLE [FIGURES]"""
import re
import sys


def rows(path):
    out = {}
    for line in open(path, encoding="utf-8"):
        m = re.match(r"^(\S+)\s+(\d+)\s+(\d+)\s+([\d.]+)%", line)
        if m:
            out[m.group(1)] = (int(m.group(2)), float(m.group(4)))
    return out


def summary(table, shares=None):
    result = {}
    for label, keep in (("all", lambda n: True), ("japanese", lambda n: n.startswith("jp_"))):
        total = found = 0.0
        for name, (chars, share) in table.items():
            if not keep(name):
                continue
            if shares is not None:
                if name not in shares:
                    continue
                share = shares[name]
            total += chars
            found += chars * share / 100.0
        result[label] = (100.0 * found / total if total else 0.0, int(total))
    return result


def main():
    table = rows(sys.argv[1])
    for label, (share, total) in summary(table).items():
        print(f"measured {label:9} {share:6.2f}% of {total} reference characters")
    if len(sys.argv) > 2:
        stored = {}
        for line in open(sys.argv[2], encoding="utf-8"):
            if line.startswith("#") or "\t" not in line:
                continue
            name, share = line.rstrip("\n").split("\t")
            stored[name] = float(share)
        for label, (share, total) in summary(table, stored).items():
            print(f"stored   {label:9} {share:6.2f}% of {total} reference characters (files with a stored figure)")


if __name__ == "__main__":
    main()
