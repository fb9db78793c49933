#pragma once

#include <QPoint>
#include <QTabBar>

// The tab bar of a QenTabWidget. A left press on a tab selects it as usual; a
// move of the held button beyond the start-drag distance asks the tab widget
// to drag the tab under the pointer away (`drag`). Tabs are never moved by the
// bar itself.
class QenTabBar : public QTabBar
{
    Q_OBJECT

public:
    explicit QenTabBar(QWidget *parent = nullptr);

    QPoint pressPosition() const { return m_pressPos; }
    // A tab that keeps its whole text however crowded the bar is.
    void setKeepsWhole(int index, bool whole);
    bool keepsWhole(int index) const;

signals:
    void drag(int index);

protected:
    // On a crowded bar a tab keeps some characters of its text on either side
    // of the dots, or all of it when it keeps whole.
    QSize minimumTabSizeHint(int index) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QPoint m_pressPos;
};
