#pragma once

#include "platform/profile/Profile.h"
#include "player/app/SonavelStrings.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TestFiles.h"

#include <memory>

// What a test of the player's windows runs in: the player's strings and HOME in a temporary
// folder for the whole test program, and for each test function a fresh folder holding the
// profile, with a recorder answering every prompt. Header only: test_support does not link the
// player.
struct PlayerSandbox {
    // In initTestCase.
    void SetUpHome()
    {
        RegisterSonavelStrings();
        home = std::make_unique<TempFolder>();
        qputenv("HOME", home->path().toUtf8());
    }
    // In init.
    void SetUpTest()
    {
        temp = std::make_unique<TempFolder>();
        Profile::setPath(temp->file(QStringLiteral("sonavel.ini")));
        boxes = std::make_unique<MessageBoxRecorder>();
    }
    // In cleanup.
    void TearDownTest()
    {
        boxes.reset();
        temp.reset();
    }

    std::unique_ptr<TempFolder> home;
    std::unique_ptr<TempFolder> temp;
    std::unique_ptr<MessageBoxRecorder> boxes;
};
