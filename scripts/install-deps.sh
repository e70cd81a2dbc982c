#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing the program need, when missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build
    qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev
    libgtest-dev libbenchmark-dev
    libcurl4-openssl-dev nlohmann-json3-dev libcli11-dev python3 openssl ca-certificates
    poppler-utils file librsvg2-bin desktop-file-utils appstream
    clang libclang-rt-14-dev
    lintian devscripts
    xvfb xauth openbox
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "Missing packages: ${missing[*]}. Install them as root (sudo is not available)." >&2
        exit 1
    fi
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
