#include "app/options/qencdefaultswidget.h"

#include "app/options/qenoptionsstore.h"
#include "app/qenagentdelegate.h"
#include "engine/qencatalogue.h"
#include "engine/qenfiles.h"
#include "engine/qenini.h"
#include "engine/qenvocabulary.h"

#include "ui_qencdefaults.h"

#include <QColor>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace {

struct ColumnSpec
{
    const char *title;
    int width;
    int delegateKind;
    int decimals;    // of a number column; -1 for text
    bool liquidOnly; // a gas has no bottle: its cell cannot be edited
};

const ColumnSpec columns[QenCDefaultsWidget::ColumnCount] = {
    {QT_TRANSLATE_NOOP("QenCDefaults", "ml"), 70, QenAgentDelegate::BottleSize, 0, true},
    {QT_TRANSLATE_NOOP("QenCDefaults", "Cost"), 80, QenAgentDelegate::Cost, 2, true},
    {QT_TRANSLATE_NOOP("QenCDefaults", "Color"), 100, QenAgentDelegate::ColorName, -1, false},
    {QT_TRANSLATE_NOOP("QenCDefaults", "GWP100"), 70, QenAgentDelegate::Gwp, 0, false},
};

} // namespace

QenCDefaultsWidget::QenCDefaultsWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::QenCDefaults>())
{
    m_ui->setupUi(this);
    QTableWidget *t = table();
    t->setColumnCount(ColumnCount);
    QStringList titles;
    for (const ColumnSpec &c : columns)
        titles << QCoreApplication::translate("QenCDefaults", c.title);
    t->setHorizontalHeaderLabels(titles);
    t->horizontalHeaderItem(Gwp100)->setToolTip(
        tr("Global warming potential over 100 years (carbon dioxide = 1), for the CO2e of the "
           "delivered vapour. \u2013 when not known: the agent then shows no CO2e."));
    QHeaderView *header = t->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    for (int c = 0; c < ColumnCount; ++c) {
        header->resizeSection(c, columns[c].width);
        t->setItemDelegateForColumn(c, new QenAgentDelegate(columns[c].delegateKind, t));
    }
    connect(t, &QTableWidget::itemChanged, this, &QenCDefaultsWidget::cellChanged);
}

QenCDefaultsWidget::~QenCDefaultsWidget() = default;

QTableWidget *QenCDefaultsWidget::table() const
{
    return m_ui->tableWidget;
}

QString QenCDefaultsWidget::cellText(const QenAnesthetic &agent, int column)
{
    switch (column) {
    case BottleSize:
        return QString::number(agent.bottleSize);
    case BottleCost:
        return QString::number(double(agent.bottleCost), 'f', 2);
    case Color:
        return QenVocabulary::shownColorName(agent.color);
    case Gwp100:
        return agent.gwp100 ? QString::number(double(*agent.gwp100))
                            : QenAgentDelegate::unknownText();
    default:
        return QString();
    }
}

void QenCDefaultsWidget::fill(const QenCatalogue &catalogue, const QStringList &colors)
{
    QTableWidget *t = table();
    const QSignalBlocker quiet(t);
    QStringList shown;
    for (const QString &color : colors)
        shown.append(QenVocabulary::shownColorName(color));
    for (int c = 0; c < ColumnCount; ++c) {
        if (auto *d = qobject_cast<QenAgentDelegate *>(t->itemDelegateForColumn(c)))
            d->setItems(shown);
    }
    t->clearContents();
    t->setRowCount(catalogue.size());
    QStringList names;
    for (int row = 0; row < catalogue.size(); ++row) {
        const QenAnesthetic &agent = *catalogue.at(row);
        names << agent.displayName;
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QTableWidgetItem(cellText(agent, c));
            if (columns[c].decimals >= 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (columns[c].liquidOnly && !agent.liquid)
                item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsEditable));
            if (c == Color)
                item->setData(Qt::DecorationRole, QColor(agent.color));
            t->setItem(row, c, item);
        }
    }
    t->setVerticalHeaderLabels(names);
    // Large enough for every column and the whole catalogue, so that no
    // agent hides below the fold; a long catalogue scrolls.
    const int shownRows = std::min(t->rowCount(), 12);
    int height = t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth();
    for (int row = 0; row < shownRows; ++row)
        height += t->rowHeight(row);
    int width = t->verticalHeader()->sizeHint().width() + 2 * t->frameWidth();
    for (int c = 0; c < ColumnCount; ++c)
        width += columns[c].width;
    if (shownRows < t->rowCount())
        width += t->verticalScrollBar()->sizeHint().width();
    t->setMinimumSize(width, height);
}

