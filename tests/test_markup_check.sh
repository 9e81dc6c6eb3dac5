#!/usr/bin/env bash
# gridgauge-markup-check on captions that are markup, that ignore something and that are not:
# what it says of each, by file, line and column, and its exit status. Usage: TOOL
set -euo pipefail
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Runs the tool with the arguments given; sets out (standard output), err and status.
run() {
    status=0
    "$tool" "$@" >"$work/out" 2>"$work/err" <"${input:-/dev/null}" || status=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
}
expect() { # status, then the standard output expected
    [ "$status" -eq "$1" ] || fail "exit status $status, not $1 (out: $out; err: $err)"
    [ "$out" = "$2" ] || fail "said '$out', not '$2'"
}

cd "$work"
printf "<Border Background='Red'>\n  <TextBlock>75%%</TextBlock>\n</Border>\n" >good.xaml
printf "<Border Backgroud='Red'\n        Width='#GGG'/>\n" >ignoring.xaml
printf "<Border>\n  <Marquee/>\n</Border>\n" >bad.xaml

run good.xaml
expect 0 ""
[ -z "$err" ] || fail "wrote to stderr for a good caption: $err"

run ignoring.xaml
expect 0 "ignoring.xaml:1:9: warning: unknown attribute 'Backgroud' on 'Border', ignored
ignoring.xaml:2:16: warning: Width='#GGG' ignored: Width takes a length (a number of pixels, or of px, in, cm or pt), or Auto"
run --strict ignoring.xaml
[ "$status" -eq 1 ] || fail "--strict passed a caption that ignores attributes"
run --strict good.xaml
expect 0 ""

run bad.xaml
expect 1 "bad.xaml:2:3: error: unknown element '<Marquee>'"

# Every file is checked; one that is not markup fails them all.
run good.xaml bad.xaml ignoring.xaml
[ "$status" -eq 1 ] || fail "status $status for three files, one of them not markup"
[ "$(grep -c ': error: ' <<<"$out")" -eq 1 ] && [ "$(grep -c ': warning: ' <<<"$out")" -eq 2 ] ||
    fail "for three files said: $out"

# Standard input, when no file is named and for -.
input=bad.xaml run
expect 1 "<stdin>:2:3: error: unknown element '<Marquee>'"
input=good.xaml run - good.xaml
expect 0 ""

# A file that cannot be read, and a wrong command line.
run missing.xaml
[ "$status" -eq 2 ] && grep -q "missing.xaml" <<<"$err" || fail "missing file: $status, $err"
run --frobnicate good.xaml
[ "$status" -eq 2 ] && grep -q "unknown option --frobnicate" <<<"$err" ||
    fail "unknown option: $status, $err"
run --help
[ "$status" -eq 0 ] && grep -q "^Usage: gridgauge-markup-check" <<<"$out" || fail "--help: $out"
echo "gridgauge-markup-check: checked"
