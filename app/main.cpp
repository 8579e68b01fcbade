#include "app/gui/topen.h"
#include "app/rendercommand.h"
#include "common/canvas.h"
#include "common/paths.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // The headless render command needs no window: it runs before any widget exists.
    if (argc > 1 && std::strcmp(argv[1], "render") == 0)
        return oboro::renderCommandMain(argc, argv);

    QApplication app(argc, argv);
    oboro::Canvas::installFontSubstitutions();

    // The program folder is the current directory unless --folder names another.
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder") && i + 1 < args.size()) {
            const QString folder = args[++i];
            if (!QDir(folder).exists()) {
                std::fprintf(stderr, "oboro: フォルダがありません: %s\n", folder.toLocal8Bit().constData());
                return 2;
            }
            QDir::setCurrent(folder);
        }
    }
    oboro::setProgramFolder(QDir::currentPath());

    oboro::TOpen window;
    window.show();
    return app.exec();
}
