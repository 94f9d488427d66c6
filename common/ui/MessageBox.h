#pragma once

#include <QString>

#include <functional>

class QWidget;

// Message boxes with the Windows MB_ flags and ID results, so every Part can give the buttons
// and icons it names. Tests install a handler that records each prompt and answers it.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xF00,
};

enum MessageBoxResult : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

struct MessageBoxPrompt {
    QString text;
    QString caption;
    unsigned flags = MB_OK;
};

using MessageBoxHandler = std::function<int(const MessageBoxPrompt&)>;

// Shows the box modally and returns the ID of the button pressed.
int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned flags);
// The caption is the application name, as for AfxMessageBox.
int AfxMessageBox(const QString& text, unsigned flags = MB_OK);

// Replaces the real boxes (for tests); an empty handler restores them. Returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
