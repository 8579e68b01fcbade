#pragma once
// The main window offscreen on a copy of the bundled program folder, its messages
// collected instead of shown: the fixture of the flow tests that drive Oboro as a user
// does. Fixtures that need more set up call openMainWindow() from their own SetUp.
#include "app/gui/topen.h"
#include "common/gui/messagebox.h"
#include "common/log.h"
#include "common/paths.h"
#include "settings/gui/tken.h"
#include "support/dialogs.h"
#include "support/testsupport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace oboro::test {

class MainWindowFlow : public ::testing::Test {
protected:
    void SetUp() override { openMainWindow(); }
    void TearDown() override
    {
        w.reset();
        setMessageInterceptor(nullptr);
        DiagnosticLog::instance().close();
    }
    // Copies the named folders of data/ into a new program folder and opens the window.
    void openMainWindow(std::initializer_list<const char*> parts = {"mapdata"})
    {
        Canvas::installFontSubstitutions();
        for (const char* part : parts)
            ASSERT_TRUE(copyFolder(QStringLiteral(OBORO_SOURCE_DIR "/data/") + QLatin1String(part),
                                   folder.path() + QLatin1Char('/') + QLatin1String(part)));
        setProgramFolder(folder.path());
        dialogs = std::make_shared<QuietDialogs>();
        setMessageInterceptor([this](const Message& m) {
            dialogs->shown.push_back(m);
            return true;
        });
        w = std::make_unique<TOpen>(nullptr, dialogs);
    }

    // Ticks the areas in the prefecture window and presses 決　定: the map is shown.
    void select(std::initializer_list<int> areas)
    {
        for (int a : areas)
            w->ken()->areaBox(a)->setChecked(true);
        w->ken()->Button1->click();
        ASSERT_TRUE(w->session.mapShown);
    }
    void selectKanagawa() { select({13}); }
    // The window on the bundled map data with 神奈川 shown.
    void openKanagawa()
    {
        openMainWindow();
        if (!::testing::Test::HasFatalFailure())
            selectKanagawa();
    }

    QTemporaryDir folder;
    std::shared_ptr<QuietDialogs> dialogs;
    std::unique_ptr<TOpen> w;
};

} // namespace oboro::test
