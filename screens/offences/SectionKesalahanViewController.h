#pragma once

#include "screens/offences/SearchListController.h"

// The acts of the chosen compound type, titled with the type's description. Choosing one writes it into
// the record and pushes its sections.
class SectionKesalahanViewController : public SearchListController {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString typeCode READ typeCode WRITE setTypeCode NOTIFY typeCodeChanged)
public:
    explicit SectionKesalahanViewController(QObject* parent = nullptr);

    // The compound type whose acts are listed (`kod_jeniskmp`).
    QString typeCode() const { return typeCode_; }
    void setTypeCode(const QString& code);

    // Sets the shown list and the full-list copy.
    void setKesalahanArray(const DbRows& rows) { setRows(rows); }

    Q_INVOKABLE void select(int row);

Q_SIGNALS:
    void typeCodeChanged();

protected:
    DbRows searchRows(const QString& text) override;
    void load() override;

private:
    QString typeCode_;
};
