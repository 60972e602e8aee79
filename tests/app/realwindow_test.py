#!/usr/bin/python3
"""The editor used the way a person uses it: the built program in a real X window (Xvfb, xcb
platform), driven only by X input events from xdotool, checked by the pixels on the screen and by
the bytes of the file it writes. Needs Xvfb, xauth, xdotool, xwd, xwininfo and xdpyinfo; uses the
standard library only.

    realwindow_test.py SKIZZAR --kinds JSON [--desktop plain|gnome-dark|wayland] [--screenshot PNG] [--artifacts DIR]

--kinds names the tests' table of shape kinds as the build writes it (tests/support/shape-kinds.json).
--desktop plain (the default) draws each kind's sample, saves and opens; gnome-dark runs the editor with GNOME's
platform theme for Qt in its dark variant (package qt6-gtk-platformtheme) and checks that the About
box is readable and the dialogs are the editor's own; wayland runs it natively in weston's headless
compositor and checks what the compositor is told, its title and app id, and exits 77 (skipped)
where weston or Qt's Wayland platform cannot run. --screenshot also writes the main window with the
drawn shapes as a PNG (docs/screenshot.png is made this way). --artifacts is where pictures of the
program's windows go when a step fails.
"""

import argparse
import ctypes
import glob
import json
import math
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

# The drawing area opens at 9705 x 7080 twips, 15 twips to the pixel.
TWIPS_PER_PIXEL = 15
CANVAS_W, CANVAS_H = 9705 // TWIPS_PER_PIXEL, 7080 // TWIPS_PER_PIXEL
# The label "Aktuelle Version" lies over the drawing area: x, y, width, height in pixels.
LABEL = (5400 // TWIPS_PER_PIXEL, 1080 // TWIPS_PER_PIXEL, 1215 // TWIPS_PER_PIXEL, 255 // TWIPS_PER_PIXEL)


def read_kinds(path):
    """The tests' table of shape kinds as shape_kinds_files (tests/support) writes it: each kind's
    caption in Zeichnen, its sample's clicks, text, hand-checked pixels and every pixel it sets (as
    sets), in the order of the menu; and the file the samples make, in that order."""
    with open(path, encoding="utf-8") as f:
        table = json.load(f)
    kinds = [dict(k, clicks=[tuple(p) for p in k["clicks"]], painted={tuple(p) for p in k["painted"]},
                  pixels={tuple(p) for p in k["pixels"]}) for k in table["kinds"]]
    return kinds, table["dxf"].encode("ascii")


# The menu bar, each menu with its items (separators left out), as the editor shows them.
MENU_BAR = {
    "Datei": ["Neu", "Öffnen...", "Speichern", "Speichern unter...", "Drucken...", "Drucken in HPGL...",
              "Beenden"],
    "Bearbeiten": ["Rückgängig", "Ausschneiden", "Kopieren", "Einfügen", "Löschen"],
    "Zeichnen": [],  # a caption for each kind of the table, filled in by main
    "Ändern": ["Objektfarbe...", "Drehen...", "Verzerren...", "Text"],
    "Extras": ["Hintergrundfarbe...", "Zeichenfarbe...", "Texteinstellung..."],
    "Hilfe": ["Hilfethemen...", "Über Skizzar..."],
}

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

FILE_NAME = "zeichnung.dxf"
# The menu entry that docks and task switchers match the editor's windows to.
DESKTOP_ENTRY = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "app", "desktop",
                             "de.skizzar.Skizzar.desktop")
SKIP = 77
# Bounds every wait; generous, since a busy machine may be slow and a passing run never waits it out.
STEP_TIMEOUT = 30.0


class StepFailed(Exception):
    pass


class ProgramEnded(StepFailed):
    """The editor is gone: waiting any longer is pointless."""


class Skipped(Exception):
    """The machine cannot run this scenario."""


# --- Pictures ------------------------------------------------------------------------------------

