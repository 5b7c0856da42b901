#!/usr/bin/env bash
# The installed desktop entry passes desktop-file-validate, names the installed icon and the
# installed file types, and speaks German and English.
. "$(dirname "$0")/lib.sh"
need_installed

entry=$PREFIX/share/applications/quorvel.desktop
out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"

value() { sed -n "s/^$1=//p" "$entry"; }
[ "$(value Exec)" = "quorvel %f" ] || fail "Exec is '$(value Exec)'"
[ "$(value Type)" = "Application" ] || fail "Type is '$(value Type)'"
icon=$(value Icon)
[ -f "$PREFIX/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "icon '$icon' not installed"
case ";$(value Categories)" in *";Graphics;"*) ;; *) fail "not in Graphics" ;; esac
for key in 'Name' 'Name\[de\]' 'Comment' 'Comment\[de\]'; do
  [ -n "$(value "$key")" ] || fail "no $key"
done
[ "$(value 'Comment\[de\]')" != "$(value Comment)" ] || fail "German comment is the English one"

types=$(value MimeType)
[ "$types" = "application/x-quorvel-project;application/x-quorvel-sequence;" ] ||
  fail "MimeType is '$types'"
IFS=';' read -ra list <<<"$types"
for t in "${list[@]}"; do
  grep -q "type=\"$t\"" "$PREFIX/share/mime/packages/quorvel.xml" || fail "$t not defined"
  grep -q "^$t=.*quorvel.desktop" "$PREFIX/share/applications/mimeinfo.cache" ||
    fail "$t not in the desktop database"
done

finish
