// The character editor.
#include "editor/frmAdvSet.h"

void ShowCharacterEditor(int) {}
