// The help collection as the viewer reads it: built beside the program,
// registering the pages, with the start page, every page and picture it
// links to, every written page reachable from the start page, and no link
// that leads nowhere.

#include <QDir>
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

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo::exists(QStringLiteral(QUENOR_HELP_COLLECTION)),
                 "the help collection is built with the program");
        // The viewer writes into its collection: read a copy.
        const QString copy = dir.filePath(QStringLiteral("Quenor.qhc"));
        QVERIFY(QFile::copy(QStringLiteral(QUENOR_HELP_COLLECTION), copy));
        QVERIFY(QFile::copy(QFileInfo(QStringLiteral(QUENOR_HELP_COLLECTION)).absolutePath() +
                                QStringLiteral("/Quenor.qch"),
                            dir.filePath(QStringLiteral("Quenor.qch"))));
        engine = std::make_unique<QHelpEngineCore>(copy);
        QVERIFY(engine->setupData());
        QVERIFY(engine->registeredDocumentations().contains(helpNamespace));
    }

    void startPageLeadsToEveryPageWithoutDeadLinks()
    {
        QVERIFY(!engine->fileData(startPage).isEmpty());
        reached.insert(startPage.path());
        follow(startPage);
        QVERIFY2(deadLinks.isEmpty(), qPrintable(deadLinks.join(QStringLiteral(", "))));
        QVERIFY2(foreignLinks.isEmpty(), qPrintable(foreignLinks.join(QStringLiteral(", "))));

        // Every page written for the help is in the collection and can be
        // reached from the start page.
        const QDir source(QStringLiteral(QUENOR_HELP_SOURCE));
        const QStringList pages = source.entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.size() >= 14);
        for (const QString &page : pages)
            QVERIFY2(reached.contains(QStringLiteral("/quenor/") + page), qPrintable(page));
    }
};

QTEST_MAIN(TestHelpCollection)
#include "tst_helpcollection.moc"
