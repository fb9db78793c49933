#pragma once

#include <QDialog>

#include <memory>

class QenParser;

namespace Ui {
class qenBkPoint;
}

// The breakpoint condition of a simulation, such as "ALV-CKT = 0.5". Set
// closes the dialog with an empty condition (no breakpoint) or a legal one;
// an illegal one shows a caution and keeps the dialog open for correction.
class qenBkPoint : public QDialog
{
    Q_OBJECT

public:
    explicit qenBkPoint(const QString &condition, QWidget *parent = nullptr);
    ~qenBkPoint() override;

    // The condition as accepted: whitespace simplified, empty for none.
    QString condition() const;
    QenParser *parser() const { return m_parser; }
    Ui::qenBkPoint *form() const { return m_ui.get(); }

public slots:
    void onOk();
    void onCancel();

private:
    std::unique_ptr<Ui::qenBkPoint> m_ui;
    QenParser *m_parser;
};
