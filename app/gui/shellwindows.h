#pragma once
// The small windows of the program shell: the please-wait windows, the version window
// and the manual window.
#include <QDialog>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace oboro {

// A please-wait window: stays on top and shows one line of text set by the caller.
class TWaitWindow : public QWidget {
    Q_OBJECT
public:
    TWaitWindow(const QString& caption, QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const;
    // Shows the window with a text and lets it paint before a long operation runs.
    void showWithText(const QString& text);

private:
    QLabel* label_;
};

// Please-wait window while drawing.
class TProcess : public TWaitWindow {
    Q_OBJECT
public:
    explicit TProcess(QWidget* parent = nullptr);
};

// Please-wait window while measuring.
class TKeisoku : public TWaitWindow {
    Q_OBJECT
public:
    explicit TKeisoku(QWidget* parent = nullptr);
};

// The version window: the program name and date; any click closes it.
class TAbout : public QDialog {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);
    void setProgramDate(const QString& date);
    QString programDate() const { return date_; }

protected:
    void mousePressEvent(QMouseEvent*) override;
    bool eventFilter(QObject*, QEvent*) override;

private:
    QLabel* dateLabel_;
    QString date_;
};

// The manual window: the usage text in a read-only memo.
class THowTo : public QDialog {
    Q_OBJECT
public:
    explicit THowTo(QWidget* parent = nullptr);
    static QString usageText();

private:
    QPlainTextEdit* memo_;
};

} // namespace oboro
