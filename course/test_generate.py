#!/usr/bin/env python3
"""Tests for the demo course generator and checker.

    python3 -m unittest discover -s course -p 'test_*.py'
"""

import io
import shutil
import struct
import sys
import tempfile
import unittest
import wave
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import check  # noqa: E402
import generate  # noqa: E402


def riff_chunks(data: bytes, start: int, end: int):
    """Yields (fourcc, list type or None, payload offset, payload size)."""
    pos = start
    while pos < end:
        fourcc = data[pos:pos + 4]
        size = struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if fourcc in (b"RIFF", b"LIST"):
            yield fourcc, data[pos + 8:pos + 12], pos + 12, size - 4
        else:
            yield fourcc, None, pos + 8, size
        pos += 8 + size + (size & 1)
    if pos != end:
        raise AssertionError(f"chunks overrun their container: {pos} != {end}")


def parse_avi(data: bytes) -> dict:
    (riff, kind, off, size), = riff_chunks(data, 0, len(data))
    assert riff == b"RIFF" and kind == b"AVI ", "not a RIFF AVI"
    top = {k or f: (o, s) for f, k, o, s in riff_chunks(data, off, off + size)}
    hoff, hsize = top[b"hdrl"]
    hdrl = {k or f: (o, s) for f, k, o, s in riff_chunks(data, hoff, hoff + hsize)}
    soff, ssize = hdrl[b"strl"]
    strl = {f: (o, s) for f, _, o, s in riff_chunks(data, soff, soff + ssize)}
    avih = struct.unpack_from("<10I", data, hdrl[b"avih"][0])
    so = strl[b"strh"][0]
    strh = struct.unpack_from("<4s4sIHHIIIIIIiI4h", data, so)
    strf = struct.unpack_from("<IiiHHIIiiII", data, strl[b"strf"][0])
    moff, msize = top[b"movi"]
    movi = list(riff_chunks(data, moff, moff + msize))
    ioff, isize = top[b"idx1"]
    idx = [struct.unpack_from("<4sIII", data, ioff + i) for i in range(0, isize, 16)]
    return {"avih": avih, "strh": strh, "strf": strf, "movi": movi, "idx": idx,
            "movi_fourcc": moff - 4, "riff_size": size + 4}


