#!/usr/bin/env python3
"""Builds the Torvane demo course from course/content and course/templates.

The output folder *is* the course folder: page names sit directly in it
(trva.trv, tr010002.trv, ...) and media sit in the sub-folders the viewer
derives from the placeholder names (trv/title.avi, TechTips/ttNN.avi,
dMM/figMM...avi, dMM/vMM...wav).

Python 3 standard library only.  Output is deterministic: the folder is
built in a temporary sibling and swapped in, so stale files never survive.

    generate.py --out build/bin/course [--stamp democourse.stamp]
"""

from __future__ import annotations

import argparse
import html
import math
import os
import re
import shutil
import string
import struct
import sys
import zlib
from dataclasses import dataclass, field
from pathlib import Path

HERE = Path(__file__).resolve().parent
CONTENT_DIR = HERE / "content"
TEMPLATE_DIR = HERE / "templates"

# ---------------------------------------------------------------------------
# Screen-size classes.  One row per variant letter; every variant page is the
# same template rendered with that row's values.
#   letter, typical screens, min viewport width used for the responsive
#   (variant-less) pages, page column max width, base font px, h1 px,
#   card columns on contents pages, side panel width px (0 = stacked).
# ---------------------------------------------------------------------------


@dataclass(frozen=True)
class SizeClass:
    letter: str
    screens: str
    min_width: int
    page_max: int
    font: int
    h1: int
    cols: int
    aside: int


SIZE_CLASSES = [
    SizeClass("a", "800x600, 1280x720", 0, 760, 14, 22, 1, 0),
    SizeClass("b", "1024x768, 1366x768", 1000, 980, 15, 24, 2, 0),
    SizeClass("c", "1280x800", 1260, 1200, 16, 27, 2, 300),
    SizeClass("d", "1280x1024", 1260, 1200, 17, 29, 2, 310),
    SizeClass("e", "1440x900 - 1680x1050", 1420, 1480, 18, 31, 3, 360),
    SizeClass("f", "1920x1080", 1900, 1780, 20, 34, 3, 420),
    SizeClass("g", "2560x1440 and up", 2500, 2400, 25, 42, 4, 560),
]
LETTERS = [s.letter for s in SIZE_CLASSES]


def size_vars(sc: SizeClass) -> str:
    split = f"minmax(0,1fr) {sc.aside}px" if sc.aside else "minmax(0,1fr)"
    return (f"--page-max:{sc.page_max}px;--fs:{sc.font}px;--h1:{sc.h1}px;"
            f"--cols:{sc.cols};--split:{split};")


def variant_size_css(sc: SizeClass) -> str:
    return f":root{{{size_vars(sc)}}}"


def responsive_size_css() -> str:
    """Variant-less pages pick their row by viewport size instead."""
    rules = [f":root{{{size_vars(SIZE_CLASSES[0])}}}"]
    for sc in SIZE_CLASSES[1:]:
        cond = f"(min-width:{sc.min_width}px)"
        if sc.letter == "d":  # the tall 5:4 screen: same width as c, more height
            cond += " and (min-height:980px)"
        rules.append(f"@media {cond}{{:root{{{size_vars(sc)}}}}}")
    return "\n".join(rules)


# ---------------------------------------------------------------------------
# Media writers
# ---------------------------------------------------------------------------

WAV_RATE = 8000
AVI_W, AVI_H, AVI_FPS, AVI_FRAMES = 80, 60, 10, 20

NOTE_FREQS = [262, 294, 330, 349, 392, 440, 494, 523, 587, 659]


def seed_of(name: str) -> int:
    return zlib.crc32(name.encode("ascii"))


def wav_bytes(samples: list[int], rate: int = WAV_RATE) -> bytes:
    """PCM 16-bit mono RIFF/WAVE."""
    data = struct.pack(f"<{len(samples)}h", *samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(data)) + data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def melody(name: str, seconds: float = 2.0, rate: int = WAV_RATE) -> list[int]:
    """A short, name-dependent sine melody with soft note edges."""
    seed = seed_of(name)
    notes = 5
    per_note = int(seconds * rate) // notes
    fade = rate // 100  # 10 ms attack/release avoids clicks
    out: list[int] = []
    for n in range(notes):
        freq = NOTE_FREQS[(seed >> (3 * n)) % len(NOTE_FREQS)]
        for i in range(per_note):
            env = min(1.0, i / fade, (per_note - 1 - i) / fade)
            out.append(int(11000 * env * math.sin(2 * math.pi * freq * i / rate)))
    return out


