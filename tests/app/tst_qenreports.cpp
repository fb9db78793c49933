#include "app/qenappdochost.h"
#include "app/qenapplication.h"
#include "app/qenmainwindow.h"
#include "app/qenpreviewview.h"
#include "app/qenprintpreview.h"
#include "app/qenreports.h"
#include "document/qendoc.h"
#include "document/qenreport.h"
#include "engine/qencatalogue.h"
#include "engine/qenfootprint.h"
#include "apptestmain.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include <QAction>
#include <QDialog>
#include <QPlainTextEdit>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QPlainTextEdit>
#include <QTest>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

#include <cmath>
#include <memory>

namespace {
const QTemporaryDir *programDir = nullptr;
ScriptedPrompt *prompt = nullptr;

// Pictures for a person to look at; the folder is given by QUENOR_SHOTS.
void shoot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("QUENOR_SHOTS");
    if (!dir.isEmpty())
        widget->grab().save(QDir(dir).filePath(name + ".png"));
}

} // namespace

// The report commands of the running program, through the main window.
class TestQenReports : public QObject
{
    Q_OBJECT

    std::unique_ptr<QenMainWindow> w;
    QTemporaryDir out;
    QString answer;      // what the save dialog answers
    QString description; // what the description dialog answers; empty cancels
    int descriptionAsked = 0;
    int fileAsked = 0;

    QenDoc *doc() const { return w->activeDocument(); }

private slots:
    void init()
    {
        prompt->clear();
        w = std::make_unique<QenMainWindow>();
        w->resize(1000, 700);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->host()->setSaveDialog(
            [this](QWidget *, const QString &, const QString &, const QString &) {
                ++fileAsked;
                return answer;
            });
        // Exporting asks for the description first, through the dialog runner.
        w->setDialogRunner([this](QDialog &dialog) {
            auto *editor = dialog.findChild<QPlainTextEdit *>();
            if (!editor)
                return false;
            ++descriptionAsked;
            editor->setPlainText(description);
            return !description.isEmpty();
        });
        descriptionAsked = fileAsked = 0;
        description = "Lab 3: halothane uptake";
        QVERIFY(w->newFile());
        QVERIFY(doc());
        doc()->setModified(false);
    }

    void cleanup()
    {
        for (QenDoc *d : w->documents()) {
            d->engine()->pause();
            d->setModified(false);
        }
        w.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(prompt->pending(), 0);
    }

    void xmlExportAsksForTheDescriptionFirst()
    {
        runEngineTo(doc()->engine(), 120000);
        answer = out.filePath("lab3");
        w->action("actionXml")->trigger();
        QCOMPARE(descriptionAsked, 1);
        QDomDocument xml;
        QVERIFY(xml.setContent(fileContents(answer + ".xml")));
        const QDomElement root = xml.documentElement();
        QCOMPARE(root.attribute("description"), description);
        QCOMPARE(root.elementsByTagName("result").size(), 21);
        // The graphs of the document's own graph window, drawn for print.
        const QImage graphs =
            QImage::fromData(QByteArray::fromBase64(root.attribute("imageData").toLatin1()));
        const QSize shown = QenReport::graphDisplaySize(w->reports()->printer()->pageLayout());
        QCOMPARE(graphs.size(), shown * 2);

        // With a description, the next export goes straight to the file.
        answer = out.filePath("lab3b.html");
        w->action("actionHtml")->trigger();
        QCOMPARE(descriptionAsked, 1);
        QVERIFY(fileContents(answer).contains("Lab 3: halothane uptake"));
        for (const char *beside : {"lab3b_img.png", "lab3b_icon.png"})
            QVERIFY2(!QImage(out.filePath(beside)).isNull(), beside);
    }

    void cancelledDialogsWriteNothing()
    {
        description.clear();
        answer = out.filePath("never.xml");
        w->action("actionXml")->trigger();
        w->action("actionPdf")->trigger();
        QCOMPARE(fileAsked, 0);
        description = "given";
        answer.clear();
        w->action("actionHtml")->trigger();
        QCOMPARE(fileAsked, 1);
        QVERIFY(!QFile::exists(out.filePath("never.xml")));
    }

