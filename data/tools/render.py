#!/usr/bin/env python3
"""Renders the program's art for the data compiler.

    render.py DATA-FOLDER OUT-FOLDER CACHE-FOLDER

Every SVG under DATA-FOLDER/art declares its pictures in a comment:

    <!-- picture NAME FILE [item=N] [depth=8|32] [alpha=KIND] [size=WxH]
         [view=X,Y,W,H] [hide=ID,ID] [effect=hover|pressed|dimmed|glow|ring|lineart] [encoded] [raw] -->

Each picture is rendered with rsvg-convert and ImageMagick into CACHE-FOLDER,
named by a hash of everything that makes it, so unchanged pictures are never
rendered again. OUT-FOLDER receives pictures.lst (one line per picture for the
compiler) and contact-sheet.png (every picture on one sheet).
"""
import concurrent.futures
import hashlib
import os
import threading
import re
import shutil
import subprocess
import sys

RENDERER_VERSION = "3"
ALPHAS = ("opaque", "keyed", "premultiplied", "straight")
EFFECTS = {
    # A lighter, slightly lifted look under the pointer.
    "hover": ('<filter id="fx"><feComponentTransfer><feFuncR type="linear" slope="1.12" intercept="0.04"/>'
              '<feFuncG type="linear" slope="1.12" intercept="0.04"/><feFuncB type="linear" slope="1.12" '
              'intercept="0.04"/></feComponentTransfer></filter>', "translate(0,-1)"),
    # Pushed in: darker and lower.
    "pressed": ('<filter id="fx"><feComponentTransfer><feFuncR type="linear" slope="0.82"/>'
                '<feFuncG type="linear" slope="0.82"/><feFuncB type="linear" slope="0.82"/>'
                '</feComponentTransfer></filter>', "translate(0,2)"),
    # Asleep: washed-out greys.
    "dimmed": ('<filter id="fx"><feColorMatrix type="saturate" values="0.12"/><feComponentTransfer>'
               '<feFuncR type="linear" slope="0.6" intercept="0.35"/><feFuncG type="linear" slope="0.6" '
               'intercept="0.35"/><feFuncB type="linear" slope="0.6" intercept="0.35"/>'
               '<feFuncA type="linear" slope="0.85"/></feComponentTransfer></filter>', ""),
    # Line art for colouring: black outlines on clear, from the silhouette's
    # rim and the edges between colours.
    "lineart": ('<filter id="fx" x="-5%" y="-5%" width="110%" height="110%" color-interpolation-filters="sRGB">'
                '<feMorphology in="SourceAlpha" operator="erode" radius="2" result="inner"/>'
                '<feComposite in="SourceAlpha" in2="inner" operator="out" result="rim"/>'
                '<feColorMatrix in="SourceGraphic" type="matrix" values="0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 '
                '0.299 0.587 0.114 0 0" result="lum"/><feConvolveMatrix in="lum" order="3" '
                'kernelMatrix="-1 -1 -1 -1 8 -1 -1 -1 -1" result="edges"/><feComponentTransfer in="edges" '
                'result="lines"><feFuncA type="discrete" tableValues="0 1 1 1 1 1 1 1"/></feComponentTransfer>'
                '<feMorphology in="lines" operator="dilate" radius="0.7" result="thick"/><feComposite '
                'in="thick" in2="SourceAlpha" operator="in" result="inside"/><feMerge result="all">'
                '<feMergeNode in="rim"/><feMergeNode in="inside"/></feMerge><feFlood flood-color="#000000"/>'
                '<feComposite in2="all" operator="in"/></filter>', ""),
    # Chosen: a warm yellow glow around the shape.
    "glow": ('<filter id="fx" x="-20%" y="-20%" width="140%" height="140%"><feMorphology in="SourceAlpha" '
             'operator="dilate" radius="3" result="grown"/><feGaussianBlur in="grown" stdDeviation="2" '
             'result="soft"/><feFlood flood-color="#FFE14D"/><feComposite in2="soft" operator="in" '
             'result="halo"/><feMerge><feMergeNode in="halo"/><feMergeNode in="SourceGraphic"/></feMerge>'
             '</filter>', ""),
    # Chosen, for a button framed too tightly for a glow around it: the button
    # drawn smaller in the middle, with a round glow in the room this makes.
    "ring": ('<filter id="fx" x="-20%" y="-20%" width="140%" height="140%"><feComponentTransfer '
             'in="SourceAlpha" result="solid"><feFuncA type="discrete" tableValues="0 0 1 1"/>'
             '</feComponentTransfer><feMorphology in="solid" operator="dilate" radius="1.5" result="grown"/>'
             '<feGaussianBlur in="grown" stdDeviation="1.2" result="soft"/><feFlood flood-color="#FFD23F"/>'
             '<feComposite in2="soft" operator="in" result="halo"/><feMerge><feMergeNode in="halo"/>'
             '<feMergeNode in="halo"/><feMergeNode in="SourceGraphic"/></feMerge></filter>', "shrink"),
}
SHRINK = 0.8

