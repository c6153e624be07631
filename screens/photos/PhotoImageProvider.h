#pragma once

#include <QQuickImageProvider>

class AppDelegate;

// The pictures of the photo list and viewer, decoded from the entries of getImageArray:
// "image://photo/thumb/<generation>/<index>" and "image://photo/full/<generation>/<index>". The
// generation changes whenever the list is drawn again, so a picture cached for an index that now holds
// another photograph is never shown. A picture is decoded no larger than asked for.
class PhotoImageProvider : public QQuickImageProvider {
public:
    explicit PhotoImageProvider(AppDelegate& app);
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;

    static QString url(bool thumbnail, int generation, int index);
    // A new generation for a list drawn again.
    static int nextGeneration();

private:
    AppDelegate& app_;
};
