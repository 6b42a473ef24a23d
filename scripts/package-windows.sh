#!/usr/bin/env bash
# Builds the Windows package: dist/Vantrel_BIN_Editor-VERSION-win64.zip
# holding one folder with Vantrel_BIN_Editor.exe, serz.exe, texture2dds.exe,
# dds2texture.exe and README.txt. The programs are linked statically: the check below
# refuses a program that needs any DLL but Windows' own.
#
#   scripts/package-windows.sh      build folder: build-win (or $VANTREL_WINDOWS_BUILD)
#
# The last line printed is the zip's path.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/${VANTREL_WINDOWS_BUILD:-build-win}

version=$(sed -n 's/^project(VantrelBinEditor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
name=Vantrel_BIN_Editor-$version-win64
programs=(Vantrel_BIN_Editor serz texture2dds dds2texture)

if [ ! -f "$build/build.ninja" ]; then
  scripts/windows-configure.sh "$build"
fi
cmake --build "$build" -j "$(nproc)" --target "${programs[@]}"

# The same sources give the same zip: the programs' header time, the
# files' times and nothing else that changes from run to run.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}
stage=$build/package/$name
rm -rf "$build/package"
mkdir -p "$stage"
for program in "${programs[@]}"; do
  x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/bin/$program.exe"
done
# The README in Windows' line ends, with the version filled in.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' app/windows/README.txt >"$stage/README.txt"

# One .exe each, nothing beside them: only DLLs every Windows has.
system_dlls=' advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msimg32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll version.dll '
for program in "${programs[@]}"; do
  while read -r dll; do
    case "$system_dlls" in
      *" ${dll,,} "*) ;;
      *) echo "$program.exe needs $dll, which Windows does not have: link it statically" >&2; exit 1 ;;
    esac
  done < <(x86_64-w64-mingw32-objdump -p "$stage/$program.exe" | sed -n 's/^\s*DLL Name: //p')
done

find "$stage" -exec touch -h -d @"$SOURCE_DATE_EPOCH" {} +
mkdir -p dist
zip_path=$root/dist/$name.zip
rm -f "$zip_path"
(cd "$build/package" && zip -q -X -r "$zip_path" "$name")
echo "== $(du -k "$zip_path" | cut -f1) KB, programs: ${programs[*]/%/.exe}"
echo "$zip_path"
