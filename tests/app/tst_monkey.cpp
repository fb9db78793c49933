// A random user: a seeded walk through the real main window (menu and tool-bar
// commands, the tray, typed values, buttons, graph scrolling, new and closed
// views, saves and opens, runs at every speed) with questions and dialogs
// answered at random. After every action the documents must still make
// sense: ordered clocks, finite values inside the model's bounds, a running
// simulation that moves on when the event loop turns, the modified mark after
// a change, and now and then a save and open that gives back the same file.
//
// CI walks the seeds of the rows below. For long walks:
//   QUENOR_MONKEY_SEEDS=1-50 QUENOR_MONKEY_ACTIONS=5000 tst_monkey
// (scripts/monkey.sh does this). A failing walk prints its seed and every
// action it took.

#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenchildwindow.h"
#include "app/qenmainwindow.h"
#include "document/qendoc.h"
#include "engine/qen.h"
#include "engine/qenanesthetic.h"
#include "engine/qenengine.h"
#include "engine/qenprompt.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

namespace {
QTemporaryDir *programDir = nullptr;

// Answers every question with one of the buttons it offers, chosen by the walk.
class RandomPrompt : public QenPrompt
{
public:
    int ask(Icon, const QString &title, const QString &text, int buttons,
            int defaultButton) override
    {
        QList<int> offered;
        for (int bit = 0; bit < 32; ++bit) {
            if (buttons & (1 << bit))
                offered << (1 << bit);
        }
        int answer = defaultButton != NoButton ? defaultButton : int(Ok);
        if (pick && !offered.isEmpty())
            answer = offered[pick(int(offered.size()))];
        if (log)
            log->append(QStringLiteral("    asked \"%1\": %2 -> %3")
                            .arg(title, text.left(80).simplified())
                            .arg(answer, 0, 16));
        if (text.trimmed().isEmpty())
            emptyMessages << title;
        return answer;
    }
    std::function<int(int)> pick;
    QStringList *log = nullptr;
    QStringList emptyMessages;
};

// What the user has made of a document: when it changes, the document must
// say it is modified. The settings are those of the displayed time, so they
// count only while the display stands still.
struct Digest
{
    int tracks = 0;
    quint32 endTime = 0;
    quint32 displayTime = 0;
    QString breakpoint;
    QList<float> agents;
    QList<float> settings;
    bool differsFrom(const Digest &o) const
    {
        if (tracks != o.tracks || endTime != o.endTime || breakpoint != o.breakpoint ||
            agents != o.agents)
            return true;
        return displayTime == o.displayTime && settings != o.settings;
    }
};

Digest digestOf(QenDoc *doc)
{
    Digest d;
    QenEngine *e = doc->engine();
    d.tracks = e->trackCount();
    d.endTime = e->endTime();
    d.displayTime = e->displayTime();
    d.breakpoint = e->breakpointText();
    for (int t = 0; t < e->trackCount(); ++t) {
        const Qen &q = e->track(t);
        // Samples computed ahead of the display are not yet the user's: only
        // the end of the recording counts.
        d.agents << float(q.agent);
        d.settings << q.del << q.unitDose;
    }
    return d;
}

QByteArray bytesOf(const QenDoc *doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return doc->writeTo(&buffer) ? buffer.data() : QByteArray();
}

const char *const commands[] = {
    "actionNew",
    "actionOpen",
    "actionClose",
    "actionSave",
    "actionSaveAs",
    "actionRun",
    "actionRunAll",
    "actionRewind",
    "actionFastFwd",
    "actionZeroTimer",
    "actionClearAll",
    "actionLiquidInject",
    "actionUnitDose",
    "actionSetCost",
    "actionAdjustDel",
    "actionChangeAgent",
    "actionDefaultColors",
    "actionTile",
    "actionCascade",
    "actionGroup",
    "actionNewGraphView",
    "actionNewPictureView",
    "actionZoomIn",
    "actionZoomOut",
    "actionDisableUptake",
    "actionDisableReturn",
    "actionEnableVapor",
    "actionChangePatient",
    "actionSetBookmark",
    "actionSetBreakPoint",
    "actionEnableScrolling",
    "actionHideNumerics",
    "actionShowCost",
    "actionDescription",
};

const char *const typed[] = {"0",    "0.5", "1",   "2.5",  "4",    "8",     "12",
                             "70",   "150", "-1",  "-0.1", "1e9",  "99999", "0.0001",
                             "abc",  "",    "nan", "inf",  "1,5",  "5.",    " 3 ",
                             "1e-9", "--2", "+7",  "0x10", "9e99", "300",   "2.25"};

class Monkey
{
public:
    Monkey(quint32 seed, QenMainWindow *w, RandomPrompt *prompt)
        : m_seed(seed), m_rng(seed), m_w(w), m_prompt(prompt)
    {
        prompt->pick = [this](int n) {
            return pick(n);
        };
        prompt->log = &m_log;
        w->setDialogRunner([this](QDialog &d) { return runDialog(d); });
        w->host()->setSaveDialog([this](QWidget *, const QString &, const QString &,
                                        const QString &) { return savePath(); });
        w->setOpenDialog([this](QWidget *, const QString &, const QString &, const QString &) {
            return openPath();
        });
    }
    ~Monkey()
    {
        m_prompt->pick = nullptr;
        m_prompt->log = nullptr;
    }

