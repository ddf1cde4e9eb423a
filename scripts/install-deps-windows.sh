#!/usr/bin/env bash
# Installs what the Windows build and its tests under Wine need on Debian 12 (run as root): the
# MinGW-w64 cross compilers and widl, 64-bit Wine, wixl and msitools for the installer packages,
# and what the tests use besides (locales, Xvfb, ImageMagick). Packages already present are not
# fetched again.
#
# Then it tries to add 32-bit Wine (wine32:i386), with which the whole COM suite also runs on the
# 32-bit DLL. Whether the archive can deliver it is asked first with package lists of its own, so
# the machine's architectures and lists are only changed when the installation can succeed: a
# failed i386 index would otherwise make every later apt-get update fail. When the archive
# refuses (an i386 index that does not match its release file, packages whose versions differ
# between the architectures), this says why and goes on without it; the 32-bit suite is then
# reported skipped. VELMORA_NO_WINE32=1 leaves 32-bit Wine out.
set -euo pipefail

packages=(
  # the cross compilers, the IDL compiler and the system IDL files and stdole2.tlb
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev
  # running the DLL: 64-bit Wine
  wine wine64
  # the installer packages (wixl) and reading their tables in the tests (msiinfo)
  wixl msitools
  # the tests: Wine's es_MX locale, an X server for the windows, pictures
  locales xvfb xauth imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

# Debian's wine32 brings the 32-bit loader.
[ -x /usr/lib/wine/wine ] && exit 0
[ "${VELMORA_NO_WINE32:-}" = 1 ] && { echo "32-bit Wine left out (VELMORA_NO_WINE32=1)"; exit 0; }
native=$(dpkg --print-architecture)
if [ "$native" != amd64 ]; then
  echo "32-bit Wine is only tried on amd64 machines (this one is $native)"
  exit 0
fi

probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
mkdir -p "$probe/lists/partial" "$probe/cache/archives/partial"
apt_probe=(-o Dir::State::Lists="$probe/lists" -o Dir::Cache="$probe/cache"
  -o APT::Architectures::="$native" -o APT::Architectures::=i386)
apt-get "${apt_probe[@]}" update >"$probe/update.log" 2>&1 || true
if ! apt-get "${apt_probe[@]}" -s install wine32:i386 >"$probe/install.log" 2>&1; then
  reason=$(grep -m1 -h '^E: Failed to fetch' "$probe/update.log" ||
    grep -m1 -h '^E: ' "$probe/install.log" || echo "unknown")
  echo "32-bit Wine cannot be installed from the package archive: $reason"
  echo "going on without it: the 32-bit DLL is built and its exports and type library checked, not run"
  exit 0
fi

echo "installing 32-bit Wine (wine32:i386)"
export DEBIAN_FRONTEND=noninteractive
added=
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  added=1
fi
if apt-get update -qq && apt-get install -y -qq wine32:i386; then
  echo "32-bit Wine installed: the COM suite runs on the 32-bit DLL too"
else
  echo "32-bit Wine could not be installed after all; going on without it"
  if [ -n "$added" ] && [ -z "$(dpkg-query -W -f='${Package}\n' '*:i386' 2>/dev/null)" ]; then
    dpkg --remove-architecture i386
    apt-get update -qq || true
  fi
fi
