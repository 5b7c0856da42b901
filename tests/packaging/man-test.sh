#!/usr/bin/env bash
# The installed manual pages format without a warning, and the page of quorvel-cli names
# every command and option that the program's own help names.
. "$(dirname "$0")/lib.sh"
need_installed

for page in "$PREFIX"/share/man/man1/quorvel.1 "$PREFIX"/share/man/man1/quorvel-cli.1; do
  err=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >"$QUORVEL_WORK/page.txt")
  [ -z "$err" ] || fail "man $(basename "$page"): $err"
  [ -s "$QUORVEL_WORK/page.txt" ] || fail "man $(basename "$page") shows nothing"
  err=$(groff -ww -man -z "$page" 2>&1)
  [ -z "$err" ] || fail "groff $(basename "$page"): $err"
  grep -q '^NAME' "$QUORVEL_WORK/page.txt" || fail "$(basename "$page") has no NAME section"
done

page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$PREFIX/share/man/man1/quorvel-cli.1" 2>/dev/null)
words="render frame blend info convert sequence --codec --quality --quiet --at --field
  --composed --json --help --version"
for w in $words; do
  grep -qe "$w" <<<"$page" || fail "quorvel-cli.1 does not name $w"
done
if [ "$QUORVEL_HAS_CLI" = 1 ]; then
  help=$("$PREFIX/bin/quorvel-cli" --help 2>&1) || fail "quorvel-cli --help failed"
  for w in $words; do
    grep -qe "$w" <<<"$help" || fail "quorvel-cli --help does not name $w"
  done
  for w in $(grep -oE -- '--[a-z]+' <<<"$help" | sort -u); do
    grep -qe "$w" <<<"$page" || fail "quorvel-cli.1 does not describe $w"
  done
fi

if [ "$QUORVEL_HAS_EDITOR" = 1 ]; then
  editor_page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$PREFIX/share/man/man1/quorvel.1" 2>/dev/null)
  # Neither needs a display: both answer before a window exists.
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$PREFIX/bin/quorvel" --help 2>&1) ||
    fail "quorvel --help failed"
  grep -q "quorvel \[DATEI\]" <<<"$help" || fail "quorvel --help shows no usage"
  for w in $(grep -oE -- '--[a-z]+' <<<"$help" | sort -u); do
    grep -qe "$w" <<<"$editor_page" || fail "quorvel.1 does not describe $w"
  done
  version=$(env -u DISPLAY QT_QPA_PLATFORM= "$PREFIX/bin/quorvel" --version 2>&1) ||
    fail "quorvel --version failed"
  grep -qE '^quorvel [0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$' <<<"$version" ||
    fail "quorvel --version prints '$version'"
  cli_version=$("$PREFIX/bin/quorvel-cli" --version 2>&1)
  [ "${version#quorvel }" = "${cli_version#quorvel-cli }" ] ||
    fail "quorvel and quorvel-cli name different versions"
fi

finish
