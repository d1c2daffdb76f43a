#!/usr/bin/env bash
# Builds the release again from a copy of the sources in another folder, as another user (when
# run as root), with another umask, locale and time zone, later, and finds every file the same as
# in the first build; diffoscope shows what differs where a file does not.
# Usage: reproducible.sh SOURCE_DIR DIST_DIR   (DIST_DIR: the first build's scripts/release.sh)
set -uo pipefail
src=$(realpath "$1") dist=$(realpath "$2")
work=$(mktemp -d /tmp/wirbelbox-again.XXXXXX)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/check.sh"

# The same commit's files (as a fresh clone has them) and its time.
copy=$work/source/wirbelbox
mkdir -p "$copy"
(cd "$src" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$copy")
epoch=$(cd "$src" && git log -1 --format=%ct)
as=()
if [[ $(id -u) -eq 0 ]]; then
  chown -R nobody:nogroup "$work"
  as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
(cd "$copy" && umask 0002 && env -i PATH="$PATH" HOME="$work" SOURCE_DATE_EPOCH="$epoch" \
  LC_ALL=C TZ=Pacific/Kiritimati "${as[@]}" scripts/release.sh) >"$work/release.log" 2>&1 ||
  { tail -n 30 "$work/release.log"; check "the second build succeeds" 0 1; finish; exit; }

again=$copy/build/dist
check "the same files" "$(cd "$dist" && ls)" "$(cd "$again" && ls)"
for file in $(cd "$dist" && ls); do
  if ! check "$file the same bit for bit" yes "$(yes_if cmp -s "$dist/$file" "$again/$file")"; then
    diffoscope --text - "$dist/$file" "$again/$file" | head -n 60
  fi
done
finish
