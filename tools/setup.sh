#!/usr/bin/env bash
# Installs, as root on Debian 12, what both builds and all tests need.
# Idempotent: quick when everything is already present.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build_root="${TALLYO_BUILD_ROOT:-$here/build}"

packages=(
  git cmake g++ make clang clang-format libclang-rt-14-dev
  libgtest-dev libbenchmark-dev libtinyxml-dev libcli11-dev libical-dev
  mingw-w64 g++-mingw-w64-x86-64-posix
  wine64 xvfb xdotool xclip x11-apps imagemagick fonts-wqy-microhei
  dpkg-dev perl python3 python3-pil python3-fonttools
  hyperfine time
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

# The sources of the mingw build's libraries come from Debian's source
# packages, fetched through a private apt configuration in the build folder
# so the machine's own stays untouched. Debian's patches (security fixes)
# are applied by dpkg-source -x.
apt_dir="$build_root/deps/apt"
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
          -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
          -o "Dir::State::Lists=$apt_dir/lists"
          -o "Dir::Cache::Archives=$apt_dir/archives"
          -o "Debug::NoLocking=1")
apt_ready=0

# fetch_debian_source PACKAGE: downloads PACKAGE's source into
# deps/fetch/PACKAGE and unpacks it into deps/fetch/PACKAGE/unpacked.
fetch_debian_source() {
  local package="$1" fetch="$build_root/deps/fetch/$1"
  if [ "$apt_ready" -eq 0 ]; then
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d"
    local uris
    uris=$( (grep -rhoE '^(deb|URIs:)[^#]*' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null || true) \
           | grep -oE 'https?://[^ ]+' | awk '/debian/ && !/security/ { print; exit }')
    uris="${uris:-http://deb.debian.org/debian}"
    echo "deb-src $uris bookworm main" > "$apt_dir/sources.list"
    apt-get "${apt_opts[@]}" update -qq
    apt_ready=1
  fi
  rm -rf "$fetch" && mkdir -p "$fetch"
  (cd "$fetch" && apt-get "${apt_opts[@]}" source --download-only -qq "$package" 2>&1 \
     | grep -v "unsandboxed" || true)
  if (cd "$fetch" && dpkg-source --no-check -x "$package"_*.dsc unpacked >/dev/null 2>&1); then
    return 0
  fi
  # Some mirrors serve the upstream tarball but not Debian's part (seen for
  # libical3 3.0.16-1, whose Debian part carries no patches). Unpack the
  # upstream tarball then, after checking it against the signed .dsc.
  local dsc orig sum
  dsc=$(ls "$fetch/$package"_*.dsc 2>/dev/null | head -1)
  orig=$(ls "$fetch/$package"_*.orig.tar.* 2>/dev/null | head -1)
  if [ -z "$dsc" ] || [ -z "$orig" ]; then
    echo "setup: could not download the source package $package" >&2
    exit 1
  fi
  sum=$(sed -n '/^Checksums-Sha256:/,/^[A-Z]/p' "$dsc" | awk -v f="$(basename "$orig")" '$3 == f { print $1 }')
  if [ -z "$sum" ] || [ "$(sha256sum "$orig" | cut -d' ' -f1)" != "$sum" ]; then
    echo "setup: $(basename "$orig") does not match $(basename "$dsc")" >&2
    exit 1
  fi
  echo "setup: $package: Debian's part of the source is not on the mirror; using the upstream tarball"
  mkdir -p "$fetch/unpacked"
  tar -xf "$orig" -C "$fetch/unpacked" --strip-components=1
}

# TinyXML: its few files are compiled by cmake/TallyoBuild.cmake.
src_dir="$build_root/deps/tinyxml-src"
if [ ! -f "$src_dir/tinyxml.h" ]; then
  fetch_debian_source tinyxml
  rm -rf "$src_dir" && mkdir -p "$src_dir"
  cp "$build_root/deps/fetch/tinyxml/unpacked"/tiny*.{h,cpp} "$src_dir/"
fi

# libical: its own CMake build, run by cmake/TallyoBuild.cmake for the ical
# library only.
src_dir="$build_root/deps/libical-src"
if [ ! -f "$src_dir/src/libical/icaltimezone.c" ]; then
  fetch_debian_source libical3
  rm -rf "$src_dir"
  mv "$build_root/deps/fetch/libical3/unpacked" "$src_dir"
fi
echo "setup: ready"
