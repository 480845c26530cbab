#!/usr/bin/env bash
# velmora-convert from the outside: options, exit statuses, messages.
# Usage: cli_test.sh <velmora-convert> <repo> <jww_check>
set -u
convert=$1
repo=$2
jww_check=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# expect NAME STATUS PATTERN -- ARGS... : the exit status and a pattern in stdout+stderr.
expect() {
  local name=$1 status=$2 pattern=$3
  shift 4
  local output actual
  output=$(cd "$work" && "$convert" "$@" 2>&1)
  actual=$?
  if [[ $actual -eq $status ]] && grep -q -- "$pattern" <<<"$output"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $name: status $actual (wanted $status), output:"
    sed 's/^/    /' <<<"$output"
  fi
}

expect version 0 '^Velmora ver 1.5$' -- --version
expect help 0 'usage: velmora-convert' -- --help
expect short-help 0 '--route R' -- -h
expect no-input 1 'no input file' --
expect unknown-option 1 "unknown option '--frobnicate'" -- --frobnicate x.pdf
expect missing-value 1 "option '--output' needs a value" -- x.pdf --output
expect bad-pages 1 "bad page list '2-1'" -- -p 2-1 x.pdf
expect bad-scale 1 "bad scale '1/0'" -- --scale 1/0 x.pdf
expect bad-route 1 "bad route 'fast'" -- --route=fast x.pdf
expect flag-with-value 1 "takes no value" -- --quiet=yes x.pdf
expect two-missing-inputs 1 "cannot read 'b.pdf'" -- a.pdf b.pdf
expect quiet-and-verbose 1 '\-q and -v exclude each other' -- -q -v a.pdf
expect unreadable-input 1 "cannot read '$work/none.pdf'" -- "$work/none.pdf"
expect directory-input 1 "cannot read" -- "$work"

# A file the reader cannot take, without Ghostscript: the fallback is refused, status 2, and the
# reason is said in UTF-8; -v shows the window's prompt too.
printf 'not a pdf' >"$work/broken.pdf"
expect direct-route-fails 2 "error: '$work/broken.pdf' could not be read: ヘッダが見つかりません" -- --route direct -q "$work/broken.pdf"
expect verbose-shows-the-prompt 2 '「単独変換」で変換できませんでした' -- --route direct -v "$work/broken.pdf"
# Ghostscript rejects it too (it writes a blank page whatever happens; its status tells).
expect gs-route-fails 2 "could not be read: Ghostscript failed" -- --route gs -q "$work/broken.pdf"

# The sample converts beside a chosen name, and the strict reader takes the file.
cp "$repo/samples/sample_plan.pdf" "$work/plan.pdf"
expect sample-converts 0 'page 1: [0-9]* lines' -- "$work/plan.pdf"
# A successful conversion prints its written page on stdout and nothing on stderr.
stdout=$(cd "$work" && "$convert" "$work/plan.pdf" 2>"$work/stderr.txt")
if [[ $? -eq 0 && ! -s "$work/stderr.txt" && $stdout == "page 1: "*" lines, "*" texts -> $work/plan.jww" ]]; then
  passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: quiet success: stdout '$stdout', stderr: $(cat "$work/stderr.txt")"; fi
# The counts printed are the file's: the lines left after dash run merging, the texts written.
written=$("$jww_check" "$work/plan.jww" | grep -E '^(lines|texts) ' | tr '\n' ' ')
printed=$(sed -E 's/^page 1: ([0-9]+) lines, ([0-9]+) texts.*/lines \1 texts \2 /' <<<"$stdout")
if [[ -n $written && $written == "$printed" ]]; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: printed counts '$printed', the file holds '$written'"; fi
# Settings are found beside the program from any folder; a folder without JWsxf.dat is one clear error.
mkdir -p "$work/nosxf"
expect verbose-names-the-settings 0 "settings: .*VELMORA.JWF" -- -v "$work/plan.pdf"
expect config-without-sxf 1 "error: cannot read $work/nosxf/JWsxf.dat" -- --config "$work/nosxf" -o "$work/out/x.jww" "$work/plan.pdf"
expect verbose-shows-the-boxes 0 '\[変換終了\] 単独変換で 1 頁 読込・変換しました' -- -v "$work/plan.pdf"
if "$jww_check" "$work/plan.jww" >/dev/null; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: plan.jww is not a valid JWW file"; fi
mkdir -p "$work/out"
expect output-option 0 "-> $work/out/one.jww" -- -o "$work/out/one.jww" --scale 1/50 "$work/plan.pdf"
expect svg-beside-jww 0 "-> $work/plan.jww, $work/plan.svg" -- --svg "$work/plan.pdf"
if grep -q '<svg xmlns="http://www.w3.org/2000/svg"' "$work/plan.svg"; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: --svg did not write plan.svg"; fi
expect no-such-page 1 'has no page 2 (the file has 1)' -- -p 2 "$work/plan.pdf"
# -o naming an existing directory takes a one-page file into it.
expect output-directory 0 "-> $work/out/plan.jww" -- -o "$work/out" "$work/plan.pdf"
expect unwritable-output 3 '' -- -q -o "$work/missing-dir/x.jww" "$work/plan.pdf"
if "$jww_check" "$work/out/one.jww" | grep -q '^scale 50$'; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: --scale 1/50 did not reach the file"; fi

