#include "screens/licence/PageTextItem.h"

#include <QPainter>
#include <QTextDocument>

PageTextItem::PageTextItem(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setOpaquePainting(false);
}

QObject* PageTextItem::document() const {
    return document_.data();
}

void PageTextItem::setDocument(QObject* document) {
    auto* text = qobject_cast<QTextDocument*>(document);
    if (text == document_)
        return;
    document_ = text;
    Q_EMIT documentChanged();
    update();
}

void PageTextItem::setContentY(qreal y) {
    if (qFuzzyCompare(y, contentY_))
        return;
    contentY_ = y;
    Q_EMIT contentYChanged();
    update();
}

qreal PageTextItem::documentHeight() const {
    return document_ ? document_->size().height() : 0;
}

void PageTextItem::paint(QPainter* painter) {
    if (!document_)
        return;
    painter->translate(0, -contentY_);
    document_->drawContents(painter, QRectF(0, contentY_, width(), height()));
}
