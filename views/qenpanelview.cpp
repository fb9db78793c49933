#include "views/qenpanelview.h"
#include "ui_qenpanelview.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenupdateevent.h"
#include "engine/qenprompt.h"
#include "views/qencallbackevent.h"
#include "views/qendoublevalidator.h"
#include "views/qengauge.h"
#include "views/qengraphview.h"
#include "views/qenmchn.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const QString defaultsGroup = QStringLiteral("Defaults");

constexpr int releasedRepeatMs = 100;
constexpr int fastestRepeatMs = 10;
constexpr double stepPerClick = 0.05;

QString twoDecimals(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

// --- arithmetic kept apart for the tests

QenPanelView::GaugeScale QenPanelView::gaugeScale(int limit)
{
    const int x = std::max(limit, 1);
    const int p = int(std::lround(std::pow(10.0, std::floor(std::log10(double(x))))));
    GaugeScale s;
    if (p <= 9)
        return s; // 1 and 5
    const double ratio = double(x) / p;
    if (ratio <= 1) {
        s.tick = p / 10;
        s.longTick = 5 * s.tick;
    } else if (ratio <= 3) {
        s.tick = p / 5;
        s.longTick = p;
    } else {
        s.tick = p / 2;
        s.longTick = ratio > 4 ? (p / 2) * 5 : p;
    }
    return s;
}

int QenPanelView::intervalForSpeed(int speed)
{
    switch (speed) {
    case 1:
    case 2:
    case 5:
    case 10:
        return 1000 / speed;
    case 1000:
        return 250;
    default:
        return 100;
    }
}

int QenPanelView::parseSpeed(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(tr("AFAP"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("AFAP")) == 0)
        return 1000;
    const int x = t.indexOf(QLatin1Char('x'), 0, Qt::CaseInsensitive);
    bool ok = false;
    const int speed = (x < 0 ? t : t.left(x)).trimmed().toInt(&ok);
    return ok && speed > 0 ? speed : 0;
}

QString QenPanelView::timeText(quint32 ms)
{
    const quint32 seconds = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString QenPanelView::totalText(double value)
{
    return QStringLiteral("%1").arg(value, 0, 'f', std::fabs(value) >= 1000 ? 0 : 2);
}

QString QenPanelView::formatValue(const QString &format, double value)
{
    static const QRegularExpression spec(QStringLiteral("%(-?)(\\d*)(?:\\.(\\d+))?([fFeEgG])"));
    const QRegularExpressionMatch m = spec.match(format);
    if (!m.hasMatch())
        return QString::number(value, 'f', 2);
    int width = m.captured(2).toInt();
    if (!m.captured(1).isEmpty())
        width = -width;
    const int precision = m.captured(3).isEmpty() ? 6 : m.captured(3).toInt();
    const char conversion = m.captured(4).at(0).toLatin1();
    return QStringLiteral("%1").arg(value, width, conversion, precision);
}

// --- construction

QenPanelView::QenPanelView(QenDoc *document, QenChildWindowInterface *owner, QWidget *parent)
    : QenViewCommon(document, owner, parent), m_ui(std::make_unique<Ui::QenPanelView>())
{
    m_content = new QWidget(this);
    m_ui->setupUi(m_content);
    setWindowTitle(m_content->windowTitle());

    m_rows[DEL] = {m_ui->leDEL, m_ui->leHighDEL, m_ui->tbDELup, m_ui->tbDELdown, m_ui->ggDEL};
    m_rows[FGF] = {m_ui->leFGF, m_ui->leHighFGF, m_ui->tbFGFup, m_ui->tbFGFdown, m_ui->ggFGF};
    m_rows[VA] = {m_ui->leVA, m_ui->leHighVA, m_ui->tbVAup, m_ui->tbVAdown, m_ui->ggVA};
    m_rows[CO] = {m_ui->leCO, m_ui->leHighCO, m_ui->tbCOup, m_ui->tbCOdown, m_ui->ggCO};

    m_validator = new QenDoubleValidator(this);
    m_delLimitValidator = new QIntValidator(1, 1, this);
    m_ui->leHighDEL->setValidator(m_delLimitValidator);
    for (int s = FGF; s <= CO; ++s)
        m_rows[size_t(s)].limit->setValidator(new QIntValidator(1, 500, this));
    for (const Row &row : m_rows) {
        row.field->setValidator(m_validator);
        row.field->installEventFilter(this);
        connect(row.field, &QLineEdit::editingFinished, this, qOverload<>(&QenPanelView::changed));
        connect(row.field, &QLineEdit::textChanged, this, &QenPanelView::verify);
        connect(row.limit, &QLineEdit::editingFinished, this, &QenPanelView::maxChanged);
        connect(row.limit, &QLineEdit::textChanged, this, &QenPanelView::verify);
        connect(row.up, &QToolButton::clicked, this, &QenPanelView::upDownValue);
        connect(row.down, &QToolButton::clicked, this, &QenPanelView::upDownValue);
        connect(row.gauge, &QenGauge::FireQengaugeStart, this, &QenPanelView::qengaugeChangeStart);
        connect(row.gauge, &QenGauge::FireQengaugeChange, this, &QenPanelView::qengaugeChangeGauge);
        connect(row.gauge, &QenGauge::FireQengaugeStop, this, &QenPanelView::qengaugeChangeStop);
    }
    // An unacceptable DEL top never finishes editing on its own; it is caught
    // as the field is left so that the user is told.
    m_ui->leHighDEL->installEventFilter(this);

    for (QLabel *star : {m_ui->stFGF, m_ui->stVA}) {
        QSizePolicy policy = star->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        star->setSizePolicy(policy);
        star->hide();
    }
    m_ui->lbDEL->setTextFormat(Qt::RichText);
    // The DEL caption has two lines (agent and unit); the others line up with it.
    for (QLabel *caption : {m_ui->lbDEL, m_ui->lbFGF, m_ui->lbVA, m_ui->lbCO}) {
        caption->setMinimumHeight(2 * caption->fontMetrics().lineSpacing() + 2);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    }

    connect(m_ui->tbFlush, &QToolButton::clicked, this, &QenPanelView::flush);
    connect(m_ui->m_Srynge, &QAbstractButton::clicked, this, &QenPanelView::Srynge);
    connect(m_ui->m_Qenmchn, &QenMchn::Resized, this, &QenPanelView::qenmchnGeometryUpdated);
    connect(&m_timer, &QTimer::timeout, this, &QenPanelView::nextStep);
    if (QenDoc *doc = this->document())
        connect(doc, &QenDoc::updatePanel, this, &QenPanelView::updateData);

    // Scale tops: the defaults, unless a saved simulation brought its own.
    const QenDoc *doc = this->document();
    const QenIni *ini = doc ? &doc->host()->ini() : nullptr;
    const char *keys[] = {"", "HighFGF", "HighVA", "HighCO"};
    for (int s = FGF; s <= CO; ++s) {
        int top = ini ? ini->value(defaultsGroup, QLatin1String(keys[s]), 10).toInt() : 10;
        if (doc && doc->panelMarker() >= 10 && doc->panelSettings().flag &&
            doc->panelSettings().gaugeTops[s - 1] > 0)
            top = doc->panelSettings().gaugeTops[s - 1];
        if (top < 1 || top > 500)
            top = 10;
        m_rows[size_t(s)].limit->setText(QString::number(top));
    }
    m_showCost = ini && ini->value(defaultsGroup, QStringLiteral("Showcost"), false).toBool();

    const int agent = owner ? owner->agentIndex() : 0;
    selectAgent(agent < 0 ? 0 : agent);
}

QenPanelView::~QenPanelView() = default;

bool QenPanelView::currentAgent(int *agent) const
{
    if (agent)
        *agent = m_agent;
    return true;
}

void QenPanelView::selectAgent(int agent)
{
    m_agent = agent;
    for (int s : {FGF, VA})
        makeReadOnly(m_rows[size_t(s)].field, true);
    refreshAll();
}

void QenPanelView::setCostShown(bool on)
{
    m_showCost = on;
    refreshTotals(true);
}

QenGauge *QenPanelView::gauge(Setting s) const
{
    return m_rows[size_t(s)].gauge;
}
QLineEdit *QenPanelView::field(Setting s) const
{
    return m_rows[size_t(s)].field;
}
QLineEdit *QenPanelView::limitField(Setting s) const
{
    return m_rows[size_t(s)].limit;
}
QToolButton *QenPanelView::upButton(Setting s) const
{
    return m_rows[size_t(s)].up;
}
QToolButton *QenPanelView::downButton(Setting s) const
{
    return m_rows[size_t(s)].down;
}

int QenPanelView::settingOf(const QObject *object) const
{
    if (!object)
        return -1;
    for (int s = DEL; s <= CO; ++s) {
        const Row &r = m_rows[size_t(s)];
        if (object == r.field || object == r.limit || object == r.up || object == r.down ||
            object == r.gauge)
            return s;
    }
    return -1;
}

int QenPanelView::limit(Setting setting) const
{
    if (setting == DEL) {
        const QenDoc *doc = document();
        const QenAnesthetic *a =
            doc && m_agent < doc->agentCount() ? doc->engine()->agentOf(m_agent) : nullptr;
        if (a && a->high != 0)
            return a->high;
    }
    const int top = m_rows[size_t(setting)].limit->text().toInt();
    return top > 0 ? top : 10;
}

bool QenPanelView::panelSettings(QenChildWindowInterface::PanelSettings *settings) const
{
    if (!settings)
        return false;
    settings->delTop = qint16(limit(DEL));
    for (int s = FGF; s <= CO; ++s)
        settings->gaugeTops[s - 1] = qint16(limit(Setting(s)));
    settings->flag = true;
    return true;
}

double QenPanelView::settingValue(int setting) const
{
    const QenDoc *doc = document();
    if (!doc)
        return 0;
    const QenEngine *e = doc->engine();
    switch (setting) {
    case DEL:
        return m_agent < e->trackCount() ? e->track(m_agent).del : 0.0;
    case FGF:
        return e->fgf();
    case VA:
        return e->va();
    case CO:
        return e->co();
    }
    return 0;
}

void QenPanelView::applySetting(int setting, double value)
{
    QenDoc *doc = document();
    if (!doc)
        return;
    switch (setting) {
    case DEL:
        doc->engine()->setDEL(QenUserOrigin, m_agent, float(value));
        break;
    case FGF:
        doc->engine()->setFGF(QenUserOrigin, float(value));
        break;
    case VA:
        doc->engine()->setVA(QenUserOrigin, float(value));
        break;
    case CO:
        doc->engine()->setCO(QenUserOrigin, float(value));
        break;
    }
}

// --- running

bool QenPanelView::isRunning() const
{
    const QenDoc *doc = document();
    return doc && doc->engine()->state() == ARunning;
}

void QenPanelView::stopTimer()
{
    m_timer.stop();
}

void QenPanelView::startRun()
{
    QenEngine *e = document()->engine();
    e->setState(QenUserOrigin, ARunning);
    // The total starts from the whole second shown, as the clock on the panel does.
    m_pacedMs = qint64(e->displayTime() / 1000) * 1000;
    m_stopwatch.restart();
    m_timer.start(e->afapKey() ? 250 : intervalForSpeed(e->speed()));
}

void QenPanelView::pauseRun()
{
    m_timer.stop();
    if (QenDoc *doc = document())
        doc->engine()->pause();
}

void QenPanelView::run()
{
    QenDoc *doc = document();
    if (!doc)
        return;
    if (doc->engine()->hasDuplicateAgents()) {
        if (QenPrompt *prompt = doc->host()->prompt())
            prompt->warning(tr("Quenor®"),
                            tr("<p>Two of the same agents are being administered. You must "
                               "remove one before starting the simulation."));
        return;
    }
    if (isRunning())
        pauseRun();
    else
        startRun();
}

void QenPanelView::nextStep()
{
    if (!isRunning()) {
        m_timer.stop();
        return;
    }
    qint64 elapsed = m_stopwatch.restart();
    if (elapsed < 0)
        elapsed = m_timer.interval();
    pace(elapsed);
}

void QenPanelView::pace(qint64 elapsedMs)
{
    QenEngine *e = document()->engine();
    if (e->speed() == 1000 || (e->state() == ARunning && e->afapKey())) {
        e->advance(-1);
        return;
    }
    m_pacedMs += qint64(e->speed()) * std::max<qint64>(elapsedMs, 0);
    m_pacedMs = std::min<qint64>(m_pacedMs, INT_MAX);
    e->advance(int(m_pacedMs));
}

bool QenPanelView::askToChange(bool eraseNow, bool *wasRunning)
{
    *wasRunning = isRunning();
    if (*wasRunning)
        pauseRun();
    QenDoc *doc = document();
    return doc && doc->engine()->replayGuard(eraseNow);
}

void QenPanelView::resumeIf(bool wasRunning)
{
    if (wasRunning && document() && !isRunning())
        startRun();
}

void QenPanelView::SetSpeed(const QString &speed)
{
    const int value = parseSpeed(speed);
    if (value == 0 || !document())
        return;
    m_speedText = value == 1000 ? tr("AFAP") : QStringLiteral("%1x").arg(value);
    // This view is not told of its own change; it sets its pace itself.
    document()->engine()->setSpeed(QenDoc::originOf(this), value);
    if (m_timer.isActive())
        m_timer.setInterval(document()->engine()->afapKey() ? 250 : intervalForSpeed(value));
}

// --- control tray

void QenPanelView::ChangeAgent(const QString &agent)
{
    Q_UNUSED(agent);
}

void QenPanelView::ChangeCircuit(const QString &circuit)
{
    bool wasRunning = false;
    if (askToChange(false, &wasRunning)) {
        m_circuit = circuit;
        document()->engine()->setCircuit(QenUserOrigin, circuit);
        refreshSyringe();
    }
    resumeIf(wasRunning);
}

void QenPanelView::ChangeSpeed(const QString &speed)
{
    const bool wasRunning = isRunning();
    if (wasRunning)
        pauseRun();
    SetSpeed(speed);
    resumeIf(wasRunning);
}

void QenPanelView::ChangeWeight(double weight_old)
{
    bool wasRunning = false;
    if (askToChange(false, &wasRunning))
        document()->engine()->setWeight(QenUserOrigin, float(weight_old));
    resumeIf(wasRunning);
}

// --- syringe and flush

void QenPanelView::Srynge()
{
    QenDoc *doc = document();
    if (!doc || !doc->engine()->canInject(m_agent))
        return;
    bool wasRunning = false;
    // Giving a dose in the past rewrites what follows: the recording goes.
    if (askToChange(true, &wasRunning))
        doc->engine()->injectDose(m_agent);
    resumeIf(wasRunning);
}

void QenPanelView::flush()
{
    bool wasRunning = false;
    if (askToChange(true, &wasRunning))
        document()->engine()->flushCircuit();
    resumeIf(wasRunning);
}

// --- fields, buttons and gauges

void QenPanelView::changed()
{
    changed(qobject_cast<QWidget *>(sender()), nullptr);
}

void QenPanelView::changed(QWidget *widget)
{
    changed(widget, nullptr);
}

void QenPanelView::changed(QWidget *widget, QAbstractButton *button)
{
    auto *field = qobject_cast<QLineEdit *>(widget);
    const int s = settingOf(field);
    if (s < 0 || field != m_rows[size_t(s)].field || !document())
        return;
    if (!button) {
        // A field showing the effective value was not edited.
        if (field->isReadOnly())
            return;
        if (field->text() == twoDecimals(settingValue(s)))
            return;
    }
    bool ok = false;
    const double value = field->text().toDouble(&ok);
    if (!ok || value < 0) {
        field->setText(twoDecimals(settingValue(s)));
        return;
    }
    bool wasRunning = false;
    if (askToChange(false, &wasRunning)) {
        QCoreApplication::postEvent(this, new QenCallbackEvent(field, value, wasRunning));
        return;
    }
    resumeIf(wasRunning);
    if (button) {
        // The question took the mouse: the button must not go on repeating.
        button->setDown(false);
        button->setAutoRepeatInterval(releasedRepeatMs);
    }
}

void QenPanelView::upDownValue()
{
    if (m_upDownBusy)
        return;
    m_upDownBusy = true;
    auto *button = qobject_cast<QToolButton *>(sender());
    const int s = settingOf(button);
    if (s >= 0) {
        const Row &row = m_rows[size_t(s)];
        // Held down, the repeat speeds up; a plain click starts afresh.
        if (button->isDown())
            button->setAutoRepeatInterval(
                std::max(fastestRepeatMs, button->autoRepeatInterval() - 5));
        else
            button->setAutoRepeatInterval(releasedRepeatMs);
        const double current = settingValue(s);
        double value = button == row.up
                           ? std::min(current + stepPerClick, double(limit(Setting(s))))
                           : std::max(current - stepPerClick, 0.0);
        value = std::max(0.0, std::round(value * 100.0) / 100.0);
        row.field->setText(twoDecimals(value));
        changed(row.field, button);
    }
    m_upDownBusy = false;
}

void QenPanelView::qengaugeChangeStart()
{
    auto *g = qobject_cast<QenGauge *>(sender());
    const int s = settingOf(g);
    if (s < 0 || !document())
        return;
    bool wasRunning = false;
    const bool granted = askToChange(false, &wasRunning);
    m_gaugeResume = wasRunning;
    if (!granted) {
        resumeIf(wasRunning);
        m_gaugeResume = false;
        return;
    }
    g->setDragAccepted(true);
    if (s == FGF || s == VA)
        revealSetting(m_rows[size_t(s)].field);
}

void QenPanelView::qengaugeChangeGauge(short value)
{
    const int s = settingOf(sender());
    if (s >= 0)
        m_rows[size_t(s)].field->setText(twoDecimals(value / 20.0));
}

void QenPanelView::qengaugeChangeStop()
{
    auto *g = qobject_cast<QenGauge *>(sender());
    const int s = settingOf(g);
    if (s < 0 || !document())
        return;
    applySetting(s, g->value() / 20.0);
    const bool resume = m_gaugeResume;
    m_gaugeResume = false;
    resumeIf(resume);
}

void QenPanelView::verify(const QString &text)
{
    Q_UNUSED(text);
    const int s = settingOf(sender());
    if (s >= 0)
        verifyRow(s);
}

void QenPanelView::verifyRow(int setting)
{
    const Row &row = m_rows[size_t(setting)];
    bool ok = false;
    const int top = row.limit->text().toInt(&ok);
    const bool over = ok && row.field->text().toDouble() > top;
    QPalette p = row.field->palette();
    p.setColor(QPalette::Text, over ? Qt::red : Qt::black);
    row.field->setPalette(p);
}

void QenPanelView::maxChanged()
{
    maxChangedFor(settingOf(sender()));
}

void QenPanelView::maxChangedFor(int s)
{
    if (s < 0 || m_limitBusy || !document())
        return;
    m_limitBusy = true;
    QLineEdit *field = m_rows[size_t(s)].limit;
    QString text = field->text();
    int pos = 0;
    const bool acceptable =
        field->validator() && field->validator()->validate(text, pos) == QValidator::Acceptable;
    QenDoc *doc = document();
    QenAnesthetic *agent = m_agent < doc->agentCount()
                               ? doc->catalogue().value(doc->engine()->track(m_agent).agent)
                               : nullptr;
    if (!acceptable) {
        if (s == DEL) {
            if (QenPrompt *prompt = doc->host()->prompt())
                prompt->warning(tr("Quenor®"),
                                tr("The input is not valid, please check and input it again."));
            field->setText(QString::number(agent ? int(agent->high) : limit(DEL)));
        } else {
            field->setText(QString::number(limit(Setting(s))));
        }
        m_limitBusy = false;
        return;
    }
    const int top = text.toInt();
    if (s == DEL) {
        if (agent && agent->high != top) {
            agent->high = quint16(top);
            doc->setModified(true);
            refreshValues(true);
            refreshGauges();
            refreshGraphScales(DEL);
        }
    } else {
        scaleGauge(s);
        showSetting(s);
        doc->setModified(true);
        refreshGraphScales(s);
    }
    verifyRow(s);
    m_limitBusy = false;
}

void QenPanelView::refreshGraphScales(int setting)
{
    QenDoc *doc = document();
    if (!doc)
        return;
    Q_UNUSED(setting);
    // Each graph takes its tops from the picture of its own window, and the
    // DEL top from the agent, which every window of the agent shares.
    for (QenChildWindowInterface *view : doc->views()) {
        if (view->agentIndex() != m_agent)
            continue;
        if (auto *graph = qobject_cast<QenGraphView *>(view->graphView()))
            graph->refreshScales();
    }
}

// --- showing values

void QenPanelView::showDelLabel()
{
    const QenDoc *doc = document();
    const QString name = doc ? doc->agentName(m_agent) : QString();
    m_ui->lbDEL->setText(
        QStringLiteral("<b>%1</b><br>%2").arg(name.toHtmlEscaped(), tr("DEL %atm")));
}

void QenPanelView::loadAgent()
{
    const QenDoc *doc = document();
    const QenAnesthetic *a =
        doc && m_agent < doc->agentCount() ? doc->engine()->agentOf(m_agent) : nullptr;
    showDelLabel();
    if (!a)
        return;
    m_format = a->format;
    m_delLimitValidator->setRange(1, std::max(1, int(a->max)));
    if (!m_ui->leHighDEL->hasFocus())
        m_ui->leHighDEL->setText(QString::number(limit(DEL)));
}

void QenPanelView::makeReadOnly(QLineEdit *field, bool readOnly)
{
    field->setReadOnly(readOnly);
    if (readOnly)
        field->setCursorPosition(0);
    QLabel *star = field == m_ui->leFGF ? m_ui->stFGF : field == m_ui->leVA ? m_ui->stVA : nullptr;
    if (star && !readOnly)
        star->hide();
}

void QenPanelView::revealSetting(QLineEdit *field)
{
    const int s = settingOf(field);
    if (s < 0)
        return;
    field->setText(twoDecimals(settingValue(s)));
    makeReadOnly(field, false);
    field->setFocus(Qt::OtherFocusReason);
}

void QenPanelView::showSetting(int setting)
{
    const Row &row = m_rows[size_t(setting)];
    const double value = settingValue(setting);
    if (!row.field->isReadOnly() || setting == DEL || setting == CO)
        row.field->setText(twoDecimals(value));
    row.gauge->setValue(int(std::lround(std::min(value, double(limit(Setting(setting)))) * 20.0)));
}

void QenPanelView::showEffective()
{
    QenDoc *doc = document();
    if (!doc || m_agent >= doc->agentCount())
        return;
    QenEngine *e = doc->engine();
    const quint32 t = e->displayTime();
    for (int s : {FGF, VA}) {
        QLineEdit *field = m_rows[size_t(s)].field;
        QLabel *star = s == FGF ? m_ui->stFGF : m_ui->stVA;
        if (field->hasFocus())
            continue;
        // Left without a change, the field shows the flow at the displayed time again.
        if (!field->isReadOnly())
            makeReadOnly(field, true);
        const double effective = s == FGF ? e->fgfDeliveredAt(m_agent, t) : e->vaBreathedAt(t);
        const QString text = twoDecimals(effective);
        if (field->text() != text) {
            field->setText(text);
            field->setCursorPosition(0);
        }
        star->setVisible(t != 0 && text != twoDecimals(settingValue(s)));
    }
}

void QenPanelView::scaleGauge(int setting)
{
    const GaugeScale sc = gaugeScale(limit(Setting(setting)));
    QenGauge *g = m_rows[size_t(setting)].gauge;
    g->setMax(20 * limit(Setting(setting)));
    g->setTickEvery(20 * sc.tick);
    g->setLTickEvery(20 * sc.longTick);
}

void QenPanelView::refreshGauges()
{
    for (int s = DEL; s <= CO; ++s) {
        scaleGauge(s);
        const Row &row = m_rows[size_t(s)];
        row.gauge->setValue(
            int(std::lround(std::min(settingValue(s), double(limit(Setting(s)))) * 20.0)));
    }
}

void QenPanelView::refreshValues(bool force)
{
    QenDoc *doc = document();
    if (!doc || m_agent >= doc->agentCount())
        return;
    QenEngine *e = doc->engine();
    const quint32 t = e->displayTime();
    const double top = std::max(1, limit(DEL));
    // Picture order: CKT, ALV, ART (the arterial blood is the alveolar gas), VRG, MUS, FAT, VEN.
    static const int elements[MchnPartCount] = {CKT, ALV, ALV, VRG, MUS, FAT, VEN};
    QenMchn *m = m_ui->m_Qenmchn;
    for (int i = 0; i < MchnPartCount; ++i) {
        const double pp = e->compartmentAt(m_agent, elements[i], t);
        const int level = std::clamp(int(pp * 100.0 / top), 0, 100);
        const QString text = formatValue(m_format, pp);
        if (force || level != m_levels[size_t(i)]) {
            m_levels[size_t(i)] = level;
            m->setLevel(MchnPart(i), level);
        }
        if (force || text != m_valueTexts[size_t(i)]) {
            m_valueTexts[size_t(i)] = text;
            m->setValue(MchnPart(i), text);
        }
    }
    const QenAnesthetic *a = e->agentOf(m_agent);
    int mac = a ? int(double(a->mac) * 100.0 / top) : 0;
    if (mac > 100)
        mac = 0;
    if (force || mac != m_macLevel) {
        m_macLevel = mac;
        m->setMac(mac);
    }
}

void QenPanelView::refreshTotals(bool force)
{
    QenDoc *doc = document();
    if (!doc || m_agent >= doc->agentCount())
        return;
    QenEngine *e = doc->engine();
    const quint32 t = e->displayTime();
    const double factor = m_showCost ? e->costPerLitre(m_agent) : 1.0;
    const QString time = timeText(t);
    const QString delivered = totalText(e->compartmentAt(m_agent, QenDelivered, t) * factor);
    const QString uptake = totalText(e->compartmentAt(m_agent, QenUptake, t) * factor);
    if (force || time != m_timeText)
        m_ui->leTime->setText(m_timeText = time);
    if (force || delivered != m_deliveredText)
        m_ui->leDelivered->setText(m_deliveredText = delivered);
    if (force || uptake != m_uptakeText)
        m_ui->leUptake->setText(m_uptakeText = uptake);
}

void QenPanelView::refreshSyringe()
{
    const QenDoc *doc = document();
    m_ui->m_Srynge->setEnabled(doc && doc->engine()->canInject(m_agent));
}

void QenPanelView::refreshAll()
{
    QenDoc *doc = document();
    if (!doc)
        return;
    if (m_agent >= doc->agentCount())
        m_agent = 0;
    loadAgent();
    m_circuit = doc->engine()->circuit();
    const int speed = doc->engine()->speed();
    m_speedText = speed == 1000 ? tr("AFAP") : QStringLiteral("%1x").arg(speed);
    for (int s = DEL; s <= CO; ++s)
        if (!m_rows[size_t(s)].field->hasFocus() || m_rows[size_t(s)].field->isReadOnly())
            showSetting(s);
    refreshValues(true);
    refreshTotals(true);
    showEffective();
    refreshSyringe();
    refreshGauges();
    for (int s = DEL; s <= CO; ++s)
        verifyRow(s);
}

void QenPanelView::updateData()
{
    for (int s : {FGF, VA})
        makeReadOnly(m_rows[size_t(s)].field, true);
    refreshAll();
}

void QenPanelView::qenmchnGeometryUpdated()
{
    // The containers moved: the levels and texts are drawn afresh in them.
    refreshValues(true);
}

// --- events

bool QenPanelView::event(QEvent *event)
{
    if (event->type() == QenUpdateEvent::eventType) {
        auto *update = static_cast<QenUpdateEvent *>(event);
        if (!concernsMe(update))
            return true;
        const int hints = update->hints();
        if (hints & QenHint::Reset)
            m_agent = 0;
        if (hints == QenHint::All) {
            updateData();
            return true;
        }
        if (hints & QenHint::Agent)
            loadAgent();
        if (hints & QenHint::Circuit) {
            m_circuit = document()->engine()->circuit();
            refreshSyringe();
        }
        if (hints & QenHint::Speed) {
            const int speed = document()->engine()->speed();
            m_speedText = speed == 1000 ? tr("AFAP") : QStringLiteral("%1x").arg(speed);
            if (m_timer.isActive())
                m_timer.setInterval(intervalForSpeed(speed));
        }
        for (int s = DEL; s <= CO; ++s) {
            static const int bits[] = {QenHint::Del, QenHint::Fgf, QenHint::Va, QenHint::Co};
            if (!(hints & bits[s]))
                continue;
            QLineEdit *field = m_rows[size_t(s)].field;
            if (s == FGF || s == VA) {
                // The new setting shows until the next displayed time brings the
                // flow in effect then (the recording may not be cut back yet).
                field->setText(twoDecimals(settingValue(s)));
                makeReadOnly(field, true);
                (s == FGF ? m_ui->stFGF : m_ui->stVA)->hide();
            }
            showSetting(s);
        }
        if (hints & QenHint::Values) {
            refreshValues(false);
            refreshTotals(false);
            showEffective();
        }
        if (hints & QenHint::RunState) {
            const AState state = document()->engine()->state();
            if (state == APaused || state == AFinished) {
                m_timer.stop();
                refreshAll();
                refreshGauges();
            }
        }
        if (hints & (QenHint::Agent | QenHint::Del | QenHint::Fgf | QenHint::Va | QenHint::Co |
                     QenHint::Weight)) {
            refreshGauges();
            refreshValues(true);
        }
        return true;
    }
    if (event->type() == QenCallbackEventType) {
        if (auto *callback = dynamic_cast<QenCallbackEvent *>(event)) {
            QLineEdit *field = callback->field();
            const int s = settingOf(field);
            if (s >= 0 && document()) {
                const bool hadFocus = field->hasFocus();
                m_rows[size_t(s)].gauge->setValue(int(std::lround(callback->value() * 20.0)));
                applySetting(s, callback->value());
                if (hadFocus) {
                    field->home(false);
                    field->setFocus(Qt::OtherFocusReason);
                }
                resumeIf(callback->resume());
            }
            return true;
        }
    }
    return QenViewCommon::event(event);
}

bool QenPanelView::eventFilter(QObject *watched, QEvent *event)
{
    const int s = settingOf(watched);
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (s < 0 || !field)
        return QenViewCommon::eventFilter(watched, event);
    const QEvent::Type type = event->type();

    if (field == m_ui->leHighDEL) {
        bool leaving = type == QEvent::FocusOut;
        if (type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            leaving = key == Qt::Key_Return || key == Qt::Key_Enter;
        }
        QString text = field->text();
        int pos = 0;
        if (leaving && !m_limitBusy &&
            m_delLimitValidator->validate(text, pos) != QValidator::Acceptable) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    // Reported from outside the focus change that found it.
                    QLineEdit *high = m_ui->leHighDEL;
                    QString t = high->text();
                    int p = 0;
                    if (m_delLimitValidator->validate(t, p) != QValidator::Acceptable)
                        maxChangedFor(DEL);
                },
                Qt::QueuedConnection);
        }
        return QenViewCommon::eventFilter(watched, event);
    }

    if ((field == m_ui->leFGF || field == m_ui->leVA) && field->isReadOnly() &&
        (type == QEvent::MouseButtonPress || type == QEvent::FocusIn)) {
        revealSetting(field);
        return false;
    }
    if (type == QEvent::FocusOut && !field->isReadOnly()) {
        QString text = field->text();
        int pos = 0;
        // Left empty or as a lone ".", the field shows the setting again.
        if (m_validator->validate(text, pos) != QValidator::Acceptable)
            field->setText(twoDecimals(settingValue(s)));
    }
    return QenViewCommon::eventFilter(watched, event);
}

// --- layout

QSize QenPanelView::minimumSizeHint() const
{
    return m_content->minimumSizeHint();
}

QSize QenPanelView::sizeHint() const
{
    return m_content->minimumSizeHint();
}

void QenPanelView::resizeEvent(QResizeEvent *event)
{
    QenViewCommon::resizeEvent(event);
    fitPicture();
}

void QenPanelView::fitPicture()
{
    // The picture keeps the proportions of its smallest layout, centred in the view.
    const QSize base = m_content->minimumSizeHint().expandedTo(QSize(1, 1));
    const double aspect = double(base.width()) / base.height();
    int w = width();
    int h = int(w / aspect);
    if (h > height()) {
        h = height();
        w = int(h * aspect);
    }
    w = std::max(w, base.width());
    h = std::max(h, base.height());
    m_content->setGeometry((width() - w) / 2 > 0 ? (width() - w) / 2 : 0,
                           (height() - h) / 2 > 0 ? (height() - h) / 2 : 0, w, h);
}

bool QenPanelView::numericsHidden() const
{
    return m_ui->m_Qenmchn->valuesHidden();
}

void QenPanelView::setNumericsHidden(bool hidden)
{
    m_ui->m_Qenmchn->setValuesHidden(hidden);
}