class Picture:
    """An RGB picture, read from xwd's output (any ZPixmap layout xwd writes)."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @classmethod
    def from_xwd(cls, xwd):
        h = struct.unpack(">25I", xwd[:100])
        header_size, width, height = h[0], h[4], h[5]
        byte_order, bits_per_pixel, bytes_per_line = h[7], h[11], h[12]
        masks, ncolors = h[14:17], h[19]
        data = memoryview(xwd)[header_size + ncolors * 12:]
        step = bits_per_pixel // 8
        rgb = bytearray(width * height * 3)
        usual = byte_order == 0 and tuple(masks) == (0xFF0000, 0xFF00, 0xFF) and step in (3, 4)
        shifts = [(m & -m).bit_length() - 1 for m in masks]
        for y in range(height):
            row = data[y * bytes_per_line:y * bytes_per_line + width * step]
            out = y * width * 3
            if usual:
                # Blue, green and red are the low bytes of each little-endian pixel.
                for channel in range(3):
                    rgb[out + channel:out + width * 3:3] = row[2 - channel::step]
                continue
            for x in range(width):
                v = int.from_bytes(row[x * step:(x + 1) * step], "little" if byte_order == 0 else "big")
                rgb[out + 3 * x:out + 3 * x + 3] = bytes((v & m) >> s for m, s in zip(masks, shifts))
        return cls(width, height, bytes(rgb))

    def px(self, x, y):
        o = (y * self.width + x) * 3
        return tuple(self.rgb[o:o + 3])

    def row(self, y):
        return self.rgb[y * self.width * 3:(y + 1) * self.width * 3]

    def crop(self, x0, y0, width, height):
        rows = [self.rgb[((y0 + y) * self.width + x0) * 3:((y0 + y) * self.width + x0 + width) * 3]
                for y in range(height)]
        return Picture(width, height, b"".join(rows))

    def write_png(self, path):
        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
        raw = b"".join(b"\0" + self.row(y) for y in range(self.height))
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n"
                    + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
                    + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ink_runs(flags, max_gap=0):
    """Runs of true values as (first, last); runs apart by at most max_gap falses are one run."""
    runs = []
    for i, on in enumerate(flags):
        if not on:
            continue
        if runs and i - runs[-1][1] <= max_gap + 1:
            runs[-1][1] = i
        else:
            runs.append([i, i])
    return [tuple(r) for r in runs]


def differs(a, b):
    return sum(abs(p - q) for p, q in zip(a, b)) > 60


def contrast(a, b):
    """The contrast ratio of two colours as WCAG defines it: 1 for equal ones, 21 for black on white."""
    def luminance(c):
        r, g, b = (v / 255 / 12.92 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4 for v in c)
        return 0.2126 * r + 0.7152 * g + 0.0722 * b
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def desktop_entry():
    with open(DESKTOP_ENTRY, encoding="utf-8") as f:
        return dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)


# --- Geometry of the expected drawing and file -----------------------------------------------------

def segment_distance(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((p[0] - a[0]) * dx + (p[1] - a[1]) * dy) / (dx * dx + dy * dy)))
    return math.hypot(p[0] - (a[0] + t * dx), p[1] - (a[1] + t * dy))


def along(a, b, count):
    return [(round(a[0] + (b[0] - a[0]) * i / count), round(a[1] + (b[1] - a[1]) * i / count))
            for i in range(1, count)]


def in_box(p, box):
    return box[0] <= p[0] < box[0] + box[2] and box[1] <= p[1] < box[1] + box[3]


# --- Checks on the drawing area --------------------------------------------------------------------

def black_near(picture, p, reach=1):
    return any(picture.px(x, y) == BLACK
               for x in range(p[0] - reach, p[0] + reach + 1) for y in range(p[1] - reach, p[1] + reach + 1)
               if 0 <= x < picture.width and 0 <= y < picture.height)


def missing(picture, points):
    """The first of the points with no black pixel on or next to it, or None."""
    return next((p for p in points if not black_near(picture, p)), None)


def not_black(picture, points):
    """The first of the points whose pixel is not black, or None."""
    return next((p for p in sorted(points) if picture.px(*p) != BLACK), None)


def grown(points):
    """The points and their neighbours."""
    return {(x + dx, y + dy) for x, y in points for dx in (-1, 0, 1) for dy in (-1, 0, 1)}


def stray(picture, allowed):
    """The painted (not white) pixels outside what is allowed: their count and the first."""
    white_row = b"\xff" * (picture.width * 3)
    bad = [(x, y) for y in range(picture.height) if picture.row(y) != white_row
           for x in range(picture.width) if picture.px(x, y) != WHITE and not allowed((x, y))]
    return len(bad), (bad[0] if bad else None)


def first_difference(a, b, ignore=lambda p: False):
    for y in range(a.height):
        if a.row(y) != b.row(y):
            for x in range(a.width):
                if a.px(x, y) != b.px(x, y) and not ignore((x, y)):
                    return (x, y)
    return None


def drawing_faults(picture, kinds):
    """What is wrong with the picture of the finished drawing, or None: each kind's sample must
    set its pixels, and nothing else the ground but the label."""
    for kind in kinds:
        gap = not_black(picture, kind["pixels"] | kind["painted"])
        if gap:
            return f"the {kind['name']} has no black pixel at {gap}"
    shapes = set().union(*(kind["pixels"] for kind in kinds))
    count, first = stray(picture, lambda p: p in shapes or in_box(p, LABEL))
    if count:
        return f"{count} painted pixels away from every shape (a trace of a rubber band?), the first at {first}"
    return None


# --- The X server, the program and the input -------------------------------------------------------

def die_with_parent():
    # The server and the editor must not outlive the test, also when the test itself is killed.
    ctypes.CDLL(None).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


class Session:
    def __init__(self, program, work, artifacts):
        self.program, self.work, self.artifacts = program, work, artifacts
        self.server = self.app = self.env = self.main = self.origin = self.titles = None
        self.started = time.monotonic()
        self.step("start")

    # Every step has a time-out and names itself in a failure.
    def step(self, name):
        self.step_name, self.deadline = name, time.monotonic() + STEP_TIMEOUT
        if name != "start":
            print(f"[{time.monotonic() - self.started:5.2f}s] {name}", flush=True)

    def fail(self, message, kind=StepFailed):
        raise kind(f"step '{self.step_name}': {message}")

    def wait_for(self, probe, what, on_timeout=None):
        """Polls probe() until it returns something true; fails the step at its deadline."""
        last = None
        while True:
            try:
                result = probe()
            except ProgramEnded:
                raise
            except StepFailed as failure:
                result, last = None, str(failure)
            if result:
                return result
            if time.monotonic() > self.deadline:
                detail = on_timeout() if on_timeout else last
                self.fail(f"timed out waiting for {what}" + (f": {detail}" if detail else ""))
            time.sleep(0.05)

    def run(self, *args, check=True):
        try:
            result = subprocess.run([str(a) for a in args], env=self.env, capture_output=True, timeout=STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.fail(f"{' '.join(map(str, args))} did not finish")
        if check and result.returncode != 0:
            self.fail(f"{' '.join(map(str, args))} failed: {result.stderr.decode(errors='replace').strip()}")
        return result.stdout.decode("utf-8", errors="replace")

    def start_server(self):
        auth = os.path.join(self.work, "Xauthority")
        cookie = os.urandom(16).hex()
        # The server takes every cookie of its file; the display number is known only once it runs.
        self.run("xauth", "-q", "-f", auth, "add", ":65000", "MIT-MAGIC-COOKIE-1", cookie)
        read_end, write_end = os.pipe()
        with open(os.path.join(self.work, "xvfb.log"), "wb") as log:
            self.server = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-auth", auth, "-nolisten", "tcp", "-noreset",
                 "-screen", "0", "1280x1024x24"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=log,
                preexec_fn=die_with_parent)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                self.fail("Xvfb ended before it named its display")
            number += chunk
        os.close(read_end)
        display = ":" + number.decode().strip()
        self.run("xauth", "-q", "-f", auth, "add", display, "MIT-MAGIC-COOKIE-1", cookie)

        self.env = self.private_env(DISPLAY=display, XAUTHORITY=auth, QT_QPA_PLATFORM="xcb")
        self.run("xdpyinfo")  # the server is up and takes the cookie
        return display

    def private_env(self, **settings):
        """The environment of a desktop session of its own: a new home and runtime folder, none of
        the caller's display, theme or session settings."""
        home = os.path.join(self.work, "home")
        runtime = os.path.join(self.work, "runtime")
        os.makedirs(home, exist_ok=True)
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "XDG_", "DBUS_", "WAYLAND_", "SESSION_MANAGER", "DESKTOP_SESSION",
                                    "DISPLAY", "GTK_"))}
        env.update(HOME=home, XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"), XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                   QT_ACCESSIBILITY="0", NO_AT_BRIDGE="1", LC_ALL=os.environ.get("LC_ALL", "C.UTF-8"), **settings)
        return env

    def start_program(self):
        with open(os.path.join(self.work, "skizzar.log"), "wb") as log:
            self.app = subprocess.Popen([self.program], env=self.env, cwd=self.work, stdin=subprocess.DEVNULL,
                                        stdout=log, stderr=subprocess.STDOUT, preexec_fn=die_with_parent)

    def stop(self):
        for process in (self.app, self.server):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(3)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def windows(self):
        """The program's windows on the screen."""
        if self.app.poll() is not None:
            self.fail(f"the program ended (exit code {self.app.returncode})", ProgramEnded)
        found = []
        for wid in self.run("xdotool", "search", "--onlyvisible", "--pid", self.app.pid, check=False).split():
            info = dict(line.strip().split(": ", 1)
                        for line in self.run("xwininfo", "-id", wid, check=False).splitlines() if ": " in line)
            if info.get("Map State") != "IsViewable":
                continue  # gone meanwhile
            # Menus are override-redirect popups. Their window type is no guide: a menu shown a
            # second time comes back typed as a plain window.
            menu = info.get("Override Redirect State") == "yes"
            found.append({"id": wid, "name": self.run("xdotool", "getwindowname", wid, check=False).rstrip("\n"),
                          "x": int(info["Absolute upper-left X"]), "y": int(info["Absolute upper-left Y"]),
                          "w": int(info["Width"]), "h": int(info["Height"]),
                          "menu": menu, "dialog": not menu and not (self.main and wid == self.main["id"])})
        return found

    def listing(self):
        try:
            shown = self.windows()
        except StepFailed as failure:
            return str(failure)
        return "windows on the screen: " + "; ".join(
            f"'{w['name']}' {w['w']}x{w['h']}" + (" (menu)" if w["menu"] else "") for w in shown)

    def wait_window(self, what, match):
        def probe():
            hits = [w for w in self.windows() if match(w)]
            return hits[0] if len(hits) == 1 else None
        return self.wait_for(probe, what, self.listing)

    def wait_alone(self, what):
        """Waits until the main window is the program's only window on the screen."""
        self.wait_for(lambda: all(w["id"] == self.main["id"] for w in self.windows()), what, self.listing)

    def wait_title(self, title):
        self.wait_for(lambda: self.title() == title, f"the title '{title}'",
                      lambda: f"it is '{self.title()}'; {self.listing()}")

    def title(self):
        return self.run("xdotool", "getwindowname", self.main["id"]).rstrip("\n")

    def capture(self, window):
        try:
            xwd = subprocess.run(["xwd", "-silent", "-id", window["id"]], env=self.env, capture_output=True,
                                 timeout=STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.fail("xwd did not finish")
        if xwd.returncode != 0:
            self.fail(f"no picture of window {window['id']}: {xwd.stderr.decode(errors='replace').strip()}")
        return Picture.from_xwd(xwd.stdout)

    def canvas(self):
        return self.capture(self.main).crop(self.origin[0], self.origin[1], CANVAS_W, CANVAS_H)

    # Input: nothing but X events from xdotool.
    def move_to(self, x, y):
        # Asks where the pointer is instead of xdotool's --sync, which can wait for ever.
        self.run("xdotool", "mousemove", x, y)
        self.wait_for(lambda: self.run("xdotool", "getmouselocation", "--shell").split()[:2] == [f"X={x}", f"Y={y}"],
                      f"the pointer at {x}, {y}")

    def click_at(self, x, y):
        self.move_to(x, y)
        self.run("xdotool", "click", 1)

    def move_on_canvas(self, p):
        self.move_to(self.main["x"] + self.origin[0] + p[0], self.main["y"] + self.origin[1] + p[1])

    def click_on_canvas(self, p):
        self.move_on_canvas(p)
        self.run("xdotool", "click", 1)

    def focused(self):
        """The id of the window that has the keyboard focus."""
        return self.run("xdotool", "getwindowfocus", check=False).strip()

    def wait_focus(self, window):
        # Keys go to the window that has the focus when the server takes them: a dialog that is
        # mapped and titled may not have it yet, and its keys would reach the window behind it.
        # The program handles the focus change before any key that follows it.
        def probe():
            return self.focused() == window["id"] and any(w["id"] == window["id"] for w in self.windows())
        self.wait_for(probe, f"the keyboard focus on '{window['name']}'",
                      lambda: f"it is on window {self.focused()}; {self.listing()}")

    def keys(self, window, *keys):
        """Presses keys in window once it has the keyboard focus."""
        self.wait_focus(window)
        self.run("xdotool", "key", "--clearmodifiers", *keys)

    def type(self, window, text):
        self.wait_focus(window)
        self.run("xdotool", "type", "--delay", 8, text)

    def focus_main(self):
        # Without a window manager a click gives the window the keyboard: on the empty end of the menu bar.
        self.click_at(self.main["x"] + CANVAS_W - 10, self.main["y"] + self.origin[1] // 2)

    def menu_by_keys(self, menu_key, item_key):
        self.focus_main()
        self.keys(self.main, f"alt+{menu_key}")
        self.wait_window(f"a menu opened with Alt+{menu_key.upper()}", lambda w: w["menu"])
        # An open menu takes the keys that reach the window it belongs to.
        self.keys(self.main, item_key)

    def tool_by_keys(self, menu_key, item_key):
        self.menu_by_keys(menu_key, item_key)
        self.wait_alone(f"the menu to close after {item_key.upper()}")

    def open_menu_by_mouse(self, title):
        x0, x1 = self.titles[list(MENU_BAR).index(title)]
        self.click_at(self.main["x"] + (x0 + x1) // 2, self.main["y"] + self.origin[1] // 2)
        return self.wait_window(f"the menu {title} opened with a click", lambda w: w["menu"])

    def menu_items(self, popup, title):
        """The vertical centres of a menu's items: rows of ink taller than a separator line."""
        count = len(MENU_BAR[title])
        def probe():
            picture = self.capture(popup)
            column = [picture.px(picture.width - 4, y) for y in range(picture.height)]
            ground = max(set(column), key=column.count)
            rows = [any(differs(picture.px(x, y), ground) for x in range(4, picture.width - 4, 2))
                    for y in range(2, picture.height - 2)]
            items = [(a + b) // 2 + 2 for a, b in ink_runs(rows) if b - a >= 4]
            return items if len(items) == count else None
        return self.wait_for(probe, f"{count} items drawn in the menu {title}")

    def item_by_mouse(self, title, item):
        """Opens a menu of the menu bar and clicks one of its items, both with the mouse."""
        popup = self.open_menu_by_mouse(title)
        items = self.menu_items(popup, title)
        self.click_at(popup["x"] + popup["w"] // 2, popup["y"] + items[MENU_BAR[title].index(item)])

    def file_dialog(self, title, path):
        # A new dialog window may be mapped before its title is set: wait for the title itself.
        dialog = self.wait_window(f"the file dialog titled '{title}'", lambda w: w["dialog"] and w["name"] == title)
        # The file name field is the dialog's focus widget; whatever it holds is replaced.
        self.keys(dialog, "ctrl+a")
        self.type(dialog, path)
        self.keys(dialog, "Return")
        self.wait_alone(f"the file dialog '{title}' to close, with no message after it")

    def answer_prompt_no(self):
        prompt = self.wait_window("the prompt 'Datei Speichern'", lambda w: w["name"] == "Datei Speichern")
        self.keys(prompt, "alt+n")  # "&Nein"

    def save_failure_pictures(self):
        if not (self.artifacts and self.env and self.app):
            return
        os.makedirs(self.artifacts, exist_ok=True)
        try:
            for w in self.windows():
                path = os.path.join(self.artifacts, f"window-{w['id']}.png")
                self.capture(w).write_png(path)
                print(f"  window '{w['name']}' {w['w']}x{w['h']}+{w['x']}+{w['y']}: {path}")
        except (StepFailed, OSError) as error:
            print(f"  (no pictures of the windows: {error})")


# --- The desktop around the drawing: captions, frames, focus, exposures ---------------------------

def check_captions(s, window, captions):
    """Each caption's ink (pixels unlike its box's ground) stays off the box's right edge and last row,
    or above the control that lies over the box, if one does: a caption cut off runs into them."""
    def fault():
        picture = s.capture(window)
        for name, box, *over in captions:
            ground = picture.px(box[0] + box[2] - 1, box[1])
            ink = [(x, y) for y in range(box[1], box[1] + box[3]) for x in range(box[0], box[0] + box[2])
                   if differs(picture.px(x, y), ground) and not (over and in_box((x, y), over[0]))]
            last = (box[0] + box[2] - 1, (over[0][1] if over else box[1] + box[3]) - 1)
            if len(ink) < 20 or max(x for x, _ in ink) >= last[0] or max(y for _, y in ink) >= last[1]:
                return f"the caption '{name}' is not whole in its box {box} (up to {last}): {len(ink)} pixels of ink"
        return None
    s.wait_for(lambda: fault() is None, "every caption whole in its box", fault)


def check_frame(s, window, title):
    """The title and the icon a window gives its frame, read with xprop."""
    names = s.run("xprop", "-id", window["id"], "_NET_WM_NAME", "WM_NAME").splitlines()
    # Each line reads NAME(TYPE) = "text", or NAME:  not found.
    if any(line.partition(" = ")[2].strip('"') != title for line in names):
        s.fail(f"the frame's title is not '{title}': {names}")
    icon = s.run("xprop", "-id", window["id"], "-len", "16", "_NET_WM_ICON")
    if not icon.startswith("_NET_WM_ICON(CARDINAL) ="):
        s.fail(f"the window '{title}' has no icon: {icon.strip()}")


def check_dialog(s, menu_key, item_key, title, captions, cancel):
    s.step(f"{title}: captions whole in their boxes, the icon in the frame; Abbrechen")
    s.menu_by_keys(menu_key, item_key)
    dialog = s.wait_window(f"the window '{title}'", lambda w: w["name"] == title)
    check_frame(s, dialog, title)
    check_captions(s, dialog, captions)
    s.click_at(dialog["x"] + cancel[0], dialog["y"] + cancel[1])
    s.wait_alone(f"the window '{title}' to close")


def menu_key(kind):
    """The key that chooses the kind's item in the open menu Zeichnen: its caption's marked letter."""
    return kind["caption"][kind["caption"].index("&") + 1].lower()


def enter_text(s, kind, into_box):
    """Types the kind's sample text into the text dialog, clicked into its box first or not; OK."""
    dialog = s.wait_window("the text dialog 'Form1'", lambda w: w["name"] == "Form1")
    if into_box:
        s.click_at(dialog["x"] + 180, dialog["y"] + 70)
        s.keys(dialog, "ctrl+a")
    else:
        s.click_at(dialog["x"] + 190, dialog["y"] + 170)  # on the dialog's empty ground, for the keyboard
    s.type(dialog, kind["text"])
    s.click_at(dialog["x"] + (4080 + 1455 // 2) // 15, dialog["y"] + (2160 + 375 // 2) // 15)  # OK
    s.wait_alone("the text dialog to close after OK")


def wait_placed(s, kind):
    s.wait_for(lambda: not_black(s.canvas(), kind["pixels"] | kind["painted"]) is None,
               f"the {kind['name']} at {kind['clicks']}",
               lambda: f"no black pixel at {not_black(s.canvas(), kind['pixels'] | kind['painted'])}")


def type_into_text_dialog_again(s, kind):
    s.step(f"Zeichnen > {kind['name']} again: typed without a click into its box, OK, a click places it")
    s.menu_by_keys("z", menu_key(kind))
    enter_text(s, kind, False)
    s.click_on_canvas(kind["clicks"][0])
    wait_placed(s, kind)


def band_through_menu_and_label(s, near_drawing):
    s.step("Zeichnen > Linie; anchor, band; a menu opened over the band and closed: the band stays")
    s.tool_by_keys("z", "l")
    menu_left = s.titles[list(MENU_BAR).index("Zeichnen")][0]  # the band runs under the menu's popup
    anchor, band_end, drag_end = (menu_left + 5, 10), (menu_left + 60, 80), (330, 60)
    band, line = ([p for p in along(anchor, end, 10) if not near_drawing(p)] for end in (band_end, drag_end))
    s.click_on_canvas(anchor)
    s.move_on_canvas(band_end)
    s.wait_for(lambda: missing(s.canvas(), band) is None, f"the band to {band_end}")
    s.focus_main()
    s.keys(s.main, "alt+z")
    end = (s.main["x"] + band_end[0], s.main["y"] + s.origin[1] + band_end[1])
    s.wait_window("the menu Zeichnen over the band",
                  lambda w: w["menu"] and in_box(end, (w["x"], w["y"], w["w"], w["h"])))
    s.keys(s.main, "Escape", "Escape")
    s.wait_alone("the menu to close")
    s.wait_for(lambda: missing(s.canvas(), band) is None, "the band as it was")

    s.step("the button pressed over the label, the band follows over the drawing area, released there")
    s.move_on_canvas((LABEL[0] + LABEL[2] // 2, LABEL[1] + LABEL[3] // 2))
    s.run("xdotool", "mousedown", 1)
    s.move_on_canvas(drag_end)
    s.wait_for(lambda: missing(s.canvas(), line) is None, f"the band to follow to {drag_end}")
    s.run("xdotool", "mouseup", 1)

    def placed():  # the placement's repaint takes the band left from before the menu
        picture = s.canvas()
        return missing(picture, line) is None and not any(
            black_near(picture, p, 0) for p in band if segment_distance(p, anchor, drag_end) > 3)
    s.wait_for(placed, "the line placed and the old band gone")


# --- The test --------------------------------------------------------------------------------------

def detour(kinds, i):
    """Where the mouse goes between the clicks of kind i: on past its second click, so that bands are
    drawn and removed over the ground, then to the first click of the kind before, so that they
    cross the shapes drawn before."""
    (ax, ay), (bx, by) = kinds[i]["clicks"]
    on = [(min(max(round(ax + f * (bx - ax)), 0), CANVAS_W - 1), min(max(round(ay + f * (by - ay)), 0), CANVAS_H - 1))
          for f in (1.5, 2)]
    return on + [kinds[i - 1]["clicks"][0] if i else (20, 20)]


def draw_two_clicks(s, kind, detour, before):
    """Anchor, a detour of the mouse, the second click. On the way the band must show; with the
    mouse at the second point it must be the kind's sample and every pixel away from it as before the
    anchor, so the bands drawn and removed on the way, across other shapes too, have left nothing
    behind even before the repaint of the placement could hide it."""
    first, second = kind["clicks"]
    s.click_on_canvas(first)
    for p in detour[:2]:
        s.move_on_canvas(p)
    s.wait_for(lambda: first_difference(s.canvas(), before, lambda p: math.dist(p, first) <= 3),
               f"the rubber band to show, the mouse at {detour[1]}")
    for p in detour[2:] + [second]:
        s.move_on_canvas(p)

    def fault():
        picture = s.canvas()
        gap = next((p for p in sorted(kind["pixels"]) if before.px(*p) == WHITE and picture.px(*p) != BLACK), None)
        if gap:
            return f"the last band has no black pixel at {gap}"
        moved = first_difference(picture, before, lambda p: p in kind["pixels"])
        return moved and f"a pixel away from the last band changed at {moved}"
    s.wait_for(lambda: fault() is None, f"only the last band to remain, the mouse at {second}", fault)
    s.click_on_canvas(second)


def draw_kind(s, kinds, i):
    """Chooses kind i's item in Zeichnen in one of three ways, and draws its sample."""
    kind, way = kinds[i], i % 3
    caption = kind["caption"].replace("&", "")
    s.step(f"{kind['name']}: Zeichnen > {caption} "
           + ["by Alt+Z and its key", "by mouse clicks", "opened by a click, then its key"][way]
           + ("; type the text, OK" if not kind["armsTool"] else "")
           + ("; click, rubber band, click" if len(kind["clicks"]) == 2 else "; a click"))
    before = s.canvas()
    if way == 0:
        s.menu_by_keys("z", menu_key(kind))
    elif way == 1:
        s.item_by_mouse("Zeichnen", caption)
    else:
        s.open_menu_by_mouse("Zeichnen")
        s.keys(s.main, menu_key(kind))
    if kind["armsTool"]:
        s.wait_alone(f"the menu to close after choosing {caption}")
    else:
        enter_text(s, kind, True)
        if first_difference(s.canvas(), before):
            s.fail(f"the {kind['name']} is drawn before the click")
    if len(kind["clicks"]) == 2:
        draw_two_clicks(s, kind, detour(kinds, i), before)
    else:
        s.click_on_canvas(kind["clicks"][0])
    wait_placed(s, kind)


def start_on_x(s, **settings):
    """Starts Xvfb and the editor on it, with these settings in its environment: the welcome window."""
    s.step("start Xvfb")
    display = s.start_server()
    s.env.update(settings)

    s.step(f"start the editor on {display}; the welcome window appears, the main window does not")
    s.start_program()
    welcome = s.wait_window("the welcome window", lambda w: (w["w"], w["h"]) == (6195 // 15, 4290 // 15))
    if len(s.windows()) != 1:
        s.fail(f"more than the welcome window is on the screen; {s.listing()}")
    return welcome


def press_weiter(s, welcome):
    s.step("press Weiter; the main window 'Skizzar - Untitled' appears")
    s.click_at(welcome["x"] + (4080 + 1815 // 2) // 15, welcome["y"] + (3600 + 375 // 2) // 15)
    s.main = s.wait_window("the main window 'Skizzar - Untitled'", lambda w: w["name"] == "Skizzar - Untitled")
    check_frame(s, s.main, "Skizzar - Untitled")
    s.wait_alone("the welcome window to go")


def scenario(s, kinds, dxf, screenshot):
    target = os.path.join(s.work, "dateien", FILE_NAME)
    os.makedirs(os.path.dirname(target))

    s.step("without a display: one line that says so, exit code 2, no abort")
    alone = subprocess.run([s.program], env=s.private_env(), cwd=s.work, capture_output=True, timeout=STEP_TIMEOUT)
    said = (alone.stdout + alone.stderr).decode(errors="replace")
    if alone.returncode != 2 or said.count("\n") != 1 or "Anzeige" not in said:
        s.fail(f"exit code {alone.returncode}, output {said!r}")

    welcome = start_on_x(s)
    s.step("the welcome window: no title, the icon in its frame, its caption whole above Weiter, "
           "the class the desktop entry names")
    check_frame(s, welcome, "")
    weiter = (4080 // 15, 3600 // 15, 1815 // 15, 375 // 15)
    check_captions(s, welcome, [("Das ultimative CAD Programm",
                                 ((120 + 720) // 15, (120 + 3120) // 15, 4695 // 15, 615 // 15), weiter)])
    classes = re.findall(r'"([^"]*)"', s.run("xprop", "-id", welcome["id"], "WM_CLASS"))
    if classes[1:] != [desktop_entry()["StartupWMClass"]]:
        s.fail(f"WM_CLASS is {classes}; the desktop entry names {desktop_entry()['StartupWMClass']}")
    press_weiter(s, welcome)

    s.step(f"find the drawing area, the label and the {len(MENU_BAR)} menus of the menu bar")

    def layout():
        picture = s.capture(s.main)
        # The drawing area starts at the first white row below the menu bar.
        top = next((y for y in range(picture.height)
                    if all(picture.px(x, y) == WHITE for x in range(0, LABEL[0], 3))), None)
        if top is None or picture.width != CANVAS_W or picture.height - top != CANVAS_H:
            return None
        lx, ly = LABEL[0], top + LABEL[1]
        if picture.px(lx, ly) == WHITE or picture.px(lx - 1, ly) != WHITE or picture.px(lx, ly - 1) != WHITE:
            return None
        ground = picture.px(CANVAS_W - 3, top // 2)
        columns = [any(differs(picture.px(x, y), ground) for y in range(2, top - 2)) for x in range(CANVAS_W)]
        titles = ink_runs(columns, max_gap=4)
        return (top, titles) if len(titles) == len(MENU_BAR) else None
    top, s.titles = s.wait_for(layout, f"a {CANVAS_W}x{CANVAS_H} drawing area under a menu bar of {len(MENU_BAR)} menus, "
                                       f"with the label at {LABEL[:2]} in it")
    s.origin = (0, top)
    check_captions(s, s.main, [("Aktuelle Version", (LABEL[0], top + LABEL[1], LABEL[2], LABEL[3]))])
    count, first = stray(s.canvas(), lambda p: in_box(p, LABEL))
    if count:
        s.fail(f"the new drawing area is not empty: {count} painted pixels, the first at {first}")

    for i in range(len(kinds)):
        draw_kind(s, kinds, i)

    s.step("screenshot: every shape black, the ground white, no trace of a band")
    s.move_on_canvas((600, 440))
    drawing = s.canvas()
    fault = drawing_faults(drawing, kinds)
    if fault:
        s.fail(fault)
    if screenshot:
        s.capture(s.main).write_png(screenshot)
        print(f"  wrote {screenshot}")

    s.step("Datei > Speichern unter by mouse clicks; the path typed into the file dialog, Enter")
    s.item_by_mouse("Datei", "Speichern unter...")
    s.file_dialog("Speichern unter", target)
    s.wait_title(f"Skizzar - {FILE_NAME}")

    s.step(f"{FILE_NAME} byte for byte")
    expected = dxf
    written = s.wait_for(lambda: os.path.exists(target) and open(target, "rb").read(), f"the file {target}")
    if written != expected:
        at = next((i for i, (a, b) in enumerate(zip(written, expected)) if a != b), min(len(written), len(expected)))
        s.fail(f"the file differs from the expected DXF at byte {at}:\n"
               f"  written  {written[max(0, at - 40):at + 40]!r}\n  expected {expected[max(0, at - 40):at + 40]!r}")
    saved = os.stat(target).st_mtime_ns

    s.step("Datei > Neu by Alt+D, N; the prompt answered Nein: empty and untitled")
    s.menu_by_keys("d", "n")
    s.answer_prompt_no()
    s.wait_alone("the prompt to close")
    s.wait_title("Skizzar - Untitled")
    s.wait_for(lambda: stray(s.canvas(), lambda p: in_box(p, LABEL))[0] == 0, "an empty drawing area")
    if os.stat(target).st_mtime_ns != saved:
        s.fail("New answered Nein wrote the file")

    s.step("Datei > Oeffnen by Alt+D, F; Nein; the path typed into the file dialog, Enter")
    s.menu_by_keys("d", "f")
    s.answer_prompt_no()
    s.file_dialog("Öffnen", target)
    s.wait_title(f"Skizzar - {FILE_NAME}")

    s.step("the opened drawing looks exactly as the drawn one")
    s.wait_for(lambda: first_difference(s.canvas(), drawing) is None, "the picture from before saving",
               lambda: f"first difference at {first_difference(s.canvas(), drawing)}")

    last = kinds[-1]
    s.step(f"Bearbeiten > Rueckgaengig by mouse clicks: all shapes but the last, the {last['name']}")
    # The undo snapshot holds copies of the shapes placed before the last and of all but the last
    # read from the file (each of the last kind's is one entity).
    s.item_by_mouse("Bearbeiten", "Rückgängig")
    s.wait_alone("the menu to close")
    shapes = set().union(*(kind["pixels"] for kind in kinds[:-1]))
    gone = last["pixels"] - shapes

    def why():
        picture = s.canvas()
        left = next((p for p in sorted(gone) if picture.px(*p) != WHITE), None)
        other = first_difference(picture, drawing, lambda p: p in gone)
        return (left or other) and f"a pixel of the {last['name']} left at {left}, first other difference at {other}"
    s.wait_for(lambda: why() is None, f"the drawing without the {last['name']}", why)

    type_into_text_dialog_again(s, next(kind for kind in kinds if not kind["armsTool"]))
    near = grown(shapes | last["pixels"])
    band_through_menu_and_label(s, lambda p: p in near or in_box(p, LABEL))
    check_dialog(s, "n", "d", "Drehwinkel", [("Drehwinkel (-360° - 360°) ", (16, 16, 121, 17))], (176, 60))
    # Each label's last row lies under the top of the text box below it.
    check_dialog(s, "d", "h", "HPGL-Plotter-Einstellungen", [
        ("Initialisierungsstring:", (32, 24, 97, 17), (32, 40, 217, 25)),
        ("Endstring:", (32, 80, 57, 17), (32, 96, 217, 25))], (208, 164))

    s.step("Datei > Beenden by Alt+D, B; Escape answers nothing: the prompt closes, the program runs on")
    s.menu_by_keys("d", "b")
    prompt = s.wait_window("the prompt 'Datei Speichern'", lambda w: w["name"] == "Datei Speichern")
    s.keys(prompt, "Escape")
    s.wait_alone("the prompt to close, the main window still there")

    s.step("Datei > Beenden by Alt+D, B; Nein; the program ends")
    s.menu_by_keys("d", "b")
    s.answer_prompt_no()
    code = s.wait_for(lambda: s.app.poll() is not None and (s.app.returncode,), "the program to end", s.listing)[0]
    if code != 0:
        s.fail(f"the program ended with exit code {code}")
    if os.stat(target).st_mtime_ns != saved or open(target, "rb").read() != expected:
        s.fail("Beenden answered Nein changed the file")
    records = os.path.join(s.env["HOME"], ".local", "state", "skizzar", "record-*")
    if glob.glob(records):
        s.fail(f"a run ended with Beenden left its recovery record: {glob.glob(records)}")

    point = next(kind for kind in kinds if kind["armsTool"] and len(kind["clicks"]) == 1)
    s.step(f"start again, place a {point['name']}, kill the editor; the next start offers the drawing back, Ja brings it")
    welcome_size = (6195 // 15, 4290 // 15)
    s.start_program()
    press_weiter(s, s.wait_window("the welcome window", lambda w: (w["w"], w["h"]) == welcome_size))
    s.tool_by_keys("z", menu_key(point))
    s.click_on_canvas(point["clicks"][0])
    wait_placed(s, point)
    s.app.kill()
    s.app.wait()
    s.start_program()
    welcome = s.wait_window("the welcome window", lambda w: (w["w"], w["h"]) == welcome_size)
    s.click_at(welcome["x"] + (4080 + 1815 // 2) // 15, welcome["y"] + (3600 + 375 // 2) // 15)
    prompt = s.wait_window("the prompt 'Skizzar' to bring the drawing back", lambda w: w["name"] == "Skizzar")
    s.keys(prompt, "alt+j")  # "&Ja"
    s.main = s.wait_window("the main window 'Skizzar - Untitled'", lambda w: w["name"] == "Skizzar - Untitled")
    s.wait_alone("the prompt to close")
    wait_placed(s, point)


def gnome_dark(s):
    if not glob.glob("/usr/lib/*/qt6/plugins/platformthemes/libqgtk3.so"):
        s.fail("GNOME's platform theme for Qt is missing (Debian package qt6-gtk-platformtheme)")
    press_weiter(s, start_on_x(s, QT_QPA_PLATFORMTHEME="gtk3", GTK_THEME="Adwaita:dark"))
    s.origin = (0, 0)  # the menu bar's top row is where a click gives the window the keyboard

    s.step("Hilfe > Über Skizzar by Alt+H, S: the product name readable on the About box's grey; OK")
    s.menu_by_keys("h", "s")
    about = s.wait_window("the About box", lambda w: w["name"] == "About Skizzar")
    label = (16, 24, 289, 33)  # Label1 in Frame1, in the window

    def fault():
        box = s.capture(about).crop(*label)
        pixels = [box.px(x, y) for y in range(box.height) for x in range(box.width)]
        ground = max(set(pixels), key=pixels.count)
        ink = [p for p in pixels if differs(p, ground)]
        best = max((contrast(p, ground) for p in ink), default=1)
        return None if len(ink) >= 20 and best >= 4.5 else \
            f"{len(ink)} pixels of text on {ground}, the best contrast {best:.1f}:1 (at least 4.5:1 wanted)"
    s.wait_for(lambda: fault() is None, "dark text on the grey", fault)
    s.click_at(about["x"] + 8 + (1680 + 1215 // 2) // 15, about["y"] + 8 + (4080 + 375 // 2) // 15)
    s.wait_alone("the About box to close after OK")

    def own_dialog(title):
        dialog = s.wait_window(f"the dialog titled '{title}'", lambda w: w["dialog"] and w["name"] == title)
        # GTK marks its windows with the theme variant; Qt never does.
        if s.run("xprop", "-id", dialog["id"], "_GTK_THEME_VARIANT").startswith("_GTK_THEME_VARIANT("):
            s.fail(f"'{title}' is GTK's dialog, not the editor's own")
        s.keys(dialog, "Escape")
        s.wait_alone(f"'{title}' to close")

    s.step("Extras > Hintergrundfarbe by Alt+E, H: the editor's own colour dialog, German; Escape")
    s.menu_by_keys("e", "h")
    own_dialog("Farbauswahl")
    s.step("Datei > Öffnen by Alt+D, F; Nein: the editor's own file dialog, titled; Escape")
    s.menu_by_keys("d", "f")
    s.answer_prompt_no()
    own_dialog("Öffnen")


def wayland(s):
    s.step("start weston's headless compositor")
    if not shutil.which("weston") or not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
        raise Skipped("weston or Qt's Wayland platform is not installed (Debian packages weston, qt6-wayland)")
    s.env = s.private_env(QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY="skizzar-test")
    log, out = os.path.join(s.work, "weston.log"), os.path.join(s.work, "weston.out")
    with open(out, "wb") as f:
        # Its protocol log shows each request the compositor takes from the editor.
        s.server = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--socket=skizzar-test", "--idle-time=0", "--no-config",
             "--logger-scopes=proto", f"--log={log}"],
            env=s.env, stdin=subprocess.DEVNULL, stdout=f, stderr=subprocess.STDOUT, preexec_fn=die_with_parent)

    def up():
        if s.server.poll() is not None:
            with open(out, errors="replace") as f:
                raise Skipped(f"weston does not run here (exit code {s.server.returncode}): {f.read()[-500:]}")
        return os.path.exists(os.path.join(s.env["XDG_RUNTIME_DIR"], "skizzar-test"))
    s.wait_for(up, "weston's socket")

    s.step("start the editor in it: the welcome window's toplevel has no title and the desktop entry's app id")
    s.start_program()
    wanted = [{"title": "", "app_id": os.path.basename(DESKTOP_ENTRY).removesuffix(".desktop")}]

    def told():
        if s.app.poll() is not None:
            s.fail(f"the program ended (exit code {s.app.returncode})", ProgramEnded)
        toplevels = {}
        with open(log, errors="replace") as f:
            for toplevel, what, value in re.findall(r'rq xdg_toplevel@(\d+)\.set_(title|app_id)\("(.*)"\)', f.read()):
                toplevels.setdefault(toplevel, {})[what] = value
        return list(toplevels.values())
    s.wait_for(lambda: told() == wanted, f"one toplevel told {wanted[0]}", lambda: f"the toplevels were told {told()}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("program")
    parser.add_argument("--kinds", required=True, help="shape-kinds.json, as shape_kinds_files writes it")
    parser.add_argument("--desktop", choices=("plain", "gnome-dark", "wayland"), default="plain")
    parser.add_argument("--screenshot")
    parser.add_argument("--artifacts")
    args = parser.parse_args()
    sys.stdout.reconfigure(errors="backslashreplace")

    tools = [t for t in ("Xvfb", "xauth", "xdotool", "xwd", "xwininfo", "xdpyinfo") if not shutil.which(t)]
    if tools:
        print(f"FAIL: missing {', '.join(tools)} (Debian packages xvfb xauth xdotool x11-apps x11-utils)")
        return 1
    # A kill by the test driver still runs the clean-up below.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("FAIL: terminated"))

    work = tempfile.mkdtemp(prefix="skizzar-realwindow-")
    s = Session(os.path.abspath(args.program), work, args.artifacts)
    try:
        if args.desktop == "wayland":
            wayland(s)
        elif args.desktop == "gnome-dark":
            gnome_dark(s)
        else:
            kinds, dxf = read_kinds(args.kinds)
            MENU_BAR["Zeichnen"] = [kind["caption"].replace("&", "") for kind in kinds]
            scenario(s, kinds, dxf, args.screenshot and os.path.abspath(args.screenshot))
        print(f"PASS in {time.monotonic() - s.started:.1f}s")
        return 0
    except Skipped as reason:
        print(f"SKIP: {reason}")
        return SKIP
    except StepFailed as failure:
        print(f"FAIL after {time.monotonic() - s.started:.1f}s: {failure}")
        s.save_failure_pictures()
        return 1
    finally:
        s.stop()
        log = os.path.join(work, "skizzar.log")
        if os.path.exists(log) and os.path.getsize(log):
            with open(log, "rb") as f:
                print("output of the program:\n" + f.read()[-4000:].decode(errors="replace"))
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
