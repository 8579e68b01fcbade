#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Set before the QApplication exists, or test discovery aborts without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
