#pragma once

#include "player/karaoke/KaraokeActions.h"
#include "player/karaoke/KaraokeControls.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QHBoxLayout;
class QLabel;
class QToolButton;

// The karaoke window's compact strip of karaoke controls, in two rows:
//   キー ♭ [+3] ♯   テンポ − [80%] +   ボーカル低減
//   歌詞オフセット − [+150 ms] +  保存   曲ごとに記憶
// The buttons are the actions' (CKaraokeActions); a double click on a value sets it back to
// neutral (the offset to the lyric file's own). Until it is bound to the actions it shows the
// neutral values, greyed.
class CKaraokeStrip : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ControlId = 1048;

    explicit CKaraokeStrip(QWidget* parent = nullptr);

    void Bind(CKaraokeActions& actions);
    bool IsBound() const { return m_actions != nullptr; }

    // The value labels, for what the user sees of them (tests, the window's tip).
    QLabel* KeyValue() const { return m_values[0]; }
    QLabel* TempoValue() const { return m_values[1]; }
    QLabel* OffsetValue() const { return m_values[2]; }
    QToolButton* Button(CKaraokeActions::Id id) const { return m_buttons[size_t(id)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddLabel(QHBoxLayout* row, int textId);
    QLabel* AddValue(QHBoxLayout* row, const QString& widest);
    QToolButton* AddButton(QHBoxLayout* row, CKaraokeActions::Id id, const QString& text);
    void Update();

    QPointer<CKaraokeActions> m_actions;
    std::array<QLabel*, 3> m_values{};
    std::array<QToolButton*, CKaraokeActions::Count> m_buttons{};
};
