"""Living characters: a follower walks to the pointer and stops inside it, a fleeing one runs and stays on the
screen, the irises sit where the eye arithmetic puts them, and Transparency, a soft PNG face and No_Mouseclick act
with a compositor and change nothing but the soft edge without one."""

import math
import pathlib
import struct
import time
import unittest

from xsession import FacePicture, XSession, wait_until

BACKDROP = (20, 60, 200)
IRIS = (0, 0, 255)
PUPIL = (255, 0, 0)
TPP = 15  # twips per pixel at 96 dots per inch
FACE = FacePicture()  # 120 x 100: an elliptic face with the hole (50, 60, 20, 12) below the eyes

EYES = ((40, 40), (80, 40))
EYE_DIAMETER = (20, 14)
IRIS_DIAMETER = 9


def character(name, fixed_to, start, flee=0, speed=(30, 20), transparency=0, no_click=0, picture="face.bmp"):
    eye = "Eye%d_Center_X=%d\nEye%d_Center_Y=%d\nEye%d_Diameter_X=%d\nEye%d_Diameter_Y=%d\n" \
          "Iris%d_Diameter_X=%d\nIris%d_Diameter_Y=%d\n"
    return ("[%s]\nName=%s\nImage_File=%s\nFixed_To=%d\nFlee=%d\nSpeed_X=%d\nSpeed_Y=%d\nStart_Position_X=%d\n"
            "Start_Position_Y=%d\nTransparency=%d\nNo_Mouseclick=%d\nIris_Color=%d,%d,%d\nPupil_Color=%d,%d,%d\n"
            "Iris_Width=1\n" % ((name, name, picture, fixed_to, flee) + speed + start + (transparency, no_click)
                                + IRIS + PUPIL)
            + "".join(eye % (k, EYES[k - 1][0], k, EYES[k - 1][1], k, EYE_DIAMETER[0], k, EYE_DIAMETER[1],
                             k, IRIS_DIAMETER, k, IRIS_DIAMETER) for k in (1, 2)))


def ini(*characters):
    return "[General_Settings]\nProgram_Title=Living\n\n" + "\n".join(characters)


# -- the arithmetic, written out again here to know where things must be ---------------------------------------