DECLARATION = re.compile(r"^\s*picture\s+(.*)$", re.M)
EMOJI = re.compile(r"<emoji\s+([^>]*?)/>")
ATTRIBUTE = re.compile(r'([\w:-]+)\s*=\s*"([^"]*)"')


class Refused(Exception):
    pass


def tool(*names):
    for name in names:
        path = shutil.which(name)
        if path:
            return path
    raise SystemExit("render.py: none of %s is installed (scripts/setup.sh installs them)" % ", ".join(names))


def twemoji_folder():
    cache = os.environ.get("PENNARO_NPM", os.path.expanduser("~/.cache/pennaro/npm"))
    return os.path.join(cache, "node_modules", "@twemoji", "svg")


def inline_emoji(svg, where):
    folder = twemoji_folder()

    def replace(match):
        attrs = dict(ATTRIBUTE.findall(match.group(1)))
        code = attrs.get("code")
        path = os.path.join(folder, "%s.svg" % code)
        if not code or not os.path.exists(path):
            raise Refused("%s: no twemoji picture '%s'" % (where, code))
        with open(path, encoding="utf-8") as f:
            inner = f.read()
        inner = inner[inner.index(">") + 1:inner.rindex("</svg>")]
        size = attrs.get("size", "36")
        extra = "".join(' %s="%s"' % (k, v) for k, v in attrs.items() if k in ("transform", "opacity"))
        return ('<g%s><svg x="%s" y="%s" width="%s" height="%s" viewBox="0 0 36 36">%s</svg></g>'
                % (extra, attrs.get("x", "0"), attrs.get("y", "0"), size, size, inner))

    return EMOJI.sub(replace, svg)


def split_root(svg, where):
    start = svg.find("<svg")
    if start < 0:
        raise Refused("%s: not an SVG drawing" % where)
    open_end = svg.index(">", start)
    root = dict(ATTRIBUTE.findall(svg[start:open_end]))
    inner = svg[open_end + 1:svg.rindex("</svg>")]
    return root, inner


def parse_declaration(text, source, line):
    words = text.split()
    where = "%s:%d" % (source, line)
    if len(words) < 2:
        raise Refused("%s: a picture line is 'picture NAME FILE [options]'" % where)
    p = {"name": words[0], "file": words[1], "item": "-", "depth": "32", "alpha": "straight",
         "size": None, "view": None, "hide": [], "effect": None, "store": [], "source": source,
         "line": line}
    for word in words[2:]:
        key, _, value = word.partition("=")
        if key in ("encoded", "raw") and not value:
            p["store"].append(key)
        elif key == "item" and value.isdigit():
            p["item"] = value
        elif key == "depth" and value in ("8", "32"):
            p["depth"] = value
        elif key == "alpha" and value in ALPHAS:
            p["alpha"] = value
        elif key == "size" and re.fullmatch(r"\d+x\d+", value):
            p["size"] = tuple(int(v) for v in value.split("x"))
        elif key == "view" and re.fullmatch(r"-?[\d.]+(,-?[\d.]+){3}", value):
            p["view"] = value.replace(",", " ")
        elif key == "hide":
            p["hide"] = [v for v in value.split(",") if v]
        elif key == "effect" and value in EFFECTS:
            p["effect"] = value
        else:
            raise Refused("%s: unknown picture option '%s'" % (where, word))
    return p


def declarations(art_folder):
    pictures = []
    for name in sorted(os.listdir(art_folder)):
        if not name.endswith(".svg"):
            continue
        path = os.path.join(art_folder, name)
        with open(path, encoding="utf-8") as f:
            svg = f.read()
        shown = "data/art/" + name
        for comment in re.finditer(r"<!--(.*?)-->", svg, re.S):
            for match in DECLARATION.finditer(comment.group(1)):
                line = svg.count("\n", 0, comment.start(1) + match.start()) + 1
                p = parse_declaration(match.group(1), shown, line)
                p["svg"] = svg
                pictures.append(p)
        if not pictures or pictures[-1]["source"] != shown:
            raise Refused("%s: declares no picture" % shown)
    return pictures


def prepared_svg(p):
    where = "%s:%d" % (p["source"], p["line"])
    svg = inline_emoji(p["svg"], where)
    root, inner = split_root(svg, where)
    view = p["view"] or root.get("viewBox")
    if p["size"]:
        width, height = p["size"]
    elif p["view"]:
        width, height = (int(round(float(v))) for v in p["view"].split()[2:])
    else:
        try:
            width, height = int(float(root["width"])), int(float(root["height"]))
        except (KeyError, ValueError):
            raise Refused("%s: give the picture a size (size=WxH) or the SVG a width and height" % where)
    if not view:
        view = "0 0 %d %d" % (width, height)
    style = ""
    if p["hide"]:
        style = "<style>%s{display:none}</style>" % ",".join("#" + i for i in p["hide"])
    defs, transform = EFFECTS[p["effect"]] if p["effect"] else ("", "")
    if transform == "shrink":
        x, y, w, h = (float(v) for v in view.replace(",", " ").split())
        cx, cy = x + w / 2, y + h / 2
        transform = "translate(%g,%g) scale(%g) translate(%g,%g)" % (cx, cy, SHRINK, -cx, -cy)
    group_open = '<g%s%s>' % (' filter="url(#fx)"' if defs else "",
                              ' transform="%s"' % transform if transform else "")
    text = ('<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            'width="%d" height="%d" viewBox="%s"><defs>%s</defs>%s%s%s</g></svg>'
            % (width, height, view, defs, style, group_open, inner))
    return text, width, height


