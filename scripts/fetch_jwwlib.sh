#!/usr/bin/env bash
# Fetches LibreCAD's source package from Debian (bookworm main) into build/third_party/ once and
# prints the folder that holds its JWW reader (jwwlib). The tests build that reader as a second,
# independent check of the files we write; nothing of it goes into our programs.
# Progress goes to stderr; stdout is the one path, so callers can capture it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${VELMORA_THIRD_PARTY:-$root/build/third_party}
mkdir -p "$cache"

find_jwwlib() {  # the newest unpacked tree that has the reader's sources
  local dir
  for dir in $(ls -d "$cache"/librecad-*/libraries/jwwlib/src 2>/dev/null | sort -V -r); do
    if [[ -f "$dir/dl_jww.cpp" && -f "$dir/jwwdoc.cpp" && -f "$dir/jwwdoc.h" ]]; then
      echo "$dir"
      return 0
    fi
  done
  return 1
}

# Two test runs at once must not unpack into the same folder together.
exec 9>"$cache/.fetch_jwwlib.lock"
flock 9

if found=$(find_jwwlib); then
  echo "$found"
  exit 0
fi

sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)

# apt-get source unpacks with dpkg-source, which comes with dpkg-dev.
if [[ $(dpkg-query -W -f='${Status}' dpkg-dev 2>/dev/null || true) != "install ok installed" ]]; then
  echo "== installing dpkg-dev (apt-get source needs it)" >&2
  "${sudo_cmd[@]}" apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends dpkg-dev >&2
fi

# A deb-src entry for bookworm main; the machine's own list has binary entries only.
sources=/etc/apt/sources.list.d/velmora-deb-src.sources
updated=false
if [[ ! -f "$sources" ]]; then
  echo "== adding $sources" >&2
  "${sudo_cmd[@]}" tee "$sources" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  "${sudo_cmd[@]}" apt-get update -qq >&2
  updated=true
fi

fetch() { (cd "$cache" && apt-get source -qq librecad >&2); }

echo "== fetching LibreCAD's source package into $cache" >&2
# The source index may be missing or stale until apt-get update has seen the deb-src entry.
if ! fetch; then
  $updated || "${sudo_cmd[@]}" apt-get update -qq >&2 || true
  if ! fetch; then
    echo "fetch_jwwlib: apt-get source librecad failed (is Debian's archive reachable?)" >&2
    exit 1
  fi
fi

if ! found=$(find_jwwlib); then
  echo "fetch_jwwlib: the unpacked librecad source has no libraries/jwwlib/src with dl_jww.cpp and jwwdoc.cpp" >&2
  exit 1
fi
echo "$found"
