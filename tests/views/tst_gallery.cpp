// Renders each instrument with representative data into PNG files, so that a
// developer can look at them: set QUENOR_GALLERY_DIR, or find them in the
// "gallery" folder beside the test program.

#include "views/qenanibutton.h"
#include "views/qengauge.h"
#include "views/qengraph.h"
#include "views/qengraphevent.h"
#include "views/qenmchn.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <cmath>

namespace {

// Washes in and out like a simple uptake run: DEL 6 %atm for 12 minutes.
class UptakeSource : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() != QenGraphEventType)
            return QObject::event(e);
        auto *ge = static_cast<QenGraphEvent *>(e);
        GraphSample *s = ge->sample();
        const double t = s->time;
        const int line = int(s->value);
        static const double tau[5] = {400, 25, 3, 1.2, 0.4}; // FAT MUS VRG ALV CKT
        static const double top[5] = {6, 6, 6, 5.2, 6};
        if (ge->graph()->vals() == 1) {
            // A DEL strip: 6 %atm, a gap where nothing was recorded, an injection at 5.
            if (t > 7 && t < 8.5)
                s->time = -1;
            else if (std::fabs(t - 5) < 0.05)
                s->time = -2;
            s->value = t < 10 ? 6 : 3;
            return true;
        }
        s->value = float(top[line] * (1 - std::exp(-t / tau[line])));
        if (ge->graph()->graphKind() == 2)
            s->value /= 6; // overlay: a ratio to DEL
        return true;
    }
};

QImage renderWidget(QWidget &w, qreal dpr = 1)
{
    QImage image(w.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(w.palette().color(QPalette::Window));
    w.render(&image);
    return image;
}

} // namespace

class TestGallery : public QObject
{
    Q_OBJECT

private:
    QDir m_dir;
    void save(const QImage &image, const QString &name)
    {
        QVERIFY(!image.isNull());
        QVERIFY(image.save(m_dir.filePath(name)));
    }

private slots:
    void initTestCase()
    {
        QString dir = qEnvironmentVariable("QUENOR_GALLERY_DIR");
        if (dir.isEmpty())
            dir = QCoreApplication::applicationDirPath() + QStringLiteral("/gallery");
        QVERIFY(QDir().mkpath(dir));
        m_dir = QDir(dir);
    }

    void compartmentGraph()
    {
        UptakeSource source;
        QenGraph g;
        g.resize(600, 360);
        g.setGraphKind(1);
        g.setDataSource(&source);
        g.setLoading(true);
        g.setRMarginPct(3);
        g.setTMarginPct(5);
        g.setBMarginPct(20);
        g.setVals(5);
        g.setLabelChar(0, 'F');
        g.setLabelChar(1, 'M');
        g.setLabelChar(2, 'R');
        g.setLabelChar(3, 'A');
        g.setLabelChar(4, 'I');
        g.setXSize(15);
        g.setXLabelEvery(5);
        g.setXTickEvery(1);
        g.setYSize(8);
        g.setYLabelEvery(8);
        g.setYTickEvery(1);
        g.setMac(2.05);
        g.setLineLabelType(1);
        g.setXValEvery(15.0 / 89);
        g.setXVal(12);
        g.setLoading(false);
        save(renderWidget(g), QStringLiteral("graph_compartments.png"));

        QMouseEvent click(QEvent::MouseButtonRelease, QPointF(300, 150), QPointF(300, 150),
                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&g, &click);
        save(renderWidget(g), QStringLiteral("graph_crosshair.png"));
        save(renderWidget(g, 2), QStringLiteral("graph_compartments@2x.png"));
    }

