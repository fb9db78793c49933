#include "app/qenagentdelegate.h"

#include "engine/qenanesthetic.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDoubleSpinBox>

QenAgentDelegate::QenAgentDelegate(int kind, QObject *parent) : QItemDelegate(parent), m_kind(kind)
{}

QString QenAgentDelegate::unknownText()
{
    return QStringLiteral("\u2013");
}

QWidget *QenAgentDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    Q_UNUSED(option);
    if (index.data(Qt::EditRole).toString().isEmpty())
        return nullptr;
    QWidget *editor = nullptr;
    switch (m_kind) {
    case AgentName:
    case ColorName: {
        auto *box = new QComboBox(parent);
        // Agent names may be typed as well as chosen.
        box->setEditable(m_kind == AgentName);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(m_items);
        box->view()->setMinimumWidth(m_kind == AgentName ? 100 : 50);
        editor = box;
        break;
    }
    case BottleSize:
    case Cost: {
        auto *spin = new QDoubleSpinBox(parent);
        spin->setMinimumWidth(40);
        spin->setDecimals(m_kind == BottleSize ? 0 : 2);
        spin->setRange(0, m_kind == BottleSize ? QenAnesthetic::MaxBottleSizeMl
                                               : double(QenAnesthetic::MaxBottleCost));
        spin->setSingleStep(1);
        editor = spin;
        break;
    }
    case Gwp: {
        // One below the range is "unknown": the agent then has no footprint,
        // which is not the same as a footprint of 0.
        auto *spin = new QDoubleSpinBox(parent);
        spin->setMinimumWidth(40);
        spin->setDecimals(0);
        spin->setRange(-1, QenAnesthetic::MaxGwp100);
        spin->setSpecialValueText(unknownText());
        spin->setSingleStep(1);
        editor = spin;
        break;
    }
    default:
        return nullptr;
    }
    editor->setContextMenuPolicy(Qt::NoContextMenu);
    editor->installEventFilter(const_cast<QenAgentDelegate *>(this));
    return editor;
}

void QenAgentDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        const int found = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found >= 0)
            box->setCurrentIndex(found);
        else if (box->isEditable())
            box->setEditText(QString()); // "Click to Add" is a prompt, not a name
    } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
        bool number = false;
        const double value = index.data(Qt::EditRole).toDouble(&number);
        spin->setValue(number ? value : spin->minimum());
    }
}

void QenAgentDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    if (auto *box = qobject_cast<QComboBox *>(editor)) {
        model->setData(index, box->currentText(), Qt::EditRole);
    } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
        spin->interpretText();
        if (m_kind == Gwp && spin->value() < 0)
            model->setData(index, unknownText(), Qt::EditRole);
        else
            model->setData(index, spin->value(), Qt::EditRole);
    }
}