    // Returns the empty string, or what broke followed by the walk that broke it.
    QString walk(int length)
    {
        for (m_step = 0; m_step < length && m_failure.isEmpty(); ++m_step) {
            remember();
            act();
            check();
        }
        if (m_failure.isEmpty())
            return {};
        return QStringLiteral("seed %1, action %2: %3\n%4")
            .arg(m_seed)
            .arg(m_step)
            .arg(m_failure, m_log.join(QLatin1Char('\n')));
    }

    const QStringList &unexpectedDialogs() const { return m_unexpected; }

private:
    struct Before
    {
        QPointer<QenDoc> doc;
        Digest digest;
        bool modified;
    };

    int pick(int n) { return n <= 1 ? 0 : int(m_rng() % quint32(n)); }
    bool chance(int inN) { return pick(inN) == 0; }
    void note(const QString &what) { m_log << QStringLiteral("%1: %2").arg(m_step).arg(what); }
    void fail(const QString &what)
    {
        if (m_failure.isEmpty())
            m_failure = what;
    }

    QString savePath()
    {
        if (chance(6)) {
            note(QStringLiteral("    save dialog cancelled"));
            return {};
        }
        const QString path =
            programDir->filePath(QStringLiteral("walk%1-%2").arg(m_seed).arg(pick(4)));
        note(QStringLiteral("    save as %1").arg(path));
        m_saved << path + QStringLiteral(".qen");
        return path;
    }
    QString openPath()
    {
        const int what = pick(4);
        if (what == 0 || m_saved.isEmpty()) {
            note(QStringLiteral("    open dialog cancelled"));
            return {};
        }
        if (what == 1) {
            // A file that is not a simulation at all, or one cut short.
            const QString path = programDir->filePath(QStringLiteral("broken.qen"));
            QFile source(m_saved[pick(int(m_saved.size()))]);
            QByteArray bytes;
            if (source.open(QIODevice::ReadOnly))
                bytes = source.readAll();
            bytes.truncate(pick(int(bytes.size()) + 1));
            if (chance(2))
                bytes = QByteArray("not a simulation");
            QFile broken(path);
            if (broken.open(QIODevice::WriteOnly | QIODevice::Truncate))
                broken.write(bytes);
            note(QStringLiteral("    open a broken file of %1 bytes").arg(bytes.size()));
            return path;
        }
        const QString path = m_saved[pick(int(m_saved.size()))];
        note(QStringLiteral("    open %1").arg(path));
        return path;
    }