# --report: the report in Shift-JIS with CR LF line ends, then the pages converted as usual; a
# directory takes the name the window offers; a report that cannot be written is status 3.
expect report-written 0 "report -> $work/plan-report.txt" -- --report "$work/plan-report.txt" "$work/plan.pdf"
if [[ $(head -c 11 "$work/plan-report.txt") == "FileName : " ]] &&
   [[ $(grep -c $'\r$' "$work/plan-report.txt") -eq $(wc -l <"$work/plan-report.txt") ]] &&
   iconv -f CP932 -t UTF-8 "$work/plan-report.txt" | grep -q '^====================  オブジェクト一覧  ===================='; then
  passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: the report is not Shift-JIS text with CR LF"; fi
mkdir -p "$work/reports"
expect report-into-directory 0 "report -> $work/reports/plan_PDFreport.txt" -- --report "$work/reports" "$work/plan.pdf"
rm -f "$work/plan.jww"
expect report-unwritable 3 "cannot write the report '$work/missing-dir/r.txt'" -- --report "$work/missing-dir/r.txt" "$work/plan.pdf"
if [[ -f "$work/plan.jww" ]]; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: a failed report stopped the conversion"; fi

expect report-bad-page 1 'has no page 2' -- --report "$work/never.txt" -p 2 "$work/plan.pdf"
if [[ ! -e "$work/never.txt" ]]; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: a report was written for a page list the file lacks"; fi

# Lost content met on a later page (here the text cap of page 2) is a warning with its page.
python3 - "$repo/samples" "$work/texts.pdf" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
from make_samples import build_pdf
many = b"BT /F1 10 Tf " + b"(a) Tj " * 10001 + b"ET"
page = (b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >> >> "
        b"/Contents %d 0 R >>")
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [4 0 R 5 0 R] /Count 2 >>",
           b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
           page % 6, page % 7, b"<< /Length 13 >>\nstream\n0 0 m 9 9 l S\nendstream",
           b"<< /Length %d >>\nstream\n" % len(many) + many + b"\nendstream"]
open(sys.argv[2], "wb").write(build_pdf(objects))
PY
expect later-page-warning 0 'warning: page 2: １頁当たりの文字数が設定値を超えているため この頁の文字を最後まで' -- -o "$work/texts" "$work/texts.pdf"
output=$(cd "$work" && "$convert" -p 1 -o "$work/texts1.jww" "$work/texts.pdf" 2>&1 >/dev/null)
if [[ -z $output ]]; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: page 1 of texts.pdf said more than its page: $output"; fi
output=$(cd "$work" && "$convert" -q -o "$work/texts-q" "$work/texts.pdf" 2>&1)
if [[ -z $output ]]; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: -q said more than errors: $output"; fi

# A font whose codes cannot be read (a composite font without ToUnicode of an ordering without a
# table): its texts keep their places as placeholders, and both are said once as warnings; the
# conversion succeeds.
python3 - "$repo/samples" "$work/lost-font.pdf" <<'PY'
import sys
sys.path.insert(0, sys.argv[1])
from make_samples import build_pdf
content = b"0 0 m 100 100 l S BT /F1 12 Tf 10 10 Td <0001> Tj ET BT /F1 12 Tf 10 40 Td <0002> Tj ET"
objects = [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [4 0 R] /Count 1 >>",
           b"<< /Type /Font /Subtype /Type0 /BaseFont /SimSun /Encoding /Identity-H /DescendantFonts [6 0 R] >>",
           b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 3 0 R >> >> /Contents 5 0 R >>",
           b"<< /Length %d >>\nstream\n" % len(content) + content + b"\nendstream",
           b"<< /Type /Font /Subtype /CIDFontType0 /BaseFont /SimSun "
           b"/CIDSystemInfo << /Registry (Adobe) /Ordering (GB1) /Supplement 2 >> >>"]
