#!/usr/bin/env bash
# The installed file types resolve through the installed MIME database: by name (the glob)
# and, for files without the extension, by content (the type line), with GIO and xdg-mime.
. "$(dirname "$0")/lib.sh"
need_installed

project=application/x-quorvel-project
sequence=application/x-quorvel-sequence
dir=$QUORVEL_WORK/mime-samples
rm -rf "$dir"
mkdir -p "$dir"
example=$PREFIX/share/quorvel/examples/example.qvp

cp "$example" "$dir/example.qvp"          # name and content
cp "$example" "$dir/BEISPIEL.QVP"         # the glob ignores letter case
cp "$example" "$dir/beispiel"             # content only
printf 'nur Text\r\n' >"$dir/notiz.qvp"   # name only
printf '[Project]\nType=ZuntMorphing\n' >"$dir/lf-lines"
printf '[$Project]\r\nType=ZuntMorphSeq\r\n\r\n[00]\r\nMorph=example.qvp\r\nFrameCount=100\r\n\r\n' \
  >"$dir/folge"
cp "$dir/folge" "$dir/folge.msq"
printf '[Opt]\r\nXType=ZuntMorphing\r\n' >"$dir/near-key"
printf '[Project]\r\nType=ZuntMorphingen\r\n' >"$dir/near-value"
printf '[Project]\r\nType=zuntmorphing\r\n' >"$dir/lower-case"

ours=$PREFIX/share:/usr/share
while read -r file expected; do
  got=$(mime_of "$ours" "$dir/$file")
  [ "$got" = "$expected" ] || fail "gio: $file is $got, expected $expected"
  got=$(xdg_mime_of "$ours" "$dir/$file")
  [ "$got" = "$expected" ] || fail "xdg-mime: $file is $got, expected $expected"
done <<EOT
example.qvp $project
BEISPIEL.QVP $project
beispiel $project
notiz.qvp $project
lf-lines $project
folge $sequence
folge.msq $sequence
near-key text/plain
near-value text/plain
lower-case text/plain
EOT

# Without the installed definitions nothing resolves to our types.
for file in example.qvp beispiel folge; do
  got=$(mime_of /usr/share "$dir/$file")
  case "$got" in application/x-quorvel-*) fail "$file is $got without our database" ;; esac
done

finish
