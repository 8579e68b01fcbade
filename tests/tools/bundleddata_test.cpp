// The bundled map data is what its script makes: running scripts/bundle-data.sh on the
// reference data gives data/mapdata byte for byte (the builder's output depends on its
// input only). Needs the reference data beside the checkout.
#include "support/testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

// Every file below dir/mapdata by relative path, with its bytes.
std::map<QString, std::string> filesBelow(const QString& dir)
{
    std::map<QString, std::string> out;
    const QString root = dir + QStringLiteral("/mapdata");
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out[QDir(root).relativeFilePath(path)] = oboro::test::readFileBytes(path.toStdString());
    }
    return out;
}

TEST(BundledData, IsWhatTheScriptWrites)
{
    if (!oboro::test::haveSharedData())
        GTEST_SKIP() << "no reference data beside the checkout";
    QTemporaryDir out;
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(OBORO_SOURCE_DIR "/scripts/bundle-data.sh"), QStringLiteral("--out"),
                                          out.path(), QStringLiteral("--shared"),
                                          QString::fromStdString(oboro::test::sharedDataDir()),
                                          QStringLiteral("--mkmapdata"), QStringLiteral(MKMAPDATA_EXE)});
    ASSERT_TRUE(script.waitForFinished(300000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();

    const auto made = filesBelow(out.path());
    const auto committed = filesBelow(oboro::test::bundledDataDir());
    ASSERT_GT(made.size(), 150u);
    for (const auto& [name, bytes] : made) {
        const auto it = committed.find(name);
        if (it == committed.end())
            ADD_FAILURE() << name.toStdString() << " is not in data/mapdata";
        else
            EXPECT_TRUE(it->second == bytes) << name.toStdString() << " differs: run scripts/bundle-data.sh";
    }
    for (const auto& [name, bytes] : committed)
        EXPECT_TRUE(made.count(name)) << name.toStdString() << " is not made by the script";
}

} // namespace
