#!/usr/bin/env python3
"""How much of each PDF's reference text (pdftotext, NAME.txt beside NAME.pdf in the corpus) the
converter's texts contain. Converts every page with --svg and reads the texts from the pictures.
Share = characters of the reference (white space ignored) found in our texts, counted as a
multiset. Usage: text_coverage.py VELMORA_CONVERT CORPUS_DIR [NAME ...]
       text_coverage.py --check FIGURES VELMORA_CONVERT CORPUS_DIR
With --check FIGURES (lines "NAME<TAB>share in percent"), each file named there must keep its
share (0.1 points of slack for rounding); a file that falls below is named, and the exit status
is 1."""
import collections
import os
import subprocess
import sys
import tempfile

from svg_texts import svg_texts


# Protected corpus files and the user passwords their manifest names.
PASSWORDS = {"encrypted_libreoffice_01": "openpassword", "encrypted_aes256_r6_01": "usersecret"}


def our_texts(convert, pdf, work):
    # Converted beside a copy, so one-page and many-page files name their outputs alike.
    copy = os.path.join(work, "input.pdf")
    with open(pdf, "rb") as source, open(copy, "wb") as target:
        target.write(source.read())
    password = PASSWORDS.get(os.path.basename(pdf)[:-4])
    options = ["--password", password] if password else []
    result = subprocess.run([convert, "-q", "--route", "direct", "--svg", *options, copy], capture_output=True,
                            timeout=300)
    if result.returncode != 0:
        return None
    texts = []
    for name in sorted(os.listdir(work)):
        if name.endswith(".svg"):
            with open(os.path.join(work, name), encoding="utf-8") as f:
                texts += svg_texts(f.read())
    return "".join(texts)


SLACK = 0.1  # percentage points


def measure(convert, corpus, name):
    """(reference characters, our characters, share in percent or None), or None when the
    direct route does not read the file."""
    with open(os.path.join(corpus, name + ".txt"), encoding="utf-8", errors="replace") as f:
        reference = collections.Counter(c for c in f.read() if not c.isspace() and c != "\f")
    with tempfile.TemporaryDirectory() as work:
        ours = our_texts(convert, os.path.join(corpus, name + ".pdf"), work)
    if ours is None:
        return None
    found = collections.Counter(c for c in ours if not c.isspace())
    total = sum(reference.values())
    hit = sum(min(count, found[c]) for c, count in reference.items())
    return total, sum(found.values()), (100 * hit / total if total else None)

# Without the real-world files beside the clone the check is skipped, and ctest counts it so.
SKIPPED = "skipped: real-world PDF corpus not found; set VELMORA_TEST_DATA=DIR"
SKIP_STATUS = 77


def check(convert, corpus, figures_path):
    passed = failed = 0
    with open(figures_path, encoding="utf-8") as f:
        figures = [line.split("\t") for line in f if line.strip() and not line.startswith("#")]
    for name, stored in figures:
        stored = float(stored)
        result = measure(convert, corpus, name)
        share = result[2] if result and result[2] is not None else 0.0
        if share + SLACK >= stored:
            passed += 1
        else:
            failed += 1
            print(f"FAIL {name}: {share:.1f}% of the reference text, stored {stored:.1f}%")
    print(f"{passed} passed, {failed} failed")
    return failed == 0


def main():
    if len(sys.argv) >= 5 and sys.argv[1] == "--check":
        if not os.path.isdir(sys.argv[4]):
            print(SKIPPED)
            sys.exit(SKIP_STATUS)
        sys.exit(0 if check(sys.argv[3], sys.argv[4], sys.argv[2]) else 1)
    convert, corpus = sys.argv[1], sys.argv[2]
    names = sys.argv[3:] or sorted(n[:-4] for n in os.listdir(corpus) if n.endswith(".pdf"))
    print(f"{'file':44} {'ref chars':>9} {'ours':>7} {'found':>6}")
    for name in names:
        if not os.path.exists(os.path.join(corpus, name + ".txt")):
            continue
        result = measure(convert, corpus, name)
        if result is None:
            print(f"{name:44} {'not read directly':>24}")
            continue
        total, ours, share = result
        share_text = f"{share:5.1f}%" if share is not None else "  -  "
        print(f"{name:44} {total:9d} {ours:7d} {share_text:>6}")


if __name__ == "__main__":
    main()
