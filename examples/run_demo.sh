#!/bin/sh
# The demo: links PZI banks from the bundled samples, inspects one, converts
# it to P86, links a PPC bank from raw ADPCM files, then builds a second PPC
# bank from raw files and elements of the first and views it.
# Usage: run_demo.sh ZARNOTEK FELSKARO WORKDIR
set -eu
Z=$1
F=$2
WORK=$3
HERE=$(cd "$(dirname "$0")" && pwd)
rm -rf "$WORK"
mkdir -p "$WORK"
cp "$HERE"/*.wav "$HERE"/*.pc8 "$HERE"/*.ppi "$HERE"/*.adp "$HERE"/*.lxi "$WORK"/
cd "$WORK"
step() { echo; echo "\$ $*"; "$@" 2>&1; }
step "$Z" link demo.lxi
step "$Z" inspect lead.pzi
step "$Z" pzi2p86 drums.pzi
step "$Z" linkppc demo_ppc.lxi
cp drums.ppc drums.PPC
step "$F" link demo_mix.lxi
step "$F" view mix.ppc
for f in drums.pzi lead.pzi drums.P86 drums.ppc mix.ppc; do
  test -s "$f" || { echo "demo: $f was not written" >&2; exit 1; }
done
echo
echo "demo: banks written to $WORK"
