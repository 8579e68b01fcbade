#pragma once
// The about window of the ヘルプ menu (ライセンスと地図データの出典): the program's
// licence and what the map data folder says about its source, credit and terms,
// followed by the full licence text.
#include <QDialog>

class QPlainTextEdit;

namespace oboro {

class TLicense : public QDialog {
    Q_OBJECT
public:
    explicit TLicense(QWidget* parent = nullptr);
    // Reads the data folder's SOURCE.txt again (the data may have been rebuilt or
    // swapped) and shows the window.
    void showFor(const QString& programFolder);
    QString text() const;

    // The full licence text built into the program.
    static QString licenceText();

private:
    QPlainTextEdit* memo_;
};

} // namespace oboro
