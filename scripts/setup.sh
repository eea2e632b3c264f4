#!/usr/bin/env bash
# Installs the Debian packages the build, the demo and the tests need, when any is missing; with
# arguments, those packages instead. calculix-ccx is the solver the demo and the CalculiX tests
# run; calculix-ccx-test holds the decks of the robustness run.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config python3-dev pybind11-dev python3-pytest python3-numpy
          libgtest-dev libgmock-dev googletest libbenchmark-dev libcairo2-dev zlib1g-dev fonts-dejavu-core
          python3-matplotlib libhdf5-dev python3-h5py calculix-ccx calculix-ccx-test dpkg-dev
          python3-nbclient python3-nbformat python3-ipykernel
          python3-aiohttp python3-selenium chromium chromium-driver python3-distributed)
[ $# -gt 0 ] && packages=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -q
  $sudo_cmd apt-get install -y -q "${missing[@]}"
fi
