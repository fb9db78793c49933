#include "app/qenaboutdlg.h"

#include "ui_qenabout.h"

#include <QStringList>

QenAboutDlg::QenAboutDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::QenAbout>())
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(tr("About Quenor®"));
    m_ui->lText->setText(
        m_ui->lText->text().arg(QStringLiteral("<p>") + versionText() + QStringLiteral("</p>")));
    m_ui->lText->setOpenExternalLinks(true);
}

QenAboutDlg::~QenAboutDlg() = default;

void QenAboutDlg::showAbout(QWidget *parent, const std::function<bool(QDialog &)> &run)
{
    auto *dialog = new QenAboutDlg(parent);
    if (run) {
        run(*dialog);
        dialog->close();
        return;
    }
    dialog->exec();
}

QDate QenAboutDlg::buildDate(const QString &compilerDate)
{
    static const QStringList months = {
        QStringLiteral("JAN"), QStringLiteral("FEB"), QStringLiteral("MAR"), QStringLiteral("APR"),
        QStringLiteral("MAY"), QStringLiteral("JUN"), QStringLiteral("JUL"), QStringLiteral("AUG"),
        QStringLiteral("SEP"), QStringLiteral("OCT"), QStringLiteral("NOV"), QStringLiteral("DEC")};
    // Days below 10 are padded with a blank ("Dec  8 2026"): split on runs of
    // blanks, or the day would read as empty and the year as the day.
    const QStringList parts = compilerDate.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return QDate();
    const int month = int(months.indexOf(parts.at(0).toUpper())) + 1;
    bool dayOk = false;
    bool yearOk = false;
    const int day = parts.at(1).toInt(&dayOk);
    const int year = parts.at(2).toInt(&yearOk);
    if (month < 1 || !dayOk || !yearOk)
        return QDate();
    return QDate(year, month, day);
}

QString QenAboutDlg::versionText(const QDate &buildDate)
{
    const qint64 days = buildDate.isValid() ? QDate(2000, 1, 1).daysTo(buildDate) : 0;
    return QStringLiteral("4.1.%1").arg(days);
}

QString QenAboutDlg::versionText()
{
    static const QString text = versionText(buildDate(QString::fromLatin1(__DATE__)));
    return text;
}
