#pragma once

#include <QDate>
#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class QenAbout;
}

// The About box: the program's name, what it teaches, its version and its
// credits. It deletes itself when closed.
class QenAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit QenAboutDlg(QWidget *parent = nullptr);
    ~QenAboutDlg() override;

    // Shows the box modally; `run`, when given, runs it instead (tests).
    static void showAbout(QWidget *parent, const std::function<bool(QDialog &)> &run = {});

    // "4.1.N", N the days from 1 January 2000 to the build date.
    static QString versionText();
    // The same for a compiler date text such as "Dec  8 2026"; an invalid
    // date when the text cannot be read.
    static QDate buildDate(const QString &compilerDate);
    static QString versionText(const QDate &buildDate);

    Ui::QenAbout *form() const { return m_ui.get(); }

private:
    std::unique_ptr<Ui::QenAbout> m_ui;
};