    // Fills the dialog's fields at random, then presses OK or Cancel.
    bool runDialog(QDialog &d)
    {
        note(QStringLiteral("    dialog %1").arg(QLatin1String(d.metaObject()->className())));
        for (QLineEdit *edit : d.findChildren<QLineEdit *>()) {
            if (edit->isEnabled() && !edit->isReadOnly() && chance(3)) {
                edit->setText(QLatin1String(typed[pick(int(std::size(typed)))]));
                note(QStringLiteral("    %1 = \"%2\"").arg(edit->objectName(), edit->text()));
            }
        }
        for (QComboBox *box : d.findChildren<QComboBox *>()) {
            if (box->isEnabled() && box->count() > 0 && chance(3))
                box->setCurrentIndex(pick(box->count()));
        }
        for (QAbstractSpinBox *spin : d.findChildren<QAbstractSpinBox *>()) {
            if (auto *s = qobject_cast<QDoubleSpinBox *>(spin); s && chance(3))
                s->setValue(s->minimum() + (s->maximum() - s->minimum()) * pick(101) / 100.0);
            else if (auto *i = qobject_cast<QSpinBox *>(spin); i && chance(3))
                i->setValue(i->minimum() + pick(i->maximum() - i->minimum() + 1));
        }
        if (chance(3)) {
            note(QStringLiteral("    cancel"));
            return false;
        }
        // OK as the user presses it, so the dialog's own checks run.
        d.setResult(QDialog::Rejected);
        QDialogButtonBox *box = d.findChild<QDialogButtonBox *>();
        QPushButton *ok = box ? box->button(QDialogButtonBox::Ok) : nullptr;
        if (ok)
            ok->click();
        else
            d.accept();
        note(QStringLiteral("    OK -> %1")
                 .arg(d.result() == QDialog::Accepted ? "accepted" : "refused"));
        return d.result() == QDialog::Accepted;
    }

    QList<QenChildWindow *> allChildren() const
    {
        QList<QenChildWindow *> all;
        for (QenDoc *doc : m_w->documents())
            all << QenMainWindow::childrenOf(doc);
        return all;
    }

    template <typename T> QList<T *> visibleIn(QWidget *root) const
    {
        QList<T *> found;
        if (!root)
            return found;
        for (T *widget : root->findChildren<T *>()) {
            if (widget->isVisibleTo(root) && widget->isEnabled())
                found << widget;
        }
        return found;
    }

