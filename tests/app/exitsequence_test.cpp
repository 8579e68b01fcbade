#include "app/exitsequence.h"

#include "common/textfile.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

using namespace oboro;

namespace {

// A program folder with every temporary file present and hooks that record each step.
struct ExitFixture {
    QTemporaryDir dir;
    std::vector<std::string> steps;
    std::vector<std::string> refuse; // titles of questions answered with Cancel
    bool unsavedLine = true;
    bool clipboard = true;
    bool olderEdition = true;
    CollectingSink sink;

    ExitFixture()
    {
        for (const std::string& rel : exitTemporaryFiles()) {
            std::string p = rel;
            std::replace(p.begin(), p.end(), '\\', '/');
            test::writeFile(dir.path(), p.substr(1), "x");
        }
    }

    bool exists(const std::string& rel) const { return QFileInfo(dir.path() + QString::fromStdString(rel)).isFile(); }
    int temporaryFilesLeft() const
    {
        int n = 0;
        for (std::string rel : exitTemporaryFiles()) {
            std::replace(rel.begin(), rel.end(), '\\', '/');
            n += exists(rel) ? 1 : 0;
        }
        return n;
    }

    ExitHooks hooks()
    {
        ExitHooks h;
        h.folder = dir.path();
        h.ask = [this](const Message& m) {
            steps.push_back("ask " + m.title);
            return std::find(refuse.begin(), refuse.end(), m.title) == refuse.end();
        };
        h.unsavedMapLine = [this] { return unsavedLine; };
        h.clipboardUsed = [this] { return clipboard; };
        h.clearClipboard = [this] { steps.push_back("clear clipboard"); };
        h.saveSearchHistory = [this](const std::string& path) {
            steps.push_back("history " + path.substr(dir.path().size()) +
                            (temporaryFilesLeft() == 0 ? " (temporary files gone)" : ""));
        };
        h.configValues = [this] {
            steps.push_back("config values");
            ConfigValues v;
            v.SaveSettingsAtExit = false;
            return v;
        };
        h.closeMainWindow = [this] {
            steps.push_back(std::string("close window") + (exists("/mapdata/config.ini") ? " (config written)" : ""));
        };
        h.closeLog = [this] { steps.push_back("close log"); };
        h.olderEditionInPlace = [this] { return olderEdition; };
        h.restoreNewestEdition = [this] { steps.push_back("restore edition"); };
        return h;
    }
};

} // namespace

TEST(ExitProgram, RunsEveryStepInOrder)
{
    ExitFixture f;
    EXPECT_EQ(ExitProgram(f.hooks(), f.sink), ExitOutcome::Ended);
    EXPECT_EQ(f.steps, (std::vector<std::string>{
                           "ask 線データ新規作成",
                           "ask 白地図 Oboro の終了",
                           "ask クリップボードのデータ削除",
                           "clear clipboard",
                           "history /mapdata/townlist.lst (temporary files gone)",
                           "config values",
                           "close window (config written)",
                           "close log",
                           "restore edition",
                       }));
    EXPECT_TRUE(f.sink.messages.empty());
    const TextFile config = readSjisFile((f.dir.path() + "/mapdata/config.ini").toStdString());
    ASSERT_EQ(config.lines.size(), 24u);
    EXPECT_EQ(config.lines[0], "0,終了時の設定保存");
}

TEST(ExitProgram, QuestionsOnlyWhenNeededAndClipboardKeptOnCancel)
{
    ExitFixture f;
    f.unsavedLine = false;
    f.olderEdition = false;
    f.refuse = {"クリップボードのデータ削除"};
    EXPECT_EQ(ExitProgram(f.hooks(), f.sink), ExitOutcome::Ended);
    EXPECT_EQ(f.steps, (std::vector<std::string>{
                           "ask 白地図 Oboro の終了",
                           "ask クリップボードのデータ削除",
                           "history /mapdata/townlist.lst (temporary files gone)",
                           "config values",
                           "close window (config written)",
                           "close log",
                       }));
}

TEST(ExitProgram, CancelChangesNothing)
{
    for (const std::string refused : {"線データ新規作成", "白地図 Oboro の終了"}) {
        ExitFixture f;
        f.refuse = {refused};
        EXPECT_EQ(ExitProgram(f.hooks(), f.sink), ExitOutcome::Cancelled) << refused;
        EXPECT_EQ(f.steps.back(), "ask " + refused);
        EXPECT_EQ(f.temporaryFilesLeft(), static_cast<int>(exitTemporaryFiles().size()));
        EXPECT_FALSE(f.exists("/mapdata/config.ini"));
    }
}

TEST(ExitProgram, ConfigWriteFailureReachesTheUserAndTheEditionIsStillPutBack)
{
    ExitFixture f;
    // config.ini cannot be created: a folder of that name stands in its way.
    QDir(f.dir.path()).mkpath("mapdata/config.ini/x");
    EXPECT_EQ(ExitProgram(f.hooks(), f.sink), ExitOutcome::EndedWithConfigError);
    ASSERT_EQ(f.sink.messages.size(), 1u);
    EXPECT_EQ(f.sink.messages[0], configWriteErrorMessage());
    EXPECT_EQ(f.sink.messages[0].text, "構成ファイルを書き込めません　　　");
    ASSERT_GE(f.steps.size(), 3u);
    EXPECT_EQ(f.steps[f.steps.size() - 3], "close window");
    EXPECT_EQ(f.steps.back(), "restore edition");
}
