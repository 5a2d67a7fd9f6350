// The character editor.
#pragma once

// Opens the editor of character FensterIndex, modal.
void ShowCharacterEditor(int FensterIndex);
