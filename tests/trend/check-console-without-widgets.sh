#!/bin/sh
# The console links Qt Gui at most, for `export png`: none of its NEEDED entries names Qt
# Widgets, and it draws its picture with no display at all, not even a QT_QPA_PLATFORM that
# would choose one for it.
# usage: check-console-without-widgets.sh READELF QXFLOW_RUN
readelf="$1"
run="$2"
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
fail() { echo "$*"; [ -f "$dir/out.txt" ] && cat "$dir/out.txt"; exit 1; }

"$readelf" -d "$run" > "$dir/dynamic.txt" || fail "readelf cannot read $run"
# An empty list would pass whatever the program links.
grep -q 'NEEDED.*\[libQX_Flow\.so' "$dir/dynamic.txt" || fail "no NEEDED entries read from $run"
if grep 'NEEDED.*\[libQt6Widgets' "$dir/dynamic.txt"; then
    fail "qxflow-run needs Qt Widgets"
fi

cat > "$dir/export.qxs" <<'EOS'
create
init device
sim flow 300
set-toolbar
wait 3000
export csv trend.csv
export png trend.png
EOS
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$run" "$dir/export.qxs" > "$dir/out.txt" 2>&1 ||
    fail "the export did not run without a display"
grep -qx 'exported trend.png' "$dir/out.txt" || fail "no exported line for the PNG"
[ "$(od -An -tx1 -N8 "$dir/trend.png" | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "not a PNG"
exit 0
