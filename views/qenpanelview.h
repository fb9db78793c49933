#pragma once

#include "document/qenchildwindowinterface.h"
#include "views/qenviewcommon.h"

#include <QString>

#include <array>
#include <memory>

class QAbstractButton;
class QLineEdit;
class QToolButton;
class QenGauge;
class QenSettingRow;
namespace Ui {
class QenPanelView;
}

// The picture page of a simulation: the machine with its four setting gauges
// and fields, the compartment picture, the syringe, the flush and the running
// totals. The user steers the simulation here; the document paces the run
// (so that it goes on whichever of its windows close). Every value shown,
// the scale tops included, is read back from the document.
class QenPanelView : public QenViewCommon
{
    Q_OBJECT

public:
    enum Setting { DEL = 0, FGF = 1, VA = 2, CO = 3 };

    // The tick spacing of a gauge whose scale ends at `limit` (in the
    // setting's unit): a tick and a long tick.
    struct GaugeScale
    {
        int tick = 1;
        int longTick = 5;
    };
    static GaugeScale gaugeScale(int limit);
    // "AFAP" is 1000, "20x" is 20; 0 for anything else.
    static int parseSpeed(const QString &text);
    // hh:mm:ss of a simulated time.
    static QString timeText(quint32 ms);
    // A delivered or uptake total: two decimals, none from 1000 up.
    static QString totalText(double value);
    // `value` in an agent's printf-like format ("%4.2f").
    static QString formatValue(const QString &format, double value);

    QenPanelView(QenDoc *document, QenChildWindowInterface *owner, QWidget *parent = nullptr);
    ~QenPanelView() override;

    bool currentAgent(int *agent) const override;
    void selectAgent(int agent);

    // The document's scale top of a setting for this view's agent: DEL in
    // %atm, FGF, VA and CO in L/min.
    int limit(Setting setting) const;

    bool costShown() const { return m_showCost; }
    void setCostShown(bool on);
    // Hides the value texts under the machine picture, so a class can guess
    // the numbers before they are shown.
    bool numericsHidden() const;
    void setNumericsHidden(bool hidden);
    QString speedText() const { return m_speedText; }
    QString circuitName() const { return m_circuit; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    QenGauge *gauge(Setting setting) const;
    QLineEdit *field(Setting setting) const;
    QLineEdit *limitField(Setting setting) const;
    QToolButton *upButton(Setting setting) const;
    QToolButton *downButton(Setting setting) const;

public slots:
    void run();
    void Srynge();
    void ChangeAgent(const QString &agent);
    void ChangeCircuit(const QString &circuit);
    void ChangeSpeed(const QString &speed);
    void ChangeWeight(double weight_old);
    void updateData();
    void SetSpeed(const QString &speed);
    void qenmchnGeometryUpdated();
    void flush();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QenSettingRow &row(int setting) const { return *m_rows[size_t(setting)]; }
    int settingOf(const QObject *object) const;
    // A value confirmed in a row's field, or stepped there with `button`.
    void changed(int setting, QAbstractButton *button);
    void gaugeStarted(int setting);
    void gaugeStopped(int setting);
    void limitEdited(int setting);
    double settingValue(int setting) const;
    void applySetting(int setting, double value);
    bool isRunning() const;
    void startRun();
    void pauseRun();
    bool askToChange(bool eraseNow, bool *wasRunning);
    void resumeIf(bool wasRunning);

    void refreshAll();
    void loadAgent();
    void showDelLabel();
    void showEffective();
    void refreshGauges();
    void scaleGauge(int setting);
    void refreshValues(bool force);
    void refreshTotals(bool force);
    void refreshSyringe();
    void scaleTopChanged(int setting, int agent);
    void showTotalsCaptions();
    void fitPicture();

    std::unique_ptr<Ui::QenPanelView> m_ui;
    QWidget *m_content = nullptr;
    // Without a parent, so that they go before the form's widgets do: a field
    // that has the focus reports editingFinished as it goes, which must not
    // reach a view that is already gone.
    std::array<std::unique_ptr<QenSettingRow>, 4> m_rows;

    int m_agent = 0;
    QString m_format = QStringLiteral("%4.2f");
    QString m_circuit;
    QString m_speedText;
    bool m_showCost = false;

    // What was last pushed to the picture and the totals, to skip repeats.
    std::array<int, 7> m_levels{};
    std::array<QString, 7> m_valueTexts;
    int m_macLevel = -1;
    QString m_timeText;
    QString m_deliveredText;
    QString m_uptakeText;
    QString m_co2eText;

    bool m_gaugeResume = false;
};
