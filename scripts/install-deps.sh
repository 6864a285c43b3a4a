#!/usr/bin/env bash
# Installs the Debian 12 packages Kestrel needs to build, test and run
# (clang and its runtime libraries only for the libFuzzer targets).
# As root it installs what is missing; otherwise it prints the command and stops.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libpolyclipping-dev libboost-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fontconfig
  gerbv libpng-dev
  libzip-dev
  poppler-utils
  qt6-translations-l10n desktop-file-utils
  clang libclang-rt-14-dev
  locales libc-l10n tzdata
)
# Only needed to look at the editor without a real display.
[ "${KESTREL_WITH_XVFB:-0}" = 1 ] && packages+=(xvfb xauth)

# A locale with a decimal comma, for the tests that numbers written for a
# board house keep their point whatever the user's locale. Made as root only;
# the tests skip without it.
comma_locale() {
  if [ "$(id -u)" -eq 0 ] && ! locale -a 2>/dev/null | grep -qx 'de_DE.utf8' && command -v localedef >/dev/null; then
    localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  comma_locale
  exit 0
fi

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Kestrel needs these packages. Run as root:" >&2
  echo "  apt-get update && $cmd" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
comma_locale
