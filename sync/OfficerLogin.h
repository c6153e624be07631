#pragma once

#include <QString>

class AppDelegate;

// The local sign-in: staff code and password are checked against the officers table on the phone,
// with no server round trip.
class OfficerLogin {
public:
    explicit OfficerLogin(AppDelegate& app) : app_(app) {}

    // True when the officer is signed in (the officer record is then set); otherwise the officer has
    // been told why. Both texts are compared as whole values, exactly as typed.
    bool logIn(const QString& staffCode, const QString& password);

private:
    AppDelegate& app_;
};
