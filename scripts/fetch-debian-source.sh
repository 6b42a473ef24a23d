#!/usr/bin/env bash
# Fetches a Debian source package and unpacks its upstream sources.
#
#   scripts/fetch-debian-source.sh PACKAGE DEST
#   scripts/fetch-debian-source.sh --print-sources   # the derived list, nothing fetched
#
# The package sources are the machine's own: every entry of its apt
# configuration (deb822 `*.sources` files, one-line `deb` entries in
# sources.list and `*.list` files) is turned into a `deb-src` entry with the
# same suites, components, Signed-By and other options. They go into a
# private list in DEST/apt, used with private index and cache folders, so
# the machine's own apt state is neither read nor changed and no root
# rights are needed. The download is checked against the signed index.
#
# The upstream (orig) tarball is unpacked into DEST/PACKAGE-VERSION, the
# package's own tarball only for a native package, which has no orig one.
# The last line on standard output is the unpacked folder. A second run
# with that folder in place prints it again without touching the network.
#
# APT_CONFIG, as for apt itself, names another apt configuration to read.
set -euo pipefail
shopt -s nullglob  # a pattern that matches nothing is no file

me=$(basename "$0")
die() { echo "$me: $*" >&2; exit 1; }

command -v apt-config >/dev/null || die "apt is missing: this script needs a Debian-based system"

# --- the private source list, derived from the machine's apt configuration
eval "$(apt-config shell etc_list Dir::Etc::SourceList/f etc_parts Dir::Etc::SourceParts/d)"
etc_list=${etc_list:-/etc/apt/sources.list}
etc_parts=${etc_parts:-/etc/apt/sources.list.d/}

