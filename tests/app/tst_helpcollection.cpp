// The help collection as the viewer reads it: built beside the program,
// registering the pages, with the start page, every page and picture it
// links to, every written page reachable from the start page, and no link
// that leads nowhere.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {
const QString helpNamespace = QStringLiteral("org.quenor.help");
const QUrl startPage(QStringLiteral("qthelp://org.quenor.help/quenor/index.html"));
} // namespace

class TestHelpCollection : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<QHelpEngineCore> engine;
    QSet<QString> reached; // pages and pictures, as paths inside the collection
    QStringList deadLinks; // "page: link"
    QStringList foreignLinks;

    void follow(const QUrl &page)
    {
        const QString html = QString::fromUtf8(engine->fileData(page));
        static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"]*)\""));
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            const QUrl url(target);
            if (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("mailto"))
                continue;
            if (!url.scheme().isEmpty() || target.startsWith(QLatin1Char('/'))) {
                foreignLinks.append(page.fileName() + QStringLiteral(": ") + target);
                continue;
            }
            QUrl resolved = page.resolved(url);
            const QString fragment = resolved.fragment();
            resolved.setFragment(QString());
            const QByteArray data = engine->fileData(resolved);
            if (resolved.host() != helpNamespace || data.isEmpty()) {
                deadLinks.append(page.fileName() + QStringLiteral(": ") + target);
                continue;
            }
            if (!fragment.isEmpty() &&
                !data.contains(QStringLiteral("id=\"%1\"").arg(fragment).toUtf8()))
                deadLinks.append(page.fileName() + QStringLiteral(": ") + target);
            const QString path = resolved.path();
            if (reached.contains(path))
                continue;
            reached.insert(path);
            if (path.endsWith(QLatin1String(".html")))
                follow(resolved);
        }
    }

    // Opens a copy of the collection (the viewer writes into its
    // collection) with the documentation it registers.
    void openCopy(const QString &collection, const QString &documentation)
    {
        QVERIFY2(QFileInfo::exists(collection), "the help collection is built with the program");
        const QString name = QFileInfo(collection).fileName();
        const QString copy = dir.filePath(name);
        QFile::remove(copy);
        QFile::remove(dir.filePath(documentation));
        QVERIFY(QFile::copy(collection, copy));
        QVERIFY(QFile::copy(QFileInfo(collection).absolutePath() + QLatin1Char('/') + documentation,
                            dir.filePath(documentation)));
        engine = std::make_unique<QHelpEngineCore>(copy);
        QVERIFY(engine->setupData());
        QVERIFY(engine->registeredDocumentations().contains(helpNamespace));
    }

