#include "platform/RichTextPage.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>

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

std::shared_ptr<RichTextPage> RichTextPage::make(const QString& html, qreal width) {
    auto page = std::make_shared<RichTextPage>();
    page->setUndoRedoEnabled(false);
    page->setHtml(html);
    page->setTextWidth(width);
    // Lays out every block now, on the calling thread, rather than at the first paint.
    page->documentLayout()->documentSize();
    return page;
}
