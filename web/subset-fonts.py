#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# The page's fonts: Debian's four IPA fonts cut down to the characters the page shows, renamed
# (the IPA Font License wants a derived font to carry a name of its own) and written as WOFF2,
# with the licence text beside them.
#
#   python3 web/subset-fonts.py --chars CHARS.txt --out DIR
#
# CHARS.txt holds every character the page shows, in any order; ASCII, the ideographic space
# and the full-width digits are always kept. Hinting, advance widths and the ascent/descent
# in hhea and OS/2 stay as they are, so text lays out as on the desktop. The same input
# gives the same bytes.
import argparse
import json
import os
import sys

try:
    import brotli  # noqa: F401  (fontTools needs it for WOFF2)
    from fontTools import subset
except ImportError:
    # A python3 of its own (pyenv, venv) may lack Debian's packages: the system one has them.
    debian = "/usr/bin/python3"
    if os.path.exists(debian) and os.path.realpath(sys.executable) != os.path.realpath(debian):
        os.execv(debian, [debian, *sys.argv])
    sys.exit("subset-fonts.py: needs fontTools and brotli "
             "(Debian: apt-get install python3-fonttools python3-brotli)")

FONT_DIR = "/usr/share/fonts/opentype"

# (Debian's file, our family name, our file, the design's font it stands for, its kind)
FONTS = [
    ("ipafont-mincho/ipamp.ttf", "Pikomaru PMincho", "pikomaru-pmincho.woff2", "ＭＳ Ｐ明朝", "serif"),
    ("ipafont-mincho/ipam.ttf", "Pikomaru Mincho", "pikomaru-mincho.woff2", "ＭＳ 明朝", "serif"),
    ("ipafont-gothic/ipag.ttf", "Pikomaru Gothic", "pikomaru-gothic.woff2", "ＭＳ ゴシック", "monospace"),
    ("ipafont-gothic/ipagp.ttf", "Pikomaru PGothic", "pikomaru-pgothic.woff2", "ＭＳ Ｐゴシック", "sans-serif"),
]

# Beside the fonts: where they come from and how to use the originals instead.
README = """The fonts in this folder are subsets of the IPA fonts (IPAPMincho, IPAMincho, IPAGothic,
IPAPGothic; Debian's fonts-ipafont-mincho and fonts-ipafont-gothic packages), cut down by
subset-fonts.py of ぴこまる to the characters the page shows and renamed, as the IPA Font
License Agreement v1.0 asks of a derived font:

{table}

They are under the IPA Font License Agreement v1.0 ({licence}), not under the GPL.
To use the original fonts instead, put the original .ttf files here and point the src of the
@font-face rules in fonts.css at them; the original fonts can be had from Debian or from
https://moji.or.jp/ipafont/.
"""

ALWAYS = ({chr(c) for c in range(0x20, 0x7F)} | {"\u3000"}
          | {chr(c) for c in range(0xFF10, 0xFF1A)})

# What a browser or Qt applies to horizontal text by default; the vertical and proportional
# alternates ('vert', 'palt') are never used by the page.
FEATURES = ["rvrn", "ccmp", "locl", "mark", "mkmk", "rlig", "liga", "clig", "calt", "rclt",
            "curs", "kern"]

LICENSE_NAME = "IPA_Font_License_Agreement_v1.0.txt"
LICENSE_TITLE = "IPA Font License Agreement v1.0"

# Name records that may go on naming the original: the copyright, the description, the licence.
MAY_NAME_ORIGINAL = {0, 10, 13, 14}


class Failure(Exception):
    pass


def read_chars(path):
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except (OSError, UnicodeDecodeError) as e:
        raise Failure(f"cannot read {path}: {e}")
    # Line breaks, tabs and a byte-order mark are how the file is laid out, not page text.
    return {c for c in text if ord(c) >= 0x20 and c not in "\x7f\ufeff"} | ALWAYS


def english(name, name_id):
    record = name.getName(name_id, 3, 1, 0x409)
    return record.toUnicode() if record else None


def rename(font, family, original_names):
    name = font["name"]
    version = english(name, 5) or "Version %.2f" % font["head"].fontRevision
    original = english(name, 4) or english(name, 1)
    postscript = family.replace(" ", "")

    def put(text, name_id):
        name.setName(text, name_id, 3, 1, 0x409)

    put(family, 1)
    put(family, 4)
    put(postscript, 6)
    put(f"{family}; {version}; subset for pikomaru", 3)
    if english(name, 16) is not None:
        put(family, 16)
    if english(name, 17) is not None:
        put("Regular", 17)
    description = (f"A subset of {original} made for ぴこまる (pikomaru), renamed as the "
                   f"{LICENSE_TITLE} asks of a derived font. It is under that licence.")
    earlier = english(name, 10)
    put(f"{earlier}\n{description}" if earlier else description, 10)

    left = [(r.nameID, r.toUnicode()) for r in name.names
            if r.nameID not in MAY_NAME_ORIGINAL
            and any(old in r.toUnicode() for old in original_names)]
    if left:
        raise Failure(f"{family}: name records still carry the original's name: {left}")


