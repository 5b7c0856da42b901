# Shared by the packaging test scripts. The test sets QUORVEL_BUILD, QUORVEL_SOURCE,
# QUORVEL_WORK (scratch folder), QUORVEL_HAS_EDITOR and QUORVEL_HAS_CLI (1 when the program
# target exists).
set -euo pipefail

PREFIX=$QUORVEL_WORK/prefix   # the plain install made by install-test.sh
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}

need_installed() {
  [ -d "$PREFIX/share" ] || { echo "FAIL: no installed tree in $PREFIX" >&2; exit 1; }
}

# Width and height of a PNG file, from its IHDR chunk ("W H").
png_size() {
  local b
  b=($(od -An -tu1 -j16 -N8 "$1"))
  echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3])) $(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}

# The MIME type of a file as GIO and as xdg-mime see it, with only the given data folders.
mime_of() {
  local dirs=$1 file=$2 empty=$QUORVEL_WORK/no-user-data
  mkdir -p "$empty"
  XDG_DATA_HOME=$empty XDG_DATA_DIRS=$dirs gio info -a standard::content-type "$file" |
    sed -n 's/^ *standard::content-type: //p'
}

xdg_mime_of() {
  local dirs=$1 file=$2 empty=$QUORVEL_WORK/no-user-data
  mkdir -p "$empty"
  XDG_DATA_HOME=$empty XDG_DATA_DIRS=$dirs xdg-mime query filetype "$file"
}
