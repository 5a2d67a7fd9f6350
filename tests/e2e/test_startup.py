"""Start-up and shutdown of the real program on its own X server: the fatal messages, the shaped
character windows at their places, and the INI file written back when the desktop ends the program."""

import hashlib
import os
import signal
import time
import unittest

from xsession import CHARACTER_TITLE, FATAL_ERROR_TITLE, FacePicture, XSession, keys_in_section, parse_ini, wait_until

ROOT = (30, 140, 90)
BACKDROP = (20, 60, 200)
ERROR_KEY = (0, 255, 242)

FACE_A = FacePicture(120, 100, face=(230, 180, 40), key=(255, 0, 255), hole=(50, 60, 20, 12))
# Black as the key colour: a plain zero must count as a colour like any other.
FACE_B = FacePicture(90, 70, face=(200, 60, 160), key=(0, 0, 0), hole=(40, 30, 10, 10))


def is_dark(rgb):
    return max(rgb) < 110


def is_red(rgb):
    return rgb[0] > 150 and rgb[1] < 100 and rgb[2] < 100


def message_box_lines(shot, box):
    """The text lines of a message box, top to bottom, each as its place, size and a digest of its pixels.

    Lines are runs of rows holding dark pixels right of the (red) icon; the last run is the button."""
    red_columns = [x for y in range(box.height) for x in range(box.width)
                   if is_red(shot.pixel(box.x + x, box.y + y))]
    left = max(red_columns) + 1 if red_columns else 0
    inked_rows = [y for y in range(box.height)
                  if any(is_dark(shot.pixel(box.x + x, box.y + y)) for x in range(left, box.width))]
    runs = []
    for y in inked_rows:
        if runs and y == runs[-1][-1] + 1:
            runs[-1].append(y)
        else:
            runs.append([y])
    lines = []
    for rows in runs:
        columns = [x for y in rows for x in range(left, box.width) if is_dark(shot.pixel(box.x + x, box.y + y))]
        x0, x1 = min(columns), max(columns) + 1
        ink = b"".join(bytes(shot.pixel(box.x + x, box.y + y)) for y in rows for x in range(x0, x1))
        lines.append((x0, rows[0], x1 - x0, len(rows), hashlib.sha1(ink).hexdigest()[:12]))
    return lines, len(red_columns)


class FatalErrorTest(unittest.TestCase):
    def show_fatal_box(self, x, ini_text):
        """Starts the program on ini_text (None: no INI file) and returns (program, box window, screenshot)."""
        program = x.start_program(x.program_folder(ini_text))
        box = x.wait_for_windows(FATAL_ERROR_TITLE, 1, program=program)[0]
        self.assertEqual(x.windows(CHARACTER_TITLE, visible=False), [], "character windows next to the fatal box")
        geometry = x.geometry(box)

        def painted():
            # Mapped is not yet painted: wait until the icon, the text and the button are on the screen.
            shot = x.screenshot()
            lines, red = message_box_lines(shot, geometry)
            return shot if red > 100 and len(lines) >= 3 else None

        return program, box, geometry, wait_until(painted, 5, what="the message box to be painted")

    def close_box_and_expect_exit(self, x, program, box):
        x.key("Return", window=box)
        status = program.wait(5)
        self.assertEqual(status, 1, program.log())
        self.assertEqual(x.windows(CHARACTER_TITLE, visible=False), [])

    def test_missing_ini(self):
        with XSession(root_colour=ROOT) as x:
            program, box, geometry, shot = self.show_fatal_box(x, None)
            lines, red = message_box_lines(shot, geometry)
            # Two text lines above the button, and the stop icon.
            self.assertEqual(len(lines), 3, "expected two text lines and the button, found %d runs" % len(lines))
            self.assertGreater(red, 100)
            self.close_box_and_expect_exit(x, program, box)

    def test_ending_under_the_fatal_box_writes_no_file(self):
        # A session ending while the box is up must not create the missing file: the next start would
        # then call it damaged.
        with XSession(root_colour=ROOT) as x:
            folder = x.program_folder(None)
            program = x.start_program(folder)
            x.wait_for_windows(FATAL_ERROR_TITLE, 1, program=program)
            program.signal(signal.SIGTERM)
            self.assertEqual(program.wait(10), 1, program.log())
            self.assertFalse(os.path.exists(folder.ini_path))

    def test_damaged_ini(self):
        # The text of a damaged file is checked against the box of a missing file: the same second line
        # ("This program cannot be started."), a different first line; and every damaged file the same box.
        damaged = {
            "only general settings": "[General_Settings]\nProgram_Title=Lookabout\nAdvanced_Editing=1\n",
            "empty file": "",
            "no picture named": "[General_Settings]\n[Character_1]\nName=Nobody\nImage_File=   \n[Other]\nA=1\n",
        }
        with XSession(root_colour=ROOT) as x:
            program, box, geometry, shot = self.show_fatal_box(x, None)
            missing_lines, _ = message_box_lines(shot, geometry)
            self.close_box_and_expect_exit(x, program, box)

            first_lines = set()
            for name, text in damaged.items():
                with self.subTest(name):
                    program, box, geometry, shot = self.show_fatal_box(x, text)
                    lines, red = message_box_lines(shot, geometry)
                    self.assertEqual(len(lines), 3)
                    self.assertGreater(red, 100)
                    self.assertEqual(lines[1], missing_lines[1], "second line differs from the missing-file box")
                    self.assertNotEqual(lines[0], missing_lines[0], "damaged file shows the missing-file text")
                    first_lines.add(lines[0])
                    self.close_box_and_expect_exit(x, program, box)
            self.assertEqual(len(first_lines), 1, "damaged files show different texts")


