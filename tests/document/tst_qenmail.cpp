// Mailing a simulation: the copy handed to the mail command, what the
// document keeps, the messages of a failed hand-over, and the clean-up of
// the copies.

#include "document/qendoc.h"
#include "document/qendochost.h"
#include "document/qenmailclient.h"
#include "engine/qenengine.h"
#include "scriptedprompt.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
// Records its arguments and keeps a copy of the attachment, then exits with
// the status the test chose.
QString standIn(const QString &dir, int exitStatus)
{
    return writeScript(dir, QStringLiteral("mailer%1").arg(exitStatus),
                       QStringLiteral("d=$(dirname \"$0\")\n"
                                      "printf '%s\\n' \"$@\" > \"$d/args\"\n"
                                      "cp \"$2\" \"$d/received.qen\"\n"
                                      "exit %1\n")
                           .arg(exitStatus));
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

class TestQenMail : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    ScriptedPrompt prompt;
    std::unique_ptr<QenDocHost> host;

    QenMailClient *useMailer(const QString &command)
    {
        host->setMailClient(std::make_unique<QenMailClient>(command));
        return host->mailClient();
    }

private slots:
    void init()
    {
        prompt.clear();
        QFile::remove(dir.filePath(QStringLiteral("args")));
        QFile::remove(dir.filePath(QStringLiteral("received.qen")));
        host = std::make_unique<QenDocHost>(writeDefaultIni(dir.path()), &prompt);
    }
    void cleanup()
    {
        host.reset();
        QCOMPARE(prompt.pending(), 0);
    }

    void untitledModifiedDocumentStaysSoAndTheCopyReadsBack()
    {
        useMailer(standIn(dir.path(), 0));
        QenDoc doc(host.get());
        QVERIFY(doc.newDocument());
        QVERIFY(doc.addAgent(QStringLiteral("Halothane")) >= 0);
        doc.engine()->setFGF(QenUserOrigin, 2.5f);
        runEngineTo(doc.engine(), 120000);
        doc.setModified(true);
        const QString name = doc.fileName();

        doc.mail();
        QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("received.qen"))));
        QTRY_VERIFY(!readAll(dir.filePath(QStringLiteral("args"))).isEmpty());

        // Handed over as an attachment under the document's own name.
        const QStringList args =
            readAll(dir.filePath(QStringLiteral("args"))).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(args.size(), 2);
        QCOMPARE(args.at(0), QStringLiteral("--attach"));
        QCOMPARE(QFileInfo(args.at(1)).fileName(), QFileInfo(name).fileName());
        QVERIFY(QFileInfo(name).fileName().startsWith(QStringLiteral("Untitled")));
        // The copy stays for the mail client to read.
        QVERIFY(QFile::exists(args.at(1)));

        // The document is as it was: untitled, modified, not in the recent files.
        QVERIFY(doc.isUntitled());
        QVERIFY(doc.isModified());
        QCOMPARE(doc.fileName(), name);
        QVERIFY(host->ini()
                    .value(QStringLiteral("Settings"), QStringLiteral("RecentFileList"), {})
                    .toStringList()
                    .isEmpty());

        // What the mail carries is the simulation itself.
        QenDoc copy(host.get());
        QVERIFY(copy.openFile(dir.filePath(QStringLiteral("received.qen"))));
        QCOMPARE(copy.agentCount(), 2);
        QCOMPARE(copy.agentName(1), doc.agentName(1));
        QCOMPARE(copy.engine()->endTime(), doc.engine()->endTime());
        QCOMPARE(copy.engine()->fgf(), 2.5f);
        QCOMPARE(prompt.records().size(), 0);
    }

    void failedHandOverSaysSo_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("mail command fails") << true;
        QTest::newRow("mail command missing") << false;
    }
    void failedHandOverSaysSo()
    {
        QFETCH(bool, exists);
        useMailer(exists ? standIn(dir.path(), 4) : dir.filePath(QStringLiteral("no-such-mailer")));
        QenDoc doc(host.get());
        QVERIFY(doc.newDocument());
        prompt.expect(QenPrompt::Ok);
        doc.mail();
        QTRY_COMPARE(prompt.records().size(), 1);
        QCOMPARE(prompt.records().at(0).icon, QenPrompt::Critical);
        QCOMPARE(prompt.records().at(0).title, QStringLiteral("Quenor® "));
        QCOMPARE(prompt.records().at(0).text, QStringLiteral("Send Mail failed to send message."));
        QCOMPARE(QFile::exists(dir.filePath(QStringLiteral("received.qen"))), exists);
    }

    void eachCopyGetsAFreshFolderAndGoesWithTheClient()
    {
        QenMailClient *client = useMailer(standIn(dir.path(), 0));
        QenDoc doc(host.get());
        QVERIFY(doc.newDocument());
        doc.mail();
        QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("args"))));
        const QString first = readAll(dir.filePath(QStringLiteral("args"))).section('\n', 1, 1);
        QFile::remove(dir.filePath(QStringLiteral("args")));
        doc.mail();
        QTRY_VERIFY(QFile::exists(dir.filePath(QStringLiteral("args"))));
        const QString second = readAll(dir.filePath(QStringLiteral("args"))).section('\n', 1, 1);

        // Same name, different folders: the first copy is not overwritten
        // while a mail client may still be reading it.
        QCOMPARE(QFileInfo(first).fileName(), QFileInfo(second).fileName());
        QVERIFY(QFileInfo(first).absolutePath() != QFileInfo(second).absolutePath());
        QVERIFY(QFile::exists(first) && QFile::exists(second));

        const QString run = client->runFolder();
        QVERIFY(first.startsWith(run));
        host->setMailClient(nullptr);
        QVERIFY(!QFileInfo::exists(run));
    }

    void leftoversOfEndedRunsAreRemoved()
    {
        QTemporaryDir temp;
        const QDir tempDir(temp.path());
        const QString prefix = QenMailClient::folderPrefix();

        // A run that ended without cleaning up: its lock names a process
        // that has gone.
        QProcess gone;
        gone.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 0")});
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        QVERIFY(tempDir.mkpath(prefix + QStringLiteral("ended/1")));
        QFile stale(tempDir.filePath(prefix + QStringLiteral("ended/owner.lock")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(deadPid) + "\nquenor\n" +
                    QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        // A run still going holds its lock.
        QVERIFY(tempDir.mkpath(prefix + QStringLiteral("alive/1")));
        QLockFile live(tempDir.filePath(prefix + QStringLiteral("alive/owner.lock")));
        QVERIFY(live.tryLock(0));
        // Not ours at all.
        QVERIFY(tempDir.mkpath(QStringLiteral("someone-else")));

        QenMailClient::removeLeftovers(temp.path());
        QVERIFY(!tempDir.exists(prefix + QStringLiteral("ended")));
        QVERIFY(tempDir.exists(prefix + QStringLiteral("alive/1")));
        QVERIFY(tempDir.exists(QStringLiteral("someone-else")));
    }
};

QTEST_MAIN(TestQenMail)
#include "tst_qenmail.moc"
