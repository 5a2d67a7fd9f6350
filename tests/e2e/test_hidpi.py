"""A desktop scale factor of 2, asked for either way a Qt program on X11 learns of it (QT_SCALE_FACTOR, or the
X resource Xft.dpi of a desktop set to 200 %): every character window is twice its picture in screen pixels, the
key colour is still cut away, the irises sit where the eye arithmetic puts them and are twice as big, a follower
walks the same way as at scale 1 and stops with the pointer inside it, and the control panel keeps its proportions
and takes clicks at the scaled places."""

import unittest

from test_living import LivingChecks, character, ini, start
from test_panel import SCARED_OF
from xsession import LIST_LEFT, LIST_TOP, PANEL_TITLE, XSession, parse_ini


class HiDpiTest(LivingChecks, unittest.TestCase):
    def check_panel(self, x, env, plain_size):
        program, _ = start(x, ini(character("Looker", 1, (20, 20))), env=env)
        panel = x.geometry(x.wait_for_windows(PANEL_TITLE, 1, program=program)[0])
        if plain_size:
            self.assertEqual(panel[2:], tuple(2 * v for v in plain_size))
            x.click_in_row(panel, 0, SCARED_OF, scale=2)  # reaches the row's "Scared of" at its scaled place
            # Ended only once its dot shows the click taken: the ending signal could overtake the click.
            x.wait_for_pixel(panel.x + 2 * (LIST_LEFT + SCARED_OF[0]), panel.y + 2 * (LIST_TOP + SCARED_OF[1]), (75,) * 3)
        self.assertEqual(program.terminate(), 0, program.log())
        self.assertEqual(parse_ini(program.folder.read_ini())["Looker"]["Flee"], "1" if plain_size else "0")
        return panel[2:]

    def test_scale_factor_2_both_ways(self):
        with XSession(width=2048, height=1536) as x:
            plain_size = self.check_panel(x, None, None)
            for env in ({"QT_SCALE_FACTOR": "2"}, {}):
                if not env:  # a desktop at 200 %
                    x.run("xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                          "Xft.dpi:\t192\n")
                with self.subTest(env=env or "Xft.dpi 192"):
                    self.check_panel(x, env, plain_size)
                    self.check_irises(x, scale=2, window=(20, 20), env=env)
                    self.check_follower(x, scale=2, env=env)


if __name__ == "__main__":
    unittest.main()
