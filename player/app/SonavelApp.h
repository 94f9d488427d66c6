#pragma once

#include "common/ui/PathParts.h"
#include "player/app/CodePageTable.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class InstanceLock;

// The player's application object: single instance, registration switches, profile file,
// runtime locale, code-page table, then the main window for the whole life of the program.
class CSonavelApp
{
public:
    enum class RegistrationSwitch { None, Register, Unregister };

    static constexpr char MutexName[] = "SONAVEL_PROGRAM_ALREADY_RUNNING";
    static constexpr char AppId[] = "{6C597AD9-09E6-4C51-BB29-5D13DCF549C1}";

    explicit CSonavelApp(const QString& executablePath);
    ~CSonavelApp();

    // The running application, or nullptr outside of Run.
    static CSonavelApp* Instance();

    // Runs the start-up steps and the main window; returns the process's exit status.
    int Run(const QStringList& arguments);

    // Replaces the main window (tests); it returns when the window has ended.
    void SetMainWindowRunner(std::function<void()> runner) { m_runMainWindow = std::move(runner); }

    int LoadCodePageFile(const QString& path);
    const CCodePageTable& CodePages() const { return m_codePages; }
    const CPathParts& ExecutableParts() const { return m_executableParts; }
    QString ProfilePath() const;
    QString ApplicationName() const { return m_executableParts.Title; }

    // A switch counts only after "-" or "/" and only as the last thing on the command line.
    static RegistrationSwitch FindRegistrationSwitch(const QString& commandLine);
    static bool IsEmbeddingStart(const QStringList& arguments);
    // The desktop entry the package installs, which "-RegServer" writes with this executable.
    static QString InstalledDesktopEntry();
    // The folder or file to open: the last argument that is not a switch, made absolute (a
    // file:// URL becomes its path); empty when there is none.
    static QString FindPathArgument(const QStringList& arguments, const QString& workingFolder);
    // CodePage.txt beside the executable, else in the installed data folder.
    QString CodePageFilePath() const;

private:
    // The version values the build placed, for the About box.
    static void RegisterVersionResource();
    bool HandleRegistration(RegistrationSwitch registration) const;
    void FixProfileFile();
    // The interface's language: the profile's "Language", else the desktop's.
    void InstallLanguage();
    void SetLocale();
    void LoadCodePages();
    void RunMainWindow(const QString& path);

    CPathParts m_executableParts;
    CCodePageTable m_codePages;
    std::unique_ptr<InstanceLock> m_instanceLock;
    std::function<void()> m_runMainWindow;
};
