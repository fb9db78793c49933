#include "views/qenmchnlayout.h"

#include <algorithm>

namespace {

struct Column
{
    int leftPct;
    int widthPct;
};

// Columns of the containers in percent of the widget width, in MchnPart order.
constexpr Column columns[MchnPartCount] = {{6, 8},  {32, 8}, {44, 2}, {54, 8},
                                           {66, 8}, {78, 8}, {92, 2}};

int centre(const QRect &r)
{
    return (r.left() + r.right()) / 2;
}

} // namespace

MchnLayout mchnLayout(const QRect &widget, int fontHeight, bool valuesHidden)
{
    MchnLayout l;
    const int w = widget.width();
    l.margin = (widget.bottom() - widget.top() + 1) * 15 / 100;
    l.textBand = valuesHidden ? 0 : 2 * fontHeight;
    const int top = widget.top() + l.margin;
    l.bottom = widget.bottom() - l.textBand - l.margin;
    for (int i = 0; i < MchnPartCount; ++i) {
        const int left = (widget.left() * 100 + columns[i].leftPct * w) / 100;
        const int right = (left * 100 + columns[i].widthPct * w) / 100;
        l.containers[size_t(i)] = QRect(QPoint(left, top), QPoint(right, l.bottom));
    }
    return l;
}

int mchnTextPixelSize(const QSize &size, int basePx)
{
    const int base = std::max(basePx, 1);
    return std::clamp(std::min(size.height() / 14, size.width() / 40), base, 3 * base);
}

int mchnFillTop(const QRect &c, int level)
{
    const int innerTop = c.top() + 1;
    const int innerBottom = c.bottom();
    return (innerTop * level + (100 - level) * innerBottom) / 100;
}

int mchnMacRow(const QRect &c, int mac)
{
    const int innerTop = c.top() + 1;
    const int innerBottom = c.bottom();
    return ((100 - mac) * innerBottom + innerTop * mac) / 100;
}

bool mchnMacVisible(const QRect &c, int row)
{
    return c.top() + 1 <= row && row < c.bottom();
}

MchnPipes mchnPipes(const MchnLayout &l)
{
    MchnPipes p;
    const QRect &ckt = l[MchnPart::CKT];
    const QRect &alv = l[MchnPart::ALV];
    const QRect &art = l[MchnPart::ART];
    const QRect &vrg = l[MchnPart::VRG];
    const QRect &mus = l[MchnPart::MUS];
    const QRect &fat = l[MchnPart::FAT];
    const QRect &ven = l[MchnPart::VEN];

    const int hh = alv.bottom() + 2 - alv.top();
    const int m = l.margin;

    const int e = (121 * (alv.bottom() + 2) - 21 * alv.top()) / 100 - 3;
    const int arcRight = alv.left() + 121 * hh / 100 - 2;
    p.arcLeft = alv.left() + 121 * hh / 100 - 141 * hh / 100 - 2;
    p.lungEllipse = QRect(QPoint(p.arcLeft, e - 141 * hh / 100 + 5), QPoint(arcRight, e));

    const int x0 = ckt.right() + 2;
    const int xm = (ckt.right() + p.arcLeft) / 2;
    const int ym = (alv.top() + alv.bottom()) / 2;
    const int h8 = hh / 8;
    const int h16 = hh / 16;
    // The limbs bend where they meet the wedge's slant; a picture too small to
    // have a slant bends them in the middle.
    const int slant = ym - alv.top() - h8;
    const int xBend = slant > 0 ? xm + ((xm - ckt.right()) * h8 / slant) / 2 : xm;
    p.wedge = {QPoint(x0, alv.top() + h8), QPoint(xm, ym), QPoint(x0, alv.bottom() - h8)};
    p.upperLimb = {QPoint(x0, alv.top()), QPoint(xBend, ym - h16), QPoint(p.arcLeft, ym - h16)};
    p.lowerLimb = {QPoint(p.arcLeft, ym + h16), QPoint(xBend, ym + h16), QPoint(x0, alv.bottom())};

    const int yUp = alv.top() - m / 2;
    const int yArt = alv.bottom() + 2 + m / 4;
    const int yVen = alv.bottom() + 2 + 2 * m / 3;
    p.arteryOut = {QPoint(centre(alv), alv.top()), QPoint(centre(alv), yUp),
                   QPoint(centre(art), yUp), QPoint(centre(art), art.top())};
    p.arteryRun = {QPoint(centre(art), art.bottom() + 2), QPoint(centre(art), yArt),
                   QPoint(centre(fat), yArt), QPoint(centre(fat), fat.bottom() + 2)};
    p.arteryMus = {QPoint(centre(mus), yArt), QPoint(centre(mus), mus.bottom() + 2)};
    p.arteryVrg = {QPoint(centre(vrg), yArt), QPoint(centre(vrg), vrg.bottom() + 2)};

    p.veinFat = {QPoint(centre(fat), fat.top()), QPoint(centre(fat), yUp)};
    p.veinMus = {QPoint(centre(mus), mus.top()), QPoint(centre(mus), yUp)};
    p.veinRun = {QPoint(centre(vrg), vrg.top()), QPoint(centre(vrg), yUp), QPoint(centre(ven), yUp),
                 QPoint(centre(ven), ven.top())};
    p.veinBack = {QPoint(centre(ven), ven.bottom() + 2), QPoint(centre(ven), yVen),
                  QPoint(centre(alv), yVen), QPoint(centre(alv), alv.bottom() + 2)};
    return p;
}
