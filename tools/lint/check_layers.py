#!/usr/bin/env python3
"""Fails when an include in src/ points against the layer order.

Layers, lowest first: the platform core (window, intercept, gdi), forms, the outside
components (http, media, web, dbus), imaging, controls, app. A file may include its own layer and
the layers below it, with two further rules: the outside components and forms never include
each other (the error type in forms/runtime_error.h and the iconv handle in forms/iconv_handle.h are
the headers all of them share), and
app/channels, the pure text library, includes nothing of the app and no outside component.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
CORE = {"window", "intercept", "gdi"}
COMPONENTS = {"http", "media", "web", "dbus"}
RANK = {"core": 0, "forms": 1, "http": 2, "media": 2, "web": 2, "dbus": 2, "imaging": 3, "controls": 4,
        "channels": 5, "app": 5}
SHARED_FORMS_HEADERS = {"platform/forms/runtime_error.h", "platform/forms/iconv_handle.h"}


def layer_of(path):
    """The layer of a path relative to src/ (a file or an include), or None."""
    parts = path.split("/")
    if parts[0] == "platform" and len(parts) > 2:
        return "core" if parts[1] in CORE else parts[1] if parts[1] in RANK else None
    if parts[0] == "app" and len(parts) > 2 and parts[1] == "channels":
        return "channels"
    return parts[0] if parts[0] in RANK else None


def problem(src_layer, inc, inc_layer):
    if RANK[inc_layer] > RANK[src_layer]:
        return "points up the layer order"
    if src_layer == "channels" and inc_layer in {"app"} | COMPONENTS:
        return "the text library stays free of the app and the outside components"
    if src_layer in COMPONENTS | {"forms"} and inc_layer in COMPONENTS | {"forms"} \
            and src_layer != inc_layer and inc not in SHARED_FORMS_HEADERS:
        return "forms and the outside components do not include each other"
    return None


def main(root):
    src = os.path.join(root, "src")
    bad = 0
    for dirpath, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            full = os.path.join(dirpath, name)
            rel = os.path.relpath(full, src)
            if rel.startswith("platform/") and rel.count("/") == 1:
                print(f"{rel}: sources of the platform layer live in its sub-folders")
                bad += 1
                continue
            own = layer_of(rel)
            if own is None:
                continue
            with open(full, encoding="utf-8") as f:
                text = f.read()
            for inc in INCLUDE.findall(text):
                target = inc if "/" in inc else os.path.relpath(
                    os.path.join(os.path.dirname(full), inc), src)
                inc_layer = layer_of(target)
                if inc_layer is None:
                    continue
                why = problem(own, target, inc_layer)
                if why:
                    print(f"{rel}: #include \"{inc}\": {why}")
                    bad += 1
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
