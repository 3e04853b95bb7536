#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Puts the page together as one folder of static files: the face (web/site), the drill built
# for the browser, the pictures, and the fonts cut down to every character the page can show.
# The service worker learns the folder's files and a version made from their contents.
#
#   make-site.py --root SOURCE_ROOT --module pikomaru.mjs --node NODE --out DIR
import argparse
import hashlib
import json
import re
import shutil
import subprocess
import sys
from pathlib import Path

SITE_FILES = ["index.html", "style.css", "main.js", "build.js", "input.js", "dialogs.js",
              "announcer.js", "beeper.js", "surface.js", "opened-as-file.js", "manifest.webmanifest"]
# Where the texts the page shows are written: the drill's tables and words, the generators'
# status line and operators, and the face's own words (its notices).
TEXT_SOURCES = ["drill/*.h", "drill/*.cpp", "state/*.h", "generators/*.h", "generators/*.cpp"]


def characters(root):
    """Every character of the program's strings, comments left out."""
    found = set()
    for pattern in TEXT_SOURCES:
        for source in sorted(root.glob(pattern)):
            code = re.sub(r"//[^\n]*", "", source.read_text(encoding="utf-8"))
            for literal in re.findall(r'"((?:[^"\\\n]|\\.)*)"', code):
                found.update(literal)
    for name in SITE_FILES:
        text = (root / "web/site" / name).read_text(encoding="utf-8")
        found.update(re.sub(r"/\*.*?\*/|<!--.*?-->|//[^\n]*", "", text, flags=re.S))
    return "".join(sorted(c for c in found if ord(c) >= 0x20))


def write_start_screen(root, page, start, families):
    """The start screen into the page, as the drill builds it (web/windows-json.mjs), and the
    font that stands for each of the design's."""
    start["families"] = families
    json_text = json.dumps(start, ensure_ascii=False, separators=(",", ":")).replace("<", "\\u003c")
    # The start screen's fonts are fetched with the page itself.
    wanted = {families[c["font"]["family"]] for layout in ("large", "compact")
              for c in start[layout]["controls"] if c["font"]}
    faces = re.findall(r'font-family: ("[^"]+");[^}]*url\("([^"]+)"\)',
                       (root / "fonts/fonts.css").read_text(encoding="utf-8"))
    preloads = "\n".join(
        f'<link rel="preload" href="fonts/{file}" as="font" type="font/woff2" crossorigin>'
        for family, file in faces if any(w.startswith(family) for w in wanted))
    text = page.read_text(encoding="utf-8")
    page.write_text(text.replace("@START_SCREEN@", json_text).replace("@START_FONTS@", preloads),
                    encoding="utf-8")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True, type=Path)
    parser.add_argument("--module", required=True, type=Path)
    parser.add_argument("--node", default="node")
    parser.add_argument("--out", required=True, type=Path)
    args = parser.parse_args()
    root, out = args.root, args.out
    if out.exists():
        shutil.rmtree(out)
    (out / "art").mkdir(parents=True)
    for name in SITE_FILES:
        shutil.copy(root / "web/site" / name, out / name)
    for picture in (root / "art").glob("*.svg"):
        shutil.copy(picture, out / ("icon.svg" if picture.name == "icon.svg" else f"art/{picture.name}"))
    shutil.copy(args.module, out / "pikomaru.mjs")
    shutil.copy(args.module.with_suffix(".wasm"), out / "pikomaru.wasm")

    start = subprocess.run([args.node, "--no-experimental-fetch", root / "web/windows-json.mjs",
                              args.module], check=True, capture_output=True).stdout
    chars = out.parent / "page-characters.txt"
    chars.write_text(characters(root), encoding="utf-8")
    subprocess.run([sys.executable, root / "web/subset-fonts.py", "--chars", chars,
                    "--out", out / "fonts"], check=True, stdout=subprocess.DEVNULL)
    families = json.loads((out / "fonts/families.json").read_text(encoding="utf-8"))
    (out / "fonts/families.json").unlink()
    write_start_screen(out, out / "index.html", json.loads(start), families)

    files = sorted(p.relative_to(out).as_posix() for p in out.rglob("*") if p.is_file())
    version = hashlib.sha256()
    for name in files:
        version.update(name.encode() + b"\0" + (out / name).read_bytes())
    cached = ["./"] + [f for f in files if not f.endswith(".txt")]
    worker = (root / "web/site/sw.js").read_text(encoding="utf-8")
    worker = worker.replace("@VERSION@", version.hexdigest()[:12])
    worker = worker.replace("@FILES@", json.dumps(cached, indent=2))
    (out / "sw.js").write_text(worker, encoding="utf-8")


if __name__ == "__main__":
    main()