# One-line entries ("deb [opt=val ...] URI SUITE [COMPONENT ...]") become
# deb822 stanzas, so that one private file holds every entry.
one_line_to_deb822() {
  awk '
    function field(opt,   base, parts, n, i, out) {
      base = opt; sub(/[+-]$/, "", base)
      if (base in known) out = known[base]
      else {
        n = split(base, parts, "-"); out = ""
        for (i = 1; i <= n; i++)
          out = out (i > 1 ? "-" : "") toupper(substr(parts[i], 1, 1)) substr(parts[i], 2)
      }
      if (opt ~ /\+$/) out = out "-Add"
      if (opt ~ /-$/) out = out "-Remove"
      return out
    }
    BEGIN {
      known["arch"] = "Architectures"; known["lang"] = "Languages"
      known["target"] = "Targets"; known["pdiffs"] = "PDiffs"
      known["by-hash"] = "By-Hash"; known["inrelease-path"] = "InRelease-Path"
    }
    { sub(/#.*/, "") }
    $1 != "deb" && $1 != "deb-src" { next }
    {
      line = $0; sub(/^[ \t]*deb(-src)?[ \t]+/, "", line)
      opts = ""
      if (line ~ /^\[/) {
        end = index(line, "]")
        if (end == 0) next
        opts = substr(line, 2, end - 2); line = substr(line, end + 1)
      }
      n = split(line, w, /[ \t]+/); k = 0
      for (i = 1; i <= n; i++) if (w[i] != "") v[++k] = w[i]
      if (k < 2) next
      print "Types: deb-src"
      print "URIs: " v[1]
      print "Suites: " v[2]
      comps = ""
      for (i = 3; i <= k; i++) comps = comps (i > 3 ? " " : "") v[i]
      if (comps != "") print "Components: " comps
      m = split(opts, o, /[ \t]+/)
      for (i = 1; i <= m; i++) {
        if (o[i] == "" || index(o[i], "=") == 0) continue
        key = substr(o[i], 1, index(o[i], "=") - 1)
        val = substr(o[i], index(o[i], "=") + 1); gsub(/,/, " ", val)
        print field(key) ": " val
      }
      print ""
    }'
}

# deb822 stanzas: Types with "deb" become "deb-src"; every other field,
# continuation lines included (an inline Signed-By key), stays as it is.
# Disabled stanzas and stanzas without a deb or deb-src type are dropped.
deb822_to_src() {
  awk '
    function flush() {
      if (text != "" && usable && enabled) printf "%s\n", text
      text = ""; usable = 0; enabled = 1
    }
    BEGIN { enabled = 1 }
    /^#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^[Tt]ypes:/ {
      n = split(substr($0, 7), t, /[ \t]+/)
      for (i = 1; i <= n; i++) if (t[i] == "deb" || t[i] == "deb-src") usable = 1
      text = text "Types: deb-src\n"; next
    }
    /^[Ee]nabled:/ { v = tolower($2); if (v == "no" || v == "false" || v == "0") enabled = 0 }
    { text = text $0 "\n" }
    END { flush() }'
}

# The machine's entries as deb-src stanzas, each once (an entry may be
# configured as deb and as deb-src); CD-ROM entries cannot serve sources.
derive_sources() {
  local f
  {
    if [ -f "$etc_list" ]; then one_line_to_deb822 <"$etc_list"; fi
    for f in "$etc_parts"*.list; do one_line_to_deb822 <"$f"; done
    for f in "$etc_parts"*.sources; do deb822_to_src <"$f"; done
  } | awk 'BEGIN { RS = ""; ORS = "\n\n" } $0 !~ /(^|\n)URIs:[ \t]*cdrom:/ && !seen[$0]++'
}

no_source() {
  die "the machine's apt configuration ($etc_list, ${etc_parts}*.sources, ${etc_parts}*.list) \
holds no usable package source: add the Debian archive the machine installs from, then run again"
}

if [ "${1:-}" = --print-sources ] && [ $# -eq 1 ]; then
  sources=$(derive_sources)
  [[ $sources == *URIs:* ]] || no_source
  printf '%s\n' "$sources"
  exit 0
fi

[ $# -eq 2 ] || { echo "usage: $me PACKAGE DEST | $me --print-sources" >&2; exit 2; }
package=$1
dest=$2
name=${package%%[=/]*}  # "scite=5.3.3-1" and "scite/bookworm" are scite
[[ $name =~ ^[a-z0-9][a-z0-9+.-]+$ ]] || die "'$package' is not a source package name"

mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
marker=$dest/.$name.unpacked  # written last: names the finished folder

if [ -f "$marker" ]; then
  folder=$(<"$marker")
  if [ -d "$dest/$folder" ]; then
    echo "$dest/$folder"
    exit 0
  fi
fi

private=$dest/apt
mkdir -p "$private/lists/partial" "$private/cache/archives/partial"
list=$private/sources.sources
derive_sources >"$list.new"
mv "$list.new" "$list"
grep -q '^URIs:' "$list" || no_source

apt_private=(-o Dir::Etc::SourceList="$list" -o Dir::Etc::SourceParts=/dev/null
             -o Dir::State::Lists="$private/lists" -o Dir::Cache="$private/cache"
             -qq)

echo "$me: reading the source indexes of the machine's package sources" >&2
if ! apt-get "${apt_private[@]}" update >&2; then
  echo "$me: some package sources could not be read; trying the others" >&2
fi

# Run as root, apt downloads as its sandbox user, who cannot write into a
# folder of the build; the files are checked against the signed index all
# the same, so they are downloaded as root without apt warning about it.
source_opts=()
[ "$(id -u)" -ne 0 ] || source_opts=(-o APT::Sandbox::User=root)

download=$private/download
rm -rf "$download"
mkdir -p "$download"
fetch() { (cd "$download" && apt-get "${apt_private[@]}" "${source_opts[@]}" source --download-only "$1" >&2); }
# The versions of a source package that the indexes list, newest first.
listed_versions() {
  apt-cache "${apt_private[@]}" showsrc "$name" 2>/dev/null | sed -n 's/^Version: *//p' | sort -u -r -V
}
echo "$me: downloading the source package $package" >&2
if ! fetch "$package"; then
  # A suite's newest version may be listed by an index whose pool does not
  # serve it (a security suite behind a mirror): the other listed versions
  # are tried, newest first, unless a version or suite was asked for.
  fetched=
  if [ "$package" = "$name" ]; then
    while read -r version; do
      [ -n "$version" ] || continue
      rm -rf "${download:?}"/*
      echo "$me: trying $name=$version" >&2
      if fetch "$name=$version"; then fetched=1; break; fi
    done < <(listed_versions)
  fi
  [ -n "$fetched" ] || die "could not download the source package '$package' from the machine's package sources \
(the private list is $list)"
fi

# --- unpack
dscs=("$download"/*.dsc)
[ ${#dscs[@]} -gt 0 ] || die "the download of '$package' holds no .dsc file"
version=$(sed -n 's/^Version: *//p' "${dscs[0]}" | head -n1)
upstream=${version#*:}   # no epoch
upstream=${upstream%-*}  # no Debian revision
tarballs=("$download"/*.orig.tar.{gz,xz,bz2})
if [ ${#tarballs[@]} -eq 0 ]; then  # a native package: its one tarball is the source
  tarballs=("$download"/*.tar.{gz,xz,bz2})
fi
tarball=${tarballs[0]:-}
[ -n "$tarball" ] || die "the download of '$package' holds no source tarball"

folder=$name-$upstream
partial=$dest/.$folder.partial
rm -rf "$partial"
mkdir -p "$partial"
tar -xf "$tarball" -C "$partial"
# A tarball with one top folder gives its contents; one with several (as
# SciTE's, with scintilla/ and lexilla/ beside it) is kept as it is.
shopt -s dotglob
top=("$partial"/*)
if [ ${#top[@]} -eq 1 ] && [ -d "${top[0]}" ]; then
  mv "${top[0]}" "$partial.one"
  rmdir "$partial"
  mv "$partial.one" "$partial"
fi
rm -rf "${dest:?}/$folder"
mv "$partial" "$dest/$folder"
mv "$download"/* "$dest/"  # the downloaded files stay beside the folder
echo "$folder" >"$marker"
echo "$dest/$folder"
