"""Start-up and shutdown of the real program: the fatal messages, the shaped character windows at their places
(with and without a compositor), the stacking of a clicked character, and the INI file written back when the
desktop ends the program."""

import hashlib
import itertools
import os
import signal
import time
import unittest

from xsession import CHARACTER_KEYS, CHARACTER_TITLE, FacePicture, XSession, parse_ini, wait_until

BACKDROP = (20, 60, 200)
ERROR_KEY = (0, 255, 242)
FACE_A = FacePicture()
# Black as the key colour: a plain zero must count as a colour like any other.
FACE_B = FacePicture(90, 70, face=(200, 60, 160), key=(0, 0, 0), hole=(40, 30, 10, 10))


def message_box_lines(shot, box):
    """The box's inked lines right of its red stop icon, top to bottom (the text lines, then the button), each as
    a digest of its pixels between its first and last inked column; and the number of red pixels."""
    rows = [[shot.pixel(box.x + px, box.y + py) for px in range(box.width)] for py in range(box.height)]
    red = [px for row in rows for px, (r, g, b) in enumerate(row) if r > 150 and g < 100 and b < 100]
    inked = [[px for px in range(max(red, default=-1) + 1, box.width) if max(row[px]) < 110] for row in rows]
    lines = []
    for ink, band in itertools.groupby(zip(rows, inked), key=lambda row_and_ink: bool(row_and_ink[1])):
        if ink:
            band = list(band)
            left, right = min(min(i) for _, i in band), max(max(i) for _, i in band)
            lines.append(hashlib.sha1(repr([row[left:right + 1] for row, _ in band]).encode()).hexdigest())
    return lines, len(red)


# Inside; beyond the right edge and above the top; without its picture, left of the screen and below the bottom.
THREE_CHARACTERS = "[General_Settings]\nProgram_Title=Three\n" + "".join(
    "\n[Character_%d]\nImage_File=%s\nFixed_To=%d\nStart_Position_X=%d\nStart_Position_Y=%d\n" % (k, name, k, x, y)
    for k, name, x, y in ((1, "a.bmp", 100, 80), (2, "b.bmp", 5000, -30), (3, "not-there.bmp", -40, 2000)))
# Screen 1024 x 768: positions clamped so that each window lies on the screen; the error picture is 200 x 88.
EXPECTED_GEOMETRY = [(100, 80, 120, 100), (1024 - 90, 0, 90, 70), (0, 768 - 88, 200, 88)]

DEFAULTS = dict(zip(CHARACTER_KEYS, [
    "Character", "", "", "0", "30", "20", "0", "0", "0", "0", "40,90,220", "0,0,0", "1",
    "-100", "-100", "8", "8", "4", "4", "-100", "-100", "8", "8", "4", "4"]))
# Hand-edited, with comments, blanks and one CR LF line, as users keep it.
HAND_KEPT_INI = (
    b"; Lookabout characters\n;   kept by hand; these lines must survive   \r\n[General_Settings]\n"
    b"; the title has blanks around it\nProgram_Title =   My Desktop Friends   \nAdvanced_Editing=1\n\n"
    b"[Character_1]\n; the first one\nName = Sunny\nImage_File=a.bmp\nFixed_To=1\nSpeed_X=2\n"
    b"Start_Position_X=100\nStart_Position_Y=80\n\n"
    b"; a section that is no character\n[Notes]\nImage_File=\nRemark = keep me\n\n"
    b"[Smiley]\nImage_File=missing.gif\nNo_Mouseclick=1\n")
DEFAULTS = dict(zip(CHARACTER_KEYS, [
    "Character", "", "", "0", "30", "20", "0", "0", "0", "0", "40,90,220", "0,0,0", "1",
    "-100", "-100", "8", "8", "4", "4", "-100", "-100", "8", "8", "4", "4"]))
EXPECTED_SAVED = {
    "General_Settings": {"Program_Title": "My Desktop Friends", "Advanced_Editing": "1"},
    "Character_1": dict(DEFAULTS, Name="Sunny", Image_File="a.bmp", Fixed_To="1", Speed_X="5",
                        Start_Position_X="100", Start_Position_Y="80"),
    "Notes": {"Image_File": "", "Remark": "keep me"},
    # Fixed_To missing: the character stands still, which is its own index.
    "Smiley": dict(DEFAULTS, Image_File="missing.gif", Fixed_To="2", No_Mouseclick="1"),
}


