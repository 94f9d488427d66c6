#pragma once

// String ids of the player's small dialogs.
enum DialogStringId : int {
    IDS_INVALID_FILE_NAME = 1220,
    IDS_SHORTCUT_EXISTS = 1302,
    // The framework's message when a field that takes an integer holds something else.
    IDS_PARSE_INT = 0xF110,
};

// Adds the dialogs' texts to the string table; calling it again changes nothing.
void RegisterDialogStrings();
