#include "views/qenanibutton.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

class TestQenAniButton : public QObject
{
    Q_OBJECT

private slots:
    void drawsUpAndDownPictures()
    {
        QenAniButton b;
        b.resize(40, 40);
        QPixmap up(20, 20);
        up.fill(Qt::green);
        QPixmap down(20, 20);
        down.fill(Qt::blue);
        b.setProperty("UpPixmap", up);
        b.setProperty("DownPixmap", down);
        QImage image(b.size(), QImage::Format_ARGB32);
        b.render(&image);
        QCOMPARE(image.pixel(20, 20), QColor(Qt::green).rgb());
        QCOMPARE(image.pixel(1, 1), QColor(Qt::green).rgb()); // scaled to the whole button
        b.setDown(true);
        b.render(&image);
        QCOMPARE(image.pixel(20, 20), QColor(Qt::blue).rgb());
    }

    void worksWithoutPictures()
    {
        QenAniButton b;
        b.setUpPixmap(QPixmap());
        b.setDownPixmap(QPixmap());
        b.resize(40, 40);
        QSignalSpy clicked(&b, &QAbstractButton::clicked);
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        QTest::mouseClick(&b, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QImage image(b.size(), QImage::Format_ARGB32);
        b.render(&image);
        QVERIFY(!image.isNull());
    }
};

QTEST_MAIN(TestQenAniButton)
#include "tst_qenanibutton.moc"