class AviWriterTest(unittest.TestCase):
    NAMES = ["title", "fig0105", "ttv03"]

    def test_headers_agree_with_the_stream(self):
        for name in self.NAMES:
            with self.subTest(name=name):
                data = generate.make_video(name)
                avi = parse_avi(data)
                w, h, fps = generate.AVI_W, generate.AVI_H, generate.AVI_FPS
                frame = w * h * 3
                usec, _, _, flags, total, _, streams, _, aw, ah = avi["avih"]
                self.assertEqual(avi["riff_size"] + 8, len(data))
                self.assertEqual((usec, streams, aw, ah), (1_000_000 // fps, 1, w, h))
                self.assertTrue(flags & 0x10, "AVIF_HASINDEX must be set")
                strh = avi["strh"]
                self.assertEqual(strh[0:2], (b"vids", b"DIB "))
                self.assertEqual(strh[7] / strh[6], fps)            # rate / scale
                self.assertEqual(strh[9], total)                     # dwLength
                self.assertEqual(strh[13:17], (0, 0, w, h))          # rcFrame
                self.assertEqual(avi["strf"][1:6], (w, h, 1, 24, 0))  # BI_RGB, 24 bit
                self.assertEqual(avi["strf"][6], frame)
                self.assertEqual(len(avi["movi"]), total)
                self.assertEqual(len(avi["idx"]), total)
                self.assertTrue(1.5 <= total / fps <= 3.0)
                self.assertLess(len(data), 300_000)

    def test_index_points_at_each_frame_chunk(self):
        data = generate.make_video("fig0211")
        avi = parse_avi(data)
        for (ckid, flags, offset, size), (fourcc, _, payload, psize) in zip(avi["idx"], avi["movi"]):
            self.assertEqual((ckid, fourcc), (b"00db", b"00db"))
            self.assertTrue(flags & 0x10, "every uncompressed frame is a key frame")
            self.assertEqual(avi["movi_fourcc"] + offset, payload - 8)
            self.assertEqual(size, psize)

    def test_picture_moves(self):
        frames = generate.video_frames("fig0105")
        self.assertEqual(len(set(frames)), len(frames), "every frame should differ")

    def test_rejects_frames_of_the_wrong_size(self):
        with self.assertRaises(ValueError):
            generate.avi_bytes([b"\0" * 47], 4, 4, 10)


class WavWriterTest(unittest.TestCase):
    def test_header_and_samples(self):
        for name in ("v0101", "v0311"):
            with self.subTest(name=name):
                data = generate.make_audio(name)
                self.assertEqual(struct.unpack("<I", data[4:8])[0] + 8, len(data))
                self.assertEqual(struct.unpack("<I", data[40:44])[0], len(data) - 44)
                with wave.open(io.BytesIO(data)) as w:
                    self.assertEqual((w.getnchannels(), w.getsampwidth(), w.getframerate()),
                                     (1, 2, 8000))
                    self.assertTrue(1.5 <= w.getnframes() / 8000 <= 3.0)
                    pcm = w.readframes(w.getnframes())
                samples = struct.unpack(f"<{len(pcm) // 2}h", pcm)
                self.assertGreater(max(samples), 5000, "audio is near silent")
                self.assertLess(max(abs(s) for s in samples), 32767, "audio clips")

    def test_notes_start_and_end_quietly(self):
        samples = generate.melody("v0102")
        per_note = len(samples) // 5
        for n in range(5):
            with self.subTest(note=n):
                self.assertLess(abs(samples[n * per_note]), 200)
                self.assertLess(abs(samples[(n + 1) * per_note - 1]), 200)


class PageNameTest(unittest.TestCase):
    CASES = [
        ("title.trv", "trv/title.avi"),
        ("ttv05.trv", "TechTips/tt05.avi"),
        ("fig0107.trv", "d01/fig0107.avi"),
        ("fig03ab.trv", "d03/fig03ab.avi"),
        ("v0103.trv", "d01/v0103.wav"),
        ("tr010002.trv", None),
        ("trva.trv", None),
        ("search.trv", None),
        ("ttv123.trv", None),
    ]

    def test_media_paths(self):
        for page, want in self.CASES:
            with self.subTest(page=page):
                self.assertEqual(generate.media_path(page), want)
                self.assertEqual(check.media_target(page), want)


class ContentParserTest(unittest.TestCase):
    MODULE = """[module]
number = 04
title = T
objectives = 90
review = 91
narration = v0401 | N
[intro]
---
<p>i</p>
[summary]
---
<p>s</p>
[objectives]
---
- one
  continued
- two
[review]
---
Q: q1
A: a1
[page 0002]
title = P
section = S
fig = fig0402 | F
---
<p>body</p>
"""

    def test_parses_a_module(self):
        mod = generate.parse_module(self.MODULE, "m")
        self.assertEqual((mod.number, mod.obj_placeholder, mod.rev_placeholder),
                         (4, "tr040090.trv", "tr040091.trv"))
        self.assertEqual(mod.objectives, ["one continued", "two"])
        self.assertEqual(mod.pages[0].figs, [("fig0402", "F")])

    def test_rejects_bad_content(self):
        cases = {
            "missing equals": self.MODULE.replace("title = T", "title T"),
            "duplicate key": self.MODULE.replace("title = T", "title = T\ntitle = U"),
            "text before block": "stray\n" + self.MODULE,
            "figure of another module": self.MODULE.replace("fig0402", "fig0502"),
            "page on a placeholder": self.MODULE.replace("[page 0002]", "[page 0090]"),
            "answer without question": self.MODULE.replace("Q: q1\n", ""),
            "question without answer": self.MODULE.replace("A: a1\n", ""),
            "unknown page key": self.MODULE.replace("section = S", "section = S\ncolour = red"),
            "missing block": self.MODULE.replace("[summary]", "[page 0003]\ntitle = X"),
        }
        for what, text in cases.items():
            with self.subTest(what):
                with self.assertRaises(generate.ContentError):
                    generate.parse_module(text, "m")


class GeneratedCourseTest(unittest.TestCase):
    """Builds the real course once, then checks it and damages copies of it."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = Path(tempfile.mkdtemp(prefix="course-test-"))
        cls.out = cls.tmp / "course"
        (cls.out / "d09").mkdir(parents=True)
        (cls.out / "d09" / "stale.avi").write_bytes(b"old")
        generate.build(cls.out)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def damaged(self, change) -> list[str]:
        copy = self.tmp / "damaged"
        if copy.exists():
            shutil.rmtree(copy)
        shutil.copytree(self.out, copy)
        change(copy)
        return check.check(copy)

    def test_generated_course_passes_the_checker(self):
        self.assertEqual(check.check(self.out), [])

    def test_rebuild_is_identical_and_drops_stale_files(self):
        self.assertFalse((self.out / "d09").exists())
        again = self.tmp / "again"
        generate.build(again)
        files = sorted(p.relative_to(self.out) for p in self.out.rglob("*") if p.is_file())
        self.assertEqual(files, sorted(p.relative_to(again) for p in again.rglob("*") if p.is_file()))
        for rel in files:
            self.assertEqual((self.out / rel).read_bytes(), (again / rel).read_bytes(), str(rel))

    def test_next_and_previous_walk_the_whole_course(self):
        def nav(page):
            return [href for href, _ in check.parse(self.out / page).links[:3]]

        forward, page = [], "tr010001.trv"
        while page != "trva.trv" and len(forward) < 500:
            forward.append(page)
            page = nav(page)[2]
        course_pages = sorted(p.name for p in self.out.glob("tr[0-9]*.trv"))
        self.assertEqual(sorted(forward), course_pages, "Next must visit every course page once")
        backward, page = [], forward[-1]
        while page != "trva.trv" and len(backward) < 500:
            backward.append(page)
            page = nav(page)[1]
        self.assertEqual(backward, forward[::-1])

    def test_checker_reports_damage(self):
        def swap_back_link(folder):
            p = folder / "trvcrd.trv"
            text = p.read_text()
            p.write_text(text.replace(">Back to contents<", ">Contents<"))

        def copy_variant(folder):
            shutil.copy(folder / "mod02b.trv", folder / "mod02c.trv")

        def drop_nav(folder):
            p = folder / "tr020005.trv"
            p.write_text(p.read_text().replace('<a href="tr020004.trv" class="btn">', "<a>", 1))

        def truncate_avi(folder):
            p = folder / "d03" / "fig0306.avi"
            p.write_bytes(p.read_bytes()[:5000])

        cases = [
            ("missing variant", lambda f: (f / "trvtechf.trv").unlink(), "trvtechf.trv"),
            ("missing placeholder", lambda f: (f / "tr020216.trv").unlink(), "tr020216.trv"),
            ("missing media", lambda f: (f / "d01" / "v0108.wav").unlink(), "d01/v0108.wav"),
            ("broken media", truncate_avi, "d03/fig0306.avi"),
            ("back link", swap_back_link, "trvcrd.trv"),
            ("identical variants", copy_variant, "mod02[a-g]"),
            ("missing previous link", drop_nav, "tr020005.trv"),
            ("unknown page name", lambda f: (f / "tr01002.trv").write_text("x"), "tr01002.trv"),
        ]
        for what, change, expect in cases:
            with self.subTest(what):
                problems = self.damaged(change)
                self.assertTrue(any(expect in p for p in problems), problems)


if __name__ == "__main__":
    unittest.main()
