#!/usr/bin/python3
"""Plays one whole one-player game of Quintor on a real X server, as a person
would: mouse clicks with xdotool on the menus, the Roll button, the dice and
the category boxes, the name typed on the keyboard, every dialog answered
with the keyboard. What the window shows is read back through AT-SPI after
every step. At the next start, with View > Turn Log open, one more turn
checks that the log shows its lines and that a screen reader hears each one
as it is written.

Runs inside the session that run_e2e.sh prepares (Xvfb, a private D-Bus
session with the accessibility bus, temporary HOME and XDG folders).
"""

import argparse
import collections
import configparser
import os
import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

TITLE = "Tulvar\u00b4s Quintor"
CLIENT_W, CLIENT_H = 405, 255
TWIPS = 15
CAPTIONS = [None, "Aces", "Deuces", "Threes", "Fours", "Fives", "Sixs", "Pair", "Two Pair",
            "Three of a kind", "Four of a kind", "Small Straight", "Large Straight",
            "Full House", "Quinthor", "Chance"]
UPPER = range(1, 7)
FIXED_SCORE_ROWS = (11, 12, 14)  # straights and five of a kind: take them when they come
DICE_LEFT = (4200, 4800, 5400, 4440, 5160)
DICE_TOP = (1200, 1200, 1200, 1800, 1800)
DIE_SIZE, HELD_DIE_SIZE = 33, 37  # the frame of a held die adds 2 pixels a side
PARKED_MOUSE = (1010, 750)  # away from the window, so that no tooltip opens
ENV_UTF8 = dict(os.environ, LC_ALL="C.UTF-8")


class Failure(Exception):
    pass


def log(*args):
    print("[e2e %6.2fs]" % (time.monotonic() - START), *args, flush=True)


START = time.monotonic()


def run(*cmd, check=True):
    result = subprocess.run(cmd, capture_output=True, text=True, env=ENV_UTF8, timeout=20)
    if check and result.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(cmd), result.returncode, result.stderr.strip()))
    return result.stdout


def pump(seconds):
    """Waits, handing the accessibility events that come in meanwhile to
    their listeners: they are delivered only while GLib's main context runs
    (here, or inside libatspi while it waits for an answer)."""
    context = GLib.MainContext.default()
    done = []
    GLib.timeout_add(max(1, int(seconds * 1000)), lambda: done.append(True) and False)
    while not done:
        context.iteration(True)