open(sys.argv[2], "wb").write(build_pdf(objects))
PY
stdout=$(cd "$work" && "$convert" "$work/lost-font.pdf" 2>"$work/stderr.txt")
status=$?
if [[ $status -eq 0 && $(wc -l <"$work/stderr.txt") -eq 2 ]] &&
   grep -q '^velmora-convert: warning: page 1: ShiftJisに変換できない' "$work/stderr.txt" &&
   grep -q '^velmora-convert: warning: page 1: 文字コードを解読できない文字列を「〓」で書きました（2 件）' "$work/stderr.txt" &&
   [[ $stdout == "page 1: 1 lines, 2 texts"* ]]; then
  passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: lost font (status $status): $stdout / $(cat "$work/stderr.txt")"; fi

# Several inputs into one directory: each under its own name; a broken one is said and skipped,
# and the worst status wins.
cp "$repo/samples/sample_section.pdf" "$work/section.pdf"
stdout=$(cd "$work" && "$convert" --route direct -o "$work/many" "$work/plan.pdf" "$work/broken.pdf" "$work/section.pdf" 2>"$work/stderr.txt")
status=$?
if [[ $status -eq 2 && -f "$work/many/plan.jww" && -f "$work/many/section.jww" ]] &&
   [[ $(grep -c '^page 1: ' <<<"$stdout") -eq 2 && $(grep -c 'error: ' "$work/stderr.txt") -eq 1 ]] &&
   grep -q "error: '$work/broken.pdf' could not be read" "$work/stderr.txt"; then
  passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: three inputs (status $status): $stdout / $(cat "$work/stderr.txt")"; fi

# --list: the page list rows on stdout in UTF-8, and nothing converted.
cp "$work/plan.pdf" "$work/listed.pdf"
rows=$(cd "$work" && "$convert" --list -q "$work/listed.pdf" 2>/dev/null)
status=$?
if [[ $status -eq 0 ]] && grep -q '^   1  A[0-9]/  0° 1/   1 ' <<<"$rows" && [[ ! -e "$work/listed.jww" ]]; then
  passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: --list (status $status): $rows"; fi

# Folders: a tree of generated PDFs (any-case .pdf) and one broken file, two at a time in
# processes of their own. The layout is kept under -o, the broken file is one error, the worst
# status wins, and every output equals the one a single run writes.
tree="$work/tree"
mkdir -p "$tree/a/b" "$tree/c"
python3 "$repo/tests/win32/make_plain_pages.py" "$tree/one.pdf" 1 lines
python3 "$repo/tests/win32/make_plain_pages.py" "$tree/a/two.PDF" 2 lines
python3 "$repo/tests/win32/make_plain_pages.py" "$tree/a/b/three.Pdf" 1 lines
cp "$work/plan.pdf" "$tree/c/plan.pdf"
printf 'not a pdf' >"$tree/c/broken.pdf"
printf 'not a drawing' >"$tree/c/notes.txt"
stdout=$(cd "$work" && "$convert" -r -j 2 --route direct -o "$work/batch" "$tree" 2>"$work/stderr.txt")
status=$?
layout=$(cd "$work/batch" 2>/dev/null && find . -type f | sort | tr '\n' ' ')
wanted="./a/b/three.jww ./a/two-01.jww ./a/two-02.jww ./c/plan.jww ./one.jww "
same=yes
"$convert" -q --route direct -o "$work/single/" "$tree/a/two.PDF" && "$convert" -q -o "$work/single/" "$tree/c/plan.pdf" || same=no
for name in two-01 two-02; do cmp -s "$work/single/$name.jww" "$work/batch/a/$name.jww" || same=no; done
cmp -s "$work/single/plan.jww" "$work/batch/c/plan.jww" || same=no
if [[ $status -eq 2 && $layout == "$wanted" && $same == yes && $(grep -c 'error: ' "$work/stderr.txt") -eq 1 ]] &&
   grep -q '^5 files: 4 converted, 0 with warnings, 1 failed$' <<<"$stdout" && [[ ! -s "$work/batch/c/notes.jww" ]]; then
  passed=$((passed + 1)); else failed=$((failed + 1))
  echo "FAIL: folder batch (status $status, layout '$layout', same $same): $stdout / $(cat "$work/stderr.txt")"; fi
expect folder-summary 0 '^1 files: 1 converted, 0 with warnings, 0 failed$' -- -o "$work/flat" "$tree"

echo "cli: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