def f32(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def follow_path(start, size, pointer, speed):
    """The window positions (pixels) of a follower of a still pointer, tick by tick, until it stops."""
    fx, fy = (f32((10.0 ** (1.0 / (s * s)) - 1.0) * 50000.0) for s in speed)
    width, height, tx, ty = size[0] * TPP, size[1] * TPP, pointer[0] * TPP, pointer[1] * TPP
    path = [tuple(start)]
    while len(path) < 1000:
        left, top = path[-1][0] * TPP, path[-1][1] * TPP
        dx, dy = f32(width / 2 + left - tx), f32(height / 2 + top - ty)
        if not (abs(dx) > width / 2 or abs(dy) > height / 2):
            return path
        path.append((round(f32(left - f32(dx / fx)) / TPP), round(f32(top - f32(dy / fy)) / TPP)))
    raise AssertionError("the follower never stops")


def iris_centre(eye, window, pointer, first_eye):
    """The iris centre in window pixels for the pointer (screen pixels) and the window's place."""
    ex, ey = round(eye[0] * TPP), round(eye[1] * TPP)
    hx, hy = EYE_DIAMETER[0] / 2 * TPP, EYE_DIAMETER[1] / 2 * TPP
    dx, dy = ex + (window[0] - pointer[0]) * TPP, ey + (window[1] - pointer[1]) * TPP
    if abs(dx) > hx or abs(dy) > hy:
        dist = math.hypot(dx, dy)
        x, y = round(ex - dx / dist * hx), round(ey - dy / dist * hy)
    else:
        shift = 1 if first_eye else 0
        x, y = round((pointer[0] - window[0]) * TPP - shift), round((pointer[1] - window[1]) * TPP - shift)
    return round(x / TPP), round(y / TPP)


def context_switches(program, seconds):
    """The program's context switches, all threads, over the next seconds."""
    def count():
        return sum(int(line.split()[1]) for status in pathlib.Path("/proc/%d/task" % program.pid).glob("*/status")
                   for line in status.read_text().splitlines() if "ctxt_switches:" in line)
    before = count()
    time.sleep(seconds)
    return count() - before


def start(x, text, count=1, env=None):
    folder = x.program_folder(text, {"face.bmp": FACE.bmp_bytes(), "soft.png": FACE.png_bytes(200)})
    return x.start_characters(folder, count, env=env)[:2]


class LivingChecks:
    """Checks at a scale of 1 or 2: at 2 a logical pixel L covers the device pixels 2L and 2L + 1."""

    def check_follower(self, x, scale=1, env=None):
        x.move_pointer(160 * scale, 150 * scale)  # the centre of the window to come: inside it
        program, (wid,) = start(x, ini(character("Follower", 0, (100, 100), speed=(200, 120))), env=env)
        self.assertEqual(tuple(x.settle(wid)[-1]), tuple(scale * v for v in (100, 100, 120, 100)),
                         "moved although the pointer is inside it")
        # Nothing can change while the pointer rests: the program sleeps (a tick wakes it 45 times a second)...
        self.assertLess(context_switches(program, 1.0), 10, "it keeps ticking")
        # ...until the pointer moves: then the follower is on its way within a few ticks.
        x.move_pointer(800 * scale, 520 * scale)
        wait_until(lambda: x.geometry(wid)[:2] != (100 * scale, 100 * scale), 0.5, "a step after the motion")
        seen = [(g.x / scale, g.y / scale) for g in x.settle(wid)]
        path = follow_path((100, 100), (120, 100), (800, 520), (200, 120))
        # It stops where the arithmetic stops it (the pointer inside its extent, not centred on it), and every
        # place it was seen at lies on the way there, in order.
        self.assertEqual(seen[-1], path[-1], "stopped elsewhere; seen %s" % seen)
        self.assertTrue(set(seen) <= set(path), "off the path: %s, path %s" % (seen, path))
        self.assertEqual([path.index(p) for p in seen], sorted(path.index(p) for p in seen))
        self.assertEqual(program.terminate(), 0, program.log())

    def check_fleeing(self, x):
        x.move_pointer(10, 10)
        program, (wid,) = start(x, ini(character("Runner", 0, (700, 500), flee=1, speed=(30, 30))))
        # Push it to the lower right again and again: the pointer just above and left of its centre.
        for _ in range(40):
            g = x.geometry(wid)
            self.assertTrue(0 <= g.x <= 1024 - 120 and 0 <= g.y <= 768 - 100, "left the screen: %s" % (g,))
            if (g.x, g.y) == (1024 - 120, 768 - 100):
                break
            x.move_pointer(g.x + 60 - 3, g.y + 50 - 3)
            time.sleep(0.05)
        g = x.settle(wid)[-1]
        self.assertEqual(tuple(g), (1024 - 120, 768 - 100, 120, 100), "not in the corner on the screen's edges")
        # Pushed on into the corner it stays there.
        x.move_pointer(g.x + 60 - 1, g.y + 50 - 1)
        time.sleep(0.3)
        self.assertEqual(x.geometry(wid), g)
        self.assertEqual(program.terminate(), 0, program.log())

    def check_irises(self, x, scale=1, window=(100, 100), env=None):
        """Irises for pointers on every side; the iris's ring of one logical pixel is two device pixels wide
        at a scale of 2."""
        program, (wid,) = start(x, ini(character("Looker", 1, window)), env=env)
        self.assertEqual(tuple(x.geometry(wid)), tuple(scale * v for v in window + (120, 100)))
        for device_pointer in [(1000, 140), (140, 700), (150, 10), (5, 60)]:
            pointer = (device_pointer[0] // scale, device_pointer[1] // scale)
            x.move_pointer(*device_pointer)
            for i, eye in enumerate(EYES):
                cx, cy = iris_centre(eye, window, pointer, i == 0)
                sx, sy = window[0] + cx, window[1] + cy
                shot = x.wait_for_pixel(scale * sx + scale - 1, scale * sy + scale - 1, PUPIL)
                for (lx, ly), part, rgb in [((-5, 0), 0, IRIS), ((-5, 0), 1, IRIS), ((-6, 0), 1, FACE.face),
                                            ((3, 0), 1, IRIS), ((4, 0), 0, FACE.face),
                                            ((0, -5), 0, IRIS), ((0, -6), 1, FACE.face)]:
                    px, py = scale * (sx + lx) + part * (scale - 1), scale * (sy + ly) + part * (scale - 1)
                    self.assertEqual(shot.pixel(px, py), rgb, "pointer %s, iris %d at %s: device pixel %s"
                                     % (device_pointer, i + 1, (cx, cy), (px, py)))
        # The key colour is cut away, and the face around it stays.
        hx, hy = FACE.hole_centre()
        self.assertEqual(shot.pixel(scale * (window[0] + hx), scale * (window[1] + hy)), (255, 255, 255))
        self.assertEqual(tuple(x.geometry(wid)), tuple(scale * v for v in window + (120, 100)), "it moved")
        self.assertEqual(program.terminate(), 0, program.log())

    def check_transparency_and_click_through(self, x, layered):
        backdrop = x.backdrop(BACKDROP, 0, 0, 600, 400)
        x.move_pointer(1000, 700)
        program, windows = start(x, ini(character("Opaque", 1, (50, 50)),
                                        character("Half", 2, (250, 50), transparency=128),
                                        character("Ghost", 3, (50, 250), no_click=1),
                                        character("Soft", 4, (450, 50), picture="soft.png")), 4)
        by_place = {tuple(x.geometry(w))[:2]: w for w in windows}
        self.assertEqual(sorted(by_place), [(50, 50), (50, 250), (250, 50), (450, 50)], program.log())
        fx, fy = 30, 70  # a face pixel, away from the eyes and the hole
        x.wait_for_pixel(50 + fx, 50 + fy, FACE.face)
        time.sleep(0.3)
        shot = x.screenshot()
        # 255 - 128 = 127 of 255 face over the backdrop, and a face of alpha 200, where windows are translucent;
        # solid faces elsewhere, but the soft face's transparent pixels are cut away either way.
        def blend(alpha):
            return tuple(round((alpha * f + (255 - alpha) * b) / 255) for f, b in zip(FACE.face, BACKDROP))

        for (left, top), expected in [((250, 50), blend(127)), ((450, 50), blend(200)), ((50, 250), blend(255))]:
            pixel = shot.pixel(left + fx, top + fy)
            self.assertTrue(all(abs(a - b) <= 8 for a, b in zip(pixel, expected if layered else FACE.face)), pixel)
        self.assertEqual(shot.pixel(450 + 1, 50 + 1), BACKDROP)
        hx, hy = FACE.hole_centre()
        self.assertEqual(shot.pixel(250 + hx, 50 + hy), BACKDROP)

        # A click on the click-through face reaches the window below; on the others it does not.
        x.click(250 + fx, 50 + fy)
        x.click(50 + fx, 250 + fy)
        self.assertEqual(backdrop.clicks(), [(1, 50 + fx, 250 + fy)] if layered else [])
        # A left drag on the ghost moves it only where it takes the mouse; the other faces always. (Away from
        # the click: no double click; and left of the panel, which the click need not have raised it above yet.)
        x.drag((50 + 60, 250 + 85), (150 + 60, 290 + 85))
        x.drag((50 + fx, 50 + fy), (80 + fx, 70 + fy))
        self.assertEqual(x.settle(by_place[(50, 50)])[-1][:2], (80, 70))
        self.assertEqual(x.geometry(by_place[(50, 250)])[:2], (50, 250) if layered else (150, 290))
        # A right drag moves nothing.
        x.drag((250 + fx, 50 + fy), (310 + fx, 110 + fy), button=3)
        time.sleep(0.2)
        self.assertEqual(x.geometry(by_place[(250, 50)])[:2], (250, 50))
        self.assertEqual(program.terminate(), 0, program.log())


class LivingTest(LivingChecks, unittest.TestCase):
    def test_without_a_compositor(self):
        with XSession() as x:
            self.check_follower(x)
            self.check_fleeing(x)
            self.check_irises(x)
            self.check_transparency_and_click_through(x, layered=False)

    def test_with_a_compositor(self):
        with XSession(window_manager=True, compositor=True) as x:
            self.check_transparency_and_click_through(x, layered=True)


if __name__ == "__main__":
    unittest.main()
