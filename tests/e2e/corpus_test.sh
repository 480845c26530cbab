#!/usr/bin/env bash
# The real-world corpus through velmora-convert: every file either converts all its pages (exit
# 0, every .jww taken by the strict reader, every .svg well-formed) or ends with exit 2 and a
# message; never a crash, a sanitizer report or a hang.
# Usage: corpus_test.sh <velmora-convert> <jww_check> <corpus dir> <list of files that load directly>
#   With VELMORA_GS_FILES set (blank-separated corpus names, STATUS:NAME), those files go through
#   --route gs instead and must end with the given status.
set -u
convert=$1
jww_check=$2
corpus=$3
known_direct=$4
if [[ ! -d "$corpus" ]]; then
  echo "skipped: real-world PDF corpus not found; set VELMORA_TEST_DATA=DIR"
  exit 77  # ctest's skip status for this test
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

fail() {
  failed=$((failed + 1))
  echo "FAIL: $*"
}

# Pages of each corpus file, from the manifest (column "pages").
declare -A pages_of
while read -r file pages; do
  pages_of[$file]=$pages
done < <(awk -F'\t' '$1 ~ /\.pdf$/ && $11 ~ /^[0-9]+$/ { print $1, $11 }' "$corpus/MANIFEST.tsv")

# run NAME ROUTE: converts one corpus file in a folder of its own; sets $status and $output.
run() {
  local name=$1 route=$2
  local folder="$work/$route/${name%.pdf}"
  mkdir -p "$folder"
  ln -s "$corpus/$name" "$folder/in.pdf"
  output=$(timeout 300 "$convert" -q --svg --route "$route" "$folder/in.pdf" 2>&1)
  status=$?
}

# check_outputs NAME ROUTE: one .jww and one .svg per page, each readable.
check_outputs() {
  local name=$1 route=$2
  local folder="$work/$route/${name%.pdf}"
  local wanted=${pages_of[$name]:-}
  local jww_count svg_count
  jww_count=$(find "$folder" -name '*.jww' | wc -l)
  svg_count=$(find "$folder" -name '*.svg' | wc -l)
  if [[ -n $wanted && ( $jww_count -ne $wanted || $svg_count -ne $wanted ) ]]; then
    fail "$name ($route): $jww_count .jww and $svg_count .svg files for $wanted pages"
    return
  fi
  local jww
  for jww in "$folder"/*.jww; do
    if ! "$jww_check" "$jww" >/dev/null 2>"$work/check.err"; then
      fail "$name ($route): $(basename "$jww") is not a valid JWW file: $(head -c 300 "$work/check.err")"
      return
    fi
  done
  passed=$((passed + 1))
}

# Status 0 or 2 only, nothing from the sanitizers, and a message for status 2.
check_run() {
  local name=$1 route=$2
  if grep -q -e 'Sanitizer' -e 'runtime error:' <<<"$output"; then
    fail "$name ($route): sanitizer report"
    sed 's/^/    /' <<<"$output" | head -40
    return 1
  fi
  case $status in
    0) return 0 ;;
    2) if grep -q "could not be read" <<<"$output"; then return 0; fi
       fail "$name ($route): status 2 without the message"; return 1 ;;
    124) fail "$name ($route): no end within 300 s"; return 1 ;;
    *) fail "$name ($route): status $status"; sed 's/^/    /' <<<"$output" | tail -20; return 1 ;;
  esac
}

# The direct route on every file.
declare -A loaded
for path in "$corpus"/*.pdf; do
  name=$(basename "$path")
  run "$name" direct
  check_run "$name" direct || continue
  if [[ $status -eq 0 ]]; then
    loaded[$name]=1
    check_outputs "$name" direct
  else
    passed=$((passed + 1))
  fi
done

# A file that loaded directly before must still load.
while read -r name; do
  [[ -z $name || $name == \#* ]] && continue
  [[ -n ${loaded[$name]:-} ]] || fail "$name no longer loads directly"
done <"$known_direct"
for name in "${!loaded[@]}"; do
  grep -qx "$name" "$known_direct" || echo "note: $name now loads directly; add it to $(basename "$known_direct")"
done

# The Ghostscript route on the chosen files.
if [[ -n ${VELMORA_GS_FILES:-} ]]; then
  if ! command -v gs >/dev/null; then
    fail "Ghostscript (gs) is not installed; scripts/install_deps.sh --tests installs it"
  else
    for entry in $VELMORA_GS_FILES; do
      wanted=${entry%%:*}
      name=${entry#*:}
      run "$name" gs
      check_run "$name" gs || continue
      if [[ $status -ne $wanted ]]; then
        fail "$name (gs): status $status, wanted $wanted"
        sed 's/^/    /' <<<"$output" | tail -10
      elif [[ $status -eq 0 ]]; then
        check_outputs "$name" gs
      else
        passed=$((passed + 1))
      fi
    done
  fi
fi

# Every picture is well-formed XML.
if ! python3 - "$work" <<'EOF'
import pathlib, sys, xml.etree.ElementTree as ET
bad = 0
for svg in sorted(pathlib.Path(sys.argv[1]).rglob("*.svg")):
    try:
        root = ET.parse(svg).getroot()
        assert root.tag == "{http://www.w3.org/2000/svg}svg", root.tag
    except Exception as error:
        print(f"FAIL: {svg}: {error}")
        bad += 1
sys.exit(1 if bad else 0)
EOF
then failed=$((failed + 1)); else passed=$((passed + 1)); fi

echo "corpus: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
