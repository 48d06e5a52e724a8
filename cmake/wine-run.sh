#!/usr/bin/env bash
# Runs a Windows program of the build under wine64 for ctest, with the program's exit status.
# A Qt Test program writes its log to a file that is then shown here: its console output does not
# reach the shell that started Wine reliably. The Wine prefix is the caller's WINEPREFIX
# (scripts/windows.sh gives each run its own).
set -uo pipefail
wine="${BREVANT_WINE:-/usr/lib/wine/wine64}"
export WINEDEBUG="${WINEDEBUG:--all}"
# Qt's messages go to stderr, not to the Windows debugger.
export QT_FORCE_STDERR_LOGGING=1
# Offscreen, Qt on Windows reads fonts from a folder: the Liberation fonts the Linux runs use.
if [ "${QT_QPA_PLATFORM:-}" = offscreen ] && [ -z "${QT_QPA_FONTDIR:-}" ] &&
    [ -d /usr/share/fonts/truetype/liberation2 ]; then
    export QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/liberation2
fi
# Wine keeps the QT_ variables of Linux from Windows programs and gives them WINEQT_ ones instead.
while IFS='=' read -r name _; do
    export "WINE$name=${!name}"
done < <(env | grep -E '^QT_[A-Za-z0-9_]*=')
# The folders of the DLLs, as the build lists them (| between them).
if [ -n "${BREVANT_WINEPATH:-}" ]; then
    export WINEPATH="${BREVANT_WINEPATH//|/;}"
fi
program="$1"
shift
case "$(basename "$program")" in
tst_*)
    log="$(mktemp --suffix=.txt)"
    trap 'rm -f "$log"' EXIT
    "$wine" "$program" "$@" -o "Z:${log//\//\\},txt"
    status=$?
    cat "$log"
    exit "$status"
    ;;
*)
    exec "$wine" "$program" "$@"
    ;;
esac