# 3x5 bitmap digits, rows top to bottom.
DIGITS = ["111101101101111", "010110010010111", "111001111100111", "111001111001111",
          "101101111001001", "111100111001111", "111100111101111", "111001001001001",
          "111101111101111", "111101111001111"]


def hue_rgb(h: float, s: float = 0.65, v: float = 0.9) -> tuple[int, int, int]:
    i = int(h * 6) % 6
    f = h * 6 - int(h * 6)
    p, q, t = v * (1 - s), v * (1 - f * s), v * (1 - (1 - f) * s)
    r, g, b = [(v, t, p), (q, v, p), (p, v, t), (p, q, v), (t, p, v), (v, p, q)][i]
    return int(r * 255), int(g * 255), int(b * 255)


def video_frames(name: str, frames: int = AVI_FRAMES, w: int = AVI_W,
                 h: int = AVI_H) -> list[bytes]:
    """Bottom-up BGR24 frames: a tinted backdrop, a bar sweeping across,
    a progress strip and the frame number, so playback visibly moves."""
    hue = (seed_of(name) % 360) / 360.0
    bg = hue_rgb(hue, 0.35, 0.35)
    bar = hue_rgb((hue + 0.5) % 1.0, 0.8, 0.95)
    stride = w * 3
    assert stride % 4 == 0, "DIB rows must be 4-byte aligned"
    out = []
    for f in range(frames):
        # image rows top to bottom as RGB tuples, converted at the end
        rows = []
        bar_x = (f * (w - 10)) // max(1, frames - 1)
        progress = (f + 1) * w // frames
        digits = f"{f:02d}"
        for y in range(h):
            row = bytearray()
            shade = 0.7 + 0.3 * y / h
            base = bytes((int(bg[2] * shade), int(bg[1] * shade), int(bg[0] * shade)))
            row += base * w
            if 8 <= y < h - 10:  # sweeping bar
                row[bar_x * 3:(bar_x + 10) * 3] = bytes((bar[2], bar[1], bar[0])) * 10
            if y >= h - 5:  # progress strip
                row[0:progress * 3] = b"\xf0\xf0\xf0" * progress
            gy = (y - 2) // 2  # digits, 2x scale, top left
            if 0 <= gy < 5:
                for d, ch in enumerate(digits):
                    glyph = DIGITS[int(ch)]
                    for gx in range(3):
                        if glyph[gy * 3 + gx] == "1":
                            x0 = 3 + d * 8 + gx * 2
                            row[x0 * 3:(x0 + 2) * 3] = b"\xff\xff\xff" * 2
            rows.append(bytes(row))
        out.append(b"".join(reversed(rows)))  # DIB: bottom row first
    return out


def chunk(fourcc: bytes, data: bytes) -> bytes:
    pad = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + pad


def riff_list(kind: bytes, fourcc: bytes, payload: bytes) -> bytes:
    return kind + struct.pack("<I", len(payload) + 4) + fourcc + payload


def avi_bytes(frames: list[bytes], w: int, h: int, fps: int) -> bytes:
    """Uncompressed 24-bit RGB ('DIB ') AVI 1.0 with an idx1 index."""
    size = w * 3 * h
    if any(len(f) != size for f in frames):
        raise ValueError("frame size does not match the picture size")
    n = len(frames)
    avih = struct.pack("<10I4I", 1_000_000 // fps, size * fps, 0, 0x10, n, 0, 1,
                       size, w, h, 0, 0, 0, 0)
    strh = (b"vids" + b"DIB " + struct.pack("<IHHIIIIIIiI", 0, 0, 0, 0, 1, fps, 0, n,
                                             size, -1, 0)
            + struct.pack("<4h", 0, 0, w, h))
    strf = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, size, 0, 0, 0, 0)
    hdrl = riff_list(b"LIST", b"hdrl",
                     chunk(b"avih", avih)
                     + riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))
    movi_payload = b""
    index = b""
    for f in frames:
        # offsets count from the 'movi' fourcc, as AVI 1.0 readers expect
        index += b"00db" + struct.pack("<III", 0x10, 4 + len(movi_payload), len(f))
        movi_payload += chunk(b"00db", f)
    movi = riff_list(b"LIST", b"movi", movi_payload)
    return riff_list(b"RIFF", b"AVI ", hdrl + movi + chunk(b"idx1", index))