THREE_CHARACTERS = """\
[General_Settings]
Program_Title=Three

[Character_1]
Name=Inside
Image_File=a.bmp
Fixed_To=1
Start_Position_X=100
Start_Position_Y=80

[Character_2]
Name=Beyond the right edge, above the top
Image_File=b.bmp
Fixed_To=2
Start_Position_X=5000
Start_Position_Y=-30

[Character_3]
Name=No picture, left of the screen, below the bottom
Image_File=not-there.bmp
Fixed_To=3
Start_Position_X=-40
Start_Position_Y=2000
"""

# Screen 1024 x 768: positions clamped so that each window lies on the screen.
EXPECTED_GEOMETRY = [(100, 80, 120, 100), (1024 - 90, 0, 90, 70), (0, 768 - 88, 200, 88)]


class CharacterWindowsTest(unittest.TestCase):
    def check_three_characters(self, x):
        # What is behind: the root window, and a window of ours over the upper left quarter that
        # records the clicks reaching it.
        backdrop = x.backdrop(BACKDROP, 0, 0, 512, 384)
        behind = x.screenshot()
        program = x.start_program(x.program_folder(THREE_CHARACTERS, {"a.bmp": FACE_A.bmp_bytes(),
                                                                      "b.bmp": FACE_B.bmp_bytes()}))
        windows = x.wait_for_windows(CHARACTER_TITLE, 3, program=program)
        by_place = {}
        for wid in windows:
            geometry = x.geometry(wid)
            by_place[(geometry.x, geometry.y)] = geometry
        self.assertEqual(sorted(tuple(g) for g in by_place.values()), sorted(EXPECTED_GEOMETRY), program.log())

        a, b, error = (tuple(g) for g in EXPECTED_GEOMETRY)
        face_point = (a[0] + 30, a[1] + 50)
        x.wait_for_pixel(*face_point, FACE_A.face)
        shot = x.wait_for_pixel(b[0] + 20, b[1] + 35, FACE_B.face)
        shot.save_png(x.directory + "/three-characters.png")

        # Each face window shows its picture exactly, with every key-coloured pixel (the corners and the
        # hole inside the face) showing what is behind it.
        for picture, (left, top, width, height) in ((FACE_A, a), (FACE_B, b)):
            wrong = []
            for py in range(height):
                for px in range(width):
                    on_screen = shot.pixel(left + px, top + py)
                    expected = picture.face if picture.colour_at(px, py) == picture.face \
                        else behind.pixel(left + px, top + py)
                    if on_screen != expected:
                        wrong.append(((px, py), on_screen, expected))
            self.assertEqual(wrong[:5], [], "%d pixels differ from the picture at %s" % (len(wrong), (left, top)))
            self.assertEqual(shot.pixel(left + 1, top + 1), behind.pixel(left + 1, top + 1))
            hx, hy = picture.hole_centre()
            self.assertEqual(shot.pixel(left + hx, top + hy), behind.pixel(left + hx, top + hy))
        self.assertEqual(behind.pixel(a[0] + 1, a[1] + 1), BACKDROP)
        self.assertIn(behind.pixel(b[0] + 1, b[1] + 1), (ROOT, behind.pixel(1023, 767)))

        # The error picture: its cyan parts are holes, the rest (word and text box) is shown.
        left, top, width, height = error
        cyan = shown = 0
        for py in range(height):
            for px in range(width):
                pixel = shot.pixel(left + px, top + py)
                cyan += pixel == ERROR_KEY
                shown += pixel != behind.pixel(left + px, top + py)
        self.assertEqual(cyan, 0, "cyan pixels of the error picture are visible")
        self.assertEqual(shot.pixel(left, top), behind.pixel(left, top))
        self.assertGreater(shown, width * height // 5)
        self.assertLess(shown, width * height)

        # Key-coloured pixels let clicks through to the window below; the face takes them.
        hx, hy = FACE_A.hole_centre()
        x.click(a[0] + hx, a[1] + hy)
        wait_until(lambda: backdrop.clicks(), 3, what="the click through the hole to reach the window below")
        self.assertEqual(backdrop.clicks(), [(1, a[0] + hx, a[1] + hy)])
        x.click(*face_point)
        time.sleep(0.3)
        self.assertEqual(len(backdrop.clicks()), 1, "a click on the face went through it")

        self.assertEqual(len(x.windows(CHARACTER_TITLE)), 3)
        # Characters stay out of the taskbar and the pager.
        for wid in windows:
            states = x.run(["xprop", "-id", str(wid), "_NET_WM_STATE"])
            for state in ("_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"):
                self.assertIn(state, states)
        self.assertEqual(program.terminate(), 0, program.log())

    def test_three_characters(self):
        with XSession(root_colour=ROOT) as x:
            self.check_three_characters(x)

    def test_three_characters_with_window_manager_and_compositor(self):
        # With a compositor the program uses translucent windows; the outline must be the same.
        with XSession(window_manager=True, compositor=True, root_colour=ROOT) as x:
            self.check_three_characters(x)


CHARACTER_KEYS = [
    "Name", "Image_File", "Fixed_To", "Flee", "Speed_X", "Speed_Y", "Start_Position_X", "Start_Position_Y",
    "Transparency", "No_Mouseclick", "Iris_Color", "Pupil_Color", "Iris_Width",
    "Eye1_Center_X", "Eye1_Center_Y", "Eye1_Diameter_X", "Eye1_Diameter_Y", "Iris1_Diameter_X", "Iris1_Diameter_Y",
    "Eye2_Center_X", "Eye2_Center_Y", "Eye2_Diameter_X", "Eye2_Diameter_Y", "Iris2_Diameter_X", "Iris2_Diameter_Y",
]

DEFAULTS = dict(zip(CHARACTER_KEYS, [
    "Character", "", "", "0", "30", "20", "0", "0", "0", "0", "40,90,220", "0,0,0", "1",
    "-100", "-100", "8", "8", "4", "4", "-100", "-100", "8", "8", "4", "4"]))

# Hand-edited, with comments, blanks and one CR LF line, as users keep it.
HAND_KEPT_INI = (
    b"; Lookabout characters\n"
    b";   kept by hand; these lines must survive   \r\n"
    b"[General_Settings]\n"
    b"; the title has blanks around it\n"
    b"Program_Title =   My Desktop Friends   \n"
    b"Advanced_Editing=1\n"
    b"\n"
    b"[Character_1]\n"
    b"; the first one\n"
    b"Name = Sunny\n"
    b"Image_File=a.bmp\n"
    b"Fixed_To=1\n"
    b"Speed_X=2\n"
    b"Speed_Y=500\n"
    b"Start_Position_X=100\n"
    b"Start_Position_Y=80\n"
    b"Transparency=300\n"
    b"Iris_Color=300,-5,12.9\n"
    b"Flee=7\n"
    b"\n"
    b"; a section that is no character\n"
    b"[Notes]\n"
    b"Image_File=\n"
    b"Remark = keep me\n"
    b"\n"
    b"[Smiley]\n"
    b"Image_File=missing.gif\n"
    b"No_Mouseclick=1\n"
    b"Iris_Width=999\n"
)

EXPECTED_SAVED = {
    "Character_1": dict(DEFAULTS, Name="Sunny", Image_File="a.bmp", Fixed_To="1", Speed_X="5", Speed_Y="500",
                        Start_Position_X="100", Start_Position_Y="80", Transparency="255", Iris_Color="255,0,12",
                        Flee="1"),
    # Fixed_To missing: the character stands still, which is its own index.
    "Smiley": dict(DEFAULTS, Image_File="missing.gif", Fixed_To="2", No_Mouseclick="1", Iris_Width="255"),
}


class StackingTest(unittest.TestCase):
    def test_a_character_starts_behind_other_windows_and_stays_on_top_once_clicked(self):
        ini = "[Character_1]\nImage_File=a.bmp\nStart_Position_X=600\nStart_Position_Y=400\n"
        with XSession(window_manager=True, root_colour=ROOT) as x:
            program = x.start_program(x.program_folder(ini, {"a.bmp": FACE_A.bmp_bytes()}))
            x.wait_for_windows(CHARACTER_TITLE, 1, program=program)
            x.wait_for_pixel(600 + 90, 400 + 50, FACE_A.face)
            # An ordinary window opened later over the right half of the face covers it.
            cover = x.ordinary_window(BACKDROP, 660, 380, 200, 150)
            x.wait_for_pixel(600 + 90, 400 + 50, BACKDROP)
            # A click on the uncovered half activates the character: from then on it stays above the
            # window, even when that window is raised.
            x.click(600 + 30, 400 + 50)
            x.wait_for_pixel(600 + 90, 400 + 50, FACE_A.face)
            x.focus(cover)
            x.xdotool("windowraise", cover)
            time.sleep(0.3)
            self.assertEqual(x.screenshot().pixel(600 + 90, 400 + 50), FACE_A.face)
            self.assertEqual(program.terminate(), 0, program.log())


class ShutdownTest(unittest.TestCase):
    def check_end_by_signal(self, signum):
        with XSession(root_colour=ROOT) as x:
            # What an earlier run killed in the middle of a save left behind; the start clears it away.
            folder = x.program_folder(HAND_KEPT_INI, {"a.bmp": FACE_A.bmp_bytes(),
                                                      ".Lookabout.ini.save-Ab12Cd.tmp": b"[half"})
            program = x.start_program(folder)
            x.wait_for_windows(CHARACTER_TITLE, 2, program=program)
            program.signal(signum)
            self.assertEqual(program.wait(10), 0, program.log())
            self.assertEqual(x.windows(CHARACTER_TITLE, visible=False), [])
            saved = folder.read_ini()
            self.assertEqual(sorted(n for n in os.listdir(folder.path) if n.startswith(".")), [])

        sections = parse_ini(saved)
        self.assertEqual(sections["General_Settings"]["Program_Title"], "My Desktop Friends")
        for section, expected in EXPECTED_SAVED.items():
            with self.subTest(section):
                self.assertEqual(sorted(keys_in_section(saved, section)), sorted(CHARACTER_KEYS),
                                 "each of the 25 keys exactly once")
                self.assertEqual(sections[section], expected)
        self.assertEqual(sections["Notes"], {"Image_File": "", "Remark": "keep me"})

        # Lines the save had no reason to touch stay byte for byte, in their order.
        untouched = [line for line in HAND_KEPT_INI.splitlines(keepends=True)
                     if line.startswith(b";") or line.startswith(b"[") or b"Remark" in line
                     or line.startswith(b"Advanced_Editing")]
        saved_lines = saved.splitlines(keepends=True)
        position = 0
        for line in untouched:
            self.assertIn(line, saved_lines[position:], "line %r lost or moved" % line)
            position = saved_lines.index(line, position) + 1

    def test_sigterm_saves_every_character(self):
        self.check_end_by_signal(signal.SIGTERM)

    def test_sigint_saves_every_character(self):
        self.check_end_by_signal(signal.SIGINT)


if __name__ == "__main__":
    unittest.main()
