#include "app/options/qenoptionsdialog.h"

#include "app/options/qencdefaultswidget.h"
#include "app/options/qenoptionsstore.h"
#include "app/options/qenpdefaultswidget.h"
#include "app/options/qensdefaultswidget.h"
#include "app/options/qenvdefaultswidget.h"
#include "app/qenapplication.h"
#include "app/qenpatientwidget.h"
#include "document/qendochost.h"
#include "engine/qencatalogue.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
const char *const volumeKeys[QenCompartments] = {"CKT", "ALV", "VRG", "MUS", "FAT", "VEN"};
} // namespace

QenOptionsDialog::QenOptionsDialog(QenDocHost *host, QWidget *parent)
    : QDialog(parent), m_host(host), m_tabs(new QTabWidget(this)),
      m_program(new QenPDefaultsWidget), m_view(new QenVDefaultsWidget),
      m_simulation(new QenSDefaultsWidget), m_agents(new QenCDefaultsWidget),
      m_patient(new QenPatientWidget),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      m_catalogue(std::make_unique<QenCatalogue>())
{
    setWindowTitle(tr("Default options"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_tabs->addTab(m_program, tr("Program"));
    m_tabs->addTab(m_view, tr("View"));
    m_tabs->addTab(m_simulation, tr("Simulation"));
    m_tabs->addTab(m_agents, tr("Agent"));
    m_tabs->addTab(m_patient, tr("Patient"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QenOptionsDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QenOptionsDialog::reject);
    m_program->setSoundChoice(&m_host->ini(), m_host->prompt(), {});
}

QenOptionsDialog::~QenOptionsDialog() = default;

void QenOptionsDialog::setDialogRunner(QenDialogs::Runner run)
{
    m_program->setSoundChoice(&m_host->ini(), m_host->prompt(), std::move(run));
}

const QenDefaults &QenOptionsDialog::defaultsRecord() const
{
    return m_host->defaults();
}

void QenOptionsDialog::storeDefaultsRecord(const QenDefaults &record)
{
    m_host->setDefaults(record);
    // The application keeps a copy of its own, read from the same store.
    if (auto *app = qobject_cast<QenApplication *>(QCoreApplication::instance()))
        app->loadDefaults();
}

void QenOptionsDialog::prepare()
{
    m_store = std::make_unique<QenOptionsStore>(m_host->ini(), defaultsRecord());
    // The agents as the settings give them now; a faulty agent has been
    // reported when a simulation read it, and is simply left out here.
    m_catalogue->load(m_host->ini(), m_host->colorNames(), nullptr);

    m_program->fill(*m_store);
    m_view->fill(*m_store, m_host->defaultGraphMinutes());
    m_simulation->fill(*m_store, *m_catalogue);
    m_agents->fill(*m_catalogue, m_host->colorList());
    fillPatient();
    m_tabs->setCurrentIndex(ProgramPage);
    resize(minimumSizeHint());
}

int QenOptionsDialog::exec()
{
    prepare();
    return QDialog::exec();
}

void QenOptionsDialog::fillPatient()
{
    const QenDefaults &d = m_store->record();
    // Filled as for a 70 kg patient, then shown at the default weight: the
    // volumes, CO and VA scale with it.
    m_patient->setWeight(d.weight);
    for (int c = ALV; c <= VEN; ++c)
        m_patient->setVolume(c, d.volumes[c]);
    for (int c = VRG; c <= FAT; ++c)
        m_patient->setFlowPercent(c, QenPatientWidget::percentOf(d.flows[c]));
    m_patient->setCO(d.co);
    m_patient->setVA(d.va);
    m_patient->weightChanged();
    m_patient->prepare();
    for (int c = VRG; c <= FAT; ++c)
        m_filledPercent[c - VRG] = m_patient->flowPercent(c);
    m_filledCo = m_patient->co();
    m_filledVa = m_patient->va();
}

void QenOptionsDialog::accept()
{
    // A weight typed but not yet left still rescales the patient taken.
    m_patient->weightChanged();
    // Shares that do not add up would be replaced by the textbook split the
    // next time the program starts: they are refused whichever page is shown.
    if (!m_patient->checkFlowPercentages(nullptr)) {
        m_tabs->setCurrentWidget(m_patient);
        m_patient->checkFlowPercentages(m_host->prompt());
        return;
    }
    QDialog::accept();
}

bool QenOptionsDialog::commit()
{
    if (!m_store)
        return false;
    m_agents->commit(*m_catalogue, *m_store);
    commitPatient();
    const bool reloadGraphs = m_program->commit(*m_store);
    m_view->commit(*m_store);
    m_simulation->commit(*m_store);
    storeDefaultsRecord(m_store->record());
    QenOptionsStore::tellIfUnsaved(m_host->ini(), m_host->prompt());
    return reloadGraphs;
}

void QenOptionsDialog::commitPatient()
{
    QenDefaults &d = m_store->record();
    const QString defaultsGroup = QStringLiteral("Defaults");

    const double kg = m_patient->weight();
    if (QenOptionsStore::differs(d.weight, kg)) {
        d.weight = float(kg);
        m_store->write(defaultsGroup, QStringLiteral("Weight"), kg);
    }
    for (int c = ALV; c <= VEN; ++c) {
        const double litres = m_patient->volume(c);
        if (QenOptionsStore::differs(d.volumes[c], litres)) {
            d.volumes[c] = float(litres);
            m_store->write(QStringLiteral("Volumes"), QLatin1String(volumeKeys[c]), litres);
        }
    }
    // The three shares are read back as a set (fractions adding up to 1, or
    // percentages adding up to 100): one changed share writes all three.
    bool sharesChanged = false;
    for (int c = VRG; c <= FAT; ++c)
        sharesChanged = sharesChanged || m_patient->flowPercent(c) != m_filledPercent[c - VRG];
    if (sharesChanged) {
        for (int c = VRG; c <= FAT; ++c) {
            const double fraction = m_patient->flowPercent(c) / 100.0;
            d.flows[c] = float(fraction);
            m_store->write(QStringLiteral("Ratio"), QLatin1String(volumeKeys[c]), fraction);
        }
    }
    // CO and VA are kept per 70 kg; what the page shows for the weight only
    // counts when the user (or a new weight) changed it.
    if (m_patient->co() != m_filledCo) {
        const double co = m_patient->coPer70Kg();
        if (QenOptionsStore::differs(d.co, co)) {
            d.co = float(co);
            m_store->write(defaultsGroup, QStringLiteral("CO"), co);
        }
    }
    if (m_patient->va() != m_filledVa) {
        const double va = m_patient->vaPer70Kg();
        if (QenOptionsStore::differs(d.va, va)) {
            d.va = float(va);
            m_store->write(defaultsGroup, QStringLiteral("VA"), va);
        }
    }
}
