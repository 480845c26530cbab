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
expect two-inputs 1 'more than one input file' -- a.pdf b.pdf
expect unreadable-input 1 "cannot read '$work/none.pdf'" -- "$work/none.pdf"
expect directory-input 1 "cannot read" -- "$work"

# A file the reader cannot take, without Ghostscript: the fallback is refused, status 2, and the
# driver's Japanese texts reach stderr in UTF-8.
printf 'not a pdf' >"$work/broken.pdf"
expect direct-route-fails 2 "could not be read" -- --route direct -q "$work/broken.pdf"
expect fallback-prompt-in-utf8 2 '「単独変換」で変換できませんでした' -- --route direct -q "$work/broken.pdf"
# Ghostscript rejects it too (it writes a blank page whatever happens; its status tells).
expect gs-route-fails 2 "could not be read: Ghostscript failed" -- --route gs -q "$work/broken.pdf"

# The sample converts beside a chosen name, and the strict reader takes the file.
cp "$repo/samples/sample_plan.pdf" "$work/plan.pdf"
expect sample-converts 0 'page 1: [0-9]* lines' -- "$work/plan.pdf"
if "$jww_check" "$work/plan.jww" >/dev/null; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: plan.jww is not a valid JWW file"; fi
mkdir -p "$work/out"
expect output-option 0 "-> $work/out/one.jww" -- -o "$work/out/one.jww" --scale 1/50 "$work/plan.pdf"
expect svg-beside-jww 0 "-> $work/plan.jww, $work/plan.svg" -- --svg "$work/plan.pdf"
if grep -q '<svg xmlns="http://www.w3.org/2000/svg"' "$work/plan.svg"; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: --svg did not write plan.svg"; fi
expect no-such-page 1 'there is no page 2 (the file has 1)' -- -p 2 "$work/plan.pdf"
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

expect report-bad-page 1 'there is no page 2' -- --report "$work/never.txt" -p 2 "$work/plan.pdf"
if [[ ! -e "$work/never.txt" ]]; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: a report was written for a page list the file lacks"; fi

# An error met on a later page (here the text cap of page 2) is said with its page, even with -q.
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
expect later-page-error 0 'page 2: １頁当たりの文字数が設定値を超えているため この頁の文字を最後まで' -- -q -o "$work/texts" "$work/texts.pdf"
output=$(cd "$work" && "$convert" -q -p 1 -o "$work/texts1.jww" "$work/texts.pdf" 2>&1)
if ! grep -q 'page 1: ' <<<"$output"; then passed=$((passed + 1)); else
  failed=$((failed + 1)); echo "FAIL: page 1 of texts.pdf reported an error: $output"; fi

# --list: the page list rows on stdout in UTF-8, and nothing converted.
cp "$work/plan.pdf" "$work/listed.pdf"
rows=$(cd "$work" && "$convert" --list -q "$work/listed.pdf" 2>/dev/null)
status=$?
if [[ $status -eq 0 ]] && grep -q '^   1  A[0-9]/  0° 1/   1 ' <<<"$rows" && [[ ! -e "$work/listed.jww" ]]; then
  passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: --list (status $status): $rows"; fi

echo "cli: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