    void act()
    {
        QenChildWindow *active = m_w->activeChild();
        switch (pick(12)) {
        case 0:
        case 1:
        case 2: {
            const char *name = commands[pick(int(std::size(commands)))];
            m_w->updateAllActions();
            QAction *action = m_w->action(QLatin1String(name));
            if (!action || !action->isEnabled()) {
                note(QStringLiteral("%1 (disabled)").arg(QLatin1String(name)));
                return;
            }
            note(QLatin1String(name));
            action->trigger();
            return;
        }
        case 3: {
            const QList<QenChildWindow *> all = allChildren();
            if (all.isEmpty())
                return;
            QenChildWindow *child = all[pick(int(all.size()))];
            note(QStringLiteral("activate %1").arg(child->title()));
            m_w->setActiveWindow(child);
            return;
        }
        case 4: {
            const QList<QLineEdit *> edits = visibleIn<QLineEdit>(active);
            QList<QLineEdit *> writable;
            for (QLineEdit *e : edits)
                if (!e->isReadOnly())
                    writable << e;
            if (writable.isEmpty())
                return;
            QLineEdit *edit = writable[pick(int(writable.size()))];
            const QString text = QLatin1String(typed[pick(int(std::size(typed)))]);
            note(QStringLiteral("type \"%1\" into %2 of %3 (was \"%4\")")
                     .arg(text, edit->objectName(), active->title(), edit->text()));
            edit->setFocus();
            edit->selectAll();
            edit->insert(text);
            if (chance(2))
                QTest::keyClick(edit, Qt::Key_Return);
            else
                emit edit->editingFinished();
            return;
        }
        case 5: {
            const QList<QComboBox *> boxes = visibleIn<QComboBox>(active);
            if (boxes.isEmpty())
                return;
            QComboBox *box = boxes[pick(int(boxes.size()))];
            const int index = pick(box->count());
            note(QStringLiteral("choose \"%1\" in %2 of %3")
                     .arg(box->itemText(index), box->objectName(), active->title()));
            box->setCurrentIndex(index);
            emit box->activated(index);
            return;
        }
        case 6: {
            QList<QAbstractButton *> buttons;
            for (QAbstractButton *b : visibleIn<QAbstractButton>(active)) {
                if (!b->text().contains(QLatin1String("Help"), Qt::CaseInsensitive))
                    buttons << b;
            }
            if (buttons.isEmpty())
                return;
            QAbstractButton *button = buttons[pick(int(buttons.size()))];
            note(QStringLiteral("click %1 \"%2\" of %3")
                     .arg(button->objectName(), button->text(), active->title()));
            button->click();
            return;
        }
        case 7: {
            QList<QWidget *> movers;
            for (QAbstractSlider *s : visibleIn<QAbstractSlider>(active))
                movers << s;
            for (QAbstractSpinBox *s : visibleIn<QAbstractSpinBox>(active))
                movers << s;
            if (movers.isEmpty())
                return;
            QWidget *mover = movers[pick(int(movers.size()))];
            if (auto *s = qobject_cast<QAbstractSlider *>(mover)) {
                const int value = s->minimum() + pick(s->maximum() - s->minimum() + 1);
                note(QStringLiteral("slide %1 of %2 to %3")
                         .arg(s->objectName(), active->title())
                         .arg(value));
                s->setValue(value);
            } else if (auto *d = qobject_cast<QDoubleSpinBox *>(mover)) {
                const double value =
                    d->minimum() + (d->maximum() - d->minimum()) * pick(1001) / 1000.0;
                note(QStringLiteral("set %1 of %2 to %3")
                         .arg(d->objectName(), active->title())
                         .arg(value));
                d->setValue(value);
                emit d->editingFinished();
            } else if (auto *i = qobject_cast<QSpinBox *>(mover)) {
                const int value = i->minimum() + pick(i->maximum() - i->minimum() + 1);
                note(QStringLiteral("set %1 of %2 to %3")
                         .arg(i->objectName(), active->title())
                         .arg(value));
                i->setValue(value);
                emit i->editingFinished();
            }
            return;
        }
        case 8: {
            const QList<QenChildWindow *> all = allChildren();
            if (all.isEmpty() || !chance(3))
                return;
            QenChildWindow *child = all[pick(int(all.size()))];
            note(QStringLiteral("close %1").arg(child->title()));
            child->close();
            settle();
            return;
        }
        case 9:
            turnEventLoop();
            return;
        case 10:
            if (chance(4))
                roundTrip();
            return;
        default: {
            // A run at a random speed, as fast as possible included.
            QList<QComboBox *> speeds;
            for (QComboBox *box : visibleIn<QComboBox>(active))
                if (box->findText(QStringLiteral("60x")) >= 0)
                    speeds << box;
            if (!speeds.isEmpty()) {
                QComboBox *box = speeds[pick(int(speeds.size()))];
                const int index = pick(box->count());
                note(QStringLiteral("speed \"%1\" in %2")
                         .arg(box->itemText(index), active->title()));
                box->setCurrentIndex(index);
                emit box->activated(index);
            }
            QAction *run = m_w->action(QStringLiteral("actionRun"));
            m_w->updateAllActions();
            if (run && run->isEnabled()) {
                note(QStringLiteral("actionRun"));
                run->trigger();
            }
            return;
        }
        }
    }

    // The event loop turns for a while; a running simulation must move on.
    // The pacing timer fires every second at 1x and every 100 ms from 20x
    // up, so the wait is checked only when it covers a tick with a margin for a loaded machine.
    void turnEventLoop()
    {
        QList<QPointer<QenDoc>> running;
        QList<quint32> before;
        int needed = 0;
        for (QenDoc *doc : m_w->documents()) {
            QenEngine *e = doc->engine();
            if (e->state() == ARunning && e->displayTime() < e->limitMs()) {
                running << doc;
                before << e->displayTime();
                needed = std::max(needed, tickMs(e->speed()) + 250);
            }
        }
        const bool checked = !running.isEmpty() && needed <= 550 && chance(2);
        const int ms = checked ? needed : 30 + pick(200);
        note(QStringLiteral("wait %1 ms").arg(ms));
        QTest::qWait(ms);
        for (int i = 0; checked && i < running.size(); ++i) {
            QenDoc *doc = running[i];
            if (!doc)
                continue;
            QenEngine *e = doc->engine();
            if (e->state() == ARunning && e->displayTime() == before[i])
                fail(QStringLiteral("%1 is running at speed %2 but stood still at %3 ms for %4 ms "
                                    "of event loop")
                         .arg(doc->title())
                         .arg(e->speed())
                         .arg(e->displayTime())
                         .arg(ms));
        }
    }
    static int tickMs(int speed)
    {
        if (speed == 1000)
            return 250;
        return speed > 0 && speed <= 10 ? 1000 / speed : 100;
    }