    void printChoicesReachEveryReport()
    {
        w->reports()->setSelectDialog([](QWidget *, bool *printout, bool *graphs) {
            *printout = false;
            *graphs = false;
            return true;
        });
        w->action("actionPrintSelect")->trigger();
        answer = out.filePath("choices.xml");
        w->action("actionXml")->trigger();
        QDomDocument xml;
        QVERIFY(xml.setContent(fileContents(answer)));
        QCOMPARE(xml.documentElement().attribute("printPrintout"), QString("false"));

        answer = out.filePath("choices.pdf");
        w->action("actionPdf")->trigger();
        QVERIFY(fileContents(answer).startsWith("%PDF"));
        QVERIFY(!w->reports()->report()->toPlainText().contains("Fresh Gas"));
    }

    void previewKeepsTheReportItWasOpenedWith()
    {
        runEngineTo(doc()->engine(), 60000);
        QPointer<QenPrintPreview> first = w->reports()->printPreview(doc());
        QVERIFY(first);
        const QString before = first->document()->toPlainText();
        QVERIFY(before.contains("00:00:00"));

        doc()->engine()->setFGF(QenUserOrigin, 3.0f);
        runEngineTo(doc()->engine(), 120000);
        QPointer<QenPrintPreview> second = w->reports()->printPreview(doc());
        QVERIFY(second);
        QVERIFY(second->document()->toPlainText().contains("00:01:00"));
        QCOMPARE(first->document()->toPlainText(), before);
        first->close();
        second->close();
    }

    void previewZoomStaysPositive()
    {
        runEngineTo(doc()->engine(), 600000);
        QPointer<QenPrintPreview> preview = w->reports()->printPreview(doc());
        QVERIFY(preview);
        QenPreviewView *view = preview->view();
        QTest::qWait(50);
        shoot(preview, "preview");
        view->zoomOut();
        view->zoomOut();
        view->zoomOut();
        shoot(preview, "preview-small");
        for (int i = 0; i < 20; ++i)
            view->zoomOut();
        QCOMPARE(view->scale(), QenPreviewView::MinScale);
        QVERIFY(view->scale() > 0);
        for (int i = 0; i < 100; ++i)
            view->zoomIn();
        QCOMPARE(view->scale(), QenPreviewView::MaxScale);
        // Back to where it started, step by step.
        for (int i = 0; i < 20; ++i)
            view->zoomOut();
        QCOMPARE(view->scale(), 1.0);
        preview->close();
    }

