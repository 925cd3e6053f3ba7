#!/bin/sh
# What `make run` starts: kovrant-cli dividing and combining the sample lyrics in a scratch
# folder, so the whole chain can be seen at work.
set -e
build=${1:-build}
cli="$build/src/cli/kovrant-cli"
work=$(mktemp -d "${TMPDIR:-/tmp}/kovrant-demo.XXXXXX")
cp examples/sample.lrc "$work/"

echo "== kovrant-cli --help"
"$cli" --help
echo
echo "== kovrant-cli divide --verbose $work/sample.lrc"
"$cli" divide --verbose "$work/sample.lrc"
echo
echo "== the source lyrics ($work/sample.TXT, shown as UTF-8)"
iconv -f CP932 -t UTF-8 "$work/sample.TXT" | tr -d '\r'
echo
echo
echo "== kovrant-cli combine --verbose --time-ratio 0.9953125 --output-dir $work/out $work/sample.TTD"
mkdir -p "$work/out"
"$cli" combine --verbose --time-ratio 0.9953125 --output-dir "$work/out" "$work/sample.TTD"
echo
echo "== the combined lyrics, rescaled ($work/out/sample.LRC)"
iconv -f CP932 -t UTF-8 "$work/out/sample.LRC" | tr -d '\r'
echo
echo "== kovrant-cli convert --to vtt --verbose --output-dir $work/out $work/sample.lrc"
"$cli" convert --to vtt --verbose --output-dir "$work/out" "$work/sample.lrc"
echo
echo "== the first cues of the WebVTT file ($work/out/sample.vtt)"
head -n 12 "$work/out/sample.vtt"
