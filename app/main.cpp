#include "app/gui/topen.h"
#include "app/programinfo.h"
#include "app/qttranslations.h"
#include "app/rendercommand.h"
#include "app/startup.h"
#include "common/canvas.h"
#include "common/log.h"
#include "common/paths.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#include <QLocale>

#include <cstdio>
#include <cstdlib>
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

// While the application connects to the window system, Qt's notes about the platform
// plugin stay quiet, and its abort when no display can be opened becomes one clear line
// and an exit status.
void quietPlatformStart(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "oboro: %s\n", oboro::displayUnreachableText().c_str());
        std::_Exit(1);
    }
    if (type == QtCriticalMsg || (context.category && std::strncmp(context.category, "qt.qpa", 6) != 0 && type != QtDebugMsg))
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv)
{
    // The headless render command needs no window: it runs before any widget exists.
    if (argc > 1 && std::strcmp(argv[1], "render") == 0)
        return oboro::renderCommandMain(argc, argv);
    // --help and --version answer without a display.
    if (const auto text = oboro::informationRequest(argc, argv)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    const std::string noDisplay = oboro::displayProblem([](const char* name) {
        const char* v = std::getenv(name);
        return std::string(v ? v : "");
    });
    if (!noDisplay.empty()) {
        std::fprintf(stderr, "oboro: %s\n", noDisplay.c_str());
        return 1;
    }

    const QtMessageHandler previous = qInstallMessageHandler(quietPlatformStart);
    OboroApplication app(argc, argv);
    qInstallMessageHandler(previous);
    // Qt's own dialogs and buttons in Japanese, whatever the system locale.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    oboro::installJapaneseQtTranslations(app);
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