def cut(source, family, target, chars):
    options = subset.Options()
    options.layout_features = FEATURES
    options.hinting = True
    options.glyph_names = False
    options.notdef_outline = True
    options.name_IDs = ["*"]
    options.name_languages = [0x0409]  # the Japanese records spell the original name
    options.name_legacy = False
    options.drop_tables = options.drop_tables + ["vhea", "vmtx", "VORG"]
    options.recalc_timestamp = False
    options.flavor = "woff2"

    try:
        font = subset.load_font(source, options, dontLoadGlyphNames=True)
    except Exception as e:
        raise Failure(f"cannot read {source}: {e}")
    with font:
        unicodes = {ord(c) for c in chars}
        covered = font.getBestCmap()
        missing = sorted(u for u in unicodes if u not in covered)
        if missing:
            shown = " ".join(f"U+{u:04X}({chr(u)})" for u in missing)
            raise Failure(f"{os.path.basename(source)} has no glyph for {shown}")

        original_names = {"IPA"} | {r.toUnicode() for r in font["name"].names
                                    if r.nameID in (1, 4, 6, 16, 17)}
        modified = font["head"].modified
        subsetter = subset.Subsetter(options)
        subsetter.populate(unicodes=unicodes)
        subsetter.subset(font)
        rename(font, family, original_names)
        font["head"].modified = modified

        partial = target + ".part"
        try:
            subset.save_font(font, partial, options)
            os.replace(partial, target)
        except OSError as e:
            raise Failure(f"cannot write {target}: {e}")
        return os.path.getsize(target)


def dep5_license(path):
    """The IPA licence's text in a Debian copyright file: its 'License: IPA...' paragraph."""
    try:
        with open(path, encoding="utf-8") as f:
            lines = f.read().splitlines()
    except (OSError, UnicodeDecodeError):
        return None
    body = None
    for line in lines:
        if body is None:
            if line.startswith("License:") and line[8:].strip().upper().startswith("IPA"):
                body = []
            continue
        if not line.startswith((" ", "\t")):
            if LICENSE_TITLE in "\n".join(body):
                break
            body = None
            if line.startswith("License:") and line[8:].strip().upper().startswith("IPA"):
                body = []
            continue
        text = line[1:]
        body.append("" if text.strip() == "." else text)
    if body is None or LICENSE_TITLE not in "\n".join(body):
        return None
    return "\n".join(body).strip("\n") + "\n"


def license_text():
    packages = ["fonts-ipafont-mincho", "fonts-ipafont-gothic"]
    for place in ([f"/usr/share/doc/{p}" for p in packages]
                  + [f"{FONT_DIR}/ipafont-mincho", f"{FONT_DIR}/ipafont-gothic"]):
        path = os.path.join(place, LICENSE_NAME)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                raw = f.read()
            for encoding in ("utf-8", "shift_jis", "cp932"):
                try:
                    return raw.decode(encoding).replace("\r\n", "\n")
                except UnicodeDecodeError:
                    pass
    for p in packages:
        text = dep5_license(f"/usr/share/doc/{p}/copyright")
        if text:
            return text
    raise Failure(f"cannot find the {LICENSE_TITLE} text: looked for {LICENSE_NAME} and for "
                  f"an IPA licence paragraph in the copyright files of {', '.join(packages)} "
                  f"(apt-get install {' '.join(packages)})")


def main():
    parser = argparse.ArgumentParser(description="Cut the IPA fonts down to the page's "
                                     "characters and rename them for ぴこまる.")
    parser.add_argument("--chars", required=True, help="UTF-8 file of the characters shown")
    parser.add_argument("--out", required=True, help="folder for the WOFF2 files and licence")
    args = parser.parse_args()

    try:
        chars = read_chars(args.chars)
        for source, *_ in FONTS:
            if not os.path.isfile(os.path.join(FONT_DIR, source)):
                raise Failure(f"{FONT_DIR}/{source} is missing "
                              "(apt-get install fonts-ipafont-mincho fonts-ipafont-gothic)")
        licence = license_text()
        try:
            os.makedirs(args.out, exist_ok=True)
        except OSError as e:
            raise Failure(f"cannot make {args.out}: {e}")
        sizes = [cut(os.path.join(FONT_DIR, source), family,
                     os.path.join(args.out, target), chars)
                 for source, family, target, *_ in FONTS]
        table = "\n".join(f"  {target}  {family}  (from {os.path.basename(source)})"
                          for source, family, target, *_ in FONTS)
        faces = "".join(f'@font-face {{ font-family: "{family}"; src: url("{target}") '
                        'format("woff2"); font-display: block; }\n'
                        for _, family, target, *_ in FONTS)
        families = {design: f'"{family}", {kind}' for _, family, _, design, kind in FONTS}
        for name, text in [(LICENSE_NAME, licence), ("fonts.css", faces),
                           ("families.json", json.dumps(families, ensure_ascii=False)),
                           ("README.txt", README.format(table=table, licence=LICENSE_NAME))]:
            try:
                with open(os.path.join(args.out, name), "w", encoding="utf-8") as f:
                    f.write(text)
            except OSError as e:
                raise Failure(f"cannot write {name} into {args.out}: {e}")
    except Failure as e:
        sys.exit(f"subset-fonts.py: {e}")
    print(f"{len(FONTS)} fonts, {len(chars)} characters, {sum(sizes)} bytes in {args.out}")


if __name__ == "__main__":
    main()