def poll(what, probe, timeout=5.0, interval=0.03):
    """Calls probe() until it returns something truthy; fails after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while True:
        try:
            value = probe()
            if value:
                return value
        except (GLib.Error, Failure) as error:  # an object that went away, say
            last_error = error
        if time.monotonic() > deadline:
            raise Failure("timed out after %.1f s waiting for %s%s" % (
                timeout, what, " (last error: %s)" % last_error if last_error else ""))
        pump(interval)


def click(x, y):
    run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1",
        "mousemove", str(PARKED_MOUSE[0]), str(PARKED_MOUSE[1]))


def key(name):
    run("xdotool", "key", name)


def states(obj):
    return obj.get_state_set()


def has(obj, state):
    return states(obj).contains(state)


def extents(obj):
    e = obj.get_extents(Atspi.CoordType.SCREEN)
    return (e.x, e.y, e.width, e.height)


def trailing_number(text):
    match = re.search(r"(\d+)\s*$", text or "")
    return int(match.group(1)) if match else None


class Announcements:
    """What a screen reader hears of text that the program adds: every
    object:text-changed:insert event, in the order sent."""

    EVENT = "object:text-changed:insert"

    def __init__(self):
        self.heard = []
        self.listener = Atspi.EventListener.new(self._hear)
        self.listener.register(self.EVENT)

    def _hear(self, event):
        # Only noted here: the source may be gone by the time anyone asks it.
        self.heard.append((event.source, event.detail1, event.detail2, event.any_data))

    def text_of(self, source):
        """The text a screen reader following `source` has put together, each
        insertion where it was announced, paragraph separators as newlines."""
        text = ""
        for obj, offset, length, inserted in self.heard:
            if obj is not source:
                continue
            if not isinstance(inserted, str) or length != len(inserted) or not 0 <= offset <= len(text):
                raise Failure("an insertion of %r announced at %d, %d long, into %d characters heard"
                              % (inserted, offset, length, len(text)))
            text = text[:offset] + inserted + text[offset:]
        return text.replace("\u2029", "\n")


class Window:
    """The game window as a person sees it: X geometry plus AT-SPI state."""

    def __init__(self, app_obj):
        self.app = app_obj
        # Read every property afresh: nothing here keeps a client-side cache
        # up to date.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        self.frame = poll("the main frame", lambda: self._main_frame())
        self.menubar = None
        client = None
        for child in self._children(self.frame):
            role = child.get_role()
            if role == Atspi.Role.MENU_BAR:
                self.menubar = child
            elif role in (Atspi.Role.FILLER, Atspi.Role.PANEL):
                client = child
        if self.menubar is None or client is None:
            raise Failure("main frame has no menu bar or no client area")
        self.client = client
        self.boxes, self.scores, self.players, self.sums, self.dice = {}, {}, {}, {}, {}
        self.turn = self.roll = self.high_score = self.high_name = None
        # Roll, the dice and the boxes sit in a panel of their own inside the client area.
        children = []
        for child in self._children(client):
            nested = child.get_role() in (Atspi.Role.FILLER, Atspi.Role.PANEL)
            children.extend(self._children(child) if nested else [child])
        for child in children:
            role, name, desc = child.get_role(), child.get_name(), child.get_description()
            if role == Atspi.Role.CHECK_BOX and name in CAPTIONS:
                self.boxes[CAPTIONS.index(name)] = child
            elif role == Atspi.Role.PUSH_BUTTON:
                self.roll = child
            elif name.startswith("Die "):
                self.dice[int(name[4:]) - 1] = child
            elif desc.startswith("Booked for "):
                self.scores[CAPTIONS.index(desc[len("Booked for "):])] = child
            elif desc.startswith("Name of player "):
                self.players[int(desc[-1])] = child
            elif desc.startswith("Score of player "):
                self.sums[int(desc[-1])] = child
            elif desc == "Tells which players turn it is to roll":
                self.turn = child
            elif desc == "The all time highscore holders score":
                self.high_score = child
            elif desc == "The all time highscore holder":
                self.high_name = child
        if (len(self.boxes), len(self.scores), len(self.dice), len(self.players), len(self.sums)) != (15, 15, 5, 4, 4) \
                or None in (self.turn, self.roll, self.high_score, self.high_name):
            raise Failure("controls missing from the accessibility tree")
        self.xid, self.geometry = find_main_window()
        x, y, w, h = self.geometry
        self.menubar_h = h - CLIENT_H
        self.origin = (x, y + self.menubar_h)  # top-left of the client area

    def _children(self, obj):
        return [obj.get_child_at_index(i) for i in range(obj.get_child_count())]

    def _main_frame(self):
        for child in self._children(self.app):
            if child.get_role() == Atspi.Role.FRAME and child.get_name() == TITLE:
                return child
        return None

    def dialogs(self):
        """The open modal dialogs: (title, texts, object)."""
        found = []
        for child in self._children(self.app):
            if child.get_role() in (Atspi.Role.DIALOG, Atspi.Role.ALERT) and has(child, Atspi.StateType.SHOWING):
                texts = [c.get_name() for c in self._children(child) if c.get_role() == Atspi.Role.LABEL and c.get_name()]
                found.append((child.get_name(), texts, child))
        return found

    # Where a person clicks: the layout's twips, from the client area's corner.
    def point(self, left_twips, top_twips, dx, dy):
        return (self.origin[0] + left_twips // TWIPS + dx, self.origin[1] + top_twips // TWIPS + dy)

    def box_point(self, row):
        upper = row <= 6
        top = 120 + 240 * ((row - 1) if upper else (row - 7))
        return self.point(180 if upper else 1800, top, 8, 8)  # on the check mark

    def die_point(self, i):
        return self.point(DICE_LEFT[i], DICE_TOP[i], DIE_SIZE // 2, DIE_SIZE // 2)

    def roll_point(self):
        return self.point(4440, 2520, 1215 // TWIPS // 2, 495 // TWIPS // 2)

    def menu_item_point(self, item):
        x, y, w, h = extents(item)
        if w <= 0 or h <= 0:
            raise Failure("menu item %r has no place on screen" % item.get_name())
        return (x + w // 2, y + h // 2)

    def snapshot(self):
        """What the window shows now, as plain data."""
        s = {
            "turn": self.turn.get_name(),
            "roll": self.roll.get_name(),
            "roll_enabled": has(self.roll, Atspi.StateType.ENABLED),
            "players": {p: o.get_name() for p, o in self.players.items()},
            "sums": {p: o.get_name() for p, o in self.sums.items()},
            "scores": {r: o.get_name() for r, o in self.scores.items()},
            "checked": {r: has(o, Atspi.StateType.CHECKED) for r, o in self.boxes.items()},
            "box_enabled": {r: has(o, Atspi.StateType.ENABLED) for r, o in self.boxes.items()},
            "hints": {r: o.get_description() for r, o in self.boxes.items()},
            "dice": [self.die(i) for i in range(5)],
            "high": (self.high_name.get_name(), self.high_score.get_name()),
        }
        return s

    def die(self, i):
        desc = self.dice[i].get_description()
        match = re.fullmatch(r"Shows (\d), (held|free)", desc)
        if not match:
            raise Failure("die %d says %r" % (i + 1, desc))
        return int(match.group(1)), match.group(2) == "held"

    def faces(self):
        return [self.die(i)[0] for i in range(5)]

    def hints(self):
        return {r: trailing_number(o.get_description()) for r, o in self.boxes.items()}


def find_main_window():
    """The X window titled like the game, found in the window tree, and its
    absolute geometry (no window manager: no frame around it)."""
    for line in run("xwininfo", "-root", "-tree").splitlines():
        match = re.match(r'\s*(0x[0-9a-f]+) "(.*)": \(.*\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)', line)
        if match and "Tulvar" in match.group(2):
            w, h, x, y = (int(match.group(i)) for i in (3, 4, 5, 6))
            if w > 1 and h > 1:
                return match.group(1), (x, y, w, h)
    raise Failure("no window titled like %r in the X window tree" % TITLE)


def x_title(xid):
    out = run("xprop", "-id", xid, "_NET_WM_NAME", "WM_NAME")
    titles = {}
    for line in out.splitlines():
        match = re.match(r'(\w+)\([\w]+\) = "(.*)"$', line)
        if match:
            titles[match.group(1)] = match.group(2).replace('\\"', '"').replace("\\\\", "\\")
    return titles


class Game:
    def __init__(self, args):
        self.args = args
        self.app_proc = None
        self.w = None
        self.turns_done = 0
        self.holds = 0
        self.rerolls = 0
        self.sacrifices = 0
        self.declined = False
        self.dialog_log = []
        self.expected_scores = {}
        self.expected_total = 0
        self.bonus = 0
        self.roll_times = []
        self.mid_shot = False
        os.makedirs(args.shots, exist_ok=True)

    # ---------------------------------------------------------------- app
    def start_app(self):
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        with open(self.args.app_log, "a") as app_log:
            self.app_proc = subprocess.Popen([self.args.app], env=env, stdout=app_log, stderr=subprocess.STDOUT)
        desktop = Atspi.get_desktop(0)

        def app_on_bus():
            if self.app_proc.poll() is not None:
                raise Failure("the program ended at start with code %d" % self.app_proc.returncode)
            for i in range(desktop.get_child_count()):
                child = desktop.get_child_at_index(i)
                if child is not None and child.get_process_id() == self.app_proc.pid:
                    return child
            return None

        app_obj = poll("the program on the accessibility bus", app_on_bus, timeout=20, interval=0.1)
        self.w = poll("the window's controls", lambda: Window(app_obj), timeout=10, interval=0.1)
        poll("the window to be mapped", lambda: find_main_window(), timeout=5)

    def exit_via_menu(self):
        self.choose("File", "Exit", "the program to end", lambda: self.app_proc.poll() is not None, timeout=10)
        code = self.app_proc.returncode
        if code != 0:
            raise Failure("the program ended with code %d" % code)
        self.app_proc = None

    def stop(self):
        if self.app_proc is not None and self.app_proc.poll() is None:
            self.app_proc.terminate()
            try:
                self.app_proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.app_proc.kill()

    # -------------------------------------------------------------- menus
    def menu(self, name):
        for i in range(self.w.menubar.get_child_count()):
            item = self.w.menubar.get_child_at_index(i)
            if item.get_name() == name:
                return item
        raise Failure("no %r in the menu bar" % name)

    def menu_entry(self, menu, name):
        """The entry of an open drop-down, once it is on screen."""
        for i in range(menu.get_child_count()):
            popup = menu.get_child_at_index(i)
            for j in range(popup.get_child_count()):
                item = popup.get_child_at_index(j)
                if item.get_name() == name and has(item, Atspi.StateType.SHOWING):
                    return item
        return None

    def choose(self, menu_name, item_name, what, done, timeout=5):
        """Clicks a menu and one of its items, until `done` says it worked."""
        for attempt in range(3):
            menu = self.menu(menu_name)
            click(*self.w.menu_item_point(menu))
            item = poll("the %s item" % item_name, lambda: self.menu_entry(menu, item_name))
            time.sleep(0.05)  # shown to the accessibility bus a moment before it is on screen
            click(*self.w.menu_item_point(item))
            try:
                return poll(what, done, timeout=timeout)
            except Failure as error:
                log("%s > %s did not work (%s)%s" % (menu_name, item_name, error, ", again" if attempt < 2 else ""))
                try:
                    if self.menu_entry(menu, item_name):
                        key("Escape")  # close the drop-down left open
                except GLib.Error:
                    pass
        raise Failure("choosing %s > %s three times did not bring %s" % (menu_name, item_name, what))

    # ------------------------------------------------------------ dialogs
    def answer_dialog(self, title, text_pattern, keyname="Return", timeout=5):
        """Waits for a dialog, checks its title and text, answers by keyboard."""
        title_, texts, _ = poll("a %r dialog" % title, lambda: (self.w.dialogs() or [None])[0], timeout=timeout)
        text = "\n".join(texts)
        self.dialog_log.append((title_, text))
        if title_ != title or not re.search(text_pattern, text):
            raise Failure("expected a %r dialog saying /%s/, got %r saying %r" % (title, text_pattern, title_, text))
        # The keys go where the keyboard focus is: wait for the dialog to
        # have it, and check its title on the X side, where toolkits like to
        # add the application's name.
        poll("the %r dialog to take the keyboard focus" % title,
             lambda: run("xdotool", "getwindowfocus", "getwindowname").strip() == title)
        key(keyname)
        poll("the %r dialog to close" % title,
             lambda: not any((t, x) == (title_, texts) for t, x, _ in self.w.dialogs()))
        return text

    # ---------------------------------------------------------- screenshot
    def screenshot(self, name):
        x, y, w, h = find_main_window()[1]
        path = os.path.join(self.args.shots, name)
        run("import", "-silent", "-window", "root", "-strip", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", path)
        log("screenshot", path)
        return path

    # ------------------------------------------------------------- checks
    def check_window(self):
        w = self.w
        titles = x_title(w.xid)
        log("window title", titles)
        if titles.get("_NET_WM_NAME") != TITLE:
            raise Failure("window title is %r, expected %r" % (titles.get("_NET_WM_NAME"), TITLE))
        if "WM_NAME" in titles and titles["WM_NAME"] not in (TITLE, TITLE.encode("utf-8").decode("latin-1")):
            raise Failure("WM_NAME is %r" % titles["WM_NAME"])
        x, y, width, height = w.geometry
        mx, my, mw, mh = extents(w.menubar)
        cx, cy, cw, ch = extents(w.client)
        if (width, height - w.menubar_h) != (CLIENT_W, CLIENT_H) or (cw, ch) != (CLIENT_W, CLIENT_H):
            raise Failure("client area %dx%d (window %dx%d, menu bar %d high), expected %dx%d"
                          % (cw, ch, width, height, mh, CLIENT_W, CLIENT_H))
        if (cx, cy) != w.origin or my + mh != cy:
            raise Failure("client area at %d,%d under a menu bar ending at %d; expected it at %s"
                          % (cx, cy, my + mh, w.origin))
        # Controls where the layout puts them.
        expect = {w.roll: (4440, 2520, 1215, 495), w.sums[1]: (2460, 2700, 915, 255),
                  w.turn: (4200, 480, 1695, 615), w.high_score: (5460, 3420, 435, 255)}
        for row in range(1, 16):
            upper = row <= 6
            top = 120 + 240 * ((row - 1) if upper else (row - 7))
            expect[w.boxes[row]] = (180 if upper else 1800, top, 975 if upper else 1670, 255)
            expect[w.scores[row]] = (1140 if upper else 3420, top, 495, 255)
        for i in range(5):
            expect[w.dice[i]] = (DICE_LEFT[i], DICE_TOP[i], DIE_SIZE * TWIPS, DIE_SIZE * TWIPS)
        for obj, (l, t, wd, ht) in expect.items():
            want = (w.origin[0] + l // TWIPS, w.origin[1] + t // TWIPS, wd // TWIPS, ht // TWIPS)
            got = extents(obj)
            if obj.get_role() == Atspi.Role.CHECK_BOX:
                # Check boxes report the rectangle of mark and text only.
                got, want = got[:2], want[:2]
            if got != want:
                raise Failure("%s %r is at %s, expected %s" % (obj.get_role_name(), obj.get_name() or obj.get_description(),
                                                               got, want))

    def check_load_state(self):
        s = self.w.snapshot()
        if s["roll"] != "Roll dice" or s["roll_enabled"]:
            raise Failure("at load the Roll button is %r, enabled=%s" % (s["roll"], s["roll_enabled"]))
        if s["dice"] != [(6, False)] * 5:
            raise Failure("at load the dice are %s" % s["dice"])
        if s["high"] != ("Nobody", "0"):
            raise Failure("first start shows the high score %r" % (s["high"],))
        if any(s["scores"].values()) or any(s["sums"].values()) or s["turn"]:
            raise Failure("labels not empty at load: %s" % s)

    # --------------------------------------------------------------- play
    def new_game(self):
        w = self.w
        title, texts, _ = self.choose("New Game", "One Player", "the name dialog", lambda: (w.dialogs() or [None])[0])
        if title != "Quintor" or "What is the name of Player 1 ?" not in texts:
            raise Failure("name dialog %r says %r" % (title, texts))
        poll("the name dialog to take the keyboard focus",
             lambda: run("xdotool", "getwindowfocus", "getwindowname").strip() == "Quintor")
        run("xdotool", "type", "--delay", "15", self.args.name)
        key("Return")
        poll("the name in the window", lambda: w.players[1].get_name() == self.args.name
             and w.turn.get_name() == self.args.name and not w.dialogs())
        s = w.snapshot()
        if s["roll"] != "Roll 0 of 3" or not s["roll_enabled"]:
            raise Failure("after New Game the Roll button is %r, enabled=%s" % (s["roll"], s["roll_enabled"]))
        if any(s["players"][p] for p in (2, 3, 4)) or any(s["sums"].values()):
            raise Failure("one-player game shows other players or totals: %s" % s)

    def roll(self, rolls_before):
        """Clicks Roll and waits for the animation to end; returns the faces."""
        w = self.w
        held_before = {i: f for i, (f, held) in enumerate(w.snapshot()["dice"]) if held}
        t0 = time.monotonic()
        click(*w.roll_point())
        expected_caption = "Roll %d of 3" % (rolls_before + 1)
        poll("the caption %r" % expected_caption, lambda: w.roll.get_name() == expected_caption)
        # The animation runs four ticks, 100 ms apart. It has ended when the
        # hints on the boxes were written for the dice on the table and the
        # dice have stopped changing.
        time.sleep(max(0.0, t0 + 0.42 - time.monotonic()))
        seen = {"faces": None, "since": 0.0}

        def settled():
            faces = w.faces()
            now = time.monotonic()
            if faces != seen["faces"]:
                seen.update(faces=faces, since=now)
                return None
            hints = w.hints()
            counts = collections.Counter(faces)
            consistent = hints[15] == sum(faces) and all(hints[f] == f * counts[f] for f in UPPER)
            return faces if consistent and now - seen["since"] >= 0.15 else None

        faces = poll("the roll to settle", settled, timeout=5)
        self.roll_times.append(time.monotonic() - t0)
        s = w.snapshot()
        for i, face in held_before.items():
            if s["dice"][i] != (face, True):
                raise Failure("held die %d changed from %d to %s" % (i + 1, face, s["dice"][i]))
        third = rolls_before + 1 == 3
        if s["roll_enabled"] == third:
            raise Failure("after roll %d the Roll button is %s" % (rolls_before + 1,
                                                                   "enabled" if third else "disabled"))
        return faces

    def set_holds(self, want):
        """Clicks the dice whose held state differs from `want` (a set of die
        indices) and waits for each to show it."""
        w = self.w
        for i in range(5):
            held = w.die(i)[1]
            if held == (i in want):
                continue
            click(*w.die_point(i))
            size = HELD_DIE_SIZE if i in want else DIE_SIZE
            poll("die %d to be %s" % (i + 1, "held" if i in want else "free"),
                 lambda: w.die(i)[1] == (i in want) and extents(w.dice[i])[2:] == (size, size))
            if i in want:
                self.holds += 1

    def open_rows(self):
        return [r for r in range(1, 16) if not self.w.scores[r].get_name()]

    def choose_holds(self, faces, open_rows):
        counts = collections.Counter(faces)
        distinct = sorted(counts)
        # Chasing a straight: keep one of each face of a run of four.
        for row, run_faces in ((12, range(2, 7)), (11, range(1, 6))):
            if row in open_rows:
                have = [f for f in run_faces if f in counts]
                if len(have) >= 4:
                    return {faces.index(f) for f in have}

        def weight(f):
            return (counts[f], f in open_rows, f)

        target = max(distinct, key=weight)
        if counts[target] < 2:
            return set()
        return {i for i, f in enumerate(faces) if f == target}

    def choose_row(self, faces, open_rows, rolls):
        hints = self.w.hints()
        counts = collections.Counter(faces)
        # Take a straight or five of a kind at once, a good hand after the
        # second roll, anything after the third.
        for row in FIXED_SCORE_ROWS:
            if row in open_rows and hints[row] > 0:
                return row
        if rolls == 2:
            good = [r for r in open_rows if (r in UPPER and counts[r] >= 3) or (r in (10, 13) and hints[r] > 0)]
            if good:
                return max(good, key=lambda r: hints[r])
        if rolls < 3:
            return None

        def value(row):
            v = hints[row]
            if row in UPPER:
                v += 8 if counts[row] >= 3 else -4  # keep the upper rows for the bonus
            if row == 15:
                v -= 12  # Chance is the last resort
            return v

        best = max(open_rows, key=value)
        if hints[best] > 0:
            return best
        # Nothing scores: give up the row that is hardest to fill.
        for row in (14, 12, 11, 10, 1, 13, 8, 9, 2, 7, 3, 4, 5, 6, 15):
            if row in open_rows:
                return row
        raise Failure("no open row left")

    def book(self, row):
        w = self.w
        hints = w.hints()
        value = hints[row]
        before = w.snapshot()
        click(*w.box_point(row))
        if value == 0:
            question = r"^Do you want to sacrifice %s \?$" % re.escape(CAPTIONS[row])
            if not self.declined:
                # Cancel once: the turn must stay, the row open, the box clear.
                self.answer_dialog("Quintor", question, keyname="Escape")
                self.declined = True
                s = poll("the declined row to be clear again", lambda: (lambda s: s if not s["checked"][row] else None)(w.snapshot()))
                if s["roll"] != before["roll"] or s["scores"][row] or s["dice"] != before["dice"] or not s["box_enabled"][row]:
                    raise Failure("declining the sacrifice changed the turn: before %s, after %s" % (before, s))
                click(*w.box_point(row))
            self.answer_dialog("Quintor", question)
            self.sacrifices += 1
        else:
            self.expected_total += value
            upper = sum(v for r, v in self.expected_scores.items() if r in UPPER) + (value if row in UPPER else 0)
            if upper >= 63 and not self.bonus:
                self.answer_dialog("Quintis", r"^Congratulations you have recieved a 50 pts bonus$")
                self.bonus = 50
                self.expected_total += 50
        self.expected_scores[row] = value
        self.turns_done += 1
        if self.turns_done == 15:
            return
        poll("the turn to pass after booking %s" % CAPTIONS[row],
             lambda: w.roll.get_name() == "Roll 0 of 3" and w.scores[row].get_name() == str(value) and not w.dialogs())
        s = w.snapshot()
        if not s["roll_enabled"] or s["turn"] != self.args.name:
            raise Failure("after the booking: Roll %s, turn label %r" % (s["roll_enabled"], s["turn"]))
        for r in range(1, 16):
            booked = r in self.expected_scores
            want_score = str(self.expected_scores[r]) if booked else ""
            if s["scores"][r] != want_score or s["checked"][r] != booked or s["box_enabled"][r] == booked:
                raise Failure("row %s shows %r checked=%s enabled=%s; expected %r" % (
                    CAPTIONS[r], s["scores"][r], s["checked"][r], s["box_enabled"][r], want_score))
        want_sum = str(self.expected_total) if self.expected_total else ""
        if s["sums"][1] != want_sum:
            raise Failure("total shows %r, expected %r" % (s["sums"][1], want_sum))
        if any(held for _, held in s["dice"]):
            raise Failure("a die is still held in the new turn: %s" % s["dice"])

    def clicks_that_do_nothing(self):
        """Before the first roll a die cannot be held, and a booked row
        cannot be booked again."""
        w = self.w
        before = w.snapshot()
        booked = next(iter(self.expected_scores))
        click(*w.die_point(0))
        click(*w.box_point(booked))
        time.sleep(0.3)
        after = w.snapshot()
        if after != before or w.dialogs():
            changed = {k: (before[k], after[k]) for k in before if before[k] != after[k]}
            raise Failure("clicks on a die before the roll and on a booked row changed %s" % changed)

    def play_turn(self, number):
        w = self.w
        open_rows = self.open_rows()
        if number == 2:
            self.clicks_that_do_nothing()
        rolls = 0
        while True:
            faces = self.roll(rolls)
            rolls += 1
            row = self.choose_row(faces, open_rows, rolls)
            if row is not None:
                break
            self.set_holds(self.choose_holds(faces, open_rows))
            self.rerolls += 1
            if number >= 7 and not self.mid_shot and any(w.die(i)[1] for i in range(5)):
                self.screenshot("2-mid-game.png")
                self.mid_shot = True
        held = [i + 1 for i in range(5) if w.die(i)[1]]
        log("turn %2d: %d roll(s), dice %s%s -> %s = %d" % (
            number, rolls, faces, " (held %s)" % held if held else "", CAPTIONS[row], w.hints()[row]))
        self.book(row)

    def finish(self):
        w = self.w
        total = self.expected_total
        self.answer_dialog("Winner", r"^Winner is %s\r?\nWith the score: %d$" % (re.escape(self.args.name), total))
        self.answer_dialog("Highscore", r"^New Highscore !!$")
        poll("the game-over state", lambda: w.turn.get_name() == "Game Over" and not w.dialogs())
        s = w.snapshot()
        problems = []
        if s["roll_enabled"]:
            problems.append("the Roll button is still enabled")
        booked = {r: int(v) for r, v in s["scores"].items() if v != ""}
        if len(booked) != 15:
            problems.append("only %d rows show a score" % len(booked))
        upper = sum(booked.get(r, 0) for r in UPPER)
        shown_total = int(s["sums"][1] or 0)
        want = sum(booked.values()) + (50 if upper >= 63 else 0)
        if shown_total != want or shown_total != total:
            problems.append("total %r, but the booked rows add up to %d (upper %d) and the game booked %d"
                            % (s["sums"][1], want, upper, total))
        if any(s["box_enabled"].values()) or not all(s["checked"].values()):
            problems.append("some category box is still open")
        if s["high"] != (self.args.name, str(total)):
            problems.append("high score labels show %r" % (s["high"],))
        if problems:
            raise Failure("; ".join(problems))
        log("game over: total %d (upper %d%s), %d holds, %d re-rolls, %d sacrifice(s)" % (
            total, upper, ", bonus 50" if upper >= 63 else "", self.holds, self.rerolls, self.sacrifices))
        return total

    def check_settings(self, total):
        folder = self.args.config_dir
        path = os.path.join(folder, "Quintor.conf")
        if not os.path.exists(path):
            home = os.environ.get("HOME", "")
            found = [os.path.join(d, f) for d, _, files in os.walk(home) for f in files]
            raise Failure("no settings file %s; files under %s: %s" % (path, home, found))
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str
        parser.read(path, encoding="utf-8")
        section = parser["QuintorHighscore"] if parser.has_section("QuintorHighscore") else {}
        stored = (section.get("Score"), section.get("Name"))
        if stored != (str(total), self.args.name):
            raise Failure("%s holds Score=%r Name=%r, expected %r and %r"
                          % (path, stored[0], stored[1], str(total), self.args.name))
        log("high score stored in", path)

    def turn_log(self):
        """The turn log's text object, once its dock is on the screen."""
        w = self.w
        for dock in w._children(w.frame):
            if dock in (w.menubar, w.client):
                continue
            for obj in w._children(dock):
                if obj.get_role() == Atspi.Role.TEXT and obj.get_name() == "Turn log" \
                        and has(obj, Atspi.StateType.SHOWING):
                    return obj
        return None

    def check_turn_log(self, heard):
        """View > Turn Log and one turn of a new game: the log shows a line for
        each step, and a screen reader hears each line as it is written."""
        w = self.w
        height = find_main_window()[1][3]
        self.new_game()
        text = self.choose("View", "Turn Log", "the turn log", self.turn_log)
        # Its dock goes below the play area: the window grows, the play area
        # stays where it was, and the clicks still find it.
        grown = find_main_window()[1][3]
        cx, cy, cw, ch = extents(w.client)
        if grown <= height or (cx, cy) != w.origin:
            raise Failure("with the turn log open the window is %d high (was %d) and the play area at %d,%d, "
                          "expected it at %s" % (grown, height, cx, cy, w.origin))
        if extents(text)[1] < cy + ch:
            raise Failure("the turn log at %s covers the play area at %s" % (extents(text), (cx, cy, cw, ch)))

        def expect(what, lines):
            want = "\n".join(lines)
            shown = lambda: Atspi.Text.get_text(text, 0, -1)  # noqa: E731
            try:
                poll("the turn log to show and announce " + what,
                     lambda: shown() == want and heard.text_of(text) == want)
            except Failure as error:
                raise Failure("%s: it shows %r, a screen reader heard %r, expected %r"
                              % (error, shown(), heard.text_of(text), want))

        name = self.args.name
        dice = lambda faces: " ".join(map(str, faces))  # noqa: E731
        expect("nothing before the first roll", [])
        first = self.roll(0)
        expect("the first roll", ["%s rolled %s" % (name, dice(first))])
        self.set_holds({0, 1})
        second = self.roll(1)
        lines = ["%s rolled %s, kept %s" % (name, dice(first), dice(first[:2])), "%s rolled %s" % (name, dice(second))]
        expect("what was kept and the second roll", lines)
        # Chance always scores: no question to answer.
        click(*w.box_point(15))
        poll("Chance to be booked", lambda: w.scores[15].get_name() == str(sum(second))
             and w.roll.get_name() == "Roll 0 of 3")
        expect("the booking", lines + ["%s booked Chance for %d" % (name, sum(second))])
        self.screenshot("4-turn-log.png")
        log("turn log shown and heard: %d insertions" % sum(1 for e in heard.heard if e[0] is text))

    def play(self):
        self.start_app()
        self.check_window()
        self.check_load_state()
        self.screenshot("1-load.png")
        self.new_game()
        for number in range(1, 16):
            self.play_turn(number)
        total = self.finish()
        self.screenshot("3-game-over.png")
        self.check_settings(total)
        # The next start shows the stored score.
        self.exit_via_menu()
        # A screen reader that is running before the program starts.
        heard = Announcements()
        self.start_app()
        poll("the stored high score at the next start",
             lambda: (self.w.high_name.get_name(), self.w.high_score.get_name()) == (self.args.name, str(total)),
             timeout=3)
        self.check_turn_log(heard)
        self.exit_via_menu()
        if self.holds < 3:
            raise Failure("the game held dice only %d times" % self.holds)
        log("rolls took %.2f-%.2f s from click to settled dice" % (min(self.roll_times), max(self.roll_times)))

    def report(self, error):
        print("E2E FAILURE:", error, flush=True)
        try:
            if self.w is not None:
                s = self.w.snapshot()
                for k, v in s.items():
                    print("  %-12s %s" % (k, v))
                for title, texts, _ in self.w.dialogs():
                    print("  open dialog %r: %r" % (title, texts))
        except Exception as inner:  # the window may be gone
            print("  (could not read the window: %s)" % inner)
        print("  dialogs answered:", self.dialog_log)
        try:
            self.screenshot("failure.png")
        except Exception as inner:
            print("  (no failure screenshot: %s)" % inner)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--app", required=True)
    parser.add_argument("--app-log", required=True)
    parser.add_argument("--config-dir", required=True)
    parser.add_argument("--shots", required=True)
    parser.add_argument("--name", default="Kim Tester")
    args = parser.parse_args()
    game = Game(args)
    try:
        game.play()
    except Failure as error:
        game.report(error)
        return 1
    finally:
        game.stop()
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
