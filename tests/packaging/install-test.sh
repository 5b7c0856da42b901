#!/usr/bin/env bash
# Installs the build twice, staged below DESTDIR and into a plain prefix, and checks both
# trees: every file in its place, nothing outside the prefix, the caches only without DESTDIR.
. "$(dirname "$0")/lib.sh"

rm -rf "$QUORVEL_WORK"
mkdir -p "$QUORVEL_WORK"

# check_tree ROOT PREFIX: the installed files below ROOT, installed for PREFIX.
check_tree() {
  local root=$1 prefix=$2 f size kind name
  for f in share/applications/quorvel.desktop share/mime/packages/quorvel.xml \
      share/man/man1/quorvel.1 share/man/man1/quorvel-cli.1 share/quorvel/sounds/flup.wav \
      share/quorvel/examples/example.qvp share/doc/quorvel/README.md; do
    [ -f "$root/$f" ] || fail "missing $f"
    [ ! -x "$root/$f" ] || fail "$f is executable"
  done
  for program in quorvel:$QUORVEL_HAS_EDITOR quorvel-cli:$QUORVEL_HAS_CLI; do
    name=${program%%:*}
    if [ "${program##*:}" = 1 ]; then
      [ -x "$root/bin/$name" ] || fail "missing program bin/$name"
    else
      [ ! -e "$root/bin/$name" ] || fail "bin/$name installed without its target"
    fi
  done
  for name in quorvel:apps application-x-quorvel-project:mimetypes \
      application-x-quorvel-sequence:mimetypes; do
    kind=${name##*:}
    name=${name%%:*}
    for size in 16 22 24 32 48 64 128 256; do
      f=share/icons/hicolor/${size}x${size}/$kind/$name.png
      if [ -f "$root/$f" ]; then
        [ "$(png_size "$root/$f")" = "$size $size" ] || fail "$f is $(png_size "$root/$f")"
      else
        fail "missing $f"
      fi
    done
    [ -f "$root/share/icons/hicolor/scalable/$kind/$name.svg" ] || fail "missing $name.svg"
  done
  # The example's pictures lie beside it, under the names it stores.
  for f in $(sed -n 's/^FN=\(.*\)\r$/\1/p' "$root/share/quorvel/examples/example.qvp"); do
    [ -f "$root/share/quorvel/examples/$f" ] || fail "example picture $f missing"
  done
  # The manual pages are finished for this prefix.
  for f in "$root"/share/man/man1/*.1; do
    ! grep -q '@[A-Z_]*@' "$f" || fail "$f has an unreplaced placeholder"
    grep -qF "$prefix/share/quorvel/examples/example.qvp" "$f" || fail "$f names another example path"
  done
}

# 1. Staged, as a package build does it.
stage=$QUORVEL_WORK/stage
DESTDIR=$stage cmake --install "$QUORVEL_BUILD" --prefix /opt/quorvel-test >"$QUORVEL_WORK/stage.log"
outside=$(cd "$stage" && find . -mindepth 1 ! -type d ! -path './opt/quorvel-test/*')
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
check_tree "$stage/opt/quorvel-test" /opt/quorvel-test
[ ! -e "$stage/opt/quorvel-test/share/mime/mime.cache" ] || fail "MIME cache written below DESTDIR"

# 2. Into a prefix, with a home of its own that must stay empty.
home=$QUORVEL_WORK/home
mkdir -p "$home"
HOME=$home XDG_DATA_HOME=$home/.local/share \
  cmake --install "$QUORVEL_BUILD" --prefix "$PREFIX" >"$QUORVEL_WORK/install.log"
check_tree "$PREFIX" "$PREFIX"
[ -f "$PREFIX/share/mime/mime.cache" ] || fail "MIME database not updated"
[ -z "$(find "$home" -mindepth 1)" ] || fail "install wrote into the home folder"

finish
