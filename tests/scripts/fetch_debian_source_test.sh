#!/usr/bin/env bash
# Checks how scripts/fetch-debian-source.sh derives its source list from an
# apt configuration, refuses one without a usable entry, and reuses a folder
# it unpacked before. Runs against made-up apt configurations; no network.
set -uo pipefail
script=$(cd "$(dirname "$0")/../.." && pwd)/scripts/fetch-debian-source.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A fresh apt configuration whose sources.list and sources.list.d are ours.
new_config() {
  rm -rf "$work/etc"
  mkdir -p "$work/etc/sources.list.d" "$work/etc/apt.conf.d"
  echo "Dir::Etc \"$work/etc/\";" >"$work/apt.conf"
  export APT_CONFIG=$work/apt.conf
}

expect_sources() {  # CASE EXPECTED
  local out
  if ! out=$("$script" --print-sources 2>&1); then
    fail "$1: exited with an error: $out"
  elif [ "$out" != "$2" ]; then
    fail "$1: got"$'\n'"$out"$'\n'"expected"$'\n'"$2"
  fi
}

expect_refusal() {  # CASE
  local out
  if out=$("$script" --print-sources 2>&1); then
    fail "$1: accepted a configuration without a usable entry"
  elif [[ $out != *"no usable package source"* ]]; then
    fail "$1: unclear message: $out"
  fi
}

# --- deb822 files: deb becomes deb-src, every other field stays
new_config
cat >"$work/etc/sources.list.d/main.sources" <<'SOURCES'
# the local mirror
Types: deb
URIs: file:/srv/archive
Suites: stable stable-updates
Components: main
Signed-By: /usr/share/keyrings/archive.gpg

Types: deb deb-src
URIs: file:/srv/other
Suites: s
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 AAAA
 -----END PGP PUBLIC KEY BLOCK-----

Types: deb
URIs: file:/srv/off
Suites: s
Components: main
Enabled: no
SOURCES
expect_sources "deb822 entries" "Types: deb-src
URIs: file:/srv/archive
Suites: stable stable-updates
Components: main
Signed-By: /usr/share/keyrings/archive.gpg

Types: deb-src
URIs: file:/srv/other
Suites: s
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 AAAA
 -----END PGP PUBLIC KEY BLOCK-----"

# --- one-line entries: options become fields; duplicates and CD-ROMs go
new_config
cat >"$work/etc/sources.list" <<'LIST'
# comment
deb [arch=amd64,i386 signed-by=/usr/share/keyrings/archive.gpg] file:/srv/archive stable main contrib # note
deb file:/srv/plain stable main
deb-src file:/srv/plain stable main
deb cdrom:[Debian 12]/ stable main
LIST
echo "deb [lang=none,de] file:/srv/part s main" >"$work/etc/sources.list.d/extra.list"
expect_sources "one-line entries" "Types: deb-src
URIs: file:/srv/archive
Suites: stable
Components: main contrib
Architectures: amd64 i386
Signed-By: /usr/share/keyrings/archive.gpg

Types: deb-src
URIs: file:/srv/plain
Suites: stable
Components: main

Types: deb-src
URIs: file:/srv/part
Suites: s
Components: main
Languages: none de"

# --- nothing usable: a clear refusal, also when fetching
new_config
expect_refusal "no entries at all"
printf 'Types: deb\nURIs: file:/srv/off\nSuites: s\nComponents: main\nEnabled: no\n' \
  >"$work/etc/sources.list.d/off.sources"
echo "deb cdrom:[Debian 12]/ stable main" >"$work/etc/sources.list"
expect_refusal "only disabled and CD-ROM entries"
if out=$("$script" pugixml "$work/dest" 2>&1) || [[ $out != *"no usable package source"* ]]; then
  fail "fetching without a usable entry: $out"
fi

# --- a folder unpacked before is reused without asking apt
mkdir -p "$work/dest/pugixml-1.13"
echo pugixml-1.13 >"$work/dest/.pugixml.unpacked"
out=$("$script" pugixml "$work/dest" 2>&1)
[ "$out" = "$work/dest/pugixml-1.13" ] || fail "reuse: got '$out'"

