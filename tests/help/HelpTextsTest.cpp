// The help texts word for word, as the program's documentation quotes them, and how they are stored.
#include "help/HelpTexts.h"

#include <gtest/gtest.h>

namespace {

const std::string kContact = "(the contact address is in the README file that comes with Lookabout)";

const std::vector<std::string> kGeneral = {
    "=== The character settings in the main window ===",
    "",
    "The characters have five different modes of behaviour:",
    "1. Follow the mouse pointer",
    "2. Run away from the mouse pointer",
    "3. Follow one of the other characters",
    "4. Run away from one of the other characters",
    "5. Stand still and look to the mouse pointer",
    "",
    "These modes can be changed with the 'Curious about' and 'Scared of' options and with the character drop down "
    "list.",
    "",
    "Aditionally the vertical and horizontal speed and the visibility can be changed.",
    "With Windows 2000/XP or later the transparency (alpha) can be changed and it is possible to turn off interactions "
    "with the mouse.",
    "",
    "=== Keyboard commands ===",
    "",
    "- F1: Help",
    "- Space or Enter: Switch between 'follow' and 'run away from'",
    "- Alt-F4: End the program",
    "- F12: Minimize / maximize the character window",
    "",
    "=== Advanced Settings: The character editor (= skin editor) ===",
    "",
    "Make a Lookabout with the faces of your favourite stars, friends or enemies!",
    "In the file 'Lookabout.ini' there must be the entry 'Advanced_Editing=1' in the '[General_Settings]' section.",
    "When it is there, an 'Advanced' button appears for each character in the main window and it is possible to change "
    "the title of the program and to add or delete characters.",
    "",
    "=== Contact ===",
    "",
    "If you have any questions, skins, bug reports, comments or suggestions, mail to the author of this program:",
    kContact,
    "",
};

const std::vector<std::string> kAdvanced = {
    "=== Advanced Settings: The character editor (= skin editor) ===",
    "",
    "Make a Lookabout with the faces of your favourite stars, friends or enemies!",
    "All you need is a BMP or GIF file of a face with empty eyes and a single backgound color. The color of the upper "
    "left pixel determines the transparent part of the image.",
    "",
    "In the file 'Lookabout.ini' there must be the entry 'Advanced_Editing=1' in the '[General_Settings]' section.",
    "When it is there, an 'Advanced' button appears for each character in the main window and it is possible to change "
    "the title of the program and to add or delete characters.",
    "In the advanced settings window it is possible to change:",
    "- the name of the character",
    "- the image file of the character",
    "- positions of the two eyes within the image",
    "- sizes of the eyes and their irises with separate vertical and horizontal diameters",
    "- width of the irises",
    "- colors of the eyes and the pupils",
    "- the initial position of the character on the screen when the program is started.",
    "",
    "When you have created your own Lookabout skin, you are encouraged to offer it for download.",
    "Just pack the files 'Lookabout.exe' and 'Lookabout.ini' together with your image files into a ZIP file and put it "
    "on your homepage.",
    "If you do so, please mail me the URL (address) and I will put a link on the Lookabout home page.",
    "",
    "Important: You are not allowed to charge money for your skins!!",
    "",
    "=== Contact ===",
    "",
    "If you have a new skin, send me an e-mail to:",
    kContact,
    "",
};

TEST(HelpText, BothTextsAreTheQuotedLinesJoinedByCrLf) {
    for (const auto& [id, lines] : {std::pair{GeneralHelpText, kGeneral}, std::pair{AdvancedHelpText, kAdvanced}}) {
        EXPECT_EQ(HelpTextLines(id), lines);
        std::string joined = lines[0];
        for (std::size_t i = 1; i < lines.size(); ++i)
            joined += "\r\n" + lines[i];
        EXPECT_EQ(HelpText(id), joined);
    }
    EXPECT_EQ(HelpText(7), HelpText(GeneralHelpText)); // an unknown number gives the general help
}

} // namespace
