"""Living characters on their own X server: a follower walks to the pointer and stops inside it, a
fleeing one runs and stays on the screen, the irises sit where the eye arithmetic puts them, and
Transparency and No_Mouseclick act with a compositor and change nothing without one."""

import math
import struct
import time
import unittest

from xsession import CHARACTER_TITLE, FacePicture, XSession, wait_until

ROOT = (30, 140, 90)
BACKDROP = (20, 60, 200)
IRIS = (0, 0, 255)
PUPIL = (255, 0, 0)
TPP = 15  # twips per pixel at 96 dots per inch

# 120 x 100: an elliptic face with the hole (50, 60, 20, 12) below the eyes.
FACE = FacePicture(120, 100, face=(230, 180, 40), key=(255, 0, 255), hole=(50, 60, 20, 12))
EYES = ((40, 40), (80, 40))
EYE_DIAMETER = (20, 14)
IRIS_DIAMETER = 9


def character(name, fixed_to, start, flee=0, speed=(30, 20), transparency=0, no_click=0, picture="face.bmp"):
    (x1, y1), (x2, y2) = EYES
    return (
        "[%s]\nName=%s\nImage_File=%s\nFixed_To=%d\nFlee=%d\nSpeed_X=%d\nSpeed_Y=%d\n"
        "Start_Position_X=%d\nStart_Position_Y=%d\nTransparency=%d\nNo_Mouseclick=%d\n"
        "Iris_Color=%d,%d,%d\nPupil_Color=%d,%d,%d\nIris_Width=1\n"
        "Eye1_Center_X=%d\nEye1_Center_Y=%d\nEye1_Diameter_X=%d\nEye1_Diameter_Y=%d\n"
        "Iris1_Diameter_X=%d\nIris1_Diameter_Y=%d\n"
        "Eye2_Center_X=%d\nEye2_Center_Y=%d\nEye2_Diameter_X=%d\nEye2_Diameter_Y=%d\n"
        "Iris2_Diameter_X=%d\nIris2_Diameter_Y=%d\n"
        % ((name, name, picture, fixed_to, flee) + tuple(speed) + tuple(start) + (transparency, no_click) + IRIS + PUPIL
           + (x1, y1) + EYE_DIAMETER + (IRIS_DIAMETER, IRIS_DIAMETER)
           + (x2, y2) + EYE_DIAMETER + (IRIS_DIAMETER, IRIS_DIAMETER)))


def ini(*characters):
    return "[General_Settings]\nProgram_Title=Living\n\n" + "\n".join(characters)


# -- the arithmetic, written out again here to know where things must be ---------------------------------------

def f32(value):
    return struct.unpack("f", struct.pack("f", value))[0]


def nearest(value):
    return round(value)  # Python rounds halves to the even neighbour


def follow_divisor(speed):
    return f32((10.0 ** (1.0 / (speed * speed)) - 1.0) * 50000.0)


def follow_path(start, size, pointer, speed):
    """The window positions (pixels) of a follower of a still pointer, tick by tick, until it stops."""
    fx, fy = follow_divisor(speed[0]), follow_divisor(speed[1])
    width, height = size[0] * TPP, size[1] * TPP
    tx, ty = pointer[0] * TPP, pointer[1] * TPP
    path = [tuple(start)]
    while len(path) < 1000:
        left, top = path[-1][0] * TPP, path[-1][1] * TPP
        dx, dy = f32(width / 2 + left - tx), f32(height / 2 + top - ty)
        if not (abs(dx) > width / 2 or abs(dy) > height / 2):
            return path
        new_left, new_top = f32(left - f32(dx / fx)), f32(top - f32(dy / fy))
        path.append((nearest(new_left / TPP), nearest(new_top / TPP)))
    raise AssertionError("the follower never stops")


def iris_centre(eye, window, pointer, first_eye):
    """The iris centre in window pixels for the pointer (screen pixels) and the window's place."""
    ex, ey = nearest(eye[0] * TPP), nearest(eye[1] * TPP)
    hx, hy = EYE_DIAMETER[0] / 2 * TPP, EYE_DIAMETER[1] / 2 * TPP
    tx, ty = pointer[0] * TPP, pointer[1] * TPP
    left, top = window[0] * TPP, window[1] * TPP
    dx, dy = ex + left - tx, ey + top - ty
    if abs(dx) > hx or abs(dy) > hy:
        dist = math.hypot(dx, dy)
        x, y = nearest(ex - dx / dist * hx), nearest(ey - dy / dist * hy)
    else:
        shift = 1 if first_eye else 0
        x, y = nearest(tx - left - shift), nearest(ty - top - shift)
    return nearest(x / TPP), nearest(y / TPP)


def move_pointer(x, point):
    """Moves the pointer unless it is there already (a synchronous move to where it stands waits for
    a motion that never comes)."""
    if x.pointer() != tuple(point):
        x.move_pointer(*point)


def click(x, point, button=1):
    move_pointer(x, point)
    x.click(button=button)