# --- unpacking, with a stand-in apt-get that "downloads" made-up packages
# whose tarballs the case puts into $work/pool
mkdir -p "$work/bin" "$work/pool"
cat >"$work/bin/apt-get" <<'APT'
#!/usr/bin/env bash
for arg in "$@"; do last=$arg; done
case " $* " in
  *" update "*) exit 0 ;;
  *" source "*) cp "$POOL/${last%%=*}"_* . 2>/dev/null || { echo "E: no $last" >&2; exit 100; } ;;
esac
APT
chmod +x "$work/bin/apt-get"
export POOL=$work/pool

make_package() {  # NAME VERSION TARBALL-NAME TOP-FOLDER...
  local name=$1 version=$2 tarball=$3 tree=$work/tree
  shift 3
  rm -rf "$tree" && mkdir -p "$tree"
  for top in "$@"; do mkdir -p "$tree/$top" && echo "$top" >"$tree/$top/file.txt"; done
  printf 'Format: 3.0 (quilt)\nSource: %s\nVersion: %s\n' "$name" "$version" >"$POOL/${name}_$version.dsc"
  case $tarball in
    *.xz) tar -cJf "$POOL/$tarball" -C "$tree" "$@" ;;
    *) tar -czf "$POOL/$tarball" -C "$tree" "$@" ;;
  esac
}

expect_unpacked() {  # CASE PACKAGE FOLDER FILE
  local out
  out=$(PATH=$work/bin:$PATH "$script" "$2" "$work/unpack" 2>"$work/err")
  if [ "$out" != "$work/unpack/$3" ]; then
    fail "$1: printed '$out' ($(cat "$work/err"))"
  elif [ ! -f "$work/unpack/$3/$4" ]; then
    fail "$1: $3/$4 is missing"
  fi
}

new_config
echo "deb file:/srv/archive stable main" >"$work/etc/sources.list"
make_package one 2:1.5-3 one_1.5.orig.tar.xz one-1.5
cp "$POOL/one_1.5.orig.tar.xz" "$POOL/one_1.5-3.debian.tar.xz"  # must not be unpacked
expect_unpacked "xz tarball with one top folder, epoch and revision" one one-1.5 file.txt
[ -e "$work/unpack/one-1.5/one-1.5" ] && fail "the single top folder was not taken apart"
make_package multi 5.3.3-1 multi_5.3.3.orig.tar.gz scintilla lexilla scite
expect_unpacked "tarball with several top folders" multi multi-5.3.3 lexilla/file.txt
make_package native 7.1 native_7.1.tar.gz native
expect_unpacked "native package" native native-7.1 file.txt
# The newest listed version is not served: the older one that is, is taken.
cat >"$work/bin/apt-cache" <<'CACHE'
#!/usr/bin/env bash
printf 'Package: %s\nVersion: 1:1.2-1+u1\n\nPackage: %s\nVersion: 1:1.2-1\n' "${!#}" "${!#}"
CACHE
chmod +x "$work/bin/apt-cache"
make_package served 1:1.2-1 served_1.2.orig.tar.gz served-1.2
sed -i 's/^\(  \*" source "\*)\)/  *" served "* | *" served=1:1.2-1+u1 "*) exit 100 ;;\n\1/' "$work/bin/apt-get"
expect_unpacked "the newest version is not served, an older one is" served served-1.2 file.txt
out=$(PATH=$work/bin:$PATH "$script" served=1:1.2-1+u1 "$work/unpack2" 2>&1) &&
  fail "an asked-for version that is not served: '$out'"
rm "$work/bin/apt-cache"
out=$(PATH=$work/bin:$PATH "$script" missing "$work/unpack" 2>&1) && fail "a missing package: '$out'"
[[ $out == *"could not download the source package 'missing'"* ]] || fail "a missing package: $out"

# --- arguments
"$script" 'not a name' "$work/dest" >/dev/null 2>&1 && fail "a bad package name was accepted"
"$script" pugixml >/dev/null 2>&1; [ $? -eq 2 ] || fail "a missing DEST is not a usage error"

[ "$failures" -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
