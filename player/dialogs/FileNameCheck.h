#pragma once

#include <QStringView>

// The renamer's file-name rule without its message: false when the name holds any of
// \ / : , ; * ? " < > |, true otherwise.
bool IsFileNameCorrectSilent(QStringView name);
