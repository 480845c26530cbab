#!/usr/bin/env python3
"""How much of each PDF's reference text (pdftotext, NAME.txt beside NAME.pdf in the corpus) the
converter's texts contain. Converts every page with --svg and reads the texts from the pictures.
Share = characters of the reference (white space ignored) found in our texts, counted as a
multiset. Usage: text_coverage.py VELMORA_CONVERT CORPUS_DIR [NAME ...]"""
import collections
import html
import os
import re
import subprocess
import sys
import tempfile


def our_texts(convert, pdf, work):
    # Converted beside a copy, so one-page and many-page files name their outputs alike.
    copy = os.path.join(work, "input.pdf")
    with open(pdf, "rb") as source, open(copy, "wb") as target:
        target.write(source.read())
    result = subprocess.run([convert, "-q", "--route", "direct", "--svg", copy], capture_output=True, timeout=300)
    if result.returncode != 0:
        return None
    texts = []
    for name in sorted(os.listdir(work)):
        if name.endswith(".svg"):
            with open(os.path.join(work, name), encoding="utf-8") as f:
                texts += [html.unescape(t) for t in re.findall(r"<text[^>]*>([^<]*)</text>", f.read())]
    return "".join(texts)


def main():
    convert, corpus = sys.argv[1], sys.argv[2]
    names = sys.argv[3:] or sorted(n[:-4] for n in os.listdir(corpus) if n.endswith(".pdf"))
    print(f"{'file':44} {'ref chars':>9} {'ours':>7} {'found':>6}")
    for name in names:
        reference_path = os.path.join(corpus, name + ".txt")
        if not os.path.exists(reference_path):
            continue
        with open(reference_path, encoding="utf-8", errors="replace") as f:
            reference = collections.Counter(c for c in f.read() if not c.isspace() and c != "\f")
        with tempfile.TemporaryDirectory() as work:
            ours = our_texts(convert, os.path.join(corpus, name + ".pdf"), work)
        if ours is None:
            print(f"{name:44} {'not read directly':>24}")
            continue
        found = collections.Counter(c for c in ours if not c.isspace())
        total = sum(reference.values())
        hit = sum(min(count, found[c]) for c, count in reference.items())
        share = f"{100 * hit / total:5.1f}%" if total else "  -  "
        print(f"{name:44} {total:9d} {sum(found.values()):7d} {share:>6}")


if __name__ == "__main__":
    main()