    // Saving and opening again gives back the same file.
    void roundTrip()
    {
        QenDoc *doc = m_w->activeDocument();
        if (!doc || doc->engine()->state() == ARunning)
            return;
        note(QStringLiteral("round trip of %1").arg(doc->title()));
        const QByteArray saved = bytesOf(doc);
        if (saved.isEmpty()) {
            fail(QStringLiteral("%1 could not be written").arg(doc->title()));
            return;
        }
        QBuffer input;
        input.setData(saved);
        input.open(QIODevice::ReadOnly);
        QenDoc copy(m_w->host());
        if (!copy.readFrom(&input, programDir->filePath(QStringLiteral("copy.qen")))) {
            fail(QStringLiteral("%1 was saved as a file that does not open").arg(doc->title()));
            return;
        }
        const QByteArray again = bytesOf(&copy);
        if (again != saved) {
            qsizetype at = 0;
            while (at < again.size() && at < saved.size() && again[at] == saved[at])
                ++at;
            const QenEngine *e = doc->engine();
            fail(QStringLiteral("%1 opened again differs from what was saved at byte %2 of %3 "
                                "(sim %4, end %5, live %6 ms, %7 samples, state %8)")
                     .arg(doc->title())
                     .arg(at)
                     .arg(saved.size())
                     .arg(e->simTime())
                     .arg(e->endTime())
                     .arg(e->liveTime())
                     .arg(e->track(0).samples.size())
                     .arg(int(e->state())));
        }
    }

    void remember()
    {
        m_before.clear();
        for (QenDoc *doc : m_w->documents())
            m_before.append({QPointer<QenDoc>(doc), digestOf(doc), doc->isModified()});
    }

    // Posted events first, in the order they were posted (an item view's
    // queued commit may still name an editor), then the deletions, as the
    // event loop would run them.
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void check()
    {
        settle();
        for (const QString &title : std::as_const(m_prompt->emptyMessages))
            fail(QStringLiteral("a message titled \"%1\" had no text").arg(title));
        m_prompt->emptyMessages.clear();
        for (QenDoc *doc : m_w->documents()) {
            const QenEngine *e = doc->engine();
            if (!(e->displayTime() <= e->endTime() && e->endTime() <= e->limitMs()))
                fail(QStringLiteral("%1: clocks out of order: display %2, end %3, limit %4")
                         .arg(doc->title())
                         .arg(e->displayTime())
                         .arg(e->endTime())
                         .arg(e->limitMs()));
            for (int t = 0; t < e->trackCount(); ++t) {
                const Qen &q = e->track(t);
                checkValues(doc, t, QStringLiteral("shown"), q.values);
                checkValues(doc, t, QStringLiteral("live"), q.state);
                if (!std::isfinite(q.del) || q.del < 0.0f)
                    fail(QStringLiteral("%1 track %2: DEL is %3")
                             .arg(doc->title())
                             .arg(t)
                             .arg(q.del));
            }
        }
        for (const Before &b : std::as_const(m_before)) {
            if (!b.doc)
                continue;
            if (!b.doc->isModified() && digestOf(b.doc).differsFrom(b.digest) &&
                b.doc->engine()->endTime() != 0 && !savedJustNow(b))
                fail(QStringLiteral("%1 changed but is not marked modified").arg(b.doc->title()));
        }
    }
    // A save clears the mark after the change it records.
    bool savedJustNow(const Before &) const
    {
        const QString last = m_log.isEmpty() ? QString() : m_log.last();
        return last.contains(QLatin1String("save as")) ||
               last.contains(QLatin1String("actionSave"));
    }

