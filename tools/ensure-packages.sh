#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, if any is missing.
# Quiet when everything is there; safe to run again and again.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git clang-format zlib1g-dev libisal-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth xdotool imagemagick x11-utils
  clang-14 libfuzzer-14-dev
  e2fsprogs util-linux python3 strace
  at-spi2-core python3-pyatspi dbus orca openbox
  bubblewrap libglib2.0-bin shared-mime-info bash-completion
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing missing packages: ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  # Another apt run (an unattended upgrade, a second build) may hold the
  # package lock: wait for it rather than fail.
  apt=(apt-get -o DPkg::Lock::Timeout=600)
  "${sudo_cmd[@]}" "${apt[@]}" update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" "${apt[@]}" install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