def make_video(name: str) -> bytes:
    return avi_bytes(video_frames(name), AVI_W, AVI_H, AVI_FPS)


def make_audio(name: str) -> bytes:
    return wav_bytes(melody(name))


# ---------------------------------------------------------------------------
# Page names
# ---------------------------------------------------------------------------

def media_path(page: str) -> str | None:
    """Relative media file the viewer plays for a media placeholder page."""
    if page == "title.trv":
        return "trv/title.avi"
    stem = page[:-4] if page.endswith(".trv") else page
    if re.fullmatch(r"ttv..", stem):
        return f"TechTips/tt{stem[3:5]}.avi"
    if re.fullmatch(r"fig\d\d.+", stem):
        return f"d{stem[3:5]}/{stem}.avi"
    if re.fullmatch(r"v\d\d.+", stem):
        return f"d{stem[1:3]}/{stem}.wav"
    return None


def course_page(module: int, page: int) -> str:
    return f"tr{module:02d}{page:04d}.trv"


# ---------------------------------------------------------------------------
# Content files
#
# A content file is a sequence of blocks.  A block opens with a line
# "[kind args]", then "key = value" lines, then optionally a line "---"
# followed by the block's body (HTML or a list, depending on the kind).
# Lines starting with "#" before the body are comments.
# ---------------------------------------------------------------------------


class ContentError(Exception):
    pass


@dataclass
class Block:
    kind: str
    arg: str
    keys: dict[str, str]
    body: str
    line: int


def parse_blocks(text: str, source: str = "<content>") -> list[Block]:
    blocks: list[Block] = []
    cur: Block | None = None
    in_body = False
    body: list[str] = []
    header = re.compile(r"^\[([a-z]+)(?:\s+([^\]]+))?\]\s*$")

    def close():
        if cur is not None:
            cur.body = "\n".join(body).strip()
            blocks.append(cur)

    for no, raw in enumerate(text.splitlines(), 1):
        m = header.match(raw)
        if m:
            close()
            cur = Block(m.group(1), (m.group(2) or "").strip(), {}, "", no)
            in_body, body = False, []
            continue
        if cur is None:
            if raw.strip() and not raw.startswith("#"):
                raise ContentError(f"{source}:{no}: text before the first [block]")
            continue
        if in_body:
            body.append(raw)
        elif raw.strip() == "---":
            in_body = True
        elif not raw.strip() or raw.startswith("#"):
            continue
        else:
            key, sep, value = raw.partition("=")
            if not sep or not key.strip():
                raise ContentError(f"{source}:{no}: expected 'key = value' or '---'")
            k = key.strip()
            if k in cur.keys:
                raise ContentError(f"{source}:{no}: duplicate key '{k}'")
            cur.keys[k] = value.strip()
    close()
    return blocks


def parse_items(body: str) -> list[str]:
    """'- item' lines; indented lines continue the previous item."""
    items: list[str] = []
    for line in body.splitlines():
        if line.startswith("- "):
            items.append(line[2:].strip())
        elif line.strip():
            if not items:
                raise ContentError(f"list text before the first '- ' item: {line!r}")
            items[-1] += " " + line.strip()
    return items


def parse_qa(body: str) -> list[tuple[str, str]]:
    """'Q:' / 'A:' pairs; other lines continue the current one."""
    pairs: list[list[str]] = []
    target = None
    for line in body.splitlines():
        if line.startswith("Q:"):
            pairs.append([line[2:].strip(), ""])
            target = 0
        elif line.startswith("A:"):
            if not pairs or pairs[-1][1]:
                raise ContentError(f"answer without a question: {line!r}")
            pairs[-1][1] = line[2:].strip()
            target = 1
        elif line.strip():
            if target is None:
                raise ContentError(f"text before the first Q: {line!r}")
            pairs[-1][target] += "\n" + line.strip()
    for q, a in pairs:
        if not a:
            raise ContentError(f"question without an answer: {q!r}")
    return [(q, a) for q, a in pairs]


def media_ref(value: str, prefix: str, module: int, where: str) -> tuple[str, str]:
    name, _, caption = (p.strip() for p in value.partition("|"))
    if not re.fullmatch(rf"{prefix}{module:02d}\w+", name):
        raise ContentError(f"{where}: media '{name}' must start with {prefix}{module:02d}")
    return name, caption or name


@dataclass
class Page:
    number: int
    title: str
    section: str
    body: str
    figs: list[tuple[str, str]] = field(default_factory=list)
    narrations: list[tuple[str, str]] = field(default_factory=list)


