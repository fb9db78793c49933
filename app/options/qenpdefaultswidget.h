#pragma once

#include "app/qendialogs.h"

#include <QWidget>

#include <memory>

class QButtonGroup;
class QenIni;
class QenOptionsStore;
class QenPrompt;

namespace Ui {
class QenPDefaults;
}

// The Program page of the options: the audible minute signal (with the
// choice of its four sound files) and how graphs draw: line labels, line
// thickness, the jump percent and graph paper.
class QenPDefaultsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QenPDefaultsWidget(QWidget *parent = nullptr);
    ~QenPDefaultsWidget() override;

    Ui::QenPDefaults *form() const { return m_ui.get(); }

    // Where "Custom..." reads and writes the sound files, whom it tells about
    // a settings file that cannot be written, and how its dialog runs (modal
    // by default; tests answer it).
    void setSoundChoice(const QenIni *ini, QenPrompt *prompt, QenDialogs::Runner run);

    // Minute signal: 0 off, 1 beep, 2 to 5 the sounds System 1 to 4.
    int click() const;
    // Line labels: 0 off, 1 on, 2 auto.
    int lineLabels() const;
    // Line width in pixels, 1 to 3.
    int lineWidth() const;
    int scrollPercent() const;
    bool graphPaper() const;

    void fill(const QenOptionsStore &store);
    // Writes what differs from what the page was filled with; true when open
    // graphs must redraw (labels, width or paper changed).
    bool commit(QenOptionsStore &store) const;

public slots:
    void graphPercentChanged(int value);
    void custom();

private:
    struct Values
    {
        int click = 0;
        int lineLabels = 1;
        int lineWidth = 1;
        int scrollPercent = 90;
        bool graphPaper = true;
    };

    std::unique_ptr<Ui::QenPDefaults> m_ui;
    QButtonGroup *m_audible;
    QButtonGroup *m_labels;
    QButtonGroup *m_thickness;
    Values m_filled;
    const QenIni *m_ini = nullptr;
    QenPrompt *m_prompt = nullptr;
    QenDialogs::Runner m_run;
};
