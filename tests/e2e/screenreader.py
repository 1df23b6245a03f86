"""What a screen reader gets from the viewer, read through AT-SPI as Orca reads it.

    screenreader.py VIEWER

Run on an X display (tests/with-display.sh) inside a session bus of its own (dbus-run-session). First
starts the viewer before any screen reader has looked at the session, as the desktop starts it, and
checks that a screen reader started afterwards reads the course page's headings and links. Then starts
it with its accessibility bridge on, and checks the main window with a course page, the help picture,
and the search, index and history windows: window roles and captions, the names of buttons, boxes and
lists, a search result's rows and their focus, and the course page's headings and links; and that the
viewer lists no window of the browser engine's own. Prints one line per failed check; exit status 1
when any failed.
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what, flush=True)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def role(node):
    return node.getRoleName()


def state(node, which):
    return node.getState().contains(which)


def wait_for(look, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        found = look()
        if found:
            return found
        time.sleep(0.25)
    return None


def viewer_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "Torvane":
            return app
    return None


def showing_frame(caption):
    app = viewer_app()
    if app is None:
        return None
    for i in range(app.childCount):
        frame = app.getChildAtIndex(i)
        if frame is not None and frame.name == caption and state(frame, pyatspi.STATE_SHOWING):
            return frame
    return None


def named(frame, role_name, name):
    return [n for n in walk(frame) if role(n) == role_name and n.name == name]


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True)
    time.sleep(0.3)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True)


def start_viewer(viewer, assistive_technology_on):
    home = tempfile.mkdtemp()
    os.makedirs(os.path.join(home, "run"), mode=0o700)
    env = dict(os.environ)
    for name in ("TORVANE_COURSE_URL", "TORVANE_TIME_DIVISOR", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON",
                 "QT_ACCESSIBILITY"):
        env.pop(name, None)
    env.update(HOME=home, APPDATA=os.path.join(home, "appdata"), XDG_RUNTIME_DIR=os.path.join(home, "run"),
               QTWEBENGINE_DISABLE_SANDBOX="1")
    if assistive_technology_on:
        env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    return subprocess.Popen([viewer], env=env)


def stop(process):
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()


def main():
    viewer = sys.argv[1]
    # First, before any screen reader has looked at the desktop in this session: the viewer starts as on a
    # desktop where assistive technology is on but no screen reader runs yet, and one starts later.
    process = start_viewer(viewer, False)
    try:
        screen_reader_after_the_viewer()
    finally:
        stop(process)
    wait_for(lambda: viewer_app() is None, 10)
    process = start_viewer(viewer, True)
    try:
        run_checks()
    finally:
        stop(process)
    if failures:
        print(f"{len(failures)} checks failed", flush=True)
        return 1
    print("every check passed", flush=True)
    return 0


def page_parts(frame):
    nodes = list(walk(frame))
    headings = [n for n in nodes if role(n) == "heading" and n.name.strip()]
    links = [n for n in nodes if role(n) == "link" and n.name.strip()]
    return (headings, links) if headings and len(links) >= 5 else None


def screen_reader_after_the_viewer():
    shown = wait_for(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Torvane$"],
                                            capture_output=True).stdout.strip(), 60)
    check(bool(shown), "the viewer shows its window before any screen reader runs")
    time.sleep(2)  # its first page, with nobody asking for its accessibility tree
    main_frame = wait_for(lambda: showing_frame("Torvane"), 30)
    check(main_frame is not None, 'a screen reader started later finds the window "Torvane"')
    if main_frame is None:
        return
    parts = wait_for(lambda: page_parts(main_frame), 30)
    check(parts is not None, "a screen reader started after the viewer reads the page's headings and links")


def run_checks():
    main_frame = wait_for(lambda: showing_frame("Torvane"), 60)
    check(main_frame is not None, 'a window (frame) named "Torvane"')
    if main_frame is None:
        return
    check(role(main_frame) == "frame", f'the main window is a frame, not a {role(main_frame)}')

    # The toolbar: every button by what it does.
    for name in ("Contents", "Print", "Search", "Back", "Previous page", "Next page", "History", "Calc",
                 "Help", "Section"):
        check(len(named(main_frame, "push button", name)) == 1, f'one push button "{name}" in the main window')

    # The viewer's own windows only: none of the browser engine's drawing windows ("Offscreen").
    app = viewer_app()
    frames = [app.getChildAtIndex(i).name for i in range(app.childCount)] if app else []
    check("Offscreen" not in frames, "no window of the browser engine's own is listed: " + ", ".join(frames))

    # The course page itself: its headings and links, with their texts.
    parts = wait_for(lambda: page_parts(main_frame), 30)
    check(parts is not None, "the course page's headings and links are in the accessibility tree")
    if parts:
        headings, links = parts
        check(any("Electrical" in h.name for h in headings),
              "the contents page's heading is read: " + ", ".join(h.name for h in headings[:5]))
        check(any(link.name.strip() == "Index" for link in links), 'the contents page\'s link "Index" is read')

    # The help picture has a text alternative.
    keys("alt+h")
    picture = wait_for(lambda: [n for n in walk(main_frame) if n.name == "Torvane - Help"
                                and state(n, pyatspi.STATE_SHOWING)], 10)
    check(bool(picture), 'the help picture is named "Torvane - Help"')
    if picture:
        check("Search" in picture[0].description and "Alt+Q" in picture[0].description,
              "the help picture's description says what it shows")
    keys("Escape")

    # The search window: a frame with its caption, the cursor in a box named for its purpose.
    keys("alt+s")
    search = wait_for(lambda: showing_frame("Torvane - Search"), 30)
    check(search is not None, 'the search window is a frame named "Torvane - Search"')
    if search is None:
        return
    box = wait_for(lambda: [n for n in named(search, "text", "Search for") if state(n, pyatspi.STATE_FOCUSED)], 10)
    check(bool(box), 'the search window\'s focused box is named "Search for"')
    type_text("relay")
    keys("Return")
    results = named(search, "list", "Search results")
    check(len(results) == 1, 'one list named "Search results"')
    if results:
        rows = wait_for(lambda: [n for n in walk(results[0]) if role(n) == "list item"], 10) or []
        check(len(rows) > 0 and all(r.name.strip() for r in rows), "the result rows are list items with their titles")
        check(not any(state(r, pyatspi.STATE_FOCUSED) for r in rows),
              "no result row claims the focus while the box has it")
        keys("Tab", "Tab")  # through the Search button to the list
        focused = wait_for(lambda: [r for r in walk(results[0])
                                    if role(r) == "list item" and state(r, pyatspi.STATE_FOCUSED)], 10) or []
        check(len(focused) == 1, f"one result row has the focus once the list has it ({len(focused)})")

    # The index window.
    keys("alt+i")
    index = wait_for(lambda: showing_frame("Torvane - Index"), 30)
    check(index is not None, 'the index window is a frame named "Torvane - Index"')
    if index is not None:
        check(len(named(index, "text", "Word beginning")) == 1, 'the index window\'s box is named "Word beginning"')
        check(len(named(index, "list", "Index results")) == 1, 'the index window\'s list is named "Index results"')

    # The history window.
    keys("alt+t")
    history = wait_for(lambda: showing_frame("Torvane - History"), 30)
    check(history is not None, 'the history window is a frame named "Torvane - History"')
    if history is not None:
        lists = named(history, "list", "Pages visited")
        check(len(lists) == 1, 'the history window\'s list is named "Pages visited"')
        if lists:
            rows = [n for n in walk(lists[0]) if role(n) == "list item"]
            check(len(rows) > 0 and all(r.name.strip() for r in rows), "the visited pages are list items with titles")


if __name__ == "__main__":
    sys.exit(main())
