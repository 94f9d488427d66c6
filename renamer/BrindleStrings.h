#pragma once

// Brindle's string table.
namespace BrindleStrings {

enum Id {
    IdsAboutBox = 101,
    IdsOldNameHeader = 102,
    IdsNewNameHeader = 103,
    IdsFileNotFound = 104,
    IdsOverwrite = 105,
    IdsRenamedCount = 106,
    IdsInvalidName = 107,
};

// Adds the texts to the StringTable of common/ui.
void Register();

} // namespace BrindleStrings
