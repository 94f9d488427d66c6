#include "common/ui/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler current;
    return current;
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<ButtonChoice> buttonsFor(unsigned type)
{
    switch (type) {
    case MB_OKCANCEL: return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO: return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL: return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default: return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon iconFor(unsigned flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// Closing the box from its frame answers Cancel where there is one, else the only button.
int resultWhenClosed(const std::vector<ButtonChoice>& choices)
{
    for (const auto& choice : choices)
        if (choice.result == IDCANCEL)
            return IDCANCEL;
    return choices.size() == 1 ? choices.front().result : IDNO;
}

} // namespace

int ShowMessageBox(QWidget* parent, const QString& text, const QString& caption, unsigned flags)
{
    if (handler())
        return handler()({text, caption, flags});
    const auto choices = buttonsFor(flags & MB_TYPEMASK);
    QMessageBox box(iconFor(flags), caption, text, QMessageBox::NoButton, parent);
    for (const auto& choice : choices)
        box.addButton(choice.button);
    const size_t defaultIndex = (flags & MB_DEFMASK) >> 8;
    if (defaultIndex < choices.size())
        box.setDefaultButton(choices[defaultIndex].button);
    box.exec();
    for (const auto& choice : choices)
        if (box.clickedButton() == box.button(choice.button))
            return choice.result;
    return resultWhenClosed(choices);
}

int AfxMessageBox(const QString& text, unsigned flags)
{
    return ShowMessageBox(QApplication::activeWindow(), text, QApplication::applicationName(), flags);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler replacement)
{
    MessageBoxHandler previous = std::move(handler());
    handler() = std::move(replacement);
    return previous;
}
