#pragma once

#include "core/Record.h"
#include "screens/issuing/NoticePrintJob.h"

#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

class AppContext;
class AppDelegate;
class FormSet;
class ScreenController;

// The end of issuing, one per screen that opens the form set for a new compound (the section list and
// the favourites): "Semak" with its checks and the review, the confirmation, then store, print and
// number, and the after-print menu. The review it pushes is handed this flow and calls it back. It works
// with that screen's services and stack, so it is only used once they have arrived.
//
// The record being issued is shared by the tabs, so the review remembers what it showed: "Ya" stores
// that, and only while the record still is that (the same record, the same texts, the same
// photographs); otherwise nothing is stored, the officer is told and the review shows the record as it
// now is.
//
// What "Ya" does, in order: the compound is stored with its photographs (a store that fails or refuses a
// number it already holds stops here: nothing printed, the number not advanced, "Ya" may be tried again);
// the printer connection is made afresh and the notice written; the running number advanced (the stored
// compound owns its number whether or not the notice comes out whole, so the number is never given
// twice; a failed notice is printed again from the menu or from the printed list); then, once the notice
// has finished, the menu. From the question to the end of the notice this flow holds the application's
// issuing lock, so no other screen's "Cetak" or "Ya" stores or prints meanwhile.
class IssuingFlow : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("owned by the screen that opens the forms")
public:
    enum class Opener { Sections, Favourites };
    static constexpr int kConfirmTag = 1;
    static constexpr int kMenuTag = 2;
    // The after-print menu's buttons: "Ke Utama", "Guna Kembali Kesalahan Ini", "Cetak Kembali".
    static constexpr int kMenuKeUtama = 0;
    static constexpr int kMenuGunaKembali = 1;
    static constexpr int kMenuCetakKembali = 2;

    IssuingFlow(Opener kind, FormSet& forms, const ScreenController& screen, QObject* parent = nullptr);
    ~IssuingFlow() override;

    // The first check the record fails: what the officer is told and the record key of the field to
    // look at; an empty message when it passes. A traffic compound names the vehicle instead of an
    // offender.
    struct Problem {
        QString message;
        QLatin1String key{};
    };
    static Problem semakCheck(const RecordMap& record, bool traffic);
    static QString semakProblem(const RecordMap& record, bool traffic);
    static QString placeRefusedMessage();
    // Some letter or digit: a place an officer could find again.
    static bool isPlace(const QString& text);
    static QString changedMessage();
    static QString otherIssuingMessage();

    // "Semak": the time of issue stamped when missing, the checks, then the review pushed showing the
    // record as it is now. False when a check failed (its message shown) or nothing could be done.
    bool semak();
    // The review's "Cetak": the confirmation.
    Q_INVOKABLE void cetak();
    // Prints the compound last stored and shows the menu once the notice has finished.
    void cetakExe();
    // Asking, storing, printing or waiting for the notice: a second "Ya" is ignored.
    bool busy() const { return busy_; }
    bool confirming() const { return confirming_; }

    // What the review shows: the record as it was at "Semak" (or at the last refresh); empty before.
    RecordMap reviewed() const { return reviewed_ ? reviewed_->values : RecordMap{}; }

Q_SIGNALS:
    // The notice of the last print finished (written whole or not); the menu follows.
    void noticeDone(bool written);
    // The review's record was taken again: it shows it anew.
    void reviewChanged();

private:
    struct Snapshot {
        Record record;
        RecordMap values;
        PhotoList photos;
        bool traffic = false;
    };

    AppContext& context() const;
    AppDelegate& app() const;
    Snapshot now() const;
    // True when the current record still is the reviewed one; otherwise the officer is told and the
    // review is taken again.
    bool stillReviewed();
    void confirmed();
    bool acquire();
    void release();
    void showMenu(const NoticePrintJob::Result& result);
    void menuChosen(int button);
    void alert(const QString& title, const QString& message, const QStringList& buttons, int tag,
               std::function<void(int)> answer);

    Opener kind_;
    FormSet& forms_;
    const ScreenController& screen_;
    std::optional<Snapshot> reviewed_;
    // The compound as stored by the last "Ya": what the menu's "Cetak Kembali" prints.
    Record issued_;
    bool issuedTraffic_ = false;
    bool busy_ = false;
    bool confirming_ = false;
    bool holding_ = false;
    NoticePrintJob job_{this};
};
