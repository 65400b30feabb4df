#!/bin/bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent and quiet when everything is present; needs root to install.
set -e
packages="cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
  wine wine64 xvfb xauth imagemagick xdotool mscompress doctest-dev
  fonts-ipafont-gothic locales procps"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "bootstrap: missing packages:$missing (run as root to install them)" >&2
    exit 1
  fi
  echo "bootstrap: installing$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # No i386 architecture: the wine wrapper would then prefer 32-bit Wine,
  # which cannot start on these kernels.
  apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
# Japanese-mode tests run Wine under ja_JP.UTF-8 (code page 932).
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  if [ "$(id -u)" = 0 ]; then
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
  fi
fi
