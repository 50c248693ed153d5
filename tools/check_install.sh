#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what lands there: the program, the
# menu entry, every icon size and the AppStream data, each valid for its validator, and
# nothing written into the source tree.
#
#   tools/check_install.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
src="$(cd "$(dirname "$0")/.." && pwd)"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT

before="$(git -C "$src" status --porcelain --ignored=no 2>/dev/null || true)"
cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(bin/tianbo libexec/tianbo/tianbo-web share/applications/tianbo.desktop share/metainfo/org.tianbo.Tianbo.metainfo.xml)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/tianbo.png")
done
status=0
for f in "${expected[@]}"; do
    if [ ! -f "$prefix/$f" ]; then echo "missing: $f"; status=1; fi
done
# Nothing else: every installed file is one of the expected ones.
while IFS= read -r f; do
    found=0
    for e in "${expected[@]}"; do [ "$f" = "$e" ] && found=1; done
    if [ "$found" -eq 0 ]; then echo "unexpected: $f"; status=1; fi
done < <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)

for size in 16 22 24 32 48 64 128 256; do
    got="$(file -b "$prefix/share/icons/hicolor/${size}x${size}/apps/tianbo.png")"
    case "$got" in
        "PNG image data, $size x $size, 8-bit/color RGBA"*) ;;
        *) echo "icon ${size}: $got"; status=1 ;;
    esac
done

desktop-file-validate "$prefix/share/applications/tianbo.desktop" || status=1
appstreamcli validate --no-net --explain "$prefix/share/metainfo/org.tianbo.Tianbo.metainfo.xml" || status=1
"$prefix/bin/tianbo" --version | grep -q -E '^tianbo [0-9]+\.[0-9]+\.[0-9]+$' || { echo "--version"; status=1; }

after="$(git -C "$src" status --porcelain --ignored=no 2>/dev/null || true)"
if [ "$before" != "$after" ]; then echo "the install changed the source tree"; status=1; fi

[ "$status" -eq 0 ] && echo "install: all ${#expected[@]} files in place and valid"
exit "$status"
