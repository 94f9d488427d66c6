#include "tests/i18n/WindowTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTreeWidget>

namespace {

QString describe(const QWidget* widget)
{
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName());
}

void add(QStringList& texts, const QString& where, const QString& text)
{
    if (!text.trimmed().isEmpty())
        texts << QStringLiteral("%1 '%2'").arg(where, text);
}

void addHeader(QStringList& texts, const QString& where, const QHeaderView* header)
{
    if (!header || !header->model())
        return;
    for (int section = 0; section < header->count(); ++section)
        add(texts, where + QStringLiteral(" header"),
            header->model()->headerData(section, header->orientation()).toString());
}

void addWidget(QStringList& texts, const QString& name, const QWidget* widget)
{
    const QString where = name + QStringLiteral(": ") + describe(widget);
    if (widget->isWindow())
        add(texts, where + QStringLiteral(" caption"), widget->windowTitle());
    add(texts, where + QStringLiteral(" tip"), widget->toolTip());
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        add(texts, where, label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        add(texts, where, button->text());
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        add(texts, where, group->title());
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        add(texts, where + QStringLiteral(" placeholder"), edit->placeholderText());
    if (const auto* header = qobject_cast<const QHeaderView*>(widget))
        addHeader(texts, where, header);
    // Rows hold the user's names; their tool tips (the reasons of marks) are the program's.
    if (const auto* tree = qobject_cast<const QTreeWidget*>(widget))
        for (int row = 0; row < tree->topLevelItemCount(); ++row)
            for (int column = 0; column < tree->columnCount(); ++column)
                add(texts, where + QStringLiteral(" row tip"), tree->topLevelItem(row)->toolTip(column));
    for (const QAction* action : widget->actions()) {
        add(texts, where + QStringLiteral(" action"), action->text());
        add(texts, where + QStringLiteral(" action tip"),
            action->toolTip() == action->text() ? QString() : action->toolTip());
        if (action->menu())
            texts << WindowTexts::shownInMenu(action->menu(), where);
    }
}

// The text as drawn: without its mnemonic marks.
QString drawnText(const QString& text)
{
    static const QRegularExpression mnemonic(QStringLiteral("&(?!&)"));
    return QString(text).remove(mnemonic).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

int widestLine(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : drawnText(text).split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The room a control leaves its text, or -1 when it is no control of this check.
int textRoom(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->wordWrap() || label->text().isEmpty() || Qt::mightBeRichText(label->text()))
            return -1;
        const int indent = std::max(label->indent(), 0);
        return label->contentsRect().width() - 2 * label->margin() - indent;
    }
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (button && !button->text().isEmpty()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<const QCheckBox*>(button))
            contents = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<const QRadioButton*>(button))
            contents = QStyle::SE_RadioButtonContents;
        else if (!qobject_cast<const QPushButton*>(button))
            return -1;
        int room = button->style()->subElementRect(contents, &option, button).width();
        if (!button->icon().isNull())
            room -= button->iconSize().width() + 4;
        return room;
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        if (group->title().isEmpty())
            return -1;
        // The frame's corner and the title's own margins on both sides.
        return group->width() - 2 * group->style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, group);
    }
    return -1;
}

// A group box of the same parent whose frame or title the control overlaps without lying inside it.
const QGroupBox* frameUnder(const QWidget* widget)
{
    if (!widget->parentWidget() || qobject_cast<const QGroupBox*>(widget))
        return nullptr;
    for (const QGroupBox* group : widget->parentWidget()->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly)) {
        const QRect inside = group->contentsRect().translated(group->pos());
        if (group->isVisible() && group->geometry().intersects(widget->geometry()) &&
            !inside.contains(widget->geometry()))
            return group;
    }
    return nullptr;
}

QString textOf(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return {};
}

} // namespace

namespace WindowTexts {

QStringList shown(const QWidget* window, const QString& name)
{
    QStringList texts;
    addWidget(texts, name, window);
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (const auto* menu = qobject_cast<const QMenu*>(widget))
            texts << shownInMenu(menu, name);
        else
            addWidget(texts, name, widget);
    }
    return texts;
}

QStringList shownInMenu(const QMenu* menu, const QString& name)
{
    QStringList texts;
    const QString where = name + QStringLiteral(": menu '") + menu->title() + QLatin1Char('\'');
    add(texts, where + QStringLiteral(" title"), menu->title());
    for (const QAction* action : menu->actions()) {
        add(texts, where, action->text());
        if (action->toolTip() != drawnText(action->text()))
            add(texts, where + QStringLiteral(" tip"), action->toolTip());
        if (action->menu() && action->menu() != menu)
            texts << shownInMenu(action->menu(), where);
    }
    return texts;
}

bool hasJapanese(const QString& text)
{
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(japanese);
}

QStringList japanese(const QStringList& texts)
{
    QStringList found;
    for (const QString& text : texts)
        if (hasJapanese(text))
            found << text;
    return found;
}

QStringList clipped(const QWidget* window, const QString& name)
{
    QStringList found;
    QList<const QWidget*> widgets{window};
    for (const QWidget* child : window->findChildren<QWidget*>())
        widgets << child;
    for (const QWidget* widget : widgets) {
        if (!widget->isVisibleTo(window) || qobject_cast<const QMenu*>(widget))
            continue;
        const int room = textRoom(widget);
        if (room < 0)
            continue;
        const int width = widestLine(widget->fontMetrics(), textOf(widget));
        if (width > room)
            found << QStringLiteral("%1: %2 '%3' needs %4 px, has %5")
                         .arg(name, describe(widget), textOf(widget))
                         .arg(width)
                         .arg(room);
        if (const QGroupBox* frame = frameUnder(widget))
            found << QStringLiteral("%1: %2 '%3' lies on the frame of '%4'")
                         .arg(name, describe(widget), textOf(widget), frame->title());
    }
    return found;
}

} // namespace WindowTexts