def render(job):
    p, text, width, height, cache, rsvg, magick = job
    key = p["key"]
    pam = os.path.join(cache, key + ".pam")
    png = os.path.join(cache, key + ".png")
    if os.path.exists(pam) and os.path.exists(png):
        return False
    # Builds in other clones share this cache and may render the same picture
    # at the same moment: each writes its own temporaries.
    own = "%s.%d.%d" % (os.path.join(cache, key), os.getpid(), threading.get_ident())
    svg_path = own + ".svg"
    with open(svg_path, "w", encoding="utf-8") as f:
        f.write(text)
    subprocess.run([rsvg, "-w", str(width), "-h", str(height), "-f", "png", "-o", own + ".png", svg_path],
                   check=True)
    grey = ["-colorspace", "Gray"] if p["depth"] == "8" else []
    subprocess.run([magick, own + ".png"] + grey + ["-depth", "8", "pam:" + own + ".pam"], check=True)
    os.replace(own + ".pam", pam)
    os.replace(own + ".png", png)
    os.remove(svg_path)
    return True


def windows_path(path):
    return "Z:" + os.path.abspath(path)


def contact_sheet(pictures, cache, out, magick_montage):
    """The sheet is kept in the cache by its listing, so clones with the same
    art share one; making it is the slowest step of the data build."""
    files = []
    for p in sorted(pictures, key=lambda q: (q["file"], q["name"])):
        files += ["-label", "%s (%s)" % (p["name"], p["file"]), os.path.join(cache, p["key"] + ".png")]
    # ImageMagick refuses images over 16384 pixels a side: a tile is 147 px
    # high with its label, so the sheet widens once it would pass 100 rows.
    columns = max(8, -(-len(pictures) // 100))
    key = hashlib.sha256(("%d\0" % columns + "\0".join(files)).encode("utf-8")).hexdigest()[:32]
    kept = os.path.join(cache, "sheet-" + key + ".png")
    if not os.path.exists(kept):
        temporary = "%s.%d.tmp.png" % (kept, os.getpid())
        subprocess.run([magick_montage, "-background", "#D8D2C8", "-fill", "#222222", "-pointsize", "10",
                        "-geometry", "160x120+6+6", "-tile", "%dx" % columns] + files + [temporary],
                       check=True)
        os.replace(temporary, kept)
    sheet = os.path.join(out, "contact-sheet.png")
    shutil.copyfile(kept, sheet + ".tmp.png")
    os.replace(sheet + ".tmp.png", sheet)


def main():
    data, out, cache = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    os.makedirs(cache, exist_ok=True)
    rsvg = tool("rsvg-convert")
    magick = tool("convert-im6.q16")
    montage = tool("montage-im6.q16")
    try:
        pictures = declarations(os.path.join(data, "art"))
        jobs = []
        for p in pictures:
            text, width, height = prepared_svg(p)
            digest = hashlib.sha256()
            for part in (RENDERER_VERSION, text, str(width), str(height), p["depth"]):
                digest.update(part.encode("utf-8") + b"\0")
            p["key"] = digest.hexdigest()[:32]
            jobs.append((p, text, width, height, cache, rsvg, magick))
    except Refused as refusal:
        print(refusal, file=sys.stderr)
        return 1
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        rendered = sum(pool.map(render, jobs))
    lines = []
    for p in pictures:
        store = ",".join(p["store"]) or "plain"
        lines.append("picture %s %s %s %s %s %s \"%s\" %s %d\n" % (
            p["name"], p["file"], p["item"], p["depth"], p["alpha"], store,
            windows_path(os.path.join(cache, p["key"] + ".pam")), p["source"], p["line"]))
    listing = "".join(lines)
    path = os.path.join(out, "pictures.lst")
    old = open(path, encoding="utf-8").read() if os.path.exists(path) else None
    if old != listing:
        with open(path, "w", encoding="utf-8") as f:
            f.write(listing)
    # The test command has no use for the sheet and leaves it out.
    wanted = os.environ.get("PENNARO_CONTACT_SHEET", "1") != "0"
    if wanted and (old != listing or not os.path.exists(os.path.join(out, "contact-sheet.png"))):
        contact_sheet(pictures, cache, out, montage)
    print("art: %d pictures, %d rendered" % (len(pictures), rendered))
    return 0


if __name__ == "__main__":
    sys.exit(main())