@dataclass
class Module:
    number: int
    title: str
    obj_page: int
    rev_page: int
    narration: tuple[str, str]
    intro: str
    summary: str
    objectives: list[str]
    review: list[tuple[str, str]]
    pages: list[Page]

    @property
    def mm(self) -> str:
        return f"{self.number:02d}"

    @property
    def mod_placeholder(self) -> str:
        return course_page(self.number, 1)

    @property
    def obj_placeholder(self) -> str:
        return course_page(self.number, self.obj_page)

    @property
    def rev_placeholder(self) -> str:
        return course_page(self.number, self.rev_page)

    def sections(self) -> list[tuple[str, list[Page]]]:
        out: list[tuple[str, list[Page]]] = []
        for p in self.pages:
            if not out or out[-1][0] != p.section:
                out.append((p.section, []))
            out[-1][1].append(p)
        return out


def need(block: Block, key: str, source: str) -> str:
    if key not in block.keys:
        raise ContentError(f"{source}:{block.line}: [{block.kind}] needs '{key}'")
    return block.keys[key]


def parse_module(text: str, source: str) -> Module:
    blocks = parse_blocks(text, source)
    single = {}
    pages: list[Page] = []
    for b in blocks:
        if b.kind == "page":
            pages.append(b)  # type: ignore[arg-type]
        elif b.kind in ("module", "intro", "summary", "objectives", "review"):
            if b.kind in single:
                raise ContentError(f"{source}:{b.line}: second [{b.kind}] block")
            single[b.kind] = b
        else:
            raise ContentError(f"{source}:{b.line}: unknown block [{b.kind}]")
    for kind in ("module", "intro", "summary", "objectives", "review"):
        if kind not in single:
            raise ContentError(f"{source}: missing [{kind}] block")
    head = single["module"]
    number = int(need(head, "number", source))
    narr = media_ref(need(head, "narration", source), "v", number, source)
    mod = Module(
        number=number,
        title=need(head, "title", source),
        obj_page=int(need(head, "objectives", source)),
        rev_page=int(need(head, "review", source)),
        narration=narr,
        intro=single["intro"].body,
        summary=single["summary"].body,
        objectives=parse_items(single["objectives"].body),
        review=parse_qa(single["review"].body),
        pages=[],
    )
    seen = {1, mod.obj_page, mod.rev_page}
    if len(seen) != 3:
        raise ContentError(f"{source}: placeholder page numbers collide")
    for b in pages:  # type: ignore[assignment]
        where = f"{source}:{b.line}"
        num = int(b.arg)
        if num in seen or not 1 < num < 10000:
            raise ContentError(f"{where}: page number {b.arg} is reserved or repeated")
        seen.add(num)
        page = Page(num, need(b, "title", source), need(b, "section", source), b.body)
        for key, value in b.keys.items():
            if key.startswith("fig"):
                page.figs.append(media_ref(value, "fig", number, where))
            elif key.startswith("narration"):
                page.narrations.append(media_ref(value, "v", number, where))
            elif key not in ("title", "section"):
                raise ContentError(f"{where}: unknown key '{key}'")
        if not page.body:
            raise ContentError(f"{where}: page has no body")
        mod.pages.append(page)
    mod.pages.sort(key=lambda p: p.number)
    if not mod.pages:
        raise ContentError(f"{source}: module has no pages")
    return mod


@dataclass
class Course:
    title: str
    subtitle: str
    welcome: str
    module_titles: dict[int, str]
    techtips: list[tuple[str, str, str]]  # (NN, title, description html)
    practice: list[tuple[str, str, str]]  # (module NN, question, answer)
    reference: str
    modules: list[Module] = field(default_factory=list)


def parse_course(text: str, source: str) -> Course:
    blocks = parse_blocks(text, source)
    course = Course("", "", "", {}, [], [], "")
    for b in blocks:
        if b.kind == "course":
            course.title = need(b, "title", source)
            course.subtitle = need(b, "subtitle", source)
        elif b.kind == "welcome":
            course.welcome = b.body
        elif b.kind == "modules":
            for line in b.body.splitlines():
                if line.strip():
                    nn, _, title = line.strip().partition(" ")
                    course.module_titles[int(nn)] = title.strip()
        elif b.kind == "techtip":
            if not re.fullmatch(r"\w\w", b.arg):
                raise ContentError(f"{source}:{b.line}: tech tip id must be two characters")
            course.techtips.append((b.arg, need(b, "title", source), b.body))
        elif b.kind == "practice":
            for q, a in parse_qa(b.body):
                course.practice.append((f"{int(need(b, 'module', source)):02d}", q, a))
        elif b.kind == "reference":
            course.reference = b.body
        else:
            raise ContentError(f"{source}:{b.line}: unknown block [{b.kind}]")
    if sorted(course.module_titles) != list(range(1, 25)):
        raise ContentError(f"{source}: [modules] must name modules 01..24")
    return course


