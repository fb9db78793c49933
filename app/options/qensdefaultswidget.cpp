#include "app/options/qensdefaultswidget.h"

#include "app/options/qenoptionsstore.h"
#include "engine/qencatalogue.h"
#include "engine/qenvocabulary.h"

#include "ui_qensdefaults.h"
#include "views/qenfieldguard.h"

#include <algorithm>

namespace {

const QString defaultsGroup = QStringLiteral("Defaults");
const QString agentKey = QStringLiteral("Agent");

// The circuit names as the settings file spells them: the program decides a
// circuit by the first letter of these, whatever the language shown.
const char *const storedCircuits[] = {"Open", "Semi-closed", "Closed", "Ideal"};

} // namespace

QenSDefaultsWidget::QenSDefaultsWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::QenSDefaults>())
{
    m_ui->setupUi(this);
    QenFieldGuard::guardSpinBoxes(this);
    m_ui->cbSpeed->addItems(QenVocabulary::speeds());
    m_ui->cbCircuit->addItems(QenVocabulary::circuits());
}

QenSDefaultsWidget::~QenSDefaultsWidget() = default;

void QenSDefaultsWidget::fill(const QenOptionsStore &store, const QenCatalogue &catalogue)
{
    const QenDefaults &d = store.record();
    m_catalogue = &catalogue;
    m_ui->dsbFGF->setValue(d.fgf);
    m_ui->dsbCKT->setValue(d.volumes[CKT]);

    const int speed = QenVocabulary::speedValues().indexOf(d.speed);
    m_ui->cbSpeed->setCurrentIndex(speed < 0 ? 0 : speed);
    m_filledSpeed = m_ui->cbSpeed->currentIndex();

    const int circuit = QenVocabulary::circuitIndex(d.circuit);
    m_ui->cbCircuit->setCurrentIndex(circuit < 0 ? 0 : circuit);
    m_filledCircuit = m_ui->cbCircuit->currentIndex();

    // Shows the agent new simulations start with: the one the default names
    // exactly, else the first.
    m_ui->cbAgent->clear();
    for (int i = 0; i < catalogue.size(); ++i)
        m_ui->cbAgent->addItem(catalogue.at(i)->displayName);
    const int agent = std::max(0, catalogue.findByName(d.agent));
    m_ui->cbAgent->setCurrentIndex(catalogue.isEmpty() ? -1 : agent);
    m_filledAgent = m_ui->cbAgent->currentIndex();
}

void QenSDefaultsWidget::commit(QenOptionsStore &store) const
{
    QenDefaults &d = store.record();

    const int speed = m_ui->cbSpeed->currentIndex();
    if (speed != m_filledSpeed && speed >= 0) {
        d.speed = QenVocabulary::speedValues().at(speed);
        store.write(defaultsGroup, QStringLiteral("Speed"),
                    d.speed == 1000 ? QVariant(QStringLiteral("AFAP")) : QVariant(d.speed));
    }

    const int circuit = m_ui->cbCircuit->currentIndex();
    if (circuit != m_filledCircuit && circuit >= 0) {
        d.circuit = QenVocabulary::circuits().at(circuit);
        store.write(defaultsGroup, QStringLiteral("Circuit"),
                    QString::fromLatin1(storedCircuits[circuit]));
    }

    const double fgf = m_ui->dsbFGF->value();
    if (QenOptionsStore::differs(d.fgf, fgf)) {
        d.fgf = float(fgf);
        store.write(defaultsGroup, QStringLiteral("FGF"), fgf);
    }
    const double ckt = m_ui->dsbCKT->value();
    if (QenOptionsStore::differs(d.volumes[CKT], ckt)) {
        d.volumes[CKT] = float(ckt);
        store.write(QStringLiteral("Volumes"), QStringLiteral("CKT"), ckt);
    }

    const int agent = m_ui->cbAgent->currentIndex();
    if (m_catalogue && agent != m_filledAgent && agent >= 0 && agent < m_catalogue->size()) {
        const QString name = m_catalogue->at(agent)->name;
        d.agent = name;
        if (name != store.value(defaultsGroup, agentKey, QString()).toString())
            store.write(defaultsGroup, agentKey, name);
    }
}
