#pragma once

#include <QByteArray>
#include <QString>

// Turns the exported XML into the HTML page through an XSL stylesheet.
//
// Neither the stylesheet nor the XML may reach outside what it is given: no
// external entities, no DTD loading, no network, and the transformation may
// not read other documents, write files or create folders. Our own files need
// none of it, and a stylesheet replaced on disk must not be able to pull a
// local file into a page that is then handed out or mailed.
class QenXslt
{
public:
    // Applies the stylesheet at `stylesheetPath` to `xml` and returns the
    // page in `html`. On failure returns false with a reason in `error`.
    static bool transform(const QString &stylesheetPath, const QByteArray &xml, QByteArray *html,
                          QString *error);
};