def load_course(content_dir: Path = CONTENT_DIR) -> Course:
    course = parse_course((content_dir / "course.txt").read_text("utf-8"), "course.txt")
    for path in sorted(content_dir.glob("module*.txt")):
        course.modules.append(parse_module(path.read_text("utf-8"), path.name))
    nums = [m.number for m in course.modules]
    if len(set(nums)) != len(nums):
        raise ContentError("two module files share a module number")
    course.modules.sort(key=lambda m: m.number)
    return course


# ---------------------------------------------------------------------------
# Page rendering
# ---------------------------------------------------------------------------

esc = html.escape


def link(href: str, text: str, cls: str = "") -> str:
    c = f' class="{cls}"' if cls else ""
    return f'<a href="{esc(href)}"{c}>{text}</a>'


def nav_bar(section: str, prev: str, nxt: str) -> str:
    """The first three links of every navigable page, in this order."""
    return (link(section, "Section", "btn") + link(prev, "&laquo; Previous", "btn")
            + link(nxt, "Next &raquo;", "btn"))


@dataclass
class Nav:
    section: str
    prev: str
    next: str


class Renderer:
    def __init__(self, course: Course, template_dir: Path = TEMPLATE_DIR):
        self.course = course
        self.page_tpl = string.Template((template_dir / "page.html").read_text("utf-8"))
        self.stub_tpl = string.Template((template_dir / "placeholder.html").read_text("utf-8"))
        self.css = (template_dir / "course.css").read_text("utf-8")
        self.media: set[str] = set()  # media placeholder pages linked so far
        self.mods = {m.number: m for m in course.modules}

    # -- shared pieces -----------------------------------------------------

    def page(self, *, title: str, where: str, nav: Nav, body: str, size_css: str,
             kind: str, letter: str = "") -> str:
        footer = " ".join([
            link("trva.trv" if not letter else f"trv{letter}.trv", "Contents"),
            link("search.trv", "Search"), link("index.trv", "Index"),
            link("hist.trv", "History")])
        return self.page_tpl.substitute(
            title=esc(title), course=esc(self.course.title), where=where,
            size_css=size_css, css=self.css, kind=kind,
            nav=nav_bar(nav.section, nav.prev, nav.next), body=body, footer=footer,
            variant=(f"Screen class {letter}" if letter else ""))

    def stub(self, title: str, message: str, nav: Nav | None = None) -> str:
        return self.stub_tpl.substitute(
            title=esc(title), message=esc(message),
            nav=nav_bar(nav.section, nav.prev, nav.next) if nav else "")

    def media_link(self, name: str, caption: str, kind: str) -> str:
        self.media.add(f"{name}.trv")
        icon = {"video": "&#9654;", "audio": "&#9835;"}[kind]
        return (f'<li class="media {kind}">{link(name + ".trv", icon + " " + esc(caption))}'
                f"</li>")

    def module_chain(self, mod: Module) -> dict[str, Nav]:
        """Section/previous/next for every navigable page of a module:
        introduction, objectives, the teaching pages in order, review, then
        on to the next module's introduction."""
        idx = [m.number for m in self.course.modules].index(mod.number)
        before = (self.course.modules[idx - 1].rev_placeholder if idx else "trva.trv")
        after = (self.course.modules[idx + 1].mod_placeholder
                 if idx + 1 < len(self.course.modules) else "trva.trv")
        order = ([mod.mod_placeholder, mod.obj_placeholder]
                 + [course_page(mod.number, p.number) for p in mod.pages]
                 + [mod.rev_placeholder])
        chain = {}
        for i, name in enumerate(order):
            prev = order[i - 1] if i else before
            nxt = order[i + 1] if i + 1 < len(order) else after
            section = "trva.trv" if i == 0 else mod.mod_placeholder
            chain[name] = Nav(section, prev, nxt)
        return chain

    def module_title(self, n: int) -> str:
        return f"Module {n:02d}: {esc(self.course.module_titles[n])}"

    # -- contents pages ------------------------------------------------------

    def contents(self, letter: str) -> str:
        c = self.course
        cards = []
        for n in range(1, 25):
            title = esc(c.module_titles[n])
            if n in self.mods:
                m = self.mods[n]
                cards.append(
                    f'<li class="card live"><span class="num">{n:02d}</span>'
                    f'{link(m.mod_placeholder, title, "title")}'
                    f'<span class="sub">{link(m.obj_placeholder, "Objectives")} &middot; '
                    f'{link(m.rev_placeholder, "Review")} &middot; {len(m.pages)} pages</span></li>')
            else:
                cards.append(f'<li class="card off"><span class="num">{n:02d}</span>'
                             f'<span class="title">{title}</span>'
                             f'<span class="sub">Not in the demo course</span></li>')
        body = f"""
<h1>{esc(c.title)}</h1>
<p class="lead">{esc(c.subtitle)}</p>
<div class="split">
<div class="main">
{c.welcome}
<h2>Modules</h2>
<ul class="cards">{''.join(cards)}</ul>
</div>
<aside>
<h2>Course tools</h2>
<ul class="tools">
{self.media_link("title", "Play the title video", "video")}
<li>{link(f"trvcr{letter}.trv", "Course map: sections and objectives")}</li>
<li>{link(f"trvprac{letter}.trv", "Practice exercises")}</li>
<li>{link(f"trvsumm{letter}.trv", "Course summary")}</li>
<li>{link(f"trvtech{letter}.trv", "Technical reference")}</li>
<li>{link(f"trvtvid{letter}.trv", "Tech-tip videos")}</li>
<li>{link("search.trv", "Search the course")}</li>
<li>{link("index.trv", "Index")}</li>
<li>{link("hist.trv", "Pages you have visited")}</li>
</ul>
</aside>
</div>"""
        nav = Nav(f"trv{letter}.trv", f"trvtvid{letter}.trv", self.course.modules[0].mod_placeholder)
        return self.page(title="Contents", where="Contents", nav=nav, body=body,
                         size_css=variant_size_css(self.size(letter)), kind="contents",
                         letter=letter)

    def course_map(self, letter: str) -> str:
        # Links 3 and 4 are fixed tools; link 5 must stay "Back to contents":
        # the viewer rewrites its target to the contents page of the active size.
        tools = (f'<p class="toolbar">{link("search.trv", "Search", "btn2")}'
                 f'{link("index.trv", "Index", "btn2")}'
                 f'{link("trva.trv", "Back to contents", "btn2")}</p>')
        parts = []
        for m in self.course.modules:
            secs = "".join(
                f"<li><strong>{esc(name)}</strong><ul>"
                + "".join(f"<li>{link(course_page(m.number, p.number), esc(p.title))}</li>"
                          for p in pages)
                + "</ul></li>" for name, pages in m.sections())
            objs = "".join(f"<li>{o}</li>" for o in m.objectives)
            parts.append(f"""
<section class="module">
<h2>{link(m.mod_placeholder, self.module_title(m.number))}</h2>
<div class="twocol">
<div><h3>Sections</h3><ul class="tree">{secs}</ul></div>
<div><h3>{link(m.obj_placeholder, "Objectives")}</h3><ol>{objs}</ol>
<p>{link(m.rev_placeholder, "Module review questions")}</p></div>
</div>
</section>""")
        body = (f"<h1>Course map</h1>{tools}<p class=\"lead\">Every section and learning "
                f"objective of the modules in this demo course.</p>{''.join(parts)}")
        nav = Nav(f"trv{letter}.trv", f"trv{letter}.trv", self.course.modules[0].mod_placeholder)
        return self.page(title="Course map", where="Course map", nav=nav, body=body,
                         size_css=variant_size_css(self.size(letter)), kind="map",
                         letter=letter)

    # -- course-wide pages ---------------------------------------------------

    WIDE = [("prac", "Practice exercises"), ("summ", "Course summary"),
            ("tech", "Technical reference"), ("tvid", "Tech-tip videos")]

    def wide(self, key: str, letter: str) -> str:
        keys = [k for k, _ in self.WIDE]
        i = keys.index(key)
        title = dict(self.WIDE)[key]
        prev = f"trv{keys[i - 1]}{letter}.trv" if i else f"trv{letter}.trv"
        nxt = f"trv{keys[i + 1]}{letter}.trv" if i + 1 < len(keys) else f"trv{letter}.trv"
        body = getattr(self, f"wide_{key}")(letter)
        return self.page(title=title, where=title, nav=Nav(f"trv{letter}.trv", prev, nxt),
                         body=f"<h1>{title}</h1>{body}",
                         size_css=variant_size_css(self.size(letter)), kind="wide",
                         letter=letter)

    def wide_prac(self, letter: str) -> str:
        items = []
        for i, (mm, q, a) in enumerate(self.course.practice, 1):
            items.append(f'<li class="exercise"><p class="tag">Module {mm}</p><div>{q}</div>'
                         f"<details><summary>Show worked answer</summary><div>{a}</div>"
                         f"</details></li>")
        return ('<p class="lead">Work each problem on paper before opening the answer. '
                'Use the technical reference for formulas.</p>'
                f'<ol class="exercises">{"".join(items)}</ol>')

    def wide_summ(self, letter: str) -> str:
        parts = []
        for m in self.course.modules:
            parts.append(f'<section class="module"><h2>{link(m.mod_placeholder, self.module_title(m.number))}'
                         f"</h2>{m.summary}</section>")
        return "".join(parts)

    def wide_tech(self, letter: str) -> str:
        return self.course.reference

    def wide_tvid(self, letter: str) -> str:
        items = []
        for nn, title, desc in self.course.techtips:
            self.media.add(f"ttv{nn}.trv")
            items.append(f'<li class="card live"><span class="num">{esc(nn)}</span>'
                         f'{link(f"ttv{nn}.trv", "&#9654; " + esc(title), "title")}'
                         f'<span class="sub">{desc}</span></li>')
        return ('<p class="lead">Short workshop videos. Each one opens in the video '
                f'player; close it to return here.</p><ul class="cards">{"".join(items)}</ul>')

    # -- module pages ----------------------------------------------------------

    def module_page(self, kind: str, mod: Module, letter: str) -> str:
        chain = self.module_chain(mod)
        placeholder = {"mod": mod.mod_placeholder, "obj": mod.obj_placeholder,
                       "rev": mod.rev_placeholder}[kind]
        heading = self.module_title(mod.number)
        if kind == "mod":
            secs = []
            for name, pages in mod.sections():
                lis = "".join(f"<li>{link(course_page(mod.number, p.number), esc(p.title))}</li>"
                              for p in pages)
                secs.append(f'<li class="card live"><span class="title">{esc(name)}</span>'
                            f"<ol>{lis}</ol></li>")
            body = f"""<h1>{heading}</h1>
<div class="split"><div class="main">{mod.intro}
<h2>Sections</h2><ul class="cards">{''.join(secs)}</ul></div>
<aside><h2>In this module</h2><ul class="tools">
{self.media_link(*mod.narration, "audio")}
<li>{link(mod.obj_placeholder, "Module objectives")}</li>
<li>{link(mod.rev_placeholder, "Review questions")}</li>
<li>{link(f"trvsumm{letter}.trv", "Course summary")}</li>
</ul></aside></div>"""
            title = f"Module {mod.mm} introduction"
        elif kind == "obj":
            objs = "".join(f"<li>{o}</li>" for o in mod.objectives)
            body = (f"<h1>{heading}</h1><h2>Objectives</h2><p class=\"lead\">When you have "
                    f"completed this module you will be able to:</p><ol class=\"objectives\">"
                    f"{objs}</ol><p>{link(course_page(mod.number, mod.pages[0].number), 'Start the first lesson &raquo;')}</p>")
            title = f"Module {mod.mm} objectives"
        else:
            qs = "".join(f"<li><div>{q}</div><details><summary>Show answer</summary>"
                         f"<div>{a}</div></details></li>" for q, a in mod.review)
            body = (f"<h1>{heading}</h1><h2>Review questions</h2><p class=\"lead\">Answer "
                    f"each question, then open the answer to check yourself.</p>"
                    f'<ol class="exercises">{qs}</ol>'
                    f"<p>{link(f'trvprac{letter}.trv', 'More practice exercises')}</p>")
            title = f"Module {mod.mm} review"
        return self.page(title=title, where=f"Module {mod.mm}", nav=chain[placeholder],
                         body=body, size_css=variant_size_css(self.size(letter)),
                         kind=kind, letter=letter)

    def placeholder_page(self, mod: Module, kind: str) -> str:
        chain = self.module_chain(mod)
        name = {"mod": mod.mod_placeholder, "obj": mod.obj_placeholder,
                "rev": mod.rev_placeholder}[kind]
        what = {"mod": "module", "obj": "objectives for module",
                "rev": "review for module"}[kind]
        return self.stub(f"Module {mod.mm}", f"Loading {what} {mod.number}...", chain[name])

    def teaching_page(self, mod: Module, idx: int) -> str:
        p = mod.pages[idx]
        name = course_page(mod.number, p.number)
        media = [self.media_link(n, c, "video") for n, c in p.figs]
        media += [self.media_link(n, c, "audio") for n, c in p.narrations]
        aside = (f'<aside><h2>Media</h2><ul class="tools">{"".join(media)}</ul></aside>'
                 if media else "")
        body = f"""<p class="crumb">{self.module_title(mod.number)} &rsaquo; {esc(p.section)}</p>
<h1>{esc(p.title)}</h1>
<div class="split{' wide' if not media else ''}"><div class="main prose">
{p.body}
</div>{aside}</div>
<p class="pageno">Page {idx + 1} of {len(mod.pages)}</p>"""
        return self.page(title=p.title, where=f"Module {mod.mm} &middot; page {idx + 1}",
                         nav=self.module_chain(mod)[name], body=body,
                         size_css=responsive_size_css(), kind="lesson")

    def size(self, letter: str) -> SizeClass:
        return SIZE_CLASSES[LETTERS.index(letter)]

    # -- everything --------------------------------------------------------------

    def all_pages(self) -> dict[str, str]:
        pages: dict[str, str] = {}
        for letter in LETTERS:
            pages[f"trv{letter}.trv"] = self.contents(letter)
            pages[f"trvcr{letter}.trv"] = self.course_map(letter)
            for key, _ in self.WIDE:
                pages[f"trv{key}{letter}.trv"] = self.wide(key, letter)
            for mod in self.course.modules:
                for kind in ("mod", "obj", "rev"):
                    pages[f"{kind}{mod.mm}{letter}.trv"] = self.module_page(kind, mod, letter)
        for mod in self.course.modules:
            for kind in ("mod", "obj", "rev"):
                name = {"mod": mod.mod_placeholder, "obj": mod.obj_placeholder,
                        "rev": mod.rev_placeholder}[kind]
                pages[name] = self.placeholder_page(mod, kind)
            for i, p in enumerate(mod.pages):
                pages[course_page(mod.number, p.number)] = self.teaching_page(mod, i)
        for name in ("search", "index", "hist"):
            pages[f"{name}.trv"] = self.stub(name.capitalize(), "One moment please...")
        for name in sorted(self.media):
            kind = "sound" if name.startswith("v") else "video"
            pages[name] = self.stub("Media", f"Playing {kind}, one moment please...")
        return pages


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

