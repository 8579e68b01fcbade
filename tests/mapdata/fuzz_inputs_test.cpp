// The saved fuzz inputs (seed corpus and inputs that once found a fault) run through the
// same checks as the fuzz targets, so the normal and sanitizer suites keep them fixed.
#include "fuzz/targets.h"
#include "support/testsupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace oboro {
namespace {

struct Target {
    const char* name;
    void (*body)(const uint8_t*, size_t);
};

class FuzzInputs : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzInputs, SavedInputsPassTheTargetChecks)
{
    const Target& t = GetParam();
    int files = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const QDir dir(QString(OBORO_SOURCE_DIR) + "/fuzz/" + kind + "/" + t.name);
        for (const QString& f : dir.entryList(QDir::Files)) {
            SCOPED_TRACE(f.toStdString());
            const std::string bytes = test::readFileBytes(dir.filePath(f).toStdString());
            t.body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            ++files;
        }
    }
    EXPECT_GT(files, 0) << "no saved inputs for " << t.name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzInputs,
                         ::testing::Values(Target{"fields", fuzz::fieldsInput}, Target{"dms", fuzz::dmsInput},
                                           Target{"mapfile", fuzz::mapFileInput},
                                           Target{"namelists", fuzz::nameListsInput},
                                           Target{"history", fuzz::historyInput},
                                           Target{"readings", fuzz::readingsInput},
                                           Target{"stamps", fuzz::stampsInput},
                                           Target{"legend", fuzz::legendInput},
                                           Target{"paintfile", fuzz::paintFileInput},
                                           Target{"datapaint", fuzz::dataPaintInput},
                                           Target{"linefile", fuzz::lineFileInput},
                                           Target{"labelfile", fuzz::labelFileInput}),
                         [](const ::testing::TestParamInfo<Target>& i) { return std::string(i.param.name); });

} // namespace
} // namespace oboro
