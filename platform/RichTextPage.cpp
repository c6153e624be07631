#include "platform/RichTextPage.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QFont>
#include <QTextBlock>

namespace {

enum class TagKind { Other, Table, List, Row, Cell, Item };

TagKind kindOf(QStringView name) {
    static const char* const lists[] = {"ul", "ol", "dl"};
    static const char* const rows[] = {"tr", "caption"};
    static const char* const cells[] = {"td", "th", "tbody", "thead", "tfoot", "col", "colgroup"};
    static const char* const items[] = {"li", "dt", "dd"};
    const auto in = [&](const auto& names) {
        for (const char* n : names)
            if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    if (name.compare(QLatin1String("table"), Qt::CaseInsensitive) == 0)
        return TagKind::Table;
    if (in(lists))
        return TagKind::List;
    if (in(rows))
        return TagKind::Row;
    if (in(cells))
        return TagKind::Cell;
    if (in(items))
        return TagKind::Item;
    return TagKind::Other;
}

bool isNameChar(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

RichTextPage::RichTextPage(QObject* parent) : QTextDocument(parent) {
    QFont font = defaultFont();
    font.setPixelSize(fontPixelSize);
    setDefaultFont(font);
}

QVariant RichTextPage::loadResource(int, const QUrl&) {
    // Not even a local file: the page is the council's text and nothing more.
    refused_.ref();
    return {};
}

QString RichTextPage::flattenNesting(const QString& html, int maxDepth, qint64* work) {
    // One pass over the tags, counting open tables and lists; comments and quoted attribute values are
    // stepped over whole, so a '>' in them ends nothing.
    QString out;
    out.reserve(html.size());
    const qsizetype n = html.size();
    int depth = 0;
    // Tables open around the text, and what that text weighs in layout work (3 to the power of them).
    int tables = 0;
    qint64 weight = 1;
    qint64 total = 0;
    const auto reweigh = [&] {
        weight = 1;
        for (int t = 0; t < std::min(tables, maxDepth); ++t)
            weight *= 3;
    };
    // A tag costs the parse about as much as a few dozen characters of text.
    constexpr qint64 tagWork = 30;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype lt = html.indexOf(QLatin1Char('<'), i);
        if (lt < 0) {
            out += QStringView(html).mid(i);
            total += (n - i) * weight;
            break;
        }
        out += QStringView(html).mid(i, lt - i);
        total += (lt - i) * weight + tagWork;
        if (QStringView(html).mid(lt, 4) == QLatin1String("<!--")) {
            const qsizetype end = html.indexOf(QLatin1String("-->"), lt + 4);
            const qsizetype stop = end < 0 ? n : end + 3;
            out += QStringView(html).mid(lt, stop - lt);
            i = stop;
            continue;
        }
        qsizetype p = lt + 1;
        const bool closing = p < n && html[p] == QLatin1Char('/');
        if (closing)
            ++p;
        const qsizetype nameStart = p;
        while (p < n && isNameChar(html[p]))
            ++p;
        if (p == nameStart || !html[nameStart].isLetter()) {
            out += QLatin1Char('<'); // not a tag: text
            i = lt + 1;
            continue;
        }
        const qsizetype nameEnd = p;
        QChar quote;
        while (p < n && (!quote.isNull() || html[p] != QLatin1Char('>'))) {
            if (quote.isNull() && (html[p] == QLatin1Char('"') || html[p] == QLatin1Char('\'')))
                quote = html[p];
            else if (html[p] == quote)
                quote = QChar();
            ++p;
        }
        const qsizetype end = p < n ? p + 1 : n;
        const TagKind kind = kindOf(QStringView(html).mid(nameStart, nameEnd - nameStart));
        bool keep = true;
        if (kind == TagKind::Table || kind == TagKind::List) {
            if (closing) {
                keep = depth <= maxDepth;
                depth = std::max(0, depth - 1);
            } else {
                ++depth;
                keep = depth <= maxDepth;
            }
            if (kind == TagKind::Table) {
                tables = std::max(0, tables + (closing ? -1 : 1));
                reweigh();
            }
            if (!keep)
                out += QLatin1String("<br>");
        } else if (kind != TagKind::Other && depth > maxDepth) {
            keep = false;
            if (!closing)
                out += kind == TagKind::Cell ? QLatin1String(" ") : QLatin1String("<br>");
        }
        if (keep)
            out += QStringView(html).mid(lt, end - lt);
        i = end;
    }
    if (work)
        *work = total;
    return out;
}

std::shared_ptr<RichTextPage> RichTextPage::make(const QString& html, qreal width,
                                                 const std::atomic<bool>* abandon, int budgetMs,
                                                 bool* overBudget) {
    QElapsedTimer clock;
    clock.start();
    const auto stop = [&] {
        if (abandon && abandon->load())
            return true;
        if (!clock.hasExpired(budgetMs))
            return false;
        if (overBudget)
            *overBudget = true;
        return true;
    };
    qint64 work = 0;
    const QString flat = flattenNesting(html, maxNesting, &work);
    if (work > maxLayoutWork) {
        if (overBudget)
            *overBudget = true;
        return nullptr;
    }
    auto page = std::make_shared<RichTextPage>();
    page->setUndoRedoEnabled(false);
    page->setHtml(flat);
    page->setTextWidth(width);
    // Laid out now, on the calling thread, rather than at the first paint; a piece at a time, so a
    // closing application or a spent budget stops it between two.
    QAbstractTextDocumentLayout* layout = page->documentLayout();
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        if (stop())
            return nullptr;
        layout->blockBoundingRect(block);
    }
    layout->documentSize();
    return stop() ? nullptr : page;
}
