// The main window's meeting points with the karaoke window, the lyric commands and the scrolling
// information line. Each function is the one place where that code plugs in; until it does, they
// do nothing.

#include "player/app/SonavelDlg.h"

#include <QFrame>

QWidget* CSonavelDlg::CreateScrollLine(QWidget* parent)
{
    // Scrolling information line 1007.
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::Panel);
    line->setFrameShadow(QFrame::Sunken);
    line->setAutoFillBackground(true);
    QPalette colours = line->palette();
    colours.setColor(QPalette::Window, Qt::black);
    line->setPalette(colours);
    return line;
}

void CSonavelDlg::LoadLyricsForNewTrack(const QString&, int)
{
    // Loads the lyric file found for the playing item (row -1 when it is not listed).
}

void CSonavelDlg::CloseKaraokeUnlessEditing()
{
    // Closes the karaoke window on stop unless its time tags are being edited.
}

void CSonavelDlg::DestroyKaraokeWindow()
{
    // Destroys the karaoke window when it exists (main window destruction).
}

void CSonavelDlg::SetKaraokeClipOnDesktop(bool)
{
    // Hands "ClipOnDesktop" to the karaoke window.
}

void CSonavelDlg::LoadKaraokeMenus()
{
    // Loads the karaoke pop-up menus of the track list.
}

void CSonavelDlg::PassPositionToScrollLine(double)
{
    // Gives the playing position to the scrolling line's lyrics.
}

void CSonavelDlg::PassPositionToKaraoke(double)
{
    // Gives the playing position to the karaoke window.
}
