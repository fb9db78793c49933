#pragma once

#include <QItemDelegate>
#include <QStringList>

// Edits the cells of an agent table. The kind, fixed at construction, chooses
// the editor: 0 agent names and 3 colour names (combo boxes over `items`),
// 1 bottle sizes (whole numbers to 5000), 2 costs (two decimals to 10000) and
// 4 warming potentials (whole numbers to 100000, or the dash of "unknown").
// An empty cell gets no editor.
class QenAgentDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    enum Kind { AgentName = 0, BottleSize = 1, Cost = 2, ColorName = 3, Gwp = 4 };

    // How a warming potential that is not known is shown and edited.
    static QString unknownText();

    explicit QenAgentDelegate(int kind, QObject *parent = nullptr);

    int kind() const { return m_kind; }
    // The names the combo kinds offer.
    void setItems(const QStringList &items) { m_items = items; }
    const QStringList &items() const { return m_items; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

private:
    int m_kind;
    QStringList m_items;
};
