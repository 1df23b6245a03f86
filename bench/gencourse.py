#!/usr/bin/env python3
"""Generates a full-size Torvane course for benchmarks: all 24 modules of the viewer's module page
table, each with PAGES teaching pages, their figure videos and narration, made by the demo course
generator (course/generate.py) from the demo course's three modules, repeated and renumbered.

    gencourse.py --out FOLDER [--pages-per-module 58]

The page numbers of each module's objectives and review placeholders are read from the viewer's own
table (src/router/moduletable.h), so the course is one the viewer can show. Python 3 standard library.
"""

from __future__ import annotations

import argparse
import re
import shutil
import sys
from dataclasses import replace
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "course"))

import generate  # noqa: E402


def objectives_pages() -> dict[int, int]:
    """Module -> page number of its objectives placeholder, from the viewer's module page table."""
    text = (ROOT / "src" / "router" / "moduletable.h").read_text("utf-8")
    table = text[text.index("kObjPages"):]
    table = table[:table.index("}};")]
    pages = {int(m): int(p) for m, p in re.findall(r"\{(\d+),\s*(\d+)\}", table)}
    if sorted(pages) != list(range(1, 25)):
        raise SystemExit("gencourse.py: cannot read the module page table from moduletable.h")
    return pages


def renamed(media: list[tuple[str, str]], prefix: str, module: int, page: int) -> list[tuple[str, str]]:
    """The page's media under names of its own module and page: fig0105 on page 12 of module 7
    becomes fig07012a."""
    return [(f"{prefix}{module:02d}{page:03d}{chr(ord('a') + i)}", caption)
            for i, (_, caption) in enumerate(media)]


def build_modules(per_module: int) -> list[generate.Module]:
    templates = [generate.parse_module(p.read_text("utf-8"), p.name)
                 for p in sorted(generate.CONTENT_DIR.glob("module*.txt"))]
    obj = objectives_pages()
    modules = []
    for number in range(1, 25):
        tpl = templates[(number - 1) % len(templates)]
        reserved = {1, obj[number], obj[number] + 1}
        numbers = [n for n in range(2, 10000) if n not in reserved][:per_module]
        pages = []
        for i, n in enumerate(numbers):
            src = tpl.pages[i % len(tpl.pages)]
            pages.append(replace(src, number=n,
                                 title=src.title if i < len(tpl.pages) else f"{src.title} ({i // len(tpl.pages) + 1})",
                                 figs=renamed(src.figs, "fig", number, i),
                                 narrations=renamed(src.narrations, "v", number, i)))
        modules.append(replace(tpl, number=number, obj_page=obj[number], rev_page=obj[number] + 1,
                               narration=(f"v{number:02d}000", tpl.narration[1]), pages=pages))
    return modules


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", required=True, type=Path, help="course folder to (re)create")
    ap.add_argument("--pages-per-module", type=int, default=58)
    args = ap.parse_args()

    course = generate.load_course()
    course.modules = build_modules(args.pages_per_module)
    renderer = generate.Renderer(course)
    pages = renderer.all_pages()
    clips: dict[str, bytes] = {}  # one clip of each kind per module: making them is the slow part
    out = args.out.resolve()
    if out.exists():
        shutil.rmtree(out)
    media = 0
    for name, text in sorted(pages.items()):
        path = out / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text, "utf-8")
        target = generate.media_path(name)
        if target:
            key = target.split("/")[0] + target.rsplit(".", 1)[1]
            if key not in clips:
                clips[key] = (generate.make_audio if target.endswith(".wav") else generate.make_video)(name[:-4])
            (out / target).parent.mkdir(parents=True, exist_ok=True)
            (out / target).write_bytes(clips[key])
            media += 1
    print(f"gencourse.py: {len(pages)} pages, {media} media files -> {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
