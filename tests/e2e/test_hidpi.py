"""A desktop scale factor of 2, asked for either way a Qt program on X11 learns of it (QT_SCALE_FACTOR, or the
X resource Xft.dpi of a desktop set to 200 %): every character window is twice its picture in screen pixels,
the key colour is still cut away, the irises sit where the eye arithmetic puts them and are twice as big, a
follower walks the same way as at scale 1 and stops with the pointer inside it, and the control panel keeps its
proportions and takes clicks at the scaled places."""

import time
import unittest

from test_living import EYES, FACE, IRIS, PUPIL, character, follow_path, iris_centre, move_pointer
from test_panel import LIST_LEFT, LIST_TOP, SCARED_OF
from xsession import CHARACTER_TITLE, XSession, parse_ini

ROOT = (30, 140, 90)
PANEL_TITLE = "Lookabout"
SCALE = 2
# In logical pixels, which is what the program works in; the screen is 2048 x 1536 device pixels.
LOOKER_AT = (20, 20)
FOLLOWER_AT = (600, 560)
FOLLOWER_SPEED = (200, 120)


def ini(*characters):
    return "[General_Settings]\nProgram_Title=Scaled\n\n" + "\n".join(characters)


LOOKER = character("Looker", 1, LOOKER_AT)
FOLLOWER = character("Follower", 0, FOLLOWER_AT, speed=FOLLOWER_SPEED)


class HiDpiTest(unittest.TestCase):
    def start(self, x, character_text, env=None):
        """Starts the program on one character; returns the program, its character window and its panel."""
        program = x.start_program(x.program_folder(ini(character_text), {"face.bmp": FACE.bmp_bytes()}), env=env)
        (wid,) = x.wait_for_windows(CHARACTER_TITLE, 1, program=program)
        panel = x.wait_for_windows(PANEL_TITLE, 1, program=program)[0]
        return program, wid, panel

    def check_scaled(self, x, scaled_env=None, before_scaled_start=None):
        # The panel at scale 1, to compare with.
        program, _, panel = self.start(x, LOOKER)
        plain_panel = x.geometry(panel)
        self.assertEqual(program.terminate(), 0, program.log())

        if before_scaled_start:
            before_scaled_start()
        program, looker, panel = self.start(x, LOOKER, scaled_env)
        # Twice the picture, in device pixels, at twice its start position; the panel twice its unscaled size.
        looker_place = tuple(SCALE * v for v in LOOKER_AT)
        self.assertEqual(tuple(x.geometry(looker)), looker_place + (SCALE * FACE.width, SCALE * FACE.height))
        scaled_panel = x.geometry(panel)
        self.assertEqual((scaled_panel.width, scaled_panel.height),
                         (SCALE * plain_panel.width, SCALE * plain_panel.height))

        # The irises, for pointers on every side; all places in device pixels are logical ones times two, so a
        # logical pixel L covers the device pixels 2L and 2L + 1.
        for device_pointer in [(2000, 100), (100, 1400), (160, 4), (4, 110)]:
            pointer = (device_pointer[0] // SCALE, device_pointer[1] // SCALE)
            move_pointer(x, device_pointer)
            for i, eye in enumerate(EYES):
                cx, cy = iris_centre(eye, LOOKER_AT, pointer, i == 0)
                sx, sy = LOOKER_AT[0] + cx, LOOKER_AT[1] + cy
                shot = x.wait_for_pixel(SCALE * sx, SCALE * sy, PUPIL)
                where = "pointer %s, iris %d at %s" % (device_pointer, i + 1, (cx, cy))
                # The ring is one logical pixel, two device pixels, wide; the whole iris twice as big.
                for (lx, ly), part, rgb in [((sx, sy), 1, PUPIL),
                                            ((sx - 5, sy), 0, IRIS), ((sx - 5, sy), 1, IRIS),
                                            ((sx - 6, sy), 1, FACE.face),
                                            ((sx + 3, sy), 1, IRIS), ((sx + 4, sy), 0, FACE.face),
                                            ((sx, sy - 5), 0, IRIS), ((sx, sy - 6), 1, FACE.face)]:
                    dx, dy = SCALE * lx + part, SCALE * ly + part
                    self.assertEqual(shot.pixel(dx, dy), rgb, "%s: device pixel %s" % (where, (dx, dy)))
        # The key colour is cut away at the scaled place, and the face around it stays.
        hx, hy = FACE.hole_centre()
        shot = x.screenshot()
        self.assertEqual(shot.pixel(SCALE * (LOOKER_AT[0] + hx), SCALE * (LOOKER_AT[1] + hy)), ROOT)
        self.assertEqual(shot.pixel(SCALE * (LOOKER_AT[0] + 30), SCALE * (LOOKER_AT[1] + 70)), FACE.face)
        self.assertEqual(program.terminate(), 0, program.log())

        # A follower walks the way the arithmetic gives in logical pixels, and stops with the pointer inside.
        move_pointer(x, tuple(SCALE * v + 60 for v in FOLLOWER_AT))  # inside the follower-to-be: it stands
        program, follower, panel = self.start(x, FOLLOWER, scaled_env)
        start = x.geometry(follower)
        self.assertEqual(tuple(start), tuple(SCALE * v for v in FOLLOWER_AT) + (SCALE * FACE.width,
                                                                                SCALE * FACE.height))
        device_pointer = (1700, 1300)
        pointer = (device_pointer[0] // SCALE, device_pointer[1] // SCALE)
        move_pointer(x, device_pointer)
        seen = x.settle(follower)
        path = follow_path(FOLLOWER_AT, (FACE.width, FACE.height), pointer, FOLLOWER_SPEED)
        places = [(g.x, g.y) for g in seen]
        self.assertEqual(places[-1], tuple(SCALE * v for v in path[-1]), "stopped elsewhere; seen %s" % places)
        self.assertTrue(all((px // SCALE, py // SCALE) in path and px % SCALE == 0 and py % SCALE == 0
                            for px, py in places), "off the path: %s, path %s" % (places, path))
        final = seen[-1]
        self.assertTrue(final.x <= device_pointer[0] < final.x + final.width
                        and final.y <= device_pointer[1] < final.y + final.height, "pointer outside %s" % (final,))

        # A click at the scaled place of a control in the panel reaches it: the row's Scared of.
        panel_at = x.geometry(panel)
        x.click(panel_at.x + SCALE * (LIST_LEFT + SCARED_OF[0]), panel_at.y + SCALE * (LIST_TOP + SCARED_OF[1]))
        time.sleep(0.3)
        self.assertEqual(program.terminate(), 0, program.log())
        self.assertEqual(parse_ini(program.folder.read_ini())["Follower"]["Flee"], "1")

    def test_qt_scale_factor_2(self):
        with XSession(width=2048, height=1536, root_colour=ROOT) as x:
            self.check_scaled(x, scaled_env={"QT_SCALE_FACTOR": str(SCALE)})

    def test_desktop_at_192_dots_per_inch(self):
        with XSession(width=2048, height=1536, root_colour=ROOT) as x:
            def desktop_at_200_percent():
                x.run(["xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                       "Xft.dpi:\t192\n"])
            self.check_scaled(x, before_scaled_start=desktop_at_200_percent)


if __name__ == "__main__":
    unittest.main()