    void stripGraph()
    {
        UptakeSource source;
        QenGraph g;
        g.resize(600, 90);
        g.setDataSource(&source);
        g.setRMarginPct(3);
        g.setTMarginPct(5);
        g.setBMarginPct(30);
        g.setColor0(Qt::black);
        g.setXSize(15);
        g.setYSize(10);
        g.setYLabelEvery(10);
        g.setYTickEvery(2);
        g.setXValEvery(15.0 / 151);
        g.setXVal(12);
        const QImage strip = renderWidget(g);
        save(strip, QStringLiteral("graph_strip.png"));
        // Enlarged without smoothing, to see single pixels.
        save(strip.copy(180, 0, 150, 70).scaled(600, 280), QStringLiteral("graph_strip_zoom.png"));
    }

    void overlayGraph()
    {
        UptakeSource source;
        QenGraph g;
        g.resize(600, 300);
        g.setGraphKind(2);
        g.setDataSource(&source);
        g.setLMarginPct(5);
        g.setTMarginPct(5);
        g.setBMarginPct(10);
        g.setVals(3);
        g.setXSize(30);
        g.setXLabelEvery(10);
        g.setXTickEvery(5);
        g.setYSize(1.5);
        g.setYLabelEvery(0.5);
        g.setYTickEvery(0.1);
        g.setXValEvery(30.0 / 151);
        g.setXVal(30);
        save(renderWidget(g), QStringLiteral("graph_overlay.png"));
    }

    void machinePicture()
    {
        QenMchn m;
        m.resize(420, 220);
        const QColor agent(255, 140, 0);
        const int levels[MchnPartCount] = {90, 72, 70, 60, 20, 5, 40};
        const char *values[MchnPartCount] = {"5.40", "4.32", "4.20", "3.60",
                                             "1.20", "0.30", "2.40"};
        for (int i = 0; i < MchnPartCount; ++i) {
            m.setColor(MchnPart(i), agent);
            m.setLevel(MchnPart(i), levels[i]);
            m.setValue(MchnPart(i), QString::fromLatin1(values[i]));
        }
        m.setColor(MchnPart::ART, QColor(220, 0, 0));
        m.setColor(MchnPart::VEN, QColor(0, 0, 170));
        m.setMac(34);
        save(renderWidget(m), QStringLiteral("machine.png"));
        save(renderWidget(m, 2), QStringLiteral("machine@2x.png"));
        m.setValuesHidden(true);
        save(renderWidget(m), QStringLiteral("machine_hidden.png"));
    }

    void gauges()
    {
        QWidget row;
        row.resize(200, 180);
        const int maxima[4] = {20 * 8, 20 * 10, 20 * 10, 20 * 25};
        const int values[4] = {20 * 6, 20 * 2, 20 * 5, 20 * 5};
        const int ticks[4][2] = {{20, 100}, {20, 100}, {20, 100}, {40, 200}};
        for (int i = 0; i < 4; ++i) {
            auto *g = new QenGauge(&row);
            g->setGeometry(10 + 48 * i, 10, 30, 160);
            g->setMax(maxima[i]);
            g->setTickEvery(ticks[i][0]);
            g->setLTickEvery(ticks[i][1]);
            g->setValue(values[i]);
        }
        save(renderWidget(row), QStringLiteral("gauges.png"));
    }

    void syringeButton()
    {
        QWidget row;
        row.resize(200, 80);
        auto *fallback = new QenAniButton(&row);
        fallback->setGeometry(10, 10, 60, 60);
        fallback->setUpPixmap(QPixmap());
        fallback->setDownPixmap(QPixmap());
        auto *pictured = new QenAniButton(&row);
        pictured->setGeometry(100, 10, 60, 60);
        // Stand-in pictures drawn here, only for this gallery.
        QPixmap up(30, 30);
        up.fill(QColor(200, 230, 255));
        QPixmap down(30, 30);
        down.fill(QColor(90, 140, 200));
        pictured->setUpPixmap(up);
        pictured->setDownPixmap(down);
        row.show();
        pictured->setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&row));
        save(renderWidget(row), QStringLiteral("syringe.png"));
        pictured->setDown(true);
        save(renderWidget(row), QStringLiteral("syringe_down.png"));
    }
};

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
