#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace oboro {

QTranslator* installJapaneseQtTranslations(QCoreApplication& app)
{
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    auto* translator = new QTranslator(&app);
    for (const QString& dir : {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral("/usr/share/qt6/translations")})
        if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
            QCoreApplication::installTranslator(translator);
            return translator;
        }
    delete translator;
    return nullptr;
}

} // namespace oboro
