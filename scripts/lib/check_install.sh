# Checks what a user installs: the files `cmake --install` puts in place, the
# desktop entry and AppStream data, every program's --version, and the Debian
# package (its file list and lintian). Sourced by scripts/test with the build
# folder in $1.
rmt4_check_install() {
  local build=$1 expected=packaging/installed-files.txt
  local dest
  dest=$(mktemp -d)
  # shellcheck disable=SC2064
  trap "rm -rf '$dest'" RETURN

  DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
  if ! diff -u "$expected" <(cd "$dest" && find . -type f | sed 's|^\./||' | sort); then
    echo "the installed files differ from $expected" >&2
    return 1
  fi
  desktop-file-validate "$dest/usr/share/applications/rmt4.desktop"
  appstreamcli validate --no-net --pedantic "$dest"/usr/share/metainfo/*.metainfo.xml >/dev/null

  local version program
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  for program in rmt4 rmt4ctl rmt4-console; do
    if [ "$("$dest/usr/bin/$program" --version)" != "$program $version" ]; then
      echo "$program --version does not say $version" >&2
      return 1
    fi
  done

  (umask 022 && cmake --build "$build" --target package >/dev/null)
  local package="$build/package/rmt4remote_${version}_$(dpkg --print-architecture).deb"
  if ! diff -u "$expected" <(dpkg-deb -c "$package" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort); then
    echo "the package's files differ from $expected" >&2
    return 1
  fi
  lintian --fail-on error "$package"
  echo "installed files, desktop entry, AppStream data, versions and $(basename "$package") are in order"
}
