#include "platform/varnkit/FolderPathEdit.h"

#include <QKeyEvent>

CFolderPathEdit::CFolderPathEdit(QWidget* parent) : QLineEdit(parent)
{
}

void CFolderPathEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit folderPathEntered();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
