#pragma once

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>

class QenPrompt;

namespace Ui {
class QenBookmark;
}

// Lists the bookmarks of a simulation as "hh:mm:ss" and lets the user add
// times up to the end of the recording (at most the simulation's bookmark limit, each once) and
// remove them. OK keeps the list in its order; Cancel keeps nothing. `prompt` must outlive the
// dialog.
class QenBookmarkDlg : public QDialog
{
    Q_OBJECT

public:
    explicit QenBookmarkDlg(QenPrompt *prompt, QWidget *parent = nullptr);
    ~QenBookmarkDlg() override;

    // The end of the recorded simulation, in ms.
    void setEnd(quint32 ms);
    int endHours() const { return m_endHours; }
    int endMinutes() const { return m_endMinutes; }
    int endSeconds() const { return m_endSeconds; }

    // The bookmarks the list starts with (filled by exec()).
    void setBookmarks(const QList<quint32> &bookmarks) { m_given = bookmarks; }
    // The bookmarks saveBookmarks() read from the list.
    const QList<quint32> &bookmarks() const { return m_saved; }
    bool isFull() const { return m_full; }

    // What a time (h, m, s) with none of them 0 does: sounds this.
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

    // "hh:mm:ss" for a time in ms, and back.
    static QString timeText(quint32 ms);
    static quint32 timeMs(const QString &text);

    // What exec() does before it shows the dialog: fills the list.
    void prepare();
    int exec() override;

    Ui::QenBookmark *form() const { return m_ui.get(); }

public slots:
    void addBookmark();
    void deleteBookmark();
    void deleteAllBookmark();
    void saveBookmarks();

private:
    void updateButtons();

    std::unique_ptr<Ui::QenBookmark> m_ui;
    QenPrompt *m_prompt;
    std::function<void()> m_beep;
    int m_endHours = 0;
    int m_endMinutes = 0;
    int m_endSeconds = 0;
    bool m_full = false;
    QList<quint32> m_given;
    QList<quint32> m_saved;
};
