#pragma once

#include <QWidget>

#include <memory>

class QenOptionsStore;

namespace Ui {
class QenVDefaults;
}

// The View page of the options: scrolling, the graph span new graphs show,
// the cost display and the tops of the flow gauges.
class QenVDefaultsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QenVDefaultsWidget(QWidget *parent = nullptr);
    ~QenVDefaultsWidget() override;

    Ui::QenVDefaults *form() const { return m_ui.get(); }

    // `graphMinutes` is the span new graphs show now.
    void fill(const QenOptionsStore &store, int graphMinutes);
    // Writes what differs from what the page was filled with.
    void commit(QenOptionsStore &store) const;

private:
    struct Values
    {
        bool scroll = true;
        QString span;
        bool showCost = false;
        bool showControl = true;
        int highCO = 10;
        int highFGF = 10;
        int highVA = 10;
    };
    Values shown() const;

    std::unique_ptr<Ui::QenVDefaults> m_ui;
    Values m_filled;
};
