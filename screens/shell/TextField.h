#pragma once

#include <QObject>
#include <QString>

// A text field of a screen as its controller holds it: QML binds to it, the pick-list relay writes it.
class TextField : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
public:
    explicit TextField(QObject* parent = nullptr) : QObject(parent) {}
    QString text() const { return text_; }
    void setText(const QString& text) {
        if (text == text_)
            return;
        text_ = text;
        Q_EMIT textChanged();
    }

Q_SIGNALS:
    void textChanged();

private:
    QString text_;
};
