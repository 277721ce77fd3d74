#!/usr/bin/env bash
# Installs, as root on Debian 12, what both builds and all tests need.
# Idempotent: quick when everything is already present.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build_root="${TALLYO_BUILD_ROOT:-$here/build}"

packages=(
  git cmake g++ make clang clang-format libclang-rt-14-dev
  libgtest-dev libbenchmark-dev libtinyxml-dev libcli11-dev libical-dev libcurl4-openssl-dev
  mingw-w64 g++-mingw-w64-x86-64-posix
  wine64 xvfb xdotool xclip x11-apps imagemagick fonts-wqy-microhei
  dpkg-dev python3 python3-pil python3-fonttools
  hyperfine time
  radicale
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# TinyXML's source for the mingw build comes from Debian's source package,
# fetched through a private apt configuration so the machine's own stays untouched.
src_dir="$build_root/deps/tinyxml-src"
if [ ! -f "$src_dir/tinyxml.h" ]; then
  apt_dir="$build_root/deps/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d" "$build_root/deps/fetch"
  uris=$( (grep -rhoE '^(deb|URIs:)[^#]*' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null || true) \
         | grep -oE 'https?://[^ ]+' | awk '/debian/ && !/security/ { print; exit }')
  uris="${uris:-http://deb.debian.org/debian}"
  echo "deb-src $uris bookworm main" > "$apt_dir/sources.list"
  apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
            -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
            -o "Dir::State::Lists=$apt_dir/lists"
            -o "Dir::Cache::Archives=$apt_dir/archives"
            -o "Debug::NoLocking=1")
  apt-get "${apt_opts[@]}" update -qq
  (cd "$build_root/deps/fetch" && apt-get "${apt_opts[@]}" source --download-only -qq tinyxml 2>&1 | grep -v "unsandboxed" || true)
  rm -rf "$src_dir" "$build_root/deps/fetch/unpacked"
  (cd "$build_root/deps/fetch" && dpkg-source --no-check -x tinyxml_*.dsc unpacked >/dev/null)
  mkdir -p "$src_dir"
  cp "$build_root/deps/fetch/unpacked"/tiny*.{h,cpp} "$src_dir/"
  # Debian's patches (security fixes) are applied by dpkg-source -x above.
fi
echo "setup: ready"
