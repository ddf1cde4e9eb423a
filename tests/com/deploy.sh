#!/usr/bin/env bash
# The ways VelmoraSys.dll is deployed, under Wine, each in a fresh prefix:
#
#   machine package   msiexec /i VelmoraSys-<version>-<arch>.msi /qn: the DLL in Program Files,
#                     one product of the version, the keys of both classes, the type library and
#                     the interfaces under HKLM\Software\Classes, a VBScript client creates both
#                     classes and calls them; msiexec /x /qn: creating them fails with error 429,
#                     the file, its folder, the keys and the product are gone.
#   upgrade           the package of the version below, then the current one: one product left,
#                     of the current version; the older package over it is refused.
#   user package      the dual-purpose package (ALLUSERS=2, MSIINSTALLPERUSER=1) installed and
#                     removed as this Wine installs it; the context it chose is printed.
#   user registration regsvr32 /n /i:user: the keys under HKCU\Software\Classes only, HKLM's
#                     classes unchanged, a client that follows the keys works; regsvr32 /u /n
#                     /i:user: HKCU's classes exactly as before; then DllInstall's command lines
#                     and a user's registration beside the machine's.
#   registration-free the DLL, its assembly manifest and a program with the sample application
#                     manifest in one folder, nothing registered: both classes created and
#                     called; the same program without the manifest finds nothing.
#
# Usage: deploy.sh BIN_DIR PACKAGES_DIR OLDER_MSI UPGRADE_CODE VERSION OLDER_VERSION
#   BIN_DIR holds velmora_deploy_check.exe, PACKAGES_DIR the packages and the registration-free
#   folder, as the mingw64 or mingw32 preset builds them. Nothing is built here. A 32-bit build
#   needs 32-bit Wine; without it the run ends with status 77 (skipped).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:?usage: deploy.sh BIN_DIR PACKAGES_DIR OLDER_MSI UPGRADE_CODE VERSION OLDER_VERSION}" && pwd)
packages=$(cd "${2:?}" && pwd)
older_msi=${3:?}
upgrade_code=${4:?}
version=${5:?}
older_version=${6:?}
check=$bin/velmora_deploy_check.exe

