#pragma once

#include "platform/BarcodeReader.h"
#include "platform/PageView.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>

// The camera, as a test drives it: frames are delivered when the test says, and only while running, as
// the real reader does; `deliverLate` hands a frame over regardless, as a decode finishing after a stop
// would if the reader did not drop it.
class FakeBarcodeReader : public BarcodeReader {
public:
    bool hasCamera() const override { return camera; }
    void setDelegate(QObject* context, Symbols onSymbols) override {
        delegateContext = context;
        delegate = std::move(onSymbols);
    }
    void setPreview(QVideoSink*) override {}
    void start() override {
        running = true;
        ++starts;
    }
    void stop() override {
        running = false;
        ++stops;
    }
    bool isRunning() const override { return running; }
    void setRotation(int degrees) override { rotation = degrees; }
    void readPicture(const QString& path) override { pictures.append(path); }

    // A frame with these symbols; false when the reader is stopped (the frame is dropped).
    bool deliver(const QStringList& symbols) {
        if (!running)
            return false;
        return deliverLate(symbols);
    }
    bool deliverLate(const QStringList& symbols) {
        if (!delegateContext || !delegate)
            return false;
        delegate(symbols);
        return true;
    }

    bool camera = false;
    bool running = false;
    int starts = 0;
    int stops = 0;
    int rotation = 0;
    QStringList pictures;
    QPointer<QObject> delegateContext;
    Symbols delegate;
};

// A page view whose loads the test finishes or fails.
class FakePageView : public PageView {
public:
    struct Load {
        QUrl url;
        Events events;
        QPointer<QObject> context;
    };
    void load(const QUrl& url, Events events, QObject* context) override {
        if (events.started)
            events.started();
        loads.append({url, std::move(events), context});
    }
    void finish(const QString& html, int index = -1) {
        Load& l = loads[index < 0 ? loads.size() - 1 : index];
        if (l.context && l.events.finished)
            l.events.finished(html);
    }
    void fail(const QString& error, int index = -1) {
        Load& l = loads[index < 0 ? loads.size() - 1 : index];
        if (l.context && l.events.failed)
            l.events.failed(error);
    }
    QList<Load> loads;
};
