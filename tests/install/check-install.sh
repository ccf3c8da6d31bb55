#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the desktop's parts, and starts the
# installed command-line tool from there: its libraries and its PDF helper must be found in the
# installed layout, with no build folder to fall back on.
#   usage: check-install.sh BUILD_DIR SAMPLE.GRD
set -euo pipefail
build=$1; sample=$2
prefix=$(mktemp -d); trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
desktop-file-validate "$prefix/share/applications/quillmark.desktop"
grep -q 'glob pattern="\*.GRD"' "$prefix/share/mime/packages/quillmark-gradebook.xml"
for size in 16 22 24 32 48 64 128 256; do
  test -s "$prefix/share/icons/hicolor/${size}x${size}/apps/quillmark.png"
done
test -s "$prefix/share/icons/hicolor/scalable/apps/quillmark.svg"
test -s "$prefix/share/man/man1/quillmark.1" && test -s "$prefix/share/man/man1/quillmark-cli.1"

export HOME="$prefix/home" XDG_DATA_HOME="$prefix/home/data" XDG_CONFIG_HOME="$prefix/home/config"
"$prefix/bin/quillmark-cli" --version | grep -q '^quillmark-cli '
# The totals need the importance groups of the installed default library.
# Each program must find the libraries without a word on stderr, the PDF helper in libexec too.
cli() { "$prefix/bin/quillmark-cli" "$@" 2>"$prefix/stderr"; ! [ -s "$prefix/stderr" ] || { cat "$prefix/stderr"; exit 1; }; }
cli show "$sample" | grep -q "^Ada Lovelace	82%"
cli show "$prefix/share/quillmark/examples/class.GRD" | grep -q "^Amara Okafor	"
cli print "$sample" "$prefix/table.pdf"
test -s "$prefix/table.pdf"
echo "installed layout works"