    // Landscape in the preview's page setup: the graphs stay on one page, in
    // the preview and in what it prints, and the paper chosen there is the
    // paper of the next report.
    void landscapePreviewKeepsTheGraphsOnOnePage()
    {
        runEngineTo(doc()->engine(), 600000);
        QPointer<QenPrintPreview> preview = w->reports()->printPreview(doc());
        QVERIFY(preview);
        const QSize given = QenReport::graphDisplaySize(w->reports()->printer()->pageLayout());
        const QPageSize::PageSizeId chosen =
            w->reports()->printer()->pageLayout().pageSize().id() == QPageSize::A4
                ? QPageSize::Letter
                : QPageSize::A4;
        preview->setPageSetupDialog([chosen](QPrinter *printer, QWidget *) {
            printer->setPageSize(QPageSize(chosen));
            printer->setPageOrientation(QPageLayout::Landscape);
            return true;
        });
        const QString printed = out.filePath("landscape.pdf");
        preview->setPrintDialog([printed](QPrinter *printer, QWidget *) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printed);
            return true;
        });
        preview->findChild<QAction *>("actionPageSetup")->trigger();
        QTest::qWait(50);
        shoot(preview, "preview-landscape");
        // The graphs' page, whole, for a person to look at.
        preview->resize(1100, 900);
        preview->view()->zoomOut();
        preview->view()->zoomOut();
        preview->view()->verticalScrollBar()->setValue(
            preview->view()->verticalScrollBar()->maximum());
        QTest::qWait(50);
        shoot(preview, "preview-landscape-graphs");

        const QTextDocument *report = preview->document();
        const QSizeF page = report->pageSize();
        QVERIFY(page.width() > page.height());
        int pictures = 0;
        for (QTextBlock block = report->begin(); block.isValid(); block = block.next()) {
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (!format.isImageFormat() || format.toImageFormat().height() <= 0)
                    continue;
                ++pictures;
                const QRectF box = report->documentLayout()->blockBoundingRect(block);
                QVERIFY2(box.height() < page.height(), qPrintable(QString::number(box.height())));
                QCOMPARE(int(box.top() / page.height()), int((box.bottom() - 1) / page.height()));
                // Its proportions are kept.
                const QTextImageFormat image = format.toImageFormat();
                QVERIFY(std::fabs(image.width() / image.height() -
                                  double(given.width()) / given.height()) < 0.01);
            }
        }
        QCOMPARE(pictures, 1);
        preview->findChild<QAction *>("actionPrint")->trigger();
        QVERIFY(fileContents(printed).startsWith("%PDF"));
        preview->close();

        // The next report is laid out on the paper chosen in the preview.
        QVERIFY(w->reports()->prepareReport(doc()));
        QCOMPARE(w->reports()->printer()->pageLayout().pageSize().id(), chosen);
        QCOMPARE(w->reports()->printer()->pageLayout().orientation(), QPageLayout::Landscape);
    }

    // A three-agent lesson's handout: what each agent used, with the source
    // of its warming potential, in the PDF's report. With QUENOR_SHOTS set the
    // PDF is kept there for a person to look at.
    void handoutOfAThreeAgentLesson()
    {
        description = "Three agents: sevoflurane, desflurane and nitrous oxide";
        auto name = [this](const char *section) {
            const QenCatalogue &catalogue = doc()->catalogue();
            return catalogue.at(catalogue.findByName(section))->displayName;
        };
        QVERIFY(doc()->setAgent(QenUserOrigin, 0, name("Sevoflurane")));
        QCOMPARE(doc()->addAgent(name("Desflurane")), 1);
        QCOMPARE(doc()->addAgent(name("Nitrous Oxide")), 2);
        QenEngine *e = doc()->engine();
        e->setFGF(QenUserOrigin, 2.0f);
        e->setDEL(QenUserOrigin, 0, 2.5f);
        e->setDEL(QenUserOrigin, 1, 6.0f);
        e->setDEL(QenUserOrigin, 2, 60.0f);
        runEngineTo(e, 20 * 60000);
        e->setFGF(QenUserOrigin, 1.0f);
        runEngineTo(e, 2443000);
        answer = out.filePath("handout.pdf");
        w->action("actionPdf")->trigger();
        QVERIFY(fileContents(answer).startsWith("%PDF"));
        QVERIFY(!fileContents(answer).contains("/DCTDecode"));
        const QString text = w->reports()->report()->toPlainText();
        const int table = text.indexOf(QenFootprint::builtInSource());
        QVERIFY2(table > 0, qPrintable(text));
        for (const char *section : {"Sevoflurane", "Desflurane", "Nitrous Oxide"})
            QVERIFY(text.lastIndexOf(name(section), table) > text.indexOf("CO2e (kg)"));
        QCOMPARE(text.count(QenFootprint::builtInSource()), 1);
        const QString shots = qEnvironmentVariable("QUENOR_SHOTS");
        if (!shots.isEmpty()) {
            const QString kept =
                QDir(shots).filePath("handout-" + QLocale::system().name() + ".pdf");
            QFile::remove(kept);
            QFile::copy(answer, kept);
        }
    }

    void previewContentSize_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QSize>("expected");
        // (10 + 100 + 10) x scale + 2 x 30 wide; (10 + 200 + 10) x pages x
        // scale + (pages + 1) x 30 high.
        QTest::newRow("one page") << 1.0 << 1 << QSize(180, 280);
        QTest::newRow("two pages") << 1.0 << 2 << QSize(180, 530);
        QTest::newRow("half size") << 0.5 << 3 << QSize(120, 450);
    }
    void previewContentSize()
    {
        QFETCH(double, scale);
        QFETCH(int, pages);
        QFETCH(QSize, expected);
        QCOMPARE(
            QenPreviewView::contentSize(QSizeF(100, 200), QMarginsF(10, 10, 10, 10), pages, scale),
            expected);
    }
};

int main(int argc, char *argv[])
{
    return runWindowTests<TestQenReports>(argc, argv, [](QenApplication &app) {
        installGalleryLanguage();
        prompt = appTestPrompt();
        programDir = &appTestDir();
        // The stylesheet and icon, found or restored as at start-up.
        app.findExportFiles();
    });
}

#include "tst_qenreports.moc"
