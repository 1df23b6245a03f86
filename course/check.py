#!/usr/bin/env python3
"""Checks a course folder against what the Torvane viewer relies on.

    check.py COURSE_FOLDER

Prints every problem found and exits 1 if there are any, 0 otherwise.
Python 3 standard library only.
"""

from __future__ import annotations

import re
import struct
import sys
from html.parser import HTMLParser
from pathlib import Path
from urllib.parse import urlsplit

LETTERS = "abcdefg"
# Module number -> (introduction, objectives, review) placeholder page numbers.
PLACEHOLDERS = {1: (1, 196, 197), 2: (1, 216, 217), 3: (1, 97, 98)}
WIDE = ("prac", "summ", "tech", "tvid")
WINDOWS = {"search.trv", "index.trv", "hist.trv"}
MIN_TEACHING_PAGES = 12
BACK_LINK = 5  # second contents pages: the link the viewer retargets

VARIANT_RE = re.compile(r"(trv|trvcr|trv(?:prac|summ|tech|tvid)|(?:mod|obj|rev)\d\d)([a-g])\.trv")
COURSE_RE = re.compile(r"tr(\d\d)(\d{4})\.trv")


def media_target(page: str) -> str | None:
    """Media file played for a media placeholder page, or None."""
    if page == "title.trv":
        return "trv/title.avi"
    if not page.endswith(".trv"):
        return None
    stem = page[:-4]
    if re.fullmatch(r"ttv..", stem):
        return f"TechTips/tt{stem[3:5]}.avi"
    if re.fullmatch(r"fig\d\d.+", stem):
        return f"d{stem[3:5]}/{stem}.avi"
    if re.fullmatch(r"v\d\d.+", stem):
        return f"d{stem[1:3]}/{stem}.wav"
    return None


def page_class(name: str) -> str | None:
    if media_target(name):
        return "media"
    if name in WINDOWS:
        return "window"
    if VARIANT_RE.fullmatch(name):
        return "variant"
    if COURSE_RE.fullmatch(name):
        return "course"
    return None


