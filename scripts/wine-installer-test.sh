#!/usr/bin/env bash
# The installer under Wine, as a Japanese Windows runs it (ANSI code page 932):
# a silent install into the default folder, both shortcuts read back through
# the shell (readshortcut.exe) and the entry among the installed apps; a
# schedule carried out by the Startup shortcut's target in its working
# folder, as a sign-in starts it; an upgrade that keeps the user's files byte
# for byte; a silent uninstall that leaves only them; and an install into a
# chosen folder whose name has Japanese and a space, without the Startup
# shortcut.
#
# Usage: scripts/wine-installer-test.sh SETUP READSHORTCUT   (inside xvfb-run)
set -euo pipefail
source "$(dirname "$0")/setup.sh"
source "$NERUBATO_ROOT/scripts/wine.sh"
setup=$1 readshortcut=$2
wine=$NERUBATO_WINE

fail() {
    echo "installer under Wine: $*" >&2
    exit 1
}

# Wine takes its code page from the locale: ja_JP.UTF-8 is a Japanese
# Windows, whose shortcuts keep a Japanese folder's name (under C.UTF-8 Wine
# stores it as ????).
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
export LC_ALL=ja_JP.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
nerubato_new_prefix "$work/prefix"
acp=$("$wine" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP 2>/dev/null |
    tr -d '\r' | awk '/ACP/ {print $3}')
[ "$acp" = 932 ] || fail "the prefix's ANSI code page is ${acp:-unknown}, not 932"

# Wine's console programs (reg, cmd) write in the code page, 932.
console() { "$wine" "$@" 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r'; }
unix() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_path() { console cmd /c echo "$1"; }
appdata=$(windows_path '%APPDATA%')
default=$(windows_path '%LOCALAPPDATA%')\\Programs\\nerubato
menu_link=$(unix "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\ネルバト.lnk")
startup_link=$(unix "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\ネルバト 実行プログラム.lnk")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\nerubato'
program_files=(nerubato.exe quorvex.exe quorvexui.dll Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll
    platforms/qwindows.dll guide/index.html はじめにお読みください.txt uninstall.exe)
user_files=(kidodata.dat hozondt1.dat hozondt2.dat hozondt3.dat hozondt4.dat hozondt5.dat
    kidorireki.dat tstjikko.dat errormsg.txt jikkorireki.txt)

install() { "$wine" "$setup" /S "$@"; "$NERUBATO_WINESERVER" -w; }

# Target and working folder of a shortcut, as Explorer reads them.
shortcut() {
    [ -f "$1" ] || fail "no shortcut $1"
    "$wine" "$readshortcut" "$(nerubato_winpath "$1")" | tr -d '\r'
}

expect_shortcut() {
    local read
    read=$(shortcut "$1")
    [ "$read" = "$2"$'\n'"$3" ] || fail "$(basename "$1") holds \"$read\", not \"$2\" in \"$3\""
}

installed_in() {
    local dir=$1 name
    for name in "${program_files[@]}"; do
        [ -f "$dir/$name" ] || fail "$name is not in $dir"
    done
}

# The user's files, each with what it holds, in a line.
sums() { (cd "$1" && sha256sum "${user_files[@]}"); }

# 1. A silent install into the default folder.
install
dir=$(unix "$default")
installed_in "$dir"
expect_shortcut "$menu_link" "$default\\nerubato.exe" "$default"
expect_shortcut "$startup_link" "$default\\quorvex.exe" "$default"
entry=$(console reg query "$key")
for value in DisplayName DisplayVersion Publisher DisplayIcon UninstallString QuietUninstallString \
    EstimatedSize NoModify NoRepair; do
    grep -q "^ *$value " <<<"$entry" || fail "the entry has no $value"
done
grep -q 'DisplayName.*ネルバト' <<<"$entry" || fail "the entry's name: $entry"
echo "installed in $default: both shortcuts work there, the entry is there"

# 2. A sign-in: the Startup shortcut's target, started in its working folder,
# carries a registration out (a schedule that runs at once, a 3-s countdown).
today=$(date +%y%m%d)
nerubato_registration 14=0 15=3 16=cmd.exe '21=/c echo yymmdd>ran-yymmdd.txt' 47=true \
    >"$dir/kidodata.dat"
{ read -r target; read -r folder; } <<<"$(shortcut "$startup_link")"
(cd "$(unix "$folder")" && "$wine" "$target" >/dev/null 2>&1)
"$NERUBATO_WINESERVER" -w # the program it started has ended too
[ "$(tr -d '\r\n ' <"$dir/ran-$today.txt" 2>/dev/null)" = "$today" ] ||
    fail "the Startup shortcut's target ran nothing in its working folder"
echo "a sign-in carried the schedule out: ran-$today.txt written"

# 3. An upgrade keeps the user's files byte for byte.
for name in hozondt1.dat hozondt2.dat hozondt3.dat hozondt4.dat hozondt5.dat tstjikko.dat; do
    printf '%s\r\n' "$name" >"$dir/$name"
done
[ -f "$dir/kidorireki.dat" ] || printf '2026/12/09\r\n' >"$dir/kidorireki.dat"
before=$(sums "$dir")
rm "$dir/nerubato.exe"
install
installed_in "$dir"
[ "$(sums "$dir")" = "$before" ] || fail "the upgrade changed the user's files"
echo "upgraded over it: the program replaced, the user's ${#user_files[@]} files kept"

# 4. A silent uninstall leaves the user's files and nothing else.
"$wine" "$dir/uninstall.exe" /S
"$NERUBATO_WINESERVER" -w
for name in "${program_files[@]}"; do
    [ ! -e "$dir/$name" ] || fail "the uninstall left $name"
done
[ ! -e "$menu_link" ] && [ ! -e "$startup_link" ] || fail "the uninstall left a shortcut"
! "$wine" reg query "$key" >/dev/null 2>&1 || fail "the uninstall left the entry"
[ "$(sums "$dir")" = "$before" ] || fail "the uninstall changed the user's files"
echo "uninstalled: the program, its shortcuts and its entry gone, the user's files kept"

# 5. A chosen folder with Japanese and a space, and no Startup shortcut.
chosen="C:\\ネルバト 作業\\ユーザー 1"
# NSIS reads /D= to the end of the command line, unquoted: cmd passes it so.
"$wine" cmd /c "$(nerubato_winpath "$setup") /S /NOSTARTUP /D=$chosen"
"$NERUBATO_WINESERVER" -w
installed_in "$(unix "$chosen")"
expect_shortcut "$menu_link" "$chosen\\nerubato.exe" "$chosen"
[ ! -e "$startup_link" ] || fail "/NOSTARTUP made a Startup shortcut"
console reg query "$key" /v InstallLocation | grep -qF "$chosen" ||
    fail "the entry does not name $chosen"
echo "installed in \"$chosen\" without the Startup shortcut; its shortcut reads back whole"
