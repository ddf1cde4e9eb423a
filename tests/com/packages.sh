#!/usr/bin/env bash
# The tables of the Windows Installer packages and the manifests of registration-free use, read
# without Wine: the project's version everywhere, the upgrade code, the installation context of
# each package, the classes recorded through the Registry table (no custom action, no
# self-registration), the major upgrade, the processor.
#
# Usage: packages.sh MSIINFO MSIEXTRACT PACKAGES_DIR VERSION ARCH UPGRADE_CODE  (ARCH: x64, x86)
set -uo pipefail
msiinfo=$1
msiextract=$2
packages=$3
version=$4
arch=$5
upgrade_code=$6
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-packages.XXXXXX")
trap 'rm -rf "$work"' EXIT

checks=0
failures=0
expect() {
  checks=$((checks + 1))
  if [ "$2" != "$3" ]; then
    failures=$((failures + 1))
    echo "FAIL $1: [$2], expected [$3]"
  fi
}

# The rows of a table, tab-separated (msiinfo export writes 3 header lines and CRLF ends).
table() { "$msiinfo" export "$1" "$2" | tr -d '\r' | tail -n +4; }
# A column of the rows of a table whose first column is key.
column() { table "$1" "$2" | awk -F'\t' -v k="$3" -v c="$4" '$1 == k { print $c }'; }
property() { column "$1" Property "$2" 2; }
upper() { tr '[:lower:]' '[:upper:]'; }

if [ "$arch" = x64 ]; then
  template="x64;" bits=64 platform=win64 program_files=ProgramFiles64Folder component_flags=256
  manifest_arch=amd64
else
  template="Intel;" bits=32 platform=win32 program_files=ProgramFilesFolder component_flags=0
  manifest_arch=x86
fi

product_codes=()
for scope in machine user; do
  msi=$packages/VelmoraSys-$version-$arch.msi
  [ $scope = user ] && msi=$packages/VelmoraSys-$version-$arch-user.msi
  name=$(basename "$msi")
  if [ ! -f "$msi" ]; then
    expect "$name" "missing" "present"
    continue
  fi
  summary=$("$msiinfo" suminfo "$msi")
  expect "$name: processor of the summary" "$(sed -n 's/^Template: \([^;]*;\).*/\1/p' <<<"$summary")" "$template"
  # Word count bit 3: the package asks for no administrator rights.
  word_count=$(sed -n 's/^Source: \([0-9]*\).*/\1/p' <<<"$summary")
  expect "$name: no elevation asked" "$(( (word_count & 8) != 0 ))" "$([ $scope = user ] && echo 1 || echo 0)"

  expect "$name: ProductVersion" "$(property "$msi" ProductVersion)" "$version"
  expect "$name: ProductName" "$(property "$msi" ProductName)" "VelmoraSys $version ($bits bits)"
  expect "$name: UpgradeCode" "$(property "$msi" UpgradeCode | upper)" "{$(upper <<<"$upgrade_code")}"
  if [ $scope = machine ]; then
    expect "$name: ALLUSERS" "$(property "$msi" ALLUSERS)" "1"
    expect "$name: MSIINSTALLPERUSER" "$(property "$msi" MSIINSTALLPERUSER)" ""
  else
    expect "$name: ALLUSERS" "$(property "$msi" ALLUSERS)" "2"
    expect "$name: MSIINSTALLPERUSER" "$(property "$msi" MSIINSTALLPERUSER)" "1"
  fi
  product_codes+=("$(property "$msi" ProductCode)")

  # Nothing runs regsvr32 or the DLL's own registration.
  expect "$name: custom actions" "$(table "$msi" CustomAction | wc -l)" "0"
  expect "$name: SelfReg table" "$("$msiinfo" tables "$msi" | tr -d '\r' | grep -cx SelfReg)" "0"

  registry=$(table "$msi" Registry)
  expect "$name: Registry rows" "$(wc -l <<<"$registry")" "32"
  expect "$name: Registry rows outside the classes root" "$(awk -F'\t' '$2 != 0' <<<"$registry" | wc -l)" "0"
  expect "$name: the servers' files" \
    "$(awk -F'\t' '$3 ~ /InprocServer32$/ && $4 == "" { print $5 }' <<<"$registry" | sort -u)" \
    "[#VelmoraSys.dll]"
  expect "$name: the type library's file" \
    "$(awk -F'\t' '$3 ~ /^TypeLib\\.*\\1\.0\\0\\/ { n = split($3, p, "\\"); print p[n] "=" $5 }' <<<"$registry")" \
    "$platform=[#VelmoraSys.dll]"

  expect "$name: the file" "$(column "$msi" File VelmoraSys.dll 3)" "VelmoraSys.dll"
  expect "$name: component of the processor" "$(column "$msi" Component VelmoraSys 4)" "$component_flags"
  expect "$name: folder" "$(column "$msi" Directory INSTALLDIR 2)/$(column "$msi" Directory INSTALLDIR 3)" \
    "$program_files/VelmoraSys"
  # The major upgrade: older versions found and removed, a newer one refused.
  upgrades=$(table "$msi" Upgrade | awk -F'\t' '{ print toupper($1) " " $2 "-" $3 " " $7 }')
  expect "$name: Upgrade table" "$upgrades" \
    "{$(upper <<<"$upgrade_code")} -$version WIX_UPGRADE_DETECTED
{$(upper <<<"$upgrade_code")} $version- WIX_DOWNGRADE_DETECTED"
  sequence=$(table "$msi" InstallExecuteSequence | cut -f1)
  for action in FindRelatedProducts RemoveExistingProducts WriteRegistryValues RemoveRegistryValues; do
    expect "$name: $action in the installation" "$(grep -cx "$action" <<<"$sequence")" "1"
  done
  # The package holds the very DLL of the registration-free folder, and that one only.
  "$msiextract" -C "$work/$scope" "$msi" >/dev/null
  files=$(cd "$work/$scope" && find . -type f)
  expect "$name: files" "$(basename "$files")" "VelmoraSys.dll"
  expect "$name: the DLL" \
    "$(cmp -s "$work/$scope/$files" "$packages/VelmoraSys-$version-$arch-regfree/VelmoraSys.dll" &&
      echo same)" "same"
done
[ ${#product_codes[@]} -eq 2 ] &&
  expect "the two packages are two products" "$([ "${product_codes[0]}" != "${product_codes[1]}" ] && echo yes)" "yes"

regfree=$packages/VelmoraSys-$version-$arch-regfree
for manifest in VelmoraSys.manifest aplicacion.exe.manifest; do
  identities=$(tr '\n' ' ' <"$regfree/$manifest" | grep -o '<assemblyIdentity[^>]*name="VelmoraSys"[^>]*>')
  expect "$manifest: version of VelmoraSys" "$(grep -o 'version="[^"]*"' <<<"$identities")" "version=\"$version.0\""
  expect "$manifest: processor" "$(grep -o 'processorArchitecture="[^"]*"' <<<"$identities")" \
    "processorArchitecture=\"$manifest_arch\""
done

echo "SUMMARY packages: $checks checks, $failures failures"
[ $failures -eq 0 ]