class LinkParser(HTMLParser):
    """Collects document links (<a>/<area> with href) in order, with their
    text, plus every other URL-bearing attribute."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links: list[tuple[str, str]] = []
        self.resources: list[str] = []
        self._open: int | None = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag in ("a", "area") and a.get("href") is not None:
            self.links.append((a["href"], ""))
            if tag == "a":
                self._open = len(self.links) - 1
        for key in ("src", "href"):
            if key in a and tag not in ("a", "area"):
                self.resources.append(a[key] or "")

    def handle_endtag(self, tag):
        if tag == "a":
            self._open = None

    def handle_data(self, data):
        if self._open is not None:
            href, text = self.links[self._open]
            self.links[self._open] = (href, text + data)


def parse(path: Path) -> LinkParser:
    p = LinkParser()
    p.feed(path.read_text("utf-8", errors="replace"))
    p.close()
    return p


def local_target(href: str) -> str | None:
    """Folder-relative file name of a link, or None for a same-page anchor.
    Raises ValueError for anything that leaves the course folder."""
    parts = urlsplit(href)
    if parts.scheme or parts.netloc or href.startswith("/"):
        raise ValueError("points outside the course folder")
    if not parts.path:
        return None
    if ".." in parts.path.split("/"):
        raise ValueError("climbs out of the course folder")
    return parts.path


def media_problem(path: Path) -> str | None:
    data = path.read_bytes()
    want = b"AVI " if path.suffix == ".avi" else b"WAVE"
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != want:
        return f"not a RIFF {want.decode().strip()} file"
    if struct.unpack("<I", data[4:8])[0] + 8 != len(data):
        return "RIFF size field does not match the file length"
    return None


def check(folder: Path) -> list[str]:
    problems: list[str] = []
    if not folder.is_dir():
        return [f"{folder}: not a folder"]
    files = {p.relative_to(folder).as_posix() for p in folder.rglob("*") if p.is_file()}
    pages = sorted(f for f in files if "/" not in f and f.endswith(".trv"))

    def need(name: str, why: str):
        if name not in files:
            problems.append(f"{name}: missing ({why})")

    # Every page name must belong to one of the viewer's page classes.
    for name in pages:
        if page_class(name) is None:
            problems.append(f"{name}: name fits no page class")

    # Variant families: all seven present and visibly different.
    bases = ["trv", "trvcr"] + [f"trv{w}" for w in WIDE]
    bases += [f"{k}{m:02d}" for m in PLACEHOLDERS for k in ("mod", "obj", "rev")]
    for base in bases:
        family = [f"{base}{x}.trv" for x in LETTERS]
        for name in family:
            need(name, "size variant")
        present = [n for n in family if n in files]
        texts = {(folder / n).read_bytes() for n in present}
        if len(present) == 7 and len(texts) < 7:
            problems.append(f"{base}[a-g].trv: some size variants are identical")

    # Module placeholders and teaching pages.
    for mod, nums in PLACEHOLDERS.items():
        for n in nums:
            need(f"tr{mod:02d}{n:04d}.trv", f"module {mod:02d} placeholder")
        teaching = [p for p in pages if (m := COURSE_RE.fullmatch(p)) and int(m.group(1)) == mod
                    and int(m.group(2)) not in nums]
        if len(teaching) < MIN_TEACHING_PAGES:
            problems.append(f"module {mod:02d}: only {len(teaching)} teaching pages, "
                            f"need {MIN_TEACHING_PAGES}")
    for name in sorted(WINDOWS):
        need(name, "window placeholder")

    linked: dict[str, set[str]] = {}  # target page -> pages linking it
    nav: dict[str, list[str]] = {}  # course page -> its Section/Previous/Next targets
    for name in pages:
        cls = page_class(name)
        parsed = parse(folder / name)
        for res in parsed.resources:
            try:
                target = local_target(res)
            except ValueError as e:
                problems.append(f"{name}: resource {res!r} {e}")
                continue
            if target and target not in files:
                problems.append(f"{name}: resource {res!r} does not exist")
        if cls in ("media", "window"):
            continue
        links = parsed.links
        if cls == "course":
            nav[name] = [href for href, _ in links[:3]]
        if len(links) < 3:
            problems.append(f"{name}: {len(links)} links, needs Section, Previous and Next")
        for i, (href, _text) in enumerate(links):
            try:
                target = local_target(href)
            except ValueError as e:
                problems.append(f"{name}: link {i} {href!r} {e}")
                continue
            if target is None:
                continue
            if target not in files:
                problems.append(f"{name}: link {i} -> {target} does not exist")
            linked.setdefault(target, set()).add(name)
            if i < 3 and page_class(target) not in ("variant", "course"):
                problems.append(f"{name}: navigation link {i} -> {target} is not a course page")
        if name.startswith("trvcr"):
            if len(links) <= BACK_LINK:
                problems.append(f"{name}: {len(links)} links, the course map needs at least 6")
            else:
                href, text = links[BACK_LINK]
                if href != "trva.trv" or text.strip() != "Back to contents":
                    problems.append(f"{name}: link {BACK_LINK} must be 'Back to contents' -> "
                                    f"trva.trv, found {text.strip()!r} -> {href}")

    # Between course pages, Next and Previous must mirror each other.
    for name, targets in sorted(nav.items()):
        if len(targets) < 3:
            continue
        prev, nxt = targets[1], targets[2]
        if nxt in nav and len(nav[nxt]) == 3 and nav[nxt][1] != name:
            problems.append(f"{name}: Next -> {nxt}, but its Previous -> {nav[nxt][1]}")
        if prev in nav and len(nav[prev]) == 3 and nav[prev][2] != name:
            problems.append(f"{name}: Previous -> {prev}, but its Next -> {nav[prev][2]}")

    # Media: every linked media placeholder exists with a playable-looking file.
    for target in sorted(linked):
        media = media_target(target)
        if not media:
            continue
        if media not in files:
            problems.append(f"{target}: media file {media} missing "
                            f"(linked from {sorted(linked[target])[0]})")
        else:
            bad = media_problem(folder / media)
            if bad:
                problems.append(f"{media}: {bad}")

    # Media coverage the course promises.
    def linked_from(pattern: str, sources: str) -> bool:
        return any(re.fullmatch(pattern, t) and any(re.match(sources, s) for s in by)
                   for t, by in linked.items())

    for mod in PLACEHOLDERS:
        scope = rf"(tr|mod){mod:02d}"
        if not linked_from(rf"fig{mod:02d}.+\.trv", scope):
            problems.append(f"module {mod:02d}: no figure video linked from its pages")
        if not linked_from(rf"v{mod:02d}.+\.trv", scope):
            problems.append(f"module {mod:02d}: no narration linked from its pages")
    for x in LETTERS:
        for target in ["title.trv", *sorted(WINDOWS)]:
            if f"trv{x}.trv" not in linked.get(target, set()) and f"trv{x}.trv" in files:
                problems.append(f"trv{x}.trv: does not link {target}")
        if f"trvtvid{x}.trv" in files and not any(
                f"trvtvid{x}.trv" in by for t, by in linked.items() if t.startswith("ttv")):
            problems.append(f"trvtvid{x}.trv: links no tech-tip video")
    return problems


def main(argv: list[str]) -> int:
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder = Path(argv[1])
    problems = check(folder)
    for p in problems:
        print(f"course check: {p}")
    pages = len(list(folder.glob("*.trv"))) if folder.is_dir() else 0
    print(f"course check: {pages} pages, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
