#include "app/options/qenchoicesound.h"

#include "app/options/qenoptionsstore.h"

#include "ui_qenchoicesound.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QToolButton>

namespace {
const QString signalsGroup = QStringLiteral("Signals");

QString keyOf(int n)
{
    return QStringLiteral("System_%1").arg(n);
}
} // namespace

QenChoiceSound::QenChoiceSound(const QenIni &ini, QenPrompt *prompt, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::QenChoiceSound>()), m_ini(ini), m_prompt(prompt)
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowModality(Qt::WindowModal);
    for (QToolButton *b :
         {m_ui->tbBrowse_1, m_ui->tbBrowse_2, m_ui->tbBrowse_3, m_ui->tbBrowse_4}) {
        b->setToolTip(tr("Choose a sound file"));
        connect(b, &QToolButton::clicked, this, &QenChoiceSound::browse);
    }
    for (int n = 1; n <= Sounds; ++n)
        connect(lineEdit(n), &QLineEdit::editingFinished, this, &QenChoiceSound::edited);
}

QenChoiceSound::~QenChoiceSound() = default;

QString QenChoiceSound::noSound()
{
    return tr("<no sound>");
}

QString QenChoiceSound::storedNoSound()
{
    return QStringLiteral("<no sound>");
}

QLineEdit *QenChoiceSound::lineEdit(int n) const
{
    switch (n) {
    case 1:
        return m_ui->leSystem_1;
    case 2:
        return m_ui->leSystem_2;
    case 3:
        return m_ui->leSystem_3;
    case 4:
        return m_ui->leSystem_4;
    default:
        return nullptr;
    }
}

void QenChoiceSound::prepare()
{
    for (int n = 1; n <= Sounds; ++n) {
        QString file = m_ini.value(signalsGroup, keyOf(n), storedNoSound()).toString();
        if (file == storedNoSound())
            file = noSound();
        lineEdit(n)->setText(file);
        // A long path does not fit the field: the whole of it on hovering.
        lineEdit(n)->setToolTip(file);
        lineEdit(n)->setCursorPosition(0);
    }
}

int QenChoiceSound::exec()
{
    prepare();
    return QDialog::exec();
}

void QenChoiceSound::accept()
{
    for (int n = 1; n <= Sounds; ++n) {
        const QString text = lineEdit(n)->text().trimmed();
        const bool none = text.isEmpty() || text == noSound() || text == storedNoSound();
        m_ini.setValue(signalsGroup, keyOf(n), none ? storedNoSound() : text);
    }
    QenOptionsStore::tellIfUnsaved(m_ini, m_prompt);
    QDialog::accept();
}

void QenChoiceSound::browse()
{
    const QToolButton *buttons[Sounds] = {m_ui->tbBrowse_1, m_ui->tbBrowse_2, m_ui->tbBrowse_3,
                                          m_ui->tbBrowse_4};
    for (int n = 1; n <= Sounds; ++n) {
        if (sender() == buttons[n - 1])
            browseRow(n);
    }
}

void QenChoiceSound::browseRow(int n)
{
    QLineEdit *edit = lineEdit(n);
    const QFileInfo current(edit->text());
    const QString dir = current.exists() ? current.absolutePath() : QString();
    const QString title = tr("Open file");
    const QString filter = tr("Sound Files (*.wav)");
    const QString file = m_fileDialog ? m_fileDialog(this, title, dir, filter)
                                      : QFileDialog::getOpenFileName(this, title, dir, filter);
    // A name typed into the file dialog need not exist.
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return;
    edit->setText(file);
    edit->setToolTip(edit->text());
    edit->setCursorPosition(0);
}

void QenChoiceSound::edited()
{
    for (int n = 1; n <= Sounds; ++n) {
        QLineEdit *edit = lineEdit(n);
        if (edit->text().trimmed().isEmpty())
            edit->setText(noSound());
        edit->setToolTip(edit->text());
    }
}
