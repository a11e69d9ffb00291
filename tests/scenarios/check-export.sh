#!/bin/sh
# The console's export: a polling session with a lost connection in the middle, exported as
# CSV and PNG into a scratch folder. The CSV must hold the comment, the header with the bound
# parameters' names and units, one row per stored point with the break as empty cells, the same
# rows the chart queries show; the PNG must be a picture of the view's size. A path that cannot
# be written is a script error.
# usage: check-export.sh QXFLOW_RUN
run="$1"
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
fail() { echo "$*"; cat "$dir/out.txt"; exit 1; }

cat > "$dir/export.qxs" <<'EOS'
device lang=1033
create
init device
sim flow 300
sim temp 21
set-toolbar
wait 3400
sim abort
wait 1000
press Poll
wait 100
press Poll
wait 2400
show chart PC1 points
show chart PC1 point 4
export csv trend.csv
export png trend.png
EOS
"$run" "$dir/export.qxs" > "$dir/out.txt" 2>&1 || fail "export.qxs did not run cleanly"
grep -qx 'exported trend.csv' "$dir/out.txt" || fail "no exported line for the CSV"
grep -qx 'exported trend.png' "$dir/out.txt" || fail "no exported line for the PNG"

points=$(sed -n 's/^chart PC1 points = //p' "$dir/out.txt")
[ "$(wc -l < "$dir/trend.csv")" -eq $((points + 2)) ] || fail "the CSV has not one row per point ($points)"
[ "$(sed -n 1p "$dir/trend.csv")" = "# FM1, trend start 10:00:00" ] || fail "comment: $(sed -n 1p "$dir/trend.csv")"
header=$(sed -n 2p "$dir/trend.csv")
case "$header" in
    time,*"[Bit]",*"[°C]") ;;
    *) fail "header: $header" ;;
esac
grep -q '^10:00:0[0-9],300,21$' "$dir/trend.csv" || fail "no row with the device's values"
grep -q '^[0-9:]*,,$' "$dir/trend.csv" || fail "no break in the CSV"

# PNG signature, then the IHDR width and height (808 x 600: 12120 x 9000 twips).
[ "$(od -An -tx1 -N8 "$dir/trend.png" | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "not a PNG"
[ "$(od -An -tx1 -j16 -N8 "$dir/trend.png" | tr -d ' \n')" = "0000032800000258" ] || fail "not 808 x 600"

printf 'create\nexport csv %s/no-such-folder/trend.csv\n' "$dir" > "$dir/bad.qxs"
"$run" "$dir/bad.qxs" > "$dir/out.txt" 2>&1
[ $? -eq 2 ] || fail "an unwritable file is not a script error"
grep -q '^error: line 2: .*no-such-folder/trend.csv' "$dir/out.txt" || fail "the error does not name the file"
exit 0