    void checkValues(QenDoc *doc, int track, const QString &which, const float *values)
    {
        // Six partial pressures in % of an atmosphere, then uptake and delivery.
        // The agent table lets a gas be given above an atmosphere (nitrous
        // oxide to 150 %, nitrogen to 1600 %) and a syringe fills a closed
        // circuit past 100 %: the model's bound is what the run guarantees,
        // ten times the vaporizer's top or an atmosphere, whichever is more.
        const QenAnesthetic *agent = doc->engine()->agentOf(track);
        const float top = 10.0f * std::max(agent ? agent->max : 0.0f, 100.0f);
        for (int i = 0; i < QenStateSize; ++i) {
            const bool pressure = i < QenCompartments;
            if (!std::isfinite(values[i]) || (pressure && (values[i] < -1e-4f || values[i] > top)))
                fail(QStringLiteral("%1 track %2: %3 value %4 is %5")
                         .arg(doc->title())
                         .arg(track)
                         .arg(which)
                         .arg(i)
                         .arg(values[i]));
        }
    }

    quint32 m_seed;
    std::mt19937 m_rng;
    QenMainWindow *m_w;
    RandomPrompt *m_prompt;
    int m_step = 0;
    QStringList m_log;
    QStringList m_saved;
    QStringList m_unexpected;
    QString m_failure;
    QList<Before> m_before;
};

// Any modal window the walk did not script is closed, so a walk never hangs;
// the test names it.
class ModalGuard : public QObject
{
public:
    ModalGuard()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                found << QLatin1String(modal->metaObject()->className());
                if (auto *d = qobject_cast<QDialog *>(modal))
                    d->reject();
                else
                    modal->close();
            }
        });
        m_timer.start(100);
    }
    QStringList found;

private:
    QTimer m_timer;
};

QList<quint32> seedsFrom(const QString &text)
{
    QList<quint32> seeds;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList range = part.split(QLatin1Char('-'));
        const quint32 from = range.first().toUInt();
        const quint32 to = range.size() > 1 ? range.last().toUInt() : from;
        for (quint32 s = from; s <= to && s - from < 100000; ++s)
            seeds << s;
    }
    return seeds;
}
} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_prompt = static_cast<RandomPrompt *>(qenApp->prompt());
        QVERIFY(qenApp->initialize());
        w = qenApp->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        if (qenApp->splashScreen())
            qenApp->splashScreen()->timeUp();
    }

    void walks_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("length");
        const QString seeds = qEnvironmentVariable("QUENOR_MONKEY_SEEDS");
        if (!seeds.isEmpty()) {
            const int length = qEnvironmentVariableIntValue("QUENOR_MONKEY_ACTIONS");
            for (quint32 seed : seedsFrom(seeds))
                QTest::addRow("seed %u", seed) << seed << (length > 0 ? length : 2000);
            return;
        }
        // Walks run one after another in one program, so a seed's walk also
        // depends on the seeds before it: rerun a failure with the same list.
        for (quint32 seed : {3u, 4u, 5u, 6u})
            QTest::addRow("seed %u", seed) << seed << 500;
    }
    void walks()
    {
        QFETCH(quint32, seed);
        QFETCH(int, length);
        ModalGuard guard;
        QString failure;
        {
            Monkey monkey(seed, w, m_prompt);
            failure = monkey.walk(length);
        }
        // Back to one fresh document for the next walk, nothing asked.
        for (QenDoc *doc : w->documents())
            doc->setModified(false);
        for (QenChildWindow *child : w->findChildren<QenChildWindow *>())
            child->close();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!failure.isEmpty())
            QFAIL(qPrintable(failure));
        QVERIFY2(guard.found.isEmpty(),
                 qPrintable(QStringLiteral("seed %1 met windows no script answers: %2")
                                .arg(seed)
                                .arg(guard.found.join(QLatin1String(", ")))));
        if (w->documents().isEmpty())
            QVERIFY(w->newFile());
    }

private:
    QenMainWindow *w = nullptr;
    RandomPrompt *m_prompt = nullptr;
};

int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    programDir = &dir;
    int appArgc = 1;
    char name[] = "quenor";
    char *appArgv[] = {name, nullptr};
    QenApplication app(appArgc, appArgv, dir.path(), dir.filePath("user"));
    app.setPrompt(std::make_unique<RandomPrompt>());
    app.setValue("MainWindow", "Max", false);
    app.setValue("MainWindow", "Size", QSize(1100, 760));
    TestMonkey test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_monkey.moc"
