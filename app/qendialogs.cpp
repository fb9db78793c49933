#include "app/qendialogs.h"

#include "app/qenagentdlg.h"
#include "app/qenbkpoint.h"
#include "app/qenbookmarkdlg.h"
#include "app/qenchildwindow.h"
#include "app/qencontrol.h"
#include "app/qencostdlg.h"
#include "app/qendeldlg.h"
#include "app/qendosedlg.h"
#include "app/qenpatientdlg.h"
#include "app/qenpatientwidget.h"
#include "document/qendoc.h"
#include "document/qendochost.h"
#include "engine/qenengine.h"
#include "engine/qenreadingorder.h"
#include "views/qenpanelview.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace QenDialogs {

namespace {

bool runDialog(QDialog &dialog, const Runner &run)
{
    if (run)
        return run(dialog);
    // The dialogs' own exec() prepares them, which the caller has done.
    return dialog.QDialog::exec() == QDialog::Accepted;
}

// Pauses a running simulation and asks before a change would erase a
// replayed recording; false when the user keeps the recording.
bool mayChange(QenEngine *engine)
{
    engine->pause();
    return engine->replayGuard(false);
}

// The current agent's track once a change is allowed, or -1.
int trackToChange(QenEngine *engine)
{
    if (!mayChange(engine))
        return -1;
    const int track = engine->currentTrack();
    return track < engine->trackCount() ? track : -1;
}

} // namespace

bool setCost(QenDoc &doc, QWidget *parent, const Runner &run)
{
    return doc.editCost([&](float *cost, int *size) {
        QenCostDlg dialog(parent);
        dialog.setBottleSize(*size);
        dialog.setBottleCost(*cost);
        if (!runDialog(dialog, run))
            return false;
        *size = dialog.bottleSize();
        *cost = dialog.bottleCost();
        return true;
    });
}

bool adjustDel(QenDoc &doc, QWidget *parent, const Runner &run)
{
    QenEngine *engine = doc.engine();
    const int track = trackToChange(engine);
    if (track < 0)
        return false;

    const float del = engine->track(track).del;
    const float fgf = engine->fgf();
    const float va = engine->va();
    const float co = engine->co();
    QenDelDlg dialog(parent);
    const QenAnesthetic *agent = engine->agentOf(track);
    dialog.setDelMaximum(agent ? agent->max : 0.0);
    dialog.setDel(del);
    dialog.setFgf(fgf);
    dialog.setVa(va);
    dialog.setCo(co);
    if (!runDialog(dialog, run))
        return false;

    // Compared with what the dialog showed, so that a value moved by an
    // earlier one's coupled rule is not set back unasked.
    bool changed = false;
    if (dialog.del() != del) {
        doc.engine()->setDEL(QenUserOrigin, track, dialog.del());
        changed = true;
    }
    if (dialog.fgf() != fgf) {
        doc.engine()->setFGF(QenUserOrigin, dialog.fgf());
        changed = true;
    }
    if (dialog.va() != va) {
        doc.engine()->setVA(QenUserOrigin, dialog.va());
        changed = true;
    }
    if (dialog.co() != co) {
        doc.engine()->setCO(QenUserOrigin, dialog.co());
        changed = true;
    }
    return changed;
}

bool unitDose(QenDoc &doc, QWidget *parent, const Runner &run)
{
    QenEngine *engine = doc.engine();
    const int track = trackToChange(engine);
    if (track < 0)
        return false;

    const float dose = engine->track(track).unitDose;
    QenDoseDlg dialog(parent);
    dialog.setUnitDose(dose);
    if (!runDialog(dialog, run) || dialog.unitDose() == dose)
        return false;
    engine->setUnitDose(track, dialog.unitDose());
    engine->eraseForward();
    // The syringe follows whether the agent can be injected.
    doc.notifyViews(track + 1, QenHint::Values);
    return true;
}

