#pragma once

#include <QDialog>

// The player's main window.
class CSonavelDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CSonavelDlg(QWidget* parent = nullptr);
    ~CSonavelDlg() override;

public slots:
    // Ends the program as a log-off does: the closing path with settings saved.
    void EndSession();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ReadSettings();
    void SaveSettings();
};
