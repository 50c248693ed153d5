#!/usr/bin/env bash
# Checks the Debian package that `./x package` built: its dependencies (found by
# dpkg-shlibdeps), its contents, and that it installs with apt and runs from /usr/bin.
# Installing needs root; CI runs this as root on a throwaway machine.
#
#   tools/check_package.sh build/tianbo_<version>_<arch>.deb
set -euo pipefail
deb="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
status=0

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
# Linked libraries come from dpkg-shlibdeps, with versions; the run-time-only ones are named.
for lib in libmpv2 libcurl4 libqt6widgets6 libqt6webenginecore6 zlib1g libc6 \
           qt6-qpa-plugins libqt6webenginecore6-bin fonts-wqy-zenhei; do
    grep -q -E "(^|, )$lib( |,|$)" <<<"$depends" || { echo "missing dependency: $lib"; status=1; }
done
grep -q -E 'libc6 \(>= [0-9]' <<<"$depends" || { echo "no versioned shared-library dependencies"; status=1; }

contents="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for f in ./usr/bin/tianbo ./usr/libexec/tianbo/tianbo-web ./usr/share/applications/tianbo.desktop ./usr/share/metainfo/org.tianbo.Tianbo.metainfo.xml \
         ./usr/share/icons/hicolor/256x256/apps/tianbo.png ./usr/share/icons/hicolor/16x16/apps/tianbo.png; do
    grep -q -x -F "$f" <<<"$contents" || { echo "not in the package: $f"; status=1; }
done
[ "$status" -eq 0 ] || exit "$status"

export DEBIAN_FRONTEND=noninteractive
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
"${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null
/usr/bin/tianbo --version
# The web engine's process refuses a call without its window, before touching any display.
set +e
/usr/libexec/tianbo/tianbo-web 2>/dev/null
code=$?
set -e
[ "$code" -eq 2 ] || { echo "tianbo-web does not run from /usr/libexec/tianbo (exit $code)"; exit 1; }
echo "package: dependencies, contents, install, --version and the web engine process checked"
