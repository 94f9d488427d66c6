#pragma once

#include <QStringView>

// The C runtime's _wtoi: leading white space, an optional sign, decimal digits up to the first
// other character; no digits give 0. Values past 32 bits wrap instead of overflowing.
int WToI(QStringView text);