class StartupTest(unittest.TestCase):
    def fatal_box(self, x, ini_text):
        """Starts the program on ini_text (None: no INI file); returns the program, the box and its text lines."""
        program = x.start_program(x.program_folder(ini_text))
        box = x.wait_for_windows("Lookabout - Fatal Error", 1, program=program)[0]
        self.assertEqual(x.windows(CHARACTER_TITLE), [], "character windows next to the fatal box")
        # Mapped is not yet painted: wait for the icon, the two text lines and the button.
        lines, red = wait_until(lambda: [r for r in [message_box_lines(x.screenshot(), x.geometry(box))]
                                         if r[1] > 100 and len(r[0]) == 3], 5, "the message box to be painted")[0]
        return program, box, lines

    def test_fatal_messages(self):
        with XSession() as x:
            program, box, missing = self.fatal_box(x, None)
            # Ending under the box creates no file: the next start would call it damaged.
            program.send_signal(signal.SIGTERM)
            self.assertEqual(program.wait(10), 1, program.log())
            self.assertFalse(os.path.exists(program.folder.ini_path))
            # A damaged file: the same second line ("This program cannot be started."), another first line,
            # the same for every kind of damage; Return closes the box.
            first_lines = set()
            for text in ["[General_Settings]\nProgram_Title=Lookabout\nAdvanced_Editing=1\n", "",
                         "[General_Settings]\n[Character_1]\nName=Nobody\nImage_File=   \n[Other]\nA=1\n"]:
                program, box, lines = self.fatal_box(x, text)
                self.assertEqual(lines[1], missing[1], "second line differs from the missing-file box")
                first_lines.add(lines[0])
                x.key("Return", window=box)
                self.assertEqual(program.wait(5), 1, program.log())
            self.assertEqual(len(first_lines), 1, "damaged files show different texts")
            self.assertNotIn(missing[0], first_lines, "a damaged file shows the missing-file text")

    def check_three_characters(self, x):
        backdrop = x.backdrop(BACKDROP, 0, 0, 512, 384)  # over the upper left quarter; records clicks
        behind = x.screenshot()
        program, windows, _ = x.start_characters(x.program_folder(THREE_CHARACTERS, {"a.bmp": FACE_A.bmp_bytes(),
                                                                                     "b.bmp": FACE_B.bmp_bytes()}), 3)
        self.assertEqual(sorted(tuple(x.geometry(w)) for w in windows), sorted(EXPECTED_GEOMETRY), program.log())
        a, b, error = EXPECTED_GEOMETRY
        x.wait_for_pixel(a[0] + 30, a[1] + 50, FACE_A.face)
        shot = x.wait_for_pixel(b[0] + 20, b[1] + 35, FACE_B.face)
        # Each face shows its picture exactly; every key-coloured pixel (corners, hole) shows what is behind.
        for picture, (left, top, width, height) in ((FACE_A, a), (FACE_B, b)):
            wrong = [(px, py) for py in range(height) for px in range(width) if shot.pixel(left + px, top + py) != (
                picture.face if picture.colour_at(px, py) == picture.face else behind.pixel(left + px, top + py))]
            self.assertEqual(wrong[:5], [], "%d pixels differ from the picture at %s" % (len(wrong), (left, top)))
        # The error picture: its cyan parts are holes, the rest (word and text box) is shown.
        left, top, width, height = error
        pixels = [(shot.pixel(left + px, top + py), behind.pixel(left + px, top + py))
                  for py in range(height) for px in range(width)]
        self.assertNotIn(ERROR_KEY, [p for p, _ in pixels], "cyan pixels of the error picture are visible")
        self.assertLess(width * height // 5, sum(p != q for p, q in pixels), "the error picture is not shown")
        self.assertEqual(pixels[0][0], pixels[0][1], "the error picture's corner is not cut away")

        # Key-coloured pixels let clicks through to the window below; the face takes them.
        hx, hy = FACE_A.hole_centre()
        x.click(a[0] + hx, a[1] + hy)
        x.click(a[0] + 30, a[1] + 50)
        self.assertEqual(backdrop.clicks(), [(1, a[0] + hx, a[1] + hy)])
        for wid in windows:  # characters stay out of the taskbar and the pager
            states = x.run("xprop", "-id", wid, "_NET_WM_STATE")
            self.assertTrue("_NET_WM_STATE_SKIP_TASKBAR" in states and "_NET_WM_STATE_SKIP_PAGER" in states, states)
        self.assertEqual(program.terminate(), 0, program.log())

    def test_characters_and_ending_by_signals(self):
        with XSession() as x:
            self.check_three_characters(x)
            for signum in (signal.SIGTERM, signal.SIGINT):
                # What an earlier run killed in the middle of a save left behind; the start clears it away.
                folder = x.program_folder(HAND_KEPT_INI, {"a.bmp": FACE_A.bmp_bytes(),
                                                          ".Lookabout.ini.save-Ab12Cd.tmp": b"[half"})
                program = x.start_characters(folder, 2)[0]
                program.send_signal(signum)
                self.assertEqual(program.wait(10), 0, program.log())
                self.assertEqual(x.windows(CHARACTER_TITLE), [])
                self.assertEqual([n for n in os.listdir(folder.path) if n.startswith(".")], [])
                saved = folder.read_ini()
                self.assertEqual(parse_ini(saved), EXPECTED_SAVED)
                # Lines the save had no reason to touch stay byte for byte, in their order.
                untouched = [line for line in HAND_KEPT_INI.splitlines(keepends=True)
                             if line[:1] in b";[" or b"Remark" in line or line.startswith(b"Advanced")]
                self.assertEqual([line for line in saved.splitlines(keepends=True) if line in untouched], untouched)

    def test_characters_composited_and_stacking(self):
        # With a compositor the program uses translucent windows; the outline must be the same.
        with XSession(window_manager=True, compositor=True) as x:
            self.check_three_characters(x)
            program, (face,), _ = x.start_characters(x.program_folder(
                "[Character_1]\nImage_File=a.bmp\nStart_Position_X=600\nStart_Position_Y=400\n",
                {"a.bmp": FACE_A.bmp_bytes()}), 1)
            x.wait_for_pixel(690, 450, FACE_A.face)
            # An ordinary window opened later over the right half of the face covers it.
            cover = x.backdrop(BACKDROP, 660, 380, 200, 150, override_redirect=False)
            x.wait_for_pixel(690, 450, BACKDROP)
            # A click on the uncovered half activates the character: from then on it stays above the window, even
            # when that window is raised (once the program, not just the window manager, has heard of the click).
            x.click(630, 450)
            wait_until(lambda: "_NET_WM_STATE_ABOVE" in x.run("xprop", "-id", face, "_NET_WM_STATE"), 5, "the band")
            x.focus(cover.wid)
            x.xdotool("windowraise", cover.wid)
            time.sleep(0.3)
            self.assertEqual(x.screenshot().pixel(690, 450), FACE_A.face)
            self.assertEqual(program.terminate(), 0, program.log())


if __name__ == "__main__":
    unittest.main()
