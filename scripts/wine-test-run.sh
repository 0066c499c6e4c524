#!/usr/bin/env bash
# The unzipped package under Wine, as a user meets it, on a display of its own
# (run inside xvfb-run, in a fresh prefix): nerubato.exe test-runs a
# registered schedule through the package's quorvex.exe, whose program 1,
# `cmd.exe /c echo yymmdd>ran-yymmdd.txt`, writes today's date, and the
# runner's report is shown. With "end", also the runner alone on a schedule that
# ends Windows: in a test run its question, answered いいえ; in a real run its
# 60-second countdown, answered 中止 (both clicked: a runner's window need not
# have the keyboard). Nothing ends the prefix.
#
# Usage: scripts/wine-test-run.sh PACKAGE WORK [end]
#   PACKAGE  the unzipped nerubato/ folder; WORK an empty folder to work in
# Variables: NERUBATO_WINE, NERUBATO_WINESERVER (scripts/wine.sh).
set -euo pipefail
source "$(dirname "$0")/setup.sh"
source "$NERUBATO_ROOT/scripts/wine.sh"
package=$1 work=$2 end=${3:-}
wine=$NERUBATO_WINE
cd "$work"

fail() {
    echo "wine-test-run in $work: $*" >&2
    exit 1
}

registration() { nerubato_registration "$@" >kidodata.dat; }

# Clicks a window at a point measured from its bottom right corner: a
# runner's window need not have the keyboard (the program it started may).
click_from_corner() {
    local size
    size=$(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p')
    xdotool mousemove --window "$1" $((${size%x*} - $2)) $((${size#*x} - $3)) click 1
}

# The id of the shown window with this exact title, waited for.
window() {
    local id
    for _ in $(seq $((2 * $2))); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.5
    done
    fail "no window \"$1\" within $2 s"
}

line() { iconv -f CP932 -t UTF-8 errormsg.txt | sed -n "$1p" | tr -d '\r'; }

wait_for() {
    for _ in $(seq $((2 * $2))); do [ -e "$1" ] && return 0; sleep 0.5; done
    fail "no $1 within $2 s"
}

today=$(date +%y%m%d)

# The test run through the tool, answered いいえ: the conditions skipped.
registration 14=0 15=3 16=cmd.exe '21=/c echo yymmdd>ran-yymmdd.txt' 47=true
"$wine" "$package/nerubato.exe" >/dev/null 2>&1 &
disown
main=$(window "ネルバト　設定登録画面" 60)
xdotool windowfocus --sync "$main" >/dev/null 2>&1 || true
xdotool key --clearmodifiers Tab space
question=$(window "確認" 20)
xdotool windowfocus --sync "$question" >/dev/null 2>&1 || true
xdotool key --clearmodifiers n
# Started hidden, as the tool starts it, its countdown shows all the same.
countdown=$(window "quorvex.exe" 30)
wait_for "ran-$today.txt" 30
for _ in $(seq 20); do [ "$(tr -d '\r\n ' <"ran-$today.txt")" = "$today" ] && break; sleep 0.5; done
[ "$(tr -d '\r\n ' <"ran-$today.txt")" = "$today" ] || fail "ran-$today.txt holds $(cat "ran-$today.txt")"
report=$(window "ｴﾗｰ" 30)
xdotool windowfocus --sync "$report" >/dev/null 2>&1 || true
[[ "$(line 1)" == プログラムを起動しました* ]] || fail "the report's first line: $(line 1)"
[ "$(line 2)" = "起動条件: 判定を省略しました（テスト実行）" ] || fail "the report's second line: $(line 2)"
[ ! -e tstjikko.dat ] || fail "the marker was left behind"
xdotool key --clearmodifiers Return
"$NERUBATO_WINESERVER" -k 2>/dev/null || true
"$NERUBATO_WINESERVER" -w
echo "test run in $work: ran-$today.txt written, the report shown: $(line 1)"

# The usual computer start, another day: decided, told in the report and the
# history, and left without a single GUI library loaded.
registration 1=true "2=$(date -d tomorrow +%m/%d)" 16=cmd.exe
WINEDEBUG=+loaddll "$wine" "$package/quorvex.exe" >/dev/null 2>loaded-not-met.log
[[ "$(line 1)" == 起動条件を満たしていないため起動しませんでした* ]] || fail "the report's first line: $(line 1)"
grep -q 'Qt6Core.dll' loaded-not-met.log || fail "Wine logged no library loads"
! grep -iE 'Qt6(Gui|Widgets)\.dll|qwindows\.dll' loaded-not-met.log ||
    fail "the start that runs nothing loaded a GUI library"
iconv -f CP932 -t UTF-8 jikkorireki.txt | tail -n 6 | grep -q '^次回: ' || fail "no next start in the history"
echo "start with the conditions not met in $work: no GUI library loaded, $(iconv -f CP932 -t UTF-8 jikkorireki.txt | grep -c '^20[0-9][0-9]/') starts in the history"
[ "$end" = end ] || exit 0

# Ending Windows after all: in a test run, only after a はい.
rm -f errormsg.txt
registration 14=0 15=3 16=cmd.exe '21=/c exit' 35=syuryo1
iconv -f UTF-8 -t CP932 <<<"marker" >tstjikko.dat
"$wine" "$package/quorvex.exe" >/dev/null 2>&1 &
runner=$!
asked=$(window "確認" 40)
click_from_corner "$asked" 45 20 # いいえ(N)
for _ in $(seq 20); do kill -0 "$runner" 2>/dev/null || break; sleep 0.5; done
! kill -0 "$runner" 2>/dev/null || fail "the runner did not end after いいえ"
[[ "$(line 8)" == *テスト実行のため、その前に確認します* ]] || fail "the report's line 8: $(line 8)"

# A real start: the 60-second countdown, and 中止.
rm -f errormsg.txt
"$wine" "$package/quorvex.exe" >/dev/null 2>&1 &
runner=$!
wait_for errormsg.txt 30 # every program started; the countdown's window goes
sleep 1
ending=$(window "quorvex.exe" 30)
click_from_corner "$ending" 64 27 # 中止
for _ in $(seq 20); do kill -0 "$runner" 2>/dev/null || break; sleep 0.5; done
! kill -0 "$runner" 2>/dev/null || fail "the runner did not end after 中止"
echo "ending Windows in $work: the test run's question answered いいえ, the countdown 中止"
