#include "app/qendosedlg.h"

#include "app/qentitlefit.h"
#include "ui_qendose.h"
#include "views/qenfieldguard.h"

QenDoseDlg::QenDoseDlg(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::QenDose>())
{
    m_ui->setupUi(this);
    QenFieldGuard::guardSpinBoxes(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(176, 86);
    fitTitle(this);
}

QenDoseDlg::~QenDoseDlg() = default;

void QenDoseDlg::setUnitDose(float ml)
{
    m_dose.show(m_ui->dsbUnitDose, ml);
}
