#include "app/options/qenvdefaultswidget.h"

#include "app/options/qenoptionsstore.h"
#include "engine/qenvocabulary.h"
#include "views/qengraphview.h"

#include "ui_qenvdefaults.h"
#include "views/qenfieldguard.h"

namespace {

const QString defaultsGroup = QStringLiteral("Defaults");

// A gauge top as the picture view takes it: 10 unless 1 to 500.
int gaugeTop(const QenOptionsStore &store, const QString &key)
{
    const int top = store.value(defaultsGroup, key, 10).toInt();
    return top < 1 || top > 500 ? 10 : top;
}

} // namespace

QenVDefaultsWidget::QenVDefaultsWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::QenVDefaults>())
{
    m_ui->setupUi(this);
    QenFieldGuard::guardSpinBoxes(this);
    m_ui->cbTime->addItems(QenVocabulary::graphSpans());
    // Not offered to the user: the setting is carried over unchanged.
    m_ui->cbShowControl->hide();
}

QenVDefaultsWidget::~QenVDefaultsWidget() = default;

QenVDefaultsWidget::Values QenVDefaultsWidget::shown() const
{
    return {m_ui->cbEnableScrolling->isChecked(),
            m_ui->cbTime->currentText(),
            m_ui->cbShowCost->isChecked(),
            m_ui->cbShowControl->isChecked(),
            m_ui->sbCO->value(),
            m_ui->sbFGF->value(),
            m_ui->sbVA->value()};
}

void QenVDefaultsWidget::fill(const QenOptionsStore &store, int graphMinutes)
{
    m_ui->cbEnableScrolling->setChecked(QenGraphView::readSettings(store.ini()).scroll);
    const int span = m_ui->cbTime->findText(QenGraphView::spanText(graphMinutes));
    m_ui->cbTime->setCurrentIndex(span < 0 ? 0 : span);
    m_ui->cbShowCost->setChecked(
        store.value(defaultsGroup, QStringLiteral("ShowCost"), false).toBool());
    m_ui->cbShowControl->setChecked(
        store.value(defaultsGroup, QStringLiteral("ShowControl"), true).toBool());
    m_ui->sbFGF->setValue(gaugeTop(store, QStringLiteral("HighFGF")));
    m_ui->sbVA->setValue(gaugeTop(store, QStringLiteral("HighVA")));
    m_ui->sbCO->setValue(gaugeTop(store, QStringLiteral("HighCO")));
    m_filled = shown();
}

void QenVDefaultsWidget::commit(QenOptionsStore &store) const
{
    const Values now = shown();
    if (now.scroll != m_filled.scroll)
        store.write(defaultsGroup, QStringLiteral("Scroll"), now.scroll);
    if (now.span != m_filled.span)
        store.write(defaultsGroup, QStringLiteral("GraphMinutes"),
                    QenGraphView::parseSpan(now.span));
    if (now.showCost != m_filled.showCost)
        store.write(defaultsGroup, QStringLiteral("ShowCost"), int(now.showCost));
    if (now.showControl != m_filled.showControl)
        store.write(defaultsGroup, QStringLiteral("ShowControl"), int(now.showControl));
    if (now.highCO != m_filled.highCO)
        store.write(defaultsGroup, QStringLiteral("HighCO"), now.highCO);
    if (now.highFGF != m_filled.highFGF)
        store.write(defaultsGroup, QStringLiteral("HighFGF"), now.highFGF);
    if (now.highVA != m_filled.highVA)
        store.write(defaultsGroup, QStringLiteral("HighVA"), now.highVA);
}
