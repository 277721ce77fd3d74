#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ file differs from what
# clang-format makes of it with the repository's .clang-format.
# Mend with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
[ "${#files[@]}" -gt 0 ] || exit 0
# One run over all files; its complaints name file:line:col, keep the files.
report="$(clang-format --style=file --dry-run --Werror "${files[@]}" 2>&1)" && exit 0
unformatted="$(sed -nE 's/^(.+):[0-9]+:[0-9]+: (error|warning): code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)"
if [ -z "$unformatted" ]; then
  # Not a formatting complaint (a missing .clang-format, a file that cannot be read).
  echo "$report" >&2
else
  echo "check_format: not formatted with .clang-format (clang-format -i FILE to mend):" >&2
  sed 's/^/  /' <<<"$unformatted" >&2
fi
exit 1
