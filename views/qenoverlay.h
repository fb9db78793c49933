#pragma once

#include "views/qenoverlaymath.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QenDoc;
class QenDocHost;
class QenGraph;
class QenGraphEvent;
namespace Ui {
class QenOverlay;
}

// The overlay comparison: the same quantity of up to five open simulations on
// one graph, each in its own colour with a legend line that names the run and
// the settings in which it differs. The quantity is a compartment, DEL or the
// cost, either as it is or divided by DEL, a compartment or the agent's MAC.
//
// Each change of choice (and of time span) first paints a measuring pass that
// draws nothing and only finds the largest value; the graph is then rescaled
// and painted again with the curves. Values shown as they are never get a top
// below the default height; a ratio's lone spike may lie above the top, and
// the window then says that something was not drawn.
//
// The window is application-modal and deletes itself when closed. It reads
// the documents while it paints and owns none of them.
class QenOverlay : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxLines = 5;

    // One candidate line: the agent a window shows, and the window's title,
    // which orders the lines.
    struct Run
    {
        QPointer<QenDoc> doc;
        int agent = -1;
        QString title;
    };

    // Asks for the path of the picture; an empty answer cancels.
    using SaveDialog = std::function<QString(QWidget *parent, const QString &title,
                                             const QString &proposal, const QString &filter)>;

    // `source` is the graph the overlay was opened from: it gives the paper,
    // the line thickness and the curve letters. The overlay opens on the whole
    // recorded span of the longest run. `host` gives the prompts and the
    // folder a picture is saved in.
    QenOverlay(const QenGraph *source, const QList<Run> &candidates,
               const OverlaySettings &settings, QenDocHost *host, QWidget *parent = nullptr);
    ~QenOverlay() override;

    // The lines among `candidates`: by title, one per run and agent, only runs
    // whose time has reached `originMinutes`, at most five.
    static QList<Run> chooseRuns(QList<Run> candidates, double originMinutes);

    int lineCount() const { return int(m_lines.size()); }
    QenDoc *lineDocument(int line) const;
    int lineAgent(int line) const;
    QString legend(int line) const;
    QColor lineColor(int line) const;
    QLabel *legendLabel(int line) const;

    int showId() const { return m_show; }
    int overId() const { return m_over; }
    QAbstractButton *showButton(int id) const;
    QAbstractButton *overButton(int id) const;
    QenGraph *graph() const;
    // The Y height curves are drawn up to.
    double currentHeight() const { return m_height; }
    bool measuring() const { return m_measuring; }
    // The time span shown: 0 for the whole run, else minutes of a graph span.
    int spanMinutes() const { return m_span; }
    void setSpanMinutes(int minutes);
    QComboBox *spanBox() const;
    // Points of the last paint that lay above the top and were left out; the
    // window then says so under the graph.
    int clippedPoints() const { return m_clipped; }
    QString clippedNote() const;

    // The graph with its caption, time axis title and legend, at `scale` times
    // the screen's resolution (twice by default, so that it stays sharp when
    // projected).
    QImage picture(qreal scale = 0);
    void copyImage();
    // Asks for a path and saves the picture as PNG; false when cancelled or
    // when the file could not be written (the user was told).
    bool saveImage();
    bool saveImageTo(const QString &path);
    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }

    // What the Help button does; without one the button is disabled.
    void setHelpHandler(std::function<void()> handler);

public slots:
    void help();
    void selectionClicked(QAbstractButton *button);
    void endPainting();

signals:
    // The Show and Over choice changed (the program keeps it for the next overlay).
    void selectionChanged(int show, int over);

protected:
    bool event(QEvent *event) override;

private:
    struct Line
    {
        Run run;
        double mac = 0;
        QColor color;
        QString legend;
    };

    void setUpGraph(const QenGraph *source);
    void setUpLines(const QList<Run> &runs);
    void showLegend();
    void showCaption();
    void answer(QenGraphEvent *request);
    double quantity(const Line &line, int id, bool over, float minutes) const;
    // Paints the measuring pass now when one is due.
    void finishMeasuring();
    void showSpan();
    void remeasure();

    std::unique_ptr<Ui::QenOverlay> m_ui;
    QButtonGroup *m_showGroup = nullptr;
    QButtonGroup *m_overGroup = nullptr;
    QenDocHost *m_host = nullptr;
    OverlaySettings m_settings;
    QList<Line> m_lines;
    int m_show = OverlayALV;
    int m_over = OverlayOne;
    double m_height = 5;
    OverlayMeasure m_measure;
    bool m_measuring = false;
    bool m_rescale = false;
    int m_span = 0;
    double m_latest = 0;
    int m_clipped = 0;
    SaveDialog m_saveDialog;
    std::function<void()> m_help;
};
