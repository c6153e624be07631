#pragma once

#include "core/Record.h"
#include "core/RecordKeys.h"

#include <QString>

#include <optional>

// What an officer chooses once and then keeps choosing all through a shift, so each compound asks it
// once: where photographs come from, and how notices are delivered (a traffic notice goes under the
// wiper, another is handed over: the two kinds are remembered apart). Forgotten at sign-out.
class ShiftChoices {
public:
    // A photograph source as the source choice numbers it.
    std::optional<int> photoSource;

    // The delivery method of the last compound issued of that kind.
    void rememberDelivery(const RecordMap& record, bool traffic) {
        const QString code = record.value(Key::kompaunCaraPenyerahanID);
        if (!code.isEmpty())
            delivery_[traffic ? 1 : 0] = Delivery{record.value(Key::kompaunCaraPenyerahan), code};
    }
    // A new compound with no delivery method takes the one remembered for its kind.
    void applyDelivery(RecordMap& record, bool traffic) const {
        const std::optional<Delivery>& remembered = delivery_[traffic ? 1 : 0];
        if (!remembered || !record.value(Key::kompaunCaraPenyerahanID).isEmpty())
            return;
        record.insert(Key::kompaunCaraPenyerahan, remembered->name);
        record.insert(Key::kompaunCaraPenyerahanID, remembered->code);
    }
    void forget() { *this = ShiftChoices{}; }

private:
    struct Delivery {
        QString name;
        QString code;
    };
    std::optional<Delivery> delivery_[2];
};
