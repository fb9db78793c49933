#include "views/qenpanelview.h"
#include "ui_qenpanelview.h"

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenpacer.h"
#include "document/qenupdateevent.h"
#include "engine/qenfootprint.h"
#include "engine/qenprompt.h"
#include "views/qencallbackevent.h"
#include "views/qendoublevalidator.h"
#include "views/qengauge.h"
#include "views/qenmchn.h"
#include "views/qensettingrow.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

const QString defaultsGroup = QStringLiteral("Defaults");

constexpr int releasedRepeatMs = 100;

QString twoDecimals(double value)
{
    return QenSettingRow::twoDecimals(value);
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

    const QenSettingRow::Widgets widgets[] = {
        {m_ui->leDEL, m_ui->leHighDEL, m_ui->tbDELup, m_ui->tbDELdown, m_ui->ggDEL, nullptr},
        {m_ui->leFGF, m_ui->leHighFGF, m_ui->tbFGFup, m_ui->tbFGFdown, m_ui->ggFGF, m_ui->stFGF},
        {m_ui->leVA, m_ui->leHighVA, m_ui->tbVAup, m_ui->tbVAdown, m_ui->ggVA, m_ui->stVA},
        {m_ui->leCO, m_ui->leHighCO, m_ui->tbCOup, m_ui->tbCOdown, m_ui->ggCO, nullptr}};
    const QString names[] = {tr("DEL"), tr("FGF"), tr("VA"), tr("CO")};
    for (int s = DEL; s <= CO; ++s) {
        const QString name = names[s];
        const QenSettingRow::Names texts{name, s == DEL ? tr("%atm") : tr("L/min"),
                                         tr("The top of the %1 scale").arg(name)};
        m_rows[size_t(s)] = std::make_unique<QenSettingRow>(
            widgets[s], texts, [this, s] { return settingValue(s); },
            [this, s] { return limit(Setting(s)); }, nullptr);
        QenSettingRow *r = m_rows[size_t(s)].get();
        connect(r, &QenSettingRow::valueEdited, this, [this, s] { changed(s, nullptr); });
        connect(r, &QenSettingRow::stepped, this,
                [this, s](QToolButton *button) { changed(s, button); });
        connect(r, &QenSettingRow::limitEdited, this, [this, s] { limitEdited(s); });
        connect(r, &QenSettingRow::gaugeStarted, this, [this, s] { gaugeStarted(s); });
        connect(r, &QenSettingRow::gaugeStopped, this, [this, s] { gaugeStopped(s); });
        if (s != DEL) {
            // Above the highest flow the simulation takes, a flow is brought down to it.
            r->setValueTop(QenEngine::MaxFlow);
            r->setLimitRange(1, 500);
        }
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
    const QenDoc *doc = this->document();
    if (doc) {
        connect(doc, &QenDoc::updatePanel, this, &QenPanelView::updateData);
        connect(doc, &QenDoc::scaleTopChanged, this, &QenPanelView::scaleTopChanged);
    }
    for (int s = FGF; s <= CO; ++s)
        row(s).showLimit();
    m_showCost =
        doc && doc->host()->ini().value(defaultsGroup, QStringLiteral("Showcost"), false).toBool();
    showTotalsCaptions();

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
        row(s).setReadOnly(true);
    refreshAll();
}

void QenPanelView::setCostShown(bool on)
{
    m_showCost = on;
    showTotalsCaptions();
    refreshTotals(true);
}

void QenPanelView::showTotalsCaptions()
{
    // The captions say what the two totals are: litres of vapour or their cost.
    m_ui->lDelivered->setText(m_showCost ? tr("Delivered (cost)") : tr("Delivered (L)"));
    m_ui->lUptake->setText(m_showCost ? tr("Uptake (cost)") : tr("Uptake (L)"));
}

QenGauge *QenPanelView::gauge(Setting s) const
{
    return row(s).gauge();
}
QLineEdit *QenPanelView::field(Setting s) const
{
    return row(s).field();
}
QLineEdit *QenPanelView::limitField(Setting s) const
{
    return row(s).limitField();
}
QToolButton *QenPanelView::upButton(Setting s) const
{
    return row(s).upButton();
}
QToolButton *QenPanelView::downButton(Setting s) const
{
    return row(s).downButton();
}

int QenPanelView::settingOf(const QObject *object) const
{
    for (int s = DEL; s <= CO; ++s)
        if (row(s).owns(object))
            return s;
    return -1;
}

int QenPanelView::limit(Setting setting) const
{
    const QenDoc *doc = document();
    return doc ? doc->scaleTop(setting, m_agent) : 10;
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

void QenPanelView::startRun()
{
    if (QenDoc *doc = document())
        doc->pacer()->start();
}

void QenPanelView::pauseRun()
{
    if (QenDoc *doc = document())
        doc->pacer()->pause();
}

void QenPanelView::run()
{
    if (QenDoc *doc = document())
        doc->pacer()->toggle();
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
    document()->setSpeed(QenDoc::originOf(this), value);
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

void QenPanelView::changed(int s, QAbstractButton *button)
{
    QLineEdit *field = row(s).field();
    if (!document())
        return;
    if (!button) {
        // A field showing the effective value was not edited.
        if (field->isReadOnly())
            return;
        if (field->text() == twoDecimals(settingValue(s)))
            return;
    }
    bool ok = false;
    double value = field->text().toDouble(&ok);
    if (!ok || value < 0) {
        field->setText(twoDecimals(settingValue(s)));
        return;
    }
    const double top = row(s).valueTop();
    if (top >= 0.0 && value > top) {
        value = top;
        field->setText(twoDecimals(value));
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

void QenPanelView::gaugeStarted(int s)
{
    if (!document())
        return;
    bool wasRunning = false;
    const bool granted = askToChange(false, &wasRunning);
    m_gaugeResume = wasRunning;
    if (!granted) {
        resumeIf(wasRunning);
        m_gaugeResume = false;
        return;
    }
    row(s).gauge()->setDragAccepted(true);
    if (row(s).showsEffective())
        row(s).reveal();
}

void QenPanelView::gaugeStopped(int s)
{
    if (!document())
        return;
    applySetting(s, row(s).gauge()->value() / 20.0);
    const bool resume = m_gaugeResume;
    m_gaugeResume = false;
    resumeIf(resume);
}

void QenPanelView::limitEdited(int s)
{
    QenSettingRow &r = row(s);
    if (r.limitBusy() || !document())
        return;
    r.setLimitBusy(true);
    int top = 0;
    QenDoc *doc = document();
    if (!r.limitAcceptable(&top) || !doc->setScaleTop(s, m_agent, top)) {
        // A top of 0 or none at all would leave the gauge and the graphs
        // without a scale: the user is told and the top stays as it was.
        if (QenPrompt *prompt = doc->host()->prompt())
            prompt->warning(tr("Quenor®"),
                            tr("The input is not valid, please check and input it again."));
        r.showLimit();
    }
    r.verify();
    r.setLimitBusy(false);
}

void QenPanelView::scaleTopChanged(int setting, int agent)
{
    Q_UNUSED(agent); // another agent's DEL top leaves ours as it is: redrawing is harmless
    if (!document() || setting < DEL || setting > CO)
        return;
    QenSettingRow &r = row(setting);
    if (!r.limitField()->hasFocus() || r.limitBusy())
        r.showLimit();
    if (setting == DEL)
        refreshValues(true);
    scaleGauge(setting);
    r.showSetting();
    r.verify();
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
    // DEL above the vaporizer's maximum is brought down to it, not refused
    // key by key: the field shows the value the simulation takes. Its scale
    // ends at the agent's maximum at most.
    row(DEL).setLimitRange(1, std::max(1, int(a->max)));
    row(DEL).setValueTop(doc->engine()->maxDel(m_agent));
    if (!row(DEL).limitField()->hasFocus())
        row(DEL).showLimit();
}

void QenPanelView::showEffective()
{
    QenDoc *doc = document();
    if (!doc || m_agent >= doc->agentCount())
        return;
    QenEngine *e = doc->engine();
    const quint32 t = e->displayTime();
    row(FGF).showEffective(e->fgfDeliveredAt(m_agent, t), t != 0);
    row(VA).showEffective(e->vaBreathedAt(t), t != 0);
}

void QenPanelView::scaleGauge(int setting)
{
    const GaugeScale sc = gaugeScale(limit(Setting(setting)));
    row(setting).scaleGauge(sc.tick, sc.longTick);
}

void QenPanelView::refreshGauges()
{
    for (int s = DEL; s <= CO; ++s) {
        scaleGauge(s);
        row(s).showGauge();
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
    // The footprint is that of what was delivered, whatever the cost flag shows.
    const std::optional<double> co2e = QenFootprint::co2eAt(*e, m_agent, t);
    const QString footprint = co2e ? totalText(*co2e) : QStringLiteral("\u2013");
    if (force || footprint != m_co2eText)
        m_ui->leCO2e->setText(m_co2eText = footprint);
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
        if (!row(s).field()->hasFocus() || row(s).field()->isReadOnly())
            row(s).showSetting();
    refreshValues(true);
    refreshTotals(true);
    showEffective();
    refreshSyringe();
    refreshGauges();
    for (int s = DEL; s <= CO; ++s)
        row(s).verify();
}

void QenPanelView::updateData()
{
    for (int s : {FGF, VA})
        row(s).setReadOnly(true);
    refreshAll();
}

void QenPanelView::qenmchnGeometryUpdated()
{
    // The value fields grow with the picture, as its compartment numbers do.
    const int px = m_ui->m_Qenmchn->textFont().pixelSize();
    for (const auto &r : m_rows)
        r->setValuePixelSize(px);
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
        }
        for (int s = DEL; s <= CO; ++s) {
            static const int bits[] = {QenHint::Del, QenHint::Fgf, QenHint::Va, QenHint::Co};
            if (!(hints & bits[s]))
                continue;
            QenSettingRow &r = row(s);
            if (r.showsEffective()) {
                // The new setting shows until the next displayed time brings the
                // flow in effect then (the recording may not be cut back yet).
                r.field()->setText(twoDecimals(settingValue(s)));
                r.setReadOnly(true);
                r.hideStar();
            }
            r.showSetting();
        }
        if (hints & QenHint::Values) {
            refreshValues(false);
            refreshTotals(false);
            showEffective();
        }
        if (hints & QenHint::RunState) {
            const AState state = document()->engine()->state();
            if (state == APaused || state == AFinished) {
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
                row(s).gauge()->setValue(int(std::lround(callback->value() * 20.0)));
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
