#!/usr/bin/env bash
# Starts a Windows Brevant under Wine on a virtual display (Xvfb) with a window manager (openbox)
# as a clerk would: sees the login, presses Enter (the embedded database of this computer), sees
# the screen open with the sample data, presses F3 and sees the window "Suggestions" open where it
# covers none of the steps or the mapping list, closes it, presses Esc and sees the program end.
# Leaves login.png, screen.png and suggest.png in the work folder. Usage: scripts/windows-check.sh <work folder> <the program as Windows names it>;
# WINEPREFIX names the Wine prefix it is installed in.
set -euo pipefail
work="$1"
program="$2"
wine=/usr/lib/wine/wine64
: "${WINEPREFIX:?WINEPREFIX names the Wine prefix}"

Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
# Wine's own processes end before the display they draw on.
trap 'kill "$program_pid" 2>/dev/null || true; /usr/lib/wine/wineserver -k 2>/dev/null || true
      kill "$xvfb" 2>/dev/null || true' EXIT
program_pid=""
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$program_pid" 2>/dev/null || true; /usr/lib/wine/wineserver -k 2>/dev/null || true
      kill "$wm" "$xvfb" 2>/dev/null || true' EXIT

# A window by its exact title, waited for up to the given seconds.
window() {
    timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}
press() {
    xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers "$2"
}

"$wine" "$program" &
program_pid=$!
login="$(window 'Brevant - Log in' 120)" || { echo "the login did not appear"; exit 1; }
echo "the login appears"
sleep 1
import -window root "$work/login.png"
press "$login" Return

screen="$(window 'PHIC-VALTOR Code Mapping' 120)" || { echo "the screen did not open"; exit 1; }
data="$(ls "$WINEPREFIX"/drive_c/users/*/AppData/Local/Brevant/Brevant/Build_FIle.sqlite)"
rows="$(python3 -c 'import sqlite3, sys
db = sqlite3.connect("file:" + sys.argv[1] + "?mode=ro", uri=True)
print(db.execute("SELECT COUNT(*) FROM ESOA_ITEM").fetchone()[0])' "$data")"
echo "the screen opens on the embedded database in ${data#"$WINEPREFIX/"} ($rows PhilHealth items)"
[ "$rows" -gt 0 ] || { echo "the embedded database holds no sample data"; exit 1; }
sleep 2
import -window root "$work/screen.png"
colours="$(identify -format '%k' "$work/screen.png")"
[ "$colours" -gt 16 ] || { echo "the screenshot is blank ($colours colours)"; exit 1; }

# The window "Suggestions" beside the work: left of the screen, right of it, or right of its
# hospital list (the design's 15,325 twips, 1,021 pixels) and above its mapping list (the lowest
# 3,815 twips, 254 pixels).
press "$screen" F3
suggest="$(window 'Suggestions' 60)" || { echo "F3 opened no window Suggestions"; exit 1; }
sleep 1
import -window root "$work/suggest.png"
eval "$(xdotool getwindowgeometry --shell "$screen" | sed 's/^/S_/')"
eval "$(xdotool getwindowgeometry --shell "$suggest" | sed 's/^/W_/')"
# The screen lays its lists out by its outer height, frame included (left, right, top, bottom).
frame="$(xprop -id "$screen" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')"
IFS=, read -r f_left f_right f_top f_bottom <<<"${frame:-0,0,0,0}"
mapping_top=$((S_Y + S_HEIGHT + f_top + f_bottom - 254))
echo "the screen at $S_X,$S_Y ${S_WIDTH}x$S_HEIGHT (frame $frame), the window Suggestions at" \
    "$W_X,$W_Y ${W_WIDTH}x$W_HEIGHT"
if ! ((W_X + W_WIDTH <= S_X || W_X >= S_X + S_WIDTH ||
       (W_X >= S_X + 1021 && W_Y + W_HEIGHT <= mapping_top))); then
    echo "the window Suggestions covers the steps or the mapping list"
    exit 1
fi
press "$suggest" Escape
sleep 1

press "$screen" Escape
for _ in $(seq 300); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$program_pid" 2>/dev/null; then
    echo "the program did not end after Esc"
    exit 1
fi
wait "$program_pid" || { echo "the program ended with status $?"; exit 1; }
program_pid=""
echo "Esc closes the screen and the program ends"
