#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Puts the page together as one folder of static files: the face (web/site), the drill built
# for the browser, the pictures, and the fonts cut down to every character the page can show.
# Every file but the page, the manifest and the worker is named after its contents
# (main.1a2b3c4d5e.js), so that a browser can never take one version's file for another's; the
# service worker learns the folder's files and a version made from their contents. Beside the
# folder's files, pikomaru.html is the whole page in one file, to open from a folder or a USB
# stick with no server.
#
#   make-site.py --root SOURCE_ROOT --module pikomaru.mjs --node NODE --out DIR [--note TEXT]
import argparse
import base64
import hashlib
import json
import re
import shutil
import subprocess
import sys
from pathlib import Path

SITE_FILES = ["index.html", "style.css", "main.js", "build.js", "input.js", "dialogs.js",
              "announcer.js", "beeper.js", "surface.js", "worksheet.js", "opened-as-file.js",
              "manifest.webmanifest"]
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


def write_start_screen(root, page, start, families, pictures):
    """The start screen into the page, as the drill builds it (web/windows-json.mjs), the font
    that stands for each of the design's, and where each picture is."""
    start["families"] = families
    start["art"] = {name: f"art/{name}" for name in pictures}
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


# Files that keep their names: the address a teacher opens, the manifest a browser installs
# from, the worker (its name is its registration), and what is there for people to read.
FIXED_NAMES = {"index.html", "manifest.webmanifest", "sw.js"}
TEXT_SUFFIXES = {".html", ".js", ".mjs", ".css", ".webmanifest", ".txt"}
ONE_FILE = "pikomaru.html"


def reference(source, target):
    """How `source` names `target` (both relative to the folder): a path relative to it."""
    depth = source.count("/")
    up, down = source.split("/")[:depth], target.split("/")
    while up and down[:-1] and up[0] == down[0]:
        up, down = up[1:], down[1:]
    return "/".join([".."] * len(up) + down)


def naming(ref):
    """A name in quotes, brackets or after ./ as a page, a module or a style sheet writes it."""
    return re.compile(r"(?<=[\"'`(\s])(\./)?" + re.escape(ref) + r"(?=[\"'`)?#\s])")


def name_by_contents(out):
    """Every file but the fixed ones renamed after its contents, the files it names first, and
    every name rewritten; the build fails where an old name is left."""
    files = sorted(p.relative_to(out).as_posix() for p in out.rglob("*") if p.is_file())
    texts = {f: (out / f).read_text(encoding="utf-8") for f in files if Path(f).suffix in TEXT_SUFFIXES}
    hashed = [f for f in files if f not in FIXED_NAMES and not f.endswith(".txt")]
    refers = {f: {t for t in hashed if t != f and naming(reference(f, t)).search(texts.get(f, ""))}
              for f in files}
    renamed = {}

    def rewrite(f):
        text = texts[f]
        for t in refers[f]:
            text = naming(reference(f, t)).sub(lambda m: (m.group(1) or "") + reference(f, renamed[t]), text)
        texts[f] = text
        (out / f).write_text(text, encoding="utf-8")

    while len(renamed) < len(hashed):
        ready = [f for f in hashed if f not in renamed and refers[f] <= renamed.keys()]
        if not ready:
            sys.exit("make-site.py: files name each other: " + ", ".join(sorted(set(hashed) - renamed.keys())))
        for f in ready:
            if f in texts:
                rewrite(f)
            stem, dot, suffix = f.rpartition(".")
            digest = hashlib.sha256((out / f).read_bytes()).hexdigest()[:10]
            renamed[f] = f"{stem}.{digest}.{suffix}"
            (out / f).rename(out / renamed[f])
            if f in texts:
                texts[renamed[f]] = texts.pop(f)
    for f in files:
        if f in texts and f not in hashed:
            rewrite(f)
    for f, text in texts.items():
        for old in hashed:
            if re.search(r"(?<![\w.-])" + re.escape(reference(f, old)) + r"(?![\w-])", text):
                sys.exit(f"make-site.py: {f} still names {old}")
    return renamed


def data_url(path, kind):
    return f"data:{kind};base64," + base64.b64encode(path.read_bytes()).decode()


