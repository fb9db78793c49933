#include "app/qenbkpoint.h"

#include "engine/qenparser.h"

#include "ui_qenbkpoint.h"

qenBkPoint::qenBkPoint(const QString &condition, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::qenBkPoint>()), m_parser(new QenParser(this))
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // The caution appears without moving the rest of the dialog.
    QSizePolicy policy = m_ui->lb_caution->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_ui->lb_caution->setSizePolicy(policy);
    m_ui->lb_caution->hide();
    m_ui->textEdit->setPlainText(condition);
    m_ui->textEdit->setFocus();
    connect(m_ui->bt_OK, &QPushButton::clicked, this, &qenBkPoint::onOk);
    connect(m_ui->bt_Cancel, &QPushButton::clicked, this, &qenBkPoint::onCancel);
}

qenBkPoint::~qenBkPoint() = default;

QString qenBkPoint::condition() const
{
    return m_ui->textEdit->toPlainText().simplified();
}

void qenBkPoint::onOk()
{
    const QString text = condition();
    if (text.isEmpty() || m_parser->parse(text)) {
        accept();
        return;
    }
    m_ui->lb_caution->show();
}

void qenBkPoint::onCancel()
{
    reject();
}
