"""The character editor of the real program on its own X server: opened from the panel's "Advanced" button with
the mouse, a new name typed, an eye made larger with the keyboard, an eye centre clicked in the picker under its
lens, OK pressed in both; closing the panel then leaves all of it in the INI file."""

import time
import unittest

from xsession import EDITOR_TITLE, FacePicture, XSession, parse_ini, wait_until

PICKER_TITLE = "Lookabout  -  Select eye centers"
FACE = FacePicture(hole=(30, 35, 12, 10))
# Places inside the editor's client area at 96 dots per inch (twips / 15).
TITLE_FIELD = (144 + 150, 8 + 9)
EYE1_SIZE_X_CAPTION = (8 + 5 + 52, 232 + 20 + 3)  # above the slider's track: focus without a change
SELECT_CENTERS = (488 + 8 + 56, 8 + 184 + 12)
EDITOR_OK = (488 + 64, 320 + 16)
# The picker at its opening size, 458 x 342: OK is 53 x 33, 8 from the lower right corner.
PICKER_OK = (458 - 8 - 26, 342 - 8 - 16)
LENS_SIZE, LENS_OFFSET = 74, 20

INI = ("[General_Settings]\nAdvanced_Editing=1\nProgram_Title=Editor test\n\n"
       "[CHARACTER_1]\nName=Sunny\nImage_File=face.bmp\nFixed_To=1\nStart_Position_X=880\nStart_Position_Y=640\n"
       "Eye1_Center_X=40\nEye1_Center_Y=40\nEye1_Diameter_X=10\nEye1_Diameter_Y=12\n"
       "Eye2_Center_X=80\nEye2_Center_Y=40\nEye2_Diameter_X=10\nEye2_Diameter_Y=12\n\n")


def edit(x, name, steps):
    """Starts the program on INI, opens the first character's editor with the panel's "Advanced" button, types
    name as its title and widens eye 1 by steps; returns the program, the panel's id and the editor's geometry."""
    program, _, panel_id = x.start_characters(x.program_folder(INI, {"face.bmp": FACE.bmp_bytes()}), 1, panel=True)
    editor = x.open_editor(program, panel_id)
    x.click(editor.x + TITLE_FIELD[0], editor.y + TITLE_FIELD[1])
    x.key("ctrl+a")
    x.xdotool("type", "--delay", 20, name)
    x.click(editor.x + EYE1_SIZE_X_CAPTION[0], editor.y + EYE1_SIZE_X_CAPTION[1])
    x.key(*["Right"] * steps)
    time.sleep(0.5)  # the face is repainted 300 ms after the last change
    return program, panel_id, editor


class EditorTest(unittest.TestCase):
    def test_editor_and_picker(self):
        with XSession(window_manager=True) as x:
            # Changes never confirmed are not saved when the desktop session ends with the editor open.
            program = edit(x, "Half typed", 2)[0]
            self.assertEqual(program.terminate(), 0, program.log())
            saved = parse_ini(program.folder.read_ini())["CHARACTER_1"]
            self.assertEqual((saved["Name"], saved["Eye1_Diameter_X"]), ("Sunny", "10"))

            program, panel_id, editor = edit(x, "Rosy", 3)
            # The picker: a left click on picture pixel (50, 45) places eye 1; the lens follows the pointer and
            # its middle shows the face around the pointer, three times enlarged.
            x.click(editor.x + SELECT_CENTERS[0], editor.y + SELECT_CENTERS[1])
            picker = x.geometry(x.wait_for_windows(PICKER_TITLE, 1, program=program)[0])
            x.click(picker.x + 50, picker.y + 45)
            x.move_pointer(picker.x + 35, picker.y + 30)
            shot = x.wait_for_pixel(picker.x + 35 + LENS_OFFSET + LENS_SIZE // 2,
                                    picker.y + 30 + LENS_OFFSET + LENS_SIZE // 2, FACE.face)
            self.assertEqual(shot.pixel(picker.x + 35 + 1, picker.y + 30 + 1), FACE.face)
            x.click(picker.x + PICKER_OK[0], picker.y + PICKER_OK[1])
            wait_until(lambda: not x.windows(PICKER_TITLE), 5, "the picker to close")
            x.click(editor.x + EDITOR_OK[0], editor.y + EDITOR_OK[1])
            wait_until(lambda: not x.windows(EDITOR_TITLE), 5, "the editor to close")
            # Closing the panel through the window manager (its Alt+F4) ends the program and saves.
            x.key("alt+F4", window=panel_id)
            self.assertEqual(program.wait(10), 0, program.log())
            saved = parse_ini(program.folder.read_ini())["CHARACTER_1"]
            # Nothing else of the character changed.
            self.assertEqual([saved[k] for k in ("Name", "Eye1_Diameter_X", "Eye1_Center_X", "Eye1_Center_Y",
                                                 "Eye2_Diameter_X", "Eye1_Diameter_Y", "Eye2_Center_X", "Image_File")],
                             ["Rosy", "13", "50", "45", "10", "12", "80", "face.bmp"])


if __name__ == "__main__":
    unittest.main()
