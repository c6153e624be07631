#pragma once

#include "screens/forms/FormViewController.h"

// "Kompaun": what the notice says about the compound itself, the particulars and the old compound the
// officer may edit, and the delivery method. Showing it while issuing stamps the time of issue.
class KompounViewController : public FormViewController {
    Q_OBJECT
    QML_ELEMENT
public:
    explicit KompounViewController(QObject* parent = nullptr);

    void initForm() override;

protected:
    void willAppear() override;

private:
    // The record's number, dates, offence and amounts into the fields.
    void showRecord();
};
