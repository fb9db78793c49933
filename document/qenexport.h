#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSize>
#include <QString>

#include <functional>

class QDomDocument;
class QenDoc;

// What an export takes from the program around the document: the files found
// at start-up, the two print choices and the picture of the graphs.
struct QenExportSettings
{
    QString stylesheetPath;
    QString iconPath; // quenor_lg.png
    bool printGraph = true;
    bool printPrintout = true;
    // The document's graphs as a PNG, drawn when an export needs them (after
    // its dialogs, so a cancelled command draws nothing); empty when the
    // simulation has nothing to draw them with.
    std::function<QByteArray()> graphPng;
    // The size in pixels at which the page shows that picture; the picture
    // itself may have more pixels, for print.
    QSize graphDisplaySize;
    // Files to delete when the program ends (the report's picture and icon).
    std::function<void(const QString &)> addTemporaryFile;
};

// The simulation as XML, and as the HTML page made from that XML: the
// patient, the agents, every change of settings and, for the XML, the value
// of every compartment at every recorded step up to the end of the recording.
class QenExport
{
    Q_DECLARE_TR_FUNCTIONS(QenExport)

public:
    // The tree of the export. `externalImagePath`, when given, names the
    // picture file for the page; otherwise `imageData` (Base64 PNG) is
    // embedded and the graph is not printed from it.
    static QDomDocument exportDocument(QenDoc *doc, const QByteArray &imageData,
                                       const QString &externalImagePath, const QString &iconPath,
                                       bool printGraph, bool printPrintout, bool withResults,
                                       const QString &stylesheetPath);

    // The same tree written as UTF-8 text with `indent` blanks per level.
    // Writes straight from the recording, so that a long simulation needs no
    // tree in memory.
    static QByteArray xmlText(QenDoc *doc, const QByteArray &imageData,
                              const QString &externalImagePath, const QString &iconPath,
                              bool printGraph, bool printPrintout, bool withResults,
                              const QString &stylesheetPath, int indent);

    // The text of the XML file: results and the graphs embedded.
    static QByteArray xmlFile(QenDoc *doc, const QenExportSettings &settings);
    // Writes the XML file with results and the graphs embedded. On failure
    // shows a warning naming the file and leaves any old file as it was.
    static bool writeXml(QenDoc *doc, const QString &path, const QenExportSettings &settings);

    // Writes the HTML page with its picture and icon files beside it (or, when
    // `temporary`, in temporary files that are deleted when the program ends).
    // On failure shows a warning and leaves no new file behind.
    static bool writeHtml(QenDoc *doc, const QString &path, bool temporary,
                          const QenExportSettings &settings);

    // The answer of a save dialog with `suffix` (".xml") appended when it has none.
    static QString withSuffix(const QString &answer, const QString &suffix);

    // Pieces of the tree, in its own notation.
    static QString timeText(quint32 ms);
    static QString switchCode(quint16 flags);
    static QString circuitText(quint16 flags);
    static QString injectText(int doses, float unitDose);
};
