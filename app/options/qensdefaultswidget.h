#pragma once

#include <QWidget>

#include <memory>

class QenCatalogue;
class QenOptionsStore;

namespace Ui {
class QenSDefaults;
}

// The Simulation page of the options: the fresh gas flow, circuit volume,
// speed, agent and circuit a new simulation starts with.
class QenSDefaultsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QenSDefaultsWidget(QWidget *parent = nullptr);
    ~QenSDefaultsWidget() override;

    Ui::QenSDefaults *form() const { return m_ui.get(); }

    // `catalogue` gives the agents offered, in its order; it must outlive the
    // page's commit().
    void fill(const QenOptionsStore &store, const QenCatalogue &catalogue);
    // Writes what differs from what the page was filled with.
    void commit(QenOptionsStore &store) const;

private:
    std::unique_ptr<Ui::QenSDefaults> m_ui;
    const QenCatalogue *m_catalogue = nullptr;
    int m_filledSpeed = -1;
    int m_filledAgent = -1;
    int m_filledCircuit = -1;
};