def drag(x, start, end, button=1, steps=10):
    move_pointer(x, start)
    x.press_button(button)
    for i in range(1, steps + 1):
        move_pointer(x, (start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps))
        time.sleep(0.03)
    x.release_button(button)


def close_to(rgb, expected, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, expected))


class LivingTest(unittest.TestCase):
    def start(self, x, text, count=1):
        program = x.start_program(x.program_folder(text, {"face.bmp": FACE.bmp_bytes(), "soft.png": FACE.png_bytes(200)}))
        windows = x.wait_for_windows(CHARACTER_TITLE, count, program=program)
        return program, windows

    def test_follower_walks_to_the_pointer_and_stops_inside(self):
        with XSession(root_colour=ROOT) as x:
            move_pointer(x, (160, 150))  # the centre of the window to come: inside it
            program, (wid,) = self.start(x, ini(character("Follower", 0, (100, 100), speed=(200, 120))))
            seen = x.settle(wid)
            self.assertEqual(tuple(seen[-1]), (100, 100, 120, 100), "moved although the pointer is inside it")

            pointer = (800, 520)
            move_pointer(x, pointer)
            seen = x.settle(wid)
            path = follow_path((100, 100), (120, 100), pointer, (200, 120))
            final = seen[-1]
            self.assertEqual((final.x, final.y), path[-1], "stopped elsewhere; seen %s" % seen)
            # Every place it was seen at lies on the way the arithmetic gives, in order.
            places = [(g.x, g.y) for g in seen]
            indices = [path.index(p) for p in places if p in path]
            self.assertEqual(len(indices), len(places), "off the path: %s, path %s" % (places, path))
            self.assertEqual(indices, sorted(indices))
            # Inside its extent, not centred on the pointer.
            cx, cy = final.x + 60, final.y + 50
            self.assertLessEqual(abs(cx - pointer[0]), 60)
            self.assertLessEqual(abs(cy - pointer[1]), 50)
            self.assertNotEqual((cx, cy), pointer)
            self.assertEqual(program.terminate(), 0, program.log())

    def test_fleeing_character_runs_and_stays_on_the_screen(self):
        with XSession(root_colour=ROOT) as x:
            move_pointer(x, (10, 10))
            program, (wid,) = self.start(x, ini(character("Runner", 0, (700, 500), flee=1, speed=(30, 30))))
            start = x.geometry(wid)
            # Push it to the lower right again and again: the pointer just above and left of its centre.
            for _ in range(40):
                g = x.geometry(wid)
                self.assertTrue(0 <= g.x <= 1024 - 120 and 0 <= g.y <= 768 - 100, "left the screen: %s" % (g,))
                move_pointer(x, (g.x + 60 - 3, g.y + 50 - 3))
                time.sleep(0.05)
                if (g.x, g.y) == (1024 - 120, 768 - 100):
                    break
            g = x.settle(wid)[-1]
            self.assertGreater(g.x, start.x)
            self.assertGreater(g.y, start.y)
            self.assertEqual(tuple(g), (1024 - 120, 768 - 100, 120, 100), "not in the corner with its edges on the "
                                                                           "screen's edges")
            # Pushed on into the corner it stays there.
            move_pointer(x, (g.x + 60 - 1, g.y + 50 - 1))
            time.sleep(0.3)
            self.assertEqual(tuple(x.geometry(wid)), tuple(g))
            self.assertEqual(program.terminate(), 0, program.log())

    def test_irises_are_where_the_arithmetic_puts_them(self):
        with XSession(root_colour=ROOT) as x:
            move_pointer(x, (1000, 140))  # far right, at the eyes' height
            program, (wid,) = self.start(x, ini(character("Looker", 1, (100, 100))))
            window = (100, 100)
            for pointer in [(1000, 140), (140, 700), (150, 10), (5, 60)]:
                move_pointer(x, pointer)
                for i, eye in enumerate(EYES):
                    cx, cy = iris_centre(eye, window, pointer, i == 0)
                    if pointer == (1000, 140):
                        self.assertEqual((cx, cy), (eye[0] + 10, eye[1]))  # half a diameter to the right
                    sx, sy = window[0] + cx, window[1] + cy
                    # Box (cx - 5, cy - 5) to (cx + 4, cy + 4), right and bottom exclusive.
                    shot = x.wait_for_pixel(sx, sy, PUPIL)
                    where = "pointer %s, iris %d at %s" % (pointer, i + 1, (cx, cy))
                    self.assertEqual(shot.pixel(sx - 5, sy), IRIS, where)
                    self.assertEqual(shot.pixel(sx + 3, sy), IRIS, where)
                    self.assertEqual(shot.pixel(sx - 6, sy), FACE.face, where)
                    self.assertEqual(shot.pixel(sx + 4, sy), FACE.face, where)
                    self.assertEqual(shot.pixel(sx, sy - 5), IRIS, where)
                    self.assertEqual(shot.pixel(sx, sy - 6), FACE.face, where)
                    # The eye centre shows the face unless the iris covers it.
                    if abs(cx - eye[0]) > 5 or abs(cy - eye[1]) > 5:
                        self.assertEqual(shot.pixel(window[0] + eye[0], window[1] + eye[1]), FACE.face, where)
            self.assertEqual(tuple(x.geometry(wid)), (100, 100, 120, 100), "a standing character moved")
            self.assertEqual(program.terminate(), 0, program.log())

    def check_transparency_and_click_through(self, x, layered):
        backdrop = x.backdrop(BACKDROP, 0, 0, 600, 400)
        move_pointer(x, (1000, 700))
        text = ini(character("Opaque", 1, (50, 50)),
                   character("Half", 2, (250, 50), transparency=128),
                   character("Ghost", 3, (50, 250), no_click=1),
                   character("Soft", 4, (450, 50), picture="soft.png"))
        program, windows = self.start(x, text, 4)
        by_place = {(x.geometry(w).x, x.geometry(w).y): w for w in windows}
        self.assertEqual(sorted(by_place), [(50, 50), (50, 250), (250, 50), (450, 50)], program.log())
        opaque, half, ghost = by_place[(50, 50)], by_place[(250, 50)], by_place[(50, 250)]

        face_at = (30, 70)  # a face pixel, away from the eyes and the hole
        x.wait_for_pixel(50 + face_at[0], 50 + face_at[1], FACE.face)
        time.sleep(0.3)
        shot = x.screenshot()
        half_pixel = shot.pixel(250 + face_at[0], 50 + face_at[1])
        if layered:
            # 255 - 128 = 127 of 255 face over the backdrop.
            alpha = 127 / 255
            blend = tuple(round(alpha * f + (1 - alpha) * b) for f, b in zip(FACE.face, BACKDROP))
            self.assertTrue(close_to(half_pixel, blend, 8), "%s is not the blend %s" % (half_pixel, blend))
        else:
            self.assertEqual(half_pixel, FACE.face)
        # A face of alpha 200 shows through its alpha where windows are translucent, and solid elsewhere.
        soft = tuple(round((200 * f + 55 * b) / 255) for f, b in zip(FACE.face, BACKDROP)) if layered else FACE.face
        soft_pixel = shot.pixel(450 + face_at[0], 50 + face_at[1])
        self.assertTrue(close_to(soft_pixel, soft, 8), "%s is not %s" % (soft_pixel, soft))
        self.assertEqual(shot.pixel(50 + face_at[0], 50 + face_at[1]), FACE.face)
        # The key colour is transparent either way.
        hx, hy = FACE.hole_centre()
        self.assertEqual(shot.pixel(250 + hx, 50 + hy), BACKDROP)
        self.assertEqual(shot.pixel(50 + hx, 250 + hy), BACKDROP)
        self.assertEqual(shot.pixel(50 + face_at[0], 250 + face_at[1]), FACE.face)

        # A click on the click-through face reaches the window below; on the others it does not.
        before = len(backdrop.clicks())
        click(x, (250 + face_at[0], 50 + face_at[1]))
        click(x, (50 + face_at[0], 250 + face_at[1]))
        if layered:
            wait_until(lambda: len(backdrop.clicks()) > before, 3, what="the click to pass through the ghost")
            time.sleep(0.2)
            self.assertEqual(backdrop.clicks()[before:], [(1, 50 + face_at[0], 250 + face_at[1])])
        else:
            time.sleep(0.4)
            self.assertEqual(backdrop.clicks()[before:], [], "a click went through a face")

        # A left drag on the ghost moves it only where it takes the mouse; the other faces always.
        drag(x, (50 + face_at[0], 250 + face_at[1]), (50 + face_at[0] + 100, 250 + face_at[1] + 40))
        if layered:
            time.sleep(0.3)  # time enough for a move that must not come
            self.assertEqual(tuple(x.geometry(ghost)), (50, 250, 120, 100), "the ghost took the drag")
        else:
            moved = x.wait_for_geometry(ghost, (150, 290, 120, 100), timeout=2)
            self.assertEqual((moved.x, moved.y), (150, 290))
        drag(x, (50 + face_at[0], 50 + face_at[1]), (50 + face_at[0] + 30, 50 + face_at[1] + 20))
        moved = x.wait_for_geometry(opaque, (80, 70, 120, 100), timeout=2)
        self.assertEqual((moved.x, moved.y), (80, 70))
        # A right drag moves nothing.
        drag(x, (250 + face_at[0], 50 + face_at[1]), (250 + face_at[0] + 60, 50 + face_at[1] + 60), button=3)
        time.sleep(0.2)
        self.assertEqual(tuple(x.geometry(half)), (250, 50, 120, 100))

        self.assertTrue(program.running(), program.log())
        self.assertEqual(program.terminate(), 0, program.log())

    def test_transparency_and_click_through_with_a_compositor(self):
        with XSession(window_manager=True, compositor=True, root_colour=ROOT) as x:
            self.check_transparency_and_click_through(x, layered=True)

    def test_transparency_and_click_through_without_a_compositor(self):
        with XSession(root_colour=ROOT) as x:
            self.check_transparency_and_click_through(x, layered=False)


if __name__ == "__main__":
    unittest.main()
