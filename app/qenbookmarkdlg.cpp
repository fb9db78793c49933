#include "app/qenbookmarkdlg.h"

#include "app/qentitlefit.h"
#include "engine/qenengine.h"
#include "engine/qenprompt.h"

#include "ui_qenbookmark.h"
#include "views/qenfieldguard.h"

#include <QApplication>

#include <tuple>

QenBookmarkDlg::QenBookmarkDlg(QenPrompt *prompt, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::QenBookmark>()), m_prompt(prompt),
      m_beep([] { QApplication::beep(); })
{
    m_ui->setupUi(this);
    fitTitle(this);
    QenFieldGuard::guardSpinBoxes(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(m_ui->pbAdd, &QPushButton::clicked, this, &QenBookmarkDlg::addBookmark);
    connect(m_ui->pbDelete, &QPushButton::clicked, this, &QenBookmarkDlg::deleteBookmark);
    connect(m_ui->pbDeleteAll, &QPushButton::clicked, this, &QenBookmarkDlg::deleteAllBookmark);
    connect(m_ui->pushButtonOK, &QPushButton::clicked, this, &QenBookmarkDlg::saveBookmarks);
    connect(m_ui->pushButtonOK, &QPushButton::clicked, this, &QenBookmarkDlg::accept);
    connect(m_ui->pushButtonCancel, &QPushButton::clicked, this, &QenBookmarkDlg::reject);
}

QenBookmarkDlg::~QenBookmarkDlg() = default;

void QenBookmarkDlg::setEnd(quint32 ms)
{
    const quint32 seconds = ms / 1000;
    m_endHours = int(seconds / 3600);
    m_endMinutes = int(seconds % 3600 / 60);
    m_endSeconds = int(seconds % 60);
}

QString QenBookmarkDlg::timeText(quint32 ms)
{
    const quint32 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

quint32 QenBookmarkDlg::timeMs(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return 0;
    return parts[0].toUInt() * 3600000u + parts[1].toUInt() * 60000u + parts[2].toUInt() * 1000u;
}

void QenBookmarkDlg::prepare()
{
    m_ui->lwBookmarks->clear();
    for (quint32 ms : std::as_const(m_given))
        m_ui->lwBookmarks->addItem(timeText(ms));
    updateButtons();
    if (!m_full)
        m_ui->sbHours->setFocus();
}

int QenBookmarkDlg::exec()
{
    prepare();
    return QDialog::exec();
}

void QenBookmarkDlg::updateButtons()
{
    const int count = m_ui->lwBookmarks->count();
    m_full = count >= QenEngine::MaxBookmarks;
    m_ui->pbDelete->setEnabled(count > 0);
    m_ui->pbDeleteAll->setEnabled(count > 0);
    for (QWidget *w : {static_cast<QWidget *>(m_ui->pbAdd), static_cast<QWidget *>(m_ui->sbHours),
                       static_cast<QWidget *>(m_ui->sbMin), static_cast<QWidget *>(m_ui->sbSec)})
        w->setEnabled(!m_full);
}

void QenBookmarkDlg::addBookmark()
{
    const int h = m_ui->sbHours->value();
    const int m = m_ui->sbMin->value();
    const int s = m_ui->sbSec->value();
    if (std::tie(h, m, s) > std::tie(m_endHours, m_endMinutes, m_endSeconds)) {
        if (m_prompt)
            m_prompt->critical(tr("Quenor® "),
                               tr("You cannot set a bookmark past the end of the simulation!"));
    } else if (h == 0 && m == 0 && s == 0) {
        if (m_beep)
            m_beep();
    } else if (!m_full) {
        const QString text = QStringLiteral("%1:%2:%3")
                                 .arg(h, 2, 10, QLatin1Char('0'))
                                 .arg(m, 2, 10, QLatin1Char('0'))
                                 .arg(s, 2, 10, QLatin1Char('0'));
        if (m_ui->lwBookmarks->findItems(text, Qt::MatchExactly).isEmpty())
            m_ui->lwBookmarks->addItem(text);
        updateButtons();
    }
    if (m_ui->sbHours->isEnabled())
        m_ui->sbHours->setFocus();
}

void QenBookmarkDlg::deleteBookmark()
{
    delete m_ui->lwBookmarks->currentItem();
    updateButtons();
}

void QenBookmarkDlg::deleteAllBookmark()
{
    m_ui->lwBookmarks->clear();
    updateButtons();
}

void QenBookmarkDlg::saveBookmarks()
{
    m_saved.clear();
    for (int i = 0; i < m_ui->lwBookmarks->count() && i < QenEngine::MaxBookmarks; ++i)
        m_saved.append(timeMs(m_ui->lwBookmarks->item(i)->text()));
}
