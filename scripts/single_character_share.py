#!/usr/bin/env python3
"""Share of single-character texts among the non-empty texts written for page 1 of every corpus
file (read from the --svg pictures), and the texts per page. Usage:
single_character_share.py VELMORA_CONVERT CORPUS_DIR [extra velmora-convert options...]"""
import glob
import os
import subprocess
import sys
import tempfile

from svg_texts import svg_texts


def main():
    convert, corpus, extra = sys.argv[1], sys.argv[2], sys.argv[3:]
    total = single = 0
    for pdf in sorted(glob.glob(os.path.join(corpus, "*.pdf"))):
        with tempfile.TemporaryDirectory() as work:
            copy = os.path.join(work, "input.pdf")
            with open(pdf, "rb") as source, open(copy, "wb") as target:
                target.write(source.read())
            subprocess.run([convert, "-q", "--route", "direct", "--svg", *extra, copy], capture_output=True, timeout=300)
            pictures = sorted(glob.glob(os.path.join(work, "*.svg")))
            if not pictures:
                continue
            with open(pictures[0], encoding="utf-8") as f:
                texts = [t.strip() for t in svg_texts(f.read())]
        texts = [t for t in texts if t]
        ones = sum(1 for t in texts if len(t) == 1)
        total += len(texts)
        single += ones
        if texts:
            print(f"{os.path.basename(pdf)[:-4]:44} {len(texts):6d} {ones:6d} {100.0 * ones / len(texts):6.1f}%")
    print(f"{'all page 1':44} {total:6d} {single:6d} {100.0 * single / max(total, 1):6.1f}%")


if __name__ == "__main__":
    main()
