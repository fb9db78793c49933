#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class QenPrintSelect;
}

// "Select Printer Output": what the report holds besides its header and the
// patient and agent tables.
class QenPrintSelect : public QDialog
{
    Q_OBJECT

public:
    explicit QenPrintSelect(QWidget *parent = nullptr);
    ~QenPrintSelect() override;

    void setChoices(bool printout, bool graphs);
    bool printout() const;
    bool graphs() const;

    Ui::QenPrintSelect *form() const { return m_ui.get(); }

private:
    std::unique_ptr<Ui::QenPrintSelect> m_ui;
};