# shellcheck source-path=SCRIPTDIR source=wine-harness.sh
. "$here/wine-harness.sh"
regfree=$(echo "$packages"/VelmoraSys-"$version"-*-regfree)
wine_setup "$regfree/VelmoraSys.dll"
arch=$([ "$WINEARCH" = win64 ] && echo x64 || echo x86)
machine_msi=$packages/VelmoraSys-$version-$arch.msi
user_msi=$packages/VelmoraSys-$version-$arch-user.msi
for f in "$check" "$machine_msi" "$user_msi" "$older_msi" "$regfree/VelmoraSys.dll" \
  "$regfree/VelmoraSys.manifest" "$regfree/aplicacion.exe.manifest"; do
  [ -f "$f" ] || { echo "missing $f (build the preset first)"; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-deploy.XXXXXX")
cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
SECONDS=0

# msiexec with the package's Windows path; fails the run unless it ends with the status given
# (as a process status: its low 8 bits, so 1603 arrives as 67).
msiexec() {
  local expected=$1 action=$2 msi=$3
  # A client that has just ended may still hold the DLL while Wine winds it down, and a removal
  # then fails now and then: wait until every process of the prefix has ended.
  wineserver -w
  wine msiexec "$action" "$(winepath -w "$msi")" /qn >/dev/null 2>&1
  local status=$?
  if [ $status -eq $((expected & 255)) ]; then
    echo "msiexec $action $(basename "$msi") /qn: $status"
  else
    fail "msiexec $action $(basename "$msi") /qn ended with $status, expected $expected"
  fi
}

installed='C:\Program Files\VelmoraSys\VelmoraSys.dll'

# What a removal must leave: no class, no file, no key, no product.
check_removed() {
  local dir=$1
  run_script "$here/unregistered.vbs"
  [ -e "$dir" ] && fail "$dir is still there after the removal: $(ls "$dir")"
  run_program absent "$check" absent
  run_program "no product" "$check" product "$upgrade_code" none
}

echo "== the package for the machine"
new_prefix machine-package
installed_dir="$WINEPREFIX/drive_c/Program Files/VelmoraSys"
msiexec 0 /i "$machine_msi"
[ -f "$installed_dir/VelmoraSys.dll" ] || fail "no $installed after the installation"
run_program product "$check" product "$upgrade_code" "$version" "$installed"
run_program registered "$check" registered machine "$installed"
run_script "$here/deploy/installed.vbs"
msiexec 0 /x "$machine_msi"
check_removed "$installed_dir"

echo "== an upgrade from $older_version to $version"
new_prefix upgrade
installed_dir="$WINEPREFIX/drive_c/Program Files/VelmoraSys"
msiexec 0 /i "$older_msi"
run_program "older product" "$check" product "$upgrade_code" "$older_version"
msiexec 0 /i "$machine_msi"
run_program "product after the upgrade" "$check" product "$upgrade_code" "$version" "$installed"
run_program registered "$check" registered machine "$installed"
run_script "$here/deploy/installed.vbs"
# A lower version over the installed one is refused (1603, the package's downgrade condition).
msiexec 1603 /i "$older_msi"
run_program "product after the refused downgrade" "$check" product "$upgrade_code" "$version"
msiexec 0 /x "$machine_msi"
check_removed "$installed_dir"

echo "== the package for one user"
new_prefix user-package
msiexec 0 /i "$user_msi"
out=$(cd "$WINEPREFIX/drive_c" && wine "$check" product "$upgrade_code" "$version" | tr -d '\r')
echo "$out" | sed 's/^/  /'
echo "$out" | grep -q "^SUMMARY.* 0 failures$" || fail "the package for one user: its product"
# Windows installs it for the user into %LOCALAPPDATA%\Programs and HKCU's classes; Wine makes
# ALLUSERS=2 a machine installation and has no MSIINSTALLPERUSER, so it lands in Program Files.
if echo "$out" | grep -q "installed for the machine"; then
  scope=machine
  user_dll=$installed
  user_dir="$WINEPREFIX/drive_c/Program Files/VelmoraSys"
else
  scope=user
  user_dll=$(cd "$WINEPREFIX/drive_c" && wine cmd /c echo "%LOCALAPPDATA%" | tr -d '\r')'\Programs\VelmoraSys\VelmoraSys.dll'
  user_dir=$(dirname "$(winepath -u "$user_dll")")
fi
echo "  installed for the $scope: $user_dll"
[ -f "$user_dir/VelmoraSys.dll" ] || fail "no $user_dll after the installation"
run_program registered "$check" registered "$scope" "$user_dll"
[ "$scope" = machine ] && run_script "$here/deploy/installed.vbs"
msiexec 0 /x "$user_msi"
check_removed "$user_dir"

echo "== registration for one user (regsvr32 /n /i:user)"
new_prefix user-registration
mkdir -p "$WINEPREFIX/drive_c/VelmoraSys"
cp "$regfree/VelmoraSys.dll" "$WINEPREFIX/drive_c/VelmoraSys/"
dll='C:\VelmoraSys\VelmoraSys.dll'
# Windows always has the user's classes key; a fresh prefix only once something is written.
wine reg add 'HKCU\Software\Classes' /f >/dev/null 2>&1
export_classes() { wine reg export "$1\\Software\\Classes" "$work/$2.reg" /y >/dev/null 2>&1; }
export_classes HKLM machine-before
export_classes HKCU user-before
if wine regsvr32 /s /n /i:user "$dll" >/dev/null 2>&1; then
  echo "regsvr32 /n /i:user VelmoraSys.dll: ok"
else
  fail "regsvr32 /n /i:user VelmoraSys.dll"
fi
export_classes HKLM machine-after
cmp -s "$work/machine-before.reg" "$work/machine-after.reg" || {
  fail "regsvr32 /n /i:user changed HKLM\\Software\\Classes:"
  diff <(iconv -f UTF-16 -t UTF-8 "$work/machine-before.reg") \
    <(iconv -f UTF-16 -t UTF-8 "$work/machine-after.reg") | head -20 | sed 's/^/  /'
}
run_program registered "$check" registered user "$dll"
if wine regsvr32 /s /u /n /i:user "$dll" >/dev/null 2>&1; then
  echo "regsvr32 /u /n /i:user VelmoraSys.dll: ok"
else
  fail "regsvr32 /u /n /i:user VelmoraSys.dll"
fi
export_classes HKCU user-after
cmp -s "$work/user-before.reg" "$work/user-after.reg" || {
  fail "regsvr32 /u /n /i:user left HKCU\\Software\\Classes other than it was:"
  diff <(iconv -f UTF-16 -t UTF-8 "$work/user-before.reg") \
    <(iconv -f UTF-16 -t UTF-8 "$work/user-after.reg") | head -20 | sed 's/^/  /'
}
run_program absent "$check" absent
run_program scopes "$check" scopes "$dll"

echo "== registration-free use"
new_prefix registration-free
app=$WINEPREFIX/drive_c/Aplicacion
mkdir -p "$app"
cp "$regfree/VelmoraSys.dll" "$regfree/VelmoraSys.manifest" "$app/"
cp "$check" "$app/cliente.exe"
cp "$regfree/aplicacion.exe.manifest" "$app/cliente.exe.manifest"
cp "$check" "$app/sinmanifiesto.exe"
run_program "with the manifest" 'C:\Aplicacion\cliente.exe' regfree
run_program "without the manifest" 'C:\Aplicacion\sinmanifiesto.exe' unmanifested

echo "done in ${SECONDS} s"
if [ $failed -ne 0 ]; then
  echo "$failed failure(s)"
  exit 1
fi
