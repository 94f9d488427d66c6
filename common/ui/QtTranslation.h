#pragma once

// Qt's own texts (standard buttons, the font and colour choosers) in Japanese, the language of
// both programs' user interface, from the system's Qt translations: message-box buttons read
// はい, いいえ, キャンセル and OK as on the original platform. Both programs call this at start-up;
// a second call changes nothing. Returns false, leaving Qt's English texts, when the system has
// no Japanese translation of Qt.
bool InstallQtTranslation();