def inline_modules(out, entry):
    """The modules from `entry` on as one module's code: each module a function of its own
    returning what it exports, those it imports before it, a dynamic import a promise of it. The
    drill's module gets its WebAssembly as bytes."""
    made, code = {}, []

    def load(name):
        if name in made:
            return made[name]
        text = (out / name).read_text(encoding="utf-8")
        static = r"""import\s*\{([^}]*)\}\s*from\s*'\./([^']+)';"""
        dynamic = r"""import\('\./([^']+)'\)"""
        for dependency in [d for _, d in re.findall(static, text)] + re.findall(dynamic, text):
            load(dependency)
        text = re.sub(static, lambda m: f"const {{{m.group(1).replace(' as ', ': ')}}} = {made[m.group(2)]};", text)
        text = re.sub(dynamic, lambda m: f"Promise.resolve({made[m.group(1)]})", text)
        exported = re.findall(r"^export (?:const|let|class|function|async function) (\w+)", text, flags=re.M)
        text = re.sub(r"^export (?=const|let|class|function|async function)", "", text, flags=re.M)
        exported += ["default: _default"] if re.search(r"^export default ", text, flags=re.M) else []
        text = re.sub(r"^export default ", "const _default = ", text, flags=re.M)
        wasm = re.search(r'"([\w.-]+\.wasm)"', text)
        result = "{ " + ", ".join(exported) + " }"
        if wasm:
            binary = base64.b64encode((out / wasm.group(1)).read_bytes()).decode()
            result = ("{ default: (options) => _default({ ...options, wasmBinary: "
                      f"Uint8Array.from(atob('{binary}'), (c) => c.charCodeAt(0)) }}) }}")
        made[name] = f"module{len(made)}"
        code.append(f"const {made[name]} = (() => {{\n{text}\nreturn {result};\n}})();\n")
        return made[name]

    load(entry)
    return "".join(code)


def write_one_file(out):
    """pikomaru.html: the page with everything inside it, which runs opened as a file, where a
    browser fetches nothing, runs no worker and loads no module of another file."""
    page = (out / "index.html").read_text(encoding="utf-8")
    page = page.replace('<html lang="ja"', '<html lang="ja" data-edition="one-file"', 1)
    page = re.sub(r'<link rel="(manifest|preload|modulepreload)"[^>]*>\n?', "", page)
    page = re.sub(r'<script src="[^"]*"></script>\n?', "", page)  # the notice for a file
    page = re.sub(r'(<link rel="icon" href=")([^"]+)(")',
                  lambda m: m.group(1) + data_url(out / m.group(2), "image/svg+xml") + m.group(3), page)

    def style(m):
        sheet = Path(m.group(1))
        text = (out / sheet).read_text(encoding="utf-8")
        text = re.sub(r'url\("([^"]+)"\)',
                      lambda u: f'url("{data_url(out / sheet.parent / u.group(1), "font/woff2")}")', text)
        return f"<style>\n{text}</style>"
    page = re.sub(r'<link rel="stylesheet" href="([^"]+)">', style, page)
    page = re.sub(r'"(art/[^"]+\.svg)"', lambda m: f'"{data_url(out / m.group(1), "image/svg+xml")}"', page)
    entry = re.search(r'<script type="module" src="([^"]+)"></script>', page)
    code = inline_modules(out, entry.group(1)).replace("</script", "<\\/script")
    page = page.replace(entry.group(0), (f'<script type="module">\n{code}</script>'))
    (out / ONE_FILE).write_text(page, encoding="utf-8")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True, type=Path)
    parser.add_argument("--module", required=True, type=Path)
    parser.add_argument("--node", default="node")
    parser.add_argument("--out", required=True, type=Path)
    parser.add_argument("--note", help="a note on this build, in the page's head")
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
    pictures = sorted(p.name for p in (out / "art").glob("*.svg"))
    write_start_screen(out, out / "index.html", json.loads(start), families, pictures)
    if args.note:
        page = (out / "index.html").read_text(encoding="utf-8")
        note = args.note.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")
        page = page.replace("<title>", f'<meta name="pikomaru-build" content="{note}">\n<title>', 1)
        (out / "index.html").write_text(page, encoding="utf-8")

    name_by_contents(out)
    files = sorted(p.relative_to(out).as_posix() for p in out.rglob("*") if p.is_file())
    version = hashlib.sha256()
    for name in files:
        version.update(name.encode() + b"\0" + (out / name).read_bytes())
    cached = ["./"] + [f for f in files if not f.endswith(".txt")]
    worker = (root / "web/site/sw.js").read_text(encoding="utf-8")
    worker = worker.replace("@VERSION@", version.hexdigest()[:12])
    worker = worker.replace("@FILES@", json.dumps(cached, indent=2))
    (out / "sw.js").write_text(worker, encoding="utf-8")
    write_one_file(out)


if __name__ == "__main__":
    main()
