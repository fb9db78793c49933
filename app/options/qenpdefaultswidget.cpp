#include "app/options/qenpdefaultswidget.h"

#include "app/options/qenchoicesound.h"
#include "app/options/qenoptionsstore.h"
#include "views/qengraphview.h"

#include "ui_qenpdefaults.h"

#include <QButtonGroup>

namespace {

const QString defaultsGroup = QStringLiteral("Defaults");

// Checks the button of `id`, or the one of `fallback` when no button has it
// (a hand-edited file), so that the page never shows no choice at all.
void check(QButtonGroup *group, int id, int fallback)
{
    QAbstractButton *button = group->button(id);
    if (!button)
        button = group->button(fallback);
    if (button)
        button->setChecked(true);
}

} // namespace

QenPDefaultsWidget::QenPDefaultsWidget(QWidget *parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::QenPDefaults>()),
      m_audible(new QButtonGroup(this)), m_labels(new QButtonGroup(this)),
      m_thickness(new QButtonGroup(this))
{
    m_ui->setupUi(this);
    int id = 0;
    for (QAbstractButton *b :
         {m_ui->rbAudibleOff, m_ui->rbAudibleBeep, m_ui->rbAudibleSystem1, m_ui->rbAudibleSystem2,
          m_ui->rbAudibleSystem3, m_ui->rbAudibleSystem4})
        m_audible->addButton(b, id++);
    id = 0;
    for (QAbstractButton *b :
         {m_ui->rbGraphLabelsOff, m_ui->rbGraphLabelsOn, m_ui->rbGraphLabelsAuto})
        m_labels->addButton(b, id++);
    id = 0;
    for (QAbstractButton *b :
         {m_ui->rbGraphThicknessOne, m_ui->rbGraphThicknessTwo, m_ui->rbGraphThicknessThree})
        m_thickness->addButton(b, id++);

    connect(m_ui->hsGraphPercent, &QSlider::valueChanged, this,
            &QenPDefaultsWidget::graphPercentChanged);
    connect(m_ui->pbCustom, &QPushButton::clicked, this, &QenPDefaultsWidget::custom);
    graphPercentChanged(m_ui->hsGraphPercent->value());
}

QenPDefaultsWidget::~QenPDefaultsWidget() = default;

void QenPDefaultsWidget::setSoundChoice(const QenIni *ini, QenPrompt *prompt,
                                        QenDialogs::Runner run)
{
    m_ini = ini;
    m_prompt = prompt;
    m_run = std::move(run);
    m_ui->pbCustom->setEnabled(m_ini != nullptr);
}

int QenPDefaultsWidget::click() const
{
    return m_audible->checkedId();
}

int QenPDefaultsWidget::lineLabels() const
{
    return m_labels->checkedId();
}

int QenPDefaultsWidget::lineWidth() const
{
    return m_thickness->checkedId() + 1;
}

int QenPDefaultsWidget::scrollPercent() const
{
    return m_ui->hsGraphPercent->value();
}

bool QenPDefaultsWidget::graphPaper() const
{
    return m_ui->cbUseGraphPaper->isChecked();
}

void QenPDefaultsWidget::fill(const QenOptionsStore &store)
{
    const QenGraphView::Settings graph = QenGraphView::readSettings(store.ini());
    check(m_audible, store.record().click, 0);
    check(m_labels, graph.lineLabels, 1);
    check(m_thickness, graph.lineWidth - 1, 0);
    m_ui->hsGraphPercent->setValue(graph.scrollPercent);
    m_ui->cbUseGraphPaper->setChecked(graph.graphPaper);
    // What the page shows is what counts as unchanged.
    m_filled = {click(), lineLabels(), lineWidth(), scrollPercent(), graphPaper()};
}

bool QenPDefaultsWidget::commit(QenOptionsStore &store) const
{
    if (click() != m_filled.click) {
        store.record().click = click();
        store.write(defaultsGroup, QStringLiteral("Click"), click());
    }
    bool redraw = false;
    if (lineLabels() != m_filled.lineLabels) {
        store.write(defaultsGroup, QStringLiteral("LineLabels"), lineLabels());
        redraw = true;
    }
    if (lineWidth() != m_filled.lineWidth) {
        store.write(defaultsGroup, QStringLiteral("LineWidth"), lineWidth());
        redraw = true;
    }
    if (scrollPercent() != m_filled.scrollPercent)
        store.write(defaultsGroup, QStringLiteral("ScrollPercent"), scrollPercent());
    if (graphPaper() != m_filled.graphPaper) {
        store.write(defaultsGroup, QStringLiteral("GraphPaper"), graphPaper());
        redraw = true;
    }
    return redraw;
}

void QenPDefaultsWidget::graphPercentChanged(int value)
{
    m_ui->lPercentValue->setText(QString::number(value));
}

void QenPDefaultsWidget::custom()
{
    if (!m_ini)
        return;
    QenChoiceSound dialog(*m_ini, m_prompt, this);
    if (m_run) {
        dialog.prepare();
        m_run(dialog);
    } else {
        dialog.exec();
    }
}
