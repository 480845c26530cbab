#!/usr/bin/env python3
"""Compares two summaries in jww_check's --objects format: the same rows, the same words, numbers
equal within 1e-9 relative (exact for integers and zero). Prints the first differences and exits 1.
Usage: compare_summaries.py OURS THEIRS NAME"""
import sys

RELATIVE = 1e-9
SHOWN = 10


def number(word):
    try:
        return float(word)
    except ValueError:
        return None


def same_word(a, b):
    if a == b:
        return True
    x, y = number(a), number(b)
    if x is None or y is None:
        return False
    return abs(x - y) <= RELATIVE * max(abs(x), abs(y))


def main():
    ours_path, theirs_path, name = sys.argv[1:4]
    # The summaries carry Shift-JIS bytes (layer names): compared as bytes, whatever the locale.
    with open(ours_path, encoding="latin-1") as f:
        ours = f.read().splitlines()
    with open(theirs_path, encoding="latin-1") as f:
        theirs = f.read().splitlines()
    if len(ours) < 5 or not ours[0].startswith("paper "):
        print(f"{name}: our reader gave no summary")
        return 1
    problems = []
    if len(ours) != len(theirs):
        problems.append(f"{len(ours)} rows from our reader, {len(theirs)} from jwwlib")
    for row, (a, b) in enumerate(zip(ours, theirs), start=1):
        wa, wb = a.split(), b.split()
        if len(wa) != len(wb) or not all(same_word(x, y) for x, y in zip(wa, wb)):
            problems.append(f"row {row}: ours '{a}' / jwwlib '{b}'")
            if len(problems) > SHOWN:
                break
    if problems:
        print(f"{name}: our reader and jwwlib disagree")
        for problem in problems[:SHOWN]:
            print(f"    {problem}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
