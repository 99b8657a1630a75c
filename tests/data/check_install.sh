#!/usr/bin/env bash
# Installs the build into a scratch prefix, as `cmake --install` does for a
# user, and checks the installed desktop files with the tools that desktops
# and software centres use: desktop-file-validate (desktop-file-utils),
# appstreamcli (appstream), update-mime-database (shared-mime-info) and
# man -l (man-db). Then runs the installed programs once.
#
#   check_install.sh BUILD_DIR WORK_DIR VERSION
set -uo pipefail

build="$1"
work="$2"
version="$3"
prefix="$work/prefix"
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

need() {
  command -v "$1" >/dev/null || { echo "FAIL: $1 is missing (Debian package $2)" >&2; exit 1; }
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need update-mime-database shared-mime-info
need man man-db

rm -rf "$work"
mkdir -p "$work"
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install" >&2
  exit 1
fi

desktop="$prefix/share/applications/curvenest.desktop"
mime="$prefix/share/mime/packages/curvenest.xml"
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
for f in "$prefix/bin/curvenest" "$prefix/bin/exprcalc" "$desktop" "$mime" "${metainfo[0]}" \
  "$prefix/share/man/man1/curvenest.1" "$prefix/share/man/man1/exprcalc.1"; do
  [[ -e "$f" ]] || fail "not installed: ${f#"$prefix"/}"
done
((failures == 0)) || exit 1
((${#metainfo[@]} == 1)) || fail "expected one metainfo file, found ${#metainfo[*]}"

# The menu entry, and that it opens workspace files.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[[ -z "$out" ]] || fail "desktop-file-validate warns: $out"
grep -qx 'Exec=curvenest %f' "$desktop" || fail "the desktop entry does not pass the file: no 'Exec=curvenest %f'"
grep -qx 'MimeType=application/x-curvenest;' "$desktop" || fail "the desktop entry lacks MimeType=application/x-curvenest;"

# The file type: the database built from the installed XML maps the suffix.
mimedb="$work/mime"
mkdir -p "$mimedb/packages"
cp "$mime" "$mimedb/packages/"
out=$(update-mime-database "$mimedb" 2>&1) || fail "update-mime-database: $out"
grep -qx 'application/x-curvenest:\*\.curvenest' <(cut -d: -f2- "$mimedb/globs2") ||
  fail "the MIME database has no glob *.curvenest for application/x-curvenest"
grep -qx 'application/x-curvenest application/json' "$mimedb/subclasses" ||
  fail "application/x-curvenest is not a kind of application/json"

# The software centre's metadata, offline.
out=$(appstreamcli validate --no-net "${metainfo[0]}" 2>&1) || fail "appstreamcli validate: $out"
id=$(basename "${metainfo[0]}" .metainfo.xml)
grep -q "<id>$id</id>" "${metainfo[0]}" || fail "the metainfo file is not named after its id $id"
grep -q '<launchable type="desktop-id">curvenest.desktop</launchable>' "${metainfo[0]}" ||
  fail "the metainfo does not launch the installed curvenest.desktop"
grep -q '<mediatype>application/x-curvenest</mediatype>' "${metainfo[0]}" ||
  fail "the metainfo does not provide the workspace file type"

# The manual pages: formatted without a single troff warning.
for page in curvenest exprcalc; do
  file="$prefix/share/man/man1/$page.1"
  if ! text=$(LC_ALL=C.UTF-8 MANWIDTH=80 MAN_KEEP_STDERR=1 man --warnings -l "$file" 2>"$work/$page.err"); then
    fail "man -l $page.1 failed: $(cat "$work/$page.err")"
  fi
  [[ -s "$work/$page.err" ]] && fail "man -l $page.1 warns: $(cat "$work/$page.err")"
  grep -q "^NAME" <<<"$text" || fail "$page.1 has no NAME section"
  grep -q "Curvenest $version" <<<"$text" || fail "$page.1 does not name version $version"
done

# The installed programs run.
got=$(printf '1+2\n' | "$prefix/bin/exprcalc")
[[ "$got" == $'ok\t3' ]] || fail "installed exprcalc printed '$got' for 1+2"
got=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/curvenest" --version)
[[ "$got" == "curvenest $version" ]] || fail "installed curvenest --version printed '$got'"

if ((failures > 0)); then
  echo "$failures installation check(s) failed" >&2
  exit 1
fi
echo "the installation passes desktop-file-validate, appstreamcli, update-mime-database and man -l"
