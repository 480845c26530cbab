#!/usr/bin/env bash
# Installs the Debian packages the build (and, with --tests, the test run) needs; only what
# is missing, so a prepared machine starts at once.
set -euo pipefail

build_packages=(cmake make g++ zlib1g-dev googletest python3 ghostscript poppler-data
                mingw-w64 g++-mingw-w64-x86-64-posix libz-mingw-w64-dev libgcrypt20-dev
                libgcrypt-mingw-w64-dev zip)
test_packages=(wine wine64 xvfb xdotool x11-utils imagemagick fonts-ipafont-gothic
               fonts-ipafont-mincho fonts-wine locales ghostscript qpdf dpkg-dev clang libclang-rt-14-dev
               mupdf-tools)

packages=("${build_packages[@]}")
if [[ "${1:-}" == "--tests" ]]; then packages+=("${test_packages[@]}"); fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]})); then
  echo "== installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    >/dev/null
fi

# Wine's ANSI functions speak code page 932 only under a Japanese locale.
if [[ "${1:-}" == "--tests" ]] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "== generating the ja_JP.UTF-8 locale"
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
