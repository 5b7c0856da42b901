#!/usr/bin/env bash
# The committed example project and sound are what their scripts make.
. "$(dirname "$0")/lib.sh"

if ! command -v python3 >/dev/null; then
  echo "python3 is missing: skipped"
  exit 77
fi
out=$QUORVEL_WORK-generated
rm -rf "$out"
mkdir -p "$out"
python3 "$QUORVEL_SOURCE/examples/make-pictures" --project-only "$out" >/dev/null
cmp "$out/example.qvp" "$QUORVEL_SOURCE/examples/example.qvp" ||
  fail "examples/example.qvp differs from what make-pictures writes"
python3 "$QUORVEL_SOURCE/resources/make-flup" "$out/flup.wav"
cmp "$out/flup.wav" "$QUORVEL_SOURCE/resources/flup.wav" ||
  fail "resources/flup.wav differs from what make-flup writes"
rm -rf "$out"
finish
