#include "app/qentitlefit.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

int titleFitWidth(const QWidget *dialog)
{
    QFont font = dialog->font();
    font.setBold(true);
    const QFontMetrics fm(font);
    // An icon on the left, three buttons on the right, each about a text
    // line high and square, and the frame's margins.
    const int frame = 4 * fm.height() + 2 * fm.averageCharWidth() + 24;
    return fm.horizontalAdvance(dialog->windowTitle()) + frame;
}

void fitTitle(QWidget *dialog)
{
    const int width = titleFitWidth(dialog);
    if (dialog->minimumWidth() < width)
        dialog->setMinimumWidth(width);
    if (dialog->width() < width)
        dialog->resize(width, dialog->height());
}
