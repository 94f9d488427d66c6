#pragma once

#include <QCoreApplication>

// The one lookup of every text the user sees. The Japanese text is the source and stays the
// reference: on a Japanese desktop no catalogue is loaded and each text reads as written; elsewhere
// the English catalogue (translations/sonavel_en.ts) gives its translation. Tables that keep their
// texts as data mark them with QT_TRANSLATE_NOOP("Ui", ...) and look them up here when shown.
class Ui
{
    Q_DECLARE_TR_FUNCTIONS(Ui)
};