def build(out: Path, content_dir: Path = CONTENT_DIR,
          template_dir: Path = TEMPLATE_DIR) -> dict[str, int]:
    course = load_course(content_dir)
    renderer = Renderer(course, template_dir)
    pages = renderer.all_pages()
    files: dict[str, bytes] = {name: text.encode("utf-8") for name, text in pages.items()}
    for name in pages:
        target = media_path(name)
        if target:
            files[target] = (make_audio if target.endswith(".wav") else make_video)(name[:-4])

    out = out.resolve()
    tmp = out.with_name(out.name + ".tmp")
    if tmp.exists():
        shutil.rmtree(tmp)
    for rel, data in sorted(files.items()):
        path = tmp / rel
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    old = out.with_name(out.name + ".old")
    if old.exists():
        shutil.rmtree(old)
    if out.exists():
        out.rename(old)
    tmp.rename(out)
    if old.exists():
        shutil.rmtree(old)
    return {"pages": len(pages), "media": len(files) - len(pages)}


def main(argv: list[str] | None = None) -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", required=True, type=Path, help="course folder to (re)create")
    ap.add_argument("--stamp", type=Path, help="file to touch after a successful build")
    args = ap.parse_args(argv)
    try:
        counts = build(args.out)
    except ContentError as e:
        print(f"generate.py: {e}", file=sys.stderr)
        return 1
    print(f"demo course: {counts['pages']} pages, {counts['media']} media files -> {args.out}")
    if args.stamp:
        args.stamp.parent.mkdir(parents=True, exist_ok=True)
        args.stamp.write_text(f"{counts['pages']} pages, {counts['media']} media\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
