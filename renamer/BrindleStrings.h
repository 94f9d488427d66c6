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
    // Undo, the journal and the summary's failures.
    IdsUndo = 110,
    IdsRestoredCount = 111,
    IdsNotRestoredCount = 112,
    IdsFailedCount = 113,
    IdsMoreFailures = 114,
    IdsUnfinishedRun = 115,
    IdsDamagedJournal = 116,
    IdsNoJournal = 117,
    // Why a row fails or asks: the summary's reasons and the preview's tool tips.
    IdsTargetNotFreed = 120,
    IdsSameFileAsRow = 121,
    IdsCycleUndone = 122,
    IdsLeftTemporary = 123,
    IdsTemporaryTaken = 124,
    IdsDeclined = 125,
    IdsNotAName = 126,
    IdsEmptyNewName = 127,
    IdsControlCharacter = 128,
    IdsSameNewNameAsRow = 129,
    IdsWillAskOverwrite = 130,
    IdsOldNameHeldByRun = 131,
    IdsFolderUnavailable = 132,
};

// Adds the texts to the StringTable of common/ui.
void Register();

} // namespace BrindleStrings
