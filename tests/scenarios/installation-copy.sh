# Sourced by the installation tests: a scratch folder $work (removed on exit) and install(), which
# puts a fresh copy of the built installation in $work/lib, where the copied library looks for its
# files. Needs $library (the built library; its folder holds the data files).
built=$(dirname "$library")
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
lib="$work/lib"

install() {
    rm -rf "$lib"
    mkdir -p "$lib/devices"
    cp "$library" "$built/PC1.dat" "$built/QX_FlowRes.mdb" "$lib/"
    cp "$built"/devices/*.json "$lib/devices/"
}
