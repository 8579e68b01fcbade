#pragma once
// Qt's own texts (the buttons of message boxes, the colour and file dialogs) in
// Japanese whatever the system locale, from Qt's translation catalogue of the system
// (Debian qt6-translations-l10n).
class QCoreApplication;
class QTranslator;

namespace oboro {

// Loads and installs Qt's Japanese catalogue (owned by app); nothing, and the texts
// stay English, when the catalogue is not installed.
QTranslator* installJapaneseQtTranslations(QCoreApplication& app);

} // namespace oboro