bool changePatient(QenDoc &doc, QWidget *parent, const Runner &run)
{
    QenEngine *engine = doc.engine();
    engine->pause();
    const bool editable = engine->state() == ANotRun;
    if (editable && !engine->replayGuard(false))
        return false;

    QenPatientDlg dialog(doc.host()->prompt(), parent);
    QenPatientWidget *patient = dialog.patient();
    patient->setEditable(editable);
    patient->setWeight(engine->weight());
    for (int c = ALV; c <= VEN; ++c)
        patient->setVolume(c, engine->volumes()[c]);
    int percents[QenCompartments] = {};
    for (int c = VRG; c <= FAT; ++c) {
        percents[c] = QenPatientWidget::percentOf(engine->flowFractions()[c]);
        patient->setFlowPercent(c, percents[c]);
    }
    patient->setCO(engine->co());
    patient->setVA(engine->va());
    dialog.prepare();
    if (!runDialog(dialog, run))
        return false;

    bool changed = false;
    const float weight = float(patient->weight());
    if (weight != engine->weight()) {
        doc.engine()->setWeight(QenUserOrigin, weight);
        changed = true;
    }
    bool compartments = false;
    for (int c = ALV; c <= VEN; ++c) {
        const float litres = float(patient->volume(c));
        if (litres != engine->volumes()[c]) {
            engine->setVolume(c, litres);
            compartments = true;
        }
    }
    for (int c = VRG; c <= FAT; ++c) {
        if (patient->flowPercent(c) != percents[c]) {
            engine->setFlowFraction(c, float(patient->flowPercent(c) / 100.0));
            compartments = true;
        }
    }
    if (compartments) {
        engine->eraseForward();
        doc.notifyViews(0, QenHint::All);
        changed = true;
    }
    // CO and VA as the dialog shows them replace what a new weight made of them.
    const float co = float(patient->co());
    if (co != engine->co()) {
        doc.engine()->setCO(QenUserOrigin, co);
        changed = true;
    }
    const float va = float(patient->va());
    if (va != engine->va()) {
        doc.engine()->setVA(QenUserOrigin, va);
        changed = true;
    }
    return changed;
}

bool setBookmark(QenDoc &doc, QWidget *parent, const Runner &run)
{
    QenEngine *engine = doc.engine();
    QenBookmarkDlg dialog(doc.host()->prompt(), parent);
    dialog.setEnd(engine->endTime());
    dialog.setBookmarks(engine->bookmarks());
    QenDocHost *host = doc.host();
    dialog.setBeep([host] { host->beep(); });
    dialog.prepare();
    if (!runDialog(dialog, run))
        return false;
    const QList<quint32> before = engine->bookmarks();
    doc.setBookmarks(dialog.bookmarks());
    return engine->bookmarks() != before;
}

bool setBreakPoint(QenDoc &doc, QWidget *parent, const Runner &run)
{
    QenEngine *engine = doc.engine();
    qenBkPoint dialog(engine->breakpointText(), parent);
    if (!runDialog(dialog, run))
        return false;
    const QString before = engine->breakpointText();
    return doc.setBreakpoint(dialog.condition()) && engine->breakpointText() != before;
}

bool editDescription(QenDoc &doc, QWidget *parent, const Runner &run)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(
        QCoreApplication::translate("QenMainWindow", "Edit simulation description"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *editor = new QPlainTextEdit(&dialog);
    editor->setPlainText(doc.description());
    layout->addWidget(editor);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (!runDialog(dialog, run))
        return false;
    doc.setDescription(editor->toPlainText());
    // Saved with the simulation: the same text again still asks to be saved.
    doc.setModified(true);
    emit doc.modified(true);
    return true;
}

bool changeAgent(QenPanelView &view, QWidget *parent, const Runner &run)
{
    QenDoc *doc = view.document();
    if (!doc)
        return false;
    QenEngine *engine = doc->engine();
    if (!mayChange(engine))
        return false;
    const int track = view.agentIndex();
    if (track < 0 || track >= engine->trackCount())
        return false;

    QenAgentDlg dialog(parent);
    const QString oldAgent = doc->agentName(track);
    const QString oldCircuit = engine->circuit();
    dialog.setAgent(oldAgent);
    dialog.setAgentChangeable(engine->displayTime() == 0);
    dialog.setCircuit(oldCircuit);
    QStringList agents;
    const QenCatalogue &catalogue = doc->catalogue();
    for (int i = 0; i < catalogue.size(); ++i)
        agents.append(catalogue.at(i)->displayName);
    dialog.setAgents(inReadingOrder(agents));
    const bool accepted = runDialog(dialog, run);
    // A name being typed in the tray's table was typed for the agents as they
    // were before the dialog: that edit ends untaken.
    for (QenChildWindowInterface *v : doc->views()) {
        auto *child = dynamic_cast<QenChildWindow *>(v);
        if (child && child->control())
            child->control()->closeAgentEditor();
    }
    if (!accepted)
        return false;

    bool changed = false;
    const QString agent = dialog.agent();
    if (agent != oldAgent) {
        if (!doc->setAgent(QenUserOrigin, track, agent))
            return false;
        changed = true;
    }
    const QString circuit = dialog.circuit();
    if (circuit.compare(oldCircuit, Qt::CaseInsensitive) != 0) {
        doc->engine()->setCircuit(QenUserOrigin, circuit);
        changed = true;
    }
    return changed;
}

} // namespace QenDialogs
