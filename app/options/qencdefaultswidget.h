#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

class QTableWidget;
class QTableWidgetItem;
class QenAnesthetic;
class QenCatalogue;
class QenOptionsStore;

namespace Ui {
class QenCDefaults;
}

// The Agent page of the options: one row per catalogue agent with the
// values every new simulation takes from the agent's own section of the
// settings: bottle size, bottle cost, colour and the 100-year warming
// potential of the greenhouse footprint.
//
// A column is one entry of Column and of the column table in the .cpp, with
// how its cell shows an agent and how a changed cell is written.
class QenCDefaultsWidget : public QWidget
{
    Q_OBJECT

public:
    enum Column { BottleSize, BottleCost, Color, Gwp100, ColumnCount };

    explicit QenCDefaultsWidget(QWidget *parent = nullptr);
    ~QenCDefaultsWidget() override;

    Ui::QenCDefaults *form() const { return m_ui.get(); }
    QTableWidget *table() const;

    // One row per agent of `catalogue`, in its order; `colours` are the
    // colours the user may pick.
    void fill(const QenCatalogue &catalogue, const QStringList &colors);
    // Writes every cell that differs from its agent into the agent's section.
    void commit(const QenCatalogue &catalogue, QenOptionsStore &store) const;

private:
    void cellChanged(QTableWidgetItem *item);
    static QString cellText(const QenAnesthetic &agent, int column);
    static void commitCell(const QenAnesthetic &agent, int column, const QString &text,
                           QenOptionsStore &store);

    std::unique_ptr<Ui::QenCDefaults> m_ui;
};