// An edited number comes back from its editor as a plain double: it is shown
// again with the column's decimals, and a colour gets its swatch.
void QenCDefaultsWidget::cellChanged(QTableWidgetItem *item)
{
    const int c = item->column();
    if (c < 0 || c >= ColumnCount)
        return;
    QString text = item->text();
    bool number = false;
    const double value = text.toDouble(&number);
    if (columns[c].decimals >= 0 && (number || c != Gwp100))
        text = QString::number(value, 'f', columns[c].decimals);
    const QSignalBlocker quiet(table());
    if (text != item->text())
        item->setText(text);
    if (c == Color)
        item->setData(Qt::DecorationRole, QColor(QenVocabulary::toolkitColorName(text)));
}

void QenCDefaultsWidget::commit(const QenCatalogue &catalogue, QenOptionsStore &store) const
{
    const QTableWidget *t = table();
    const int rows = std::min(t->rowCount(), catalogue.size());
    for (int row = 0; row < rows; ++row) {
        for (int c = 0; c < ColumnCount; ++c) {
            if (const QTableWidgetItem *item = t->item(row, c))
                commitCell(*catalogue.at(row), c, item->text(), store);
        }
    }
}

void QenCDefaultsWidget::commitCell(const QenAnesthetic &agent, int column, const QString &text,
                                    QenOptionsStore &store)
{
    const QString &section = agent.name;
    switch (column) {
    case BottleSize: {
        const int ml = int(text.toDouble());
        if (ml != 0 && ml != agent.bottleSize)
            store.write(section, QStringLiteral("BottleSize"), ml);
        break;
    }
    case BottleCost: {
        // Compared as shown: a cost kept in single precision is not a change
        // because it reads back as 240.33999.
        if (text == cellText(agent, BottleCost))
            break;
        const double cost = text.toDouble();
        // The agent table refuses a cost of 0 written out: a bottle that
        // costs nothing is one without a cost.
        if (cost == 0.0)
            store.remove(section, QStringLiteral("BottleCost"));
        else
            store.write(section, QStringLiteral("BottleCost"), cost);
        break;
    }
    case Color: {
        const QString color = QenVocabulary::toolkitColorName(text);
        if (!color.isEmpty() && color != agent.color)
            store.write(section, QStringLiteral("Color"), color);
        break;
    }
    case Gwp100: {
        if (text == cellText(agent, Gwp100))
            break;
        bool number = false;
        const double gwp = text.toDouble(&number);
        // Unknown is no key at all: a written 0 would claim the agent does
        // not warm the climate.
        if (!number || gwp < 0) {
            store.remove(section, QStringLiteral("GWP100"));
            break;
        }
        store.write(section, QStringLiteral("GWP100"), gwp);
        // The footprint needs the molar mass as well. Settings written before
        // the footprint existed lack it; it is a constant of the agent, so
        // it comes from the built-in settings of the agent of that name.
        if (!agent.molarMass) {
            const QenIni builtIn(
                QenFiles::builtInCopy(QStringLiteral("quenor.ini"), QStringLiteral("en_US")));
            bool known = false;
            const double mass =
                builtIn.value(section, QStringLiteral("MolarMass"), QString()).toDouble(&known);
            if (known && mass > 0.0)
                store.write(section, QStringLiteral("MolarMass"), mass);
        }
        break;
    }
    default:
        break;
    }
}