private slots:
    // Both languages: the English collection and the Chinese one, each
    // with every page of its own folder.
    void startPageLeadsToEveryPageWithoutDeadLinks_data()
    {
        QTest::addColumn<QString>("collection");
        QTest::addColumn<QString>("documentation");
        QTest::addColumn<QString>("sourceDir");
        const QString built = QFileInfo(QStringLiteral(QUENOR_HELP_COLLECTION)).absolutePath();
        const QString source = QStringLiteral(QUENOR_HELP_SOURCE);
        QTest::newRow("English") << built + "/Quenor.qhc"
                                 << "Quenor.qch" << source;
        QTest::newRow("Chinese") << built + "/Quenor_zh_CN.qhc"
                                 << "Quenor_zh_CN.qch" << source + "/zh_CN";
    }
    void startPageLeadsToEveryPageWithoutDeadLinks()
    {
        QFETCH(QString, collection);
        QFETCH(QString, documentation);
        QFETCH(QString, sourceDir);
        openCopy(collection, documentation);
        if (QTest::currentTestFailed())
            return;
        reached.clear();
        deadLinks.clear();
        foreignLinks.clear();

        QVERIFY(!engine->fileData(startPage).isEmpty());
        reached.insert(startPage.path());
        follow(startPage);
        QVERIFY2(deadLinks.isEmpty(), qPrintable(deadLinks.join(QStringLiteral(", "))));
        QVERIFY2(foreignLinks.isEmpty(), qPrintable(foreignLinks.join(QStringLiteral(", "))));

        // Every page written for the help is in the collection and can be
        // reached from the start page.
        const QDir source(sourceDir);
        const QStringList pages = source.entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() >= 15);
        for (const QString &page : pages)
            QVERIFY2(reached.contains(QStringLiteral("/quenor/") + page), qPrintable(page));
        engine.reset();
    }

    // The page on how close the model comes to patients is filled in as the
    // help is built: its tables in the words of the collection's language,
    // the agents as that language's agent table names them, the published
    // volunteer values beside the model's, and its figure.
    void validationPageFilledInItsLanguage_data()
    {
        QTest::addColumn<QString>("collection");
        QTest::addColumn<QString>("documentation");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("foreign");
        const QString built = QFileInfo(QStringLiteral(QUENOR_HELP_COLLECTION)).absolutePath();
        const QStringList published{
            QStringLiteral("0.90 &plusmn; 0.01"),   QStringLiteral("0.85 &plusmn; 0.02"),
            QStringLiteral("0.73 &plusmn; 0.03"),   QStringLiteral("0.14 &plusmn; 0.02"),
            QStringLiteral("0.157 &plusmn; 0.020"), QStringLiteral("0.223 &plusmn; 0.024")};
        QTest::newRow("English") << built + "/Quenor.qhc"
                                 << "Quenor.qch"
                                 << published + QStringList{"<th>Agent</th>",
                                                            "<td>Desflurane</td>",
                                                            "<td>Sevoflurane</td>",
                                                            "<td>Isoflurane</td>",
                                                            "<td>none</td>",
                                                            "<td>about 10 %</td>",
                                                            " 0.3 "}
                                 << QStringList{"地氟烷", "麻醉药"};
        QTest::newRow("Chinese") << built + "/Quenor_zh_CN.qhc"
                                 << "Quenor_zh_CN.qch"
                                 << published + QStringList{"<th>麻醉药</th>",
                                                            "<td>地氟烷</td>",
                                                            "<td>七氟烷</td>",
                                                            "<td>异氟烷</td>",
                                                            "<td>无</td>",
                                                            "<td>约 10 %</td>",
                                                            " 0.3 "}
                                 << QStringList{"<td>Desflurane</td>", "<th>Agent</th>",
                                                "<td>none</td>", "nitrous oxide", "Volunteers"};
    }
    void validationPageFilledInItsLanguage()
    {
        QFETCH(QString, collection);
        QFETCH(QString, documentation);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, foreign);
        openCopy(collection, documentation);
        if (QTest::currentTestFailed())
            return;
        const QUrl page(QStringLiteral("qthelp://%1/quenor/validation.html").arg(helpNamespace));
        const QString html = QString::fromUtf8(engine->fileData(page));
        QVERIFY(!html.isEmpty());
        QVERIFY2(!html.contains(QLatin1String("<!-- generated:")), "a marker left unfilled");
        // Three agents, each with and without nitrous oxide, in the rise
        // table; three in the fall table; three rows in the second-gas one.
        QCOMPARE(html.count(QLatin1String("<table>")), 3);
        QCOMPARE(html.count(QLatin1String("<tr>")), 4 + 7 + 4);
        for (const QString &text : expected)
            QVERIFY2(html.contains(text), qPrintable(text));
        for (const QString &text : foreign)
            QVERIFY2(!html.contains(text), qPrintable(text));
        QVERIFY(!engine->fileData(page.resolved(QUrl(QStringLiteral("images/validation.png"))))
                     .isEmpty());
        engine.reset();
    }

    // Each Chinese page is a translation of an English one, and every English
    // page has its translation.
    void everyPageTranslated()
    {
        const QDir english(QStringLiteral(QUENOR_HELP_SOURCE));
        const QDir chinese(english.filePath(QStringLiteral("zh_CN")));
        const QStringList filter{QStringLiteral("*.html")};
        QCOMPARE(chinese.entryList(filter, QDir::Files), english.entryList(filter, QDir::Files));
        static const QRegularExpression han(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
        for (const QString &page : chinese.entryList(filter, QDir::Files)) {
            QFile file(chinese.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(QString::fromUtf8(file.readAll()).contains(han), qPrintable(page));
        }
    }
};

QTEST_MAIN(TestHelpCollection)
#include "tst_helpcollection.moc"
