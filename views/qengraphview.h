#pragma once

#include "views/qenviewcommon.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <array>
#include <memory>

class QComboBox;
class QScrollBar;
class QToolButton;
class QenGraph;
class QenIni;
class QenPanelView;
namespace Ui {
class QenGraphView;
}

// The graph page of a simulation: a strip of the fresh gas flow (or, in the
// open circuit, the ventilation), a strip of DEL (or the cardiac output) and
// the compartment graph of the selected agent. It answers the graphs' value
// requests from the document's recording, follows a run by scrolling or by
// jumps, and lets the user look back through the past while the run stands.
class QenGraphView : public QenViewCommon
{
    Q_OBJECT

public:
    // The graph settings of the program ([Defaults]).
    struct Settings
    {
        bool graphPaper = true;
        bool scroll = true;
        int lineLabels = 1;
        int lineWidth = 1;
        int scrollPercent = 90;
    };

    // Y scale of a graph whose scale ends at `top`: size, label and tick spacing.
    struct YScale
    {
        double size = 10;
        double labelEvery = 10;
        double tickEvery = 1;
    };
    static YScale yScale(int top);
    // The compartment graph is tall enough to be read between its ends: labels
    // on whole multiples of the tick that divide the top, three to six of them
    // where the top allows (up to ten otherwise), else at the ends only.
    static YScale compartmentYScale(int top);
    // The window start (minutes) a jumping view shows at time `minutes`.
    static double jumpOrigin(int span, int scrollPercent, double minutes);
    // Label and tick spacing of the time axis for a span.
    static void timeAxis(int span, double *labelEvery, double *tickEvery);
    // The time axis of the report's graphs: the whole run, from 0:00 to the
    // displayed time (a minute at least), labelled about every eighth of it.
    struct ReportAxis
    {
        double minutes = 1;
        double labelEvery = 1;
        double tickEvery = 1;
    };
    static ReportAxis reportAxis(quint32 displayMs);
    // Minutes of a span text ("15 Min", "2 Hr"); 15 when it names no span.
    static int parseSpan(const QString &text);
    static QString spanText(int minutes);

    QenGraphView(QenDoc *document, QenChildWindowInterface *owner, QWidget *parent = nullptr);
    ~QenGraphView() override;

    bool currentAgent(int *agent) const override;
    void selectAgent(int agent);

    // The graph settings as the program's settings store gives them.
    static Settings readSettings(const QenIni &ini);
    const Settings &settings() const { return m_settings; }
    // Reads the graph settings again (after the options changed) and redraws.
    void reloadGraphSettings();
    // Scrolling of this view alone, as the menu's Enable Scrolling sets it.
    void setScrolling(bool on);
    // The scale tops changed in the picture view: the graphs take them again.
    void refreshScales();

    int span() const { return m_span; }
    QString currentSpanText() const { return m_spanText; }
    // The time at which this view asked the run to stop; 0 for none.
    quint32 wakeUpMs() const { return m_wakeUp; }
    bool isOpenCircuit() const;

    int zoom() const;
    void setZoom(int zoom);

    // The graphs of the whole run drawn into a page of `pageSize` pixels for
    // the report, with the unit of every axis, and the same picture as a
    // Base64 PNG. The view's own window is left as it was.
    QImage reportImage(const QSize &pageSize);
    QByteArray reportImageBase64(const QSize &pageSize);

    QenGraph *fgfGraph() const;
    QenGraph *delGraph() const;
    QenGraph *compartmentGraph() const;
    QScrollBar *timeScrollBar() const;
    QScrollBar *compartmentScrollBar() const;
    QComboBox *spanBox() const;
    QToolButton *collapseButton() const;
    QString stripLabel(int strip) const;
    QString agentLabel() const;

    QSize minimumSizeHint() const override { return QSize(395, 320); }
    QSize sizeHint() const override { return minimumSizeHint(); }

public slots:
    void ChangeScale(const QString &scale);
    void onZoomChanged();
    void onDrawFAT(int state);
    void onDrawMUS(int state);
    void onDrawVRG(int state);
    void onDrawALV(int state);
    void onDrawCKT(int state);
    void onCollapse();
    void hideCollapse();
    void scrollMoved(int value);

signals:
    // The agent's own data (name, MAC, cost) changed; the control tray shows it.
    void agentDataChanged(int agent);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void loadSettings();
    void answer(QEvent *event);
    int limitFor(int setting) const;
    bool isRunning() const;
    quint32 displayMs() const;
    int tenthsNow() const;
    void showAgentInfo();
    void showStripLabels();
    void setUpGraphs(bool repaint);
    void setUpStopped();
    void refreshRange();
    void followRun();
    void jump();
    void registerWakeUp();
    void removeWakeUp();
    void setMaskBit(int bit, int state);
    void colorCheckBoxes();
    std::array<QenGraph *, 3> graphs() const;

    std::unique_ptr<Ui::QenGraphView> m_ui;
    Settings m_settings;
    int m_agent = -1;
    QString m_agentName;
    double m_mac = 0;
    QString m_circuit;
    int m_span = 15;
    QString m_spanText;
    QColor m_paper;
    quint32 m_wakeUp = 0;
    bool m_scaleBusy = false;
    std::array<QPixmap, 3> m_cache;
};
