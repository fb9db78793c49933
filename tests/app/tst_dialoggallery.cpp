// Renders each setting dialog, filled from a new simulation, into PNG files
// so that a developer can look at them: set QUENOR_GALLERY_DIR, or find them
// in the "gallery" folder beside the test program.

#include "app/options/qenchoicesound.h"
#include "app/options/qenoptionsdialog.h"
#include "app/qenbkpoint.h"
#include "app/qenbookmarkdlg.h"
#include "app/qendialogs.h"
#include "app/qenpatientwidget.h"
#include "document/qendoc.h"
#include "document/qendochost.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include "ui_qenbkpoint.h"
#include "ui_qenbookmark.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTabWidget>
#include <QTextEdit>

class TestDialogGallery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(safecopy);
        installGalleryLanguage();
        QVERIFY(m_dir.isValid());
        const QString ini = writeDefaultIni(m_dir.path());
        QVERIFY(!ini.isEmpty());
        m_host = std::make_unique<QenDocHost>(ini, &m_prompt);
        m_doc = std::make_unique<QenDoc>(m_host.get());
        QVERIFY(m_doc->newDocument());
        m_doc->engine()->setBookmarks({300000, 630000});
        QVERIFY(m_doc->engine()->setBreakpoint(QStringLiteral("ALV-CKT = 0.5")));

        m_out = qEnvironmentVariable("QUENOR_GALLERY_DIR");
        if (m_out.isEmpty())
            m_out =
                QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("gallery"));
        QVERIFY(QDir().mkpath(m_out));
    }

    void render_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name :
             {"cost", "del", "dose", "patient", "patient140", "patientLocked", "bookmark",
              "bookmarkFull", "breakpoint", "breakpointCaution", "optionsProgram", "optionsView",
              "optionsSimulation", "optionsAgent", "optionsPatient", "optionsPatient80",
              "choiceSound"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void render()
    {
        QFETCH(QString, name);
        QImage image;
        const QenDialogs::Runner grab = [&](QDialog &dialog) {
            if (name == QLatin1String("patient140")) {
                auto *patient = dialog.findChild<QenPatientWidget *>();
                patient->setWeight(140);
                patient->weightChanged();
            }
            if (name == QLatin1String("bookmarkFull")) {
                auto *bookmarks = static_cast<QenBookmarkDlg *>(&dialog);
                for (int m = 1; m <= 18; ++m) {
                    bookmarks->form()->sbMin->setValue(m % 14);
                    bookmarks->form()->sbSec->setValue(m);
                    bookmarks->addBookmark();
                }
            }
            if (name == QLatin1String("breakpointCaution")) {
                auto *bk = static_cast<qenBkPoint *>(&dialog);
                bk->form()->textEdit->setPlainText(QStringLiteral("ALV*2 = 1"));
                bk->onOk();
            }
            dialog.show();
            QCoreApplication::processEvents();
            image = dialog.grab().toImage();
            dialog.hide();
            return false;
        };
        if (name.startsWith(QLatin1String("options"))) {
            if (name == QLatin1String("optionsPatient80"))
                m_host->ini().setValue(QStringLiteral("Defaults"), QStringLiteral("Weight"), 80);
            m_host->reloadDefaults();
            QenOptionsDialog dialog(m_host.get());
            dialog.prepare();
            const QStringList pages = {"optionsProgram", "optionsView", "optionsSimulation",
                                       "optionsAgent", "optionsPatient"};
            dialog.tabWidget()->setCurrentIndex(
                name == QLatin1String("optionsPatient80") ? 4 : int(pages.indexOf(name)));
            grab(dialog);
        } else if (name == QLatin1String("choiceSound")) {
            m_host->ini().setValue(QStringLiteral("Signals"), QStringLiteral("System_1"),
                                   QStringLiteral("/usr/share/sounds/quenor/minute.wav"));
            QenChoiceSound dialog(m_host->ini(), &m_prompt);
            dialog.prepare();
            grab(dialog);
        } else if (name == QLatin1String("cost"))
            QenDialogs::setCost(*m_doc, nullptr, grab);
        else if (name == QLatin1String("del"))
            QenDialogs::adjustDel(*m_doc, nullptr, grab);
        else if (name == QLatin1String("dose"))
            QenDialogs::unitDose(*m_doc, nullptr, grab);
        else if (name.startsWith(QLatin1String("patient"))) {
            if (name == QLatin1String("patientLocked"))
                m_doc->engine()->setState(QenSystemOrigin, APaused);
            QenDialogs::changePatient(*m_doc, nullptr, grab);
        } else if (name.startsWith(QLatin1String("bookmark"))) {
            m_doc->engine()->restoreClocks(0, 900000, 0); // a recording of 15 minutes
            QenDialogs::setBookmark(*m_doc, nullptr, grab);
        } else
            QenDialogs::setBreakPoint(*m_doc, nullptr, grab);
        QVERIFY(!image.isNull());
        QVERIFY(image.save(QDir(m_out).filePath(name + QStringLiteral(".png"))));
    }

private:
    QTemporaryDir m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<QenDocHost> m_host;
    std::unique_ptr<QenDoc> m_doc;
    QString m_out;
};

QTEST_MAIN(TestDialogGallery)
#include "tst_dialoggallery.moc"
