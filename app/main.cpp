#include "app/gui/topen.h"
#include "app/rendercommand.h"
#include "app/startup.h"
#include "common/canvas.h"
#include "common/log.h"
#include "common/paths.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

// An exception that reaches the event loop is shown, and the program goes on.
class OboroApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox::critical(nullptr, QStringLiteral("Oboro"), QString::fromLocal8Bit(e.what()));
        } catch (...) {
            QMessageBox::critical(nullptr, QStringLiteral("Oboro"), QStringLiteral("予期しないエラーが発生しました"));
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    // The headless render command needs no window: it runs before any widget exists.
    if (argc > 1 && std::strcmp(argv[1], "render") == 0)
        return oboro::renderCommandMain(argc, argv);

    OboroApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Oboro9.1"));
    oboro::Canvas::installFontSubstitutions();

    // The program folder is the current directory unless --folder names another.
    const oboro::FolderChoice choice = oboro::chooseProgramFolder(QApplication::arguments(), QDir::currentPath());
    if (choice.folder.isEmpty() || !QDir::setCurrent(choice.folder)) {
        std::fprintf(stderr, "oboro: %s\n",
                     choice.error.empty() ? "フォルダに移れません" : choice.error.c_str());
        return 2;
    }
    oboro::setProgramFolder(choice.folder);

    oboro::TOpen window;
    window.show();
    const int rc = app.exec();
    oboro::DiagnosticLog::instance().close();
    return rc;
}
