#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ libsqlite3-dev sqlite3 nlohmann-json3-dev libgtest-dev libgmock-dev
          libbenchmark-dev ccache clang-14 libclang-rt-14-dev
          qt6-base-dev fonts-dejavu-core fonts-liberation
          pkg-config python3-pymodbus python3-serial python3-serial-asyncio mbpoll poppler-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
