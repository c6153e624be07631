#pragma once

#include <QPointer>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

class QTextDocument;

// Draws the visible part of a laid-out text document (the licence page): the item stays the size of its
// view and draws the document from contentY down, so a long page costs neither a tall texture nor a
// layout on the interface thread. The document is drawn as it is: resources it refuses stay empty.
class PageTextItem : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QObject* document READ document WRITE setDocument NOTIFY documentChanged)
    Q_PROPERTY(qreal contentY READ contentY WRITE setContentY NOTIFY contentYChanged)
    Q_PROPERTY(qreal documentHeight READ documentHeight NOTIFY documentChanged)
public:
    explicit PageTextItem(QQuickItem* parent = nullptr);

    QObject* document() const;
    void setDocument(QObject* document);
    qreal contentY() const { return contentY_; }
    void setContentY(qreal y);
    qreal documentHeight() const;

    void paint(QPainter* painter) override;

Q_SIGNALS:
    void documentChanged();
    void contentYChanged();

private:
    QPointer<QTextDocument> document_;
    qreal contentY_ = 0;
};
