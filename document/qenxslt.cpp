#include "document/qenxslt.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <memory>

namespace {

struct DocFree
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
struct StyleFree
{
    void operator()(xsltStylesheet *style) const { xsltFreeStylesheet(style); }
};
struct ContextFree
{
    void operator()(xsltTransformContext *context) const { xsltFreeTransformContext(context); }
};
struct PrefsFree
{
    void operator()(xsltSecurityPrefs *prefs) const { xsltFreeSecurityPrefs(prefs); }
};
struct BufferFree
{
    void operator()(xmlChar *buffer) const { xmlFree(buffer); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;
using StylePtr = std::unique_ptr<xsltStylesheet, StyleFree>;
using ContextPtr = std::unique_ptr<xsltTransformContext, ContextFree>;
using PrefsPtr = std::unique_ptr<xsltSecurityPrefs, PrefsFree>;
using BufferPtr = std::unique_ptr<xmlChar, BufferFree>;

// The parser options of both documents: entities stay references, no DTD is
// fetched, nothing is loaded over the network.
constexpr int parseOptions = XML_PARSE_NONET | XML_PARSE_NOCDATA;

QString translate(const char *text)
{
    return QCoreApplication::translate("QenXslt", text);
}

// While a transformation runs: the libraries' messages are collected instead
// of going to stderr, and every external entity is refused, whichever way the
// parser or the processor asks for one. Restores what was there before.
class Guard
{
public:
    Guard()
        : m_loader(xmlGetExternalEntityLoader()), m_generic(xmlGenericError),
          m_genericContext(xmlGenericErrorContext), m_structured(xmlStructuredError),
          m_structuredContext(xmlStructuredErrorContext), m_xslt(xsltGenericError),
          m_xsltContext(xsltGenericErrorContext)
    {
        xmlSetExternalEntityLoader(&Guard::refuse);
        xmlSetGenericErrorFunc(this, &Guard::generic);
        xmlSetStructuredErrorFunc(this, &Guard::structured);
        xsltSetGenericErrorFunc(this, &Guard::generic);
    }
    ~Guard()
    {
        xmlSetExternalEntityLoader(m_loader);
        xmlSetGenericErrorFunc(m_genericContext, m_generic);
        xmlSetStructuredErrorFunc(m_structuredContext, m_structured);
        xsltSetGenericErrorFunc(m_xsltContext, m_xslt);
    }
    Guard(const Guard &) = delete;
    Guard &operator=(const Guard &) = delete;

    // The first message, which names the cause; later ones follow from it.
    QString firstMessage() const { return m_first; }

private:
    void add(const QString &text)
    {
        const QString t = text.simplified();
        if (m_first.isEmpty() && !t.isEmpty())
            m_first = t;
    }

    static xmlParserInputPtr refuse(const char *url, const char *, xmlParserCtxtPtr)
    {
        // No messages object reaches this callback: the parser reports the
        // failed load itself, naming the URL.
        Q_UNUSED(url);
        return nullptr;
    }
    static void generic(void *context, const char *format, ...)
    {
        char text[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        static_cast<Guard *>(context)->m_pending += QString::fromUtf8(text);
        // Messages arrive in pieces; a line is complete at its newline.
        auto *self = static_cast<Guard *>(context);
        if (self->m_pending.endsWith(QLatin1Char('\n'))) {
            self->add(self->m_pending);
            self->m_pending.clear();
        }
    }
    static void structured(void *context, xmlErrorPtr error)
    {
        if (error && error->message)
            static_cast<Guard *>(context)->add(QString::fromUtf8(error->message));
    }

    xmlExternalEntityLoader m_loader;
    xmlGenericErrorFunc m_generic;
    void *m_genericContext;
    xmlStructuredErrorFunc m_structured;
    void *m_structuredContext;
    xmlGenericErrorFunc m_xslt;
    void *m_xsltContext;
    QString m_first;
    QString m_pending;
};

// Forbids everything a stylesheet could do beyond turning its input into a page.
PrefsPtr lockedDown()
{
    PrefsPtr prefs(xsltNewSecurityPrefs());
    if (!prefs)
        return prefs;
    for (xsltSecurityOption option :
         {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
          XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
        xsltSetSecurityPrefs(prefs.get(), option, xsltSecurityForbid);
    return prefs;
}

// Imports and includes are read while the stylesheet is parsed, under the
// process's default preferences: those are locked down once, for good.
void lockDownDefaults()
{
    static xsltSecurityPrefs *defaults = [] {
        xmlInitParser();
        xsltSecurityPrefs *prefs = lockedDown().release();
        xsltSetDefaultSecurityPrefs(prefs);
        return prefs;
    }();
    Q_UNUSED(defaults);
}

bool fail(QString *error, const QString &reason, const Guard &guard)
{
    if (error) {
        const QString detail = guard.firstMessage();
        *error = detail.isEmpty() ? reason : reason + QLatin1String(": ") + detail;
    }
    return false;
}

} // namespace

bool QenXslt::transform(const QString &stylesheetPath, const QByteArray &xml, QByteArray *html,
                        QString *error)
{
    lockDownDefaults();
    if (stylesheetPath.isEmpty()) {
        if (error)
            *error = translate("The program has no stylesheet for this page");
        return false;
    }
    QFile file(stylesheetPath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = translate("Cannot read the stylesheet %1: %2")
                         .arg(stylesheetPath, file.errorString());
        return false;
    }
    const QByteArray sheet = file.readAll();
    file.close();

    Guard guard;
    const QByteArray url = QUrl::fromLocalFile(stylesheetPath).toEncoded();
    DocPtr styleDoc(xmlReadMemory(sheet.constData(), int(sheet.size()), url.constData(), nullptr,
                                  parseOptions));
    if (!styleDoc)
        return fail(error, translate("The stylesheet %1 is not well-formed").arg(stylesheetPath),
                    guard);
    // The stylesheet takes over its document when it parses; on failure the
    // document is still ours to free.
    StylePtr style(xsltParseStylesheetDoc(styleDoc.get()));
    if (!style)
        return fail(
            error,
            translate("The stylesheet %1 is not a usable XSL stylesheet").arg(stylesheetPath),
            guard);
    styleDoc.release();

    DocPtr input(
        xmlReadMemory(xml.constData(), int(xml.size()), "quenor.xml", nullptr, parseOptions));
    if (!input)
        return fail(error, translate("The exported simulation could not be read back"), guard);

    PrefsPtr prefs = lockedDown();
    ContextPtr context(xsltNewTransformContext(style.get(), input.get()));
    if (!prefs || !context || xsltSetCtxtSecurityPrefs(prefs.get(), context.get()) != 0)
        return fail(error, translate("Out of memory"), guard);
    DocPtr result(xsltApplyStylesheetUser(style.get(), input.get(), nullptr, nullptr, nullptr,
                                          context.get()));
    if (!result || context->state == XSLT_STATE_ERROR || context->state == XSLT_STATE_STOPPED)
        return fail(error, translate("The stylesheet %1 failed").arg(stylesheetPath), guard);

    xmlChar *buffer = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&buffer, &length, result.get(), style.get()) != 0) {
        xmlFree(buffer);
        return fail(error, translate("The page could not be written out"), guard);
    }
    BufferPtr owned(buffer);
    if (html)
        *html = QByteArray(reinterpret_cast<const char *>(buffer), length);
    return true;
}
