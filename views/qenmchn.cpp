#include "views/qenmchn.h"

#include <QEvent>
#include <QFontInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace {

// A cylinder seen from the side: a highlight left of centre, shade at the right.
QLinearGradient cylinder(const QColor &color, int left, int innerRight)
{
    QLinearGradient g(left, 0, innerRight, 0);
    g.setColorAt(0, color);
    g.setColorAt(0.3, Qt::white);
    g.setColorAt(0.6, color);
    g.setColorAt(0.7, color);
    g.setColorAt(1, color.darker(300));
    return g;
}

template <size_t N> void drawPolyline(QPainter &painter, const std::array<QPoint, N> &points)
{
    painter.drawPolyline(points.data(), int(N));
}

} // namespace

QenMchn::QenMchn(QWidget *parent) : QWidget(parent)
{
    m_colors.fill(QColor(0, 0, 255));
    m_colors[size_t(MchnPart::ART)] = QColor(255, 0, 0);
    m_colors[size_t(MchnPart::VEN)] = QColor(0, 0, 160);
    m_labels = {QStringLiteral("CKT"), QStringLiteral("ALV"), QStringLiteral("ART"),
                QStringLiteral("VRG"), QStringLiteral("MUS"), QStringLiteral("FAT"),
                QStringLiteral("VEN")};
}

void QenMchn::setColor(MchnPart part, const QColor &color)
{
    m_colors[size_t(part)] = color;
    update();
}

void QenMchn::setLabel(MchnPart part, const QString &text)
{
    m_labels[size_t(part)] = text;
    update();
}

void QenMchn::setValue(MchnPart part, const QString &text)
{
    m_values[size_t(part)] = text;
    update();
}

void QenMchn::setLevel(MchnPart part, int percent)
{
    m_levels[size_t(part)] = percent;
    update();
}

void QenMchn::setMac(int percent)
{
    m_mac = percent;
    update();
}

void QenMchn::setValuesHidden(bool hidden)
{
    m_valuesHidden = hidden;
    m_laidOutRect = QRect();
    update();
}

void QenMchn::layOutIfNeeded()
{
    if (!m_laidOutRect.isNull() && m_laidOutRect == rect())
        return;
    m_laidOutRect = rect();
    m_layout = mchnLayout(rect(), QFontMetrics(textFont()).height(), m_valuesHidden);
}

QFont QenMchn::textFont() const
{
    QFont f = font();
    f.setPixelSize(mchnTextPixelSize(size(), QFontInfo(f).pixelSize()));
    return f;
}

const MchnLayout &QenMchn::containerLayout()
{
    layOutIfNeeded();
    return m_layout;
}

QPoint QenMchn::popupAnchor()
{
    const QRect &ckt = containerLayout()[MchnPart::CKT];
    return mapToGlobal(QPoint(ckt.left() + ckt.width() / 4, ckt.top() + ckt.height() / 4));
}

void QenMchn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOutIfNeeded();
    emit Resized();
}

void QenMchn::changeEvent(QEvent *event)
{
    // The text band follows the font.
    if (event->type() == QEvent::FontChange)
        m_laidOutRect = QRect();
    QWidget::changeEvent(event);
}

void QenMchn::paintEvent(QPaintEvent *)
{
    layOutIfNeeded();
    const MchnLayout &l = m_layout;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    if (!m_valuesHidden) {
        painter.setFont(textFont());
        const int fh = painter.fontMetrics().height();
        const int bottom = rect().bottom() + 1;
        for (int i = 0; i < MchnPartCount; ++i) {
            const QRect &c = l.containers[size_t(i)];
            // Texts may be wider than their container: centre them on it.
            const int cx = (c.left() + c.right() + 1) / 2;
            const int half = std::max(c.width(), width() / 8);
            painter.drawText(QRect(cx - half, bottom - fh, 2 * half, fh),
                             Qt::AlignHCenter | Qt::AlignBottom, m_labels[size_t(i)]);
            painter.drawText(QRect(cx - half, bottom - 2 * fh, 2 * half, fh),
                             Qt::AlignHCenter | Qt::AlignBottom, m_values[size_t(i)]);
        }
    }

    for (int i = 0; i < MchnPartCount; ++i) {
        const QRect &c = l.containers[size_t(i)];
        // Half-pixel offsets put the one-pixel frame exactly on its rows and columns.
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(
            QRectF(c.left() + 0.5, c.top() + 0.5, c.right() - c.left(), c.bottom() - c.top()));
        const int level = std::clamp(m_levels[size_t(i)], 0, 100);
        const int fillTop = mchnFillTop(c, level);
        const QRect fill(QPoint(c.left() + 1, fillTop), QPoint(c.right() - 1, c.bottom() - 1));
        if (fill.height() > 0 && fill.width() > 0)
            painter.fillRect(fill, cylinder(m_colors[size_t(i)], c.left(), c.right() - 1));

        const MchnPart part = MchnPart(i);
        if (part != MchnPart::ALV && part != MchnPart::VRG)
            continue;
        const int row = mchnMacRow(c, m_mac);
        if (!mchnMacVisible(c, row))
            continue;
        painter.save();
        painter.setClipRect(
            QRect(QPoint(c.left() + 1, c.top() + 1), QPoint(c.right() - 1, c.bottom() - 1)));
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setPen(QPen(Qt::black, 2, Qt::DotLine, Qt::FlatCap));
        // A two-pixel line on the boundary below the row covers the row and the next.
        painter.drawLine(QPointF(c.left() + 1, row + 1), QPointF(c.right(), row + 1));
        painter.restore();
    }

    const MchnPipes p = mchnPipes(l);
    // Lines of odd width on pixel centres stay crisp with antialiasing on.
    painter.translate(0.5, 0.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(palette().color(foregroundRole()), 1));
    painter.drawArc(p.lungEllipse, 135 * 16, 90 * 16);
    drawPolyline(painter, p.wedge);
    drawPolyline(painter, p.upperLimb);
    drawPolyline(painter, p.lowerLimb);

    painter.setPen(
        QPen(m_colors[size_t(MchnPart::ART)], 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    drawPolyline(painter, p.arteryOut);
    drawPolyline(painter, p.arteryRun);
    drawPolyline(painter, p.arteryMus);
    drawPolyline(painter, p.arteryVrg);
    painter.setPen(
        QPen(m_colors[size_t(MchnPart::VEN)], 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    drawPolyline(painter, p.veinFat);
    drawPolyline(painter, p.veinMus);
    drawPolyline(painter, p.veinRun);
    drawPolyline(painter, p.veinBack);
}
