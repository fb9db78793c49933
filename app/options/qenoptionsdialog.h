#pragma once

#include "app/qendialogs.h"
#include "engine/qendefaults.h"

#include <QDialog>

#include <memory>

class QDialogButtonBox;
class QTabWidget;
class QenCDefaultsWidget;
class QenCatalogue;
class QenDocHost;
class QenOptionsStore;
class QenPDefaultsWidget;
class QenPatientWidget;
class QenSDefaultsWidget;
class QenVDefaultsWidget;

// "Default options": the program-wide defaults new simulations start from
// and the preferences the views read, on five pages. OK writes what the user
// changed to the settings file and into the defaults record of `host`; open
// simulations keep their own settings.
class QenOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    enum Page { ProgramPage, ViewPage, SimulationPage, AgentPage, PatientPage };

    // `host` holds the settings store, the defaults record and the prompt; it
    // must outlive the dialog.
    explicit QenOptionsDialog(QenDocHost *host, QWidget *parent = nullptr);
    ~QenOptionsDialog() override;

    QTabWidget *tabWidget() const { return m_tabs; }
    QDialogButtonBox *buttonBox() const { return m_buttons; }
    QenPDefaultsWidget *programPage() const { return m_program; }
    QenVDefaultsWidget *viewPage() const { return m_view; }
    QenSDefaultsWidget *simulationPage() const { return m_simulation; }
    QenCDefaultsWidget *agentPage() const { return m_agents; }
    QenPatientWidget *patientPage() const { return m_patient; }

    // How the sound choice of the Program page runs (tests answer it).
    void setDialogRunner(QenDialogs::Runner run);

    // What exec() does before it shows the dialog: fills every page from the
    // defaults, reading the agents afresh, and shows the first page.
    void prepare();
    int exec() override;

    // After OK: writes every changed value; true when open graphs must reload
    // their settings.
    bool commit();

public slots:
    void accept() override;

private:
    void fillPatient();
    void commitPatient();
    // The one place the options read and replace the defaults record.
    const QenDefaults &defaultsRecord() const;
    void storeDefaultsRecord(const QenDefaults &record);

    QenDocHost *m_host;
    QTabWidget *m_tabs;
    QenPDefaultsWidget *m_program;
    QenVDefaultsWidget *m_view;
    QenSDefaultsWidget *m_simulation;
    QenCDefaultsWidget *m_agents;
    QenPatientWidget *m_patient;
    QDialogButtonBox *m_buttons;
    std::unique_ptr<QenCatalogue> m_catalogue;
    std::unique_ptr<QenOptionsStore> m_store;
    int m_filledPercent[3] = {};
    double m_filledCo = 0.0;
    double m_filledVa = 0.0;
};
