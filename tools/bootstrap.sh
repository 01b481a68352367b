#!/usr/bin/env bash
# Installs what the build needs on Debian 12, builds, then either starts the
# program ("run") or runs the whole test suite ("test").
set -euo pipefail

mode="${1:-run}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KW_BUILD_DIR:-$root/build}"

packages=(cmake g++ make pkg-config
          qt6-base-dev qt6-serialport-dev qt6-5compat-dev qt6-multimedia-dev
          qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
          libgl1-mesa-dev libftdi1-dev xvfb xauth)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"

case "$mode" in
run)
    # The program reads its files (GSM.cfg, templates, sensors, ...) from the
    # working directory, as on the engineer's machine.
    mkdir -p "$root/run"
    cd "$root/run"
    exec "$build/src/keelwright"
    ;;
test)
    cd "$build"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
